#include "toolkit/path.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "toolkit/string.h"

namespace {

class findhandle_c {
public:
  explicit findhandle_c(HANDLE h) : handle(h) {}
  ~findhandle_c() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
  findhandle_c(const findhandle_c&) = delete;
  findhandle_c& operator=(const findhandle_c&) = delete;
  bool valid() const { return handle != INVALID_HANDLE_VALUE; }
  HANDLE handle;
};

// Copies text to the end of dest without letting dest exceed size bytes with its terminator.
template <typename T>
void appendbounded(T* dest, int size, const T* text) {
  size_t used = 0;
  while (dest[used]) ++used;
  size_t room = static_cast<size_t>(size);
  while (*text && used + 1 < room) dest[used++] = *text++;
  if (used < room) dest[used] = 0;
}

template <typename T>
T* lastof(T* text, T c) {
  T* found = nullptr;
  for (T* p = text; *p; ++p)
    if (*p == c) found = p;
  return found;
}

template <typename T>
void replacenameextimpl(T* path, int size, const T* name, const T* ext) {
  if (!path || size <= 0) return;
  if (name) {
    T* slash = lastof(path, static_cast<T>('\\'));
    if (slash) slash[1] = 0;
    // Without a backslash nothing is removed and the name is appended.
    appendbounded(path, size, name);
  }
  if (ext) {
    T* slash = lastof(path, static_cast<T>('\\'));
    T* filepart = slash ? slash + 1 : path;
    T* dot = lastof(filepart, static_cast<T>('.'));
    if (dot) dot[1] = 0;
    appendbounded(path, size, ext);
  }
}

// Copies at most size bytes including the terminator.
void copybounded(char* out, int size, const char* text) {
  if (!out || size <= 0) return;
  int i = 0;
  for (; text[i] && i + 1 < size; ++i) out[i] = text[i];
  out[i] = 0;
}

}  // namespace

int pathexists(const char* path) {
  if (!path) return 0;
  WIN32_FIND_DATAA data;
  findhandle_c search(FindFirstFileA(path, &data));
  return search.valid() ? 1 : 0;
}

int direxists(const char* dir) {
  if (!dir) return 0;
  string_c pattern(dir);
  pattern.ensuretrailing('\\');
  pattern.append("*.*");
  return pathexists(pattern.buffer);
}

int makedir(const char* dir) {
  if (!dir) return 0;
  string_c path(dir);
  removebackslash(path.buffer);
  return CreateDirectoryA(path.buffer, nullptr);
}

int emptydir(const char* dir, int removeit) {
  if (!dir) return 0;
  string_c base(dir);
  base.ensuretrailing('\\');
  string_c pattern(base);
  pattern.append("*.*");
  WIN32_FIND_DATAA data;
  {
    findhandle_c search(FindFirstFileA(pattern.buffer, &data));
    if (search.valid()) {
      do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        string_c file(base);
        file.append(data.cFileName);
        DeleteFileA(file.buffer);
      } while (FindNextFileA(search.handle, &data));
    }
  }
  if (*dir) {
    string_c path(dir);
    removebackslash(path.buffer);
    if (removeit) RemoveDirectoryA(path.buffer);
  }
  return 1;
}

void addbackslash(char* path) {
  if (!path) return;
  size_t len = strlen(path);
  if (len > 0 && path[len - 1] == '\\') return;
  path[len] = '\\';
  path[len + 1] = 0;
}

void removebackslash(char* path) {
  if (!path) return;
  size_t len = strlen(path);
  if (len > 0 && path[len - 1] == '\\') path[len - 1] = 0;
}

// Unlike the original contract (where size was only tested for being positive) the size bounds
// what is appended, so a long name or extension can never run past the caller's buffer.
void replacenameext(char* path, int size, const char* name, const char* ext) {
  replacenameextimpl(path, size, name, ext);
}

void replacenameextw(wchar_t* path, int size, const wchar_t* name, const wchar_t* ext) {
  replacenameextimpl(path, size, name, ext);
}

int modulerelpath(const char* name, const char* ext, char* out, int size, HMODULE module) {
  if (!out || size <= 0 || (!name && !ext)) return 0;
  DWORD n = GetModuleFileNameA(module, out, static_cast<DWORD>(size));
  // A path that filled the whole buffer was cut.
  if (n == 0 || n >= static_cast<DWORD>(size)) return 0;
  replacenameext(out, size, name, ext);
  return 1;
}

int modulerelpathw(const wchar_t* name, const wchar_t* ext, wchar_t* out, int size, HMODULE module) {
  if (!out || size <= 0 || (!name && !ext)) return 0;
  DWORD n = GetModuleFileNameW(module, out, static_cast<DWORD>(size));
  if (n == 0 || n >= static_cast<DWORD>(size)) return 0;
  replacenameextw(out, size, name, ext);
  return 1;
}

void stripfilename(char* path) {
  if (!path) return;
  removebackslash(path);
  char* slash = strrchr(path, '\\');
  if (slash) {
    slash[1] = 0;
  } else {
    size_t len = strlen(path);
    path[len] = '\\';
    path[len + 1] = 0;
  }
}

const char* filenamepart(const char* path) {
  if (!path) return path;
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

char* filenamepart(char* path) {
  return const_cast<char*>(filenamepart(static_cast<const char*>(path)));
}

int sameext(const char* name, const char* other) {
  if (!name) return 0;
  const char* dot = strrchr(name, '.');
  if (!dot) return 0;
  if (!other) return 1;
  const char* otherdot = strrchr(other, '.');
  const char* otherext = otherdot ? otherdot + 1 : other;
  const char* ext = dot + 1;
  for (;; ++ext, ++otherext) {
    char a = *ext, b = *otherext;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return 0;
    if (!a) return 1;
  }
}

uint32_t uniquefilenamestart(const SYSTEMTIME& utc) {
  return static_cast<uint32_t>(utc.wDay) * utc.wHour * utc.wMinute * utc.wSecond * utc.wMilliseconds;
}

void uniquefilenameformat(uint32_t number, const char* ext, const char* prefix, char* out, int namesize) {
  if (!out || namesize <= 0) return;
  char digits[16];
  snprintf(digits, sizeof digits, "%08lX", static_cast<unsigned long>(number));
  if (prefix) {
    for (int i = 0; i < 4 && prefix[i]; ++i) digits[i] = prefix[i];
  }
  copybounded(out, namesize, digits);
  appendbounded(out, namesize, ".");
  appendbounded(out, namesize, ext ? ext : "");
}

int uniquefilename(const char* dir, const char* nameorext, char* nameout, char* pathout, int pathsize,
                   const char* prefix, int namesize) {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return uniquefilenameat(now, dir, nameorext, nameout, pathout, pathsize, prefix, namesize);
}

int uniquefilenameat(const SYSTEMTIME& utc, const char* dir, const char* nameorext, char* nameout,
                     char* pathout, int pathsize, const char* prefix, int namesize) {
  if (!dir || !nameorext || (!nameout && !pathout)) return 0;
  const char* dot = strrchr(nameorext, '.');
  const char* ext = dot ? dot + 1 : nameorext;
  uint32_t number = uniquefilenamestart(utc);

  string_c base(dir);
  if (base.length() > 0) base.ensuretrailing('\\');
  string_c path;
  string_c name(static_cast<int>(strlen(ext)) + 16);
  for (;;) {
    uniquefilenameformat(number, ext, prefix, name.buffer, name.capacity + 1);
    path.assign(base);
    path.append(name);
    ++number;
    if (!pathexists(path.buffer)) break;
  }
  if (nameout) copybounded(nameout, namesize, name.buffer);
  if (pathout) copybounded(pathout, pathsize, path.buffer);
  return 1;
}
