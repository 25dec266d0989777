#pragma once
// Shared pieces of the main window's and the application's tests: a mailbox root with the
// Windows user's own mailbox, the sections of RIROVEVI.INI they change (restored afterwards),
// events written as the fax server would, and the registry key of the real profile store
// (restored afterwards).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"

namespace frametest {

const char ini[] = "RIROVEVI.INI";

// The sections of RIROVEVI.INI a test changes, as they were, written back when the object goes.
class inisections_c {
public:
  inisections_c() {
    for (const char* name : {"Options", "Directories"}) {
      section s;
      s.name = name;
      std::vector<char> buffer(32768);
      DWORD n = GetPrivateProfileSectionA(name, buffer.data(), (DWORD)buffer.size(), ini);
      s.existed = n > 0;
      s.data.assign(buffer.data(), n);
      s.data.push_back('\0');   // the list ends with an empty entry
      saved.push_back(s);
      // Every test starts from the defaults.
      WritePrivateProfileStringA(name, nullptr, nullptr, ini);
    }
  }
  ~inisections_c() {
    for (const section& s : saved) {
      WritePrivateProfileStringA(s.name.c_str(), nullptr, nullptr, ini);
      if (s.existed) WritePrivateProfileSectionA(s.name.c_str(), s.data.c_str(), ini);
    }
  }
  inisections_c(const inisections_c&) = delete;
  inisections_c& operator=(const inisections_c&) = delete;

  static void set(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, ini);
  }
  static std::string get(const char* section, const char* key) {
    char text[1024] = "";
    GetPrivateProfileStringA(section, key, "\x01", text, sizeof text, ini);
    return text;
  }
  static bool has(const char* section, const char* key) { return get(section, key) != "\x01"; }

private:
  struct section {
    std::string name;
    bool existed = false;
    std::string data;
  };
  std::vector<section> saved;
};

inline std::string currentuser() {
  char name[256] = "";
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size)) return std::string();
  return name;
}

inline eventrecord event(const char* subject, uint8_t state, bool incoming, const char* party = "Jane Roe") {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.flags = incoming ? static_cast<uint32_t>(EV_INCOMING) : 0u;
  r.state = state;
  r.day = 14;
  r.month = 5;
  r.year = 2024;
  r.hour = 10;
  r.minute = 30;
  setfield(r.subject, subject);
  if (incoming) {
    setfield(r.sendername, party);
    setfield(r.senderaddress, "+49 30 1234567");
  } else {
    setfield(r.recipientname, party);
    setfield(r.recipientaddress, "+49 30 7654321");
  }
  return r;
}

// A mailbox root holding the Windows user's own mailbox; RIROVEVI.INI points at it.
class mailboxroot_c {
public:
  mailboxroot_c() {
    user = currentuser();
    dir = root.path() + "\\" + (user.empty() ? std::string("nobody") : user);
    ok = !user.empty() && makeusermailbox(dir, user.c_str(), "Test User");
    file = dir + "\\mailbox.rlb";
    inisections_c::set("Directories", "Mailbox", root.path().c_str());
  }
  // The event's slot, 0 on failure.
  int add(const eventrecord& r) {
    mailboxfile_c f;
    if (!f.open(file.c_str())) return 0;
    return f.addevent(&r);
  }
  bool setstate(int slot, uint8_t state) {
    mailboxfile_c f;
    eventrecord r;
    if (!f.open(file.c_str()) || !f.readevent(&r, slot)) return false;
    r.state = state;
    return f.updateevent(&r, slot) != 0;
  }

  scratchdir_c root;
  std::string user, dir, file;
  bool ok = false;
};

// A registry key under HKEY_CURRENT_USER\Software copied aside and put back when the object
// goes: the application's tests use the program's real profile store.
class registrysnapshot_c {
public:
  explicit registrysnapshot_c(const std::string& subkey) : key("Software\\" + subkey) {
    char text[64];
    wsprintfA(text, "Software\\Ravelink Test Backup %lu", GetCurrentProcessId());
    backup = text;
    RegDeleteTreeA(HKEY_CURRENT_USER, backup.c_str());
    HKEY source = nullptr;
    existed = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS;
    if (existed) {
      HKEY target = nullptr;
      if (RegCreateKeyExA(HKEY_CURRENT_USER, backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                          nullptr) == ERROR_SUCCESS) {
        copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
        RegCloseKey(target);
      }
      RegCloseKey(source);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  }
  ~registrysnapshot_c() {
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    if (existed && copied) {
      HKEY source = nullptr, target = nullptr;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, backup.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                            nullptr) == ERROR_SUCCESS) {
          RegCopyTreeA(source, nullptr, target);
          RegCloseKey(target);
        }
        RegCloseKey(source);
      }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, backup.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, backup.c_str());
  }
  registrysnapshot_c(const registrysnapshot_c&) = delete;
  registrysnapshot_c& operator=(const registrysnapshot_c&) = delete;

  // Whether the key could be set aside (nothing to set aside counts as done).
  bool safe() const { return !existed || copied; }

private:
  std::string key, backup;
  bool existed = false, copied = false;
};

inline std::string windowtext(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace frametest
