#pragma once
// The current user's personal folder list in the registry, for the tests that change it: kept
// aside while a test runs and put back afterwards, and values written the way the folder tree
// reads them.
#include <windows.h>

#include <string>
#include <vector>

#include "manager/folders.h"

namespace folderstest {

// Keeps the whole personal folder list aside (the key is emptied) and puts it back, values and
// types as they were, when the object goes.
class savedfolders_c {
public:
  savedfolders_c() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, CManFolders::KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
      existed = true;
      for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD namesize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &namesize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        value v{name, type, std::vector<BYTE>(size + 1)};
        DWORD got = size;
        RegQueryValueExA(key, name, nullptr, nullptr, v.data.data(), &got);
        v.data.resize(got);
        values.push_back(v);
      }
      RegCloseKey(key);
    }
    clear();
  }
  ~savedfolders_c() {
    clear();
    if (!existed) return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, CManFolders::KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      return;
    for (const value& v : values)
      RegSetValueExA(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    RegCloseKey(key);
  }
  savedfolders_c(const savedfolders_c&) = delete;
  savedfolders_c& operator=(const savedfolders_c&) = delete;

  // Removes the whole list.
  static void clear() {
    RegDeleteTreeA(HKEY_CURRENT_USER, CManFolders::KEY);
    RegDeleteKeyA(HKEY_CURRENT_USER, CManFolders::KEY);
  }

private:
  struct value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
  };
  bool existed = false;
  std::vector<value> values;
};

// Writes one value of the list, of any type (tests also write values the tree must skip).
inline bool setfoldervalue(const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, CManFolders::KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool ok = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

// A personal folder as the tree lists it: the display name, and the directory as a string.
inline bool setfolder(const std::string& name, const std::string& directory) {
  return setfoldervalue(name, REG_SZ, directory.c_str(), static_cast<DWORD>(directory.size() + 1));
}

}  // namespace folderstest
