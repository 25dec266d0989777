#pragma once
// Base of a program's application object: the command line and show command it was started
// with, its title (string 57344) and per-user profile store, its main frame, and the message
// loop. The loop translates the main frame's accelerators and, each time the queue runs empty,
// gives the idle step: the main frame asks every toolbar button's command whether it is enabled
// and checked. A derived application does its start-up in OnStartUp.
#include <windows.h>

#include "manager/ui/uiprofile.h"
#include "toolkit/string.h"

class uiframe_c;

class uiapp_c {
public:
  uiapp_c() = default;
  virtual ~uiapp_c() = default;
  uiapp_c(const uiapp_c&) = delete;
  uiapp_c& operator=(const uiapp_c&) = delete;

  // The program's whole life: OnStartUp, then the message loop unless it answered false, then
  // OnExit. Returns the exit code.
  int run(HINSTANCE instance, const char* commandline, int showcommand);

  // Dispatches every queued message (accelerators first), then runs the idle step once. False
  // when WM_QUIT came (the exit code is kept).
  bool pumpmessages();
  // Runs until WM_QUIT; returns its exit code.
  int messageloop();
  int exitcode() const { return quitcode; }

  void setmainframe(uiframe_c* frame);
  uiframe_c* mainframe() const { return mainwindow; }
  HINSTANCE instance() const { return module; }
  const char* commandline() const { return cmdline.text(); }
  int showcommand() const { return show; }

  // The title names the program in message boxes and places its profile store; the registry
  // key name puts the store under HKEY_CURRENT_USER\Software\<key name>\<title>.
  void settitle(const char* title);
  const char* title() const { return apptitle.text(); }
  void setregistrykey(const char* keyname);
  uiprofile_c& profile() { return store; }

protected:
  // After the title was loaded; false ends the program at once.
  virtual bool OnStartUp();
  virtual int OnExit(int code);
  // Idle work; count is how many idle steps ran since the last message. True asks for another
  // step before the loop sleeps. The default refreshes the main frame's command states.
  virtual bool OnIdle(long count);
  // A message before it is dispatched. True when it was consumed (accelerators).
  virtual bool PreTranslate(MSG& msg);

private:
  void dispatch(MSG& msg);
  void idle();

  HINSTANCE module = nullptr;
  string_c cmdline;
  int show = SW_SHOWNORMAL;
  string_c apptitle;
  string_c registrykey;
  uiprofile_c store;
  uiframe_c* mainwindow = nullptr;
  int quitcode = 0;
};
