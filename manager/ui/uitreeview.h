#pragma once
// Thin wrapper of a tree view: the calls the Manager's folder trees make. Texts are the
// program's code page. A derived tree that handles its own selection changes and clicks calls
// subclass() and takes them in OnReflect (TVN_SELCHANGEDA or W, NM_RCLICK, ...).
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uicontrol.h"
#include "toolkit/string.h"

class uitreeview_c : public uicontrol_c {
public:
  uitreeview_c() = default;
  explicit uitreeview_c(HWND control) : uicontrol_c(control) {}

  bool create(HWND parent, unsigned id, DWORD style, DWORD exstyle = WS_EX_CLIENTEDGE);

  HIMAGELIST setimagelist(HIMAGELIST list, int which = TVSIL_NORMAL);
  // A new item under parent after insertafter; null when it could not be inserted.
  HTREEITEM insertitem(const char* text, int image, int selectedimage, LPARAM data, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM insertafter = TVI_LAST);
  bool deleteitem(HTREEITEM item) { return TreeView_DeleteItem(hwnd(), item) != FALSE; }
  bool deleteallitems() { return TreeView_DeleteAllItems(hwnd()) != FALSE; }
  bool expand(HTREEITEM item, UINT action = TVE_EXPAND) { return TreeView_Expand(hwnd(), item, action) != FALSE; }
  bool selectitem(HTREEITEM item) { return TreeView_SelectItem(hwnd(), item) != FALSE; }
  int count() const { return (int)TreeView_GetCount(hwnd()); }

  HTREEITEM selecteditem() const { return TreeView_GetSelection(hwnd()); }
  HTREEITEM rootitem() const { return TreeView_GetRoot(hwnd()); }
  HTREEITEM childitem(HTREEITEM item) const { return TreeView_GetChild(hwnd(), item); }
  HTREEITEM nextsibling(HTREEITEM item) const { return TreeView_GetNextSibling(hwnd(), item); }
  HTREEITEM parentitem(HTREEITEM item) const { return TreeView_GetParent(hwnd(), item); }

  LPARAM itemdata(HTREEITEM item) const;
  string_c itemtext(HTREEITEM item) const;
  bool itemimages(HTREEITEM item, int& image, int& selectedimage) const;
  bool isexpanded(HTREEITEM item) const;
  // The item at a point in client coordinates, or null; flags gets the TVHT_ part hit.
  HTREEITEM hittest(POINT at, UINT* flags = nullptr) const;
};
