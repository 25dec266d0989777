#include "manager/ui/uilistview.h"

#include <cstring>

bool uilistview_c::create(HWND parent, unsigned id, DWORD style, DWORD exstyle) {
  RECT none = {0, 0, 0, 0};
  return uicontrol_c::create(WC_LISTVIEWA, style, exstyle, none, parent, id);
}

int uilistview_c::insertcolumn(int column, const char* heading, int width, int format) {
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  col.fmt = format;
  col.cx = width;
  col.pszText = const_cast<char*>(heading ? heading : "");
  col.iSubItem = column;
  return (int)SendMessageA(hwnd(), LVM_INSERTCOLUMNA, (WPARAM)column, reinterpret_cast<LPARAM>(&col));
}

int uilistview_c::columncount() const {
  HWND header = ListView_GetHeader(hwnd());
  return header ? Header_GetItemCount(header) : 0;
}

int uilistview_c::insertitem(int index, const char* text, int image, LPARAM data) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text ? text : "");
  item.iImage = image;
  item.lParam = data;
  return (int)SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool uilistview_c::setitemtext(int index, int subitem, const char* text) {
  LVITEMA item = {};
  item.iSubItem = subitem;
  item.pszText = const_cast<char*>(text ? text : "");
  return SendMessageA(hwnd(), LVM_SETITEMTEXTA, (WPARAM)index, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

string_c uilistview_c::itemtext(int index, int subitem) const {
  string_c result;
  // LVM_GETITEMTEXT answers the length it copied: a text that filled the buffer may be longer.
  for (int size = 256; size <= 65536; size *= 4) {
    char* buffer = result.getbuffer(size);
    if (!buffer) break;
    buffer[0] = 0;
    LVITEMA item = {};
    item.iSubItem = subitem;
    item.pszText = buffer;
    item.cchTextMax = size;
    int n = (int)SendMessageA(hwnd(), LVM_GETITEMTEXTA, (WPARAM)index, reinterpret_cast<LPARAM>(&item));
    if (n < size - 1) break;
  }
  return result;
}

bool uilistview_c::setitemimage(int index, int image) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  return SendMessageA(hwnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

int uilistview_c::itemimage(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!SendMessageA(hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

LPARAM uilistview_c::itemdata(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.lParam;
}

int uilistview_c::finditem(LPARAM data) const {
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return (int)SendMessageA(hwnd(), LVM_FINDITEMA, (WPARAM)-1, reinterpret_cast<LPARAM>(&find));
}

bool uilistview_c::setitemstate(int index, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  return SendMessageA(hwnd(), LVM_SETITEMSTATE, (WPARAM)index, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool uilistview_c::itemrect(int index, RECT& r, int code) const {
  return ListView_GetItemRect(hwnd(), index, &r, code) != FALSE;
}

int uilistview_c::hittest(POINT at, UINT* flags) const {
  LVHITTESTINFO info = {};
  info.pt = at;
  int index = (int)SendMessageA(hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  if (flags) *flags = info.flags;
  return index;
}
