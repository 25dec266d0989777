#pragma once
// The network connector: logs the Windows user on to his own mailbox on the shared mailbox store
// and turns a composed message into one pending fax event per recipient in that mailbox, each with
// its own copies of the attachments, body text and recipient details.
#include <windows.h>

#include "connectors/addressbook.h"
#include "connectors/cgw.h"
#include "mailstore/eventrecord.h"
#include "mailstore/mailboxdir.h"
#include "mailstore/mailboxfile.h"

class networkconnector_c {
public:
  enum : int { MSG_NOCONNECT = 1, MSG_NOUSER = 2 };

  char mailboxroot[512];
  char logontext[256];
  mailboxfile_c usermailbox;
  mailboxdir_c scanner;
  int loggedon;            // the user mailbox is bound
  addressbook_c addressbook;
  HMODULE self;

  networkconnector_c();
  networkconnector_c(const networkconnector_c&) = delete;
  networkconnector_c& operator=(const networkconnector_c&) = delete;

  // Called on the first export call: binds the address book next to the connector.
  void start(HMODULE module);

  int32_t getcaps(int32_t capability);
  int32_t getinfo(cgwinfo* info);
  int32_t logon(const char* user, const char* password);
  int32_t send(const cgwmessage* message);

  // The event a message makes for one recipient, before its side files: time now, flags, sender,
  // recipient, cover page and subject. Pure apart from the clock.
  void buildevent(const cgwmessage& message, const cgwrecipient& recipient, const SYSTEMTIME& now,
                  eventrecord* event) const;
  // The recipient details block of an entry.
  static void builddetails(const cgwrecipient& recipient, recipientdetails* details);
  // The send time text read in the user's locale into the event's date and time; all bits set
  // when it cannot be read.
  static void applysendtime(const char* text, eventrecord* event);

private:
  int32_t sendone(const cgwmessage& message, const cgwrecipient& recipient);
  int32_t faillogon(int message);
  void showmessage(int id, UINT icon);
};

// The process's connector.
networkconnector_c& theconnector();
