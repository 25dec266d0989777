#pragma once
// A user's mailbox file as the fax server's administration writes it: created by the store, then
// the owner's account name and password put into the header.
#include <windows.h>

#include <cstring>
#include <string>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "tests/support/testsupport.h"

inline bool makeusermailbox(const std::string& dir, const char* login, const char* name,
                            const char* password = nullptr) {
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\mailbox.rlb";
  {
    mailboxfile_c f;
    if (!f.create(path.c_str(), name)) return false;
  }
  std::string bytes = readwhole(path);
  if (bytes.size() != sizeof(mailboxheader)) return false;
  mailboxheader h;
  memcpy(&h, bytes.data(), sizeof h);
  setfield(h.loginname, login);
  memset(h.password, 0, sizeof h.password);
  if (password) memcpy(h.password, password, strnlen(password, sizeof h.password));
  return writewhole(path, std::string(reinterpret_cast<const char*>(&h), sizeof h));
}
