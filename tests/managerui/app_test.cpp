// The application object: start-up, the message loop with its idle step, and the end of the
// program when the main frame goes.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiapp.h"
#include "tests/managerui/testframe.h"
#include "tests/managerui/uitesthelp.h"

namespace {

class testapp_c : public uiapp_c {
public:
  enum start { runs, refuses, throws } how = runs;
  testframe_c frame;
  int exitseen = -1;
  int idlesteps = 3;   // idle steps asked for after the first
  std::vector<long> idlecounts;
  int toolbarenabledatidle = -1;

protected:
  bool OnStartUp() override {
    if (how == throws) throw std::runtime_error("start-up");
    if (how == refuses) return false;
    if (!frame.open()) return false;
    setmainframe(&frame);
    // The user closes the window at once.
    PostMessageA(frame.hwnd(), WM_CLOSE, 0, 0);
    return true;
  }
  int OnExit(int code) override {
    exitseen = code;
    return code + 7;
  }
  bool OnIdle(long count) override {
    idlecounts.push_back(count);
    uiapp_c::OnIdle(count);
    if (count == 0 && frame.exists())
      toolbarenabledatidle = SendMessageA(frame.toolbar.control(), TB_ISBUTTONENABLED, ID_DELETE, 0) != 0;
    return count < idlesteps;
  }
};

TEST(AppTest, RunStartsTheProgramAndEndsWhenTheMainFrameCloses) {
  testapp_c app;
  int code = app.run(GetModuleHandleA(nullptr), "-taskbar", SW_SHOWMINNOACTIVE);
  EXPECT_EQ(app.exitseen, 0);   // the frame's end posted the quit
  EXPECT_EQ(code, 7);
  EXPECT_FALSE(app.frame.exists());
  EXPECT_STREQ(app.commandline(), "-taskbar");
  EXPECT_EQ(app.showcommand(), SW_SHOWMINNOACTIVE);
  // The title comes from the string table and names the message boxes.
  EXPECT_STREQ(app.title(), "Ravelink UI Test App");
  EXPECT_STREQ(messageboxcaption(), "Ravelink UI Test App");
  setmessageboxcaption("");
}

TEST(AppTest, AStartUpThatRefusesOrThrowsRunsNoLoop) {
  for (auto how : {testapp_c::refuses, testapp_c::throws}) {
    SCOPED_TRACE(how);
    testapp_c app;
    app.how = how;
    // Anything queued stays queued: no loop ran.
    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 5, 0, 0);
    EXPECT_EQ(app.run(nullptr, "", SW_SHOW), 7);
    EXPECT_EQ(app.exitseen, 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP + 5, WM_APP + 5, PM_REMOVE));
  }
  setmessageboxcaption("");
}

TEST(AppTest, TheIdleStepRunsWhenTheQueueIsEmptyAndUpdatesTheMainFrame) {
  testapp_c app;
  ASSERT_TRUE(app.frame.open());
  app.setmainframe(&app.frame);
  app.frame.deleteallowed = true;
  PostMessageA(app.frame.hwnd(), WM_NULL, 0, 0);
  EXPECT_TRUE(app.pumpmessages());
  // One idle step plus the ones asked for, counted from 0; the frame was updated in the first.
  EXPECT_EQ(app.idlecounts, (std::vector<long>{0, 1, 2, 3}));
  EXPECT_EQ(app.toolbarenabledatidle, 1);

  app.frame.deleteallowed = false;
  app.idlecounts.clear();
  app.idlesteps = 0;
  EXPECT_TRUE(app.pumpmessages());
  EXPECT_EQ(app.idlecounts, (std::vector<long>{0}));
  EXPECT_EQ(app.toolbarenabledatidle, 0);
  app.setmainframe(nullptr);
}

TEST(AppTest, TheLoopEndsWithTheQuitCode) {
  uiapp_c app;
  PostQuitMessage(42);
  EXPECT_FALSE(app.pumpmessages());
  EXPECT_EQ(app.exitcode(), 42);
  PostQuitMessage(3);
  EXPECT_EQ(app.messageloop(), 3);
}

TEST(AppTest, OnlyTheMainFrameEndsTheLoop) {
  uiapp_c app;
  testframe_c main, other;
  ASSERT_TRUE(main.open());
  ASSERT_TRUE(other.open());
  app.setmainframe(&other);
  app.setmainframe(&main);   // the earlier one no longer counts
  other.destroy();
  EXPECT_TRUE(app.pumpmessages());
  main.destroy();
  EXPECT_FALSE(app.pumpmessages());
  EXPECT_EQ(app.exitcode(), 0);
}

TEST(AppTest, TheProfileLiesUnderTheKeyNameAndTitle) {
  uitest::testkey_c key;
  uiapp_c app;
  app.settitle("Ravelink UI Test");
  EXPECT_FALSE(app.profile().haslocation());   // no key name yet
  app.setregistrykey(key.name.c_str());
  EXPECT_EQ(std::string(app.profile().rootpath()), key.software() + "\\Ravelink UI Test");
  ASSERT_TRUE(app.profile().writeint("Settings", "Probe", 1));
  EXPECT_TRUE(key.exists(key.software() + "\\Ravelink UI Test\\Settings"));
  setmessageboxcaption("");
}

}  // namespace
