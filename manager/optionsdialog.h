#pragma once
// "Manager options" (dialog 139): the check interval and the notification settings of section
// Options of RIROVEVI.INI.
#include <windows.h>

#include "manager/ui/uidialog.h"
#include "toolkit/string.h"

class COptionsDlg : public uidialog_c {
public:
  COptionsDlg();
};
