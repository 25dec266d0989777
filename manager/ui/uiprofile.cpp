#include "manager/ui/uiprofile.h"

#include <windows.h>

#include <cstring>

#include "toolkit/regkey.h"

namespace {

const int32_t hkcu = 2;   // regkey_c's root index of HKEY_CURRENT_USER
const DWORD maxstringbytes = 65536;

bool validpart(const char* part) { return part && *part && !strchr(part, '\\'); }

}  // namespace

void uiprofile_c::setlocation(const char* keyname, const char* apptitle) {
  root.assign("");
  if (!validpart(keyname) || !validpart(apptitle)) return;
  root.assign("Software\\");
  root.append(keyname);
  root.append("\\");
  root.append(apptitle);
}

bool uiprofile_c::sectionpath(const char* section, string_c& path) const {
  // A section is one subkey: an empty name or a backslash would reach elsewhere in the tree.
  if (!haslocation() || !validpart(section)) return false;
  path.assign(root);
  path.append("\\");
  path.append(section);
  return path.length() > 0;
}

string_c uiprofile_c::getstring(const char* section, const char* entry, const char* fallback) const {
  string_c result(fallback ? fallback : "");
  string_c path;
  if (!entry || !sectionpath(section, path)) return result;
  regkey_c key(hkcu);
  if (!key.connect(path.text(), 0, nullptr)) return result;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExA(key.key, entry, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return result;
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > maxstringbytes) return result;
  string_c value;
  char* buffer = value.getbuffer((int)bytes + 1);
  if (!buffer) return result;
  DWORD got = bytes;
  if (RegQueryValueExA(key.key, entry, nullptr, &type, (BYTE*)buffer, &got) != ERROR_SUCCESS || got > bytes ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return result;
  buffer[got] = 0;   // the stored data need not end in a terminator
  return value;
}

int uiprofile_c::getint(const char* section, const char* entry, int fallback) const {
  string_c path;
  if (!entry || !sectionpath(section, path)) return fallback;
  regkey_c key(hkcu);
  if (!key.connect(path.text(), 0, nullptr)) return fallback;
  DWORD type = 0, value = 0, bytes = sizeof value;
  if (RegQueryValueExA(key.key, entry, nullptr, &type, (BYTE*)&value, &bytes) != ERROR_SUCCESS) return fallback;
  if (type != REG_DWORD || bytes != sizeof value) return fallback;
  return (int)value;
}

bool uiprofile_c::writestring(const char* section, const char* entry, const char* value) {
  string_c path;
  if (!sectionpath(section, path)) return false;
  if (!entry) return deletesection(section);
  regkey_c key(hkcu);
  if (!value) {
    // regkey_c's writing modes create a missing key: look first, so deleting never creates.
    regkey_c probe(hkcu);
    if (!probe.connect(path.text(), 0, nullptr)) return true;   // nothing there to delete
    probe.close();
    if (!key.connect(path.text(), 2, nullptr)) return false;
    LONG rc = RegDeleteValueA(key.key, entry);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }
  if (!key.connect(path.text(), 1, nullptr)) return false;
  return key.setstring(entry, value, 0) != 0;
}

bool uiprofile_c::writeint(const char* section, const char* entry, int value) {
  string_c path;
  if (!entry || !sectionpath(section, path)) return false;
  regkey_c key(hkcu);
  if (!key.connect(path.text(), 1, nullptr)) return false;
  DWORD data = (DWORD)value;
  return RegSetValueExA(key.key, entry, 0, REG_DWORD, (const BYTE*)&data, sizeof data) == ERROR_SUCCESS;
}

bool uiprofile_c::deletesection(const char* section) {
  string_c path;
  if (!sectionpath(section, path)) return false;
  regkey_c probe(hkcu);
  if (!probe.connect(path.text(), 0, nullptr)) return true;   // already gone
  probe.close();
  regkey_c key(hkcu);
  return key.deletekey(path.text()) != 0;
}
