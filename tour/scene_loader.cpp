// Scene images: resource -> temporary copy, and resource -> SceneBitmap.
#include "tour/scene_loader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>

namespace {

const char kImageType[] = "JPEG";
const char kFileSuffix[] = ".JPG";

// The temporary directory, ending in a path separator, as a malloc'd text.
char* TemporaryDirectory() {
  DWORD capacity = 100;
  char* directory = static_cast<char*>(malloc(capacity));
  if (directory == nullptr) {
    return nullptr;
  }
  DWORD length = GetTempPathA(capacity - 1, directory);
  if (length >= capacity) {
    // Too long for the first guess: ask again with the length reported.
    free(directory);
    capacity = length + 1;
    directory = static_cast<char*>(malloc(capacity));
    if (directory == nullptr) {
      return nullptr;
    }
    length = GetTempPathA(length, directory);
    if (length >= capacity) {
      length = 0;
    }
  }
  directory[length] = '\0';
  return directory;
}

// Rewrites the file at path with bytes, filler included, when nobody else
// has it open. The file is overwritten in place and then cut to size rather
// than emptied first: a file system may take a file emptied and refilled for
// a replacement and force it to disk at the close (ext4 does), which under
// Wine made each copy cost about ten times as much. What the file ends up
// holding changes nothing the program shows.
void WriteCopy(const char* path, const BYTE* bytes, DWORD size) {
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD written = 0;
  if (size == 0 || WriteFile(file, bytes, size, &written, nullptr)) {
    SetEndOfFile(file);
  }
  CloseHandle(file);
}

// The resource's bytes where the module holds them, valid for as long as
// the module is loaded, and their count in size; null and 0 when absent.
const BYTE* ResourceData(const char* name, const char* type, DWORD* size) {
  *size = 0;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name, type);
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (bytes != nullptr) {
    *size = SizeofResource(module, resource);
  }
  return bytes;
}

void OutOfMemory() {
  fputs("this: out of memory\n", stderr);
  exit(1);
}

}  // namespace

SceneBitmap* LoadSceneBitmap(const char* image_name) {
  char* directory = TemporaryDirectory();
  if (directory == nullptr) {
    OutOfMemory();
  }
  const size_t directory_length = strlen(directory);
  const size_t name_length = strlen(image_name);
  char* path = static_cast<char*>(malloc(directory_length + name_length + 5));
  if (path == nullptr) {
    OutOfMemory();
  }
  memcpy(path, directory, directory_length);
  memcpy(path + directory_length, image_name, name_length);
  memcpy(path + directory_length + name_length, kFileSuffix, sizeof kFileSuffix);

  // A resource that is missing gives no bytes, and decoding them ends the
  // process with libjpeg's empty-input error.
  DWORD size = 0;
  const BYTE* bytes = ResourceData(image_name, kImageType, &size);

  SceneBitmap* bitmap = new (std::nothrow) SceneBitmap;
  if (bitmap == nullptr) {
    OutOfMemory();
  }
  WriteCopy(path, bytes, size);
  // The picture always comes from the resource itself: a copy held, stale,
  // changed or cut short by another process cannot change what the scene
  // shows, and reading the bytes back through a file would only cost time.
  bitmap->DecodeJpegMemory(bytes, size);
  free(path);
  free(directory);
  return bitmap;
}

DWORD ResourceSize(const char* name, const char* type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name, type);
  return resource ? SizeofResource(module, resource) : 0;
}

int CopyResource(const char* name, const char* type, void* buffer, DWORD* size) {
  if (buffer == nullptr || size == nullptr) {
    return 0;
  }
  const DWORD capacity = *size;
  const BYTE* bytes = ResourceData(name, type, size);
  if (bytes == nullptr || capacity < *size) {
    return 0;
  }
  memcpy(buffer, bytes, *size);
  return 1;
}
