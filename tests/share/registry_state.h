// Test-side registry access: keys put back as they were when a test ends,
// and plain writes and reads of the values the tests arrange.
#ifndef VISTELLO_TESTS_SHARE_REGISTRY_STATE_H
#define VISTELLO_TESTS_SHARE_REGISTRY_STATE_H

#include <windows.h>

#include <string>
#include <vector>

// Remembers the named keys -- whether each exists and its values, not its
// subkeys -- and restores them when destroyed, last key first, so a key
// listed after its parent is removed before the parent. Tests share the
// build tree's Wine prefix, so every key a test touches is listed here.
class RegistryState {
 public:
  RegistryState(HKEY root, std::vector<std::string> paths);
  ~RegistryState();
  RegistryState(const RegistryState&) = delete;
  RegistryState& operator=(const RegistryState&) = delete;

 private:
  struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
  };
  struct Key {
    std::string path;
    bool existed;
    std::vector<Value> values;
  };

  HKEY root;
  std::vector<Key> keys;
};

// Writes create the key when needed; each returns false when the registry
// refused. An empty name is the key's default value.
bool SetRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                      const void* data, DWORD size);
// A REG_SZ value with its terminator.
bool SetRegistryText(HKEY root, const std::string& path, const std::string& name,
                     const std::string& text);
bool DeleteRegistryValue(HKEY root, const std::string& path, const std::string& name);
// Removes a key that has no subkeys; true also when it did not exist.
bool DeleteRegistryKey(HKEY root, const std::string& path);
bool RegistryKeyExists(HKEY root, const std::string& path);
// The value's bytes and type; false when it cannot be read.
bool ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                       std::vector<BYTE>* data);

#endif  // VISTELLO_TESTS_SHARE_REGISTRY_STATE_H
