#pragma once
// Helpers of the Manager's resource tests: the five languages, choosing one for the thread as
// the Manager does at start-up, and reading a resource of one given language straight from the
// program file (so that what the platform picks can be compared with what is there).
#include <windows.h>

#include <string>
#include <vector>

namespace restest {

struct language_t {
  const char* name;
  LCID locale;
};

// English first: it is the reference the others are compared with.
inline const language_t languages[] = {
    {"English", 1033}, {"German", 1031}, {"French", 1036}, {"Italian", 1040}, {"Spanish", 1034},
};

inline HMODULE module() { return GetModuleHandleA(nullptr); }

// Switches the thread's resource language for as long as it lives, both ways the Manager does.
class threadlanguage_c {
public:
  explicit threadlanguage_c(LCID locale) : before(GetThreadLocale()), beforeui(GetThreadUILanguage()) {
    SetThreadLocale(locale);
    SetThreadUILanguage(LANGIDFROMLCID(locale));
  }
  ~threadlanguage_c() {
    SetThreadLocale(before);
    SetThreadUILanguage(beforeui);
  }
  threadlanguage_c(const threadlanguage_c&) = delete;
  threadlanguage_c& operator=(const threadlanguage_c&) = delete;

private:
  LCID before;
  LANGID beforeui;
};

// Resource types by number (the RT_ macros follow the program's character set).
constexpr WORD rtmenu = 4, rtdialog = 5, rtstring = 6, rtaccelerator = 9, rttoolbar = 241;

// The bytes of resource (type, id) in exactly that language; null when there is none.
inline const void* rawresource(WORD type, UINT id, LCID locale, DWORD* size = nullptr) {
  HRSRC found = FindResourceExW(module(), MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), LANGIDFROMLCID(locale));
  if (!found) return nullptr;
  if (size) *size = SizeofResource(module(), found);
  HGLOBAL loaded = LoadResource(module(), found);
  return loaded ? LockResource(loaded) : nullptr;
}

// String id in exactly that language; false when the language has no such string.
inline bool rawstring(UINT id, LCID locale, std::wstring& out) {
  auto* p = static_cast<const WCHAR*>(rawresource(rtstring, id / 16 + 1, locale));
  if (!p) return false;
  for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
  out.assign(p + 1, *p);
  return *p != 0;
}

// Every string id present in that language.
inline std::vector<UINT> stringids(LCID locale) {
  std::vector<UINT> blocks;
  EnumResourceNamesW(
      module(), MAKEINTRESOURCEW(rtstring),
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
        if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<UINT>*>(param)->push_back((UINT)(ULONG_PTR)name);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&blocks));
  std::vector<UINT> ids;
  std::wstring text;
  for (UINT block : blocks)
    for (UINT i = 0; i < 16; ++i)
      if (rawstring((block - 1) * 16 + i, locale, text)) ids.push_back((block - 1) * 16 + i);
  return ids;
}

inline std::string narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &out[0], n, nullptr, nullptr);
  return out;
}

inline std::wstring wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
  return out;
}

}  // namespace restest
