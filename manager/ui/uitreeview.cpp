#include "manager/ui/uitreeview.h"

#include <cstring>

bool uitreeview_c::create(HWND parent, unsigned id, DWORD style, DWORD exstyle) {
  RECT none = {0, 0, 0, 0};
  return uicontrol_c::create(WC_TREEVIEWA, style, exstyle, none, parent, id);
}

HIMAGELIST uitreeview_c::setimagelist(HIMAGELIST list, int which) {
  return TreeView_SetImageList(hwnd(), list, which);
}

HTREEITEM uitreeview_c::insertitem(const char* text, int image, int selectedimage, LPARAM data, HTREEITEM parent,
                                   HTREEITEM insertafter) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = insertafter;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text ? text : "");
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedimage;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM uitreeview_c::itemdata(HTREEITEM item) const {
  TVITEMA tv = {};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!item || !SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
  return tv.lParam;
}

string_c uitreeview_c::itemtext(HTREEITEM item) const {
  string_c result;
  if (!item) return result;
  // The control does not say how long a text is: grow until it fits with room to spare.
  for (int size = 256; size <= 65536; size *= 4) {
    char* buffer = result.getbuffer(size);
    if (!buffer) break;
    buffer[0] = 0;
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = size;
    if (!SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) {
      buffer[0] = 0;
      break;
    }
    // The text may come back in the control's own memory instead of the buffer.
    if (tv.pszText != buffer) {
      string_c copy(tv.pszText ? tv.pszText : "");
      return copy;
    }
    buffer[size - 1] = 0;
    if ((int)strlen(buffer) < size - 1) break;
  }
  return result;
}

bool uitreeview_c::itemimages(HTREEITEM item, int& image, int& selectedimage) const {
  TVITEMA tv = {};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  tv.hItem = item;
  if (!item || !SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return false;
  image = tv.iImage;
  selectedimage = tv.iSelectedImage;
  return true;
}

bool uitreeview_c::isexpanded(HTREEITEM item) const {
  return item && (TreeView_GetItemState(hwnd(), item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

HTREEITEM uitreeview_c::hittest(POINT at, UINT* flags) const {
  TVHITTESTINFO info = {};
  info.pt = at;
  HTREEITEM item = TreeView_HitTest(hwnd(), &info);
  if (flags) *flags = info.flags;
  return item;
}
