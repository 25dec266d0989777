#pragma once
// The scanner of the mailbox root: one sub-directory per user, each with its mailbox.rlb. Finds a
// user's mailbox by account name or lists every valid mailbox. A sub-directory whose name begins
// with a dot, or whose mailbox file is missing, locked beyond the retry time or invalid, is passed
// over. One call looks at no more than 10000 directory entries (dot entries and files included).
#include <windows.h>

#include "mailstore/handles.h"
#include "mailstore/mailboxfile.h"

class mailboxdir_c {
public:
  enum : int { ENTRYLIMIT = 10000 };

  // Opens each candidate; after a successful finduser, firstmailbox or nextmailbox it holds the
  // mailbox found.
  mailboxfile_c candidate;

  mailboxdir_c();
  mailboxdir_c(const mailboxdir_c&) = delete;
  mailboxdir_c& operator=(const mailboxdir_c&) = delete;

  // Path of the first mailbox whose loginname equals account, ignoring the case of letters; the
  // text belongs to the scanner until its next use. Null when none matches (or account is empty).
  const char* finduser(const char* root, const char* account);
  // The scanner's candidate at the first (next) valid mailbox, or null at the end.
  mailboxfile_c* firstmailbox(const char* root);
  mailboxfile_c* nextmailbox(const char* root);
  void endscan();

private:
  findhandle_c search;     // firstmailbox .. endscan
  WIN32_FIND_DATAA entry;  // the entry the search returned last

  // Looks at entries of a running search, the current one first, until a valid mailbox (that
  // matches account, when given) is open in candidate; at most ENTRYLIMIT entries.
  int walk(findhandle_c& find, WIN32_FIND_DATAA& current, const char* root, const char* account);
  int trycandidate(const char* root, const WIN32_FIND_DATAA& current);
};
