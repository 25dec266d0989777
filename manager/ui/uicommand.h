#pragma once
// Command states and command tables. Before a menu opens, at idle time for toolbar buttons, and
// before a command from a menu, an accelerator or a toolbar button runs, the frame asks the
// command's owner "enabled? checked?" with a cmdui_c. A command nobody answers for stays
// disabled, so a command without a handler is never silently swallowed: it shows greyed.
//
// A frame usually keeps its commands in one table:
//
//   static const uicommand_t<CMainFrame> commands[] = {
//     {32783, &CMainFrame::OnRefresh, nullptr},                       // always enabled
//     {32789, &CMainFrame::OnSentItems, &CMainFrame::UpdateSentItems}, // its own answer
//   };
//   bool CMainFrame::OnCommand(unsigned id, unsigned, HWND) { return uiruncommand(*this, commands, id); }
//   void CMainFrame::OnUpdateCommand(cmdui_c& ui) { uiupdatecommand(*this, commands, ui); }
//
// (The table must be complete where the functions are defined; a table declared in the class
// and defined later can be passed with its size instead.)
#include <cstddef>

struct cmdui_c {
  unsigned id = 0;
  bool enabled = false;
  bool checked = false;

  void enable(bool on = true) { enabled = on; }
  void check(bool on = true) { checked = on; }
};

template <class T>
struct uicommand_t {
  unsigned id;
  void (T::*run)();                 // null: the command is only answered for, not run here
  void (T::*update)(cmdui_c& ui);   // null: enabled and unchecked whenever run is set
};

// Runs the table's handler for id; false when the table has none.
template <class T>
bool uiruncommand(T& owner, const uicommand_t<T>* table, std::size_t count, unsigned id) {
  for (std::size_t i = 0; table && i < count; ++i) {
    if (table[i].id == id && table[i].run) {
      (owner.*table[i].run)();
      return true;
    }
  }
  return false;
}

// Answers for ui.id from the table; false (ui unchanged) when the table does not know it.
template <class T>
bool uiupdatecommand(T& owner, const uicommand_t<T>* table, std::size_t count, cmdui_c& ui) {
  for (std::size_t i = 0; table && i < count; ++i) {
    const uicommand_t<T>& entry = table[i];
    if (entry.id != ui.id) continue;
    if (entry.update) {
      (owner.*entry.update)(ui);
    } else {
      ui.enabled = entry.run != nullptr;
      ui.checked = false;
    }
    return true;
  }
  return false;
}

template <class T, std::size_t N>
bool uiruncommand(T& owner, const uicommand_t<T> (&table)[N], unsigned id) {
  return uiruncommand(owner, table, N, id);
}

template <class T, std::size_t N>
bool uiupdatecommand(T& owner, const uicommand_t<T> (&table)[N], cmdui_c& ui) {
  return uiupdatecommand(owner, table, N, ui);
}
