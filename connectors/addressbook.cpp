#include "connectors/addressbook.h"

#include <cstring>

#include "toolkit/path.h"
#include "toolkit/text.h"

namespace {

// Copies at most maxchars characters of a caller's text; reads no further than that.
void copyat(char* field, int maxchars, const char* text) {
  if (!text) return;
  int i = 0;
  for (; i < maxchars && text[i]; ++i) field[i] = text[i];
  field[i] = 0;
}

template <typename T>
T entrypoint(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

addressbook_c::addressbook_c() : module(nullptr), checkmapi(nullptr), selectrec(nullptr) {}

addressbook_c::~addressbook_c() { release(); }

void addressbook_c::release() {
  if (module) FreeLibrary(module);
  module = nullptr;
  checkmapi = nullptr;
  selectrec = nullptr;
}

void addressbook_c::bind(HMODULE self) {
  char path[MAX_PATH + 64];
  release();
  if (!modulerelpath("rladdrbk.dll", nullptr, path, sizeof path, self)) return;
  HMODULE library = LoadLibraryA(path);
  if (!library) return;
  auto check = entrypoint<RLABCheckMapi_t>(library, "RLABCheckMapi");
  auto select = entrypoint<RLABSelectRec_t>(library, "RLABSelectRec");
  if (!check || !select) {
    FreeLibrary(library);
    return;
  }
  module = library;
  checkmapi = check;
  selectrec = select;
}

int32_t addressbook_c::capability() { return checkmapi ? checkmapi() : 0; }

int32_t addressbook_c::mapresult(int32_t r) {
  switch (r) {
    case 0:
      return CGWAB_OK;
    case -2:
      return CGWAB_CANCELLED;
    case -3:
      return CGWAB_FAILED;
    case -4:
      return CGWAB_NOCALLBACK;
    default:
      return CGWAB_OTHER;
  }
}

int32_t addressbook_c::select(intptr_t owner, intptr_t hostvalue, cgwhostcallback callback) {
  if (!callback) return CGWAB_NOCALLBACK;
  if (!selectrec) return CGWAB_OK;
  abpair pair = {callback, hostvalue};
  return mapresult(selectrec(owner, "Select Names", selection, &pair));
}

int addressbook_c::fillrecipient(const abrecord* record, cgwrecipient* entry) {
  memset(entry, 0, sizeof *entry);
  if (!record || !record->faxno || !record->faxno[0]) return 0;
  copyat(entry->faxno, 63, record->faxno);
  trim(entry->faxno);
  if (!entry->faxno[0]) return 0;
  copyat(entry->firstname, 63, record->firstname);
  copyat(entry->company, 255, record->company);
  copyat(entry->lastname, 63, record->lastname);
  copyat(entry->department, 63, record->department);
  copyat(entry->email, 63, record->email);
  copyat(entry->voice, 63, record->voice);
  return 1;
}

int32_t CGWAPI addressbook_c::selection(const abrecord* record, abpair* pair) {
  cgwrecipient entry;
  if (!fillrecipient(record, &entry)) return 1;
  if (!pair || !pair->callback) return 1;
  return pair->callback(&entry, pair->hostvalue);
}
