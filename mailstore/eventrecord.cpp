#include "mailstore/eventrecord.h"

#include <cstring>

namespace {

const char* const statetexts[EVS_COUNT] = {"Pending", "Sent",   "Unread",  "Read",
                                           "Failed",  "Queued", "Working", "Cancelled"};

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Names the system maps to devices in every directory; opening "dir\\NUL.txt" opens NUL.
int isdevicename(const char* name, int length) {
  // The base is the text before the first dot, without trailing blanks.
  int base = 0;
  while (base < length && name[base] != '.') ++base;
  while (base > 0 && name[base - 1] == ' ') --base;
  char up[8];
  if (base < 3 || base > 7) return 0;
  for (int i = 0; i < base; ++i) up[i] = upper(name[i]);
  up[base] = 0;
  static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : devices)
    if (strcmp(up, d) == 0) return 1;
  if (base == 4 && (memcmp(up, "COM", 3) == 0 || memcmp(up, "LPT", 3) == 0) && up[3] >= '0' && up[3] <= '9')
    return 1;
  return 0;
}

}  // namespace

const char* eventstatetext(int state) {
  if (state < 0 || state >= EVS_COUNT) return nullptr;
  return statetexts[state];
}

int decodeevent(const void* bytes, size_t size, eventrecord* out) {
  if (!bytes || !out || size < sizeof(eventrecord)) return 0;
  memcpy(out, bytes, sizeof *out);
  return 1;
}

int attachmentcount(const eventrecord& rec) {
  int n = rec.attachcount;
  if (n < 0) return 0;
  if (n > EV_MAXATTACH) return EV_MAXATTACH;
  return n;
}

int fieldlength(const char* field, int fieldsize) {
  if (!field || fieldsize <= 0) return 0;
  const void* end = memchr(field, 0, static_cast<size_t>(fieldsize));
  return end ? static_cast<int>(static_cast<const char*>(end) - field) : fieldsize;
}

int fieldtext(const char* field, int fieldsize, char* out, int outsize) {
  if (!out || outsize <= 0) return 0;
  int n = fieldlength(field, fieldsize);
  if (n > outsize - 1) n = outsize - 1;
  if (n > 0) memcpy(out, field, static_cast<size_t>(n));
  out[n] = 0;
  return n;
}

void setfieldtext(char* field, int fieldsize, const char* text, int maxchars) {
  if (!field || fieldsize <= 0) return;
  memset(field, 0, static_cast<size_t>(fieldsize));
  if (!text) return;
  int limit = fieldsize - 1;
  if (maxchars >= 0 && maxchars < limit) limit = maxchars;
  size_t n = strlen(text);
  if (n > static_cast<size_t>(limit)) n = static_cast<size_t>(limit);
  memcpy(field, text, n);
}

int isbarename(const char* field, int fieldsize, char* out, int outsize) {
  if (out && outsize > 0) out[0] = 0;
  if (!field || fieldsize <= 0) return 0;
  const void* end = memchr(field, 0, static_cast<size_t>(fieldsize));
  if (!end) return 0;  // no terminator inside the field: longer than the field allows
  int n = static_cast<int>(static_cast<const char*>(end) - field);
  if (n < 1 || n > EV_NAMEMAX) return 0;
  for (int i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(field[i]);
    if (c < 0x20 || c == 0x7F) return 0;
    if (strchr("\\/:*?\"<>|", c)) return 0;
    if (c == '.' && i + 1 < n && field[i + 1] == '.') return 0;
  }
  if (isdevicename(field, n)) return 0;
  if (out) {
    if (outsize <= n) return 0;
    memcpy(out, field, static_cast<size_t>(n));
    out[n] = 0;
  }
  return 1;
}

int sideextension(const char* source, char* ext, int extsize) {
  if (!ext || extsize <= 0) return 0;
  ext[0] = 0;
  const char* name = source ? source : "";
  for (const char* p = name; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  const char* dot = strrchr(name, '.');
  const char* from = (dot && dot[1]) ? dot + 1 : "FAX";
  int n = static_cast<int>(strlen(from));
  if (n > EV_EXTMAX) n = EV_EXTMAX;
  if (n > extsize - 1) n = extsize - 1;
  memcpy(ext, from, static_cast<size_t>(n));
  ext[n] = 0;
  return n;
}

unsigned eventproblems(const eventrecord& rec) {
  unsigned p = 0;
  if (rec.slotstate != SLOT_INUSE && rec.slotstate != SLOT_FREE) p |= EVP_SLOTSTATE;
  if (rec.flags & ~static_cast<uint32_t>(EV_ALLFLAGS)) p |= EVP_FLAGS;
  if (rec.state >= EVS_COUNT) p |= EVP_STATE;
  if (rec.attachcount < 0 || rec.attachcount > EV_MAXATTACH) p |= EVP_ATTACHCOUNT;
  const struct {
    const char* field;
    int size;
  } texts[] = {{rec.subject, sizeof rec.subject},
               {rec.coverpage, sizeof rec.coverpage},
               {rec.recipientfile, sizeof rec.recipientfile},
               {rec.sendername, sizeof rec.sendername},
               {rec.senderaddress, sizeof rec.senderaddress},
               {rec.recipientname, sizeof rec.recipientname},
               {rec.recipientaddress, sizeof rec.recipientaddress},
               {rec.bodyfile, sizeof rec.bodyfile}};
  for (const auto& t : texts)
    if (fieldlength(t.field, t.size) == t.size) p |= EVP_TEXT;
  if ((rec.flags & EV_BODY) && !isbarename(rec.bodyfile, sizeof rec.bodyfile)) p |= EVP_BODYNAME;
  if ((rec.flags & EV_RECIPFILE) && !isbarename(rec.recipientfile, sizeof rec.recipientfile)) p |= EVP_RECIPNAME;
  int count = attachmentcount(rec);
  for (int i = 0; i < count; ++i) {
    const char* name = rec.attachments[i].name;
    if (fieldlength(name, sizeof rec.attachments[i].name) == 0) continue;
    if (!isbarename(name, sizeof rec.attachments[i].name)) p |= EVP_ATTACHNAME;
  }
  if (rec.day < 1 || rec.day > 31 || rec.month < 1 || rec.month > 12 || rec.hour > 23 || rec.minute > 59)
    p |= EVP_DATE;
  return p;
}
