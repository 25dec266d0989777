#include "manager/trayicon.h"

#include <cstring>

#include "manager/ui/uimenuholder.h"

namespace {

// Icons, strings and the menu are the program's own resources.
HINSTANCE resourcemodule() { return GetModuleHandleA(nullptr); }


}  // namespace

CTrayIcon::CTrayIcon(UINT id) {
  std::memset(&rec, 0, sizeof rec);
  rec.cbSize = sizeof rec;
  rec.uID = id;
  char text[1024];
  text[0] = '\0';
  LoadStringA(resourcemodule(), id, text, sizeof text);
  settooltip(text);
}

CTrayIcon::~CTrayIcon() { ShowIconById(0); }

void CTrayIcon::SetNotifyTarget(HWND window, UINT callbackmessage) {
  rec.hWnd = window;
  rec.uCallbackMessage = callbackmessage;
}

void CTrayIcon::settooltip(const char* text) {
  // Copy through a buffer of its own: text may be the record's tooltip itself.
  char copy[sizeof rec.szTip];
  std::size_t n = 0;
  while (text[n]) {
    std::size_t step = (IsDBCSLeadByte((BYTE)text[n]) && text[n + 1]) ? 2 : 1;
    if (n + step > tooltipmax) break;
    n += step;
  }
  std::memcpy(copy, text, n);
  copy[n] = '\0';
  std::memcpy(rec.szTip, copy, n + 1);
}

BOOL CTrayIcon::ShowIconById(UINT id) {
  if (id == 0) return ShowIcon(nullptr, nullptr);
  char text[1024];
  text[0] = '\0';
  LoadStringA(resourcemodule(), id, text, sizeof text);
  settooltip(text);
  // The small-icon image of the resource; shared handles are the program's for its whole run.
  HICON icon = (HICON)LoadImageA(resourcemodule(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  return ShowIcon(icon, nullptr);
}

BOOL CTrayIcon::ShowIcon(HICON icon, const char* tooltip) {
  UINT flags = 0;
  DWORD action = NIM_DELETE;
  if (icon) {
    action = rec.hIcon ? NIM_MODIFY : NIM_ADD;
    rec.hIcon = icon;
    flags = NIF_ICON;
  } else if (!rec.hIcon) {
    return 1;
  }
  if (tooltip) settooltip(tooltip);
  if (rec.szTip[0]) flags |= NIF_TIP;
  if (rec.uCallbackMessage && rec.hWnd) flags |= NIF_MESSAGE;
  rec.uFlags = flags;
  BOOL result = Shell_NotifyIconA(action, reinterpret_cast<NOTIFYICONDATAA*>(&rec));
  if (action == NIM_DELETE || !result) rec.hIcon = nullptr;
  return result;
}

BOOL CTrayIcon::HandleTrayMessage(UINT id, UINT mousemessage) {
  if (id != rec.uID || (mousemessage != WM_RBUTTONUP && mousemessage != WM_LBUTTONDBLCLK)) return 0;
  // Without a window there is nobody to receive the menu's commands.
  if (!rec.hWnd) return 0;
  uimenuholder_c menu(LoadMenuA(resourcemodule(), MAKEINTRESOURCEA(rec.uID)));
  HMENU popup = menu.get() ? GetSubMenu(menu.get(), 0) : nullptr;
  if (!popup) return 0;
  if (mousemessage == WM_RBUTTONUP) {
    SetMenuDefaultItem(popup, 0, TRUE);
    POINT at = {0, 0};
    GetCursorPos(&at);
    // The menu only closes on a click elsewhere when its window is in the foreground.
    SetForegroundWindow(rec.hWnd);
    TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, rec.hWnd, nullptr);
    // Without a message after the menu, the next one opened from the icon may close at once.
    PostMessageA(rec.hWnd, WM_NULL, 0, 0);
  } else {
    UINT command = GetMenuItemID(popup, 0);
    if (command != (UINT)-1) SendMessageA(rec.hWnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  }
  return 1;
}
