#include "manager/ui/uiresource.h"

#include <commctrl.h>

#include <cstring>

namespace {
HINSTANCE resourcemodule = nullptr;
}

HINSTANCE uiresourcemodule() { return resourcemodule ? resourcemodule : GetModuleHandleA(nullptr); }

void setuiresourcemodule(HINSTANCE module) { resourcemodule = module; }

int uiloadstring(unsigned id, string_c& out) {
  out.assign("");
  // A string table entry holds at most 65535 characters; grow until the text is shorter than
  // the buffer, which tells that nothing was cut.
  for (int size = 256; size <= 65536; size *= 4) {
    char* buffer = out.getbuffer(size);
    if (!buffer) return 0;
    int n = LoadStringA(uiresourcemodule(), id, buffer, size + 1);
    if (n <= 0) {
      buffer[0] = 0;
      return 0;
    }
    if (n < size) {
      buffer[n] = 0;
      return 1;
    }
  }
  return 1;
}

string_c uistring(unsigned id, const char* fallback) {
  string_c text;
  if (!uiloadstring(id, text) || !text.length()) text.assign(fallback ? fallback : "");
  return text;
}

void uiinitcontrols() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                              ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  done = InitCommonControlsEx(&icc) != FALSE;
}
