#include "manager/movedialog.h"

#include "manager/res/resource.h"

CMoveDlg::CMoveDlg() : uidialog_c(IDD_MOVE), Copy(0) {}

bool CMoveDlg::OnInit() {
  // Embedded before the first fill: the fill's own selection must not reach the main window.
  Tree.Embedded = 1;
  if (Tree.Attach(item(IDC_MOVE_TREE))) Tree.FillTree(nullptr);
  updatedata(false);
  UpdateOK();
  return true;
}

// Enter or a posted IDOK reaches here even while the button is disabled: the rule holds for
// them too.
void CMoveDlg::OnOK() {
  HWND ok = item(IDOK);
  if (ok && !IsWindowEnabled(ok)) return;
  uidialog_c::OnOK();
}

void CMoveDlg::DoDataExchange(uidatax_c& dx) { dx.check(IDC_MOVE_COPY, Copy); }

void CMoveDlg::UpdateOK() {
  HWND ok = item(IDOK);
  if (!ok) return;
  HTREEITEM selected = Tree.exists() ? Tree.selecteditem() : nullptr;
  bool usable = selected && Tree.itemdata(selected) != CManFolders::KIND_GROUP;
  EnableWindow(ok, usable ? TRUE : FALSE);
}

// The tree has handled the change (MainFolderSelected and FolderPath are set) and leaves the
// notification to the dialog.
bool CMoveDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (!Tree.hwnd() || header.hwndFrom != Tree.hwnd()) return false;
  if (header.code != TVN_SELCHANGEDA && header.code != TVN_SELCHANGEDW) return false;
  UpdateOK();
  result = 0;
  return true;
}

bool CMoveDlg::OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR&) {
  // The choice must outlive the window: the control empties itself while it is destroyed, and
  // what it says on the way must no longer change the tree's record of it.
  if (msg == WM_DESTROY) Tree.detach();
  return false;
}
