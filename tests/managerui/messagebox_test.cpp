// The program's one message-box function: its caption, the test hook, and real boxes caught and
// answered through a CBT hook.
#include <gtest/gtest.h>

#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiapp.h"
#include "tests/managerui/testui.h"
#include "tests/managerui/uitesthelp.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
  void SetUp() override { setmessageboxcaption("Ravelink UI Test"); }
  void TearDown() override { setmessageboxcaption(""); }
};

TEST_F(MessageBoxTest, TheHookSeesWhatTheBoxWouldShowAndAnswersForIt) {
  uitest::boxanswer_c answer(IDNO);
  HWND owner = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  const struct {
    HWND owner;
    const char* text;
    UINT type;
    const char* caption;
    const char* seentext;
    const char* seencaption;
  } cases[] = {
      {owner, "Name of folder already exists.", MB_OK | MB_ICONEXCLAMATION, nullptr, "Name of folder already exists.",
       "Ravelink UI Test"},
      {nullptr, "Some events in your mailbox failed.", MB_OK | MB_ICONINFORMATION, "Ravelink",
       "Some events in your mailbox failed.", "Ravelink"},
      {owner, nullptr, MB_YESNO, nullptr, "", "Ravelink UI Test"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seentext);
    size_t before = answer.boxes.size();
    EXPECT_EQ(managermessagebox(c.owner, c.text, c.type, c.caption), IDNO);
    ASSERT_EQ(answer.boxes.size(), before + 1);
    const auto& seen = answer.boxes.back();
    EXPECT_EQ(seen.owner, c.owner);
    EXPECT_EQ(seen.text, c.seentext);
    EXPECT_EQ(seen.caption, c.seencaption);
    EXPECT_EQ(seen.type, c.type);
  }
  DestroyWindow(owner);
}

TEST_F(MessageBoxTest, TextsByIdComeFromTheStringTable) {
  uitest::boxanswer_c answer(IDOK);
  managermessageboxid(nullptr, ID_SENT, MB_OK);
  managermessageboxid(nullptr, 4711, MB_OK);   // no such string: an empty box, not garbage
  ASSERT_EQ(answer.boxes.size(), 2u);
  EXPECT_EQ(answer.boxes[0].text, "Toggles display of sent events\nToggle Sent events (Ctrl+S)");
  EXPECT_EQ(answer.boxes[1].text, "");
}

TEST_F(MessageBoxTest, HooksNestAndTheOuterOneComesBack) {
  uitest::boxanswer_c outer(IDYES);
  {
    uitest::boxanswer_c inner(IDCANCEL);
    EXPECT_EQ(managermessagebox(nullptr, "inner", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(outer.boxes.size(), 0u);
  }
  EXPECT_EQ(managermessagebox(nullptr, "outer", MB_YESNO), IDYES);
  EXPECT_EQ(outer.boxes.size(), 1u);
}

TEST_F(MessageBoxTest, AnAnswerThatThrowsCountsAsNoBox) {
  messageboxanswer_t before =
      setmessageboxanswer([](HWND, const char*, const char*, UINT) -> int { throw std::runtime_error("no"); });
  EXPECT_EQ(managermessagebox(nullptr, "x", MB_OK), 0);
  setmessageboxanswer(before);
}

TEST_F(MessageBoxTest, TheApplicationsTitleIsTheCaption) {
  uitest::boxanswer_c answer(IDOK);
  uiapp_c app;
  app.settitle("Ravelink Manager");
  managermessagebox(nullptr, "x", MB_OK);
  ASSERT_EQ(answer.boxes.size(), 1u);
  EXPECT_EQ(answer.boxes[0].caption, "Ravelink Manager");
}

// Without the hook the system shows a real box; a CBT hook catches and answers it.
TEST_F(MessageBoxTest, ARealBoxShowsTextAndCaptionAndReturnsTheButton) {
  uitest::msgboxcatcher_c catcher(IDNO);
  ASSERT_TRUE(catcher.installed());
  HWND owner = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(managermessagebox(owner, "This operation will delete all the mails in the folder!",
                              MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2),
            IDNO);
  // An owner that has gone away: the box is still shown, without an owner.
  DestroyWindow(owner);
  catcher.answer = IDOK;
  EXPECT_EQ(managermessagebox(owner, "Your user name was not found.", MB_OK), IDOK);
  ASSERT_EQ(catcher.boxes.size(), 2u);
  EXPECT_EQ(catcher.boxes[0].caption, "Ravelink UI Test");
  EXPECT_EQ(catcher.boxes[0].text, "This operation will delete all the mails in the folder!");
  EXPECT_EQ(catcher.boxes[0].owner, owner);
  EXPECT_EQ(catcher.boxes[1].text, "Your user name was not found.");
  EXPECT_EQ(catcher.boxes[1].owner, nullptr);
}

}  // namespace
