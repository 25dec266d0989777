// Makes a small demo mailbox root for looking at the Manager:
//
//   mainframe_demo.exe ROOT [ACCOUNT]
//     ROOT\ACCOUNT\mailbox.rlb is created anew (ACCOUNT defaults to the Windows user running
//     this) with a dozen events in every state, in both directions, written as the fax server
//     and the network connector write them. Prints the mailbox file's path.
//   mainframe_demo.exe -close TITLE
//     Closes every top-level window whose title starts with TITLE, as its close box would, and
//     waits up to 15 seconds for them to go. Prints how many it closed.
//
// Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "mailstore/handles.h"

namespace {

struct demoevent {
  bool incoming;
  uint8_t state;
  const char* party;
  const char* address;
  const char* subject;
  uint16_t year;
  uint8_t month, day, hour, minute;
};

const demoevent events[] = {
    {true, EVS_UNREAD, "Harbour Logistics", "+49 40 3378120", "Delivery note 4471", 2024, 5, 14, 9, 12},
    {true, EVS_UNREAD, "", "+33 1 44 55 66 77", "", 2024, 5, 14, 8, 47},
    {true, EVS_READ, "Dr. Anna Weber", "+49 30 8812044", "Signed contract, pages 1-3", 2024, 5, 13, 16, 5},
    {true, EVS_READ, "Stadtwerke Nord", "+49 40 2210", "Invoice May", 2024, 5, 10, 11, 30},
    {true, EVS_FAILED, "Unknown sender", "", "Incomplete reception", 2024, 5, 12, 7, 58},
    {false, EVS_SENT, "Miller & Sons", "+1 212 555 0188", "Quotation 2024-118", 2024, 5, 14, 10, 2},
    {false, EVS_PENDING, "Garage Rossi", "+39 02 7788 1200", "Order confirmation", 2024, 5, 14, 10, 41},
    {false, EVS_QUEUED, "Tax office", "+49 30 9024 0", "Form 17b", 2024, 5, 14, 10, 40},
    {false, EVS_WORKING, "Hotel Alameda", "+34 91 555 0123", "Booking 2 rooms", 2024, 5, 14, 10, 39},
    {false, EVS_FAILED, "Buero Schmidt", "+49 89 1234 0", "Meeting minutes", 2024, 5, 13, 18, 20},
    {false, EVS_CANCELLED, "Printing shop", "+49 30 444 12", "Proofs, second round", 2024, 5, 11, 14, 0},
    {false, EVS_SENT, "", "+44 20 7946 0018", "Price list", 2023, 12, 29, 15, 45},
};

bool setlogin(const char* path, const char* login) {
  filehandle_c file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file.valid()) return false;
  mailboxheader header;
  DWORD done = 0;
  if (!ReadFile(file.get(), &header, sizeof header, &done, nullptr) || done != sizeof header) return false;
  setfield(header.loginname, login);
  if (SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) != 0) return false;
  return WriteFile(file.get(), &header, sizeof header, &done, nullptr) && done == sizeof header;
}

struct closing {
  const char* title;
  std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM param) {
  auto* c = reinterpret_cast<closing*>(param);
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  if (strncmp(text, c->title, strlen(c->title)) == 0) c->windows.push_back(window);
  return TRUE;
}

int closewindows(const char* title) {
  closing c = {title, {}};
  if (!*title) return 2;
  EnumWindows(collect, reinterpret_cast<LPARAM>(&c));
  for (HWND window : c.windows) PostMessageA(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 300; ++i) {
    bool left = false;
    for (HWND window : c.windows) left |= IsWindow(window) != FALSE;
    if (!left) {
      printf("%u\n", static_cast<unsigned>(c.windows.size()));
      return 0;
    }
    Sleep(50);
  }
  fprintf(stderr, "a window did not close\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "-close") == 0) return closewindows(argv[2]);
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: mainframe_demo ROOT [ACCOUNT]\n");
    return 2;
  }
  char account[256] = "";
  if (argc == 3) {
    snprintf(account, sizeof account, "%s", argv[2]);
  } else {
    DWORD size = sizeof account;
    if (!GetUserNameA(account, &size)) account[0] = 0;
  }
  if (!account[0] || strpbrk(account, "\\/:*?\"<>|") || strstr(account, "..")) {
    fprintf(stderr, "no usable account name\n");
    return 2;
  }
  char dir[MAX_PATH], path[MAX_PATH];
  if (snprintf(dir, sizeof dir, "%s\\%s", argv[1], account) >= (int)sizeof dir ||
      snprintf(path, sizeof path, "%s\\mailbox.rlb", dir) >= (int)sizeof path) {
    fprintf(stderr, "path too long\n");
    return 2;
  }
  CreateDirectoryA(argv[1], nullptr);
  CreateDirectoryA(dir, nullptr);

  mailboxfile_c mailbox;
  if (!mailbox.create(path, account) || !setlogin(path, account) || !mailbox.open(path)) {
    fprintf(stderr, "cannot create %s\n", path);
    return 1;
  }
  mailbox.setkeepopen(1);
  for (const demoevent& e : events) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    r.slotstate = SLOT_INUSE;
    r.flags = e.incoming ? static_cast<uint32_t>(EV_INCOMING) : 0u;
    r.state = e.state;
    r.year = e.year;
    r.month = e.month;
    r.day = e.day;
    r.hour = e.hour;
    r.minute = e.minute;
    setfield(r.subject, e.subject);
    if (e.incoming) {
      setfield(r.sendername, e.party);
      setfield(r.senderaddress, e.address);
    } else {
      setfield(r.sendername, account);
      setfield(r.recipientname, e.party);
      setfield(r.recipientaddress, e.address);
    }
    if (!mailbox.addevent(&r)) {
      fprintf(stderr, "cannot add an event to %s\n", path);
      return 1;
    }
  }
  mailbox.setkeepopen(0);
  printf("%s\n", path);
  return 0;
}
