#include "toolkit/text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

bool iswhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

char lowerascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Copies at most size bytes including the terminator.
void copybounded(char* out, int size, const char* text) {
  if (!out || size <= 0) return;
  int i = 0;
  for (; text[i] && i + 1 < size; ++i) out[i] = text[i];
  out[i] = 0;
}

class localtext_c {
public:
  localtext_c() : text(nullptr) {}
  ~localtext_c() {
    if (text) LocalFree(text);
  }
  localtext_c(const localtext_c&) = delete;
  localtext_c& operator=(const localtext_c&) = delete;
  char* text;
};

}  // namespace

int isemptytext(const char* text) { return (!text || !*text) ? 1 : 0; }
int isemptytextw(const wchar_t* text) { return (!text || !*text) ? 1 : 0; }

void trimleft(char* text) {
  if (!text || !*text) return;
  char* p = text;
  while (*p && iswhite(*p)) ++p;
  if (p != text) memmove(text, p, strlen(p) + 1);
}

void trimright(char* text) {
  if (!text || !*text) return;
  size_t len = strlen(text);
  while (len > 0 && iswhite(text[len - 1])) --len;
  text[len] = 0;
}

void trim(char* text) {
  trimleft(text);
  trimright(text);
}

void removespaces(char* text) {
  if (!text) return;
  char* out = text;
  for (char* p = text; *p; ++p)
    if (!iswhite(*p)) *out++ = *p;
  *out = 0;
}

void removechars(char* text, const char* set) {
  if (!text || !set) return;
  char* out = text;
  for (char* p = text; *p; ++p)
    if (!strchr(set, *p)) *out++ = *p;
  *out = 0;
}

void dropleft(char* text, int n) {
  if (!text || n <= 0) return;
  size_t len = strlen(text);
  if (static_cast<size_t>(n) > len) return;
  memmove(text, text + n, len - static_cast<size_t>(n) + 1);
}

const char* findnocase(const char* text, const char* part) {
  if (!text || !part) return nullptr;
  for (const char* start = text;; ++start) {
    const char* a = start;
    const char* b = part;
    while (*b && *a && lowerascii(*a) == lowerascii(*b)) {
      ++a;
      ++b;
    }
    if (!*b) return start;
    if (!*start) return nullptr;
  }
}

int timetext(char* out, int size, const SYSTEMTIME* time) {
  if (!out || size <= 0) return 0;
  return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, time, nullptr, out, size) > 0 ? 1 : 0;
}

int datetext(char* out, int size, const SYSTEMTIME* time, int longform) {
  if (!out || size <= 0) return 0;
  DWORD flags = longform ? DATE_LONGDATE : DATE_SHORTDATE;
  return GetDateFormatA(LOCALE_USER_DEFAULT, flags, time, nullptr, out, size) > 0 ? 1 : 0;
}

int datetimetext(char* out, int size, const SYSTEMTIME* time, int longform) {
  if (!out || size <= 0) return 0;
  char date[63];
  char clock[63];
  if (!datetext(date, sizeof date, time, longform)) return 0;
  if (!timetext(clock, sizeof clock, time)) return 0;
  char joined[sizeof date + sizeof clock + 1];
  strcpy(joined, date);
  strcat(joined, " ");
  strcat(joined, clock);
  copybounded(out, size, joined);
  return 1;
}

void tonarrow(wchar_t* text, char* out) {
  if (!text) return;
  size_t wlen = wcslen(text);
  char* dest = out ? out : reinterpret_cast<char*>(text);
  char* temp = static_cast<char*>(malloc(wlen + 2));
  int n = temp ? WideCharToMultiByte(CP_ACP, 0, text, -1, temp, static_cast<int>(wlen + 2), nullptr, nullptr) : 0;
  if (n > 0) {
    // Only the converted text and its terminator reach the output.
    memcpy(dest, temp, strnlen(temp, static_cast<size_t>(n)) + 1);
  } else {
    // Forward is safe in place: byte i is written after unit i (at byte 2i) was read.
    for (size_t i = 0; i <= wlen; ++i) dest[i] = static_cast<char>(text[i] & 0xFF);
  }
  free(temp);
}

void towide(char* text, wchar_t* out) {
  if (!text) return;
  size_t len = strlen(text);
  wchar_t* dest = out ? out : reinterpret_cast<wchar_t*>(text);
  wchar_t* temp = static_cast<wchar_t*>(malloc((len + 2) * sizeof(wchar_t)));
  int n = temp ? MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, temp, static_cast<int>(len + 2)) : 0;
  if (n > 0) {
    memcpy(dest, temp, (wcsnlen(temp, static_cast<size_t>(n)) + 1) * sizeof(wchar_t));
  } else {
    // Backwards, so that in place no byte is overwritten before it was read.
    for (size_t i = len + 1; i-- > 0;) dest[i] = static_cast<unsigned char>(text[i]);
  }
  free(temp);
}

int errortext(char* out, int size, DWORD code, HMODULE module) {
  if (!out || size <= 0) return 0;
  localtext_c message;
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
  DWORD n = FormatMessageA(flags, module, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<char*>(&message.text), 0, nullptr);
  if (n == 0 || !message.text) return 0;
  removechars(message.text, "\r\n");
  copybounded(out, size, message.text);
  return 1;
}
