#pragma once
// The Manager's application object: chooses the user-interface language, makes sure one desktop
// runs one Manager, creates and first shows the main window (hidden in the notification area for
// a "-taskbar" start on the old shell), and starts the version program for the About command.
#include <windows.h>

#include <memory>

#include "manager/ui/uiapp.h"

class CMainFrame;

class CManagerApp : public uiapp_c {
public:
  // The operating system's major version is read once, here.
  CManagerApp();
  // The same with a given major version.
  explicit CManagerApp(DWORD majorversion);
  ~CManagerApp() override;

  // 1 when the operating system reports major version 4, else 0.
  int Windows4;

  // Everything between the window layer's own start and the message loop. commandline is the
  // text after the program's name. False ends the program at once: another Manager runs (its
  // window was shown), or the main window could not be created (no mailbox).
  bool StartUp(const char* commandline, int showcommand);

  // Sets this thread's locale and user-interface language from Language in section Options of
  // RIROVEVI.INI, so that menus, dialogs and strings load in that language. Returns the locale id.
  static unsigned ChooseLanguage();
  // The first enabled top-level window, in z-order, whose title starts with the program's title
  // (string 127); null when there is none.
  static HWND FindRunningManager();
  // Starts the version program next to this program, naming the product's registry key and
  // mainwindow (the program's main window) as its parent, and keeps the windows alive until it
  // ends. Nothing happens when it cannot be started. When the main window is closed meanwhile,
  // the program still ends once the version program has.
  static void ShowAbout(HWND mainwindow);

  CMainFrame* MainFrame() const { return frame.get(); }

protected:
  bool OnStartUp() override;

private:
  std::unique_ptr<CMainFrame> frame;
};
