// Side files of events: naming, copying in, writing, deleting; names from records that must
// not reach a file call; create-new semantics when a name is taken after it was chosen.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "mailstore/mailboxfile.h"
#include "mailstore/sidefiles.h"
#include "tests/mailstore/storetestkit.h"
#include "tests/support/testsupport.h"

using namespace storetest;

namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Eight upper-case hex digits, a dot and ext.
bool isuniquename(const std::string& name, const std::string& ext) {
  if (name.size() != 9 + ext.size() || name[8] != '.' || name.substr(9) != ext) return false;
  for (int i = 0; i < 8; ++i)
    if (!isxdigit(static_cast<unsigned char>(name[i])) || islower(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

class SideFiles : public ::testing::Test {
protected:
  scratchdir_c scratch;
  std::string box = scratch.file("jdoe");
  std::string mbx = box + "\\mailbox.rlb";
  mailboxfile_c f;

  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryA(box.c_str(), nullptr));
    ASSERT_EQ(1, f.create(mbx.c_str(), "John Doe@ravelink"));
  }
  std::string inbox(const std::string& name) const { return box + "\\" + name; }
  eventrecord read(int slot) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    EXPECT_EQ(1, f.readevent(&r, slot));
    return r;
  }
};

TEST_F(SideFiles, CopyFileInNaming) {
  std::string docs = scratch.file("docs");
  std::string mydir = scratch.file("my.dir");
  CreateDirectoryA(docs.c_str(), nullptr);
  CreateDirectoryA(mydir.c_str(), nullptr);
  ASSERT_TRUE(writewhole(docs + "\\offer.tif", "II*\0tiff bytes"));
  ASSERT_TRUE(writewhole(mydir + "\\readme", "read me"));

  char name[16];
  memset(name, 0x7F, sizeof name);
  ASSERT_EQ(1, f.copyfilein((docs + "\\offer.tif").c_str(), name));
  EXPECT_TRUE(isuniquename(name, "tif")) << name;
  EXPECT_EQ(readwhole(docs + "\\offer.tif"), readwhole(inbox(name)));

  ASSERT_EQ(1, f.copyfilein((mydir + "\\readme").c_str(), name));
  EXPECT_TRUE(isuniquename(name, "FAX")) << name;
  EXPECT_EQ("read me", readwhole(inbox(name)));

  char second[16];
  ASSERT_EQ(1, f.copyfilein((mydir + "\\readme").c_str(), second));
  EXPECT_STRNE(name, second) << "a second copy gets a name of its own";

  EXPECT_EQ(0, f.copyfilein(nullptr, name));
  EXPECT_EQ(0, f.copyfilein(scratch.file("missing.tif").c_str(), name));
  EXPECT_EQ(1, f.copyfilein((docs + "\\offer.tif").c_str(), nullptr)) << "the name output is optional";
}

TEST_F(SideFiles, LongExtensionIsCutToFitTheRecord) {
  std::string src = scratch.file("notes.markdown");
  ASSERT_TRUE(writewhole(src, "# notes"));
  char name[16];
  ASSERT_EQ(1, f.copyfilein(src.c_str(), name));
  EXPECT_TRUE(isuniquename(name, "markdo")) << name;
  EXPECT_EQ(15u, strlen(name));
  EXPECT_TRUE(exists(inbox(name)));
}

TEST_F(SideFiles, CopyOfAReadOnlySourceCanBeDeleted) {
  std::string src = scratch.file("ro.tif");
  ASSERT_TRUE(writewhole(src, "ro"));
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_READONLY);
  char name[16];
  ASSERT_EQ(1, f.copyfilein(src.c_str(), name));
  EXPECT_TRUE(DeleteFileA(inbox(name).c_str()));
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SideFiles, BodiesAndRecipientFiles) {
  std::string src = scratch.file("body.txt");
  ASSERT_TRUE(writewhole(src, "body from a file"));
  char name[16];
  ASSERT_EQ(1, f.copybodyin(src.c_str(), name));
  EXPECT_TRUE(isuniquename(name, "BDY")) << name;
  EXPECT_EQ("body from a file", readwhole(inbox(name)));

  ASSERT_EQ(1, f.writebodytext("Dear Sir,\r\nplease find attached.", name));
  EXPECT_TRUE(isuniquename(name, "BDY")) << name;
  EXPECT_EQ("Dear Sir,\r\nplease find attached.", readwhole(inbox(name))) << "no terminator";
  EXPECT_EQ(0, f.writebodytext(nullptr, name));

  recipientdetails d;
  memset(&d, 0, sizeof d);
  setfield(d.firstname, "Jane", EV_TEXTMAX);
  setfield(d.lastname, "Roe", EV_TEXTMAX);
  setfield(d.faxno, "+49 30 1234567", EV_TEXTMAX);
  ASSERT_EQ(1, f.writerecipientfile(&d, sizeof d, name));
  EXPECT_TRUE(isuniquename(name, "FRP")) << name;
  std::string bytes = readwhole(inbox(name));
  ASSERT_EQ(648u, bytes.size());
  EXPECT_EQ(0, memcmp(bytes.data(), &d, sizeof d));
  EXPECT_EQ(0, f.writerecipientfile(&d, 0, name));
  EXPECT_EQ(0, f.writerecipientfile(nullptr, 648, name));
}

TEST_F(SideFiles, NewBodyNameCounts) {
  char name[32], path[MAX_PATH];
  ASSERT_EQ(1, newbodyname(box.c_str(), "BDY", name, path, sizeof path));
  EXPECT_STREQ("BDY00000.BDY", name);
  EXPECT_EQ(inbox("BDY00000.BDY"), std::string(path));
  ASSERT_TRUE(writewhole(inbox("BDY00000.BDY"), "a"));
  ASSERT_TRUE(writewhole(inbox("BDY00001.BDY"), "b"));
  ASSERT_EQ(1, newbodyname((box + "\\").c_str(), "BDY", name, nullptr, 0));
  EXPECT_STREQ("BDY00002.BDY", name);
  EXPECT_FALSE(exists(inbox("BDY00002.BDY"))) << "only named, not created";
  EXPECT_EQ(0, newbodyname(nullptr, "BDY", name, path, sizeof path));
  EXPECT_EQ(0, newbodyname(box.c_str(), nullptr, name, path, sizeof path));
}

TEST_F(SideFiles, DeleteAttachments) {
  eventrecord r = makeevent("three");
  r.attachcount = 3;
  for (int i = 0; i < 3; ++i) {
    snprintf(r.attachments[i].name, sizeof r.attachments[i].name, "0000000%d.tif", i);
    ASSERT_TRUE(writewhole(inbox(r.attachments[i].name), "doc"));
  }
  ASSERT_TRUE(writewhole(inbox("00000003.tif"), "not named by the used entries"));
  strcpy(r.attachments[3].name, "00000003.tif");  // beyond attachcount
  int slot = f.addevent(&r);
  ASSERT_EQ(1, slot);
  ASSERT_EQ(1, f.deleteattachments(slot));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(exists(inbox("0000000" + std::to_string(i) + ".tif")));
  EXPECT_TRUE(exists(inbox("00000003.tif")));
  eventrecord after = read(slot);
  EXPECT_EQ(0, after.attachcount);
  for (int i = 0; i < 3; ++i)
    for (char c : after.attachments[i].name) EXPECT_EQ(0, c);
  EXPECT_STREQ("00000003.tif", after.attachments[3].name);

  // attachcount 0: only the record is rewritten, unchanged.
  std::string before = readwhole(mbx);
  EXPECT_EQ(1, f.deleteattachments(slot));
  EXPECT_EQ(before, readwhole(mbx));

  // A free or missing slot cannot be read.
  f.freeevent(slot);
  EXPECT_EQ(0, f.deleteattachments(slot));
  EXPECT_EQ(0, f.deleteattachments(7));
  EXPECT_EQ(0, f.isopen()) << "the operation let go of the file";
}

TEST_F(SideFiles, DeleteBodyAndRecipientFile) {
  eventrecord r = makeevent("with body");
  r.flags = EV_BODY | EV_RECIPFILE | EV_HIGHRES;
  strcpy(r.bodyfile, "0000AAAA.BDY");
  strcpy(r.recipientfile, "0000BBBB.FRP");
  ASSERT_TRUE(writewhole(inbox("0000AAAA.BDY"), "body"));
  ASSERT_TRUE(writewhole(inbox("0000BBBB.FRP"), std::string(648, '\0')));
  int slot = f.addevent(&r);
  ASSERT_EQ(1, f.deletebody(slot));
  EXPECT_FALSE(exists(inbox("0000AAAA.BDY")));
  eventrecord after = read(slot);
  EXPECT_EQ(unsigned(EV_RECIPFILE | EV_HIGHRES), after.flags);
  for (char c : after.bodyfile) EXPECT_EQ(0, c);
  ASSERT_EQ(1, f.deleterecipientfile(slot));
  EXPECT_FALSE(exists(inbox("0000BBBB.FRP")));
  after = read(slot);
  EXPECT_EQ(unsigned(EV_HIGHRES), after.flags);
  for (char c : after.recipientfile) EXPECT_EQ(0, c);
}

TEST_F(SideFiles, DeleteBodyWithoutFlagChangesNothing) {
  eventrecord r = makeevent("no body");
  strcpy(r.bodyfile, "0000AAAA.BDY");  // a name without its flag names nothing
  ASSERT_TRUE(writewhole(inbox("0000AAAA.BDY"), "body"));
  int slot = f.addevent(&r);
  std::string before = readwhole(mbx);
  EXPECT_EQ(1, f.deletebody(slot));
  EXPECT_EQ(1, f.deleterecipientfile(slot));
  EXPECT_TRUE(exists(inbox("0000AAAA.BDY")));
  EXPECT_EQ(before, readwhole(mbx));
  EXPECT_EQ(0, f.deletebody(9));
  EXPECT_EQ(0, f.deleterecipientfile(9));
}

// Mend: names from a record that are not bare names are never deleted; the record is cleaned up.
TEST_F(SideFiles, NamesThatAreNoBareNamesNeverReachAFile) {
  // Victims outside the mailbox directory, and one the current directory would resolve to.
  ASSERT_TRUE(writewhole(scratch.file("victim1.txt"), "1"));
  ASSERT_TRUE(writewhole(scratch.file("victim2.txt"), "2"));
  ASSERT_TRUE(writewhole(scratch.file("victim3.txt"), "3"));
  ASSERT_TRUE(writewhole(scratch.file("victim4.txt"), "4"));
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(sizeof cwd, cwd);
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
  // A 16-character name fills its field; read past the field it would name this file.
  ASSERT_TRUE(writewhole(inbox("AAAAAAAAAAAAAAAA"), "long"));

  eventrecord r = makeevent("hostile");
  r.flags = EV_BODY | EV_RECIPFILE;
  strcpy(r.bodyfile, "..\\victim1.txt");
  strcpy(r.recipientfile, "../victim2.txt");
  r.attachcount = 4;
  strcpy(r.attachments[0].name, "C:victim3.txt");
  strcpy(r.attachments[1].name, "..\\victim4.txt");
  memset(r.attachments[2].name, 'A', 16);
  strcpy(r.attachments[3].name, "..");
  int slot = f.addevent(&r);
  ASSERT_GT(slot, 0);

  char path[MAX_PATH];
  EXPECT_EQ(0, f.sidefilepath(r.bodyfile, sizeof r.bodyfile, path, sizeof path));
  EXPECT_EQ(0, f.sidefilepath(r.attachments[2].name, sizeof r.attachments[2].name, path, sizeof path));

  EXPECT_EQ(1, f.deletebody(slot));
  EXPECT_EQ(1, f.deleterecipientfile(slot));
  EXPECT_EQ(1, f.deleteattachments(slot));
  SetCurrentDirectoryA(cwd);

  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(exists(scratch.file("victim" + std::to_string(i) + ".txt"))) << i;
  EXPECT_TRUE(exists(inbox("AAAAAAAAAAAAAAAA")));
  eventrecord after = read(slot);
  EXPECT_EQ(0u, after.flags);
  EXPECT_EQ(0, after.attachcount);
  for (char c : after.bodyfile) EXPECT_EQ(0, c);
  for (char c : after.recipientfile) EXPECT_EQ(0, c);
  for (int i = 0; i < 4; ++i)
    for (char c : after.attachments[i].name) EXPECT_EQ(0, c);
}

TEST_F(SideFiles, SideFilePathOfABareName) {
  char path[MAX_PATH];
  char name[16] = "03D27848.tif";
  ASSERT_EQ(1, f.sidefilepath(name, sizeof name, path, sizeof path));
  EXPECT_EQ(inbox("03D27848.tif"), std::string(path));
  EXPECT_EQ(0, f.sidefilepath(name, sizeof name, path, 10)) << "does not fit";
}

// Mend: attachcount outside 0..32 walks at most the 32 entries of the record, none when negative.
TEST_F(SideFiles, AttachCountOutsideTheTable) {
  eventrecord r = makeevent("too many");
  for (int i = 0; i < 32; ++i) {
    snprintf(r.attachments[i].name, sizeof r.attachments[i].name, "%08X.tif", i);
    ASSERT_TRUE(writewhole(inbox(r.attachments[i].name), "d"));
  }
  r.attachcount = 100;
  int slot = f.addevent(&r);
  ASSERT_EQ(1, f.deleteattachments(slot));
  for (int i = 0; i < 32; ++i) {
    char n[16];
    snprintf(n, sizeof n, "%08X.tif", i);
    EXPECT_FALSE(exists(inbox(n))) << n;
  }
  eventrecord after = read(slot);
  EXPECT_EQ(0, after.attachcount);
  EXPECT_EQ(0, memcmp(&after, &r, offsetof(eventrecord, attachcount))) << "everything before the table unchanged";

  eventrecord neg = makeevent("negative");
  strcpy(neg.attachments[0].name, "KEEP.tif");
  ASSERT_TRUE(writewhole(inbox("KEEP.tif"), "k"));
  neg.attachcount = -3;
  slot = f.addevent(&neg);
  ASSERT_EQ(1, f.deleteattachments(slot));
  EXPECT_TRUE(exists(inbox("KEEP.tif")));
  EXPECT_EQ(0, read(slot).attachcount);
}

// Mend: a side file never replaces a file that appeared after its name was chosen. placesidefile
// is the step after the choice: it is handed a number whose file now exists.
TEST_F(SideFiles, NameTakenMeanwhileIsNotReplaced) {
  ASSERT_TRUE(writewhole(inbox("00001000.BDY"), "somebody else's body"));
  ASSERT_TRUE(writewhole(inbox("00001001.BDY"), "and another"));
  char name[16], path[MAX_PATH];
  const char text[] = "my body";
  ASSERT_EQ(1, placesidefile(f.directory, 0x1000, "BDY", nullptr, text, sizeof text - 1, name, sizeof name, path,
                             sizeof path));
  EXPECT_STREQ("00001002.BDY", name);
  EXPECT_EQ(inbox("00001002.BDY"), std::string(path));
  EXPECT_EQ("my body", readwhole(inbox("00001002.BDY")));
  EXPECT_EQ("somebody else's body", readwhole(inbox("00001000.BDY")));
  EXPECT_EQ("and another", readwhole(inbox("00001001.BDY")));

  std::string src = scratch.file("scan.tif");
  ASSERT_TRUE(writewhole(src, "scan"));
  ASSERT_TRUE(writewhole(inbox("0000ABCD.tif"), "existing attachment"));
  ASSERT_EQ(1, placesidefile(f.directory, 0xABCD, "tif", src.c_str(), nullptr, 0, name, sizeof name, nullptr, 0));
  EXPECT_STREQ("0000ABCE.tif", name);
  EXPECT_EQ("existing attachment", readwhole(inbox("0000ABCD.tif")));
  EXPECT_EQ("scan", readwhole(inbox("0000ABCE.tif")));

  // A failure that is not a clash is not retried under other names.
  EXPECT_EQ(0, placesidefile(f.directory, 0x2000, "tif", scratch.file("missing").c_str(), nullptr, 0, name,
                             sizeof name, nullptr, 0));
  EXPECT_FALSE(exists(inbox("00002000.tif")));
  EXPECT_FALSE(exists(inbox("00002001.tif")));
}

TEST_F(SideFiles, SideFilesNeedAnOpenedMailbox) {
  mailboxfile_c none;
  char name[16];
  EXPECT_EQ(0, none.writebodytext("x", name));
  EXPECT_EQ(0, none.copyfilein(mbx.c_str(), name));
}

}  // namespace
