// RegistryKey: an open registry key that closes itself, with the one read
// that the mail-client survey and the browser launch share.
#ifndef VISTELLO_WIN32_REGISTRY_KEY_H
#define VISTELLO_WIN32_REGISTRY_KEY_H

#include <windows.h>

class RegistryKey {
 public:
  RegistryKey() : key(nullptr) {}
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Each opener closes any key held first and returns whether a key is
  // now held. OpenForReading asks for KEY_READ (RegOpenKeyExA); Open uses
  // RegOpenKeyA's default access; Create opens the key or makes it, with
  // any missing parents (RegCreateKeyA).
  bool OpenForReading(HKEY root, const char* path);
  bool Open(HKEY root, const char* path);
  bool Create(HKEY root, const char* path);

  bool IsOpen() const { return key != nullptr; }
  HKEY Handle() const { return key; }

  // The key's default (unnamed) value as a new NUL-terminated text to be
  // released with free(), or null when the value is missing, unreadable
  // or memory runs out. Its type is not examined. Values of up to 200
  // bytes are read at once; a longer one is read again at the size the
  // first query reports.
  char* ReadDefaultText() const;

 private:
  void Close();

  HKEY key;  // owned; null when none is open
};

#endif  // VISTELLO_WIN32_REGISTRY_KEY_H
