#pragma once
// The Manager's icon in the notification area of the task bar. The main window decides which
// icon and tooltip to show; this class adds, changes and removes the icon, and turns the icon's
// mouse messages into the notification-area menu (right button) and the Open Manager command
// (double click). Icon, tooltip and menu come from the program's resources: the menu has the
// icon's id, its first popup is the one shown, and that popup's first item is the default.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>

// The notification-area record in the form with a 128-character tooltip: NOTIFYICONDATAA up to
// and including dwInfoFlags. Its size is what cbSize announces, so the shell reads exactly
// this much (488 bytes in a 32-bit program).
struct trayiconrecord_t {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  CHAR szInfo[256];
  UINT uTimeout;
  CHAR szInfoTitle[64];
  DWORD dwInfoFlags;
};

static_assert(sizeof(trayiconrecord_t) == NOTIFYICONDATAA_V2_SIZE, "record ends before guidItem");
static_assert(offsetof(trayiconrecord_t, cbSize) == offsetof(NOTIFYICONDATAA, cbSize), "layout");
static_assert(offsetof(trayiconrecord_t, hWnd) == offsetof(NOTIFYICONDATAA, hWnd), "layout");
static_assert(offsetof(trayiconrecord_t, uID) == offsetof(NOTIFYICONDATAA, uID), "layout");
static_assert(offsetof(trayiconrecord_t, uFlags) == offsetof(NOTIFYICONDATAA, uFlags), "layout");
static_assert(offsetof(trayiconrecord_t, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage),
              "layout");
static_assert(offsetof(trayiconrecord_t, hIcon) == offsetof(NOTIFYICONDATAA, hIcon), "layout");
static_assert(offsetof(trayiconrecord_t, szTip) == offsetof(NOTIFYICONDATAA, szTip), "layout");
static_assert(offsetof(trayiconrecord_t, dwState) == offsetof(NOTIFYICONDATAA, dwState), "layout");
static_assert(offsetof(trayiconrecord_t, dwStateMask) == offsetof(NOTIFYICONDATAA, dwStateMask), "layout");
static_assert(offsetof(trayiconrecord_t, szInfo) == offsetof(NOTIFYICONDATAA, szInfo), "layout");
static_assert(offsetof(trayiconrecord_t, uTimeout) == offsetof(NOTIFYICONDATAA, uTimeout), "layout");
static_assert(offsetof(trayiconrecord_t, szInfoTitle) == offsetof(NOTIFYICONDATAA, szInfoTitle), "layout");
static_assert(offsetof(trayiconrecord_t, dwInfoFlags) == offsetof(NOTIFYICONDATAA, dwInfoFlags), "layout");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(trayiconrecord_t) == 488, "32-bit record size");
static_assert(offsetof(trayiconrecord_t, szTip) == 24, "32-bit layout");
static_assert(offsetof(trayiconrecord_t, szInfo) == 160, "32-bit layout");
static_assert(offsetof(trayiconrecord_t, uTimeout) == 416, "32-bit layout");
static_assert(offsetof(trayiconrecord_t, szInfoTitle) == 420, "32-bit layout");
static_assert(offsetof(trayiconrecord_t, dwInfoFlags) == 484, "32-bit layout");
#endif

class CTrayIcon {
public:
  // Longest tooltip kept; longer texts are cut (never inside a double-byte character).
  static constexpr std::size_t tooltipmax = 127;

  // id: the icon's id within its window, and the id of its menu and first tooltip string.
  explicit CTrayIcon(UINT id);
  // Removes the icon from the notification area.
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // The window that owns the icon and receives callbackmessage(id, mouse message) for it.
  void SetNotifyTarget(HWND window, UINT callbackmessage);

  // Shows icon resource id with the string of the same id as tooltip; 0 removes the icon.
  // Returns the shell's result (nonzero on success), 1 when there was nothing to remove.
  BOOL ShowIconById(UINT id);
  // Shows icon (none: removes the icon); tooltip none keeps the current one. Adds the icon when
  // none is shown, else changes it in place. After a failure the icon counts as not shown, so
  // the next call adds it afresh. Returns the shell's result, 1 when nothing was to be done.
  BOOL ShowIcon(HICON icon, const char* tooltip);

  // For the owner's callback message: id and mouse message as received. A right-button-up
  // opens the menu at the cursor, a left double click sends the menu's first command to the
  // window. Returns 1 when the message was handled, 0 for every other id or message, when no
  // window is set or when the menu cannot be loaded.
  BOOL HandleTrayMessage(UINT id, UINT mousemessage);

  // The record as last handed to the shell (tests and diagnostics).
  const trayiconrecord_t& record() const { return rec; }
  bool iconshown() const { return rec.hIcon != nullptr; }

private:
  void settooltip(const char* text);

  trayiconrecord_t rec;
};
