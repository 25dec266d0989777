#pragma once
// "Manager options" (dialog 139): the check interval and the notification settings of section
// Options of RIROVEVI.INI. The dialog reads the values when it starts and writes them all on OK;
// Cancel writes nothing. The main frame reads them again itself: the beep and popup settings each
// time it notifies, the interval when its window is created.
#include <windows.h>

#include "manager/ui/uidialog.h"
#include "manager/ui/uiupdown.h"
#include "toolkit/string.h"

class COptionsDlg : public uidialog_c {
public:
  COptionsDlg();

  static const char INIFILE[];   // no directory: the Windows directory
  static const char SECTION[];
  enum : int {
    SCANTIME_DEFAULT = 5,
    SCANTIME_MIN = 1,
    SCANTIME_MAX = 60,
    MESSAGEMAX = 255,            // characters of a popup message
  };

  // The values as read on start, and as taken from the controls on OK.
  int ScanTime = SCANTIME_DEFAULT;   // minutes between two checks, 1..60
  bool BeepNew = false;
  bool PopupNew = true;
  bool PopupFailed = true;
  string_c MessageNew;
  string_c MessageFailed;

  // Reads the values from the file (missing ones give the defaults; the interval is clamped).
  void ReadSettings();
  // Writes every value in the file, in the file's usual order.
  void WriteSettings() const;

protected:
  bool OnInit() override;
  void OnOK() override;
  void DoDataExchange(uidatax_c& dx) override;

private:
  uiupdown_c spin;
};
