// Registry arrangements for the tests, undone when the test ends.
#include "share/registry_state.h"

#include <utility>

namespace {

class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path, bool create) : key(nullptr) {
    const LONG status = create ? RegCreateKeyA(root, path.c_str(), &key)
                               : RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) {
      key = nullptr;
    }
  }
  ~OpenKey() {
    if (key != nullptr) {
      RegCloseKey(key);
    }
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY key;
};

}  // namespace

RegistryState::RegistryState(HKEY root, std::vector<std::string> paths) : root(root) {
  for (std::string& path : paths) {
    Key saved{std::move(path), false, {}};
    OpenKey key(root, saved.path, false);
    saved.existed = key.key != nullptr;
    for (DWORD index = 0; key.key != nullptr; ++index) {
      char name[16384];
      DWORD name_length = sizeof name;
      DWORD type = 0;
      DWORD size = 0;
      if (RegEnumValueA(key.key, index, name, &name_length, nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS) {
        break;
      }
      Value value{std::string(name, name_length), type, std::vector<BYTE>(size)};
      DWORD read = size;
      if (RegQueryValueExA(key.key, value.name.c_str(), nullptr, &value.type, value.data.data(),
                           &read) == ERROR_SUCCESS) {
        value.data.resize(read);
        saved.values.push_back(std::move(value));
      }
    }
    keys.push_back(std::move(saved));
  }
}

RegistryState::~RegistryState() {
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    if (!key->existed) {
      DeleteRegistryKey(root, key->path);
      continue;
    }
    OpenKey open(root, key->path, true);
    if (open.key == nullptr) {
      continue;
    }
    // Drop whatever the test left, then put the saved values back.
    for (;;) {
      char name[16384];
      DWORD name_length = sizeof name;
      if (RegEnumValueA(open.key, 0, name, &name_length, nullptr, nullptr, nullptr, nullptr) !=
              ERROR_SUCCESS ||
          RegDeleteValueA(open.key, name) != ERROR_SUCCESS) {
        break;
      }
    }
    for (const Value& value : key->values) {
      RegSetValueExA(open.key, value.name.c_str(), 0, value.type, value.data.data(),
                     static_cast<DWORD>(value.data.size()));
    }
  }
}

bool SetRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                      const void* data, DWORD size) {
  OpenKey key(root, path, true);
  return key.key != nullptr &&
         RegSetValueExA(key.key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
             ERROR_SUCCESS;
}

bool SetRegistryText(HKEY root, const std::string& path, const std::string& name,
                     const std::string& text) {
  return SetRegistryValue(root, path, name, REG_SZ, text.c_str(),
                          static_cast<DWORD>(text.size() + 1));
}

bool DeleteRegistryValue(HKEY root, const std::string& path, const std::string& name) {
  OpenKey key(root, path, false);
  if (key.key == nullptr) {
    return true;
  }
  const LONG status = RegDeleteValueA(key.key, name.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryKey(HKEY root, const std::string& path) {
  const LONG status = RegDeleteKeyA(root, path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
  return OpenKey(root, path, false).key != nullptr;
}

bool ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                       std::vector<BYTE>* data) {
  OpenKey key(root, path, false);
  DWORD size = 0;
  if (key.key == nullptr ||
      RegQueryValueExA(key.key, name.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS) {
    return false;
  }
  data->resize(size);
  if (RegQueryValueExA(key.key, name.c_str(), nullptr, type, data->data(), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  data->resize(size);
  return true;
}
