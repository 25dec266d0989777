// The event list's commands on the selected events.
#include "manager/eventlist.h"

void CManListCtrl::ViewEvent(int) {}
void CManListCtrl::ShowDetails() {}
void CManListCtrl::DeleteSelected(int) {}
int CManListCtrl::RouteTo(const char*) { return 0; }
void CManListCtrl::ResubmitSelected() {}
void CManListCtrl::ForwardEvent() {}
int CManListCtrl::MoveSelected(const char*, int) { return 0; }
int CManListCtrl::ExportLog() { return 0; }
void CManListCtrl::NewFax(HWND) {}
void CManListCtrl::HelpContents(HWND) {}
