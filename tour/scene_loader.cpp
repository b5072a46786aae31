// Scene images: resource -> temporary file -> SceneBitmap.
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

// Writes the whole resource, filler included, over the file at path. When
// the file cannot be created nothing is written and any older copy stays.
void WriteResourceToFile(const char* image_name, const char* path) {
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD size = ResourceSize(image_name, kImageType);
  void* buffer = malloc(size ? size : 1);
  if (buffer != nullptr && CopyResource(image_name, kImageType, buffer, &size)) {
    DWORD written = 0;
    WriteFile(file, buffer, size, &written, nullptr);
  }
  free(buffer);
  CloseHandle(file);
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

  WriteResourceToFile(image_name, path);

  SceneBitmap* bitmap = new (std::nothrow) SceneBitmap;
  if (bitmap == nullptr) {
    OutOfMemory();
  }
  bitmap->DecodeJpegFile(path);
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
  *size = 0;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name, type);
  if (resource == nullptr) {
    return 0;
  }
  *size = SizeofResource(module, resource);
  if (capacity < *size) {
    return 0;
  }
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    return 0;
  }
  memcpy(buffer, bytes, *size);
  FreeResource(loaded);
  return 1;
}
