#pragma once
// "Move Event to Folder..." (dialog 141): the destination folder of a move or copy and the copy
// flag. The tree is a second copy of the folder tree that only records the choice (Embedded: it
// never drives the main window); OK is enabled only while a folder is selected, not a group node.
// The caller reads Tree.MainFolderSelected(), Tree.FolderPath() and Copy after OK: they stay as
// they were at OK after the dialog's window has gone.
#include <windows.h>

#include "manager/folders.h"
#include "manager/ui/uidialog.h"

class CMoveDlg : public uidialog_c {
public:
  CMoveDlg();

  CManFolders Tree;
  int Copy;   // 1: copy the events, keep the sources

protected:
  bool OnInit() override;
  void OnOK() override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  void DoDataExchange(uidatax_c& dx) override;

private:
  void UpdateOK();
};
