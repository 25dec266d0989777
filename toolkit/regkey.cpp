#include "toolkit/regkey.h"

#include "toolkit/string.h"
#include "toolkit/text.h"

#include <cstring>
#include <new>

namespace {

constexpr REGSAM readwrite = KEY_READ | KEY_WRITE;   // 0x2001F

// Deletes base\path with everything below it. Subkeys and values are walked from the last index
// down, so deleting one never moves the ones still to come.
int deletetree(HKEY base, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(base, path, 0, readwrite, &key) != ERROR_SUCCESS) return 0;
  int ok = 1;
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) == ERROR_SUCCESS) {
    char name[256];
    for (DWORD i = subkeys; i-- > 0;) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (!deletetree(key, name)) ok = 0;
    }
    // Value names may be far longer than key names (16383 characters).
    char* valuename = new (std::nothrow) char[16384];
    if (valuename) {
      for (DWORD i = values; i-- > 0;) {
        DWORD length = 16384;
        if (RegEnumValueA(key, i, valuename, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (RegDeleteValueA(key, valuename) != ERROR_SUCCESS) ok = 0;
      }
      delete[] valuename;
    }
  }
  RegCloseKey(key);
  if (RegDeleteKeyA(base, path) != ERROR_SUCCESS) ok = 0;
  return ok;
}

}  // namespace

HKEY regkey_c::rootkey(int32_t rootindex) {
  static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,   HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                               HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA};
  if (rootindex < 0 || rootindex >= (int32_t)(sizeof roots / sizeof roots[0])) return nullptr;
  return roots[rootindex];
}

REGSAM regkey_c::modeaccess(int mode) {
  switch (mode) {
    case 0: return KEY_READ;          // 0x20019
    case 1: return KEY_WRITE;         // 0x20006
    case 2: return readwrite;         // 0x2001F
    case 3: return KEY_ALL_ACCESS;    // 0xF003F
    default: return 0;
  }
}

regkey_c::regkey_c(int32_t rootindex) : root(rootindex), key(nullptr), remoteroot(nullptr), enumindex(0) {}

regkey_c::~regkey_c() { close(); }

int regkey_c::connect(const char* subkey, int mode, const char* machine) {
  if (!subkey || key) return 0;
  REGSAM access = modeaccess(mode);
  HKEY base = rootkey(root);
  if (!access || !base) return 0;

  if (machine) {
    // "\\\\server/ " and "server" name the same machine.
    string_c name(machine);
    if (!name.buffer) return 0;
    removechars(name.buffer, "\\/");
    removespaces(name.buffer);
    string_c unc("\\\\");
    unc.append(name);
    if (!unc.buffer) return 0;
    HKEY remote = nullptr;
    if (RegConnectRegistryA(unc.buffer, base, &remote) != ERROR_SUCCESS) return 0;
    remoteroot = remote;
    base = remote;
  }

  HKEY opened = nullptr;
  LONG rc;
  if (mode == 0) {
    rc = RegOpenKeyExA(base, subkey, 0, access, &opened);
  } else {
    rc = RegCreateKeyExA(base, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
  }
  if (rc == ERROR_SUCCESS) {
    key = opened;
    return 1;
  }
  if (remoteroot) {
    RegCloseKey(remoteroot);
    remoteroot = nullptr;
  }
  return 0;
}

int regkey_c::close() {
  if (remoteroot) {
    RegCloseKey(remoteroot);
    remoteroot = nullptr;
  }
  if (!key) return 0;
  LONG rc = RegCloseKey(key);
  key = nullptr;
  return rc == ERROR_SUCCESS ? 1 : 0;
}

int regkey_c::getvalue(const char* name, void* buffer, int size) {
  if (!name || !buffer || size <= 0) return 0;
  DWORD bytes = (DWORD)size;
  return RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buffer, &bytes) == ERROR_SUCCESS ? 1 : 0;
}

int regkey_c::getvaluew(const wchar_t* name, wchar_t* buffer, int size) {
  if (!name || !buffer || size <= 0) return 0;
  DWORD bytes = (DWORD)size * sizeof(wchar_t);
  return RegQueryValueExW(key, name, nullptr, nullptr, (BYTE*)buffer, &bytes) == ERROR_SUCCESS ? 1 : 0;
}

int regkey_c::getdword(const char* name, void* value) { return getvalue(name, value, 4); }

int regkey_c::setstring(const char* name, const char* text, int expand) {
  if (!name || !text) return 0;
  DWORD bytes = (DWORD)strlen(text) + 1;
  return RegSetValueExA(key, name, 0, expand ? REG_EXPAND_SZ : REG_SZ, (const BYTE*)text, bytes) == ERROR_SUCCESS
             ? 1
             : 0;
}

int regkey_c::deletevalue(const char* name) {
  if (!name) return 0;
  return RegDeleteValueA(key, name) == ERROR_SUCCESS ? 1 : 0;
}

int regkey_c::deletekey(const char* subkey) {
  // Never on another machine, and never while a key is held: the caller may be inside it.
  if (!subkey || key) return 0;
  HKEY base = rootkey(root);
  if (!base) return 0;
  return deletetree(base, subkey);
}

void regkey_c::resetenum() { enumindex = 0; }

int regkey_c::enumstring(char* name, int namesize, void* data, int datasize) {
  if (!name || namesize <= 0 || !key) return 0;
  for (;;) {
    DWORD length = (DWORD)namesize;
    DWORD type = 0;
    LONG rc = RegEnumValueA(key, (DWORD)enumindex, name, &length, nullptr, &type, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return 0;
    enumindex++;
    if (rc == ERROR_MORE_DATA) continue;   // the name did not fit: skip the value
    // Any other failure would repeat for every index (a key opened without query access):
    // end this call rather than walk the whole index range.
    if (rc != ERROR_SUCCESS) return 0;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) continue;
    if (!data) return 1;
    if (getvalue(name, data, datasize)) return 1;
  }
}
