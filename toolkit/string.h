#pragma once
// Growable narrow and wide texts with a public buffer and capacity. Capacities come in steps of
// 128 characters: a request for n characters gives (n / 128 + 1) * 128. The byte (unit) at index
// capacity is always 0. Results, never exceptions: a failed allocation leaves the text as it was.
#include <cstdint>

class string_c {
public:
  char* buffer;       // null while there is no buffer
  int32_t capacity;   // characters, terminator not counted; 0 without a buffer

  string_c();                          // reserve(2)
  explicit string_c(int n);            // reserve(n)
  string_c(const char* text);          // assign(text)
  string_c(const wchar_t* text);       // assign of the wide text, converted as by tonarrow
  string_c(const string_c& other);     // assign of the other's text
  ~string_c();
  string_c& operator=(const string_c& other);

  int reserve(int n);
  int grow(int n);
  char* getbuffer(int n);
  char setat(int index, char c);
  char getat(int index) const;
  void zero();
  void release();

  string_c& assign(const char* text);
  string_c& assign(const string_c& other);
  string_c& assign(const wchar_t* text);
  string_c& append(const char* text);
  string_c& append(const string_c& other);
  string_c& appendchar(char c);
  void ensuretrailing(char c);

  // Convenience for callers: length of the text (0 without a buffer) and the text or "".
  int length() const;
  const char* text() const { return buffer ? buffer : ""; }
};

class wstring_c {
public:
  wchar_t* buffer;
  int32_t capacity;

  wstring_c();
  explicit wstring_c(int n);
  wstring_c(const char* text);          // converted as by towide
  wstring_c(const wchar_t* text);
  wstring_c(const wstring_c& other);
  ~wstring_c();
  wstring_c& operator=(const wstring_c& other);

  int reserve(int n);
  int grow(int n);
  wchar_t* getbuffer(int n);
  void zero();
  void release();

  wstring_c& assign(const wchar_t* text);
  wstring_c& assign(const char* text);
  wstring_c& append(const wchar_t* text);
  wstring_c& append(const wstring_c& other);
  wstring_c& append(const char* text);

  int length() const;
  const wchar_t* text() const { return buffer ? buffer : L""; }
};

// printf-style formatting into a string. A string of capacity 512 or less is first grown to
// 640; a formatted text longer than the capacity grows the string to fit.
void strformat(string_c& target, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
void wstrformat(wstring_c& target, const wchar_t* format, ...);
