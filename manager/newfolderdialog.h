#pragma once
// "Create new folder" (dialog 140): the name of a new personal folder and the existing directory
// it is made in. The object keeps both texts between showings, so a refused name or location
// comes back as the user typed it. OK is enabled only while the name is not empty and the
// location is an existing directory; the checks and the creation are the caller's.
#include <windows.h>

#include "manager/ui/uidialog.h"
#include "toolkit/string.h"

class CNewFolderDialog : public uidialog_c {
public:
  CNewFolderDialog();

  string_c Name;
  string_c Location;

  // The name a display name may have at most (a registry value name the tree can list).
  static constexpr int NAMEMAX = 255;
  static constexpr int LOCATIONMAX = MAX_PATH - 1;

  // The directory of the running program's file, ending in a backslash.
  static string_c ProgramDirectory();

protected:
  bool OnInit() override;
  void OnOK() override;
  bool OnCommand(unsigned id, unsigned code, HWND control) override;
  void DoDataExchange(uidatax_c& dx) override;

private:
  void UpdateOK();
  void Browse();
};
