#pragma once
// Owning holders of the GDI fonts and image lists the Manager's controls make: not copyable,
// released in the destructor or when replaced. And the wait cursor while a long operation runs.
#include <windows.h>

#include <commctrl.h>

class uifont_c {
public:
  uifont_c() = default;
  ~uifont_c() { reset(nullptr); }
  uifont_c(const uifont_c&) = delete;
  uifont_c& operator=(const uifont_c&) = delete;
  HFONT get() const { return font; }
  void reset(HFONT other) {
    if (font) DeleteObject(font);
    font = other;
  }

private:
  HFONT font = nullptr;
};

class uiimagelist_c {
public:
  uiimagelist_c() = default;
  ~uiimagelist_c() { reset(nullptr); }
  uiimagelist_c(const uiimagelist_c&) = delete;
  uiimagelist_c& operator=(const uiimagelist_c&) = delete;
  HIMAGELIST get() const { return list; }
  void reset(HIMAGELIST other) {
    if (list) ImageList_Destroy(list);
    list = other;
  }

private:
  HIMAGELIST list = nullptr;
};

// The wait cursor for as long as the object lives; the previous cursor comes back at the end.
class uiwaitcursor_c {
public:
  uiwaitcursor_c() : before(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~uiwaitcursor_c() { SetCursor(before); }
  uiwaitcursor_c(const uiwaitcursor_c&) = delete;
  uiwaitcursor_c& operator=(const uiwaitcursor_c&) = delete;

private:
  HCURSOR before;
};
