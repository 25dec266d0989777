#include "manager/folders.h"

#include <cstring>

#include "mailstore/mailboxfile.h"
#include "manager/newfolderdialog.h"
#include "manager/res/resource.h"
#include "manager/ui/uimenuholder.h"
#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiresource.h"
#include "toolkit/path.h"
#include "toolkit/regkey.h"

const char CManFolders::KEY[] = "Software\\Tavikon\\Virerure Client 7.00\\Personal Folders";

namespace {

const int32_t CURRENTUSER = 2;   // regkey_c's root index of HKEY_CURRENT_USER
const int REGREAD = 0, REGWRITE = 1, REGREADWRITE = 2;
const char MAILBOXNAME[] = "mailbox.rlb";


bool samename(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

// One value of the key as the tree may use it: a display name that fits and a usable directory.
struct folderentry {
  char name[CManFolders::NAMEMAX + 1];
  char directory[CManFolders::DIRMAX + 1];
};

// The next usable personal folder of an open key; false when none is left. Values that do not
// fit or name no usable directory are passed over.
bool nextfolder(regkey_c& key, folderentry& entry) {
  for (;;) {
    memset(&entry, 0, sizeof entry);
    if (!key.enumstring(entry.name, sizeof entry.name, entry.directory, CManFolders::DIRMAX)) return false;
    entry.name[CManFolders::NAMEMAX] = 0;
    entry.directory[CManFolders::DIRMAX] = 0;   // data of the full size may lack its terminator
    if (entry.name[0] && CManFolders::UsableDirectory(entry.directory)) return true;
  }
}

// A folder's display name becomes one directory below the location: exactly one path part.
bool usablename(const char* name) {
  if (!name || !*name) return false;
  bool onlydots = true;
  for (const char* p = name; *p; p = CharNextA(p)) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || strchr("\\/:*?\"<>|", c)) return false;
    if (c != '.' && c != ' ') onlydots = false;
  }
  return !onlydots;
}

}  // namespace

CManFolders::~CManFolders() {
  // The control must not keep drawing with images that are about to go.
  if (exists() && images.get()) setimagelist(nullptr);
}

void CManFolders::SetOwner(Owner* newowner, HWND window) {
  owner = newowner;
  mainwindow = window;
}

bool CManFolders::Create(HWND parent, unsigned id, DWORD exstyle) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                      TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
  if (!create(parent, id, style, exstyle)) return false;
  return subclass();
}

bool CManFolders::Attach(HWND control) {
  if (!control || !IsWindow(control)) return false;
  attach(control);
  return subclass();
}

HWND CManFolders::MainWindow() const {
  if (mainwindow && IsWindow(mainwindow)) return mainwindow;
  return hwnd() ? GetAncestor(hwnd(), GA_ROOT) : nullptr;
}

bool CManFolders::UsableDirectory(const char* directory) {
  if (!directory) return false;
  size_t length = strlen(directory);
  if (length == 0 || length >= static_cast<size_t>(DIRMAX)) return false;
  // The mailbox file's path must fit as well.
  if (length + 1 + sizeof MAILBOXNAME > static_cast<size_t>(mailboxfile_c::PATHMAX)) return false;

  // Where the parts below the root start, and how many must follow it: one below a drive's
  // root, one below a share (never the share itself).
  const char* p = directory;
  if (((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' && p[2] == '\\') {
    p += 3;
  } else if (p[0] == '\\' && p[1] == '\\') {
    p += 2;
    // Server and share: two plain parts.
    for (int part = 0; part < 2; ++part) {
      const char* start = p;
      while (*p && *p != '\\') {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || strchr("/:*?\"<>|", c)) return false;
        p = CharNextA(p);
      }
      if (p == start || !*p) return false;
      if (p - start == 1 && start[0] == '.') return false;   // \\.\ and \\?\ devices
      if (p - start == 1 && start[0] == '?') return false;
      ++p;
    }
  } else {
    return false;
  }

  int parts = 0;
  while (*p) {
    const char* start = p;
    bool onlydots = true;
    while (*p && *p != '\\') {
      unsigned char c = static_cast<unsigned char>(*p);
      if (c < 0x20 || strchr("/:*?\"<>|", c)) return false;
      if (c != '.' && c != ' ') onlydots = false;
      p = CharNextA(p);
    }
    if (p == start) return false;   // "\\" inside the path
    if (onlydots) return false;     // ".", ".." and their look-alikes
    ++parts;
    if (*p == '\\') ++p;            // a trailing backslash is fine
  }
  return parts > 0;
}

bool CManFolders::FindFolder(const char* name, string_c& directory) {
  directory.assign("");
  if (!name || !*name) return false;
  regkey_c key(CURRENTUSER);
  if (!key.connect(KEY, REGREAD, nullptr)) return false;
  key.resetenum();
  folderentry entry;
  while (nextfolder(key, entry)) {
    if (samename(entry.name, name)) {
      directory.assign(entry.directory);
      return true;
    }
  }
  return false;
}

bool CManFolders::FillTree(const char* select) {
  if (!exists()) return false;
  if (!imagesmade) {
    images.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 10));
    if (images.get()) {
      const unsigned icons[4] = {IDI_FOLDER_INBOX, IDI_FOLDER_OUTBOX, IDI_FOLDER_GROUP, IDI_FOLDER_PERSONAL};
      for (int i = 0; i < 4; ++i) {
        auto icon = static_cast<HICON>(
            LoadImageA(uiresourcemodule(), MAKEINTRESOURCEA(icons[i]), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        imageindex[i] = ImageList_AddIcon(images.get(), icon);
        if (icon) DestroyIcon(icon);
      }
      setimagelist(images.get());
      imagesmade = 1;
    }
  }

  setredraw(false);
  // The owner hears only of the item chosen at the end, not of what emptying and filling the
  // control select on the way.
  filling = true;
  deleteallitems();
  bool ok = false;
  HTREEITEM chosen = nullptr;
  HTREEITEM personal = nullptr;
  HTREEITEM main = insertitem(uistring(IDS_FOLDER_MAIN, "Main Mailbox Folders").text(), imageindex[2],
                              imageindex[2], KIND_GROUP);
  HTREEITEM inbox = main ? insertitem(uistring(IDS_FOLDER_INBOX, "Inbox").text(), imageindex[0], imageindex[0],
                                      KIND_INBOX, main)
                         : nullptr;
  HTREEITEM outbox = inbox ? insertitem(uistring(IDS_FOLDER_OUTBOX, "Outbox").text(), imageindex[1],
                                        imageindex[1], KIND_OUTBOX, main)
                           : nullptr;
  if (outbox) {
    expand(main);
    chosen = inbox;
    personal = insertitem(uistring(IDS_FOLDER_PERSONAL, "Personal Folders").text(), imageindex[2], imageindex[2],
                          KIND_GROUP, TVI_ROOT, main);
  }
  if (personal) {
    ok = true;
    regkey_c key(CURRENTUSER);
    if (key.connect(KEY, REGREAD, nullptr)) {
      key.resetenum();
      folderentry entry;
      while (nextfolder(key, entry)) {
        HTREEITEM item = insertitem(entry.name, imageindex[3], imageindex[3], KIND_PERSONAL, personal);
        if (!item) {
          ok = false;
          break;
        }
        if (select && samename(entry.name, select)) chosen = item;
      }
    }
  }
  filling = false;
  if (ok) {
    expand(personal);
    if (selecteditem() == chosen)
      SelectionChanged();
    else
      selectitem(chosen);
  }
  setredraw(true);
  invalidate();
  return ok;
}

void CManFolders::SelectionChanged() {
  if (filling) return;
  HTREEITEM item = selecteditem();
  if (!item) return;
  mainselected = 0;
  folderpath.assign("");
  switch (itemdata(item)) {
    case KIND_INBOX:
      mainselected = 1;
      if (!Embedded && owner) owner->ShowInbox();
      break;
    case KIND_OUTBOX:
      mainselected = 1;
      if (!Embedded && owner) owner->ShowOutbox();
      break;
    case KIND_GROUP:
      if (!Embedded && owner) owner->ShowNothing();
      break;
    case KIND_PERSONAL: {
      string_c directory;
      if (!FindFolder(itemtext(item).text(), directory)) break;
      folderpath = directory;
      if (!Embedded && owner) owner->ShowFolder(folderpath.text());
      break;
    }
  }
}

bool CManFolders::RightClick() {
  POINT at;
  if (!GetCursorPos(&at)) return true;
  POINT client = at;
  ScreenToClient(hwnd(), &client);
  HTREEITEM item = hittest(client);
  if (!item) return true;
  selectitem(item);
  if (itemdata(item) != KIND_PERSONAL) return true;
  if (Embedded) return false;
  uimenuholder_c menu(LoadMenuA(uiresourcemodule(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  HMENU popup = menu.get() ? GetSubMenu(menu.get(), 1) : nullptr;
  if (popup)
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x + 2, at.y + 2, 0, MainWindow(), nullptr);
  return true;
}

bool CManFolders::OnReflect(UINT msg, WPARAM, LPARAM lparam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (!header || header->hwndFrom != hwnd()) return false;
  switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      SelectionChanged();
      result = 0;
      // The Move dialog reacts to the choice itself.
      return !Embedded;
    case NM_RCLICK:
      result = 1;   // no further handling of the click by the control
      return RightClick();
  }
  return false;
}

int CManFolders::PersonalFolderSelected() const {
  HTREEITEM item = selecteditem();
  return item && itemdata(item) == KIND_PERSONAL ? 1 : 0;
}

bool CManFolders::CreateFolder() {
  HWND window = MainWindow();
  CNewFolderDialog dialog;
  for (;;) {
    if (dialog.domodal(window) != IDOK) return false;
    const char* name = dialog.Name.text();

    bool exists = false;
    {
      // Every string value counts here, usable or not: its name is taken.
      regkey_c key(CURRENTUSER);
      if (key.connect(KEY, REGREAD, nullptr)) {
        key.resetenum();
        char valuename[NAMEMAX + 1];
        while (!exists && key.enumstring(valuename, sizeof valuename, nullptr, 0)) {
          valuename[NAMEMAX] = 0;
          exists = samename(valuename, name);
        }
      }
    }

    string_c directory(dialog.Location);
    if (directory.length() == 0 || directory.text()[directory.length() - 1] != '\\') directory.append("\\");
    directory.append(name);

    if (exists) {
      managermessageboxid(window, IDS_FOLDER_NAME_EXISTS, MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    if (direxists(directory.text())) {
      string_c text;
      strformat(text, uistring(IDS_FOLDER_DIR_EXISTS).text(), directory.text());
      managermessagebox(window, text.text(), MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    // A name with path parts would make a directory somewhere else than in the location, and a
    // directory that cannot be listed again could never be deleted: neither is made.
    if (!usablename(name) || !UsableDirectory(directory.text()) || !makedir(directory.text())) {
      string_c text;
      strformat(text, uistring(IDS_FOLDER_MKDIR_FAILED).text(), directory.text());
      managermessagebox(window, text.text(), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }

    string_c mailbox(directory);
    mailbox.append("\\");
    mailbox.append(MAILBOXNAME);
    {
      mailboxfile_c file;
      if (!file.create(mailbox.text(), "Personal Mailbox")) {
        // Nothing half-made stays behind: the directory is ours and still empty.
        RemoveDirectoryA(directory.text());
        return false;
      }
    }

    regkey_c key(CURRENTUSER);
    if (!key.connect(KEY, REGWRITE, nullptr) || !key.setstring(name, directory.text(), 0)) {
      // A folder the list does not know could never be shown or deleted.
      key.close();
      DeleteFileA(mailbox.text());
      RemoveDirectoryA(directory.text());
      return false;
    }
    key.close();
    FillTree(name);
    return true;
  }
}

bool CManFolders::DeleteFolder() {
  HTREEITEM item = selecteditem();
  if (!item || itemdata(item) != KIND_PERSONAL) return false;
  string_c name = itemtext(item);
  bool deleted = false;
  {
    regkey_c key(CURRENTUSER);
    if (key.connect(KEY, REGREADWRITE, nullptr)) {
      key.resetenum();
      folderentry entry;
      while (nextfolder(key, entry)) {
        if (!samename(entry.name, name.text())) continue;
        if (managermessageboxid(MainWindow(), IDS_FOLDER_DELETE_ASK, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) ==
            IDYES) {
          if (key.deletevalue(entry.name)) {
            deleted = true;
            // Only a directory that still holds a mailbox file is a personal folder's own: a
            // value pointing anywhere else loses its entry, never the files there.
            string_c mailbox(entry.directory);
            mailbox.ensuretrailing('\\');
            mailbox.append(MAILBOXNAME);
            DWORD attributes = GetFileAttributesA(mailbox.text());
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
              emptydir(entry.directory, 1);
          }
        }
        break;
      }
    }
  }
  if (deleted) FillTree(nullptr);
  return true;
}
