#include "manager/eventlist.h"

#include <mbstring.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "manager/res/resource.h"
#include "manager/ui/uiholders.h"
#include "manager/ui/managermessagebox.h"
#include "manager/ui/uimenuholder.h"
#include "manager/ui/uiresource.h"
#include "toolkit/path.h"
#include "toolkit/text.h"

namespace {

// The icon of each state, in state order.
const int stateicons[EVS_COUNT] = {
    IDI_STATE_PENDING, IDI_STATE_SENT,   IDI_STATE_UNREAD,  IDI_STATE_READ,
    IDI_STATE_FAILED,  IDI_STATE_QUEUED, IDI_STATE_WORKING, IDI_STATE_CANCELLED,
};
static_assert(sizeof stateicons / sizeof stateicons[0] == EVS_COUNT, "one icon per state");

struct columndef {
  unsigned heading;
  int width;
};
const columndef columndefs[CManListCtrl::COLUMNS] = {
    {IDS_COLUMN_STATE, 100},
    {IDS_COLUMN_TOFROM, 150},
    {IDS_COLUMN_SUBJECT, 250},
    {IDS_COLUMN_DATETIME, 136},
};

// Runs a clean-up step when the scope ends, also when an allocation failed on the way.
template <typename F>
class scopeexit_c {
public:
  explicit scopeexit_c(F f) : step(std::move(f)) {}
  ~scopeexit_c() { step(); }
  scopeexit_c(const scopeexit_c&) = delete;
  scopeexit_c& operator=(const scopeexit_c&) = delete;

private:
  F step;
};
template <typename F>
scopeexit_c<F> onscopeexit(F f) {
  return scopeexit_c<F>(std::move(f));
}

// A text field of a record as a string: never read past the field.
template <size_t N>
std::string fieldstring(const char (&field)[N]) {
  char text[N + 1];
  fieldtext(field, text, static_cast<int>(sizeof text));
  return text;
}

// A byte compared as signed, mapped so that unsigned order is the signed order.
inline uint64_t signedbyte(uint8_t value) { return static_cast<uint64_t>(value ^ 0x80u); }

uint64_t fnv1a(const void* bytes, size_t size, uint64_t h) {
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

}  // namespace

CManListCtrl::CManListCtrl()
    : Filter(FILTER_INCOMING),
      SortBy(0),
      personalopen(0),
      mailboxopen(0),
      imagesmade(0),
      reloading(0),
      failedcount(0),
      unreadcount(0),
      newfailed(0),
      hasunread(0),
      newunread(0),
      oldstyle(0),
      sortedby(-1),
      sorting(false) {
  for (int& image : stateimages) image = -1;
  for (COLORREF& colour : colours) colour = 0;
}

CManListCtrl::~CManListCtrl() { ReleaseImages(); }

bool CManListCtrl::Create(HWND parent, unsigned id, const RECT& rect) {
  if (!uicontrol_c::create(WC_LISTVIEWA, STYLE, WS_EX_CLIENTEDGE, rect, parent, id)) return false;
  if (!subclass()) {
    destroy();
    return false;
  }
  return true;
}

// ---- columns, images, colours and fonts -----------------------------------------------------

void CManListCtrl::MakeImages() {
  if (imagesmade || !exists()) return;

  // The list view must not destroy the image list: it is set twice and belongs to this object.
  LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  if (!(style & LVS_SHAREIMAGELISTS)) SetWindowLongPtrA(hwnd(), GWL_STYLE, style | LVS_SHAREIMAGELISTS);

  images.reset(ImageList_Create(ICONSIZE, ICONSIZE, ILC_COLOR32 | ILC_MASK, EVS_COUNT, 10));
  for (int state = 0; state < EVS_COUNT; ++state) {
    stateimages[state] = -1;
    if (!images.get()) continue;
    HICON icon = static_cast<HICON>(LoadImageA(uiresourcemodule(), MAKEINTRESOURCEA(stateicons[state]), IMAGE_ICON,
                                               ICONSIZE, ICONSIZE, LR_DEFAULTCOLOR));
    if (!icon) continue;
    stateimages[state] = ImageList_AddIcon(images.get(), icon);
    DestroyIcon(icon);
  }
  setimagelist(images.get(), LVSIL_NORMAL);
  setimagelist(images.get(), LVSIL_SMALL);

  for (int column = 0; column < COLUMNS; ++column) {
    insertcolumn(column, uistring(columndefs[column].heading).text(), columndefs[column].width);
  }

  for (int state = 0; state < EVS_COUNT; ++state) statetexts[state] = uistring(IDS_STATE_PENDING + state).text();
  unknowntext = uistring(IDS_UNKNOWN_PARTY).text();

  colours[COLOUR_HIGHLIGHT] = GetSysColor(COLOR_HIGHLIGHT);
  colours[COLOUR_HIGHLIGHTTEXT] = GetSysColor(COLOR_HIGHLIGHTTEXT);
  colours[COLOUR_WINDOW] = GetSysColor(COLOR_WINDOW);
  colours[COLOUR_WINDOWTEXT] = GetSysColor(COLOR_WINDOWTEXT);

  LOGFONTA base;
  memset(&base, 0, sizeof base);
  HFONT current = font();
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (!GetObjectA(current, sizeof base, &base)) GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof base, &base);
  static const struct {
    LONG weight;
    BYTE italic;
  } variants[FONTS] = {{300, FALSE}, {700, FALSE}, {300, TRUE}, {700, TRUE}};
  for (int i = 0; i < FONTS; ++i) {
    LOGFONTA variant = base;
    variant.lfWeight = variants[i].weight;
    variant.lfItalic = variants[i].italic;
    fonts[i].reset(CreateFontIndirectA(&variant));
  }

  OSVERSIONINFOA version;
  memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  oldstyle = GetVersionExA(&version) && version.dwMajorVersion == 4 ? 1 : 0;

  imagesmade = 1;
}

void CManListCtrl::ReleaseImages() {
  if (exists()) {
    setimagelist(nullptr, LVSIL_NORMAL);
    setimagelist(nullptr, LVSIL_SMALL);
  }
  images.reset(nullptr);
  for (uifont_c& f : fonts) f.reset(nullptr);
  for (int& image : stateimages) image = -1;
  imagesmade = 0;
}

int CManListCtrl::StateImage(int state) const {
  if (state < 0 || state >= EVS_COUNT) return -1;
  return stateimages[state];
}

HFONT CManListCtrl::RowFont(int image) const {
  bool bold = image >= 0 && image == stateimages[EVS_UNREAD];
  bool italic = image >= 0 && (image == stateimages[EVS_PENDING] || image == stateimages[EVS_QUEUED] ||
                               image == stateimages[EVS_WORKING]);
  int which = italic ? (bold ? FONT_BOLDITALIC : FONT_LIGHTITALIC) : (bold ? FONT_BOLD : FONT_LIGHT);
  return fonts[which].get();
}

bool CManListCtrl::MeasureItem(MEASUREITEMSTRUCT* measure, HWND list) {
  if (!measure || measure->CtlType != ODT_LISTVIEW) return false;
  HFONT font = list ? reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)) : nullptr;
  HFONT made = nullptr;
  if (!font) {
    // What a list view uses until it is given a font.
    LOGFONTA title;
    if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof title, &title, 0)) made = CreateFontIndirectA(&title);
    font = made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  // The bold form is the tallest the rows are drawn in.
  LOGFONTA bold;
  HFONT boldfont = nullptr;
  if (GetObjectA(font, sizeof bold, &bold)) {
    bold.lfWeight = 700;
    boldfont = CreateFontIndirectA(&bold);
  }
  int textheight = 0;
  if (HDC dc = GetDC(list)) {
    HGDIOBJ before = SelectObject(dc, boldfont ? boldfont : font);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) textheight = metrics.tmHeight;
    SelectObject(dc, before);
    ReleaseDC(list, dc);
  }
  if (boldfont) DeleteObject(boldfont);
  if (made) DeleteObject(made);
  // The icon sits 1 pixel below the row's top and the text 2; one pixel stays free below.
  int height = std::max(ICONSIZE + 2, textheight + 3);
  measure->itemHeight = static_cast<UINT>(height);
  return true;
}

// ---- opening a mailbox ----------------------------------------------------------------------

int CManListCtrl::OpenMailbox(const char* path) {
  try {
    MakeImages();

    string_c use;
    if (path) {
      personalopen = 1;
      use.assign(path);
    } else {
      personalopen = 0;
      use.assign(usermailboxfile.length() ? usermailboxfile.text() : servermailboxdir.text());
    }
    if (!use.length()) return 0;

    if (findnocase(use.text(), "mailbox.rlb")) {
      if (!OpenFile(use.text())) {
        // Rows of a folder that could not be opened must not stay on show as if they were its.
        if (personalopen) {
          Filter &= ~static_cast<DWORD>(FILTER_INCOMING | FILTER_OUTGOING);
          RemoveAllRows();
        }
        return 0;
      }
    } else {
      if (!direxists(use.text())) {
        managermessageboxid(MainWindow(), IDS_NO_CONNECTION, MB_OK | MB_ICONERROR);
        return 0;
      }
      char user[256];
      DWORD size = sizeof user;
      if (!GetUserNameA(user, &size)) user[0] = 0;
      user[sizeof user - 1] = 0;
      // No user name finds no mailbox: the Manager never runs on somebody else's.
      const char* found = user[0] ? mailboxdir.finduser(use.text(), user) : nullptr;
      if (!found) {
        managermessageboxid(MainWindow(), IDS_USER_NOT_FOUND, MB_OK);
        return 0;
      }
      string_c file(found);   // the scanner's text changes with its next use
      if (!OpenFile(file.text())) return 0;
      usermailboxfile.assign(file);
      servermailboxdir.assign(use);
      personalopen = 0;

      string_c title = uistring(IDR_MAINFRAME);
      title.append(" - ");
      title.append(fieldstring(mailbox.header.loginname).c_str());
      SetWindowTextA(MainWindow(), title.text());
    }
    return Reload();
  } catch (...) {
    return 0;
  }
}

int CManListCtrl::OpenFile(const char* file) {
  bool samefile = mailboxopen && lstrcmpiA(mailbox.path, file) == 0;
  if (!mailbox.open(file)) {
    // The mailbox object names the new file from now on: rows of another file would be
    // refreshed, and acted on, by their slot numbers in this one.
    if (!samefile) {
      mailboxopen = 0;
      RemoveAllRows();
    }
    return 0;
  }
  if (!samefile) RemoveAllRows();
  mailboxopen = 1;
  return 1;
}

// ---- reloading ------------------------------------------------------------------------------

bool CManListCtrl::PassesFilter(const eventrecord& event, DWORD filter) {
  switch (event.state) {
    case EVS_READ:
      if (!(filter & FILTER_READ)) return false;
      break;
    case EVS_SENT:
      if (!(filter & FILTER_SENT)) return false;
      break;
    case EVS_FAILED:
    case EVS_CANCELLED:
      if (!(filter & FILTER_FAILED)) return false;
      break;
    default:
      break;
  }
  if (event.flags & EV_INCOMING) return (filter & FILTER_INCOMING) != 0;
  return (filter & FILTER_OUTGOING) != 0;
}

uint64_t CManListCtrl::DateKey(const eventrecord& event) {
  return (static_cast<uint64_t>(event.year) << 32) | (signedbyte(event.month) << 24) | (signedbyte(event.day) << 16) |
         (signedbyte(event.hour) << 8) | signedbyte(event.minute);
}

uint64_t CManListCtrl::Digest(const eventrecord& event) {
  // Everything a row shows: flags, state and date, the subject, the four party texts.
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&event);
  uint64_t h = 14695981039346656037ull;
  h = fnv1a(bytes + offsetof(eventrecord, flags), offsetof(eventrecord, coverpage) - offsetof(eventrecord, flags), h);
  h = fnv1a(bytes + offsetof(eventrecord, sendername),
            offsetof(eventrecord, bodyfile) - offsetof(eventrecord, sendername), h);
  return h;
}

void CManListCtrl::MakeTexts(const eventrecord& event, rowtexts& out) const {
  if (event.state < EVS_COUNT) {
    out.cells[COLUMN_STATE] = statetexts[event.state];
    out.image = stateimages[event.state] >= 0 ? stateimages[event.state] : I_IMAGENONE;
  } else {
    out.cells[COLUMN_STATE] = unknowntext;
    out.image = I_IMAGENONE;
  }

  if (event.flags & EV_INCOMING) {
    out.cells[COLUMN_PARTY] = fieldstring(event.sendername);
    if (out.cells[COLUMN_PARTY].empty()) out.cells[COLUMN_PARTY] = fieldstring(event.senderaddress);
  } else {
    out.cells[COLUMN_PARTY] = fieldstring(event.recipientname);
    if (out.cells[COLUMN_PARTY].empty()) out.cells[COLUMN_PARTY] = fieldstring(event.recipientaddress);
  }
  if (out.cells[COLUMN_PARTY].empty()) out.cells[COLUMN_PARTY] = unknowntext;

  out.cells[COLUMN_SUBJECT] = fieldstring(event.subject);

  SYSTEMTIME time;
  memset(&time, 0, sizeof time);
  time.wYear = event.year;
  time.wMonth = event.month;
  time.wDay = event.day;
  time.wHour = event.hour;
  time.wMinute = event.minute;
  char text[128];
  // A date the system cannot show (a damaged record) leaves the cell empty.
  if (!datetimetext(text, sizeof text, &time, 0)) text[0] = 0;
  out.cells[COLUMN_DATE] = text;
}

void CManListCtrl::ShowTexts(int row, const rowtexts& texts) {
  setitemtext(row, COLUMN_STATE, texts.cells[COLUMN_STATE].c_str());
  setitemimage(row, texts.image);
  for (int column = COLUMN_PARTY; column < COLUMNS; ++column) setitemtext(row, column, texts.cells[column].c_str());
}

bool CManListCtrl::TakeMailbox() {
  if (!mailboxopen) return false;
  mailbox.setkeepopen(1);
  // The batch's first operation opens the file (retrying for its retry time); if even that
  // fails, every further operation would wait as long again.
  mailbox.isfree(1);
  if (mailbox.isopen()) return true;
  mailbox.setkeepopen(0);
  return false;
}

int CManListCtrl::Reload() {
  if (reloading) return 1;
  try {
    reloading = 1;
    uiwaitcursor_c wait;
    setredraw(false);
    auto done = onscopeexit([this] {
      mailbox.setkeepopen(0);
      setredraw(true);
      invalidate();
      reloading = 0;
    });
    newfailed = 0;
    hasunread = 0;
    newunread = 0;

    bool took = TakeMailbox();
    if (took) {
      std::unordered_set<int> present;
      std::unordered_map<int, rowmemo> memo;
      bool changed = false;
      RefreshRows(present, memo, changed);
      AddRows(present, memo, changed);
      rowmemos.swap(memo);
      // Rows that only went away keep the order they had.
      if (changed || sortedby != SortBy) SortRows(&rowmemos);
    }
    mailbox.setkeepopen(0);
    // A file just found locked beyond its retry time is not waited for a second time.
    CountStatus(took ? nullptr : mailbox.path);
    return 1;
  } catch (...) {
    return 0;
  }
}

void CManListCtrl::RefreshRows(std::unordered_set<int>& present, std::unordered_map<int, rowmemo>& memo,
                               bool& changed) {
  struct rowref {
    int row;
    int slot;
  };
  int count = itemcount();
  std::vector<rowref> rows;
  rows.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int row = 0; row < count; ++row) rows.push_back({row, SlotOfRow(row)});
  // In slot order the reads run through the file from front to back.
  std::stable_sort(rows.begin(), rows.end(), [](const rowref& a, const rowref& b) { return a.slot < b.slot; });

  std::vector<rowref> gone;
  eventrecord event;
  rowtexts texts;
  for (const rowref& ref : rows) {
    auto known = rowmemos.find(ref.slot);
    if (mailbox.isfree(ref.slot)) {
      gone.push_back(ref);
      continue;
    }
    bool keep = !mailbox.readevent(&event, ref.slot);
    if (!keep && (event.flags & EV_INCOMING) && (event.state == EVS_PENDING || event.state == EVS_QUEUED)) {
      // An incoming event never waits for the server: it was left behind.
      event.state = EVS_FAILED;
      keep = !mailbox.updateevent(&event, ref.slot);
    }
    if (keep) {
      // Unreadable now: the row stays as it was.
      present.insert(ref.slot);
      if (known != rowmemos.end()) memo[ref.slot] = known->second;
      continue;
    }
    if (!PassesFilter(event, Filter)) {
      gone.push_back(ref);
      continue;
    }
    uint64_t digest = Digest(event);
    if (known == rowmemos.end() || known->second.digest != digest) {
      MakeTexts(event, texts);
      ShowTexts(ref.row, texts);
      changed = true;
    }
    present.insert(ref.slot);
    memo[ref.slot] = rowmemo{digest, DateKey(event)};
  }

  // From the last row up, so the rows still to go keep their places.
  std::sort(gone.begin(), gone.end(), [](const rowref& a, const rowref& b) { return a.row > b.row; });
  for (const rowref& ref : gone) {
    int row = SlotOfRow(ref.row) == ref.slot ? ref.row : FindRow(ref.slot);
    if (row >= 0) deleteitem(row);
  }
}

void CManListCtrl::AddRows(std::unordered_set<int>& present, std::unordered_map<int, rowmemo>& memo, bool& changed) {
  eventrecord event;
  rowtexts texts;
  int n = 0;
  for (int slot = mailbox.firstevent(&event); slot > 0; slot = mailbox.nextevent(&event), ++n) {
    if (!PassesFilter(event, Filter) || present.count(slot)) continue;
    MakeTexts(event, texts);
    int row = insertitem(n, texts.cells[COLUMN_STATE].c_str(), texts.image, static_cast<LPARAM>(slot));
    if (row < 0) continue;
    for (int column = COLUMN_PARTY; column < COLUMNS; ++column) setitemtext(row, column, texts.cells[column].c_str());
    present.insert(slot);
    memo[slot] = rowmemo{Digest(event), DateKey(event)};
    changed = true;
  }
}

void CManListCtrl::CountStatus(const char* unavailable) {
  if (!usermailboxfile.length()) return;
  if (unavailable && lstrcmpiA(unavailable, usermailboxfile.text()) == 0) return;
  mailboxfile_c own;
  // Held from the opening on: the header check and the count are one opening of the file.
  own.setkeepopen(1);
  if (!own.open(usermailboxfile.text())) return;
  int failed = 0;
  int unread = 0;
  eventrecord event;
  for (int slot = own.firstevent(&event); slot > 0; slot = own.nextevent(&event)) {
    if (event.state == EVS_FAILED) ++failed;
    if (event.state == EVS_UNREAD) ++unread;
  }
  own.setkeepopen(0);
  newfailed = failedcount < failed ? 1 : 0;
  failedcount = failed;
  hasunread = unread > 0 ? 1 : 0;
  newunread = unreadcount < unread ? 1 : 0;
  unreadcount = unread;
}

// ---- sorting --------------------------------------------------------------------------------

int CALLBACK CManListCtrl::SortCallback(LPARAM first, LPARAM second, LPARAM context) {
  try {
    return reinterpret_cast<CManListCtrl*>(context)->CompareRows(first, second);
  } catch (...) {
    return 0;
  }
}

int CManListCtrl::CompareRows(LPARAM first, LPARAM second) {
  if (SortBy == COLUMN_DATE) {
    uint64_t keys[2] = {0, 0};
    const LPARAM slots[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
      auto found = sorting ? sortdates.find(slots[i]) : sortdates.end();
      if (found != sortdates.end()) {
        keys[i] = found->second;
      } else {
        eventrecord event;
        if (mailbox.readevent(&event, static_cast<int>(slots[i]))) keys[i] = DateKey(event);
      }
    }
    // Newest first.
    if (keys[0] > keys[1]) return -1;
    if (keys[0] < keys[1]) return 1;
    return 0;
  }
  std::string texts[2];
  const LPARAM slots[2] = {first, second};
  for (int i = 0; i < 2; ++i) {
    auto found = sorting ? sorttexts.find(slots[i]) : sorttexts.end();
    if (found != sorttexts.end()) {
      texts[i] = found->second;
    } else if (SortBy >= 0 && SortBy < COLUMNS) {
      int row = finditem(slots[i]);
      if (row >= 0) texts[i] = itemtext(row, SortBy).text();
    }
  }
  int result = _mbscmp(reinterpret_cast<const unsigned char*>(texts[0].c_str()),
                       reinterpret_cast<const unsigned char*>(texts[1].c_str()));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void CManListCtrl::SortRows(const std::unordered_map<int, rowmemo>* memo) {
  int count = itemcount();
  sortedby = SortBy;
  if (count < 2) return;
  auto clear = onscopeexit([this] {
    sorting = false;
    sortdates.clear();
    sorttexts.clear();
  });
  sortdates.clear();
  sorttexts.clear();
  // Each row's key once, instead of a look-up or a read per comparison.
  if (SortBy == COLUMN_DATE) {
    std::vector<int> unknown;
    for (int row = 0; row < count; ++row) {
      int slot = SlotOfRow(row);
      if (memo) {
        auto found = memo->find(slot);
        if (found != memo->end()) {
          sortdates[slot] = found->second.datekey;
          continue;
        }
      }
      unknown.push_back(slot);
    }
    std::sort(unknown.begin(), unknown.end());
    eventrecord event;
    for (int slot : unknown) {
      if (mailbox.readevent(&event, slot)) {
        sortdates[slot] = DateKey(event);
      } else {
        // Unreadable now: the date the row was last shown with.
        auto last = rowmemos.find(slot);
        sortdates[slot] = last != rowmemos.end() ? last->second.datekey : 0;
      }
    }
  } else if (SortBy >= 0 && SortBy < COLUMNS) {
    for (int row = 0; row < count; ++row) sorttexts[SlotOfRow(row)] = itemtext(row, SortBy).text();
  }
  sorting = true;
  sortitems(&CManListCtrl::SortCallback, reinterpret_cast<LPARAM>(this));
}

void CManListCtrl::ColumnClick(int column) {
  if (column < 0) return;
  SortBy = column;
  // Inside a reload (a message loop run from it): the reload's own sort, or the next, uses it.
  if (reloading) {
    sortedby = -1;
    return;
  }
  reloading = 1;
  uiwaitcursor_c wait;
  setredraw(false);
  auto done = onscopeexit([this] {
    mailbox.setkeepopen(0);
    setredraw(true);
    invalidate();
    reloading = 0;
  });
  try {
    // Dates come fresh from the file while it can be had; else as the rows were last shown.
    bool fresh = SortBy == COLUMN_DATE && TakeMailbox();
    SortRows(fresh ? nullptr : &rowmemos);
  } catch (...) {
  }
}

// ---- rows for the commands ------------------------------------------------------------------

std::vector<int> CManListCtrl::SelectedSlots() const {
  std::vector<int> slots;
  for (int row = nextitem(-1, LVNI_SELECTED); row >= 0; row = nextitem(row, LVNI_SELECTED)) {
    slots.push_back(SlotOfRow(row));
  }
  return slots;
}

bool CManListCtrl::RemoveRow(int slot) {
  int row = FindRow(slot);
  if (row < 0) return false;
  rowmemos.erase(slot);
  return deleteitem(row);
}

void CManListCtrl::RemoveAllRows() {
  if (exists()) deleteallitems();
  rowmemos.clear();
}

// ---- drawing, mouse and keys ----------------------------------------------------------------

HWND CManListCtrl::MainWindow() const {
  HWND root = hwnd() ? GetAncestor(hwnd(), GA_ROOT) : nullptr;
  return root ? root : hwnd();
}

void CManListCtrl::PostCommand(unsigned id) const {
  if (HWND main = MainWindow()) PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void CManListCtrl::ShowContextMenu(LPARAM where) {
  POINT at;
  if (where == -1) {
    // From the keyboard: below the focused row, or at the list's corner.
    at.x = 0;
    at.y = 0;
    RECT r;
    int row = nextitem(-1, LVNI_FOCUSED);
    if (row >= 0 && itemrect(row, r, LVIR_BOUNDS)) {
      at.x = r.left;
      at.y = r.bottom;
    }
    ClientToScreen(hwnd(), &at);
  } else if (!GetCursorPos(&at)) {
    at.x = static_cast<short>(LOWORD(where));
    at.y = static_cast<short>(HIWORD(where));
  }
  uimenuholder_c menu(LoadMenuA(uiresourcemodule(), MAKEINTRESOURCEA(IDR_EVENTMENU)));
  HMENU popup = menu.get() ? GetSubMenu(menu.get(), 0) : nullptr;
  if (!popup) return;
  SetMenuDefaultItem(popup, 0, TRUE);
  // The main window owns the menu: it enables the items and receives the chosen command.
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x + 2, at.y + 2, 0, MainWindow(), nullptr);
}

void CManListCtrl::DrawRow(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_LISTVIEW || static_cast<int>(draw.itemID) < 0 || !draw.hDC) return;
  HDC dc = draw.hDC;
  int row = static_cast<int>(draw.itemID);
  RECT fill = draw.rcItem;
  fill.left += FILLINDENT;
  fill.top += 1;
  bool selected = (draw.itemState & ODS_SELECTED) != 0;

  if (draw.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    COLORREF back = colours[selected ? COLOUR_HIGHLIGHT : COLOUR_WINDOW];
    COLORREF fore = colours[selected ? COLOUR_HIGHLIGHTTEXT : COLOUR_WINDOWTEXT];
    COLORREF oldback = SetBkColor(dc, back);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
    COLORREF oldfore = SetTextColor(dc, fore);
    int oldmode = SetBkMode(dc, TRANSPARENT);

    int image = itemimage(row);
    HFONT rowfont = RowFont(image);
    HGDIOBJ oldfont = rowfont ? SelectObject(dc, rowfont) : nullptr;
    int count = images.get() ? ImageList_GetImageCount(images.get()) : 0;

    int left = draw.rcItem.left;
    for (int column = 0; column < COLUMNS; ++column) {
      int width = columnwidth(column);
      RECT cell = {left, draw.rcItem.top, left + width, draw.rcItem.bottom};
      left += width;
      if (column == COLUMN_STATE) {
        if (image >= 0 && image < count) {
          ImageList_Draw(images.get(), image, dc, draw.rcItem.left + 1, draw.rcItem.top + 1,
                         selected ? (ILD_TRANSPARENT | ILD_BLEND50) : ILD_TRANSPARENT);
        }
        cell.left = draw.rcItem.left + TEXTINDENT;
      } else {
        cell.left += 2;
      }
      if (cell.right <= cell.left) continue;
      string_c text = itemtext(row, column);
      if (oldstyle) {
        DrawTextA(dc, text.text(), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      } else {
        ExtTextOutA(dc, cell.left, cell.top + 2, ETO_CLIPPED, &cell, text.text(),
                    static_cast<UINT>(text.length()), nullptr);
      }
    }

    if (oldfont) SelectObject(dc, oldfont);
    SetBkMode(dc, oldmode);
    SetTextColor(dc, oldfore);
    SetBkColor(dc, oldback);
  }
  if ((draw.itemAction & ODA_FOCUS) || (draw.itemState & ODS_FOCUS)) DrawFocusRect(dc, &fill);
}

bool CManListCtrl::OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (msg) {
    // WM_CHAR(code, flags): Enter views the selected event; every other key is the list's.
    case WM_CHAR:
      if (wparam == VK_RETURN) {
        PostCommand(ID_EVENT_VIEW);
        result = 0;
        return true;
      }
      return false;
    // WM_CONTEXTMENU(window, screen x/y or -1): the list's own right click or menu key; the
    // header's goes on as usual.
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wparam) != hwnd()) return false;
      ShowContextMenu(lparam);
      result = 0;
      return true;
    // WM_DESTROY: the fonts and the image list end with the control.
    case WM_DESTROY:
      ReleaseImages();
      return false;
  }
  return false;
}

bool CManListCtrl::OnReflect(UINT msg, WPARAM, LPARAM lparam, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (!draw) return false;
    DrawRow(*draw);
    result = TRUE;
    return true;
  }
  if (msg != WM_NOTIFY || !lparam) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  switch (header->code) {
    case LVN_COLUMNCLICK:
      ColumnClick(reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
      result = 0;
      return true;
    case NM_DBLCLK:
      PostCommand(ID_EVENT_VIEW);
      result = 0;
      return true;
    case NM_RDBLCLK:
      PostCommand(ID_EVENT_DETAILS);
      result = 0;
      return true;
    // Events are not dragged anywhere.
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
      result = 0;
      return true;
  }
  return false;
}
