#pragma once
// The mailbox file's header (the user record) and the slot arithmetic of the file.
//
// Pure layout and decoding: no windows.h, so it also builds natively (unit tests, fuzzing).
// Every byte of a mailbox file comes from a share that anyone with access can write, so
// nothing here trusts it: decoding checks the size first and texts are read within their fields.
#include <cstddef>
#include <cstdint>

#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the on-disk integers are little-endian");
#endif

enum : uint32_t {
  MAILBOX_HEADERSIZE = 652,
  MAILBOX_SLOTSIZE = 1268,
  MAILBOX_VERSION = 3,
  MAILBOX_REVISION = 0,
  MAILBOX_NAMEMAX = 255,   // characters of mailboxname a new header receives
};

#pragma pack(push, 1)
struct mailboxheader {
  char magic[4];           // "RLB" and a NUL byte
  char mailboxname[256];   // the name other users route to; may end in "@ravelink"
  uint16_t revision;       // must be 0
  uint16_t version;        // must be 3
  uint32_t freehint;       // slot where the free-slot search starts; 0 reads as 1
  char loginname[64];      // owner's account name
  char password[320];      // owner's password at its start; the rest is not interpreted
};
#pragma pack(pop)

static_assert(sizeof(mailboxheader) == 652, "mailboxheader is 652 bytes");
static_assert(offsetof(mailboxheader, magic) == 0, "magic");
static_assert(offsetof(mailboxheader, mailboxname) == 4, "mailboxname");
static_assert(offsetof(mailboxheader, revision) == 260, "revision");
static_assert(offsetof(mailboxheader, version) == 262, "version");
static_assert(offsetof(mailboxheader, freehint) == 264, "freehint");
static_assert(offsetof(mailboxheader, loginname) == 268, "loginname");
static_assert(offsetof(mailboxheader, password) == 332, "password");

// What checkheader found. Anything but HEADER_OK is a file that open refuses.
enum headercheck {
  HEADER_OK = 0,
  HEADER_SHORT,      // fewer than 652 bytes: never accepted with undefined header bytes
  HEADER_MAGIC,      // not "RLB" as a NUL-terminated text (the fourth byte must be 0)
  HEADER_REVISION,   // revision is not 0
  HEADER_VERSION,    // version is not 3
};

// Checks size bytes as a header.
headercheck checkheader(const void* bytes, size_t size);
// Copies a valid header into out and returns 1; otherwise returns 0 and leaves out alone.
int decodeheader(const void* bytes, size_t size, mailboxheader* out);
// A new header: zeros, "RLB", the name cut to 255 characters, revision 0, version 3, freehint 1.
void initheader(mailboxheader* header, const char* name);
// freehint as the free-slot search reads it: 0 is 1.
uint32_t startslot(const mailboxheader& header);

// Slot n (n >= 1) starts at 652 + (n - 1) * 1268; -1 for n < 1, which names no slot.
int64_t slotoffset(int64_t n);
// Number of whole slots in a file of this size; a trailing remainder is not a slot.
int64_t slotsinfile(int64_t filesize);
