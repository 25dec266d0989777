// The event list's commands on real mailbox files with real side files: a real list control in a
// window of the test's own, the real profile files of the prefix (rlprog.ini, RIROVEVI.INI, put
// back afterwards) and the real outside-program stand-ins started through the shell. Each test
// copies the stand-ins it wants into a folder of its own and puts that folder first on PATH, so
// the shell finds exactly those (none copied: no such program can start). What a stand-in was
// handed comes back through its log (RAVELINK_STANDIN_LOG).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/eventlist.h"
#include "manager/res/resource.h"
#include "manager/ui/managermessagebox.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"
#include "toolkit/text.h"

namespace {

const unsigned LISTID = 100;
const DWORD ALLROWS = CManListCtrl::FILTER_INCOMING | CManListCtrl::FILTER_OUTGOING | CManListCtrl::FILTER_READ |
                      CManListCtrl::FILTER_SENT | CManListCtrl::FILTER_FAILED;

const char TEXT134[] = "Are you sure to delete the selected event(s)?";
const char TEXT135[] =
    "This is a queued item. If you delete it, it will not be updated and you will recieve a new item as "
    "notification for this item. Do you want to delete it?";
const char TEXT136[] =
    "Could not load the Ravelink viewer (or one of its components). Make sure that the viewer exists in your "
    "Ravelink directory and that all required libraries are available.";
const char TEXT137[] =
    "Could not load the Ravelink Client (or one of its components). Make sure that the client exists in your "
    "Ravelink directory and that all required libraries are available.";

// ---- the parent window ----------------------------------------------------------------------

LRESULT CALLBACK parentproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT reflected = 0;
  if (uireflect(hwnd, msg, wparam, lparam, reflected)) return reflected;
  if (msg == WM_MEASUREITEM &&
      CManListCtrl::MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam), GetDlgItem(hwnd, (int)wparam)))
    return TRUE;
  if (msg == WM_COMMAND) return 0;   // the list's posted commands are not the subject here
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char* parentclass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentproc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "EventCommandsTestParent";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered = RegisterClassA(&wc) != 0;
  }
  return "EventCommandsTestParent";
}

// ---- profile files of the prefix ------------------------------------------------------------

// A profile file in the Windows directory, put back byte for byte (or removed again) when the
// object goes. The system's profile cache is flushed around the restore, so nothing written
// before lands in the file afterwards.
class profilefile_c {
public:
  explicit profilefile_c(const char* name) : file(name) {
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, sizeof dir);
    path = std::string(dir) + "\\" + name;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    existed = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (existed) bytes = readwhole(path);
  }
  ~profilefile_c() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    if (existed)
      writewhole(path, bytes);
    else
      DeleteFileA(path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
  }
  profilefile_c(const profilefile_c&) = delete;
  profilefile_c& operator=(const profilefile_c&) = delete;

  void clear(const char* section) { WritePrivateProfileStringA(section, nullptr, nullptr, file.c_str()); }
  void set(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, file.c_str());
  }
  // The key's value, or "<none>" when the section has no such key.
  std::string get(const char* section, const char* key) const {
    char text[1024] = "";
    GetPrivateProfileStringA(section, key, "<none>", text, sizeof text, file.c_str());
    return text;
  }
  // The section's lines "key=value" in file order.
  std::vector<std::string> lines(const char* section) const {
    std::vector<char> buffer(32768);
    DWORD n = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> out;
    for (DWORD at = 0; at < n;) {
      std::string line(buffer.data() + at);
      at += static_cast<DWORD>(line.size()) + 1;
      if (!line.empty()) out.push_back(line);
    }
    return out;
  }

private:
  std::string file, path, bytes;
  bool existed = false;
};

// ---- the stand-ins' log ---------------------------------------------------------------------

struct standinrun {
  std::string program, cmdline, show, section;
  std::vector<std::string> keys;   // "key=value" in the order the program read them
  std::string key(const std::string& name) const {
    for (const std::string& k : keys)
      if (k.compare(0, name.size() + 1, name + "=") == 0) return k.substr(name.size() + 1);
    return "<none>";
  }
  bool has(const std::string& name) const { return key(name) != "<none>"; }
  // The command line after the program's own (quoted or bare) name.
  std::string arguments() const {
    size_t at = 0;
    if (!cmdline.empty() && cmdline[0] == '"') {
      at = cmdline.find('"', 1);
      at = at == std::string::npos ? cmdline.size() : at + 1;
    } else {
      at = cmdline.find(' ');
      if (at == std::string::npos) at = cmdline.size();
    }
    std::string rest = cmdline.substr(at);
    while (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
    while (!rest.empty() && rest.back() == ' ') rest.pop_back();
    return rest;
  }
};

std::vector<standinrun> parselog(const std::string& text) {
  std::vector<standinrun> runs;
  standinrun current;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) break;   // a block still being written
    std::string line = text.substr(at, end - at);
    at = end + 2;
    auto value = [&](const char* tag) { return line.substr(strlen(tag) + 1); };
    if (line.rfind("program ", 0) == 0) {
      current = standinrun{};
      current.program = value("program");
    } else if (line.rfind("cmdline ", 0) == 0) current.cmdline = value("cmdline");
    else if (line.rfind("show ", 0) == 0) current.show = value("show");
    else if (line.rfind("section ", 0) == 0) current.section = value("section");
    else if (line.rfind("key ", 0) == 0) current.keys.push_back(value("key"));
    else if (line == "end") runs.push_back(current);
  }
  return runs;
}

// ---- dialogs caught while a command runs them modally ---------------------------------------

// Calls a function with every dialog window of this thread, from a thread timer that the modal
// loops dispatch; the function returns true when it has dealt with the dialog (then it is not
// offered again).
class dialogcatcher_c {
public:
  explicit dialogcatcher_c(std::function<bool(HWND)> f) : handle(std::move(f)) {
    current() = this;
    timer = SetTimer(nullptr, 0, 100, tick);
  }
  ~dialogcatcher_c() {
    if (timer) KillTimer(nullptr, timer);
    current() = nullptr;
  }
  dialogcatcher_c(const dialogcatcher_c&) = delete;
  dialogcatcher_c& operator=(const dialogcatcher_c&) = delete;
  int handled = 0;

private:
  static dialogcatcher_c*& current() {
    static dialogcatcher_c* c = nullptr;
    return c;
  }
  static BOOL CALLBACK each(HWND window, LPARAM) {
    dialogcatcher_c* self = current();
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (!self || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    if (self->done.count(window)) return TRUE;
    if (self->handle(window)) {
      self->done.insert(window);
      ++self->handled;
    }
    return TRUE;
  }
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), each, 0); }

  std::function<bool(HWND)> handle;
  std::set<HWND> done;
  UINT_PTR timer = 0;
};

std::string windowtext(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// ---- events ---------------------------------------------------------------------------------

struct eventplan {
  uint8_t state = EVS_READ;
  uint32_t flags = EV_INCOMING;
  const char* subject = "Offer";
  // Attachment entries in table order: a source file name to copy in (its extension counts),
  // or "" for an empty entry.
  std::vector<std::string> attachments;
  const char* body = nullptr;            // body text (EV_BODY)
  const recipientdetails* details = nullptr;   // recipient details file (EV_RECIPFILE)
};

int filecount(const std::string& dir) {
  int n = 0;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (FindNextFileA(h, &data));
  FindClose(h);
  return n;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- the fixture ----------------------------------------------------------------------------

class EventCommands : public ::testing::Test {
protected:
  void SetUp() override {
    setmessageboxcaption("Ravelink Manager");
    char name[256];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    root = scratch.path() + "\\root";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(makeusermailbox(root + "\\owner", name, "owner@ravelink"));
    own = root + "\\owner\\mailbox.rlb";
    store = root + "\\owner\\";
    sources = scratch.path() + "\\sources";
    ASSERT_TRUE(CreateDirectoryA(sources.c_str(), nullptr));
    programs = scratch.path() + "\\programs";
    ASSERT_TRUE(CreateDirectoryA(programs.c_str(), nullptr));
    logfile = scratch.path() + "\\standins.log";

    // The shell searches PATH last: the stand-ins copied into programs, and nothing else of
    // theirs, can be found.
    char old[32768] = "";
    DWORD n = GetEnvironmentVariableA("PATH", old, sizeof old);
    oldpath.assign(old, n < sizeof old ? n : 0);
    SetEnvironmentVariableA("PATH", (programs + ";" + oldpath).c_str());
    SetEnvironmentVariableA("RAVELINK_STANDIN_LOG", logfile.c_str());

    viewerini.clear("Ravelink Viewer");
    composerini.clear("ResubmitParams");

    parent = CreateWindowExA(0, parentclass(), "Ravelink Manager", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    RECT r = {0, 0, 760, 360};
    ASSERT_TRUE(list.Create(parent, LISTID, r));
    list.Filter = ALLROWS;
    list.SortBy = CManListCtrl::COLUMN_STATE;
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
    SetEnvironmentVariableA("PATH", oldpath.c_str());
    SetEnvironmentVariableA("RAVELINK_STANDIN_LOG", nullptr);
  }

  void usestandins(const std::vector<const char*>& names) {
    for (const char* name : names) {
      ASSERT_TRUE(CopyFileA(siblingpath(std::string("standins\\") + name).c_str(), (programs + "\\" + name).c_str(),
                            FALSE))
          << name << " (build the stand-in targets)";
    }
  }

  // Waits until the log holds count runs (at most 30 s) and returns them.
  std::vector<standinrun> waitruns(size_t count) {
    DWORD start = GetTickCount();
    std::vector<standinrun> runs;
    for (;;) {
      runs = parselog(readwhole(logfile));
      if (runs.size() >= count || GetTickCount() - start > 30000) break;
      Sleep(50);
    }
    EXPECT_EQ(runs.size(), count);
    return runs;
  }
  // The runs logged so far, after giving a wrongly started program time to write.
  std::vector<standinrun> runsafterpause() {
    Sleep(1500);
    return parselog(readwhole(logfile));
  }

  int addto(const std::string& path, const eventplan& plan) {
    mailboxfile_c file;
    if (!file.open(path.c_str())) return 0;
    eventrecord r;
    memset(&r, 0, sizeof r);
    r.slotstate = SLOT_INUSE;
    r.state = plan.state;
    r.flags = plan.flags;
    r.aux = 0x5A;
    r.year = 2024;
    r.month = 3;
    r.day = 9;
    r.hour = 19;
    r.minute = 25;
    setfield(r.subject, plan.subject, EV_SUBJECTMAX);
    setfield(r.sendername, "Acme Sales", EV_TEXTMAX);
    setfield(r.senderaddress, "+49 30 5550100", EV_TEXTMAX);
    setfield(r.recipientname, "Anna Berg", EV_TEXTMAX);
    setfield(r.recipientaddress, "+49 40 5550199", EV_TEXTMAX);
    setfield(r.coverpage, "Standard", EV_TEXTMAX);
    char name[EV_NAMEMAX + 1];
    r.attachcount = static_cast<int8_t>(plan.attachments.size());
    for (size_t i = 0; i < plan.attachments.size(); ++i) {
      if (plan.attachments[i].empty()) continue;
      std::string source = sources + "\\" + plan.attachments[i];
      if (!exists(source) && !writewhole(source, "pages of " + plan.attachments[i])) return 0;
      if (!file.copyfilein(source.c_str(), name)) return 0;
      setfield(r.attachments[i].name, name);
    }
    if (plan.body) {
      if (!file.writebodytext(plan.body, name)) return 0;
      setfield(r.bodyfile, name);
      r.flags |= EV_BODY;
    }
    if (plan.details) {
      if (!file.writerecipientfile(plan.details, sizeof *plan.details, name)) return 0;
      setfield(r.recipientfile, name);
      r.flags |= EV_RECIPFILE;
    }
    return file.addevent(&r);
  }
  int add(const eventplan& plan) { return addto(own, plan); }

  static eventrecord readfrom(const std::string& path, int slot) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    mailboxfile_c file;
    EXPECT_TRUE(file.open(path.c_str()) && file.readevent(&r, slot)) << path << " slot " << slot;
    return r;
  }
  eventrecord read(int slot) { return readfrom(own, slot); }
  static bool inuse(const std::string& path, int slot) {
    mailboxfile_c file;
    return file.open(path.c_str()) && !file.isfree(slot);
  }
  static std::vector<int> slotsof(const std::string& path) {
    std::vector<int> slots;
    mailboxfile_c file;
    eventrecord r;
    if (!file.open(path.c_str())) return slots;
    for (int s = file.firstevent(&r); s > 0; s = file.nextevent(&r)) slots.push_back(s);
    return slots;
  }
  // Every side file a record names, as full paths in dir.
  static std::vector<std::string> sidefiles(const std::string& dir, const eventrecord& r) {
    std::vector<std::string> out;
    auto name = [&](const char* field, int size) {
      char text[EV_NAMEMAX + 1];
      if (fieldtext(field, size, text, sizeof text) > 0) out.push_back(dir + text);
    };
    name(r.bodyfile, sizeof r.bodyfile);
    name(r.recipientfile, sizeof r.recipientfile);
    for (int i = 0; i < attachmentcount(r); ++i) name(r.attachments[i].name, sizeof r.attachments[i].name);
    return out;
  }

  void open() { ASSERT_EQ(list.OpenMailbox(root.c_str()), 1); }
  void select(std::initializer_list<int> slots) {
    ListView_SetItemState(list.hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int slot : slots) {
      int row = list.FindRow(slot);
      ASSERT_GE(row, 0) << "slot " << slot;
      ListView_SetItemState(list.hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  std::string cell(int slot, int column) {
    int row = list.FindRow(slot);
    if (row < 0) return "<no row>";
    return list.itemtext(row, column).text();
  }
  int image(int slot) { return list.itemimage(list.FindRow(slot)); }
  bool selected(int slot) {
    int row = list.FindRow(slot);
    return row >= 0 && (ListView_GetItemState(list.hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED);
  }

  scratchdir_c scratch;
  profilefile_c viewerini{"rlprog.ini"};
  profilefile_c composerini{"RIROVEVI.INI"};
  std::string root, own, store, sources, programs, logfile, oldpath;
  HWND parent = nullptr;
  CManListCtrl list;
};

// ---- view and print -------------------------------------------------------------------------

// Two tif pages and a doc between them: File0 and File1 name the two pages (in the mailbox
// directory), the viewer that can be found is started shown as the command asks, and the unread
// event becomes Read in the file and in its row.
TEST_F(EventCommands, ViewAndPrintHandTheFaxPagesToTheViewer) {
  const struct {
    std::vector<const char*> standins;
    int print;
    const char* program;
    const char* command;
    int show;
  } cases[] = {
      {{"rlpageview.exe", "pageview.exe"}, 0, "rlpageview.exe", "1", SW_SHOWNORMAL},
      {{"rlpageview.exe", "pageview.exe"}, 1, "rlpageview.exe", "3", SW_SHOWMINIMIZED},
      {{"pageview.exe"}, 0, "pageview.exe", "1", SW_SHOWNORMAL},   // the older viewer when the new one is missing
  };
  open();
  size_t runs = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program + std::string(" print ") + std::to_string(c.print));
    for (const char* name : {"rlpageview.exe", "pageview.exe"}) DeleteFileA((programs + "\\" + name).c_str());
    usestandins(c.standins);
    eventplan plan;
    plan.state = EVS_UNREAD;
    plan.attachments = {"first.tif", "letter.doc", "second.TIF"};
    int slot = add(plan);
    ASSERT_GT(slot, 0);
    eventrecord before = read(slot);
    list.Reload();
    select({slot});
    ASSERT_EQ(cell(slot, CManListCtrl::COLUMN_STATE), "Unread");

    uitest::boxanswer_c boxes;
    list.ViewEvent(c.print);
    EXPECT_TRUE(boxes.boxes.empty());
    auto logged = waitruns(++runs);
    ASSERT_EQ(logged.size(), runs);
    const standinrun& run = logged.back();
    EXPECT_EQ(run.program, c.program);
    EXPECT_EQ(run.arguments(), "");
    EXPECT_EQ(run.show, std::to_string(c.show));
    EXPECT_EQ(run.section, "rlprog.ini|Ravelink Viewer");
    EXPECT_EQ(run.key("File0"), store + before.attachments[0].name);
    EXPECT_EQ(run.key("File1"), store + before.attachments[2].name);
    EXPECT_EQ(run.key("FileCount"), "2");
    EXPECT_EQ(run.key("Command"), c.command);

    EXPECT_EQ(read(slot).state, EVS_READ);
    EXPECT_EQ(cell(slot, CManListCtrl::COLUMN_STATE), "Read");
    EXPECT_EQ(image(slot), list.StateImage(EVS_READ));
  }
}

// No viewer can start: both names fail, the section says there is nothing to do, message 136,
// and the event stays unread.
TEST_F(EventCommands, ViewWithoutAViewerShowsMessage136AndLeavesTheEventUnread) {
  eventplan plan;
  plan.state = EVS_UNREAD;
  plan.attachments = {"page.fax"};
  int slot = add(plan);
  open();
  select({slot});

  uitest::boxanswer_c boxes;
  list.ViewEvent(0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, TEXT136);
  EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes.boxes[0].owner, parent);
  EXPECT_EQ(viewerini.get("Ravelink Viewer", "FileCount"), "0");
  EXPECT_EQ(viewerini.get("Ravelink Viewer", "Command"), "0");
  EXPECT_EQ(read(slot).state, EVS_UNREAD);
  EXPECT_EQ(cell(slot, CManListCtrl::COLUMN_STATE), "Unread");
}

// Nothing the viewer shows (a doc, and a page named outside the mailbox directory): the details
// dialog instead, with FileCount 0 written first; the event is read once the dialog closes. The
// viewer is not started.
TEST_F(EventCommands, ViewWithoutFaxPagesOpensTheDetailsDialog) {
  usestandins({"rlpageview.exe"});
  writewhole(root + "\\evil.tif", "not this user's");
  eventplan plan;
  plan.state = EVS_UNREAD;
  plan.subject = "Contract";
  plan.attachments = {"contract.doc", ""};
  int slot = add(plan);
  {
    // A name with a folder in it: never handed to the viewer.
    eventrecord r = read(slot);
    setfield(r.attachments[1].name, "..\\evil.tif");
    mailboxfile_c file;
    ASSERT_TRUE(file.open(own.c_str()) && file.updateevent(&r, slot));
  }
  open();
  select({slot});

  std::string subjectshown;
  dialogcatcher_c catcher([&](HWND dialog) {
    HWND subject = GetDlgItem(dialog, IDC_DETAILS_SUBJECT);
    if (!subject) return false;
    subjectshown = windowtext(subject);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  uitest::boxanswer_c boxes(IDNO);
  list.ViewEvent(0);
  EXPECT_EQ(catcher.handled, 1);
  EXPECT_EQ(subjectshown, "Contract");
  EXPECT_EQ(viewerini.get("Ravelink Viewer", "FileCount"), "0");
  EXPECT_EQ(viewerini.get("Ravelink Viewer", "Command"), "1");
  EXPECT_EQ(viewerini.get("Ravelink Viewer", "File0"), "<none>");
  EXPECT_EQ(read(slot).state, EVS_READ);
  EXPECT_EQ(cell(slot, CManListCtrl::COLUMN_STATE), "Read");
  EXPECT_EQ(image(slot), list.StateImage(EVS_READ));
  EXPECT_TRUE(runsafterpause().empty());
}

// View, Details and Forward want exactly one selected row, the others at least one: with none
// (and two for the single-row ones) nothing is written, started or asked.
TEST_F(EventCommands, CommandsWithTheWrongSelectionDoNothing) {
  usestandins({"rlpageview.exe", "compose.exe"});
  eventplan plan;
  plan.state = EVS_UNREAD;
  plan.attachments = {"page.tif"};
  int first = add(plan);
  int second = add(plan);
  open();
  std::string folder = scratch.path() + "\\folder";
  ASSERT_TRUE(makeusermailbox(folder, "x", "folder"));

  uitest::boxanswer_c boxes(IDYES);
  dialogcatcher_c catcher([](HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  for (int rows = 0; rows < 2; ++rows) {
    if (rows) select({first, second});
    list.ViewEvent(0);
    list.ShowDetails();
    list.ForwardEvent();
    if (rows) continue;
    list.DeleteSelected(1);
    EXPECT_EQ(list.RouteTo("anna@ravelink"), 0);
    list.ResubmitSelected();
    EXPECT_EQ(list.MoveSelected((folder + "\\mailbox.rlb").c_str(), 0), 0);
  }
  EXPECT_EQ(catcher.handled, 0);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(slotsof(own), (std::vector<int>{first, second}));
  EXPECT_EQ(read(first).state, EVS_UNREAD);
  EXPECT_TRUE(slotsof(folder + "\\mailbox.rlb").empty());
  EXPECT_TRUE(viewerini.lines("Ravelink Viewer").empty());
  EXPECT_TRUE(composerini.lines("ResubmitParams").empty());
  EXPECT_TRUE(runsafterpause().empty());
}

// ---- delete ---------------------------------------------------------------------------------

// Three selected, one of them Working: two go with their side files, the Working one stays
// (deselected) with its files. Answering No to the question keeps all three.
TEST_F(EventCommands, DeleteRemovesEventsWithTheirFilesButNeverAWorkingOne) {
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    eventplan plan;
    plan.attachments = {"a.tif", "b.doc"};
    plan.body = "Hello";
    int read1 = add(plan);
    plan.state = EVS_WORKING;
    plan.flags = 0;
    int working = add(plan);
    plan.state = EVS_SENT;
    recipientdetails details = {};
    setfield(details.firstname, "Anna");
    plan.details = &details;
    int sent = add(plan);
    std::map<int, std::vector<std::string>> files;
    for (int s : {read1, working, sent}) files[s] = sidefiles(store, read(s));
    ASSERT_EQ(files[sent].size(), 4u);
    if (answer == IDNO) {
      open();
    } else {
      list.Reload();
    }
    select({read1, working, sent});

    uitest::boxanswer_c boxes(answer);
    list.DeleteSelected(1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, TEXT134);
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    bool gone = answer == IDYES;
    for (int s : {read1, sent}) {
      EXPECT_EQ(inuse(own, s), !gone) << s;
      EXPECT_EQ(list.FindRow(s) >= 0, !gone) << s;
      for (const std::string& f : files[s]) EXPECT_EQ(exists(f), !gone) << f;
    }
    EXPECT_TRUE(inuse(own, working));
    EXPECT_GE(list.FindRow(working), 0);
    EXPECT_EQ(selected(working), !gone);
    for (const std::string& f : files[working]) EXPECT_TRUE(exists(f)) << f;
    // Clean up for the next round.
    mailboxfile_c file;
    ASSERT_TRUE(file.open(own.c_str()));
    for (int s : slotsof(own)) {
      file.deleteattachments(s);
      file.deletebody(s);
      file.deleterecipientfile(s);
      file.freeevent(s);
    }
    list.Reload();
  }
}

// Two Queued events and a Sent one, in that order in the list (sorted by state text), deleted
// without the first question: message 135 is asked once, and its answer holds for the run.
TEST_F(EventCommands, QueuedEventsNeedOneAnswerForTheWholeRun) {
  const struct {
    int answer;
    bool queuedgone;
    bool sentgone;
  } cases[] = {
      {IDNO, false, true},       // No: both queued stay, the run goes on
      {IDCANCEL, false, false},  // Cancel: the run stops at the first queued one
      {IDYES, true, true},
  };
  bool opened = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    eventplan plan;
    plan.flags = 0;
    plan.state = EVS_QUEUED;
    int q1 = add(plan);
    int q2 = add(plan);
    plan.state = EVS_SENT;
    int sent = add(plan);
    if (!opened) {
      open();
      opened = true;
    } else {
      list.Reload();
    }
    select({q1, q2, sent});
    ASSERT_LT(list.FindRow(q2), list.FindRow(sent));

    uitest::boxanswer_c boxes(c.answer);
    list.DeleteSelected(0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, TEXT135);
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(inuse(own, q1), !c.queuedgone);
    EXPECT_EQ(inuse(own, q2), !c.queuedgone);
    EXPECT_EQ(inuse(own, sent), !c.sentgone);
    EXPECT_EQ(list.FindRow(sent) >= 0, !c.sentgone);
    mailboxfile_c file;
    ASSERT_TRUE(file.open(own.c_str()));
    for (int s : slotsof(own)) file.freeevent(s);
    list.Reload();
  }
}

// ---- route ----------------------------------------------------------------------------------

// Two events to two users: four route requests in the own mailbox, each with fresh copies of the
// body and the attachments; a Queued event selected with them is not routed. The selection stays.
TEST_F(EventCommands, RouteAddsOneRequestPerEventAndTarget) {
  eventplan plan;
  plan.state = EVS_READ;
  plan.subject = "Quarterly figures";
  plan.attachments = {"figures.tif", "", "notes.doc"};
  plan.body = "Please check";
  recipientdetails details = {};
  plan.details = &details;
  int withfiles = add(plan);
  eventplan plain;
  plain.flags = 0;
  plain.state = EVS_SENT;
  plain.subject = "Plain";
  int bare = add(plain);
  plain.state = EVS_QUEUED;
  int queued = add(plain);
  open();
  select({withfiles, bare, queued});
  SYSTEMTIME now;
  GetLocalTime(&now);

  const struct {
    const char* target;
    const char* name;
  } targets[] = {{"anna@ravelink", "anna"}, {"a@b@ravelink", "a@b"}};
  for (const auto& t : targets) EXPECT_EQ(list.RouteTo(t.target), 1);
  EXPECT_TRUE(selected(withfiles) && selected(bare) && selected(queued));

  std::vector<int> slots = slotsof(own);
  ASSERT_EQ(slots.size(), 7u);
  eventrecord source = read(withfiles);
  std::set<std::string> names;
  int k = 3;
  for (const auto& t : targets) {
    for (int from : {withfiles, bare}) {
      SCOPED_TRACE(std::string(t.target) + " from " + std::to_string(from));
      eventrecord r = read(slots[k++]);
      bool files = from == withfiles;
      EXPECT_EQ(r.flags, files ? static_cast<uint32_t>(EV_ROUTE | EV_BODY) : static_cast<uint32_t>(EV_ROUTE));
      EXPECT_EQ(r.state, EVS_PENDING);
      EXPECT_EQ(r.aux, 0x5A);
      EXPECT_STREQ(r.subject, files ? "Quarterly figures" : "Plain");
      EXPECT_STREQ(r.sendername, "owner@ravelink");
      EXPECT_STREQ(r.senderaddress, "owner@ravelink");
      EXPECT_STREQ(r.recipientname, t.name);
      EXPECT_STREQ(r.recipientaddress, t.target);
      EXPECT_STREQ(r.recipientfile, "");
      EXPECT_STREQ(r.coverpage, "");
      EXPECT_EQ(r.year, now.wYear);
      EXPECT_EQ(r.month, now.wMonth);
      EXPECT_EQ(r.day, now.wDay);
      if (!files) {
        EXPECT_EQ(r.attachcount, 0);
        EXPECT_STREQ(r.bodyfile, "");
        continue;
      }
      ASSERT_EQ(r.attachcount, 3);
      EXPECT_STREQ(r.attachments[1].name, "");
      // Fresh copies, never the source's files.
      const std::pair<const char*, const char*> pairs[] = {{r.bodyfile, source.bodyfile},
                                                           {r.attachments[0].name, source.attachments[0].name},
                                                           {r.attachments[2].name, source.attachments[2].name}};
      for (const auto& p : pairs) {
        EXPECT_STRNE(p.first, p.second);
        EXPECT_TRUE(names.insert(p.first).second) << p.first;
        EXPECT_EQ(readwhole(store + p.first), readwhole(store + p.second));
        EXPECT_EQ(std::string(p.first).substr(std::string(p.first).find('.')),
                  std::string(p.second).substr(std::string(p.second).find('.')));
      }
    }
  }
}

// A file that cannot be copied: the request goes without it (an empty entry, no body).
TEST_F(EventCommands, RouteLeavesOutFilesThatCannotBeCopied) {
  eventplan plan;
  plan.attachments = {"gone.tif", "kept.tif"};
  plan.body = "text";
  int slot = add(plan);
  eventrecord source = read(slot);
  ASSERT_TRUE(DeleteFileA((store + source.attachments[0].name).c_str()));
  ASSERT_TRUE(DeleteFileA((store + source.bodyfile).c_str()));
  open();
  select({slot});
  EXPECT_EQ(list.RouteTo("bert"), 1);
  std::vector<int> slots = slotsof(own);
  ASSERT_EQ(slots.size(), 2u);
  eventrecord r = read(slots[1]);
  EXPECT_EQ(r.flags, static_cast<uint32_t>(EV_ROUTE));
  EXPECT_STREQ(r.bodyfile, "");
  EXPECT_EQ(r.attachcount, 2);
  EXPECT_STREQ(r.attachments[0].name, "");
  EXPECT_EQ(readwhole(store + r.attachments[1].name), "pages of kept.tif");
  EXPECT_STREQ(r.recipientname, "bert");
  EXPECT_STREQ(r.recipientaddress, "bert");
}

// ---- resubmit -------------------------------------------------------------------------------

// An incoming Failed event becomes an outgoing Pending resubmission: flags but high resolution and
// the recipient file cleared, subject, cover page and body gone (the body file deleted), the
// attachments kept. A Working event selected with it is left alone.
TEST_F(EventCommands, ResubmitMakesAnIncomingFailedEventAnOutgoingPendingOne) {
  eventplan plan;
  plan.state = EVS_FAILED;
  plan.flags = EV_INCOMING | EV_HIGHRES | EV_COVERPAGE | EV_SCHEDULED | EV_ROUTE;
  plan.subject = "Invoice";
  plan.attachments = {"invoice.tif"};
  plan.body = "Dear customer";
  recipientdetails details = {};
  plan.details = &details;
  int slot = add(plan);
  plan.state = EVS_WORKING;
  int working = add(plan);
  eventrecord before = read(slot);
  eventrecord workingbefore = read(working);
  open();
  select({slot, working});
  SYSTEMTIME now;
  GetLocalTime(&now);

  list.ResubmitSelected();
  eventrecord r = read(slot);
  EXPECT_EQ(r.state, EVS_PENDING);
  EXPECT_EQ(r.flags, static_cast<uint32_t>(EV_HIGHRES | EV_RECIPFILE | EV_RESUBMITTED));
  EXPECT_STREQ(r.subject, "");
  EXPECT_STREQ(r.coverpage, "");
  EXPECT_STREQ(r.bodyfile, "");
  EXPECT_FALSE(exists(store + before.bodyfile));
  EXPECT_STREQ(r.recipientfile, before.recipientfile);
  EXPECT_TRUE(exists(store + before.recipientfile));
  EXPECT_STREQ(r.attachments[0].name, before.attachments[0].name);
  EXPECT_TRUE(exists(store + before.attachments[0].name));
  EXPECT_EQ(r.year, now.wYear);
  EXPECT_EQ(r.day, now.wDay);
  eventrecord workingafter = read(working);
  EXPECT_EQ(memcmp(&workingbefore, &workingafter, sizeof workingbefore), 0);
  // The list was reloaded: the row shows the new state.
  EXPECT_EQ(cell(slot, CManListCtrl::COLUMN_STATE), "Pending");
  EXPECT_EQ(cell(slot, CManListCtrl::COLUMN_SUBJECT), "");
}

// ---- forward --------------------------------------------------------------------------------

// What the composer finds in ResubmitParams for three kinds of event, and that it was started
// with "-r", shown normally. Keys of an earlier forward that this one does not write do not
// survive into it; keys the command does not own stay.
TEST_F(EventCommands, ForwardHandsTheEventToTheComposer) {
  usestandins({"compose.exe"});
  recipientdetails details = {};
  setfield(details.firstname, "Carla");
  setfield(details.lastname, "Diaz");
  setfield(details.company, "Diaz & Sons");
  setfield(details.department, "Purchasing");
  setfield(details.email, "carla@diaz.example");
  setfield(details.faxno, "+34 91 5550123");
  setfield(details.voice, "+34 91 5550124");

  eventplan gaps;   // outgoing, high resolution, names in entries 0 and 2 of 3
  gaps.flags = EV_HIGHRES;
  gaps.state = EVS_SENT;
  gaps.subject = "With gaps";
  gaps.attachments = {"one.tif", "", "three.doc"};
  eventplan incoming;
  incoming.subject = "From outside";
  eventplan withdetails;
  withdetails.flags = 0;
  withdetails.state = EVS_FAILED;
  withdetails.subject = "To Carla";
  withdetails.details = &details;
  int slotgaps = add(gaps);
  int slotin = add(incoming);
  int slotdetails = add(withdetails);
  eventrecord gapsrecord = read(slotgaps);
  open();

  using keys = std::vector<std::string>;
  const struct {
    int slot;
    keys expected;
  } cases[] = {
      {slotgaps,
       {"HighRes=1", "Subject=With gaps", "RecipFirstName=Anna Berg", "RecipFaxNo=+49 40 5550199", "AttachCount=3",
        "Attach00=" + store + gapsrecord.attachments[0].name, "Attach02=" + store + gapsrecord.attachments[2].name}},
      {slotin,
       {"HighRes=0", "Subject=From outside", "RecipFirstName=Acme Sales", "RecipFaxNo=+49 30 5550100",
        "AttachCount=0"}},
      {slotdetails,
       {"HighRes=0", "Subject=To Carla", "RecipFirstName=Carla", "RecipLastName=Diaz", "RecipCompany=Diaz & Sons",
        "RecipDepartment=Purchasing", "RecipEmail=carla@diaz.example", "RecipFaxNo=+34 91 5550123",
        "RecipVoice=+34 91 5550124", "AttachCount=0"}},
  };
  size_t runs = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    // Left by an earlier forward, and a key of somebody else's.
    composerini.set("ResubmitParams", "Attach01", "C:\\earlier\\other.tif");
    composerini.set("ResubmitParams", "RecipCompany", "Earlier Ltd");
    composerini.set("ResubmitParams", "Keep", "yes");
    select({c.slot});
    eventrecord before = read(c.slot);

    uitest::boxanswer_c boxes;
    list.ForwardEvent();
    EXPECT_TRUE(boxes.boxes.empty());
    auto logged = waitruns(++runs);
    ASSERT_EQ(logged.size(), runs);
    const standinrun& run = logged.back();
    EXPECT_EQ(run.program, "compose.exe");
    EXPECT_EQ(run.arguments(), "-r");
    EXPECT_EQ(run.show, std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(run.section, "RIROVEVI.INI|ResubmitParams");
    keys got = run.keys;
    keys expected = c.expected;
    expected.push_back("Keep=yes");
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
    // The event itself is not changed.
    eventrecord after = read(c.slot);
    EXPECT_EQ(memcmp(&before, &after, sizeof before), 0);
  }
}

// New Fax starts the composer with no parameters; without one, both commands show message 137,
// and Forward removes the section it wrote.
TEST_F(EventCommands, TheComposerStartedOrMissing) {
  int slot = add(eventplan{});
  open();
  select({slot});
  composerini.set("ResubmitParams", "Keep", "yes");
  {
    uitest::boxanswer_c boxes;
    list.ForwardEvent();
    CManListCtrl::NewFax(parent);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const auto& box : boxes.boxes) {
      EXPECT_EQ(box.text, TEXT137);
      EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
      EXPECT_EQ(box.owner, parent);
    }
    EXPECT_TRUE(composerini.lines("ResubmitParams").empty());
  }

  usestandins({"compose.exe"});
  uitest::boxanswer_c boxes;
  CManListCtrl::NewFax(parent);
  EXPECT_TRUE(boxes.boxes.empty());
  auto runs = waitruns(1);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].program, "compose.exe");
  EXPECT_EQ(runs[0].arguments(), "");
  EXPECT_EQ(runs[0].show, std::to_string(SW_SHOWNORMAL));
}

// ---- move and copy --------------------------------------------------------------------------

// Into a personal folder: every side file is copied under a new name into the folder's
// directory and the record added there; a move removes the source event with its files and its
// row, a copy keeps them.
TEST_F(EventCommands, MoveAndCopyTakeEverySideFileAlong) {
  recipientdetails details = {};
  setfield(details.firstname, "Anna");
  bool opened = false;
  for (int copy : {0, 1}) {
    SCOPED_TRACE(copy ? "copy" : "move");
    std::string folder = scratch.path() + (copy ? "\\copies" : "\\moved");
    ASSERT_TRUE(makeusermailbox(folder, "x", "folder"));
    std::string target = folder + "\\mailbox.rlb";
    eventplan plan;
    plan.state = EVS_READ;
    plan.attachments = {"a.tif", "", "c.doc"};
    plan.body = "body text";
    plan.details = &details;
    int slot = add(plan);
    eventrecord source = read(slot);
    std::vector<std::string> files = sidefiles(store, source);
    ASSERT_EQ(files.size(), 4u);
    std::vector<std::string> contents;
    for (const std::string& f : files) contents.push_back(readwhole(f));
    if (!opened) {
      open();
      opened = true;
    } else {
      list.Reload();
    }
    select({slot});

    EXPECT_EQ(list.MoveSelected(target.c_str(), copy), 1);
    std::vector<int> there = slotsof(target);
    ASSERT_EQ(there.size(), 1u);
    eventrecord r = readfrom(target, there[0]);
    // The record as it was, but for the file names.
    eventrecord expected = source;
    memcpy(expected.bodyfile, r.bodyfile, sizeof r.bodyfile);
    memcpy(expected.recipientfile, r.recipientfile, sizeof r.recipientfile);
    for (int i = 0; i < EV_MAXATTACH; ++i) memcpy(expected.attachments[i].name, r.attachments[i].name, 16);
    EXPECT_EQ(memcmp(&expected, &r, sizeof r), 0);
    EXPECT_STREQ(r.attachments[1].name, "");
    std::vector<std::string> copies = sidefiles(folder + "\\", r);
    ASSERT_EQ(copies.size(), 4u);
    for (size_t i = 0; i < copies.size(); ++i) {
      EXPECT_EQ(readwhole(copies[i]), contents[i]) << copies[i];
      EXPECT_EQ(copies[i].substr(copies[i].find_last_of('.')), files[i].substr(files[i].find_last_of('.')));
    }
    EXPECT_EQ(filecount(folder), 5);   // the mailbox file and the four copies
    EXPECT_EQ(inuse(own, slot), copy == 1);
    EXPECT_EQ(list.FindRow(slot) >= 0, copy == 1);
    for (const std::string& f : files) EXPECT_EQ(exists(f), copy == 1) << f;
  }
}

// A move that fails half-way for one event leaves that event and its files as they were and
// nothing of it in the destination; the other events still move. Causes: a side file missing, a
// name that would leave the mailbox directory, and (last, as it waits for the retry time) a
// destination that somebody is reading, so the add cannot have it.
TEST_F(EventCommands, AFailedMoveLeavesTheSourceAndNoStrayFiles) {
  writewhole(root + "\\elsewhere.tif", "not in the mailbox directory");
  std::string folder = scratch.path() + "\\folder";
  ASSERT_TRUE(makeusermailbox(folder, "x", "folder"));
  std::string target = folder + "\\mailbox.rlb";

  eventplan plan;
  plan.attachments = {"a.tif", "b.tif", "c.tif"};
  plan.body = "body";
  int good = add(plan);
  int missing = add(plan);
  int outside = add(plan);
  plan.state = EVS_QUEUED;
  plan.flags = 0;
  int queued = add(plan);
  {
    eventrecord r = read(missing);
    ASSERT_TRUE(DeleteFileA((store + r.attachments[2].name).c_str()));   // after two copies were made
    r = read(outside);
    setfield(r.attachments[1].name, "..\\elsewhere.tif");
    mailboxfile_c file;
    ASSERT_TRUE(file.open(own.c_str()) && file.updateevent(&r, outside));
  }
  std::map<int, eventrecord> before;
  for (int s : {missing, outside, queued}) before[s] = read(s);
  open();
  select({good, missing, outside, queued});

  EXPECT_EQ(list.MoveSelected(target.c_str(), 0), 1);
  std::vector<int> there = slotsof(target);
  ASSERT_EQ(there.size(), 1u);
  EXPECT_EQ(filecount(folder), 1 + 4);   // only the good event's body and three attachments
  EXPECT_FALSE(inuse(own, good));
  for (int s : {missing, outside, queued}) {
    eventrecord after = read(s);
    EXPECT_EQ(memcmp(&before[s], &after, sizeof after), 0) << s;
    EXPECT_GE(list.FindRow(s), 0) << s;
  }
  EXPECT_TRUE(exists(root + "\\elsewhere.tif"));

  // Another program reads the destination the whole time: opening it (a reader beside a reader)
  // works, the add (a writer) does not once the copies were made, and they are removed again.
  eventrecord keep = read(queued);
  keep.state = EVS_SENT;
  {
    mailboxfile_c file;
    ASSERT_TRUE(file.open(own.c_str()) && file.updateevent(&keep, queued));
  }
  list.Reload();
  select({queued});
  HANDLE reader = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(list.MoveSelected(target.c_str(), 0), 1);
  CloseHandle(reader);
  EXPECT_EQ(slotsof(target).size(), 1u);
  EXPECT_EQ(filecount(folder), 1 + 4);
  eventrecord kept = read(queued);
  EXPECT_EQ(memcmp(&keep, &kept, sizeof keep), 0);
  for (const std::string& f : sidefiles(store, keep)) EXPECT_TRUE(exists(f)) << f;
}

// A destination that cannot be opened moves nothing and says nothing; no destination is the
// user's own mailbox file.
TEST_F(EventCommands, MoveToAMissingFolderFailsAndNoDestinationMeansTheOwnMailbox) {
  int slot = add(eventplan{});
  open();
  select({slot});
  uitest::boxanswer_c boxes;
  EXPECT_EQ(list.MoveSelected((scratch.path() + "\\nowhere\\mailbox.rlb").c_str(), 0), 0);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(inuse(own, slot));
  EXPECT_TRUE(selected(slot));

  EXPECT_EQ(list.MoveSelected(nullptr, 1), 1);
  EXPECT_EQ(slotsof(own).size(), 2u);
}

// ---- export ---------------------------------------------------------------------------------

// The shown rows in the shown order (sorted by subject, a filtered row left out), one
// tab-separated line each, into the file picked in the real save dialog.
TEST_F(EventCommands, ExportWritesTheShownRowsInTheShownOrder) {
  eventplan a;
  a.state = EVS_UNREAD;
  a.subject = "Beta";
  eventplan b;
  b.flags = 0;
  b.state = EVS_FAILED;
  b.subject = "Alpha";
  eventplan hidden;
  hidden.flags = 0;
  hidden.state = EVS_SENT;
  hidden.subject = "Hidden";
  eventplan c;
  c.state = EVS_READ;
  c.subject = "Gamma";
  add(a);
  add(b);
  add(hidden);
  add(c);
  list.Filter = ALLROWS & ~static_cast<DWORD>(CManListCtrl::FILTER_SENT);
  list.SortBy = CManListCtrl::COLUMN_SUBJECT;
  open();
  ASSERT_EQ(ListView_GetItemCount(list.hwnd()), 3);

  SYSTEMTIME when = {};
  when.wYear = 2024;
  when.wMonth = 3;
  when.wDay = 9;
  when.wHour = 19;
  when.wMinute = 25;
  char date[128] = "";
  datetimetext(date, sizeof date, &when, 0);
  std::string d(date);
  std::string expected = "Failed\tAnna Berg\tAlpha\t" + d + "\r\n" + "Unread\tAcme Sales\tBeta\t" + d + "\r\n" +
                         "Read\tAcme Sales\tGamma\t" + d + "\r\n";

  const struct {
    bool save;
    bool existing;
  } cases[] = {{false, false}, {true, false}, {true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.save ? "save" : "cancel") + (c.existing ? " over a file" : ""));
    std::string out = scratch.file(c.existing ? "existing.txt" : "log.txt");
    if (c.existing) writewhole(out, std::string(5000, 'x'));
    std::string title, filters;
    bool readonlyshown = true;
    dialogcatcher_c catcher([&](HWND dialog) {
      // The overwrite question is a dialog of its own: Yes.
      if (GetDlgItem(dialog, IDYES) && !GetDlgItem(dialog, IDOK)) {
        PostMessageA(dialog, WM_COMMAND, IDYES, 0);
        return true;
      }
      HWND types = GetDlgItem(dialog, cmb1);
      if (!types) return false;
      title = windowtext(dialog);
      int n = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < n; ++i) {
        char text[128] = "";
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        filters += std::string(text) + ";";
      }
      HWND readonly = GetDlgItem(dialog, chx1);
      readonlyshown = readonly && IsWindowVisible(readonly);
      if (!c.save) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      }
      SendMessageA(dialog, CDM_SETCONTROLTEXT, GetDlgItem(dialog, cmb13) ? cmb13 : edt1,
                   reinterpret_cast<LPARAM>(out.c_str()));
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      return true;
    });
    int result = list.ExportLog();
    EXPECT_EQ(title, "Save Log to File");
    EXPECT_EQ(filters, "Text files (*.txt);All files (*.*);");
    EXPECT_FALSE(readonlyshown);
    EXPECT_EQ(result, c.save ? 1 : 0);
    if (c.save) {
      EXPECT_EQ(readwhole(out), expected);
    } else {
      EXPECT_FALSE(exists(out));
    }
  }
}

// ---- help -----------------------------------------------------------------------------------

// No help file next to the program: nothing opens, nothing is said.
TEST_F(EventCommands, HelpWithoutAHelpFileDoesNothing) {
  ASSERT_FALSE(exists(siblingpath("rfnclient.chm")));
  ASSERT_FALSE(exists(siblingpath("rfxclient.chm")));
  uitest::boxanswer_c boxes;
  dialogcatcher_c catcher([](HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  CManListCtrl::HelpContents(parent);
  uitest::pump();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(catcher.handled, 0);
}

}  // namespace
