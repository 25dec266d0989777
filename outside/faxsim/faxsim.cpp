// Fax server stand-in: works on a real mailbox root the way the fax server does, following the
// store's sharing rules, so the Manager and the network connector can be watched end to end.
//
//   faxsim ROOT [--once] [--steps N] [--every MS] [--until-file PATH] [--fail-suffix DIGITS]
//               [--deliver LOGIN [COUNT]] [--log FILE]
//
//   ROOT               the mailbox root: one sub-directory with a mailbox.rlb per user
//   --once             one pass (or --steps N passes, one right after the other), then exit
//   --steps N          at most N passes; without --once the passes are still --every MS apart
//   --every MS         pause between two passes when running on (default 3000, at least 10)
//   --until-file PATH  run on until PATH exists (checked before every pass and during the pause)
//   --fail-suffix D    an outgoing fax whose number's digits end in D ends Failed instead of Sent
//   --deliver LOGIN [COUNT]
//                      before the first pass, add COUNT (default 1) received faxes, each with a
//                      one-page TIFF document, as Unread events to the mailbox of account LOGIN
//   --log FILE         append every action line to FILE as well
//
// A pass visits every mailbox below ROOT and moves each outgoing event in the server's hands one
// step: Pending -> Queued -> Working -> Sent (or Failed by the --fail-suffix rule). A Queued event
// with a requested send time waits until that time. The number is faxno of the recipient details
// file when the event names one, else recipientaddress. A route request (EV_ROUTE, in Pending,
// Queued or Working) is carried out in one pass: a copy with its body, recipient details and
// attachments goes to the mailbox whose mailboxname equals recipientaddress (letter case
// ignored) as an incoming Unread event from the requesting mailbox, and the request becomes Sent;
// with no such mailbox, or a side file that is missing or not a bare name, it becomes Failed.
// Incoming events and events in any other state are never touched.
//
// Output: one line per action on stdout, e.g. "queued jdoe slot 3", "sent jdoe slot 3",
// "failed jdoe slot 4: no answer from +49 30 1234513", "routed jdoe slot 5 to asmith slot 9",
// "delivered asmith slot 10" (mailboxes by their sub-directory's name). Exit code 0 on success,
// 1 when ROOT is no directory or --deliver found no mailbox for LOGIN, 2 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "outside/faxsim/faxserver.h"
#include "outside/faxsim/simlog.h"

namespace {

struct simoptions {
  std::string root;
  bool once = false;
  long steps = 0;           // 0: no limit (with --once: 1)
  long every = 3000;
  std::string untilfile;
  faxsimrules rules;
  std::string deliverlogin;
  long delivercount = 0;
  std::string logfile;
};

bool number(const char* text, long low, long high, long* out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  long v = strtol(text, &end, 10);
  if (*end || v < low || v > high) return false;
  *out = v;
  return true;
}

bool alldigits(const char* text) {
  if (!*text || strlen(text) > 60) return false;
  for (const char* p = text; *p; ++p)
    if (*p < '0' || *p > '9') return false;
  return true;
}

int usage(const char* why) {
  fprintf(stderr, "faxsim: %s\n", why);
  fprintf(stderr,
          "usage: faxsim ROOT [--once] [--steps N] [--every MS] [--until-file PATH] [--fail-suffix DIGITS]\n"
          "              [--deliver LOGIN [COUNT]] [--log FILE]\n");
  return 2;
}

bool exists(const std::string& path) { return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits ms milliseconds, or less when the until-file appears.
void pause(long ms, const std::string& untilfile) {
  DWORD start = GetTickCount();
  while (static_cast<long>(GetTickCount() - start) < ms) {
    if (exists(untilfile)) return;
    long left = ms - static_cast<long>(GetTickCount() - start);
    Sleep(static_cast<DWORD>(left < 50 ? (left > 0 ? left : 0) : 50));
  }
}

}  // namespace

int main(int argc, char** argv) {
  simoptions o;
  if (argc < 2 || argv[1][0] == '-') return usage("no mailbox root given");
  o.root = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    bool more = i + 1 < argc;
    if (a == "--once") {
      o.once = true;
    } else if (a == "--steps") {
      if (!more || !number(argv[++i], 1, 1000000, &o.steps)) return usage("--steps needs a number of passes");
    } else if (a == "--every") {
      if (!more || !number(argv[++i], 10, 86400000, &o.every)) return usage("--every needs milliseconds (10 or more)");
    } else if (a == "--until-file") {
      if (!more) return usage("--until-file needs a path");
      o.untilfile = argv[++i];
    } else if (a == "--fail-suffix") {
      if (!more || !alldigits(argv[i + 1])) return usage("--fail-suffix needs digits");
      o.rules.failsuffix = argv[++i];
    } else if (a == "--deliver") {
      if (!more) return usage("--deliver needs an account name");
      o.deliverlogin = argv[++i];
      o.delivercount = 1;
      if (i + 1 < argc && argv[i + 1][0] != '-' && !number(argv[i + 1], 1, 10000, &o.delivercount))
        return usage("--deliver COUNT must be 1 to 10000");
      if (i + 1 < argc && argv[i + 1][0] != '-') ++i;
    } else if (a == "--log") {
      if (!more) return usage("--log needs a file");
      o.logfile = argv[++i];
    } else {
      return usage(("unknown option " + a).c_str());
    }
  }

  simlog_c log;
  if (!o.logfile.empty() && !log.open(o.logfile.c_str())) {
    fprintf(stderr, "faxsim: cannot open the log %s\n", o.logfile.c_str());
    return 1;
  }
  faxserver_c server(o.root.c_str(), o.rules, log);
  if (!o.deliverlogin.empty()) {
    int added = server.deliver(o.deliverlogin.c_str(), static_cast<int>(o.delivercount));
    if (added < 0) {
      fprintf(stderr, "faxsim: no mailbox of account %s below %s\n", o.deliverlogin.c_str(), o.root.c_str());
      return 1;
    }
    if (added < o.delivercount) return 1;
  }

  long passes = o.steps > 0 ? o.steps : (o.once ? 1 : 0);
  for (long done = 0; passes == 0 || done < passes; ++done) {
    if (exists(o.untilfile)) break;
    if (done > 0 && !o.once) {
      pause(o.every, o.untilfile);
      if (exists(o.untilfile)) break;
    }
    if (server.pass() < 0) {
      fprintf(stderr, "faxsim: %s is no directory\n", o.root.c_str());
      return 1;
    }
  }
  return 0;
}
