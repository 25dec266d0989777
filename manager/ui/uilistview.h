#pragma once
// Thin wrapper of a report-style list view: the calls the Manager's event list makes. Rows carry
// item data (the Manager's slot numbers) and are found by it. Texts are the program's code page.
// A derived list that handles clicks, keys or draws its rows calls subclass() and takes its
// notifications in OnReflect (LVN_COLUMNCLICK, NM_DBLCLK, WM_DRAWITEM, ...).
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uicontrol.h"
#include "toolkit/string.h"

class uilistview_c : public uicontrol_c {
public:
  uilistview_c() = default;
  explicit uilistview_c(HWND control) : uicontrol_c(control) {}

  bool create(HWND parent, unsigned id, DWORD style, DWORD exstyle = WS_EX_CLIENTEDGE);

  HIMAGELIST setimagelist(HIMAGELIST list, int which) { return ListView_SetImageList(hwnd(), list, which); }

  // Columns. insertcolumn answers the new column's index, or -1.
  int insertcolumn(int column, const char* heading, int width, int format = LVCFMT_LEFT);
  int columncount() const;
  int columnwidth(int column) const { return ListView_GetColumnWidth(hwnd(), column); }
  bool setcolumnwidth(int column, int width) { return ListView_SetColumnWidth(hwnd(), column, width) != FALSE; }

  // Rows. insertitem answers the new row's index, or -1.
  int insertitem(int index, const char* text, int image, LPARAM data);
  bool setitemtext(int index, int subitem, const char* text);
  string_c itemtext(int index, int subitem) const;
  bool setitemimage(int index, int image);
  int itemimage(int index) const;
  LPARAM itemdata(int index) const;
  // The row whose item data is data, or -1.
  int finditem(LPARAM data) const;
  bool deleteitem(int index) { return ListView_DeleteItem(hwnd(), index) != FALSE; }
  bool deleteallitems() { return ListView_DeleteAllItems(hwnd()) != FALSE; }
  int itemcount() const { return ListView_GetItemCount(hwnd()); }

  // Selection and state.
  int selectedcount() const { return (int)ListView_GetSelectedCount(hwnd()); }
  // The next row after start (-1: from the first) with the LVNI_ flags, or -1.
  int nextitem(int start, UINT flags) const { return ListView_GetNextItem(hwnd(), start, flags); }
  UINT itemstate(int index, UINT mask) const { return ListView_GetItemState(hwnd(), index, mask); }
  bool setitemstate(int index, UINT state, UINT mask);
  bool itemrect(int index, RECT& r, int code = LVIR_BOUNDS) const;
  int hittest(POINT at, UINT* flags = nullptr) const;

  // Sorts by the control's own sort: compare gets the two rows' item data and context.
  bool sortitems(PFNLVCOMPARE compare, LPARAM context) {
    return SendMessageA(hwnd(), LVM_SORTITEMS, (WPARAM)context, reinterpret_cast<LPARAM>(compare)) != FALSE;
  }
};
