// The application object: the language chosen from RIROVEVI.INI (the resources really come in
// it), the search for a running Manager among real windows of this and another process, the
// start in the notification area, the whole start-up on a real mailbox root with the program's
// real profile store, and the About command starting a stand-in of the version program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "manager/mainframe.h"
#include "manager/managerapp.h"
#include "manager/managerappsettings.h"
#include "manager/res/resource.h"
#include "manager/ui/uiresource.h"
#include "tests/manager/mainframe_kit.h"
#include "tests/managerui/uitesthelp.h"

using frametest::inisections_c;

namespace {

// A top-level window of this process with a title, hidden unless asked; gone with the object.
class titledwindow_c {
public:
  explicit titledwindow_c(const char* title, bool enabled = true) {
    window = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPED | WS_CAPTION, 10, 10, 200, 80, nullptr, nullptr,
                             nullptr, nullptr);
    if (window && !enabled) EnableWindow(window, FALSE);
  }
  ~titledwindow_c() {
    if (window) DestroyWindow(window);
  }
  titledwindow_c(const titledwindow_c&) = delete;
  titledwindow_c& operator=(const titledwindow_c&) = delete;
  HWND window;
};

// Sets the thread's language back to English when the test ends.
class englishafter_c {
public:
  ~englishafter_c() {
    SetThreadLocale(MAKELCID(LANGUAGE_ENGLISH, SORT_DEFAULT));
    SetThreadUILanguage(LANGUAGE_ENGLISH);
  }
};

// The version program's stand-in, put next to this test program as tvk_ver.exe while the object
// lives (a version program already there is kept aside and put back). It appends its command
// line to output().
class versionprogram_c {
public:
  versionprogram_c() {
    target = siblingpath("tvk_ver.exe");
    keep = target + ".keep";
    DeleteFileA(keep.c_str());
    moved = MoveFileA(target.c_str(), keep.c_str()) != 0;
    placed = CopyFileA(siblingpath("managerapp_probe.exe").c_str(), target.c_str(), FALSE) != 0;
    out = scratch.file("about.txt");
    SetEnvironmentVariableA("RAVELINK_PROBE_OUT", out.c_str());
  }
  ~versionprogram_c() {
    SetEnvironmentVariableA("RAVELINK_PROBE_OUT", nullptr);
    SetEnvironmentVariableA("RAVELINK_PROBE_SLEEP", nullptr);
    DeleteFileA(target.c_str());
    if (moved) MoveFileA(keep.c_str(), target.c_str());
  }
  versionprogram_c(const versionprogram_c&) = delete;
  versionprogram_c& operator=(const versionprogram_c&) = delete;

  std::string output() const { return readwhole(out); }
  // The command line the Manager gives it for a main window.
  std::string expected(HWND mainwindow) const {
    char line[600];
    snprintf(line, sizeof line, "\"%s\" -subkey:\"software\\tavikon\\ravelink client\" -parenthwnd:%lu\n",
             target.c_str(), static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(mainwindow)));
    return line;
  }

  scratchdir_c scratch;
  std::string target, keep, out;
  bool moved = false, placed = false;
};

TEST(ManagerLanguage, TheFirstThreeLettersChooseTheLanguageOfTheResources) {
  inisections_c ini;
  englishafter_c english;
  static const struct {
    const char* value;   // null: no Language value
    unsigned language;
    const char* ready;   // the status bar's idle prompt in that language (null: not compared)
  } cases[] = {
      {"GER", 1031, "Bereit"}, {"german", 1031, "Bereit"}, {"Ger", 1031, "Bereit"},
      {"de", 1033, "Ready"},   {"", 1033, "Ready"},        {nullptr, 1033, "Ready"},
      {"French", 1036, nullptr},  {"itA", 1040, "Pronto"},   {"spanish", 1034, "Listo"},
      {"gerx", 1031, "Bereit"}, {"ge", 1033, "Ready"},     {"english", 1033, "Ready"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "no value");
    inisections_c::set("Options", "Language", c.value);
    EXPECT_EQ(CManagerApp::ChooseLanguage(), c.language);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), c.language);
    if (c.ready) {
      EXPECT_STREQ(uistring(IDS_IDLE_PROMPT).text(), c.ready);
    }
  }
  EXPECT_EQ(languagefromsetting(nullptr), LANGUAGE_ENGLISH);
}

TEST(ManagerTaskbarStart, OnlyTheWholeWordHidesTheWindowAndOnlyOnTheOldShell) {
  static const struct {
    const char* commandline;
    int windows4;
    int show;
  } cases[] = {
      {"-taskbar", 1, SW_HIDE},       {"-TASKBAR", 1, SW_HIDE},         {"-TaskBar", 1, SW_HIDE},
      {"-taskbar", 0, SW_SHOWNORMAL}, {"-taskbar -x", 1, SW_SHOWNORMAL}, {" -taskbar", 1, SW_SHOWNORMAL},
      {"-taskbar ", 1, SW_SHOWNORMAL}, {"taskbar", 1, SW_SHOWNORMAL},    {"", 1, SW_SHOWNORMAL},
      {nullptr, 1, SW_SHOWNORMAL},
  };
  for (const auto& c : cases)
    EXPECT_EQ(startshowcommand(c.commandline, c.windows4, SW_SHOWNORMAL), c.show)
        << (c.commandline ? c.commandline : "null") << " windows4 " << c.windows4;
  // Any other show command the system passed stays as it was.
  EXPECT_EQ(startshowcommand("", 1, SW_SHOWMAXIMIZED), SW_SHOWMAXIMIZED);
  EXPECT_EQ(CManagerApp(4).Windows4, 1);
  EXPECT_EQ(CManagerApp(5).Windows4, 0);
  EXPECT_EQ(CManagerApp(3).Windows4, 0);
}

// Test programs running beside this one may have Manager windows of their own; a window made
// here is the newest and so comes first in the z-order.
TEST(ManagerSearch, FindsTheFirstEnabledWindowWhoseTitleStartsWithTheProgramsTitle) {
  static const struct {
    const char* title;
    bool enabled;
    bool found;
  } cases[] = {
      {"Ravelink Manager - x", true, true},
      {"Ravelink Manager", true, true},
      {"Ravelink Manager - x", false, false},   // busy with a modal dialog
      {"Ravelink Manage", true, false},
      {"ravelink manager - x", true, false},
      {" Ravelink Manager", true, false},
      {"", true, false},
  };
  for (const auto& c : cases) {
    titledwindow_c window(c.title, c.enabled);
    ASSERT_NE(window.window, nullptr);
    HWND found = CManagerApp::FindRunningManager();
    if (c.found) {
      EXPECT_EQ(found, window.window) << "\"" << c.title << "\"";
    } else {
      EXPECT_NE(found, window.window) << "\"" << c.title << "\"";
    }
  }

  // Another program's window whose title starts the same way counts as well.
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string probe = siblingpath("managerapp_probe.exe");
  std::string line = "\"" + probe + "\" -window \"Ravelink Manager Setup\"";
  ASSERT_TRUE(CreateProcessA(probe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  HWND other = nullptr;
  for (int i = 0; i < 200 && !other; ++i) {
    other = FindWindowA("RavelinkProbeWindow", "Ravelink Manager Setup");
    if (!other) Sleep(25);
  }
  ASSERT_NE(other, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(other, &owner);
  EXPECT_EQ(owner, process.dwProcessId);
  EXPECT_EQ(CManagerApp::FindRunningManager(), other);
  PostMessageA(other, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

class ManagerStartTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root.ok);
    ASSERT_TRUE(store.safe());
  }
  inisections_c ini;
  frametest::registrysnapshot_c store{"Ravelink Manager"};
  frametest::mailboxroot_c root;
  uitest::boxanswer_c boxes;
  englishafter_c english;
};

TEST_F(ManagerStartTest, ASecondStartShowsTheRunningManagerAndEndsQuietly) {
  titledwindow_c running("Ravelink Manager - someone");
  ASSERT_FALSE(IsWindowVisible(running.window));
  CManagerApp app(6);
  EXPECT_FALSE(app.StartUp("", SW_SHOWNORMAL));
  EXPECT_EQ(app.MainFrame(), nullptr);
  EXPECT_TRUE(IsWindowVisible(running.window));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ManagerStartTest, StartUpCreatesTheMainWindowInTheChosenLanguage) {
  inisections_c::set("Options", "Language", "german");
  CManagerApp app(6);
  ASSERT_TRUE(app.StartUp("-taskbar", SW_SHOWNORMAL));   // not the old shell: shown all the same
  ASSERT_NE(app.MainFrame(), nullptr);
  HWND window = app.MainFrame()->hwnd();
  EXPECT_EQ(app.mainframe(), app.MainFrame());
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(frametest::windowtext(window), "Ravelink Manager - " + root.user);
  EXPECT_STREQ(app.profile().rootpath(), "Software\\Ravelink Manager\\Ravelink Manager");
  // The menu bar is the German one.
  char text[64] = "";
  GetMenuStringA(GetMenu(window), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Datei");

  // The About command of the window starts the version program for it.
  {
    versionprogram_c version;
    ASSERT_TRUE(version.placed);
    SendMessageA(window, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(version.output(), version.expected(window));
  }

  // Exit ends the message loop and leaves the placement in the program's profile store.
  SendMessageA(window, WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_FALSE(IsWindow(window));
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_NE(app.profile().getstring("Settings", "WindowPos").length(), 0);
}

TEST_F(ManagerStartTest, TheTaskbarStartOnTheOldShellShowsOnlyTheIcon) {
  CManagerApp app(4);
  ASSERT_TRUE(app.StartUp("-TASKBAR", SW_SHOWNORMAL));
  ASSERT_NE(app.MainFrame(), nullptr);
  EXPECT_FALSE(IsWindowVisible(app.MainFrame()->hwnd()));
  EXPECT_NE(app.MainFrame()->TrayIcon().record().hIcon, nullptr);
  EXPECT_STREQ(app.MainFrame()->TrayIcon().record().szTip, uistring(IDS_TRAY).text());
  // A second start finds this hidden one.
  EXPECT_EQ(CManagerApp::FindRunningManager(), app.MainFrame()->hwnd());
  app.MainFrame()->CloseManager();
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(ManagerStartTest, WithoutAMailboxTheProgramEndsAtOnce) {
  inisections_c::set("Directories", "Mailbox", nullptr);
  CManagerApp app(6);
  EXPECT_FALSE(app.StartUp("", SW_SHOWNORMAL));
  EXPECT_EQ(app.MainFrame(), nullptr);
  EXPECT_TRUE(boxes.boxes.empty());
}

class AboutTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(version.placed); }
  versionprogram_c version;
  uitest::boxanswer_c boxes;
};

// Counts the messages it receives; destroying it ends the message loop, as the main window's
// destruction does.
LRESULT CALLBACK countingproc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_APP) {
    SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
    return 0;
  }
  if (msg == WM_DESTROY) PostQuitMessage(3);
  return DefWindowProcA(window, msg, wparam, lparam);
}

HWND countingwindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = countingproc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RavelinkAboutTest";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

TEST_F(AboutTest, StartsTheVersionProgramWithKeyAndParentAndWaitsWithTheWindowsAlive) {
  SetEnvironmentVariableA("RAVELINK_PROBE_SLEEP", "600");
  HWND window = countingwindow();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_APP, 0, 0);
  DWORD start = GetTickCount();
  CManagerApp::ShowAbout(window);
  DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 550u);   // it returned only when the program had ended
  // The posted message was handled while the program ran.
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 1);
  EXPECT_EQ(version.output(), version.expected(window));
  EXPECT_TRUE(boxes.boxes.empty());
  DestroyWindow(window);
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(AboutTest, ClosingTheMainWindowMeanwhileStillEndsTheProgram) {
  SetEnvironmentVariableA("RAVELINK_PROBE_SLEEP", "400");
  HWND window = countingwindow();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  CManagerApp::ShowAbout(window);
  EXPECT_FALSE(IsWindow(window));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(AboutTest, AMissingVersionProgramDoesNothing) {
  DeleteFileA(version.target.c_str());
  DWORD start = GetTickCount();
  CManagerApp::ShowAbout(nullptr);
  EXPECT_LT(GetTickCount() - start, 500u);
  EXPECT_EQ(GetFileAttributesA(version.out.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
