#pragma once
// A static splitter of one row and two columns: two panes side by side with a bar between them
// that the user drags. Column 0 keeps the width it was given (as far as the window allows);
// column 1 takes the rest. The panes are created by the caller as children of the splitter with
// the ids paneid(0) and paneid(1). Notifications of the panes that their own objects do not take
// go on to the splitter's parent.
#include <windows.h>

#include "manager/ui/uiids.h"
#include "manager/ui/uiwindow.h"

class uisplitter_c : public uiwindow_c {
public:
  static constexpr int columns = 2;
  static constexpr int barwidth = 6;

  ~uisplitter_c() override;

  bool create(HWND parent, unsigned id = uiid_panefirst, DWORD style = WS_CHILD | WS_VISIBLE);
  static unsigned paneid(int column) { return uiid_panefirst + (unsigned)column; }

  // Sets the pane of a column (a child of the splitter); column 0's width is its ideal width.
  bool setpane(int column, HWND pane, int idealwidth = -1);
  HWND pane(int column) const { return column >= 0 && column < columns ? panes[column] : nullptr; }
  // Column 0's wanted width (column 1 takes the rest); negative values count as 0.
  void setcolumnwidth(int width);
  // The width a column has now, as laid out.
  int columnwidth(int column) const;
  void recalclayout();

protected:
  LRESULT handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  RECT barrect() const;
  HWND panes[columns] = {nullptr, nullptr};
  int ideal = 0;
  int actual[columns] = {0, 0};
  bool dragging = false;
  int grab = 0;   // where in the bar the drag took hold
};
