#include "toolkit/string.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "toolkit/lock.h"
#include "toolkit/text.h"

namespace {

// Capacities come in steps of 128 above the requested length. Requests that would overflow the
// 32-bit capacity are refused.
const int32_t maxrequest = 0x3FFFFF00;

int32_t stepcapacity(int n) {
  if (n < 0) n = 0;
  return (n / 128 + 1) * 128;
}

template <typename T>
size_t textlength(const T* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

template <typename T>
bool insidebuffer(const T* text, const T* buffer, int32_t capacity) {
  return buffer && text >= buffer && text <= buffer + capacity;
}

}  // namespace

// ---- string_c ----

string_c::string_c() : buffer(nullptr), capacity(0) { reserve(2); }
string_c::string_c(int n) : buffer(nullptr), capacity(0) { reserve(n); }
string_c::string_c(const char* text) : buffer(nullptr), capacity(0) { assign(text); }
string_c::string_c(const wchar_t* text) : buffer(nullptr), capacity(0) { assign(text); }
string_c::string_c(const string_c& other) : buffer(nullptr), capacity(0) { assign(other.text()); }
string_c::~string_c() { release(); }

string_c& string_c::operator=(const string_c& other) {
  if (this != &other) assign(other.text());
  return *this;
}

void string_c::release() {
  lock_c lock(narrowstringlock(), 1);
  free(buffer);
  buffer = nullptr;
  capacity = 0;
}

int string_c::reserve(int n) {
  if (buffer || n > maxrequest) return 0;
  int32_t cap = stepcapacity(n);
  lock_c lock(narrowstringlock(), 1);
  char* fresh = static_cast<char*>(calloc(static_cast<size_t>(cap) + 1, 1));
  if (!fresh) return 0;
  buffer = fresh;
  capacity = cap;
  return 1;
}

int string_c::grow(int n) {
  if (n > maxrequest) return 0;
  int32_t cap = stepcapacity(n);
  lock_c lock(narrowstringlock(), 1);
  char* fresh = static_cast<char*>(calloc(static_cast<size_t>(cap) + 1, 1));
  if (!fresh) return 0;
  if (buffer) {
    size_t keep = strnlen(buffer, static_cast<size_t>(capacity));
    if (keep > static_cast<size_t>(cap)) keep = static_cast<size_t>(cap);
    memcpy(fresh, buffer, keep);
    free(buffer);
  }
  buffer = fresh;
  capacity = cap;
  return 1;
}

char* string_c::getbuffer(int n) { return grow(n) ? buffer : nullptr; }

char string_c::setat(int index, char c) {
  if (!buffer || index < 0 || index >= capacity) return 0;
  buffer[index] = c;
  return c;
}

char string_c::getat(int index) const {
  if (!buffer || index < 0 || index >= capacity) return 0;
  return buffer[index];
}

void string_c::zero() {
  if (buffer) memset(buffer, 0, static_cast<size_t>(capacity));
}

int string_c::length() const { return buffer ? static_cast<int>(strnlen(buffer, static_cast<size_t>(capacity))) : 0; }

string_c& string_c::assign(const char* text) {
  if (!text) return *this;
  if (insidebuffer(text, buffer, capacity)) {
    // Growing would free the text before it is copied: go through a copy.
    string_c copy(text);
    return assign(copy.text());
  }
  size_t len = textlength(text);
  if (len > static_cast<size_t>(maxrequest)) return *this;
  int32_t l = static_cast<int32_t>(len);
  if (l < capacity || grow(l)) memcpy(buffer, text, len + 1);
  return *this;
}

string_c& string_c::assign(const string_c& other) {
  if (this == &other) return *this;
  return assign(other.text());
}

string_c& string_c::assign(const wchar_t* text) {
  if (!text) return *this;
  size_t wlen = textlength(text);
  if (wlen > static_cast<size_t>(maxrequest / 2)) return *this;
  // The ANSI text of a wide text needs at most two bytes a character (double-byte code pages).
  char* narrow = static_cast<char*>(malloc(wlen * 2 + 2));
  if (!narrow) return *this;
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, static_cast<int>(wlen * 2 + 2), nullptr, nullptr);
  if (n <= 0) {
    for (size_t i = 0; i <= wlen; ++i) narrow[i] = static_cast<char>(text[i] & 0xFF);
  }
  assign(narrow);
  free(narrow);
  return *this;
}

string_c& string_c::append(const char* text) {
  if (!text) return *this;
  if (insidebuffer(text, buffer, capacity)) {
    string_c copy(text);
    return append(copy.text());
  }
  size_t len = textlength(text);
  int32_t cur = length();
  if (len > static_cast<size_t>(maxrequest - cur - 1)) return *this;
  int32_t l = static_cast<int32_t>(len);
  if (l + cur < capacity || grow(l + cur + 1)) memcpy(buffer + cur, text, len + 1);
  return *this;
}

string_c& string_c::append(const string_c& other) {
  if (this == &other) {
    string_c copy(other);
    return append(copy.text());
  }
  return append(other.text());
}

string_c& string_c::appendchar(char c) {
  if (c == 0) return *this;
  char one[2] = {c, 0};
  return append(one);
}

void string_c::ensuretrailing(char c) {
  if (!buffer) return;
  int len = length();
  if (len > 0 && buffer[len - 1] == c) return;
  appendchar(c);
}

// ---- wstring_c ----

wstring_c::wstring_c() : buffer(nullptr), capacity(0) { reserve(2); }
wstring_c::wstring_c(int n) : buffer(nullptr), capacity(0) { reserve(n); }
wstring_c::wstring_c(const char* text) : buffer(nullptr), capacity(0) { assign(text); }
wstring_c::wstring_c(const wchar_t* text) : buffer(nullptr), capacity(0) { assign(text); }
wstring_c::wstring_c(const wstring_c& other) : buffer(nullptr), capacity(0) { assign(other.text()); }
wstring_c::~wstring_c() { release(); }

wstring_c& wstring_c::operator=(const wstring_c& other) {
  if (this != &other) assign(other.text());
  return *this;
}

void wstring_c::release() {
  lock_c lock(widestringlock(), 1);
  free(buffer);
  buffer = nullptr;
  capacity = 0;
}

int wstring_c::reserve(int n) {
  if (buffer || n > maxrequest) return 0;
  int32_t cap = stepcapacity(n);
  lock_c lock(widestringlock(), 1);
  wchar_t* fresh = static_cast<wchar_t*>(calloc(static_cast<size_t>(cap) + 1, sizeof(wchar_t)));
  if (!fresh) return 0;
  buffer = fresh;
  capacity = cap;
  return 1;
}

int wstring_c::grow(int n) {
  if (n > maxrequest) return 0;
  int32_t cap = stepcapacity(n);
  lock_c lock(widestringlock(), 1);
  wchar_t* fresh = static_cast<wchar_t*>(calloc(static_cast<size_t>(cap) + 1, sizeof(wchar_t)));
  if (!fresh) return 0;
  if (buffer) {
    size_t keep = wcsnlen(buffer, static_cast<size_t>(capacity));
    if (keep > static_cast<size_t>(cap)) keep = static_cast<size_t>(cap);
    memcpy(fresh, buffer, keep * sizeof(wchar_t));
    free(buffer);
  }
  buffer = fresh;
  capacity = cap;
  return 1;
}

wchar_t* wstring_c::getbuffer(int n) { return grow(n) ? buffer : nullptr; }

void wstring_c::zero() {
  if (buffer) memset(buffer, 0, static_cast<size_t>(capacity) * sizeof(wchar_t));
}

int wstring_c::length() const { return buffer ? static_cast<int>(wcsnlen(buffer, static_cast<size_t>(capacity))) : 0; }

wstring_c& wstring_c::assign(const wchar_t* text) {
  if (!text) return *this;
  if (insidebuffer(text, buffer, capacity)) {
    wstring_c copy(text);
    return assign(copy.text());
  }
  size_t len = textlength(text);
  if (len > static_cast<size_t>(maxrequest)) return *this;
  int32_t l = static_cast<int32_t>(len);
  if (l < capacity || grow(l)) memcpy(buffer, text, (len + 1) * sizeof(wchar_t));
  return *this;
}

namespace {
// The wide form of an ANSI text in a fresh heap block (free with free()), or null.
wchar_t* widecopy(const char* text) {
  size_t len = strlen(text);
  if (len > static_cast<size_t>(maxrequest)) return nullptr;
  wchar_t* wide = static_cast<wchar_t*>(malloc((len + 2) * sizeof(wchar_t)));
  if (!wide) return nullptr;
  int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, wide, static_cast<int>(len + 2));
  if (n <= 0) {
    for (size_t i = 0; i <= len; ++i) wide[i] = static_cast<unsigned char>(text[i]);
  }
  return wide;
}
}  // namespace

wstring_c& wstring_c::assign(const char* text) {
  if (!text) return *this;
  wchar_t* wide = widecopy(text);
  if (wide) {
    assign(wide);
    free(wide);
  }
  return *this;
}

wstring_c& wstring_c::append(const wchar_t* text) {
  if (!text) return *this;
  if (insidebuffer(text, buffer, capacity)) {
    wstring_c copy(text);
    return append(copy.text());
  }
  size_t len = textlength(text);
  int32_t cur = length();
  if (len > static_cast<size_t>(maxrequest - cur - 1)) return *this;
  int32_t l = static_cast<int32_t>(len);
  if (l + cur < capacity || grow(l + cur + 1)) memcpy(buffer + cur, text, (len + 1) * sizeof(wchar_t));
  return *this;
}

wstring_c& wstring_c::append(const wstring_c& other) {
  if (this == &other) {
    wstring_c copy(other);
    return append(copy.text());
  }
  return append(other.text());
}

wstring_c& wstring_c::append(const char* text) {
  if (!text) return *this;
  wchar_t* wide = widecopy(text);
  if (wide) {
    append(wide);
    free(wide);
  }
  return *this;
}

// ---- formatting ----

// The text is formatted into a temporary first: an argument may be the target's own text,
// which growing would free.
void strformat(string_c& target, const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  int n = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (n < 0 || n > maxrequest) {
    va_end(args);
    return;
  }
  char* text = static_cast<char*>(malloc(static_cast<size_t>(n) + 1));
  if (!text) {
    va_end(args);
    return;
  }
  vsnprintf(text, static_cast<size_t>(n) + 1, format, args);
  va_end(args);
  if (target.capacity <= 512) target.grow(512);
  if (n > target.capacity) target.grow(n);
  if (!target.buffer) {
    free(text);
    return;
  }
  // When growing failed the text is cut to the capacity.
  size_t keep = static_cast<size_t>(n < target.capacity ? n : target.capacity);
  memcpy(target.buffer, text, keep);
  target.buffer[keep] = 0;
  free(text);
}

// Wide formats follow the platform's conventions (%s is a wide text).
void wstrformat(wstring_c& target, const wchar_t* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  int n = _vscwprintf(format, measure);
  va_end(measure);
  if (n < 0 || n > maxrequest) {
    va_end(args);
    return;
  }
  wchar_t* text = static_cast<wchar_t*>(malloc((static_cast<size_t>(n) + 1) * sizeof(wchar_t)));
  if (!text) {
    va_end(args);
    return;
  }
  _vsnwprintf(text, static_cast<size_t>(n) + 1, format, args);
  text[n] = 0;
  va_end(args);
  if (target.capacity <= 512) target.grow(512);
  if (n > target.capacity) target.grow(n);
  if (!target.buffer) {
    free(text);
    return;
  }
  size_t keep = static_cast<size_t>(n < target.capacity ? n : target.capacity);
  memcpy(target.buffer, text, keep * sizeof(wchar_t));
  target.buffer[keep] = 0;
  free(text);
}
