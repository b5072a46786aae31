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

// Writes bytes, filler included, over the file at path and reads them back.
// Returns the file still open when it now holds exactly those bytes: open
// for reading by anyone but for writing by nobody else, so no other process
// (another copy of this tour, another tour using the same image name) can
// change it before it is decoded. Otherwise -- the file cannot be created,
// written whole or read back identical -- it is closed and the result is
// INVALID_HANDLE_VALUE.
HANDLE WriteAndHold(const char* path, const BYTE* bytes, DWORD size) {
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return file;
  }
  DWORD written = 0;
  bool whole = (size == 0 || WriteFile(file, bytes, size, &written, nullptr)) && written == size;
  whole = whole && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
          GetFileSize(file, nullptr) == size;
  BYTE chunk[4096];
  for (DWORD at = 0; whole && at < size;) {
    const DWORD wanted = size - at < sizeof chunk ? size - at : sizeof chunk;
    DWORD read = 0;
    whole = ReadFile(file, chunk, wanted, &read, nullptr) && read == wanted &&
            memcmp(chunk, bytes + at, wanted) == 0;
    at += read;
  }
  if (!whole) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
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

  // A resource that is missing (or cannot be copied) gives no bytes, and
  // decoding them ends the process with libjpeg's empty-input error.
  DWORD size = ResourceSize(image_name, kImageType);
  BYTE* bytes = static_cast<BYTE*>(malloc(size ? size : 1));
  if (bytes == nullptr) {
    OutOfMemory();
  }
  if (!CopyResource(image_name, kImageType, bytes, &size)) {
    size = 0;
  }

  SceneBitmap* bitmap = new (std::nothrow) SceneBitmap;
  if (bitmap == nullptr) {
    OutOfMemory();
  }
  HANDLE held = WriteAndHold(path, bytes, size);
  if (held != INVALID_HANDLE_VALUE) {
    bitmap->DecodeJpegFile(path);
    CloseHandle(held);
  } else {
    // The copy is not ours to trust -- held by another process, stale,
    // tampered with or cut short: the resource itself is the picture.
    bitmap->DecodeJpegMemory(bytes, size);
  }
  free(bytes);
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
