// The event list's commands on the selected events: view and print through the outside viewer,
// details, delete, route, resubmit, forward through the outside composer, move and copy into
// another mailbox file, export the shown rows, and the two commands that need no event (New Fax,
// Help contents).
//
// Every file name a command takes from a record goes through the mailbox object's sidefilepath
// (a bare name inside the mailbox directory) before it reaches a file call, the viewer or the
// composer; a name that is not a bare name is treated as no file at all.
#include "manager/eventlist.h"

#include <commdlg.h>
#include <mbstring.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "manager/detailsdialog.h"
#include "manager/res/resource.h"
#include "manager/ui/uiholders.h"
#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiresource.h"
#include "toolkit/file.h"
#include "toolkit/path.h"

namespace {

// The outside programs and the files they are handed their work in. Profile files are named
// without a folder: the system keeps them in the Windows directory, where the programs look.
const char VIEWERINI[] = "rlprog.ini";
const char VIEWERSECTION[] = "Ravelink Viewer";
const char VIEWER[] = "rlpageview.exe";
const char OLDVIEWER[] = "pageview.exe";
const char COMPOSERINI[] = "RIROVEVI.INI";
const char COMPOSERSECTION[] = "ResubmitParams";
const char COMPOSER[] = "compose.exe";
const char HELPFILE[] = "rfnclient.chm";
const char OLDHELPFILE[] = "rfxclient.chm";

// Viewer commands of the "Command" key.
const char VIEWCOMMAND[] = "1";
const char PRINTCOMMAND[] = "3";
const char NOCOMMAND[] = "0";

// Printing starts the viewer as a minimised window (SW_SHOWMINIMIZED: shown as an icon on the
// taskbar and active), so it prints without covering the Manager; viewing shows it normally.
const int SHOWVIEW = SW_SHOWNORMAL;
const int SHOWPRINT = SW_SHOWMINIMIZED;

// The list's redrawing off while a command removes rows; on again and repainted at the end, also
// when the command ends early.
class redrawoff_c {
public:
  explicit redrawoff_c(uilistview_c& l) : list(l) { list.setredraw(false); }
  ~redrawoff_c() {
    list.setredraw(true);
    list.invalidate();
  }
  redrawoff_c(const redrawoff_c&) = delete;
  redrawoff_c& operator=(const redrawoff_c&) = delete;

private:
  uilistview_c& list;
};

// A text field of a record as a NUL-terminated text, never read past the field.
template <size_t N>
std::string fieldstring(const char (&field)[N]) {
  char text[N + 1];
  fieldtext(field, text, static_cast<int>(sizeof text));
  return text;
}

// Starts a program (found by the shell's usual search) with optional parameters. The shell
// reports success with a value above 32.
bool startprogram(HWND owner, const char* program, const char* parameters, int show) {
  HINSTANCE result = ShellExecuteA(owner, nullptr, program, parameters, nullptr, show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void setnow(eventrecord& event) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  event.day = static_cast<uint8_t>(now.wDay);
  event.month = static_cast<uint8_t>(now.wMonth);
  event.year = now.wYear;
  event.hour = static_cast<uint8_t>(now.wHour);
  event.minute = static_cast<uint8_t>(now.wMinute);
}

// The extensions the viewer shows.
bool isfaxpage(const char* name) {
  return sameext(name, "fax") || sameext(name, "rlk") || sameext(name, "tif");
}

// Deletes the side files a record names in the directory of mailbox (after a copy into it did
// not become an event).
void deletecopies(const mailboxfile_c& mailbox, const eventrecord& copy) {
  char full[MAX_PATH];
  if (mailbox.sidefilepath(copy.bodyfile, sizeof copy.bodyfile, full, sizeof full)) DeleteFileA(full);
  if (mailbox.sidefilepath(copy.recipientfile, sizeof copy.recipientfile, full, sizeof full)) DeleteFileA(full);
  int count = attachmentcount(copy);
  for (int i = 0; i < count; ++i) {
    const char* name = copy.attachments[i].name;
    if (mailbox.sidefilepath(name, sizeof copy.attachments[i].name, full, sizeof full)) DeleteFileA(full);
  }
}

// Copies the side file a source field names (in from's directory) into to's directory; the new
// name goes into the target field. An empty source field copies nothing and succeeds; a name
// that is not a bare name, or a copy that fails, is a failure.
template <size_t N>
bool copyside(const mailboxfile_c& from, const char (&source)[N], mailboxfile_c& to, char (&target)[N]) {
  memset(target, 0, N);
  if (fieldlength(source, static_cast<int>(N)) == 0) return true;
  char full[MAX_PATH];
  if (!from.sidefilepath(source, static_cast<int>(N), full, sizeof full)) return false;
  char name[EV_NAMEMAX + 1] = "";
  if (!to.copyfilein(full, name)) return false;
  setfield(target, name, EV_NAMEMAX);
  return true;
}

}  // namespace

// ---- helpers --------------------------------------------------------------------------------

int CManListCtrl::SingleSelectedSlot() const {
  if (!exists() || selectedcount() != 1) return 0;
  int row = nextitem(-1, LVNI_SELECTED);
  return row >= 0 ? SlotOfRow(row) : 0;
}

void CManListCtrl::ShowEventRow(int slot, const eventrecord& event) {
  int row = FindRow(slot);
  if (row < 0) return;
  rowtexts texts;
  MakeTexts(event, texts);
  setitemtext(row, COLUMN_STATE, texts.cells[COLUMN_STATE].c_str());
  setitemimage(row, texts.image);
  setitemtext(row, COLUMN_SUBJECT, texts.cells[COLUMN_SUBJECT].c_str());
  // The next reload finds the row as shown now and leaves it alone.
  auto memo = rowmemos.find(slot);
  if (memo != rowmemos.end()) memo->second = rowmemo{Digest(event), DateKey(event)};
}

void CManListCtrl::MarkRead(int slot) {
  // Read afresh: the details dialog may have saved a new subject, the server a new state.
  eventrecord event;
  if (!mailbox.readevent(&event, slot)) return;
  if (event.state == EVS_UNREAD) {
    event.state = EVS_READ;
    mailbox.updateevent(&event, slot);
  }
  ShowEventRow(slot, event);
}

int CManListCtrl::TakeSelected() {
  int row = nextitem(-1, LVNI_SELECTED);
  if (row < 0) return 0;
  // Deselected first, so the next call takes the next selected row whatever becomes of this one.
  setitemstate(row, 0, LVIS_SELECTED);
  return SlotOfRow(row);
}

bool CManListCtrl::RemoveEvent(int slot) {
  mailbox.deleteattachments(slot);
  mailbox.deletebody(slot);
  mailbox.deleterecipientfile(slot);
  if (!mailbox.freeevent(slot)) return false;
  RemoveRow(slot);
  return true;
}

// ---- view, print, details -------------------------------------------------------------------

void CManListCtrl::ViewEvent(int print) {
  try {
    int slot = SingleSelectedSlot();
    if (slot <= 0) return;
    eventrecord event;
    if (!mailbox.readevent(&event, slot)) return;

    // The fax pages, numbered in table order from File0.
    int pages = 0;
    int count = attachmentcount(event);
    for (int i = 0; i < count; ++i) {
      const attachmententry& entry = event.attachments[i];
      char full[MAX_PATH];
      if (!mailbox.sidefilepath(entry.name, sizeof entry.name, full, sizeof full)) continue;
      if (!isfaxpage(full)) continue;
      char key[32];
      snprintf(key, sizeof key, "File%d", pages);
      WritePrivateProfileStringA(VIEWERSECTION, key, full, VIEWERINI);
      ++pages;
    }
    char number[16];
    snprintf(number, sizeof number, "%d", pages);
    WritePrivateProfileStringA(VIEWERSECTION, "FileCount", number, VIEWERINI);
    WritePrivateProfileStringA(VIEWERSECTION, "Command", print ? PRINTCOMMAND : VIEWCOMMAND, VIEWERINI);

    if (pages == 0) {
      ShowDetails();
      return;
    }

    HWND owner = MainWindow();
    int show = print ? SHOWPRINT : SHOWVIEW;
    if (!startprogram(owner, VIEWER, nullptr, show) && !startprogram(owner, OLDVIEWER, nullptr, show)) {
      // Nobody is to act on the pages named above.
      WritePrivateProfileStringA(VIEWERSECTION, "FileCount", NOCOMMAND, VIEWERINI);
      WritePrivateProfileStringA(VIEWERSECTION, "Command", NOCOMMAND, VIEWERINI);
      managermessageboxid(owner, IDS_NO_VIEWER, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    MarkRead(slot);
  } catch (...) {
  }
}

void CManListCtrl::ShowDetails() {
  try {
    int slot = SingleSelectedSlot();
    if (slot <= 0) return;
    {
      CEventDetailsDlg dialog(mailbox, StoreDir(), slot);
      dialog.domodal(MainWindow());
    }
    // However the dialog closed, the event has been looked at.
    MarkRead(slot);
  } catch (...) {
  }
}

// ---- delete ---------------------------------------------------------------------------------

void CManListCtrl::DeleteSelected(int ask) {
  try {
    if (!exists() || selectedcount() == 0) return;
    HWND owner = MainWindow();
    if (ask && managermessageboxid(owner, IDS_DELETE_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    uiwaitcursor_c wait;
    redrawoff_c quiet(*this);
    int queuedanswer = 0;   // not asked yet in this run
    for (int slot = TakeSelected(); slot > 0; slot = TakeSelected()) {
      eventrecord event;
      if (!mailbox.readevent(&event, slot)) continue;
      if (event.state == EVS_WORKING) continue;
      if (event.state == EVS_QUEUED) {
        if (!queuedanswer) {
          queuedanswer = managermessageboxid(owner, IDS_DELETE_QUEUED_ASK,
                                             MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        }
        if (queuedanswer == IDCANCEL) break;
        // Anything but Yes (also a box that could not be shown) keeps the event.
        if (queuedanswer != IDYES) continue;
      }
      RemoveEvent(slot);
    }
  } catch (...) {
  }
}

// ---- route ----------------------------------------------------------------------------------

int CManListCtrl::RouteTo(const char* target) {
  try {
    if (!exists() || selectedcount() == 0 || !target) return 0;

    // The recipient's name is the target up to its last at sign (a multi-byte text is searched by
    // characters, so a trail byte is never taken for one).
    std::string name(target);
    const unsigned char* at = _mbsrchr(reinterpret_cast<const unsigned char*>(target), '@');
    if (at) name.assign(target, static_cast<size_t>(reinterpret_cast<const char*>(at) - target));
    std::string ownname = fieldstring(mailbox.header.mailboxname);

    for (int slot : SelectedSlots()) {
      eventrecord source;
      if (!mailbox.readevent(&source, slot)) continue;
      if (source.state == EVS_WORKING || source.state == EVS_QUEUED) continue;

      eventrecord request;
      memset(&request, 0, sizeof request);
      request.slotstate = SLOT_INUSE;
      request.flags = EV_ROUTE;
      request.state = EVS_PENDING;
      request.aux = source.aux;
      setfield(request.subject, fieldstring(source.subject).c_str(), EV_SUBJECTMAX);
      setfield(request.sendername, ownname.c_str(), EV_TEXTMAX);
      setfield(request.senderaddress, ownname.c_str(), EV_TEXTMAX);
      setfield(request.recipientname, name.c_str(), EV_TEXTMAX);
      setfield(request.recipientaddress, target, EV_TEXTMAX);
      setnow(request);

      char full[MAX_PATH];
      char copied[EV_NAMEMAX + 1];
      if ((source.flags & EV_BODY) && mailbox.sidefilepath(source.bodyfile, sizeof source.bodyfile, full, sizeof full) &&
          mailbox.copybodyin(full, copied)) {
        setfield(request.bodyfile, copied, EV_NAMEMAX);
        request.flags |= EV_BODY;
      }
      int count = attachmentcount(source);
      request.attachcount = static_cast<int8_t>(count);
      for (int i = 0; i < count; ++i) {
        // A file that cannot be copied leaves its entry empty: the request goes without it.
        const attachmententry& entry = source.attachments[i];
        if (mailbox.sidefilepath(entry.name, sizeof entry.name, full, sizeof full) && mailbox.copyfilein(full, copied))
          setfield(request.attachments[i].name, copied, EV_NAMEMAX);
      }
      // Copies no record names would stay in the directory for good.
      if (!mailbox.addevent(&request)) deletecopies(mailbox, request);
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

// ---- resubmit -------------------------------------------------------------------------------

void CManListCtrl::ResubmitSelected() {
  try {
    if (!exists() || selectedcount() == 0) return;
    {
      uiwaitcursor_c wait;
      for (int slot : SelectedSlots()) {
        eventrecord event;
        if (!mailbox.readevent(&event, slot)) continue;
        if (event.state == EVS_WORKING || event.state == EVS_QUEUED) continue;
        event.state = EVS_PENDING;
        event.flags = (event.flags & (EV_HIGHRES | EV_RECIPFILE)) | EV_RESUBMITTED;
        setnow(event);
        memset(event.subject, 0, sizeof event.subject);
        memset(event.coverpage, 0, sizeof event.coverpage);
        memset(event.bodyfile, 0, sizeof event.bodyfile);
        // deletebody fails only when the slot cannot be read any more (freed by somebody, locked
        // beyond the retry time): writing the copy then could bring a freed slot back.
        if (!mailbox.deletebody(slot)) continue;
        mailbox.updateevent(&event, slot);
      }
    }
    Reload();
  } catch (...) {
  }
}

// ---- forward --------------------------------------------------------------------------------

void CManListCtrl::ForwardEvent() {
  try {
    int slot = SingleSelectedSlot();
    if (slot <= 0) return;
    eventrecord event;
    if (!mailbox.readevent(&event, slot)) return;

    auto put = [](const char* key, const char* value) {
      WritePrivateProfileStringA(COMPOSERSECTION, key, value, COMPOSERINI);
    };
    // The recipient keys this command writes; those it does not write this time are removed, so
    // an earlier forward's recipient never mixes into this one's.
    static const char* const recipientkeys[] = {"RecipFirstName", "RecipLastName", "RecipCompany", "RecipDepartment",
                                                "RecipEmail",     "RecipFaxNo",    "RecipVoice"};
    std::vector<std::string> values(sizeof recipientkeys / sizeof recipientkeys[0]);
    std::vector<bool> written(values.size(), false);
    auto recipient = [&](size_t index, const std::string& value) {
      values[index] = value;
      written[index] = true;
    };

    put("HighRes", (event.flags & EV_HIGHRES) ? "1" : "0");
    put("Subject", fieldstring(event.subject).c_str());
    if (event.flags & EV_RECIPFILE) {
      // A missing or short file leaves the rest of the block zero: empty texts.
      recipientdetails details;
      memset(&details, 0, sizeof details);
      char full[MAX_PATH];
      if (mailbox.sidefilepath(event.recipientfile, sizeof event.recipientfile, full, sizeof full)) {
        file_c file;
        if (file.open(full, 0, 0)) {
          DWORD got = 0;
          file.read(&details, sizeof details, &got);
        }
      }
      recipient(0, fieldstring(details.firstname));
      recipient(1, fieldstring(details.lastname));
      recipient(2, fieldstring(details.company));
      recipient(3, fieldstring(details.department));
      recipient(4, fieldstring(details.email));
      recipient(5, fieldstring(details.faxno));
      recipient(6, fieldstring(details.voice));
    } else if (event.flags & EV_INCOMING) {
      recipient(0, fieldstring(event.sendername));
      recipient(5, fieldstring(event.senderaddress));
    } else {
      recipient(0, fieldstring(event.recipientname));
      recipient(5, fieldstring(event.recipientaddress));
    }
    // In the order the composer has always been handed them: first name, last name, company,
    // department, e-mail, fax number, voice.
    for (size_t i = 0; i < values.size(); ++i) {
      if (written[i]) put(recipientkeys[i], values[i].c_str());
    }
    for (size_t i = 0; i < values.size(); ++i) {
      if (!written[i]) put(recipientkeys[i], nullptr);
    }

    // The table as it is walked: attachcount held to 0..32, so the composer is never sent
    // looking for entries the record cannot have.
    int count = attachmentcount(event);
    char number[16];
    snprintf(number, sizeof number, "%d", count);
    put("AttachCount", number);
    for (int i = 0; i < EV_MAXATTACH; ++i) {
      char key[16];
      snprintf(key, sizeof key, "Attach%02d", i);
      char full[MAX_PATH];
      const attachmententry& entry = event.attachments[i];
      bool named = i < count && fieldlength(entry.name, sizeof entry.name) > 0 &&
                   mailbox.sidefilepath(entry.name, sizeof entry.name, full, sizeof full);
      // Entries without a file leave a gap; an earlier forward's file must not fill it.
      put(key, named ? full : nullptr);
    }

    HWND owner = MainWindow();
    if (!startprogram(owner, COMPOSER, "-r", SW_SHOWNORMAL)) {
      managermessageboxid(owner, IDS_NO_COMPOSER, MB_OK | MB_ICONEXCLAMATION);
      WritePrivateProfileStringA(COMPOSERSECTION, nullptr, nullptr, COMPOSERINI);
    }
  } catch (...) {
  }
}

// ---- move and copy --------------------------------------------------------------------------

int CManListCtrl::MoveSelected(const char* destination, int copy) {
  try {
    if (!exists() || selectedcount() == 0) return 0;
    uiwaitcursor_c wait;
    const char* file = destination ? destination : UserMailboxFile();
    if (!file || !file[0]) return 0;
    mailboxfile_c target;
    if (!target.open(file)) return 0;

    {
      redrawoff_c quiet(*this);
      for (int slot = TakeSelected(); slot > 0; slot = TakeSelected()) {
        eventrecord event;
        if (!mailbox.readevent(&event, slot)) continue;
        if (event.state == EVS_WORKING || event.state == EVS_QUEUED) continue;

        // The whole record, with names only for the files copied below.
        eventrecord moved = event;
        memset(moved.recipientfile, 0, sizeof moved.recipientfile);
        memset(moved.bodyfile, 0, sizeof moved.bodyfile);
        for (attachmententry& entry : moved.attachments) memset(entry.name, 0, sizeof entry.name);

        bool failed = !copyside(mailbox, event.bodyfile, target, moved.bodyfile);
        if (!failed) failed = !copyside(mailbox, event.recipientfile, target, moved.recipientfile);
        int count = attachmentcount(event);
        for (int i = 0; i < count && !failed; ++i) {
          failed = !copyside(mailbox, event.attachments[i].name, target, moved.attachments[i].name);
        }
        if (!failed) failed = target.addevent(&moved) == 0;

        if (failed) {
          // The source stays as it was; nothing of this event stays in the destination.
          deletecopies(target, moved);
          continue;
        }
        if (!copy) RemoveEvent(slot);
      }
    }
    target.close();
    return 1;
  } catch (...) {
    return 0;
  }
}

// ---- export ---------------------------------------------------------------------------------

int CManListCtrl::ExportLog() {
  try {
    if (!exists() || itemcount() == 0) return 0;
    uiwaitcursor_c wait;

    // "Text files (*.txt)\0*.TXT\0All files (*.*)\0*.*\0\0"
    std::string filter;
    filter.append(uistring(IDS_EXPORT_TEXTFILES, "Text files (*.txt)").text()).append(1, '\0');
    filter.append("*.TXT").append(1, '\0');
    filter.append(uistring(IDS_EXPORT_ALLFILES, "All files (*.*)").text()).append(1, '\0');
    filter.append("*.*").append(1, '\0');
    filter.append(1, '\0');
    string_c title = uistring(IDS_EXPORT_TITLE, "Save Log to File");

    char chosen[MAX_PATH] = "";
    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen;
    dialog.lpstrTitle = title.text();
    // No default extension. The current directory stays where it was: the shell looks there for
    // the viewer and the composer.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog)) return 0;

    file_c out;
    if (!out.create(chosen, 1)) return 0;
    // The rows are read in one batch of the mailbox file (not one opening per row), and the
    // file is handed back to the server before the log is written. When the file cannot be had,
    // no row can be read: the log stays empty.
    std::string log;
    if (TakeMailbox()) {
      int count = itemcount();
      rowtexts texts;
      for (int row = 0; row < count; ++row) {
        eventrecord event;
        if (!mailbox.readevent(&event, SlotOfRow(row))) continue;
        MakeTexts(event, texts);
        log.append(texts.cells[COLUMN_STATE]);
        log.append("\t").append(texts.cells[COLUMN_PARTY]);
        log.append("\t").append(fieldstring(event.subject));
        log.append("\t").append(texts.cells[COLUMN_DATE]);
        log.append("\r\n");
      }
      mailbox.setkeepopen(0);
    }
    int ok = log.empty() || out.write(log.data(), static_cast<DWORD>(log.size()), nullptr) ? 1 : 0;
    out.close();
    return ok;
  } catch (...) {
    return 0;
  }
}

// ---- commands without an event --------------------------------------------------------------

void CManListCtrl::NewFax(HWND owner) {
  if (!startprogram(owner, COMPOSER, nullptr, SW_SHOWNORMAL))
    managermessageboxid(owner, IDS_NO_COMPOSER, MB_OK | MB_ICONEXCLAMATION);
}

void CManListCtrl::HelpContents(HWND owner) {
  const char* const names[] = {HELPFILE, OLDHELPFILE};
  for (const char* name : names) {
    char path[MAX_PATH];
    if (!modulerelpath(name, nullptr, path, sizeof path, nullptr)) continue;
    if (!pathexists(path)) continue;
    ShellExecuteA(owner, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
}
