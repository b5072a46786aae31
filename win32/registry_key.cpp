// Registry keys that close themselves, and the two-pass default-value read.
#include "win32/registry_key.h"

#include <stdlib.h>

namespace {

// What the first query offers; most commands and client names fit.
const DWORD kFirstReadSize = 200;

// Queries the default value into a new buffer that the registry sees as
// capacity bytes long. The buffer has one byte more than that, so the text
// can always be terminated: the registry hands back a string as stored,
// and a value written without its terminator comes back without one.
// On ERROR_MORE_DATA *size holds the size the registry asks for.
LONG QueryDefault(HKEY key, DWORD capacity, char** text, DWORD* size) {
  *text = capacity < MAXDWORD ? static_cast<char*>(malloc(capacity + 1)) : nullptr;
  if (*text == nullptr) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  *size = capacity;
  const LONG status =
      RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(*text), size);
  if (status != ERROR_SUCCESS) {
    free(*text);
    *text = nullptr;
    return status;
  }
  (*text)[*size] = '\0';
  return status;
}

}  // namespace

RegistryKey::~RegistryKey() {
  Close();
}

void RegistryKey::Close() {
  if (key != nullptr) {
    RegCloseKey(key);
    key = nullptr;
  }
}

bool RegistryKey::OpenForReading(HKEY root, const char* path) {
  Close();
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    key = nullptr;
  }
  return IsOpen();
}

bool RegistryKey::Open(HKEY root, const char* path) {
  Close();
  if (RegOpenKeyA(root, path, &key) != ERROR_SUCCESS) {
    key = nullptr;
  }
  return IsOpen();
}

bool RegistryKey::Create(HKEY root, const char* path) {
  Close();
  if (RegCreateKeyA(root, path, &key) != ERROR_SUCCESS) {
    key = nullptr;
  }
  return IsOpen();
}

char* RegistryKey::ReadDefaultText() const {
  if (key == nullptr) {
    return nullptr;
  }
  char* text = nullptr;
  DWORD size = 0;
  LONG status = QueryDefault(key, kFirstReadSize, &text, &size);
  if (status == ERROR_MORE_DATA) {
    // The reported size may count a terminator or not; one byte more
    // covers both. A value that grew in between fails the second query.
    status = QueryDefault(key, size + 1, &text, &size);
  }
  return status == ERROR_SUCCESS ? text : nullptr;
}
