#pragma once
// The Manager's one message-box function. Every message the program shows goes through it, so
// the caption is always the program's title (unless a caller names another) and a test can
// answer the boxes instead of a user.
#include <windows.h>

#include <functional>

// Shows a message box owned by owner (may be null) and returns the button chosen (IDOK, IDYES,
// ...), or 0 when the box could not be shown. A null text shows an empty box; a null caption
// uses the program's title.
int managermessagebox(HWND owner, const char* text, UINT type, const char* caption = nullptr);
// The same with the text taken from the string table (the string with that id, or empty).
int managermessageboxid(HWND owner, unsigned textid, UINT type, const char* caption = nullptr);

// The program's title used as caption; set once at start-up.
void setmessageboxcaption(const char* caption);
const char* messageboxcaption();

// For tests: while an answer function is set, it is called instead of showing a box, with the
// text and caption the box would have had, and its result is returned. An empty function
// restores the real boxes. Returns the function that was set before.
using messageboxanswer_t = std::function<int(HWND owner, const char* text, const char* caption, UINT type)>;
messageboxanswer_t setmessageboxanswer(messageboxanswer_t answer);
