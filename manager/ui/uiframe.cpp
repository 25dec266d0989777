#include "manager/ui/uiframe.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "manager/ui/uiids.h"
#include "manager/ui/uiprofile.h"
#include "manager/ui/uiresource.h"

namespace {

const char frameclass[] = "RavelinkFrame";
// More saved bar sections than this are not believed.
const int maxsavedbars = 64;

// A menu loaded for a window that was then not created is the loader's to destroy.
class menuholder_c {
public:
  explicit menuholder_c(HMENU loaded) : menu(loaded) {}
  ~menuholder_c() {
    if (menu && IsMenu(menu)) DestroyMenu(menu);
  }
  menuholder_c(const menuholder_c&) = delete;
  menuholder_c& operator=(const menuholder_c&) = delete;
  HMENU get() const { return menu; }
  void release() { menu = nullptr; }

private:
  HMENU menu;
};

void sectionname(char* out, size_t size, const char* prefix, const char* part) {
  snprintf(out, size, "%s-%s", prefix, part);
}

}  // namespace

const uiframe_c::route uiframe_c::routes[] = {
    {WM_CREATE, &uiframe_c::oncreate},
    {WM_SIZE, &uiframe_c::onsize},
    {WM_COMMAND, &uiframe_c::oncommand},
    {WM_NOTIFY, &uiframe_c::onnotify},
    {WM_INITMENUPOPUP, &uiframe_c::oninitmenupopup},
    {WM_MENUSELECT, &uiframe_c::onmenuselect},
    {WM_ERASEBKGND, &uiframe_c::onerasebkgnd},
    {WM_SETFOCUS, &uiframe_c::onsetfocus},
    {WM_ACTIVATE, &uiframe_c::onactivate},
    {WM_NCDESTROY, &uiframe_c::onncdestroy},
};

uiframe_c::~uiframe_c() {
  for (uicontrolbar_c* bar : bars) bar->owner = nullptr;
  bars.clear();
}

bool uiframe_c::load(unsigned resid, DWORD style, HWND parent, DWORD exstyle) {
  if (!registerclass(frameclass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr)) return false;
  HINSTANCE module = uiresourcemodule();
  menuholder_c menu(LoadMenuA(module, MAKEINTRESOURCEA(resid)));
  accel = LoadAcceleratorsA(module, MAKEINTRESOURCEA(resid));
  string_c title;
  uiloadstring(resid, title);
  if (char* cut = title.buffer ? strchr(title.buffer, '\n') : nullptr) *cut = 0;

  if (!createwindow(exstyle, frameclass, title.text(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, parent, menu.get()))
    return false;
  menu.release();   // the window owns it now

  // Shared icons: the system keeps them, nobody destroys them.
  auto big = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(resid), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), LR_SHARED));
  auto small = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(resid), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (big) SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small) SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  return true;
}

// ---- bars and layout ----

bool uiframe_c::addbar(uicontrolbar_c& bar, uidock side) {
  if (!bar.barwindow() || GetParent(bar.barwindow()) != hwnd()) return false;
  if (bar.owner && bar.owner != this) bar.owner->removebar(&bar);
  if (std::find(bars.begin(), bars.end(), &bar) == bars.end()) bars.push_back(&bar);
  bar.owner = this;
  if (bar.candock(side)) {
    bar.dockside = side;
  } else {
    for (int s = 0; s < 4; ++s) {
      if (bar.candock(static_cast<uidock>(s))) {
        bar.dockside = static_cast<uidock>(s);
        break;
      }
    }
  }
  bar.visible = true;
  recalclayout();
  return true;
}

void uiframe_c::removebar(uicontrolbar_c* bar) {
  auto found = std::find(bars.begin(), bars.end(), bar);
  if (found == bars.end()) return;
  bars.erase(found);
  bar->owner = nullptr;
  recalclayout();
}

uicontrolbar_c* uiframe_c::findbar(unsigned id) const {
  for (uicontrolbar_c* bar : bars)
    if (bar->barid() == id) return bar;
  return nullptr;
}

bool uiframe_c::dockbar(uicontrolbar_c& bar, uidock side) {
  if (bar.owner != this || !bar.candock(side)) return false;
  bar.dockside = side;
  recalclayout();
  return true;
}

void uiframe_c::showbar(uicontrolbar_c& bar, bool show) {
  if (bar.owner != this) return;
  bar.visible = show;
  recalclayout();
}

void uiframe_c::setview(HWND view) {
  viewwindow = view;
  recalclayout();
}

void uiframe_c::recalclayout() {
  if (!exists() || IsIconic(hwnd())) return;
  RECT free;
  GetClientRect(hwnd(), &free);
  // Status bars run along the whole edge; the other bars share what is left, in the order
  // they were added.
  std::vector<uicontrolbar_c*> order;
  for (uicontrolbar_c* bar : bars)
    if (bar->outermost()) order.push_back(bar);
  for (uicontrolbar_c* bar : bars)
    if (!bar->outermost()) order.push_back(bar);

  for (uicontrolbar_c* bar : order) {
    HWND window = bar->barwindow();
    if (!window) continue;
    if (!bar->visible) {
      ShowWindow(window, SW_HIDE);
      continue;
    }
    bool vertical = uivertical(bar->dockside);
    int room = vertical ? free.right - free.left : free.bottom - free.top;
    int across = std::max(0, std::min(bar->thickness(vertical), std::max(0, room)));
    RECT r = free;
    switch (bar->dockside) {
      case uidock::top:
        r.bottom = r.top + across;
        free.top += across;
        break;
      case uidock::bottom:
        r.top = r.bottom - across;
        free.bottom -= across;
        break;
      case uidock::left:
        r.right = r.left + across;
        free.left += across;
        break;
      case uidock::right:
        r.left = r.right - across;
        free.right -= across;
        break;
    }
    bar->place(r, bar->dockside);
  }
  if (viewwindow && IsWindow(viewwindow)) {
    SetWindowPos(viewwindow, nullptr, free.left, free.top, std::max(0L, free.right - free.left),
                 std::max(0L, free.bottom - free.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool uiframe_c::savebarstate(uiprofile_c& profile, const char* prefix) const {
  if (!prefix || !*prefix) return false;
  char summary[128], section[160];
  sectionname(summary, sizeof summary, prefix, "Summary");
  // Sections of bars that no longer exist would be read back as if they did.
  int before = std::min(profile.getint(summary, "Bars", 0), maxsavedbars);
  for (int i = (int)bars.size(); i < before; ++i) {
    char part[32];
    snprintf(part, sizeof part, "Bar%d", i);
    sectionname(section, sizeof section, prefix, part);
    profile.deletesection(section);
  }
  bool ok = true;
  for (size_t i = 0; i < bars.size(); ++i) {
    char part[32];
    snprintf(part, sizeof part, "Bar%u", (unsigned)i);
    sectionname(section, sizeof section, prefix, part);
    ok &= profile.writeint(section, "BarID", (int)bars[i]->barid());
    ok &= profile.writeint(section, "Visible", bars[i]->visible ? 1 : 0);
    ok &= profile.writeint(section, "Side", static_cast<int>(bars[i]->dockside));
  }
  ok &= profile.writeint(summary, "Bars", (int)bars.size());
  return ok;
}

bool uiframe_c::loadbarstate(const uiprofile_c& profile, const char* prefix) {
  if (!prefix || !*prefix) return false;
  char summary[128], section[160];
  sectionname(summary, sizeof summary, prefix, "Summary");
  int count = profile.getint(summary, "Bars", -1);
  if (count < 0) return false;
  count = std::min(count, maxsavedbars);
  for (int i = 0; i < count; ++i) {
    char part[32];
    snprintf(part, sizeof part, "Bar%d", i);
    sectionname(section, sizeof section, prefix, part);
    int id = profile.getint(section, "BarID", -1);
    uicontrolbar_c* bar = id > 0 ? findbar((unsigned)id) : nullptr;
    if (!bar) continue;
    int visible = profile.getint(section, "Visible", -1);
    if (visible == 0 || visible == 1) bar->visible = visible == 1;
    int side = profile.getint(section, "Side", -1);
    if (side >= 0 && side <= 3 && bar->candock(static_cast<uidock>(side))) bar->dockside = static_cast<uidock>(side);
  }
  recalclayout();
  return true;
}

// ---- commands and prompts ----

cmdui_c uiframe_c::querycommand(unsigned id) {
  cmdui_c ui;
  ui.id = id;
  if (uicontrolbar_c* bar = findbar(id)) {
    ui.enabled = true;
    ui.checked = bar->visible;
  }
  OnUpdateCommand(ui);
  return ui;
}

void uiframe_c::idleupdate() {
  // A bar may leave the list while it updates (its owner's answer could remove it).
  std::vector<uicontrolbar_c*> snapshot = bars;
  for (uicontrolbar_c* bar : snapshot)
    if (std::find(bars.begin(), bars.end(), bar) != bars.end()) bar->updatecommands(*this);
}

string_c uiframe_c::commandprompt(unsigned id) {
  string_c text;
  uiloadstring(id, text);
  if (char* cut = text.buffer ? strchr(text.buffer, '\n') : nullptr) *cut = 0;
  return text;
}

string_c uiframe_c::commandtip(unsigned id) {
  string_c text;
  uiloadstring(id, text);
  const char* cut = text.buffer ? strchr(text.buffer, '\n') : nullptr;
  return string_c(cut ? cut + 1 : "");
}

void uiframe_c::showprompt(unsigned id) {
  if (id == 0) {
    setmessagetext(uistring(uiids_idleprompt, "Ready").text());
  } else {
    setmessagetext(commandprompt(id).text());
  }
}

void uiframe_c::setmessagetext(const char* text) {
  for (uicontrolbar_c* bar : bars) bar->showmessage(text ? text : "");
}

bool uiframe_c::isbarcontrol(HWND control) const {
  for (uicontrolbar_c* bar : bars)
    if (bar->ownscontrol(control)) return true;
  return false;
}

// ---- messages ----

bool uiframe_c::OnCreateClient(const CREATESTRUCTA&) { return true; }
int uiframe_c::OnCreate(const CREATESTRUCTA&) { return 0; }
bool uiframe_c::OnCommand(unsigned, unsigned, HWND) { return false; }
void uiframe_c::OnUpdateCommand(cmdui_c&) {}
bool uiframe_c::OnNotify(NMHDR&, LRESULT&) { return false; }
bool uiframe_c::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT uiframe_c::handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (OnMessage(msg, wparam, lparam, result)) return result;
  for (const route& r : routes)
    if (r.msg == msg) return (this->*r.handler)(wparam, lparam);
  return defaulthandling(msg, wparam, lparam);
}

// WM_CREATE(CREATESTRUCTA* cs): the view first, then the rest; -1 aborts the creation.
LRESULT uiframe_c::oncreate(WPARAM, LPARAM lparam) {
  auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lparam);
  if (!cs || !OnCreateClient(*cs)) return -1;
  if (OnCreate(*cs) == -1) return -1;
  recalclayout();
  showprompt(0);
  return 0;
}

// WM_SIZE(type, cx, cy)
LRESULT uiframe_c::onsize(WPARAM wparam, LPARAM) {
  if (wparam != SIZE_MINIMIZED) recalclayout();
  return 0;
}

// WM_COMMAND(id, code, control): menus, accelerators and toolbar buttons run only while their
// command is enabled, whatever sent them.
LRESULT uiframe_c::oncommand(WPARAM wparam, LPARAM lparam) {
  unsigned id = LOWORD(wparam), code = HIWORD(wparam);
  HWND control = reinterpret_cast<HWND>(lparam);
  bool command = !control || isbarcontrol(control);
  if (command && !querycommand(id).enabled) return 0;
  if (OnCommand(id, code, control)) return 0;
  if (command) {
    if (uicontrolbar_c* bar = findbar(id)) showbar(*bar, !bar->visible);
  }
  return 0;
}

// WM_NOTIFY(id, NMHDR*): tooltips of the toolbar buttons come from the commands' strings.
LRESULT uiframe_c::onnotify(WPARAM wparam, LPARAM lparam) {
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  if (!header) return 0;
  LRESULT result = 0;
  if (OnNotify(*header, result)) return result;
  if (header->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    if (!(info->uFlags & TTF_IDISHWND)) {
      tipbuffer = commandtip((unsigned)header->idFrom);
      info->lpszText = tipbuffer.buffer ? tipbuffer.buffer : info->szText;
      info->szText[0] = 0;
      info->hinst = nullptr;
    }
    return 0;
  }
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (!(info->uFlags & TTF_IDISHWND)) {
      tipbufferw = wstring_c(commandtip((unsigned)header->idFrom).text());
      info->lpszText = tipbufferw.buffer ? tipbufferw.buffer : info->szText;
      info->szText[0] = 0;
      info->hinst = nullptr;
    }
    return 0;
  }
  return defaulthandling(WM_NOTIFY, wparam, lparam);
}

// WM_INITMENUPOPUP(HMENU popup, index, system menu): every command item is asked.
LRESULT uiframe_c::oninitmenupopup(WPARAM wparam, LPARAM lparam) {
  HMENU menu = reinterpret_cast<HMENU>(wparam);
  if (HIWORD(lparam) || !menu) return defaulthandling(WM_INITMENUPOPUP, wparam, lparam);
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, (UINT)i, TRUE, &item)) continue;
    if ((item.fType & MFT_SEPARATOR) || item.hSubMenu) continue;
    cmdui_c ui = querycommand(item.wID);
    EnableMenuItem(menu, (UINT)i, MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, (UINT)i, MF_BYPOSITION | (ui.checked ? MF_CHECKED : MF_UNCHECKED));
  }
  return 0;
}

// WM_MENUSELECT(item, flags, HMENU): the item's prompt; the idle prompt once the menu closes.
LRESULT uiframe_c::onmenuselect(WPARAM wparam, LPARAM lparam) {
  unsigned item = LOWORD(wparam), flags = HIWORD(wparam);
  if (flags == 0xFFFF && !lparam) {
    showprompt(0);
  } else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
    setmessagetext("");
  } else {
    setmessagetext(commandprompt(item).text());
  }
  return 0;
}

// WM_ERASEBKGND(HDC): the view and the bars cover the client area; erasing would only flicker.
LRESULT uiframe_c::onerasebkgnd(WPARAM wparam, LPARAM lparam) {
  if (viewwindow && IsWindow(viewwindow)) return 1;
  return defaulthandling(WM_ERASEBKGND, wparam, lparam);
}

// WM_SETFOCUS(previous): back to the child that had the focus, else to the view.
LRESULT uiframe_c::onsetfocus(WPARAM, LPARAM) {
  if (focussaved && IsWindow(focussaved) && IsChild(hwnd(), focussaved)) {
    SetFocus(focussaved);
  } else if (viewwindow && IsWindow(viewwindow)) {
    SetFocus(viewwindow);
  }
  return 0;
}

// WM_ACTIVATE(state, minimized, other): remember the focused child when losing activation.
LRESULT uiframe_c::onactivate(WPARAM wparam, LPARAM lparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus)) focussaved = focus;
  }
  return defaulthandling(WM_ACTIVATE, wparam, lparam);
}

// WM_NCDESTROY: the last message; the main frame ends the message loop.
LRESULT uiframe_c::onncdestroy(WPARAM wparam, LPARAM lparam) {
  if (quitondestroy) PostQuitMessage(0);
  return defaulthandling(WM_NCDESTROY, wparam, lparam);
}
