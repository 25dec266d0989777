// Connector host stand-in: loads a connector by path, resolves its exports by ordinal and
// drives them from the command line, printing every result.
//
//   cgwhost CONNECTOR [--logon USER PASSWORD] [--info] [--caps] [--addressbook]
//           [--subject TEXT] [--body TEXT] [--cover NAME] [--sendtime TEXT] [--highres]
//           [--flags N] [--to "first|last|company|fax|department|email|voice"]... [--attach PATH]...
//
// "~" as USER, PASSWORD or a message text passes a null pointer. A message is sent when at
// least one --to or --attach or text is given, or with --send (no recipients: tests code 13).
// Order of calls: logon, info, caps, send, address book. Exit code: 0 when every call returned
// 0, 1 when one did not, 3 when the connector or an export could not be resolved.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "connectors/cgw.h"

namespace {

const char* textarg(const std::string& s) { return s == "~" ? nullptr : s.c_str(); }

void copyfield(char* field, size_t size, const std::string& text) {
  strncpy(field, text.c_str(), size - 1);
  field[size - 1] = 0;
}

cgwrecipient parserecipient(const std::string& description) {
  cgwrecipient r = {};
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = description.find('|', start);
    parts.push_back(description.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  parts.resize(7);
  copyfield(r.firstname, sizeof r.firstname, parts[0]);
  copyfield(r.lastname, sizeof r.lastname, parts[1]);
  copyfield(r.company, sizeof r.company, parts[2]);
  copyfield(r.faxno, sizeof r.faxno, parts[3]);
  copyfield(r.department, sizeof r.department, parts[4]);
  copyfield(r.email, sizeof r.email, parts[5]);
  copyfield(r.voice, sizeof r.voice, parts[6]);
  return r;
}

int32_t CGWAPI printentry(const cgwrecipient* e, intptr_t hostvalue) {
  printf("entry=%.63s|%.63s|%.255s|%.63s|%.63s|%.63s|%.63s hostvalue=%ld\n", e->firstname, e->lastname, e->company,
         e->faxno, e->department, e->email, e->voice, static_cast<long>(hostvalue));
  return 0;
}

template <typename T>
T resolve(HMODULE module, int ordinal, bool& ok) {
  FARPROC p = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
  if (!p) {
    printf("ordinal %d missing\n", ordinal);
    ok = false;
  }
  return reinterpret_cast<T>(reinterpret_cast<void*>(p));
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    fprintf(stderr, "usage: cgwhost CONNECTOR [options]\n");
    return 2;
  }
  bool logon = false, info = false, caps = false, addressbook = false, send = false, highres = false;
  bool flagsgiven = false;
  uint32_t flags = 0;
  std::string user, password, subject, body, cover, sendtime;
  bool hassubject = false, hasbody = false, hascover = false, hassendtime = false;
  std::vector<cgwrecipient> recipients;
  std::vector<std::string> attachpaths;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&](std::string& into) {
      if (i + 1 < argc) into = argv[++i];
    };
    if (a == "--logon" && i + 2 < argc) {
      logon = true;
      user = argv[++i];
      password = argv[++i];
    } else if (a == "--info") {
      info = true;
    } else if (a == "--caps") {
      caps = true;
    } else if (a == "--addressbook") {
      addressbook = true;
    } else if (a == "--send") {
      send = true;
    } else if (a == "--highres") {
      highres = send = true;
    } else if (a == "--subject") {
      next(subject);
      hassubject = send = true;
    } else if (a == "--body") {
      next(body);
      hasbody = send = true;
    } else if (a == "--cover") {
      next(cover);
      hascover = send = true;
    } else if (a == "--sendtime") {
      next(sendtime);
      hassendtime = send = true;
    } else if (a == "--flags") {
      std::string n;
      next(n);
      flags = static_cast<uint32_t>(strtoul(n.c_str(), nullptr, 0));
      flagsgiven = send = true;
    } else if (a == "--to") {
      std::string r;
      next(r);
      recipients.push_back(parserecipient(r));
      send = true;
    } else if (a == "--attach") {
      std::string p;
      next(p);
      attachpaths.push_back(p);
      send = true;
    } else {
      fprintf(stderr, "cgwhost: unknown option %s\n", a.c_str());
      return 2;
    }
  }

  HMODULE module = LoadLibraryA(argv[1]);
  if (!module) {
    printf("cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 3;
  }
  bool ok = true;
  auto getcaps = resolve<cgwGetCaps_t>(module, CGWORD_GETCAPS, ok);
  auto getinfo = resolve<cgwGetInfo_t>(module, CGWORD_GETINFO, ok);
  auto logonex = resolve<cgwLogonEx_t>(module, CGWORD_LOGONEX, ok);
  auto logoff = resolve<cgwLogoff_t>(module, CGWORD_LOGOFF, ok);
  auto sendex = resolve<cgwSendMessageEx_t>(module, CGWORD_SENDMESSAGEEX, ok);
  auto book = resolve<cgwAddressBook_t>(module, CGWORD_ADDRESSBOOK, ok);
  if (!ok) return 3;

  bool allzero = true;
  auto report = [&](const char* what, int32_t r) {
    printf("%s=%ld\n", what, static_cast<long>(r));
    if (r != 0) allzero = false;
  };

  if (logon) report("cgwLogonEx", logonex(0, textarg(user), textarg(password), 0));
  if (info) {
    cgwinfo i = {};
    getinfo(&i);
    printf("name=%.31s\ndescription=%.255s\n", i.name, i.description);
  }
  if (caps) {
    printf("caps=");
    for (int c = 0; c <= 9; ++c) printf(c ? ",%ld" : "%ld", static_cast<long>(getcaps(c)));
    printf("\n");
  }
  if (send) {
    if (!flagsgiven) {
      flags = (highres ? CGW_HIGHRES : 0) | (hassubject ? CGW_SUBJECT : 0) | (hasbody ? CGW_BODY : 0) |
              (hascover ? CGW_COVERPAGE : 0) | (hassendtime ? CGW_SENDTIME : 0);
    }
    std::vector<cgwattachment> attachments(attachpaths.size());
    for (size_t i = 0; i < attachpaths.size(); ++i) attachments[i].path = attachpaths[i].c_str();
    cgwmessage m = {};
    m.flags = flags;
    m.subject = hassubject ? textarg(subject) : nullptr;
    m.body = hasbody ? textarg(body) : nullptr;
    m.coverpage = hascover ? textarg(cover) : nullptr;
    m.sendtime = hassendtime ? textarg(sendtime) : nullptr;
    m.recipientcount = static_cast<uint32_t>(recipients.size());
    m.recipients = recipients.empty() ? nullptr : recipients.data();
    m.attachmentcount = static_cast<uint32_t>(attachments.size());
    m.attachments = attachments.empty() ? nullptr : attachments.data();
    report("cgwSendMessageEx", sendex(0, &m));
  }
  if (addressbook) report("cgwAddressBook", book(0, 4711, printentry));
  logoff(0);
  FreeLibrary(module);
  return allzero ? 0 : 1;
}
