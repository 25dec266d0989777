// Address book stand-in. Instead of a dialog it reads a script named by the environment
// variable RLADDRBK_SCRIPT:
//   mapi=N         what RLABCheckMapi answers (default 1)
//   result=N       what RLABSelectRec returns after the entries (default 0)
//   log=PATH       where to record the title and each callback result
//   entry=first|last|company|department|voice|fax|email     one picked entry; "~" is a null field
// Without a script RLABCheckMapi answers 1 and RLABSelectRec picks nothing and returns 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "connectors/cgw.h"

namespace {

struct script {
  int mapi = 1;
  int result = 0;
  std::string log;
  std::vector<std::vector<std::string>> entries;
};

script readscript() {
  script s;
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("RLADDRBK_SCRIPT", path, sizeof path);
  if (n == 0 || n >= sizeof path) return s;
  FILE* f = fopen(path, "rb");
  if (!f) return s;
  char line[2048];
  while (fgets(line, sizeof line, f)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    size_t eq = text.find('=');
    if (eq == std::string::npos) continue;
    std::string key = text.substr(0, eq), value = text.substr(eq + 1);
    if (key == "mapi") {
      s.mapi = atoi(value.c_str());
    } else if (key == "result") {
      s.result = atoi(value.c_str());
    } else if (key == "log") {
      s.log = value;
    } else if (key == "entry") {
      std::vector<std::string> fields;
      size_t start = 0;
      for (;;) {
        size_t bar = value.find('|', start);
        fields.push_back(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
      }
      fields.resize(7);
      s.entries.push_back(fields);
    }
  }
  fclose(f);
  return s;
}

void logline(const script& s, const std::string& text) {
  if (s.log.empty()) return;
  FILE* f = fopen(s.log.c_str(), "ab");
  if (!f) return;
  fprintf(f, "%s\r\n", text.c_str());
  fclose(f);
}

const char* field(const std::vector<std::string>& fields, size_t i) {
  return fields[i] == "~" ? nullptr : fields[i].c_str();
}

}  // namespace

extern "C" int32_t CGWAPI RLABCheckMapi() { return readscript().mapi; }

extern "C" int32_t CGWAPI RLABSelectRec(intptr_t owner, const char* title, abselectcallback callback, abpair* pair) {
  script s = readscript();
  char head[600];
  snprintf(head, sizeof head, "owner=%ld title=%s", static_cast<long>(owner), title ? title : "(null)");
  logline(s, head);
  for (const auto& e : s.entries) {
    abrecord record = {};
    record.firstname = field(e, 0);
    record.lastname = field(e, 1);
    record.company = field(e, 2);
    record.department = field(e, 3);
    record.voice = field(e, 4);
    record.faxno = field(e, 5);
    record.email = field(e, 6);
    int32_t r = callback ? callback(&record, pair) : -1;
    logline(s, "callback=" + std::to_string(r));
  }
  return s.result;
}
