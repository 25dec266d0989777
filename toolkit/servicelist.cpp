#include "toolkit/servicelist.h"

#include <cstring>
#include <new>

servicelist_c* servicelist_c::create(ENUM_SERVICE_STATUSA* entries, int32_t count) {
  servicelist_c* list = new (std::nothrow) servicelist_c;
  if (!list) return nullptr;
  list->count = entries ? count : 0;
  list->entries = entries;
  return list;
}

ENUM_SERVICE_STATUSA* servicelist_c::allocentries(DWORD bytes) {
  // The system writes the names behind the array, so the block is raw bytes with the
  // alignment operator new gives every allocation.
  return reinterpret_cast<ENUM_SERVICE_STATUSA*>(new (std::nothrow) unsigned char[bytes ? bytes : 1]);
}

void servicelist_c::freeentries(ENUM_SERVICE_STATUSA* entries) {
  delete[] reinterpret_cast<unsigned char*>(entries);
}

int servicelist_c::copyat(char* buffer, int size, int step) {
  if (closed) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!buffer || size <= 0 || !entries || cursor < 0 || cursor >= count) return 0;
  const char* name = entries[cursor].lpServiceName;
  if (!name) name = "";
  size_t n = strlen(name);
  if (n > (size_t)size - 1) n = (size_t)size - 1;
  memcpy(buffer, name, n);
  buffer[n] = 0;
  cursor += step;
  return 1;
}

int servicelist_c::next(char* buffer, int size) { return copyat(buffer, size, 1); }

int servicelist_c::prev(char* buffer, int size) { return copyat(buffer, size, -1); }

void servicelist_c::rewind(int fromend) { cursor = fromend ? count - 1 : 0; }

void servicelist_c::release() {
  freeentries(entries);
  entries = nullptr;
  delete this;
}
