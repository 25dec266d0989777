#pragma once
// Where the layer finds its resources, and loading strings from them. The Manager carries its
// menus, dialogs and strings in the program file; which language LoadString picks follows the
// thread's locale, set once at start-up.
#include <windows.h>

#include "toolkit/string.h"

// The module resources are loaded from: the program file unless set otherwise.
HINSTANCE uiresourcemodule();
void setuiresourcemodule(HINSTANCE module);

// The string with that id in full (any length), or empty when there is none. Returns 1 when the
// string exists.
int uiloadstring(unsigned id, string_c& out);
// The same, with a fallback text when the string does not exist or is empty.
string_c uistring(unsigned id, const char* fallback = "");

// Registers the common-control classes the layer uses. Cheap; safe to call more than once.
void uiinitcontrols();
