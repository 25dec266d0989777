#include "toolkit/file.h"

namespace {
DWORD fileaccess(int mode) {
  switch (mode) {
    case 1: return GENERIC_WRITE;
    case 2: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}
}  // namespace

file_c::file_c() : handle(INVALID_HANDLE_VALUE) {}

file_c::~file_c() { file_c::close(); }

int file_c::open(const char* name, int append, int mode) {
  if (!name) return 0;
  close();
  handle = CreateFileA(name, fileaccess(mode), 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  if (append && !seekend(0)) return 0;
  return 1;
}

int file_c::create(const char* name, int mode) {
  if (!name) return 0;
  close();
  handle = CreateFileA(name, fileaccess(mode), 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle != INVALID_HANDLE_VALUE;
}

void file_c::close() {
  if (handle == INVALID_HANDLE_VALUE) return;
  CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

int file_c::read(void* buffer, DWORD count, DWORD* countout) {
  DWORD moved = 0;
  if (!ReadFile(handle, buffer, count, &moved, nullptr)) return 0;
  if (countout) {
    *countout = moved;
    return 1;
  }
  return moved == count;
}

int file_c::write(const void* buffer, DWORD count, DWORD* countout) {
  DWORD moved = 0;
  if (!WriteFile(handle, buffer, count, &moved, nullptr)) return 0;
  if (countout) {
    *countout = moved;
    return 1;
  }
  return moved == count;
}

int file_c::seekend(LONG distance) {
  return SetFilePointer(handle, distance, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

LONG file_c::tell() {
  DWORD position = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
  return position == INVALID_SET_FILE_POINTER ? -1 : (LONG)position;
}
