#include "manager/ui/managermessagebox.h"

#include <utility>

#include "manager/ui/uiresource.h"
#include "toolkit/string.h"

namespace {

string_c& caption() {
  static string_c text;
  return text;
}

messageboxanswer_t& answerhook() {
  static messageboxanswer_t hook;
  return hook;
}

}  // namespace

void setmessageboxcaption(const char* text) { caption().assign(text ? text : ""); }

const char* messageboxcaption() { return caption().text(); }

messageboxanswer_t setmessageboxanswer(messageboxanswer_t answer) {
  messageboxanswer_t before = std::move(answerhook());
  answerhook() = std::move(answer);
  return before;
}

int managermessagebox(HWND owner, const char* text, UINT type, const char* title) {
  if (!text) text = "";
  if (!title) title = messageboxcaption();
  // A stale owner would make the system refuse the box; show it without one instead.
  if (owner && !IsWindow(owner)) owner = nullptr;
  if (answerhook()) {
    // Copy first: the answer may replace the hook while it runs.
    messageboxanswer_t hook = answerhook();
    try {
      return hook(owner, text, title, type);
    } catch (...) {
      return 0;
    }
  }
  return MessageBoxA(owner, text, title, type);
}

int managermessageboxid(HWND owner, unsigned textid, UINT type, const char* title) {
  string_c text;
  uiloadstring(textid, text);
  return managermessagebox(owner, text.text(), type, title);
}
