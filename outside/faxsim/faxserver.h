#pragma once
// The fax server as the mailbox store sees it: one pass over every mailbox below the root moves
// each outgoing event the server owns one step on (Pending -> Queued -> Working -> Sent or
// Failed), carries out route requests and, on demand, adds received faxes.
//
// Every change goes through mailboxfile_c, so the store's sharing rules hold: a mailbox's steps
// are made in one keep-open batch (nobody else can change the file between reading a record and
// writing it back), every record is written whole in one write, and side files are made before the
// record that names them. Everything read from the store is untrusted: texts are read within their
// fields and a file is opened only through a bare name in the mailbox's own directory.
#include <windows.h>

#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "outside/faxsim/simlog.h"

struct faxsimrules {
  std::string failsuffix;   // a fax number whose digits end in these fails; empty: none fails
};

class faxserver_c {
public:
  faxserver_c(const char* root, const faxsimrules& rules, simlog_c& log);
  faxserver_c(const faxserver_c&) = delete;
  faxserver_c& operator=(const faxserver_c&) = delete;

  // One pass over every mailbox of the root. The number of actions taken, or -1 when the root
  // is not a directory.
  int pass();
  // Adds count received faxes, each with a one-page TIFF, to the mailbox of the account login.
  // The number added; -1 when no mailbox belongs to login.
  int deliver(const char* login, int count);

  // The fax number an outgoing event is sent to: faxno of its recipient details file when it
  // names one that can be read, else recipientaddress.
  static void faxnumber(const mailboxfile_c& box, const eventrecord& record, char* out, int outsize);
  // 1 when the digits of number (blanks, '+', '-' and the like left out) end in suffix.
  static int endsindigits(const char* number, const char* suffix);

private:
  struct mailbox {
    std::string path;       // ...\DIR\mailbox.rlb
    std::string dirname;    // DIR, for the log
    char name[256];         // mailboxname, terminated
  };
  struct routejob {
    int slot;
    eventrecord request;    // as it was read; it is finished only while still unchanged
  };

  std::string root;
  faxsimrules rules;
  simlog_c& log;
  uint32_t seed;

  std::vector<mailbox> listmailboxes();
  int stepmailbox(const mailbox& box, std::vector<routejob>& routes);
  int route(const mailbox& from, const routejob& job, const std::vector<mailbox>& all);
  // Copies the request's side files into target's directory and adds the incoming copy there:
  // the new slot, 0 when the target could not take it now (try again later), -1 when the
  // request cannot be carried out (a side file that is missing or not a bare name).
  int deliverroute(const mailbox& from, mailboxfile_c& source, const eventrecord& request, mailboxfile_c& target);
  // Rewrites the request in its slot with a new state, but only if it is still what was read.
  int finishrequest(const mailbox& from, const routejob& job, uint8_t state);
  bool due(const eventrecord& record) const;
};
