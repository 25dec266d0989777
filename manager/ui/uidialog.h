#pragma once
// Modal dialogs from resource templates. The dialog procedure finds the object through the
// WM_INITDIALOG parameter, offers controls' notifications to their objects first (uicontrol_c),
// then dispatches to OnInit, OnOK, OnCancel, OnCommand, OnNotify and OnMessage. No exception
// leaves it: one thrown while the dialog starts ends the dialog with IDCANCEL, any other one is
// dropped with the dialog left as it was.
//
// Data exchange: DoDataExchange ties members to controls through a uidatax_c; OnInit puts the
// members into the controls, OnOK takes them back and closes only when every value was valid.
#include <windows.h>

#include "toolkit/string.h"

class uidatax_c {
public:
  uidatax_c(HWND dialog, bool save) : saving(save), window(dialog) {}

  bool saving;
  // Set at the first value that could not be taken; the exchanges after it do nothing.
  bool failed() const { return failedcontrol != 0; }
  int failedcontrol = 0;

  // Edit text; maxchars > 0 limits the edit and cuts what is read.
  void text(int id, string_c& value, int maxchars = 0);
  // A whole number, clamped to low..high when put into the control and when read back. A text
  // that is not a whole number (optional sign, digits, blanks around) shows the message
  // "Please enter an integer.", puts the focus on the control and fails; value is unchanged.
  void number(int id, int& value, int low, int high);
  // Check box: checked or not.
  void check(int id, bool& value);
  void check(int id, int& value);   // 1 or 0

  // The number a text holds, if it is a whole number (clamped to the int range).
  static bool parsenumber(const char* text, int& value);

private:
  void fail(int id);
  HWND window;
};

class uidialog_c {
public:
  explicit uidialog_c(unsigned templateid) : resid(templateid) {}
  virtual ~uidialog_c() = default;
  uidialog_c(const uidialog_c&) = delete;
  uidialog_c& operator=(const uidialog_c&) = delete;

  // Runs the dialog; the value given to enddialog (IDOK, IDCANCEL, ...), or -1 when the dialog
  // could not be created (template missing, say).
  INT_PTR domodal(HWND owner);
  HWND hwnd() const { return window; }
  HWND item(int id) const { return GetDlgItem(window, id); }
  void enddialog(INT_PTR result);
  // True once enddialog was called (the window goes when the modal loop sees it).
  bool ending() const { return ended; }
  // Runs the data exchange in one direction; false when a value could not be taken.
  bool updatedata(bool save);

protected:
  // WM_INITDIALOG: the default puts the members into the controls. True lets the system put
  // the focus on the first control.
  virtual bool OnInit();
  // IDOK: the default takes the members back and closes with IDOK when all were valid.
  virtual void OnOK();
  // IDCANCEL: the default closes with IDCANCEL.
  virtual void OnCancel();
  // WM_COMMAND of any other id. True when handled.
  virtual bool OnCommand(unsigned id, unsigned code, HWND control);
  // WM_NOTIFY that no control object took. True when handled, with the result in result.
  virtual bool OnNotify(NMHDR& header, LRESULT& result);
  // Any other message. True when handled, with the procedure's return value in result.
  virtual bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result);
  virtual void DoDataExchange(uidatax_c& dx);

private:
  static INT_PTR CALLBACK dialogproc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam);
  INT_PTR dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  unsigned resid;
  HWND window = nullptr;
  bool ended = false;
};
