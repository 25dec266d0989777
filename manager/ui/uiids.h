#pragma once
// Command, window and string ids the window layer itself knows. The Manager's resources use the
// same numbers: the View menu's "Toolbar" and "Status Bar" items carry the ids of the bars they
// show and hide, and the frame's title is the first line of the string with the frame's id.

// Bars: the window id of each bar is also the command that shows or hides it.
constexpr unsigned uiid_toolbar = 59392;
constexpr unsigned uiid_statusbar = 59393;

// The first pane of a frame's client area (the splitter); pane (row 0, column c) of a splitter
// has id uiid_panefirst + c.
constexpr unsigned uiid_panefirst = 59648;

// Commands with fixed ids.
constexpr unsigned uiid_appabout = 57664;
constexpr unsigned uiid_appexit = 57665;

// Strings: the application's title, the status bar's idle prompt ("Ready"), and the text shown
// when an edit that must hold a whole number does not ("Please enter an integer."). A program
// that carries them in its string tables gets them in its own language; without them the
// layer uses the English texts.
constexpr unsigned uiids_apptitle = 57344;
constexpr unsigned uiids_idleprompt = 57345;
constexpr unsigned uiids_parseint = 61712;

// Resource type of a toolbar layout: version 1, image width, image height, button count, then one
// command id per button (0 for a separator), all 16-bit.
constexpr unsigned uirt_toolbar = 241;
