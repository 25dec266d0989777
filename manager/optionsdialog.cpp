#include "manager/optionsdialog.h"

#include <cstdio>

#include "manager/res/resource.h"
#include "toolkit/text.h"

const char COptionsDlg::INIFILE[] = "RIROVEVI.INI";
const char COptionsDlg::SECTION[] = "Options";

namespace {

int clampscantime(int minutes) {
  if (minutes < COptionsDlg::SCANTIME_MIN) return COptionsDlg::SCANTIME_MIN;
  if (minutes > COptionsDlg::SCANTIME_MAX) return COptionsDlg::SCANTIME_MAX;
  return minutes;
}

int readint(const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(COptionsDlg::SECTION, key, fallback, COptionsDlg::INIFILE));
}

// A message as the file holds it, at most MESSAGEMAX characters.
string_c readmessage(const char* key) {
  char text[COptionsDlg::MESSAGEMAX + 1] = "";
  GetPrivateProfileStringA(COptionsDlg::SECTION, key, "", text, sizeof text, COptionsDlg::INIFILE);
  text[COptionsDlg::MESSAGEMAX] = 0;
  return string_c(text);
}

void writetext(const char* key, const char* value) {
  WritePrivateProfileStringA(COptionsDlg::SECTION, key, value, COptionsDlg::INIFILE);
}

void writeflag(const char* key, bool on) { writetext(key, on ? "1" : "0"); }

// White space around a message is never stored: an empty field stays empty, and the main frame
// then shows its own default text. A line break inside (pasted or set from outside) would end the
// value early and start a line of its own in the file: control characters become blanks.
void writemessage(const char* key, const string_c& value) {
  string_c trimmed(value);
  if (trimmed.buffer) {
    for (char* p = trimmed.buffer; *p; ++p)
      if (static_cast<unsigned char>(*p) < 0x20) *p = ' ';
    trim(trimmed.buffer);
  }
  writetext(key, trimmed.text());
}

}  // namespace

COptionsDlg::COptionsDlg() : uidialog_c(IDD_OPTIONS) {}

void COptionsDlg::ReadSettings() {
  ScanTime = clampscantime(readint("ScanTime", SCANTIME_DEFAULT));
  BeepNew = readint("BeepNew", 0) != 0;
  MessageFailed = readmessage("MessageFailed");
  MessageNew = readmessage("MessageNew");
  PopupNew = readint("PopupNew", 1) != 0;
  PopupFailed = readint("PopupFailed", 1) != 0;
}

void COptionsDlg::WriteSettings() const {
  char text[16];
  snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(clampscantime(ScanTime)));
  writetext("ScanTime", text);
  writeflag("BeepNew", BeepNew);
  writeflag("PopupNew", PopupNew);
  writeflag("PopupFailed", PopupFailed);
  writemessage("MessageFailed", MessageFailed);
  writemessage("MessageNew", MessageNew);
}

bool COptionsDlg::OnInit() {
  spin.attach(item(IDC_OPTIONS_INTERVALSPIN));
  spin.setbuddy(item(IDC_OPTIONS_INTERVAL));
  spin.setrange(SCANTIME_MIN, SCANTIME_MAX);
  ReadSettings();
  updatedata(false);
  spin.setpos(ScanTime);
  return true;
}

// The dialog closes only once every value could be taken: an interval that is not a whole number
// has shown its message and keeps the dialog open with the file untouched.
void COptionsDlg::OnOK() {
  if (!updatedata(true)) return;
  ScanTime = clampscantime(ScanTime);
  WriteSettings();
  enddialog(IDOK);
}

void COptionsDlg::DoDataExchange(uidatax_c& dx) {
  dx.number(IDC_OPTIONS_INTERVAL, ScanTime, SCANTIME_MIN, SCANTIME_MAX);
  dx.check(IDC_OPTIONS_BEEP, BeepNew);
  dx.check(IDC_OPTIONS_POPUPNEW, PopupNew);
  dx.text(IDC_OPTIONS_MESSAGENEW, MessageNew, MESSAGEMAX);
  dx.check(IDC_OPTIONS_POPUPFAILED, PopupFailed);
  dx.text(IDC_OPTIONS_MESSAGEFAILED, MessageFailed, MESSAGEMAX);
}
