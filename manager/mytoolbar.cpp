#include "manager/mytoolbar.h"

#include <commctrl.h>

#include "manager/ui/uiframe.h"

bool CMyToolBar::Create(uiframe_c& frame, unsigned id) {
  // No flat style: raised buttons, pressed and greyed looks and separators drawn as gaps.
  if (!create(frame, id, TBSTYLE_TOOLTIPS)) return false;
  setdockmask(uidockany);
  return true;
}

bool CMyToolBar::LoadToolBar(unsigned resid) { return load(resid); }

SIZE CMyToolBar::ButtonSize() const {
  DWORD size = static_cast<DWORD>(SendMessageA(control(), TB_GETBUTTONSIZE, 0, 0));
  SIZE s = {LOWORD(size), HIWORD(size)};
  return s;
}

unsigned CMyToolBar::ButtonCommand(int index) const {
  TBBUTTON button = {};
  if (!SendMessageA(control(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) return 0;
  return (button.fsStyle & BTNS_SEP) ? 0 : static_cast<unsigned>(button.idCommand);
}

int CMyToolBar::ButtonImage(int index) const {
  TBBUTTON button = {};
  if (!SendMessageA(control(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) return -1;
  return (button.fsStyle & BTNS_SEP) ? -1 : button.iBitmap;
}

unsigned CMyToolBar::ButtonState(unsigned command) const {
  LRESULT state = SendMessageA(control(), TB_GETSTATE, static_cast<WPARAM>(command), 0);
  return state < 0 ? 0 : static_cast<unsigned>(state);
}
