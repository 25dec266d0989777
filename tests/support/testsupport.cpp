#include "tests/support/testsupport.h"

#include <windows.h>

#include <cstdio>

scratchdir_c::scratchdir_c() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  static unsigned counter = 0;
  char name[MAX_PATH + 64];
  for (;;) {
    snprintf(name, sizeof name, "%srlt%lu_%u", temp, GetCurrentProcessId(), counter++);
    if (CreateDirectoryA(name, nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  dir = name;
}

scratchdir_c::~scratchdir_c() { removetree(dir); }

bool removetree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string n = fd.cFileName;
      if (n == "." || n == "..") continue;
      std::string full = path + "\\" + n;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removetree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool writewhole(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

std::string readwhole(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string out;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(h, block, sizeof block, &got, nullptr) && got > 0) out.append(block, got);
  CloseHandle(h);
  return out;
}

std::string siblingpath(const std::string& name) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string p(self, n);
  size_t slash = p.find_last_of('\\');
  return p.substr(0, slash + 1) + name;
}
