#pragma once
// The records, flags and result codes of the connector interface, shared by both connectors and
// by every host. The host owns the records; a connector only reads them (and fills cgwinfo).
// Layouts are those of the 32-bit interface; pointer fields take the platform's pointer size, so
// a 64-bit build of host and connector agrees on its own wider layout.
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define CGWAPI __stdcall
#else
#define CGWAPI
#endif

constexpr uint32_t CGW_HIGHRES = 0x01;
constexpr uint32_t CGW_SUBJECT = 0x02;
constexpr uint32_t CGW_BODY = 0x04;
constexpr uint32_t CGW_COVERPAGE = 0x08;
constexpr uint32_t CGW_SENDTIME = 0x10;

// Results of cgwSendMessageEx and cgwLogonEx.
enum : int32_t {
  CGWERR_OK = 0,
  CGWERR_SETTINGS = 1,         // SMTP: settings key missing, or the sender was refused
  CGWERR_LOGON = 2,            // network: logon failed
  CGWERR_ADDEVENT = 4,         // network: an event could not be added; SMTP: server unreachable/refused
  CGWERR_ATTACHCOPY = 9,       // an attachment could not be copied (or added to the mail)
  CGWERR_ATTACHMISSING = 10,   // an attachment file does not exist
  CGWERR_BODY = 11,            // the body text could not be written (or the mail text set)
  CGWERR_NORECIPIENTS = 13,    // network: the message has no recipients
  CGWERR_MAILBOXREFUSED = 16,  // SMTP: the fax mailbox address was refused
};

// Results of cgwAddressBook.
enum : int32_t {
  CGWAB_OK = 0,
  CGWAB_OTHER = 1,
  CGWAB_CANCELLED = 5,    // library result -2
  CGWAB_NOCALLBACK = 6,   // no host callback, or library result -4
  CGWAB_FAILED = 7,       // library result -3
};

struct cgwinfo {
  uint32_t reserved;
  char name[32];
  char description[256];
};

struct cgwrecipient {
  uint32_t reserved;
  char firstname[64];
  char company[256];
  char faxno[64];
  char lastname[64];
  char department[64];
  char email[64];
  char voice[64];
};

struct cgwattachment {
  uint32_t reserved;
  const char* path;
  uint32_t reserved2;
};

struct cgwmessage {
  uint32_t reserved;
  uint32_t flags;
  const char* subject;
  const char* body;
  const char* coverpage;
  const char* sendtime;
  uint32_t reserved2;
  uint32_t recipientcount;
  const cgwrecipient* recipients;
  uint32_t attachmentcount;
  const cgwattachment* attachments;
};

// Handed by the address book library to the selection callback, one per chosen entry.
struct abrecord {
  uint32_t reserved;
  const char* firstname;
  const char* lastname;
  const char* company;
  const char* department;
  const char* voice;
  const char* faxno;
  const char* email;
};

// The host's callback receives each picked recipient and the host's own value.
typedef int32_t(CGWAPI* cgwhostcallback)(const cgwrecipient* entry, intptr_t hostvalue);
// What the connector hands the address book library as "pair".
struct abpair {
  cgwhostcallback callback;
  intptr_t hostvalue;
};
typedef int32_t(CGWAPI* abselectcallback)(const abrecord* record, abpair* pair);
typedef int32_t(CGWAPI* RLABCheckMapi_t)();
typedef int32_t(CGWAPI* RLABSelectRec_t)(intptr_t owner, const char* title, abselectcallback callback, abpair* pair);

// The exports, ordinals 10 to 17.
typedef int32_t(CGWAPI* cgwGetCaps_t)(int32_t capability);
typedef int32_t(CGWAPI* cgwGetInfo_t)(cgwinfo* info);
typedef int32_t(CGWAPI* cgwLogon_t)(intptr_t, intptr_t);
typedef int32_t(CGWAPI* cgwLogonEx_t)(intptr_t, const char* user, const char* password, intptr_t);
typedef int32_t(CGWAPI* cgwLogoff_t)(intptr_t);
typedef int32_t(CGWAPI* cgwSendMessage_t)(intptr_t, intptr_t);
typedef int32_t(CGWAPI* cgwSendMessageEx_t)(intptr_t, const cgwmessage* message);
typedef int32_t(CGWAPI* cgwAddressBook_t)(intptr_t owner, intptr_t hostvalue, cgwhostcallback callback);

enum : int {
  CGWORD_GETCAPS = 10,
  CGWORD_GETINFO = 11,
  CGWORD_LOGON = 12,
  CGWORD_LOGONEX = 13,
  CGWORD_LOGOFF = 14,
  CGWORD_SENDMESSAGE = 15,
  CGWORD_SENDMESSAGEEX = 16,
  CGWORD_ADDRESSBOOK = 17,
};

static_assert(sizeof(cgwinfo) == 292, "cgwinfo");
static_assert(offsetof(cgwinfo, name) == 4 && offsetof(cgwinfo, description) == 36, "cgwinfo fields");
static_assert(sizeof(cgwrecipient) == 644, "cgwrecipient");
static_assert(offsetof(cgwrecipient, firstname) == 4 && offsetof(cgwrecipient, company) == 68 &&
                  offsetof(cgwrecipient, faxno) == 324 && offsetof(cgwrecipient, lastname) == 388 &&
                  offsetof(cgwrecipient, department) == 452 && offsetof(cgwrecipient, email) == 516 &&
                  offsetof(cgwrecipient, voice) == 580,
              "cgwrecipient fields");

// The 32-bit interface, byte for byte.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(cgwattachment) == 12 && offsetof(cgwattachment, path) == 4, "cgwattachment");
static_assert(sizeof(cgwmessage) == 44, "cgwmessage");
static_assert(offsetof(cgwmessage, flags) == 4 && offsetof(cgwmessage, subject) == 8 &&
                  offsetof(cgwmessage, body) == 12 && offsetof(cgwmessage, coverpage) == 16 &&
                  offsetof(cgwmessage, sendtime) == 20 && offsetof(cgwmessage, recipientcount) == 28 &&
                  offsetof(cgwmessage, recipients) == 32 && offsetof(cgwmessage, attachmentcount) == 36 &&
                  offsetof(cgwmessage, attachments) == 40,
              "cgwmessage fields");
static_assert(sizeof(abrecord) == 32 && offsetof(abrecord, firstname) == 4 && offsetof(abrecord, lastname) == 8 &&
                  offsetof(abrecord, company) == 12 && offsetof(abrecord, department) == 16 &&
                  offsetof(abrecord, voice) == 20 && offsetof(abrecord, faxno) == 24 && offsetof(abrecord, email) == 28,
              "abrecord");
#endif
