#include "manager/routedialog.h"

#include <cstring>
#include <string>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxdir.h"
#include "manager/eventlist.h"
#include "manager/res/resource.h"
#include "manager/ui/uiholders.h"
#include "toolkit/text.h"

const char CRouteDlg::HIDDENSUFFIX[] = "@ravelink";

namespace {

// Puts a GDI object back into its device context when the drawing is done.
class selectobject_c {
public:
  selectobject_c(HDC dc, HGDIOBJ object) : context(dc), before(object ? SelectObject(dc, object) : nullptr) {}
  ~selectobject_c() {
    if (before) SelectObject(context, before);
  }
  selectobject_c(const selectobject_c&) = delete;
  selectobject_c& operator=(const selectobject_c&) = delete;

private:
  HDC context;
  HGDIOBJ before;
};

// The text of a list box item; empty when the index is not an item.
std::string itemtext(HWND list, int index) {
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  if (got == LB_ERR || got < 0) return std::string();
  text.resize(strnlen(text.c_str(), static_cast<size_t>(length)));
  return text;
}

int itemcount(HWND list) {
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  return count == LB_ERR || count < 0 ? 0 : static_cast<int>(count);
}

}  // namespace

CRouteDlg::CRouteDlg(CManListCtrl& list) : uidialog_c(IDD_ROUTE), eventlist(list) {}

int CRouteDlg::ShownLength(const char* text) {
  if (!text) return 0;
  const char* suffix = findnocase(text, HIDDENSUFFIX);
  return static_cast<int>(suffix ? suffix - text : strlen(text));
}

string_c CRouteDlg::CandidateRoot(const char* storedir) {
  string_c root(storedir ? storedir : "");
  char* text = root.buffer;
  if (!text) return string_c("");
  size_t length = strlen(text);
  if (length > 0 && text[length - 1] == '\\') text[--length] = 0;
  char* slash = strrchr(text, '\\');
  // Without a parent there is nothing to list: an empty text would search the current drive's
  // root instead.
  if (!slash) return string_c("");
  slash[1] = 0;
  return root;
}

bool CRouteDlg::OnInit() {
  // The lists are measured before the dialog knows this object; their rows are made to hold
  // a line of the dialog's font with the drawn box's margins.
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
  HDC dc = GetDC(hwnd());
  if (dc) {
    TEXTMETRICA metrics = {};
    {
      selectobject_c use(dc, font);
      GetTextMetricsA(dc, &metrics);
    }
    ReleaseDC(hwnd(), dc);
    if (metrics.tmHeight > 0) {
      for (int id : {IDC_ROUTE_USERS, IDC_ROUTE_TARGETS})
        SendDlgItemMessageA(hwnd(), id, LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight + 3, 0));
    }
  }
  FillCandidates();
  return uidialog_c::OnInit();
}

void CRouteDlg::FillCandidates() {
  HWND users = item(IDC_ROUTE_USERS);
  if (!users) return;
  string_c root = CandidateRoot(eventlist.StoreDir());
  if (root.length() == 0) return;
  mailboxdir_c scanner;
  for (mailboxfile_c* mailbox = scanner.firstmailbox(root.text()); mailbox;
       mailbox = scanner.nextmailbox(root.text())) {
    char name[sizeof mailbox->header.mailboxname + 1] = "";
    fieldtext(mailbox->header.mailboxname, name, sizeof name);
    // A mailbox without a name cannot be routed to.
    if (name[0]) SendMessageA(users, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  scanner.endscan();
}

void CRouteDlg::MoveItems(int fromid, int toid) {
  HWND from = item(fromid), to = item(toid);
  if (!from || !to) return;
  LRESULT selected = SendMessageA(from, LB_GETSELCOUNT, 0, 0);
  if (selected == LB_ERR || selected <= 0) return;
  for (int index = itemcount(from) - 1; index >= 0; --index) {
    if (SendMessageA(from, LB_GETSEL, static_cast<WPARAM>(index), 0) <= 0) continue;
    std::string text = itemtext(from, index);
    LRESULT added = SendMessageA(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // A name the other list could not take stays where it is.
    if (added == LB_ERR || added == LB_ERRSPACE || added < 0) continue;
    SendMessageA(to, LB_SETSEL, TRUE, added);
    SendMessageA(from, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
}

bool CRouteDlg::OnCommand(unsigned id, unsigned code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_ROUTE_ADD:
      MoveItems(IDC_ROUTE_USERS, IDC_ROUTE_TARGETS);
      return true;
    case IDC_ROUTE_REMOVE:
      MoveItems(IDC_ROUTE_TARGETS, IDC_ROUTE_USERS);
      return true;
  }
  return false;
}

void CRouteDlg::OnOK() {
  if (!updatedata(true)) return;
  HWND targets = item(IDC_ROUTE_TARGETS);
  int count = targets ? itemcount(targets) : 0;
  if (count == 0) return;
  {
    uiwaitcursor_c wait;
    // Every target gets its full name: the hidden ending is part of the address.
    for (int index = count - 1; index >= 0; --index) {
      std::string target = itemtext(targets, index);
      if (!target.empty()) eventlist.RouteTo(target.c_str());
    }
    eventlist.DeleteSelected(0);
    eventlist.Reload();
  }
  enddialog(IDOK);
}

bool CRouteDlg::OnMessage(UINT msg, WPARAM, LPARAM lparam, INT_PTR& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  if (!draw || draw->CtlType != ODT_LISTBOX ||
      (draw->hwndItem != item(IDC_ROUTE_USERS) && draw->hwndItem != item(IDC_ROUTE_TARGETS)))
    return false;
  DrawItem(*draw);
  result = TRUE;
  return true;
}

void CRouteDlg::DrawItem(const DRAWITEMSTRUCT& draw) {
  // An empty list still gets focus notices; it has no item to draw.
  if (draw.itemID == static_cast<UINT>(-1) || !draw.hDC) return;
  std::string text = itemtext(draw.hwndItem, static_cast<int>(draw.itemID));
  int shown = ShownLength(text.c_str());
  HDC dc = draw.hDC;
  selectobject_c font(dc, reinterpret_cast<HFONT>(SendMessageA(draw.hwndItem, WM_GETFONT, 0, 0)));

  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), shown, &extent);
  RECT box = draw.rcItem;
  box.left += 2;
  box.right = box.left + extent.cx + 8;
  box.top += 1;

  if (draw.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    COLORREF oldtext = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int oldmode = SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, box.left + 2, box.top + 1, ETO_CLIPPED, &box, text.c_str(), static_cast<UINT>(shown), nullptr);
    SetBkMode(dc, oldmode);
    SetTextColor(dc, oldtext);
  }
  if (draw.itemAction & ODA_FOCUS) DrawFocusRect(dc, &box);
}
