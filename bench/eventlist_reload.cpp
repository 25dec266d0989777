// Reload of the Manager's event list on a 10,000-event mailbox against the bare store scan of the
// same file in the same run, and 40,000 events against 10,000. Also counts the file openings of
// one reload. Prints the figures and the ratios, the reload/scan ratio last.
//
//   cmake/winerun.sh build/x86_64/bin/eventlist_reload.exe
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "manager/eventlist.h"
#include "manager/ui/uicontrol.h"

namespace {

LRESULT CALLBACK parentproc(HWND h, UINT m, WPARAM w, LPARAM l) {
  LRESULT r = 0;
  if (uireflect(h, m, w, l, r)) return r;
  if (m == WM_MEASUREITEM &&
      CManListCtrl::MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(l), GetDlgItem(h, static_cast<int>(w))))
    return TRUE;
  return DefWindowProcA(h, m, w, l);
}

double now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct figures {
  double scan;     // bare enumeration of the file in one batch
  double reload;   // a steady reload of the list (best of three)
  unsigned openings;
};

std::string makemailbox(const std::string& root, int count) {
  std::string dir = root + "\\me";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\mailbox.rlb";
  mailboxfile_c f;
  f.create(path.c_str(), "Me@ravelink");
  f.setkeepopen(1);
  for (int i = 0; i < count; ++i) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    r.flags = (i % 3) ? static_cast<uint32_t>(EV_INCOMING) : 0u;
    r.state = static_cast<uint8_t>(r.flags ? (i % 2 ? EVS_READ : EVS_UNREAD) : (i % 2 ? EVS_SENT : EVS_FAILED));
    r.year = static_cast<uint16_t>(2000 + i % 25);
    r.month = static_cast<uint8_t>(1 + i % 12);
    r.day = static_cast<uint8_t>(1 + i % 28);
    r.hour = static_cast<uint8_t>(i % 24);
    r.minute = static_cast<uint8_t>(i % 60);
    char s[64];
    snprintf(s, sizeof s, "Subject %d", (i * 7919) % count);
    setfield(r.subject, s);
    snprintf(s, sizeof s, "Party %d", (i * 104729) % count);
    setfield(r.sendername, s);
    setfield(r.recipientname, s);
    f.addevent(&r);
  }
  f.setkeepopen(0);
  return path;
}

void removetree(const std::string& root) {
  std::string dir = root + "\\me";
  DeleteFileA((dir + "\\mailbox.rlb").c_str());
  RemoveDirectoryA(dir.c_str());
  RemoveDirectoryA(root.c_str());
}

figures run(int count) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string root = std::string(temp) + "rlbench_list" + std::to_string(GetCurrentProcessId());
  std::string path = makemailbox(root, count);
  figures out = {1e9, 1e9, 0};

  for (int i = 0; i < 3; ++i) {
    double t0 = now();
    mailboxfile_c f;
    f.setkeepopen(1);
    f.open(path.c_str());
    eventrecord r;
    for (int s = f.firstevent(&r); s; s = f.nextevent(&r)) {
    }
    f.setkeepopen(0);
    double t = now() - t0;
    if (t < out.scan) out.scan = t;
  }

  HWND parent = CreateWindowExA(0, "rlbenchparent", "", WS_OVERLAPPEDWINDOW, 0, 0, 720, 300, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  {
    CManListCtrl list;
    RECT rc = {0, 0, 700, 260};
    list.Create(parent, 100, rc);
    list.Filter = 31;  // every row shown
    list.SortBy = 3;
    list.OpenMailbox(path.c_str());
    for (int i = 0; i < 3; ++i) {
      uint32_t before = list.Mailbox().openings;
      double t0 = now();
      list.Reload();
      double t = now() - t0;
      if (t < out.reload) out.reload = t;
      out.openings = list.Mailbox().openings - before;
    }
    printf("%6d events: %d rows, bare scan %.1f ms, reload %.1f ms, %u file opening(s) per reload\n", count,
           ListView_GetItemCount(list.hwnd()), out.scan * 1000, out.reload * 1000, out.openings);
  }
  DestroyWindow(parent);
  removetree(root);
  return out;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = parentproc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "rlbenchparent";
  RegisterClassA(&wc);

  figures small = run(10000);
  figures large = run(40000);
  printf("ratio 40,000 / 10,000 events reload: %.2f (target at most 5)\n", large.reload / small.reload);
  printf("ratio reload / bare scan, 10,000 events: %.2f (target at most 4)\n", small.reload / small.scan);
  return 0;
}
