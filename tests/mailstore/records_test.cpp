// The pure layouts and decoders: header checks, slot arithmetic, texts within their fields,
// bare names, the attachment count a reader walks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxheader.h"

namespace {

std::vector<unsigned char> validheader() {
  mailboxheader h;
  initheader(&h, "John Doe@ravelink");
  std::vector<unsigned char> bytes(sizeof h);
  memcpy(bytes.data(), &h, sizeof h);
  return bytes;
}

TEST(Records, StateTextsInOrder) {
  const char* expected[] = {"Pending", "Sent", "Unread", "Read", "Failed", "Queued", "Working", "Cancelled"};
  for (int i = 0; i < EVS_COUNT; ++i) EXPECT_STREQ(expected[i], eventstatetext(i)) << i;
  EXPECT_EQ(nullptr, eventstatetext(8));
  EXPECT_EQ(nullptr, eventstatetext(-1));
  EXPECT_EQ(4, EVS_FAILED);
  EXPECT_EQ(2, EVS_UNREAD);
}

TEST(Records, FlagBits) {
  const uint32_t bits[] = {EV_INCOMING, EV_HIGHRES, EV_COVERPAGE, EV_SCHEDULED,
                           EV_BODY,     EV_ROUTE,   EV_RECIPFILE, EV_RESUBMITTED};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(1u << i, bits[i]) << i;
}

TEST(Records, NewHeader) {
  mailboxheader h;
  memset(&h, 0xCC, sizeof h);
  initheader(&h, std::string(300, 'n').c_str());
  EXPECT_EQ(0, memcmp(h.magic, "RLB", 4));
  EXPECT_EQ(255, fieldlength(h.mailboxname, sizeof h.mailboxname));
  EXPECT_EQ(0, h.revision);
  EXPECT_EQ(3, h.version);
  EXPECT_EQ(1u, h.freehint);
  for (unsigned char c : h.loginname) EXPECT_EQ(0, c);
  for (unsigned char c : h.password) EXPECT_EQ(0, c);
}

TEST(Records, HeaderChecks) {
  auto good = validheader();
  EXPECT_EQ(HEADER_OK, checkheader(good.data(), good.size()));

  struct {
    const char* what;
    size_t offset;
    unsigned char value;
    headercheck expected;
  } cases[] = {
      {"fourth magic byte not 0", 3, 'X', HEADER_MAGIC},
      {"magic letter", 0, 'r', HEADER_MAGIC},
      {"revision 1", 260, 1, HEADER_REVISION},
      {"revision high byte", 261, 1, HEADER_REVISION},
      {"version 2", 262, 2, HEADER_VERSION},
      {"version 4", 262, 4, HEADER_VERSION},
  };
  for (const auto& c : cases) {
    auto bytes = good;
    bytes[c.offset] = c.value;
    EXPECT_EQ(c.expected, checkheader(bytes.data(), bytes.size())) << c.what;
  }
  // Bytes the check does not look at do not matter.
  auto other = good;
  other[264] = 0;
  other[400] = 'x';
  EXPECT_EQ(HEADER_OK, checkheader(other.data(), other.size()));
}

TEST(Records, ShortHeaderIsRefusedEvenWhenItsFirstFieldsAreValid) {
  auto good = validheader();
  for (size_t size : {size_t(0), size_t(4), size_t(264), size_t(651)})
    EXPECT_EQ(HEADER_SHORT, checkheader(good.data(), size)) << size;
  EXPECT_EQ(HEADER_SHORT, checkheader(nullptr, 652));
  mailboxheader out;
  memset(&out, 0x5A, sizeof out);
  EXPECT_EQ(0, decodeheader(good.data(), 651, &out));
  EXPECT_EQ(0x5A, static_cast<unsigned char>(out.magic[0])) << "a refused header leaves the output alone";
  EXPECT_EQ(1, decodeheader(good.data(), good.size(), &out));
  EXPECT_EQ(0, memcmp(&out, good.data(), sizeof out));
}

TEST(Records, SlotArithmetic) {
  EXPECT_EQ(652, slotoffset(1));
  EXPECT_EQ(1920, slotoffset(2));
  EXPECT_EQ(652 + 9999LL * 1268, slotoffset(10000));
  EXPECT_EQ(-1, slotoffset(0));
  EXPECT_EQ(-1, slotoffset(-5));
  EXPECT_EQ(652 + 2147483646LL * 1268, slotoffset(2147483647));
  EXPECT_EQ(0, slotsinfile(0));
  EXPECT_EQ(0, slotsinfile(652));
  EXPECT_EQ(0, slotsinfile(1919));
  EXPECT_EQ(1, slotsinfile(1920));
  EXPECT_EQ(1, slotsinfile(1920 + 100));
  mailboxheader h;
  initheader(&h, "x");
  h.freehint = 0;
  EXPECT_EQ(1u, startslot(h));
  h.freehint = 7;
  EXPECT_EQ(7u, startslot(h));
}

TEST(Records, DecodeEventNeedsAWholeSlot) {
  std::vector<unsigned char> bytes(1268, 0);
  bytes[16] = 'S';
  eventrecord r;
  memset(&r, 0x77, sizeof r);
  EXPECT_EQ(0, decodeevent(bytes.data(), 1267, &r));
  EXPECT_EQ(0x77, r.slotstate);
  EXPECT_EQ(1, decodeevent(bytes.data(), bytes.size(), &r));
  EXPECT_EQ('S', r.subject[0]);
  EXPECT_TRUE(eventinuse(r));
}

// Mend: a count outside 0..32 is walked as at most 32 entries, and as none when negative.
TEST(Records, AttachmentCountIsHeldWithinTheTable) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  struct {
    int stored;
    int walked;
  } cases[] = {{0, 0}, {1, 1}, {3, 3}, {32, 32}, {33, 32}, {100, 32}, {127, 32}, {-1, 0}, {-128, 0}};
  for (const auto& c : cases) {
    r.attachcount = static_cast<int8_t>(c.stored);
    EXPECT_EQ(c.walked, attachmentcount(r)) << c.stored;
  }
}

// Mend: a text without a terminator inside its field is read only within the field.
TEST(Records, TextsEndAtTheirField) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  memset(r.subject, 'S', sizeof r.subject);  // no terminator; coverpage follows directly
  strcpy(r.coverpage, "COVER");
  char out[600];
  EXPECT_EQ(256, fieldtext(r.subject, out, sizeof out));
  EXPECT_EQ(std::string(256, 'S'), out);
  EXPECT_EQ(nullptr, strstr(out, "COVER"));
  EXPECT_EQ(10, fieldtext(r.subject, out, 11)) << "the output size cuts too";
  EXPECT_EQ(256, fieldlength(r.subject, sizeof r.subject));
  EXPECT_EQ(5, fieldlength(r.coverpage, sizeof r.coverpage));
  EXPECT_NE(0u, eventproblems(r) & EVP_TEXT);
}

TEST(Records, SetFieldCutsAndZeroFills) {
  eventrecord r;
  memset(&r, 0xEE, sizeof r);
  setfield(r.subject, std::string(400, 'x').c_str(), EV_SUBJECTMAX);
  EXPECT_EQ(254, fieldlength(r.subject, sizeof r.subject));
  EXPECT_EQ(0, r.subject[254]);
  EXPECT_EQ(0, r.subject[255]);
  setfield(r.recipientname, std::string(100, 'y').c_str(), EV_TEXTMAX);
  EXPECT_EQ(62, fieldlength(r.recipientname, sizeof r.recipientname));
  EXPECT_EQ(0, r.recipientname[63]);
  setfield(r.bodyfile, nullptr);
  for (char c : r.bodyfile) EXPECT_EQ(0, c);
}

// Mend: a name taken from a record is a bare name, or it names no file.
TEST(Records, BareNames) {
  struct {
    const char* name;
    int bare;
  } cases[] = {
      {"03D27848.tif", 1},  {"BDY00002.BDY", 1},     {"a", 1},        {"123456789012345", 1},
      {"", 0},              {"..\\victim.txt", 0},   {"../victim", 0}, {"..", 0},
      {"a..b", 0},          {"sub\\file", 0},        {"sub/file", 0}, {"C:file.txt", 0},
      {"\\\\srv\\x", 0},    {"NUL", 0},              {"con.txt", 0},  {"Com1", 0},
      {"LPT9.tif", 0},      {"nul .txt", 0},         {"a*b", 0},      {"a?b", 0},
      {"a\"b", 0},          {"a<b", 0},              {"a|b", 0},      {"tab\there", 0},
      {"CONSOLE.txt", 1},   {"COM.txt", 1},          {".hidden", 1},  {"x.", 1},
  };
  for (const auto& c : cases) {
    char field[16] = {};
    strncpy(field, c.name, sizeof field - 1);
    EXPECT_EQ(c.bare, isbarename(field, sizeof field)) << c.name;
  }
  // Sixteen characters fill the field without a terminator: longer than a name may be.
  char full[16];
  memset(full, 'A', sizeof full);
  EXPECT_EQ(0, isbarename(full, sizeof full));
  char out[16];
  char ok[16] = "offer.tif";
  EXPECT_EQ(1, isbarename(ok, sizeof ok, out, sizeof out));
  EXPECT_STREQ("offer.tif", out);
}

TEST(Records, SideFileExtension) {
  struct {
    const char* source;
    const char* ext;
  } cases[] = {
      {"C:\\docs\\offer.tif", "tif"}, {"C:\\my.dir\\readme", "FAX"}, {"C:/my.dir/readme", "FAX"},
      {"D:readme", "FAX"},            {"x.", "FAX"},                 {"", "FAX"},
      {"a.b.Doc", "Doc"},             {"report.markdown", "markdo"}, {"C:\\a\\b.jpeg", "jpeg"},
  };
  for (const auto& c : cases) {
    char ext[16];
    sideextension(c.source, ext, sizeof ext);
    EXPECT_STREQ(c.ext, ext) << c.source;
  }
  char ext[16];
  sideextension(nullptr, ext, sizeof ext);
  EXPECT_STREQ("FAX", ext);
}

TEST(Records, ThirtyTwoAttachmentsFillTheRecord) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.attachcount = 32;
  for (int i = 0; i < 32; ++i) snprintf(r.attachments[i].name, sizeof r.attachments[i].name, "%08X.tif", i);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&r);
  EXPECT_EQ(bytes + 1268 - 16, reinterpret_cast<const unsigned char*>(r.attachments[31].name));
  EXPECT_EQ(0u, eventproblems(r) & (EVP_ATTACHCOUNT | EVP_ATTACHNAME));
}

TEST(Records, ProblemsOfARecord) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.day = 1;
  r.month = 1;
  EXPECT_EQ(0u, eventproblems(r));
  r.state = 8;
  r.flags = 0x100 | EV_BODY;
  r.attachcount = 40;
  strcpy(r.bodyfile, "..\\x");
  EXPECT_EQ(unsigned(EVP_STATE | EVP_FLAGS | EVP_ATTACHCOUNT | EVP_BODYNAME), eventproblems(r));
}

}  // namespace
