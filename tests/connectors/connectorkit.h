#pragma once
// Shared fixture of the connector tests: a mailbox root with a few users, RIROVEVI.INI pointing at
// it (restored afterwards), the connector loaded fresh and its exports resolved by ordinal.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connectors/cgw.h"
#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"

namespace cgwtest {

// All events in use of a mailbox, in slot order.
inline std::vector<eventrecord> events(const std::string& mailbox) {
  std::vector<eventrecord> out;
  mailboxfile_c f;
  if (!f.open(mailbox.c_str())) return out;
  f.setkeepopen(1);
  eventrecord r;
  for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r)) out.push_back(r);
  f.setkeepopen(0);
  return out;
}

// Files of a folder with the given extension (case ignored), names only.
inline std::vector<std::string> files(const std::string& dir, const char* ext) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*." + ext).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

// Under Wine the account name is the process's WINEUSERNAME: a test chooses "the Windows user"
// by setting it (an empty one makes GetUserNameA fail, as for a process without a user name).
class windowsuser_c {
public:
  explicit windowsuser_c(const char* name) {
    char old[256];
    DWORD n = GetEnvironmentVariableA("WINEUSERNAME", old, sizeof old);
    had = n > 0 && n < sizeof old;
    if (had) before = old;
    SetEnvironmentVariableA("WINEUSERNAME", name);
  }
  ~windowsuser_c() { SetEnvironmentVariableA("WINEUSERNAME", had ? before.c_str() : nullptr); }
  windowsuser_c(const windowsuser_c&) = delete;
  windowsuser_c& operator=(const windowsuser_c&) = delete;
  // Whether GetUserNameA follows the variable here (it does under Wine).
  static bool works() {
    windowsuser_c probe("RavelinkProbe");
    char name[64] = "";
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) && lstrcmpA(name, "RavelinkProbe") == 0;
  }

private:
  bool had = false;
  std::string before;
};

// Mailbox key of RIROVEVI.INI, restored when the object goes.
class mailboxsetting_c {
public:
  mailboxsetting_c() {
    char old[600];
    GetPrivateProfileStringA("Directories", "Mailbox", "\x01", old, sizeof old, "RIROVEVI.INI");
    had = strcmp(old, "\x01") != 0;
    before = old;
  }
  ~mailboxsetting_c() { set(had ? before.c_str() : nullptr); }
  mailboxsetting_c(const mailboxsetting_c&) = delete;
  mailboxsetting_c& operator=(const mailboxsetting_c&) = delete;
  void set(const char* root) { WritePrivateProfileStringA("Directories", "Mailbox", root, "RIROVEVI.INI"); }

private:
  bool had = false;
  std::string before;
};

struct exports {
  cgwGetCaps_t getcaps = nullptr;
  cgwGetInfo_t getinfo = nullptr;
  cgwLogon_t logon = nullptr;
  cgwLogonEx_t logonex = nullptr;
  cgwLogoff_t logoff = nullptr;
  cgwSendMessage_t sendmessage = nullptr;
  cgwSendMessageEx_t sendmessageex = nullptr;
  cgwAddressBook_t addressbook = nullptr;
};

template <typename T>
T byordinal(HMODULE m, int ordinal) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, MAKEINTRESOURCEA(ordinal))));
}

// A connector loaded from a path, unloaded when the object goes (so each test starts logged off).
class connector_c {
public:
  explicit connector_c(const std::string& path) {
    module = LoadLibraryA(path.c_str());
    if (!module) return;
    x.getcaps = byordinal<cgwGetCaps_t>(module, CGWORD_GETCAPS);
    x.getinfo = byordinal<cgwGetInfo_t>(module, CGWORD_GETINFO);
    x.logon = byordinal<cgwLogon_t>(module, CGWORD_LOGON);
    x.logonex = byordinal<cgwLogonEx_t>(module, CGWORD_LOGONEX);
    x.logoff = byordinal<cgwLogoff_t>(module, CGWORD_LOGOFF);
    x.sendmessage = byordinal<cgwSendMessage_t>(module, CGWORD_SENDMESSAGE);
    x.sendmessageex = byordinal<cgwSendMessageEx_t>(module, CGWORD_SENDMESSAGEEX);
    x.addressbook = byordinal<cgwAddressBook_t>(module, CGWORD_ADDRESSBOOK);
  }
  ~connector_c() {
    if (module) FreeLibrary(module);
  }
  connector_c(const connector_c&) = delete;
  connector_c& operator=(const connector_c&) = delete;
  HMODULE module = nullptr;
  exports x;
};

inline cgwrecipient recipient(const char* first, const char* last, const char* fax, const char* company = "",
                              const char* department = "", const char* email = "", const char* voice = "") {
  cgwrecipient r = {};
  strncpy(r.firstname, first, 63);
  strncpy(r.lastname, last, 63);
  strncpy(r.faxno, fax, 63);
  strncpy(r.company, company, 255);
  strncpy(r.department, department, 63);
  strncpy(r.email, email, 63);
  strncpy(r.voice, voice, 63);
  return r;
}

inline std::string text(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

}  // namespace cgwtest
