#pragma once
// One fax event as it lies in a slot of the mailbox file, its attachment table and the recipient
// details side file; flags, states and the safe readers for the texts and names in a record.
//
// Pure layout and decoding: no windows.h, so it also builds natively (unit tests, fuzzing).
// A record is whatever somebody with access to the share wrote, so every reader here stays inside
// the record: texts end at their field even without a terminator, the attachment table is walked
// for at most 32 entries, and a file name is used only when it is a bare name.
#include <cstddef>
#include <cstdint>

#include "mailstore/mailboxheader.h"

// flags
enum : uint32_t {
  EV_INCOMING = 0x01,     // received: Inbox; absent: outgoing, Outbox
  EV_HIGHRES = 0x02,      // send in high resolution
  EV_COVERPAGE = 0x04,    // coverpage names a cover page
  EV_SCHEDULED = 0x08,    // the date and time is a requested send time
  EV_BODY = 0x10,         // bodyfile names a message body file
  EV_ROUTE = 0x20,        // route request to the mailbox named in recipientaddress
  EV_RECIPFILE = 0x40,    // recipientfile names a recipient details file
  EV_RESUBMITTED = 0x80,  // the owner resubmitted the event
  EV_ALLFLAGS = 0xFF,
};

// state, in this order (the Manager's string table entries 106 to 113 hold the same texts)
enum : uint8_t {
  EVS_PENDING = 0,
  EVS_SENT = 1,
  EVS_UNREAD = 2,
  EVS_READ = 3,
  EVS_FAILED = 4,
  EVS_QUEUED = 5,
  EVS_WORKING = 6,
  EVS_CANCELLED = 7,
  EVS_COUNT = 8,
};

enum : int {
  EV_MAXATTACH = 32,
  EV_TEXTMAX = 62,      // characters this system writes into a 64-byte text field
  EV_SUBJECTMAX = 254,  // characters this system writes into subject
  EV_NAMEMAX = 15,      // characters of a side-file name (16 bytes with the terminator)
  EV_EXTMAX = 6,        // extension of a "%08lX.%s" name that still fits EV_NAMEMAX
};

enum : uint8_t { SLOT_INUSE = 0, SLOT_FREE = 1 };

#pragma pack(push, 1)
struct attachmententry {
  uint8_t reserved[4];
  char name[16];        // bare file name in the mailbox directory; empty names no file
};

struct eventrecord {
  uint8_t slotstate;    // 0 in use, 1 free
  uint8_t reserved1[3];
  uint32_t flags;
  uint8_t state;        // EVS_*
  uint8_t aux;          // the fax server's; carried over on copies
  uint8_t day;
  uint8_t month;
  uint16_t year;
  uint8_t hour;
  uint8_t minute;
  char subject[256];
  char coverpage[64];
  char recipientfile[16];
  char sendername[64];
  char senderaddress[64];
  char recipientname[64];
  char recipientaddress[64];
  char bodyfile[16];
  int8_t attachcount;   // used entries of attachments; read through attachmentcount()
  uint8_t reserved2[3];
  attachmententry attachments[32];
};

struct recipientdetails {
  uint8_t reserved[8];
  char firstname[64];
  char company[256];
  char faxno[64];
  char lastname[64];
  char department[64];
  char email[64];
  char voice[64];
};
#pragma pack(pop)

static_assert(sizeof(attachmententry) == 20, "attachmententry is 20 bytes");
static_assert(offsetof(attachmententry, reserved) == 0, "reserved");
static_assert(offsetof(attachmententry, name) == 4, "name");

static_assert(sizeof(eventrecord) == MAILBOX_SLOTSIZE, "eventrecord fills one slot of 1268 bytes");
static_assert(offsetof(eventrecord, slotstate) == 0, "slotstate");
static_assert(offsetof(eventrecord, reserved1) == 1, "reserved1");
static_assert(offsetof(eventrecord, flags) == 4, "flags");
static_assert(offsetof(eventrecord, state) == 8, "state");
static_assert(offsetof(eventrecord, aux) == 9, "aux");
static_assert(offsetof(eventrecord, day) == 10, "day");
static_assert(offsetof(eventrecord, month) == 11, "month");
static_assert(offsetof(eventrecord, year) == 12, "year");
static_assert(offsetof(eventrecord, hour) == 14, "hour");
static_assert(offsetof(eventrecord, minute) == 15, "minute");
static_assert(offsetof(eventrecord, subject) == 16, "subject");
static_assert(offsetof(eventrecord, coverpage) == 272, "coverpage");
static_assert(offsetof(eventrecord, recipientfile) == 336, "recipientfile");
static_assert(offsetof(eventrecord, sendername) == 352, "sendername");
static_assert(offsetof(eventrecord, senderaddress) == 416, "senderaddress");
static_assert(offsetof(eventrecord, recipientname) == 480, "recipientname");
static_assert(offsetof(eventrecord, recipientaddress) == 544, "recipientaddress");
static_assert(offsetof(eventrecord, bodyfile) == 608, "bodyfile");
static_assert(offsetof(eventrecord, attachcount) == 624, "attachcount");
static_assert(offsetof(eventrecord, reserved2) == 625, "reserved2");
static_assert(offsetof(eventrecord, attachments) == 628, "attachments");
static_assert(offsetof(eventrecord, attachments) + EV_MAXATTACH * sizeof(attachmententry) == sizeof(eventrecord),
              "the attachment table ends with the record");

static_assert(sizeof(recipientdetails) == 648, "recipientdetails is 648 bytes");
static_assert(offsetof(recipientdetails, reserved) == 0, "reserved");
static_assert(offsetof(recipientdetails, firstname) == 8, "firstname");
static_assert(offsetof(recipientdetails, company) == 72, "company");
static_assert(offsetof(recipientdetails, faxno) == 328, "faxno");
static_assert(offsetof(recipientdetails, lastname) == 392, "lastname");
static_assert(offsetof(recipientdetails, department) == 456, "department");
static_assert(offsetof(recipientdetails, email) == 520, "email");
static_assert(offsetof(recipientdetails, voice) == 584, "voice");

// "Pending" .. "Cancelled" for 0 .. 7; null for any other value.
const char* eventstatetext(int state);

// Copies a slot's bytes into out: 1 when size holds a whole record, else 0 and out is untouched.
int decodeevent(const void* bytes, size_t size, eventrecord* out);
// 1 when the record's slot is in use (slotstate 0).
inline int eventinuse(const eventrecord& rec) { return rec.slotstate == SLOT_INUSE; }

// The number of attachment entries to walk: attachcount held to 0 .. 32 (negative gives 0).
int attachmentcount(const eventrecord& rec);

// Length of a text field: up to its terminator, or the whole field when there is none.
int fieldlength(const char* field, int fieldsize);
// Copies a text field into out (at most outsize - 1 characters, always terminated when
// outsize > 0); never reads past the field. The result is the number of characters copied.
int fieldtext(const char* field, int fieldsize, char* out, int outsize);
// Fills a field with zeros and copies the text into it, cut to maxchars characters and to
// fieldsize - 1; a null text leaves the field empty.
void setfieldtext(char* field, int fieldsize, const char* text, int maxchars);
template <size_t N>
inline void setfield(char (&field)[N], const char* text, int maxchars = static_cast<int>(N) - 1) {
  setfieldtext(field, static_cast<int>(N), text, maxchars);
}
template <size_t N>
inline int fieldtext(const char (&field)[N], char* out, int outsize) {
  return fieldtext(field, static_cast<int>(N), out, outsize);
}

// 1 when the field holds a bare file name that may be opened in the mailbox directory:
// 1 to 15 characters before a terminator inside the field, no '\\', '/', ':' or "..", no
// wildcard or control characters, and not a device name (CON, NUL, COM1, ...). Anything else
// names no file. The name goes to out (at least 16 bytes) when out is given.
int isbarename(const char* field, int fieldsize, char* out = nullptr, int outsize = 0);

// The extension a side file copied from source gets: the text after the last dot of the
// source's file name part (after its last '\\', '/' or ':'), cut to EV_EXTMAX characters;
// "FAX" when the file name has no dot or nothing after it. Returns the extension's length.
int sideextension(const char* source, char* ext, int extsize);

// What is unusual about a record (0 when nothing is). Readers still handle such records; the
// bits tell tests and diagnostics what a record holds.
enum : unsigned {
  EVP_SLOTSTATE = 0x001,    // slotstate neither 0 nor 1
  EVP_FLAGS = 0x002,        // bits above EV_RESUBMITTED
  EVP_STATE = 0x004,        // state above 7
  EVP_ATTACHCOUNT = 0x008,  // attachcount outside 0 .. 32
  EVP_TEXT = 0x010,         // a text field without a terminator inside it
  EVP_BODYNAME = 0x020,     // EV_BODY set but bodyfile is no bare name
  EVP_RECIPNAME = 0x040,    // EV_RECIPFILE set but recipientfile is no bare name
  EVP_ATTACHNAME = 0x080,   // a used attachment entry whose name is neither empty nor bare
  EVP_DATE = 0x100,         // day, month, hour or minute out of range
};
unsigned eventproblems(const eventrecord& rec);
