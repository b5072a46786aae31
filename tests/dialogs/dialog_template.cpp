// DLGTEMPLATE layout: header, menu, class and caption, the font when
// DS_SETFONT is set, then each item on a DWORD boundary. Strings are UTF-16;
// a name field is 0 (none), 0xFFFF and an ordinal, or a string.
#include "dialogs/dialog_template.h"

#include <ctype.h>

namespace {

class Reader {
 public:
  Reader(const BYTE* start, DWORD size) : start(start), at(start), end(start + size) {}

  bool Ok() const { return at <= end; }
  WORD Word() {
    WORD value = 0;
    if (at + 2 <= end) {
      value = static_cast<WORD>(at[0] | (at[1] << 8));
    }
    at += 2;
    return value;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  std::string String() {
    std::string text;
    for (WORD c = Word(); c != 0 && Ok(); c = Word()) {
      text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
  }
  // A name field: none, an ordinal ("#n") or a string.
  std::string Name() {
    const WORD first = Word();
    if (first == 0) {
      return "";
    }
    if (first == 0xFFFF) {
      return "#" + std::to_string(Word());
    }
    at -= 2;
    return String();
  }
  void AlignDword() {
    while ((at - start) % 4 != 0) {
      at++;
    }
  }
  void Skip(size_t bytes) { at += bytes; }

 private:
  const BYTE* start;
  const BYTE* at;
  const BYTE* end;
};

std::string ClassName(std::string name) {
  if (name == "#128")
    return "button";
  if (name == "#129")
    return "edit";
  if (name == "#130")
    return "static";
  if (name == "#131")
    return "listbox";
  if (name == "#132")
    return "scrollbar";
  if (name == "#133")
    return "combobox";
  for (char& c : name) {
    c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

}  // namespace

DialogTemplate ReadDialogTemplate(HMODULE module, int id) {
  DialogTemplate dialog = {};
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (data == nullptr) {
    return dialog;
  }
  dialog.found = true;
  Reader read(data, SizeofResource(module, resource));
  if (data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
    dialog.extended = true;
    return dialog;
  }
  dialog.style = read.Dword();
  read.Dword();  // extended style
  const int count = read.Word();
  dialog.x = static_cast<short>(read.Word());
  dialog.y = static_cast<short>(read.Word());
  dialog.cx = static_cast<short>(read.Word());
  dialog.cy = static_cast<short>(read.Word());
  read.Name();  // menu
  read.Name();  // class
  dialog.caption = read.String();
  if (dialog.style & DS_SETFONT) {
    dialog.point_size = read.Word();
    dialog.face = read.String();
  }
  for (int i = 0; i < count && read.Ok(); i++) {
    read.AlignDword();
    TemplateItem item = {};
    item.style = read.Dword();
    read.Dword();  // extended style
    item.x = static_cast<short>(read.Word());
    item.y = static_cast<short>(read.Word());
    item.cx = static_cast<short>(read.Word());
    item.cy = static_cast<short>(read.Word());
    item.id = static_cast<short>(read.Word());
    item.class_name = ClassName(read.Name());
    item.text = read.Name();
    read.Skip(read.Word());  // creation data
    dialog.items.push_back(item);
  }
  if (!read.Ok()) {
    dialog.found = false;
  }
  return dialog;
}
