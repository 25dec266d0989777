#pragma once
// "Move Event to Folder..." (dialog 141): the destination folder of a move or copy and the copy
// flag, read by the caller after OK.
#include <windows.h>

#include "manager/folders.h"
#include "manager/ui/uidialog.h"

class CMoveDlg : public uidialog_c {
public:
  CMoveDlg();

  CManFolders Tree;
  int Copy;
};
