// libFuzzer target for the mailbox store's pure decoders: the input is taken as a mailbox file
// (header, then slots) and, padded, as one record. Every reader must stay inside its record and
// every name it lets through must be a bare name; the sanitizers and the traps below check both.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxheader.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// Reads a field into an output of exactly the room the reader asks for, so ASan sees any overrun.
void readtext(const char* field, int size) {
  std::vector<char> out(static_cast<size_t>(size) + 1);
  int n = fieldtext(field, size, out.data(), static_cast<int>(out.size()));
  require(n >= 0 && n <= size);
  require(out[static_cast<size_t>(n)] == 0);
  require(static_cast<int>(strlen(out.data())) == n);
  require(fieldlength(field, size) >= n);
}

void checkname(const char* field, int size) {
  char name[EV_NAMEMAX + 1];
  if (!isbarename(field, size, name, sizeof name)) return;
  size_t n = strlen(name);
  require(n >= 1 && n <= EV_NAMEMAX);
  require(!strchr(name, '\\') && !strchr(name, '/') && !strchr(name, ':'));
  require(!strstr(name, ".."));
  require(memcmp(name, field, n) == 0);
}

void checkrecord(const eventrecord& r) {
  int count = attachmentcount(r);
  require(count >= 0 && count <= EV_MAXATTACH);
  if (r.attachcount >= 0 && r.attachcount <= EV_MAXATTACH) require(count == r.attachcount);
  readtext(r.subject, sizeof r.subject);
  readtext(r.coverpage, sizeof r.coverpage);
  readtext(r.recipientfile, sizeof r.recipientfile);
  readtext(r.sendername, sizeof r.sendername);
  readtext(r.senderaddress, sizeof r.senderaddress);
  readtext(r.recipientname, sizeof r.recipientname);
  readtext(r.recipientaddress, sizeof r.recipientaddress);
  readtext(r.bodyfile, sizeof r.bodyfile);
  checkname(r.bodyfile, sizeof r.bodyfile);
  checkname(r.recipientfile, sizeof r.recipientfile);
  for (int i = 0; i < count; ++i) {
    readtext(r.attachments[i].name, sizeof r.attachments[i].name);
    checkname(r.attachments[i].name, sizeof r.attachments[i].name);
  }
  const char* text = eventstatetext(r.state);
  require((text != nullptr) == (r.state < EVS_COUNT));
  unsigned problems = eventproblems(r);
  require(((problems & EVP_ATTACHCOUNT) != 0) == (r.attachcount < 0 || r.attachcount > EV_MAXATTACH));
  // The subject as if it were a source path handed to copyfilein.
  char subject[257];
  fieldtext(r.subject, subject, sizeof subject);
  char ext[EV_EXTMAX + 1];
  int n = sideextension(subject, ext, sizeof ext);
  require(n >= 1 && n <= EV_EXTMAX && static_cast<int>(strlen(ext)) == n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // As a mailbox file.
  mailboxheader h;
  memset(&h, 0xA5, sizeof h);
  headercheck check = checkheader(data, size);
  int valid = decodeheader(data, size, &h);
  require(valid == (check == HEADER_OK));
  if (size < MAILBOX_HEADERSIZE) require(check == HEADER_SHORT && !valid);
  if (valid) {
    require(memcmp(h.magic, "RLB", 4) == 0 && h.revision == 0 && h.version == 3);
    readtext(h.mailboxname, sizeof h.mailboxname);
    readtext(h.loginname, sizeof h.loginname);
    readtext(h.password, sizeof h.password);
    require(startslot(h) >= 1);
  }
  int64_t slots = slotsinfile(static_cast<int64_t>(size));
  for (int64_t n = 1; n <= slots && n <= 64; ++n) {
    int64_t at = slotoffset(n);
    require(at >= 0 && static_cast<size_t>(at) + MAILBOX_SLOTSIZE <= size);
    // A heap copy of exactly one slot: reading past the record is a heap overflow.
    std::vector<uint8_t> slot(data + at, data + at + MAILBOX_SLOTSIZE);
    eventrecord r;
    require(decodeevent(slot.data(), slot.size(), &r) == 1);
    checkrecord(r);
  }

  // As one record, padded with zeros.
  std::vector<uint8_t> padded(sizeof(eventrecord), 0);
  memcpy(padded.data(), data, size < padded.size() ? size : padded.size());
  eventrecord r;
  require(decodeevent(padded.data(), size, &r) == (size >= sizeof r ? 1 : 0));
  decodeevent(padded.data(), padded.size(), &r);
  checkrecord(r);
  return 0;
}
