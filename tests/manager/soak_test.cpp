// One mailbox shared by everybody at once for most of a minute: eight composing programs
// submitting faxes through the network connector (each submission its own cgwhost.exe), the fax
// server simulator making a pass every 200 ms, and the Manager's event list reloading every
// 200 ms. At the end every submitted fax is there exactly once, whole, in the state the server's
// rule gives it, with its document beside it, the Manager shows each of them once, and no
// operation of anybody failed.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/mainframe.h"
#include "manager/res/resource.h"
#include "manager/ui/uiprofile.h"
#include "tests/manager/mainframe_kit.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/childprocess.h"
#include "tests/support/testsupport.h"

using frametest::inisections_c;

namespace {

const DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const int SUBMITTERS = 8;
const DWORD SUBMITMS = 40000;   // how long the submitters keep submitting
const DWORD RELOADMS = 200;

// Submitter s's fax k: every fifth goes to a number ending in 13, which the server fails.
bool mustfail(int k) { return k % 5 == 4; }
std::string subjectof(int s, int k) { return "soak " + std::to_string(s) + "-" + std::to_string(k); }

std::string field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }
#define FIELD(x) field((x), sizeof(x))

TEST(SoakTest, SubmittersTheServerAndTheManagerShareOneMailbox) {
  inisections_c ini;
  frametest::mailboxroot_c root;
  ASSERT_TRUE(root.ok) << "no mailbox for the Windows user";
  // The notifications would only stop the test with message boxes.
  inisections_c::set("Options", "PopupNew", "0");
  inisections_c::set("Options", "PopupFailed", "0");
  uitest::testkey_c key;
  uiprofile_c profile{key.name.c_str(), "Ravelink Manager"};
  uitest::boxanswer_c boxes;

  scratchdir_c work;
  std::string document = work.file("offer.tif");
  ASSERT_TRUE(writewhole(document, std::string(16 * 1024, 'F')));
  std::string stopfile = work.file("stop");

  auto frame = std::make_unique<CMainFrame>(profile, 6);
  ASSERT_TRUE(frame->load(IDR_MAINFRAME, frameStyle));
  CManListCtrl& list = frame->ListPane();
  frame->ShowOutbox();

  siblingprocess_c server;
  ASSERT_TRUE(server.start("faxsim.exe", inquotes(root.root.path()) + " --every 200 --fail-suffix 13 --until-file " +
                                             inquotes(stopfile)));

  // Each submitter runs its own connector host, one fax after another, until the time is up.
  struct submitter {
    int submitted = 0;
    int failed = 0;
    std::string lastfailure;
  };
  std::vector<submitter> submitters(SUBMITTERS);
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
  for (int s = 0; s < SUBMITTERS; ++s) {
    threads.emplace_back([&, s] {
      for (int k = 0; !stop; ++k) {
        std::string fax = "+49 30 " + std::to_string(s) + std::to_string(k) + (mustfail(k) ? "13" : "00");
        std::string output;
        int code = runsibling("cgwhost.exe",
                              inquotes(siblingpath("Ravelink.cgw")) + " --logon ~ ~ --subject " +
                                  inquotes(subjectof(s, k)) + " --to " + inquotes("Soak|" + std::to_string(s) + "||" + fax) +
                                  " --attach " + inquotes(document),
                              &output);
        if (code == 0) {
          ++submitters[s].submitted;
        } else {
          ++submitters[s].failed;
          submitters[s].lastfailure = output;
        }
      }
    });
  }

  // The Manager reloads every 200 ms while they work.
  int reloads = 0, failedreloads = 0;
  double slowest = 0;
  auto started = std::chrono::steady_clock::now();
  auto elapsedms = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
  };
  while (elapsedms() < SUBMITMS) {
    auto before = std::chrono::steady_clock::now();
    if (!list.Reload()) ++failedreloads;
    double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    if (took > slowest) slowest = took;
    ++reloads;
    uitest::pump();
    Sleep(RELOADMS);
  }
  stop = true;
  for (std::thread& t : threads) t.join();

  int submitted = 0, failedsubmissions = 0;
  for (const submitter& s : submitters) {
    submitted += s.submitted;
    failedsubmissions += s.failed;
    EXPECT_EQ(s.failed, 0) << s.lastfailure;
  }

  // The server finishes what is left: three passes take a fax to its end.
  auto unfinished = [&] {
    int left = 0;
    mailboxfile_c f;
    if (!f.open(root.file.c_str())) return -1;
    f.setkeepopen(1);
    eventrecord r;
    for (int slot = f.firstevent(&r); slot > 0; slot = f.nextevent(&r))
      if (r.state != EVS_SENT && r.state != EVS_FAILED) ++left;
    f.setkeepopen(0);
    return left;
  };
  for (int i = 0; i < 100 && unfinished() != 0; ++i) {
    if (!list.Reload()) ++failedreloads;
    ++reloads;
    uitest::pump();
    Sleep(RELOADMS);
  }
  ASSERT_TRUE(writewhole(stopfile, "stop"));
  EXPECT_EQ(server.wait(20000), 0) << "the simulator ends cleanly when told";

  // Every fax exactly once, whole, in its end state, with its document.
  std::map<std::string, int> seen;
  int broken = 0, wrongstate = 0, missingfiles = 0;
  {
    mailboxfile_c f;
    ASSERT_TRUE(f.open(root.file.c_str()));
    f.setkeepopen(1);
    eventrecord r;
    for (int slot = f.firstevent(&r); slot > 0; slot = f.nextevent(&r)) {
      std::string subject = FIELD(r.subject);
      ++seen[subject];
      int s = -1, k = -1;
      if (sscanf(subject.c_str(), "soak %d-%d", &s, &k) != 2 || (r.flags & EV_INCOMING) || r.attachcount != 1) {
        ++broken;
        continue;
      }
      if (r.state != (mustfail(k) ? EVS_FAILED : EVS_SENT)) ++wrongstate;
      std::string name = FIELD(r.attachments[0].name);
      if (name.empty() || GetFileAttributesA((root.dir + "\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES) ++missingfiles;
    }
    f.setkeepopen(0);
  }
  int doubled = 0;
  for (const auto& entry : seen)
    if (entry.second != 1) ++doubled;
  int missing = 0;
  for (int s = 0; s < SUBMITTERS; ++s)
    for (int k = 0; k < submitters[s].submitted; ++k)
      if (!seen.count(subjectof(s, k))) ++missing;

  list.Reload();
  printf("submitted %d faxes (%d failed submissions), %d reloads (%d failed, slowest %.0f ms); "
         "missing %d, doubled %d, broken %d, wrong state %d, missing documents %d; the Manager shows %d rows\n",
         submitted, failedsubmissions, reloads, failedreloads, slowest, missing, doubled, broken, wrongstate, missingfiles,
         list.itemcount());
  EXPECT_GT(submitted, SUBMITTERS) << "every submitter got through more than once";
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(doubled, 0);
  EXPECT_EQ(broken, 0);
  EXPECT_EQ(wrongstate, 0);
  EXPECT_EQ(missingfiles, 0);
  EXPECT_EQ(failedreloads, 0);
  EXPECT_EQ(list.itemcount(), submitted) << "the Manager shows each fax once";
  frame.reset();
}

}  // namespace
