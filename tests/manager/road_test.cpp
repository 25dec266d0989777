// The road of one fax, end to end, with every program real: a composing program submits a fax
// through the network connector (cgwhost.exe loading Ravelink.cgw), the fax server simulator
// (faxsim.exe) sends it, the Manager's main window (in this process) shows and reports what
// happened, a received fax arrives, and a fax the user routes to a colleague reaches the
// colleague's mailbox through the server.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/mainframe.h"
#include "manager/res/resource.h"
#include "manager/ui/uiprofile.h"
#include "manager/ui/uiresource.h"
#include "tests/manager/mainframe_kit.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/childprocess.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"

using frametest::inisections_c;

namespace {

const DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

struct stored {
  int slot;
  eventrecord record;
};

std::vector<stored> events(const std::string& mailbox) {
  std::vector<stored> out;
  mailboxfile_c f;
  if (!f.open(mailbox.c_str())) return out;
  f.setkeepopen(1);
  eventrecord r;
  for (int slot = f.firstevent(&r); slot > 0; slot = f.nextevent(&r)) out.push_back({slot, r});
  f.setkeepopen(0);
  return out;
}

std::string field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }
#define FIELD(x) field((x), sizeof(x))

class RoadTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root.ok) << "no mailbox for the Windows user";
    colleaguedir = root.root.path() + "\\colleague";
    ASSERT_TRUE(makeusermailbox(colleaguedir, "colleague", "Colleague"));
    // Boxes would stop the test; the notifications are read from what they would have said.
    inisections_c::set("Options", "PopupNew", "1");
    inisections_c::set("Options", "PopupFailed", "1");
  }
  void TearDown() override { frame.reset(); }

  bool openframe() {
    frame = std::make_unique<CMainFrame>(profile, 6);
    bool ok = frame->load(IDR_MAINFRAME, frameStyle);
    uitest::pump();
    return ok;
  }
  CManListCtrl& list() { return frame->ListPane(); }
  void scan() {
    SendMessageA(frame->hwnd(), WM_TIMER, CMainFrame::ScanTimer, 0);
    uitest::pump();
  }
  // Row texts: state and subject, by the party column.
  std::set<std::string> rows() {
    std::set<std::string> out;
    for (int i = 0; i < list().itemcount(); ++i)
      out.insert(std::string(list().itemtext(i, 1).text()) + ": " + list().itemtext(i, 0).text() + " / " +
                 list().itemtext(i, 2).text());
    return out;
  }
  int faxsim(const std::string& options, std::string* output = nullptr) {
    return runsibling("faxsim.exe", inquotes(root.root.path()) + " " + options, output);
  }

  inisections_c ini;
  uitest::testkey_c key;
  uiprofile_c profile{key.name.c_str(), "Ravelink Manager"};
  frametest::mailboxroot_c root;
  std::string colleaguedir;
  uitest::boxanswer_c boxes;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(RoadTest, AFaxGoesFromTheComposerThroughTheServerToTheManagerAndOnToAColleague) {
  const std::string sent = uistring(IDS_STATE_SENT).text(), failed = uistring(IDS_STATE_FAILED).text(),
                    pending = uistring(IDS_STATE_PENDING).text(), unread = uistring(IDS_STATE_UNREAD).text();
  scratchdir_c work;
  std::string document = work.file("figures.txt");
  ASSERT_TRUE(writewhole(document, "Quarterly figures\r\n"));

  // A composing program hands the fax to the network connector: two recipients, one document.
  std::string output;
  ASSERT_EQ(0, runsibling("cgwhost.exe",
                          inquotes(siblingpath("Ravelink.cgw")) + " --logon ~ ~ --subject \"Figures\" --body \"See attached.\"" +
                              " --to \"Anna|Weber|Weber GmbH|+49 30 8812044\" --to \"Paul|Martin|Martin SARL|+33 1 44 55 66 13\"" +
                              " --attach " + inquotes(document),
                          &output))
      << output;

  // The Manager starts hidden (as from the notification area) on the Outbox.
  ASSERT_TRUE(openframe());
  frame->ShowOutbox();
  EXPECT_EQ(rows(), (std::set<std::string>{"Anna Weber: " + pending + " / Figures",
                                           "Paul Martin: " + pending + " / Figures"}))
      << "the submitted fax, once per recipient";

  // The server takes both through Queued and Working; the number ending in 13 does not answer.
  ASSERT_EQ(0, faxsim("--once --steps 3 --fail-suffix 13", &output)) << output;
  boxes.boxes.clear();
  scan();
  EXPECT_EQ(rows(), (std::set<std::string>{"Anna Weber: " + sent + " / Figures",
                                           "Paul Martin: " + failed + " / Figures"}));
  EXPECT_EQ(list().NewFailed(), 1);
  ASSERT_EQ(boxes.boxes.size(), 1u) << "one notification while hidden: the failed fax";
  EXPECT_EQ(boxes.boxes[0].text, uistring(IDS_NOTIFY_FAILED).text());
  boxes.boxes.clear();
  scan();
  EXPECT_TRUE(boxes.boxes.empty()) << "a failure is reported once";

  // A fax arrives for the user: the next scan reports it as new and unread, whichever
  // direction is on show.
  ASSERT_EQ(0, faxsim("--once --deliver " + inquotes(root.user) + " 1", &output)) << output;
  boxes.boxes.clear();
  scan();
  EXPECT_EQ(list().HasUnread(), 1);
  EXPECT_EQ(list().NewUnread(), 1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, uistring(IDS_NOTIFY_NEW).text());
  frame->ShowInbox();
  ASSERT_EQ(list().itemcount(), 1);
  EXPECT_EQ(list().itemtext(0, 0).text(), unread);

  // The user routes the received fax to a colleague, as the Route dialog does: the route
  // request goes into the user's own mailbox and the fax leaves the list.
  std::vector<stored> before = events(root.file);
  eventrecord received = {};
  for (const stored& s : before)
    if (s.record.flags & EV_INCOMING) received = s.record;
  ASSERT_GT(received.attachcount, 0);
  list().setitemstate(0, LVIS_SELECTED, LVIS_SELECTED);
  ASSERT_EQ(list().RouteTo("Colleague"), 1);
  list().DeleteSelected(0);
  list().Reload();
  EXPECT_EQ(list().itemcount(), 0);

  // The server carries the request out: the fax is in the colleague's mailbox as a new
  // incoming event with its document, and the request is done.
  ASSERT_EQ(0, faxsim("--once", &output)) << output;
  std::vector<stored> theirs = events(colleaguedir + "\\mailbox.rlb");
  ASSERT_EQ(theirs.size(), 1u);
  const eventrecord& arrived = theirs[0].record;
  EXPECT_NE(arrived.flags & EV_INCOMING, 0u);
  EXPECT_EQ(arrived.state, EVS_UNREAD);
  EXPECT_EQ(FIELD(arrived.subject), FIELD(received.subject));
  ASSERT_EQ(arrived.attachcount, received.attachcount);
  std::string copied = FIELD(arrived.attachments[0].name);
  ASSERT_FALSE(copied.empty());
  std::string copy = readwhole(colleaguedir + "\\" + copied);
  EXPECT_GT(copy.size(), 8u);
  EXPECT_EQ(copy.substr(0, 2), "II") << "a TIFF document";
  int requests = 0;
  for (const stored& s : events(root.file)) {
    if (!(s.record.flags & EV_ROUTE)) continue;
    ++requests;
    EXPECT_EQ(s.record.state, EVS_SENT);
    EXPECT_EQ(FIELD(s.record.recipientaddress), "Colleague");
  }
  EXPECT_EQ(requests, 1);
}

}  // namespace
