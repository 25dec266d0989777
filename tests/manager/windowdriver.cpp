// Drives a running Manager from outside, as a user would, for screenshots and demos:
//
//   windowdriver command TITLE ID [--first-row]
//     Finds the top-level window whose title starts with TITLE and sends it the command ID as a
//     menu would; with --first-row the first row of its event list is selected first (the Home
//     key). Returns at once; a dialog the command opens stays open.
//   windowdriver folder TITLE N
//     Selects the Nth item of its folder tree as the tree shows it from the top (0 "Main
//     Mailbox Folders", 1 Inbox, 2 Outbox, ...), as a click would.
//   windowdriver close TITLE
//     Closes every main window whose title starts with TITLE, as its close box would, and waits
//     up to 15 seconds for them to go. Prints how many it closed.
//   windowdriver dismiss TITLE
//     Ends every dialog and message box the window owns (Cancel, or No where there is no
//     Cancel) and waits up to 10 seconds for them to go. Prints how many it ended.
//
// Exit code 0 on success, 1 when the window (or a dialog that would not go) was the trouble,
// 2 on a bad command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace {

struct search {
  const char* title;
  HWND found;
};

BOOL CALLBACK findtitle(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<search*>(param);
  // Dialogs and message boxes are owned windows, and some of their captions begin like the
  // main window's: only a window without an owner counts.
  if (GetWindow(window, GW_OWNER)) return TRUE;
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  if (strncmp(text, s->title, strlen(s->title)) != 0) return TRUE;
  s->found = window;
  return FALSE;
}

HWND mainwindow(const char* title) {
  search s = {title, nullptr};
  if (*title) EnumWindows(findtitle, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

BOOL CALLBACK findlist(HWND window, LPARAM param) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (_stricmp(cls, WC_LISTVIEWA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

struct owned {
  HWND owner;
  std::vector<HWND> windows;
};

BOOL CALLBACK collectowned(HWND window, LPARAM param) {
  auto* o = reinterpret_cast<owned*>(param);
  if (GetWindow(window, GW_OWNER) == o->owner && IsWindowVisible(window)) o->windows.push_back(window);
  return TRUE;
}

int command(const char* title, unsigned id, bool firstrow) {
  HWND frame = mainwindow(title);
  if (!frame) {
    fprintf(stderr, "no window titled \"%s...\"\n", title);
    return 1;
  }
  HWND list = nullptr;
  if (firstrow) EnumChildWindows(frame, findlist, reinterpret_cast<LPARAM>(&list));
  if (list) {
    SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    SendMessageA(list, WM_KEYUP, VK_HOME, 0);
  }
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return 0;
}

BOOL CALLBACK findtree(HWND window, LPARAM param) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (_stricmp(cls, WC_TREEVIEWA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

int folder(const char* title, int index) {
  HWND frame = mainwindow(title);
  HWND tree = nullptr;
  if (frame) EnumChildWindows(frame, findtree, reinterpret_cast<LPARAM>(&tree));
  if (!tree) {
    fprintf(stderr, "no folder tree in a window titled \"%s...\"\n", title);
    return 1;
  }
  // Item handles are plain numbers: these messages work from another process.
  LRESULT item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  for (int i = 0; item && i < index; ++i) item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item);
  if (!item) {
    fprintf(stderr, "the tree shows no item %d\n", index);
    return 1;
  }
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
  return 0;
}

BOOL CALLBACK collecttitled(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<std::pair<const char*, std::vector<HWND>>*>(param);
  if (GetWindow(window, GW_OWNER)) return TRUE;
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  if (strncmp(text, s->first, strlen(s->first)) == 0) s->second.push_back(window);
  return TRUE;
}

int closewindows(const char* title) {
  std::pair<const char*, std::vector<HWND>> found(title, {});
  if (!*title) return 2;
  EnumWindows(collecttitled, reinterpret_cast<LPARAM>(&found));
  for (HWND window : found.second) PostMessageA(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 300; ++i) {
    bool left = false;
    for (HWND window : found.second) left |= IsWindow(window) != FALSE;
    if (!left) {
      printf("%u\n", static_cast<unsigned>(found.second.size()));
      return 0;
    }
    Sleep(50);
  }
  fprintf(stderr, "a window did not close\n");
  return 1;
}

int dismiss(const char* title) {
  HWND frame = mainwindow(title);
  if (!frame) {
    fprintf(stderr, "no window titled \"%s...\"\n", title);
    return 1;
  }
  std::set<HWND> ended;   // a window that ended may stay on screen a moment longer
  for (int round = 0; round < 200; ++round) {
    owned o = {frame, {}};
    EnumWindows(collectowned, reinterpret_cast<LPARAM>(&o));
    if (o.windows.empty()) {
      printf("%u\n", static_cast<unsigned>(ended.size()));
      return 0;
    }
    for (HWND window : o.windows) {
      // A message box with Yes and No ignores Cancel; No is what ends it then. Any other
      // dialog takes Cancel, with a Cancel button or without.
      bool yesno = GetDlgItem(window, IDNO) != nullptr && GetDlgItem(window, IDCANCEL) == nullptr;
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(yesno ? IDNO : IDCANCEL, BN_CLICKED), 0);
      ended.insert(window);
    }
    Sleep(50);
  }
  fprintf(stderr, "a dialog did not go\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 4 || (argc == 5 && strcmp(argv[4], "--first-row") == 0)) && strcmp(argv[1], "command") == 0)
    return command(argv[2], static_cast<unsigned>(atoi(argv[3])), argc == 5);
  if (argc == 4 && strcmp(argv[1], "folder") == 0) return folder(argv[2], atoi(argv[3]));
  if (argc == 3 && strcmp(argv[1], "close") == 0) return closewindows(argv[2]);
  if (argc == 3 && strcmp(argv[1], "dismiss") == 0) return dismiss(argv[2]);
  fprintf(stderr, "usage: windowdriver command TITLE ID [--first-row] | folder TITLE N | close TITLE | dismiss TITLE\n");
  return 2;
}
