// The Event details dialog on real mailbox files: the dialog from the program's own resources,
// run modally; a script posted into its modal loop reads the controls, types into the edits with
// WM_CHAR and presses OK or Cancel as a user would. The save question is answered through the
// message-box hook; what was saved is read back from the mailbox file and the directory.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/detailsdialog.h"
#include "manager/res/resource.h"
#include "manager/ui/uiresource.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"
#include "toolkit/text.h"

namespace {

const UINT WM_SCRIPT = WM_APP + 41;

// The real dialog with a script that runs once it has started. A script that leaves the dialog
// open is ended for it (IDABORT), so no test can hang in the modal loop.
class probe_c : public CEventDetailsDlg {
public:
  using CEventDetailsDlg::CEventDetailsDlg;

  std::function<void(probe_c&)> script;
  bool scriptran = false;

  std::string text(int id) const {
    HWND control = item(id);
    int length = GetWindowTextLengthA(control);
    std::string out(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(control, &out[0], length + 1);
    out.resize(strlen(out.c_str()));
    return out;
  }
  // Typing: the characters reach the edit as the keyboard would deliver them.
  void type(int id, const char* chars) {
    HWND edit = item(id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    for (const char* p = chars; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<BYTE>(*p), 1);
  }
  void press(int id) { SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  bool open() const { return hwnd() && IsWindow(hwnd()) && !ending(); }
  std::vector<std::string> listitems() const {
    std::vector<std::string> out;
    HWND list = item(IDC_DETAILS_ATTACHMENTS);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[256] = "";
      if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  }

protected:
  bool OnInit() override {
    bool focus = CEventDetailsDlg::OnInit();
    PostMessageA(hwnd(), WM_SCRIPT, 0, 0);
    return focus;
  }
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override {
    if (msg != WM_SCRIPT) return CEventDetailsDlg::OnMessage(msg, wparam, lparam, result);
    scriptran = true;
    if (script) script(*this);
    if (!ending()) enddialog(IDABORT);
    result = TRUE;
    return true;
  }
};

eventrecord makeevent(bool incoming) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.state = incoming ? EVS_UNREAD : EVS_SENT;
  r.flags = incoming ? static_cast<uint32_t>(EV_INCOMING) : 0u;
  r.year = 2024;
  r.month = 3;
  r.day = 9;
  r.hour = 19;
  r.minute = 25;
  setfield(r.subject, "Quarterly offer", EV_SUBJECTMAX);
  return r;
}

std::string expecteddate(const eventrecord& r) {
  SYSTEMTIME when = {};
  when.wYear = r.year;
  when.wMonth = r.month;
  when.wDay = r.day;
  when.wHour = r.hour;
  when.wMinute = r.minute;
  char text[256] = "";
  datetimetext(text, sizeof text, &when, 1);
  return text;
}

class DetailsDialog : public ::testing::Test {
protected:
  void SetUp() override {
    dir = scratch.path() + "\\box";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    store = dir + "\\";
    path = store + "mailbox.rlb";
    {
      mailboxfile_c file;
      ASSERT_EQ(1, file.create(path.c_str(), "test"));
    }
    ASSERT_EQ(1, mailbox.open(path.c_str()));
  }

  int add(const eventrecord& r) {
    mailboxfile_c other;
    if (!other.open(path.c_str())) return 0;
    return other.addevent(&r);
  }
  eventrecord read(int slot) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    mailboxfile_c other;
    EXPECT_EQ(1, other.open(path.c_str()));
    EXPECT_EQ(1, other.readevent(&r, slot));
    return r;
  }
  bool exists(const std::string& name) const { return GetFileAttributesA((store + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  // Runs the dialog on a slot with a script; the dialog's result.
  INT_PTR run(probe_c& dlg) {
    INT_PTR result = dlg.domodal(nullptr);
    EXPECT_TRUE(dlg.scriptran);
    return result;
  }

  scratchdir_c scratch;
  std::string dir, store, path;
  mailboxfile_c mailbox;
};

// ---- what the dialog shows --------------------------------------------------------------------

TEST_F(DetailsDialog, OutgoingEventShowsRecipientDateSubjectBodyAndAttachmentsInOrder) {
  eventrecord r = makeevent(false);
  setfield(r.recipientname, "Anna Berg", EV_TEXTMAX);
  setfield(r.recipientaddress, "+49 40 5550199", EV_TEXTMAX);
  setfield(r.sendername, "should not show", EV_TEXTMAX);
  r.flags |= EV_BODY;
  setfield(r.bodyfile, "0000ABCD.BDY");
  // Three chunks: a whole one, one with a zero byte inside (cut there), and a short last one.
  std::string first(254, 'x');
  std::string second = std::string("hello") + '\0' + "junk";
  second.resize(254, 'j');
  ASSERT_TRUE(writewhole(store + "0000ABCD.BDY", first + second + "end"));
  r.attachcount = 3;
  setfield(r.attachments[0].name, "00000001.FAX");
  setfield(r.attachments[2].name, "00000003.DOC");   // entry 1 empty: names no file
  setfield(r.attachments[3].name, "00000004.TIF");   // past attachcount: not shown
  int slot = add(r);
  ASSERT_GT(slot, 0);

  uitest::boxanswer_c boxes(IDYES);
  probe_c dlg(mailbox, store.c_str(), slot);
  dlg.script = [&](probe_c& d) {
    EXPECT_EQ("To:", d.text(IDC_DETAILS_PARTYLABEL));
    EXPECT_EQ("Sent:", d.text(IDC_DETAILS_DATELABEL));
    EXPECT_EQ("Anna Berg ( +49 40 5550199 )", d.text(IDC_DETAILS_PARTY));
    EXPECT_EQ(expecteddate(r), d.text(IDC_DETAILS_DATE));
    EXPECT_FALSE(d.text(IDC_DETAILS_DATE).empty());
    EXPECT_EQ("Quarterly offer", d.text(IDC_DETAILS_SUBJECT));
    EXPECT_EQ(first + "hello" + "end", d.text(IDC_DETAILS_BODY));
    EXPECT_EQ((std::vector<std::string>{"00000001.FAX", "00000003.DOC"}), d.listitems());
    d.press(IDOK);
  };
  EXPECT_EQ(IDOK, run(dlg));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DetailsDialog, PartyTextFollowsNameAndAddress) {
  struct row {
    bool incoming;
    const char* name;
    const char* address;
    const char* shown;
  } rows[] = {
      {true, "Berg GmbH", "+49 30 5550100", "Berg GmbH ( +49 30 5550100 )"},
      {true, "Berg GmbH", "", "Berg GmbH"},
      {true, "", "+49 30 5550100", "+49 30 5550100"},
      {true, "", "", "<Unknown>"},
      {false, "", "", "<Unknown>"},
  };
  for (const row& c : rows) {
    SCOPED_TRACE(std::string(c.name) + "|" + c.address);
    eventrecord r = makeevent(c.incoming);
    // The other side's fields carry text that must not show.
    setfield(c.incoming ? r.sendername : r.recipientname, c.name, EV_TEXTMAX);
    setfield(c.incoming ? r.senderaddress : r.recipientaddress, c.address, EV_TEXTMAX);
    setfield(c.incoming ? r.recipientname : r.sendername, "other side", EV_TEXTMAX);
    int slot = add(r);
    ASSERT_GT(slot, 0);
    uitest::boxanswer_c boxes(IDNO);   // no question is expected; a wrong one must not block
    probe_c dlg(mailbox, store.c_str(), slot);
    dlg.script = [&](probe_c& d) {
      EXPECT_EQ(c.incoming ? "From:" : "To:", d.text(IDC_DETAILS_PARTYLABEL));
      EXPECT_EQ(c.incoming ? "Received:" : "Sent:", d.text(IDC_DETAILS_DATELABEL));
      EXPECT_EQ(c.shown, d.text(IDC_DETAILS_PARTY));
      d.press(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, run(dlg));
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

// ---- attachment tiles -------------------------------------------------------------------------

// The 32 x 32 pixels at (x, y) of a bitmap DC.
std::vector<COLORREF> pixels(HDC dc, int x, int y) {
  std::vector<COLORREF> out;
  for (int j = 0; j < 32; ++j)
    for (int i = 0; i < 32; ++i) out.push_back(GetPixel(dc, x + i, y + j));
  return out;
}

TEST_F(DetailsDialog, TilesShowSizeInKilobytesAndTheIconByTypeAndSize) {
  struct row {
    const char* name;
    int bytes;   // -1: no such file
    const char* sizetext;
    unsigned icon;
  } rows[] = {
      {"00000001.FAX", 3000, "(2KB)", IDI_ATTACHMENT_BAD},
      {"00000002.TIF", 100, "(1KB)", IDI_ATTACHMENT},
      {"00000003.FAX", 9000, "(8KB)", IDI_ATTACHMENT},
      {"00000004.FAX", -1, "(0KB)", IDI_ATTACHMENT_BAD},
      {"00000005.tif", 0, "(0KB)", IDI_ATTACHMENT},
      {"00000006.fax", 1023, "(1KB)", IDI_ATTACHMENT_BAD},   // upper-cased before the test
      {"00000007.FAX", 8192, "(8KB)", IDI_ATTACHMENT},
  };
  eventrecord r = makeevent(true);
  r.attachcount = static_cast<int8_t>(sizeof rows / sizeof rows[0]);
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    setfield(r.attachments[i].name, rows[i].name);
    if (rows[i].bytes >= 0) {
      ASSERT_TRUE(writewhole(store + rows[i].name, std::string(static_cast<size_t>(rows[i].bytes), 'F')));
    }
  }
  int slot = add(r);
  ASSERT_GT(slot, 0);

  uitest::boxanswer_c boxes(IDNO);
  probe_c dlg(mailbox, store.c_str(), slot);
  dlg.script = [&](probe_c& d) {
    ASSERT_EQ(sizeof rows / sizeof rows[0], d.listitems().size());
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
      SCOPED_TRACE(rows[i].name);
      CEventDetailsDlg::tile_t tile;
      ASSERT_TRUE(d.tileinfo(static_cast<int>(i), tile));
      EXPECT_EQ(rows[i].bytes < 0 ? 0ul : static_cast<unsigned long>(rows[i].bytes), tile.size);
      EXPECT_STREQ(rows[i].sizetext, tile.sizetext);
      EXPECT_EQ(rows[i].icon, tile.icon);
    }

    // A real draw of the first two tiles: the icon lands where it belongs and is the one chosen.
    HWND list = d.item(IDC_DETAILS_ATTACHMENTS);
    RECT item0 = {};
    ASSERT_NE(LB_ERR, SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item0)));
    RECT client = {};
    GetClientRect(list, &client);
    EXPECT_EQ(client.bottom - client.top, item0.bottom - item0.top);   // one row of tiles
    HDC screen = GetDC(list);
    HDC drawn = CreateCompatibleDC(screen);
    HDC wanted = CreateCompatibleDC(screen);
    int width = item0.right - item0.left, height = item0.bottom - item0.top;
    HBITMAP b1 = CreateCompatibleBitmap(screen, width, height);
    HBITMAP b2 = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ o1 = SelectObject(drawn, b1);
    HGDIOBJ o2 = SelectObject(wanted, b2);
    SelectObject(drawn, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    std::vector<COLORREF> icons[2];
    for (int i = 0; i < 2; ++i) {
      RECT all = {0, 0, width, height};
      FillRect(drawn, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      FillRect(wanted, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      DRAWITEMSTRUCT di = {};
      di.CtlType = ODT_LISTBOX;
      di.CtlID = IDC_DETAILS_ATTACHMENTS;
      di.itemID = static_cast<UINT>(i);
      di.itemAction = ODA_DRAWENTIRE;
      di.hwndItem = list;
      di.hDC = drawn;
      di.rcItem = all;
      SendMessageA(d.hwnd(), WM_DRAWITEM, IDC_DETAILS_ATTACHMENTS, reinterpret_cast<LPARAM>(&di));
      SIZE s1 = {}, s2 = {};
      GetTextExtentPoint32A(drawn, rows[i].name, static_cast<int>(strlen(rows[i].name)), &s1);
      GetTextExtentPoint32A(drawn, rows[i].sizetext, static_cast<int>(strlen(rows[i].sizetext)), &s2);
      int x = width / 2 - 16, y = height / 2 - (s1.cy + s2.cy + 38) / 2;
      HICON icon = static_cast<HICON>(
          LoadImageA(uiresourcemodule(), MAKEINTRESOURCEA(rows[i].icon), IMAGE_ICON, 32, 32, LR_SHARED));
      ASSERT_NE(nullptr, icon);
      DrawIconEx(wanted, x, y, icon, 32, 32, 0, nullptr, DI_NORMAL);
      icons[i] = pixels(wanted, x, y);
      EXPECT_EQ(icons[i], pixels(drawn, x, y)) << "tile " << i;
    }
    EXPECT_NE(icons[0], icons[1]);   // the two icons can be told apart, so the check above means something
    SelectObject(drawn, o1);
    SelectObject(wanted, o2);
    DeleteObject(b1);
    DeleteObject(b2);
    DeleteDC(drawn);
    DeleteDC(wanted);
    ReleaseDC(list, screen);
    d.press(IDCANCEL);
  };
  EXPECT_EQ(IDCANCEL, run(dlg));
}

TEST(DetailsDialogSizeText, KilobytesRoundDownButAnyByteCounts) {
  struct row {
    unsigned long long size;
    const char* text;
  } rows[] = {{0, "(0KB)"}, {1, "(1KB)"}, {1023, "(1KB)"}, {1024, "(1KB)"}, {2047, "(1KB)"},
              {2048, "(2KB)"}, {5ull * 1024 * 1024 * 1024, "(5242880KB)"}};
  for (const row& c : rows) {
    char text[32];
    CEventDetailsDlg::sizetext(c.size, text, sizeof text);
    EXPECT_STREQ(c.text, text) << c.size;
  }
}

// ---- the save question and saving ------------------------------------------------------------

TEST_F(DetailsDialog, ClosingWithoutEditsAsksNothing) {
  eventrecord r = makeevent(true);
  setfield(r.sendername, "Berg GmbH", EV_TEXTMAX);
  int slot = add(r);
  ASSERT_GT(slot, 0);
  for (int button : {IDOK, IDCANCEL}) {
    uitest::boxanswer_c boxes(IDYES);
    probe_c dlg(mailbox, store.c_str(), slot);
    dlg.script = [&](probe_c& d) { d.press(button); };
    EXPECT_EQ(button, run(dlg));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(dlg.saved);
  }
  eventrecord after = read(slot);
  EXPECT_EQ(0, memcmp(&r, &after, sizeof r));
}

TEST_F(DetailsDialog, CancelKeepsTheEditsAndNoClosesWithoutSaving) {
  eventrecord r = makeevent(true);
  int slot = add(r);
  ASSERT_GT(slot, 0);

  uitest::boxanswer_c boxes(IDCANCEL);
  probe_c dlg(mailbox, store.c_str(), slot);
  dlg.script = [&](probe_c& d) {
    d.type(IDC_DETAILS_SUBJECT, " now");
    d.type(IDC_DETAILS_BODY, "Please call back.");
    d.press(IDCANCEL);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("You have made changes to the message, save changes?", boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION), boxes.boxes[0].type);
    EXPECT_EQ(d.hwnd(), boxes.boxes[0].owner);
    EXPECT_TRUE(d.open());
    EXPECT_EQ("Quarterly offer now", d.text(IDC_DETAILS_SUBJECT));
    EXPECT_EQ("Please call back.", d.text(IDC_DETAILS_BODY));
    // Enter asks the same question.
    d.press(IDOK);
    EXPECT_EQ(2u, boxes.boxes.size());
    EXPECT_TRUE(d.open());
    boxes.answer = IDNO;
    d.press(IDOK);
    EXPECT_FALSE(d.open());
  };
  EXPECT_EQ(IDOK, run(dlg));
  EXPECT_FALSE(dlg.saved);
  eventrecord after = read(slot);
  EXPECT_EQ(0, memcmp(&r, &after, sizeof r));
  EXPECT_FALSE(exists("BDY00000.BDY"));
}

TEST_F(DetailsDialog, SavingANewBodyTakesTheFirstFreeBdyNameAndKeepsOthersChanges) {
  for (int taken : {0, 2}) {
    SCOPED_TRACE(taken);
    for (int i = 0; i < taken; ++i) {
      char name[32];
      snprintf(name, sizeof name, "BDY%05d.BDY", i);
      ASSERT_TRUE(writewhole(store + name, "someone else's"));
    }
    char expected[32];
    snprintf(expected, sizeof expected, "BDY%05d.BDY", taken);

    eventrecord r = makeevent(true);
    int slot = add(r);
    ASSERT_GT(slot, 0);
    uitest::boxanswer_c boxes(IDYES);
    probe_c dlg(mailbox, store.c_str(), slot);
    dlg.script = [&](probe_c& d) {
      d.type(IDC_DETAILS_SUBJECT, " (answered)");
      d.type(IDC_DETAILS_BODY, "Offer accepted.");
      // Meanwhile the event changes under the dialog: that change must survive the save.
      mailboxfile_c other;
      ASSERT_EQ(1, other.open(path.c_str()));
      eventrecord now;
      ASSERT_EQ(1, other.readevent(&now, slot));
      now.state = EVS_READ;
      setfield(now.sendername, "changed meanwhile", EV_TEXTMAX);
      ASSERT_EQ(1, other.updateevent(&now, slot));
      d.press(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, run(dlg));
    EXPECT_EQ(1u, boxes.boxes.size());
    EXPECT_TRUE(dlg.saved);

    eventrecord after = read(slot);
    EXPECT_TRUE(after.flags & EV_BODY);
    EXPECT_TRUE(after.flags & EV_INCOMING);
    EXPECT_STREQ(expected, after.bodyfile);
    EXPECT_STREQ("Quarterly offer (answered)", after.subject);
    EXPECT_EQ(EVS_READ, after.state);
    EXPECT_STREQ("changed meanwhile", after.sendername);
    EXPECT_EQ("Offer accepted.", readwhole(store + expected));   // no terminator
    for (int i = 0; i < taken; ++i) {
      char name[32];
      snprintf(name, sizeof name, "BDY%05d.BDY", i);
      EXPECT_EQ("someone else's", readwhole(store + name));
    }
  }
}

TEST_F(DetailsDialog, EditedBodyIsWrittenToTheEventsOwnBodyFile) {
  eventrecord r = makeevent(false);
  r.flags |= EV_BODY;
  setfield(r.bodyfile, "1234ABCD.BDY");
  ASSERT_TRUE(writewhole(store + "1234ABCD.BDY", "Old text."));
  int slot = add(r);
  ASSERT_GT(slot, 0);
  uitest::boxanswer_c boxes(IDYES);
  probe_c dlg(mailbox, store.c_str(), slot);
  dlg.script = [&](probe_c& d) {
    EXPECT_EQ("Old text.", d.text(IDC_DETAILS_BODY));
    d.type(IDC_DETAILS_BODY, " New text.");
    d.press(IDOK);
  };
  EXPECT_EQ(IDOK, run(dlg));
  EXPECT_EQ("Old text. New text.", readwhole(store + "1234ABCD.BDY"));
  EXPECT_FALSE(exists("BDY00000.BDY"));
  eventrecord after = read(slot);
  EXPECT_STREQ("1234ABCD.BDY", after.bodyfile);
  EXPECT_EQ(r.flags, after.flags);
}

// ---- hostile records --------------------------------------------------------------------------

TEST_F(DetailsDialog, HostileRecordIsShownSafelyAndNoFileOutsideTheDirectoryIsTouched) {
  const std::string outside = scratch.file("secret.txt");
  ASSERT_TRUE(writewhole(outside, "outside the mailbox"));
  eventrecord r = makeevent(true);
  memset(r.sendername, 'S', sizeof r.sendername);          // no terminator
  memset(r.senderaddress, 'A', sizeof r.senderaddress);
  memset(r.subject, 'T', sizeof r.subject);
  r.flags |= EV_BODY;
  memcpy(r.bodyfile, "..\\secret.txt", 14);
  r.attachcount = 100;
  memcpy(r.attachments[0].name, "..\\secret.txt", 14);
  memcpy(r.attachments[1].name, "C:\\secret.txt", 14);
  memset(r.attachments[2].name, 'N', sizeof r.attachments[2].name);   // 16 characters, unterminated
  for (int i = 3; i < EV_MAXATTACH; ++i) setfield(r.attachments[i].name, "00000001.FAX");
  ASSERT_TRUE(writewhole(store + "00000001.FAX", std::string(100, 'F')));
  int slot = add(r);
  ASSERT_GT(slot, 0);

  uitest::boxanswer_c boxes(IDYES);
  probe_c dlg(mailbox, store.c_str(), slot);
  dlg.script = [&](probe_c& d) {
    EXPECT_EQ(std::string(64, 'S') + " ( " + std::string(64, 'A') + " )", d.text(IDC_DETAILS_PARTY));
    EXPECT_EQ(std::string(256, 'T'), d.text(IDC_DETAILS_SUBJECT));
    EXPECT_EQ("", d.text(IDC_DETAILS_BODY));   // the body named outside is never read
    std::vector<std::string> items = d.listitems();
    ASSERT_EQ(static_cast<size_t>(EV_MAXATTACH), items.size());
    EXPECT_EQ("..\\secret.txt", items[0]);
    EXPECT_EQ(std::string(16, 'N'), items[2]);
    char full[MAX_PATH];
    for (int i = 0; i < 3; ++i) {
      EXPECT_FALSE(d.attachmentpath(i, full, sizeof full)) << i;
      EXPECT_FALSE(d.openattachment(i)) << i;
      CEventDetailsDlg::tile_t tile;
      ASSERT_TRUE(d.tileinfo(i, tile));
      EXPECT_EQ(0ul, tile.size) << i;   // never sized: the outside file has 19 bytes
    }
    ASSERT_TRUE(d.attachmentpath(3, full, sizeof full));
    EXPECT_EQ(store + "00000001.FAX", full);
    CEventDetailsDlg::tile_t tile;
    EXPECT_FALSE(d.tileinfo(EV_MAXATTACH, tile));
    EXPECT_FALSE(d.attachmentpath(-1, full, sizeof full));

    // A double click on a hostile entry does nothing.
    HWND list = d.item(IDC_DETAILS_ATTACHMENTS);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_DETAILS_ATTACHMENTS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(d.open());

    // Saving a body for a record whose body name points outside gives it a name of its own.
    d.type(IDC_DETAILS_BODY, "Mine.");
    d.press(IDOK);
  };
  EXPECT_EQ(IDOK, run(dlg));
  EXPECT_EQ("outside the mailbox", readwhole(outside));
  EXPECT_EQ("Mine.", readwhole(store + "BDY00000.BDY"));
  eventrecord after = read(slot);
  EXPECT_STREQ("BDY00000.BDY", after.bodyfile);
  EXPECT_EQ(254u, strlen(after.subject));   // subjects are written with at most 254 characters
}

}  // namespace
