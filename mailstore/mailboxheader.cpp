#include "mailstore/mailboxheader.h"

#include <cstring>

headercheck checkheader(const void* bytes, size_t size) {
  if (!bytes || size < MAILBOX_HEADERSIZE) return HEADER_SHORT;
  mailboxheader h;
  memcpy(&h, bytes, sizeof h);
  if (memcmp(h.magic, "RLB", 4) != 0) return HEADER_MAGIC;
  if (h.revision != MAILBOX_REVISION) return HEADER_REVISION;
  if (h.version != MAILBOX_VERSION) return HEADER_VERSION;
  return HEADER_OK;
}

int decodeheader(const void* bytes, size_t size, mailboxheader* out) {
  if (!out || checkheader(bytes, size) != HEADER_OK) return 0;
  memcpy(out, bytes, sizeof *out);
  return 1;
}

void initheader(mailboxheader* header, const char* name) {
  if (!header) return;
  memset(header, 0, sizeof *header);
  memcpy(header->magic, "RLB", 4);
  if (name) {
    size_t n = strlen(name);
    if (n > MAILBOX_NAMEMAX) n = MAILBOX_NAMEMAX;
    memcpy(header->mailboxname, name, n);
  }
  header->revision = MAILBOX_REVISION;
  header->version = MAILBOX_VERSION;
  header->freehint = 1;
}

uint32_t startslot(const mailboxheader& header) { return header.freehint ? header.freehint : 1; }

int64_t slotoffset(int64_t n) {
  if (n < 1) return -1;
  return MAILBOX_HEADERSIZE + (n - 1) * static_cast<int64_t>(MAILBOX_SLOTSIZE);
}

int64_t slotsinfile(int64_t filesize) {
  if (filesize <= MAILBOX_HEADERSIZE) return 0;
  return (filesize - MAILBOX_HEADERSIZE) / MAILBOX_SLOTSIZE;
}
