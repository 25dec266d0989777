#include "manager/newfolderdialog.h"

#include <shlobj.h>

#include <cstring>

#include "manager/res/resource.h"
#include "manager/ui/uiresource.h"
#include "toolkit/path.h"

namespace {

// The item list the folder browser hands back belongs to the shell's allocator.
class itemlist_c {
public:
  explicit itemlist_c(LPITEMIDLIST list) : items(list) {}
  ~itemlist_c() {
    IMalloc* shellmalloc = nullptr;
    if (items && SUCCEEDED(SHGetMalloc(&shellmalloc)) && shellmalloc) {
      shellmalloc->Free(items);
      shellmalloc->Release();
    }
  }
  itemlist_c(const itemlist_c&) = delete;
  itemlist_c& operator=(const itemlist_c&) = delete;
  LPITEMIDLIST get() const { return items; }

private:
  LPITEMIDLIST items;
};

}  // namespace

CNewFolderDialog::CNewFolderDialog() : uidialog_c(IDD_NEWFOLDER) {}

string_c CNewFolderDialog::ProgramDirectory() {
  char path[MAX_PATH + 1] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return string_c("");
  path[n] = 0;
  char* slash = strrchr(path, '\\');
  if (slash) slash[1] = 0;
  return string_c(path);
}

bool CNewFolderDialog::OnInit() {
  if (Name.length() == 0) Name = uistring(IDS_FOLDER_NEW_NAME, "New Folder");
  if (Location.length() == 0) Location = ProgramDirectory();
  updatedata(false);
  UpdateOK();
  return true;
}

// Enter or a posted IDOK reaches here even while the button is disabled: the rule holds for them
// too.
void CNewFolderDialog::OnOK() {
  HWND ok = item(IDOK);
  if (ok && !IsWindowEnabled(ok)) return;
  uidialog_c::OnOK();
}

void CNewFolderDialog::DoDataExchange(uidatax_c& dx) {
  dx.text(IDC_NEWFOLDER_NAME, Name, NAMEMAX);
  dx.text(IDC_NEWFOLDER_LOCATION, Location, LOCATIONMAX);
}

// Read from the controls, not the members: the members change only on OK and after Browse.
void CNewFolderDialog::UpdateOK() {
  HWND ok = item(IDOK);
  if (!ok) return;
  char name[2] = "";
  GetDlgItemTextA(hwnd(), IDC_NEWFOLDER_NAME, name, sizeof name);
  char location[MAX_PATH + 1] = "";
  HWND edit = item(IDC_NEWFOLDER_LOCATION);
  int length = edit ? GetWindowTextLengthA(edit) : 0;
  bool usable = false;
  if (name[0] && length > 0 && length <= LOCATIONMAX) {
    GetWindowTextA(edit, location, sizeof location);
    usable = direxists(location) != 0;
  }
  EnableWindow(ok, usable ? TRUE : FALSE);
}

bool CNewFolderDialog::OnCommand(unsigned id, unsigned code, HWND) {
  switch (id) {
    case IDC_NEWFOLDER_NAME:
    case IDC_NEWFOLDER_LOCATION:
      if (code != EN_CHANGE) return false;
      UpdateOK();
      return true;
    case IDC_NEWFOLDER_BROWSE:
      if (code != BN_CLICKED) return false;
      Browse();
      return true;
  }
  return false;
}

void CNewFolderDialog::Browse() {
  string_c title = uistring(IDS_FOLDER_BROWSE_TITLE, "Select directory where the personal mailbox will be created.");
  BROWSEINFOA info = {};
  info.hwndOwner = hwnd();
  info.lpszTitle = title.text();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  itemlist_c chosen(SHBrowseForFolderA(&info));
  if (!chosen.get()) return;
  char path[MAX_PATH + 1] = "";
  if (!SHGetPathFromIDListA(chosen.get(), path)) return;
  path[MAX_PATH] = 0;
  if (!updatedata(true)) return;
  Location = path;
  updatedata(false);
  UpdateOK();
}
