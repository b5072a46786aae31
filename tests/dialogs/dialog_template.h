// Reads a dialog template (the plain DLGTEMPLATE form the resource compiler
// writes for DIALOG statements) from a module's resources, as data.
#ifndef VISTELLO_TESTS_DIALOGS_DIALOG_TEMPLATE_H
#define VISTELLO_TESTS_DIALOGS_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
  DWORD style;
  short x, y, cx, cy;
  int id;                  // -1 for 0xFFFF, a control without an id of its own
  std::string class_name;  // lower case; the predefined atoms spelt out ("button")
  std::string text;        // an ordinal (an icon's resource id) as "#107"
};

struct DialogTemplate {
  bool found;
  bool extended;  // DLGTEMPLATEEX; not read further
  DWORD style;
  short x, y, cx, cy;
  std::string caption;
  int point_size;  // 0 without DS_SETFONT
  std::string face;
  std::vector<TemplateItem> items;
};

DialogTemplate ReadDialogTemplate(HMODULE module, int id);

#endif  // VISTELLO_TESTS_DIALOGS_DIALOG_TEMPLATE_H
