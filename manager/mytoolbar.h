#pragma once
// The main window's toolbar: the classic raised picture buttons of the most used commands, with
// tooltips and status-bar prompts, dockable on every side of the frame. Its buttons and images
// come from toolbar resource 127 and the bitmap of the same id (16 x 16 images, 23 x 23 buttons);
// which are enabled and checked is asked of the frame when the program is idle.
#include <windows.h>

#include "manager/ui/uiids.h"
#include "manager/ui/uitoolbar.h"

class CMyToolBar : public uitoolbar_c {
public:
  CMyToolBar() = default;

  // Creates the bar as a child of the frame, accepting every side; the frame then docks it.
  bool Create(uiframe_c& frame, unsigned id = uiid_toolbar);
  // Replaces the buttons with those of the toolbar resource resid and its bitmap.
  bool LoadToolBar(unsigned resid);

  SIZE ButtonSize() const;
  // The command of the button at index, 0 for a separator or no button.
  unsigned ButtonCommand(int index) const;
  // The image index of the button at index, -1 for a separator or no button.
  int ButtonImage(int index) const;
  // TBSTATE_ bits of the button with that command; 0 when there is none.
  unsigned ButtonState(unsigned command) const;
};
