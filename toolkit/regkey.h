#pragma once
// One open registry key below a predefined root, on this machine or on another one of the
// network. Every operation answers 1 or 0 and never raises; the system's error codes are not
// passed on (callers log their own "reg.<operation> failed" lines).
#include <windows.h>

#include <cstdint>

class regkey_c {
public:
  // Root index: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_CONFIG, 2 HKEY_CURRENT_USER,
  // 3 HKEY_LOCAL_MACHINE, 4 HKEY_USERS, 5 HKEY_PERFORMANCE_DATA, 6 HKEY_DYN_DATA.
  int32_t root;
  HKEY key;            // opened by connect; null while none is open
  HKEY remoteroot;     // the other machine's root key, when connect was given a machine name
  int32_t enumindex;   // next value index for enumstring

  explicit regkey_c(int32_t rootindex);
  ~regkey_c();
  regkey_c(const regkey_c&) = delete;
  regkey_c& operator=(const regkey_c&) = delete;

  // Mode 0 read (the key must exist), 1 write, 2 read and write, 3 all access; modes 1 to 3
  // create a missing key. A machine name may carry leading backslashes, slashes and blanks.
  // Fails on an object that already holds a key (the held key stays).
  int connect(const char* subkey, int mode, const char* machine);
  // The result of closing the key, or 0 when none was open.
  int close();

  // The value's data, whatever its type, into at most size bytes.
  int getvalue(const char* name, void* buffer, int size);
  int getvaluew(const wchar_t* name, wchar_t* buffer, int size);   // size in characters
  int getdword(const char* name, void* value);                     // 4 bytes
  int setstring(const char* name, const char* text, int expand);   // REG_EXPAND_SZ when expand
  int deletevalue(const char* name);
  // Deletes the key below the local root with all its subkeys and values. Refused (0, nothing
  // touched) while this object holds an open key.
  int deletekey(const char* subkey);

  void resetenum();
  // The next string value (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) of the open key: its name, and
  // its data when a data buffer is given. Other values and names that do not fit are skipped.
  // 0 when no string value is left.
  int enumstring(char* name, int namesize, void* data, int datasize);

  // The predefined key for a root index, or null for an index outside 0..6.
  static HKEY rootkey(int32_t rootindex);
  // The access for a connect mode, or 0 for a mode outside 0..3.
  static REGSAM modeaccess(int mode);
};
