#pragma once
// The per-user profile store: HKEY_CURRENT_USER\Software\<registry key name>\<application title>,
// one subkey per section, one value per entry. Strings are REG_SZ, numbers REG_DWORD. Everything
// read back is treated as untrusted: a value of the wrong type or size gives the default.
#include "toolkit/string.h"

class uiprofile_c {
public:
  uiprofile_c() = default;
  uiprofile_c(const char* keyname, const char* apptitle) { setlocation(keyname, apptitle); }

  // Both parts must be non-empty and free of backslashes; otherwise the store has no location,
  // reads give the defaults and writes fail.
  void setlocation(const char* keyname, const char* apptitle);
  bool haslocation() const { return root.length() > 0; }
  // "Software\<key name>\<title>", or empty without a location.
  const char* rootpath() const { return root.text(); }

  // A string value of at most 64 KiB; the default when missing, not a string, or unreadable.
  string_c getstring(const char* section, const char* entry, const char* fallback = "") const;
  // A REG_DWORD value; the default when missing or of another type or size.
  int getint(const char* section, const char* entry, int fallback) const;

  // Write an entry, creating the section. A null value deletes the entry; a null entry deletes
  // the whole section. Returns false when nothing could be written.
  bool writestring(const char* section, const char* entry, const char* value);
  bool writeint(const char* section, const char* entry, int value);
  bool deletesection(const char* section);

private:
  bool sectionpath(const char* section, string_c& path) const;
  string_c root;
};
