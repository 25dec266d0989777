#include "manager/detailsdialog.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "mailstore/handles.h"
#include "mailstore/mailboxfile.h"
#include "mailstore/sidefiles.h"
#include "manager/res/resource.h"
#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiresource.h"
#include "toolkit/text.h"

namespace {

const int BODYCHUNK = 254;
// A small .FAX file is a fax the server could not render: its tile gets the crossed-out icon.
const unsigned long long SMALLFAX = 8192;

bool editmodified(HWND edit) { return edit && SendMessageA(edit, EM_GETMODIFY, 0, 0) != 0; }

}  // namespace

CEventDetailsDlg::CEventDetailsDlg(mailboxfile_c& file, const char* storedir, int eventslot)
    : uidialog_c(IDD_EVENTDETAILS), mailbox(file), dir(storedir ? storedir : ""), slot(eventslot) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
}

// ---- filling ----------------------------------------------------------------------------------

void CEventDetailsDlg::fill() {
  eventrecord rec;
  memset(&rec, 0, sizeof rec);
  if (!mailbox.readevent(&rec, slot)) memset(&rec, 0, sizeof rec);

  bool incoming = (rec.flags & EV_INCOMING) != 0;
  partylabel = incoming ? uistring(IDS_DETAILS_FROM, "From:") : uistring(IDS_DETAILS_TO, "To:");
  datelabel = incoming ? uistring(IDS_DETAILS_RECEIVED, "Received:") : uistring(IDS_DETAILS_SENT, "Sent:");

  char name[sizeof rec.sendername + 1];
  char address[sizeof rec.senderaddress + 1];
  if (incoming) {
    fieldtext(rec.sendername, name, sizeof name);
    fieldtext(rec.senderaddress, address, sizeof address);
  } else {
    fieldtext(rec.recipientname, name, sizeof name);
    fieldtext(rec.recipientaddress, address, sizeof address);
  }
  partytext = name;
  if (!name[0]) {
    partytext = address;
  } else if (address[0]) {
    partytext.append(" ( ").append(address).append(" )");
  }
  if (partytext.length() == 0) partytext = uistring(IDS_UNKNOWN_PARTY, "<Unknown>");

  char text[sizeof rec.subject + 1];
  fieldtext(rec.subject, text, sizeof text);
  subject = text;

  SYSTEMTIME when = {};
  when.wYear = rec.year;
  when.wMonth = rec.month;
  when.wDay = rec.day;
  when.wHour = rec.hour;
  when.wMinute = rec.minute;
  char date[256] = "";
  if (!datetimetext(date, sizeof date, &when, 1)) date[0] = 0;
  datetext = date;

  readbody(rec);

  attachments.clear();
  int count = attachmentcount(rec);
  for (int i = 0; i < count; ++i) {
    char entry[sizeof rec.attachments[i].name + 1];
    if (fieldtext(rec.attachments[i].name, entry, sizeof entry) > 0) attachments.push_back(entry);
  }
}

void CEventDetailsDlg::readbody(const eventrecord& rec) {
  body = "";
  if (!(rec.flags & EV_BODY)) return;
  std::string name(rec.bodyfile, strnlen(rec.bodyfile, sizeof rec.bodyfile));
  char path[MAX_PATH];
  if (!bare(name) || dir.size() + name.size() >= sizeof path) return;
  snprintf(path, sizeof path, "%s%s", dir.c_str(), name.c_str());
  filehandle_c file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return;
  for (;;) {
    char chunk[BODYCHUNK + 1];
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, BODYCHUNK, &got, nullptr)) break;
    chunk[got] = 0;   // each chunk counts up to its first zero byte
    body.append(chunk);
    if (got < static_cast<DWORD>(BODYCHUNK)) break;
  }
}

bool CEventDetailsDlg::bare(const std::string& name) const {
  return isbarename(name.c_str(), static_cast<int>(name.size() + 1)) != 0;
}

bool CEventDetailsDlg::OnInit() {
  fill();
  HWND list = item(IDC_DETAILS_ATTACHMENTS);
  if (list) {
    // The list measures its fixed items before the dialog starts; set what measuring gives now.
    MEASUREITEMSTRUCT mi = {};
    mi.CtlType = ODT_LISTBOX;
    mi.CtlID = IDC_DETAILS_ATTACHMENTS;
    measure(mi);
    SendMessageA(list, LB_SETCOLUMNWIDTH, mi.itemWidth, 0);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(mi.itemHeight > 255 ? 255 : mi.itemHeight, 0));
  }
  uidialog_c::OnInit();
  if (list) {
    for (const std::string& name : attachments) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  return true;
}

void CEventDetailsDlg::DoDataExchange(uidatax_c& dx) {
  dx.text(IDC_DETAILS_PARTYLABEL, partylabel);
  dx.text(IDC_DETAILS_DATELABEL, datelabel);
  dx.text(IDC_DETAILS_PARTY, partytext);
  dx.text(IDC_DETAILS_DATE, datetext);
  dx.text(IDC_DETAILS_SUBJECT, subject, EV_SUBJECTMAX);
  dx.text(IDC_DETAILS_BODY, body);
}

// ---- attachment tiles -------------------------------------------------------------------------

void CEventDetailsDlg::sizetext(unsigned long long size, char* out, int outsize) {
  if (!out || outsize <= 0) return;
  unsigned long long kb = size / 1024;
  if (size > 0 && kb == 0) kb = 1;
  snprintf(out, static_cast<size_t>(outsize), "(%lluKB)", kb);
}

bool CEventDetailsDlg::attachmentpath(int index, char* out, int outsize) const {
  if (!out || outsize <= 0 || index < 0 || index >= static_cast<int>(attachments.size()) || dir.empty()) return false;
  const std::string& name = attachments[static_cast<size_t>(index)];
  if (!bare(name)) return false;
  if (dir.size() + name.size() >= static_cast<size_t>(outsize) || dir.size() + name.size() >= MAX_PATH) return false;
  snprintf(out, static_cast<size_t>(outsize), "%s%s", dir.c_str(), name.c_str());
  return true;
}

bool CEventDetailsDlg::tileinfo(int index, tile_t& tile) const {
  tile = tile_t();
  if (index < 0 || index >= static_cast<int>(attachments.size())) return false;
  unsigned long long size = 0;
  char path[MAX_PATH];
  if (attachmentpath(index, path, sizeof path)) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  tile.size = size > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(size);
  sizetext(size, tile.sizetext, sizeof tile.sizetext);
  // The test is on the text only, so a name that is no bare name is still judged, never opened.
  std::string upper = dir + attachments[static_cast<size_t>(index)];
  if (!upper.empty()) CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
  tile.icon = size < SMALLFAX && upper.find(".FAX") != std::string::npos ? IDI_ATTACHMENT_BAD : IDI_ATTACHMENT;
  return true;
}

void CEventDetailsDlg::measure(MEASUREITEMSTRUCT& mi) {
  HWND list = item(IDC_DETAILS_ATTACHMENTS);
  if (!list) return;
  HDC dc = GetDC(list);
  if (dc) {
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    if (GetTextExtentPoint32A(dc, "00000000.000", 12, &extent)) mi.itemWidth = static_cast<UINT>(extent.cx);
    if (old) SelectObject(dc, old);
    ReleaseDC(list, dc);
  }
  RECT client = {};
  GetClientRect(list, &client);
  mi.itemHeight = static_cast<UINT>(client.bottom - client.top);
}

void CEventDetailsDlg::drawtile(const DRAWITEMSTRUCT& di) {
  HDC dc = di.hDC;
  const RECT& r = di.rcItem;
  int w = (r.right - r.left) / 2;
  int h = (r.bottom - r.top) / 2;
  bool exists = di.itemID != static_cast<UINT>(-1) && di.itemID < attachments.size();
  std::string name = exists ? attachments[di.itemID] : std::string();
  tile_t tile;
  if (exists) tileinfo(static_cast<int>(di.itemID), tile);

  SIZE s1 = {}, s2 = {};
  GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &s1);
  GetTextExtentPoint32A(dc, tile.sizetext, static_cast<int>(strlen(tile.sizetext)), &s2);
  int t = s1.cy + s2.cy + 38;
  RECT namebox;
  namebox.left = r.left + w - (s1.cx + 4) / 2;
  namebox.top = r.top + h - t / 2 + 34;
  namebox.right = namebox.left + s1.cx + 4;
  namebox.bottom = namebox.top + s1.cy + 2;
  RECT sizebox;
  sizebox.left = r.left + w - (s2.cx + 4) / 2;
  sizebox.top = namebox.bottom + 1;
  sizebox.right = sizebox.left + s2.cx + 4;
  sizebox.bottom = sizebox.top + s2.cy + 2;

  if ((di.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && exists) {
    bool selected = (di.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &namebox, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FillRect(dc, &sizebox, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    COLORREF oldtext = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int oldmode = SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, namebox.left + 1, namebox.top + 1, ETO_CLIPPED, &namebox, name.c_str(),
                static_cast<UINT>(name.size()), nullptr);
    ExtTextOutA(dc, sizebox.left + 1, sizebox.top + 1, ETO_CLIPPED, &sizebox, tile.sizetext,
                static_cast<UINT>(strlen(tile.sizetext)), nullptr);
    SetBkMode(dc, oldmode);
    SetTextColor(dc, oldtext);
    // Shared icons belong to the system's cache: nothing to release.
    HICON icon = static_cast<HICON>(
        LoadImageA(uiresourcemodule(), MAKEINTRESOURCEA(tile.icon), IMAGE_ICON, 32, 32, LR_SHARED));
    if (icon) DrawIconEx(dc, r.left + w - 16, r.top + h - t / 2, icon, 32, 32, 0, nullptr, DI_NORMAL);
  }
  if (di.itemAction & ODA_FOCUS) {
    if (name.empty()) {
      DrawFocusRect(dc, &r);
    } else {
      DrawFocusRect(dc, &namebox);
      DrawFocusRect(dc, &sizebox);
    }
  }
}

bool CEventDetailsDlg::openattachment(int index) {
  char path[MAX_PATH];
  if (!attachmentpath(index, path, sizeof path)) return false;
  HINSTANCE result = ShellExecuteA(hwnd(), nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool CEventDetailsDlg::OnCommand(unsigned id, unsigned code, HWND) {
  if (id != IDC_DETAILS_ATTACHMENTS || code != LBN_DBLCLK) return false;
  LRESULT selected = SendMessageA(item(IDC_DETAILS_ATTACHMENTS), LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) openattachment(static_cast<int>(selected));
  return true;
}

bool CEventDetailsDlg::OnMessage(UINT msg, WPARAM, LPARAM lparam, INT_PTR& result) {
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    if (!mi || mi->CtlType != ODT_LISTBOX || mi->CtlID != IDC_DETAILS_ATTACHMENTS) return false;
    measure(*mi);
    result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    if (!di || di->CtlType != ODT_LISTBOX || di->CtlID != IDC_DETAILS_ATTACHMENTS) return false;
    drawtile(*di);
    result = TRUE;
    return true;
  }
  return false;
}

// ---- closing and saving -----------------------------------------------------------------------

void CEventDetailsDlg::OnOK() { closeasked(IDOK); }

void CEventDetailsDlg::OnCancel() { closeasked(IDCANCEL); }

void CEventDetailsDlg::closeasked(INT_PTR result) {
  updatedata(true);
  if (!editmodified(item(IDC_DETAILS_SUBJECT)) && !editmodified(item(IDC_DETAILS_BODY))) {
    enddialog(result);
    return;
  }
  int answer = managermessageboxid(hwnd(), IDS_DETAILS_SAVE_ASK, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
  if (answer == IDNO) {
    enddialog(result);
  } else if (answer == IDYES) {
    // A save that could not be written keeps the dialog open with the edits.
    if (save()) enddialog(result);
  }
  // Cancel, or a box that could not be shown: stay open, edits intact.
}

bool CEventDetailsDlg::save() {
  // Read again just before writing, so what others changed meanwhile is kept.
  eventrecord rec;
  memset(&rec, 0, sizeof rec);
  if (!mailbox.readevent(&rec, slot)) return false;
  setfield(rec.subject, subject.text(), EV_SUBJECTMAX);

  // The body is written only when the user changed it: writing back an unchanged text would
  // lose whatever the edit cannot hold (bytes after a zero byte).
  if (body.length() > 0 && editmodified(item(IDC_DETAILS_BODY))) {
    char path[MAX_PATH] = "";
    bool have = false;
    if (rec.flags & EV_BODY) {
      std::string current(rec.bodyfile, strnlen(rec.bodyfile, sizeof rec.bodyfile));
      if (bare(current) && dir.size() + current.size() < sizeof path) {
        snprintf(path, sizeof path, "%s%s", dir.c_str(), current.c_str());
        have = true;
      }
    }
    if (!have) {
      // No body yet, or a name that may not be used: a new body under a name of our own.
      char name[MAX_PATH + 1] = "";
      if (newbodyname(dir.c_str(), "BDY", name, path, sizeof path, sizeof name) && strlen(name) <= EV_NAMEMAX) {
        setfield(rec.bodyfile, name, EV_NAMEMAX);
        rec.flags |= EV_BODY;
        have = true;
      }
    }
    if (have) {
      filehandle_c file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file.valid()) {
        DWORD written = 0;
        WriteFile(file.get(), body.text(), static_cast<DWORD>(body.length()), &written, nullptr);
      }
    }
  }
  if (!mailbox.updateevent(&rec, slot)) return false;
  saved = true;
  return true;
}
