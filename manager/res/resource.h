/* The Manager's resource ids, one name per id, shared by the resource script and the C++ code.
 * Plain C macros only: windres reads this file through its preprocessor.
 *
 * One number may name resources of different types (menu 127, icon 127, string 127 and the
 * toolbar 127 are all the frame's); within one type every number is used once.
 *
 * Ids chosen here because nothing outside the Manager depends on them:
 *   - the unnamed static labels of the dialogs use IDC_STATIC;
 *   - strings 160-163 (the log export's save dialog and the toolbar's floating title);
 *   - the dialog geometry beyond the positions and sizes already fixed (see layout.py).
 */
#ifndef RAVELINK_MANAGER_RESOURCE_H
#define RAVELINK_MANAGER_RESOURCE_H

/* ---- frame, menus ---------------------------------------------------------------------- */
/* Menu, accelerators, toolbar layout, toolbar bitmap, frame icon and title string. */
#define IDR_MAINFRAME 127
/* The event list's context menu: one popup. */
#define IDR_EVENTMENU 129
/* The notification-area menu: one popup; also the icon's id and its first tooltip string. */
#define IDR_TRAYMENU 138

/* Resource type of the toolbar layout: version 1, image width, image height, button count,
 * then one command id per button, 0 for a separator; all 16-bit. */
#define RT_MANAGERTOOLBAR 241

/* ---- dialogs and their controls --------------------------------------------------------- */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Event details. */
#define IDD_EVENTDETAILS 130
#define IDC_DETAILS_DATE 1001
#define IDC_DETAILS_PARTY 1002
#define IDC_DETAILS_BODY 1004
#define IDC_DETAILS_SUBJECT 1005
#define IDC_DETAILS_ATTACHMENTS 1010
#define IDC_DETAILS_PARTYLABEL 1011
#define IDC_DETAILS_DATELABEL 1015

/* Route events. */
#define IDD_ROUTE 135
#define IDC_ROUTE_ADD 1002
#define IDC_ROUTE_USERS 1018
#define IDC_ROUTE_TARGETS 1019
#define IDC_ROUTE_REMOVE 1021

/* Manager options. */
#define IDD_OPTIONS 139
#define IDC_OPTIONS_BEEP 1003
#define IDC_OPTIONS_POPUPNEW 1004
#define IDC_OPTIONS_POPUPFAILED 1005
#define IDC_OPTIONS_MESSAGENEW 1023
#define IDC_OPTIONS_MESSAGEFAILED 1024
#define IDC_OPTIONS_INTERVAL 1031
#define IDC_OPTIONS_INTERVALSPIN 1032

/* Create new folder. */
#define IDD_NEWFOLDER 140
#define IDC_NEWFOLDER_NAME 1012
#define IDC_NEWFOLDER_LOCATION 1032
#define IDC_NEWFOLDER_BROWSE 1033

/* Move event to folder. */
#define IDD_MOVE 141
#define IDC_MOVE_TREE 1035
#define IDC_MOVE_COPY 1036

/* ---- icons ------------------------------------------------------------------------------ */
/* Event states, in the event list (16 x 16). */
#define IDI_STATE_SENT 130
#define IDI_STATE_READ 133
#define IDI_STATE_UNREAD 134
#define IDI_STATE_FAILED 135
#define IDI_STATE_CANCELLED 136
#define IDI_STATE_PENDING 137
#define IDI_STATE_WORKING 139
#define IDI_STATE_QUEUED 144
/* Dialog pictures (32 x 32): event details, route. */
#define IDI_DETAILS 132
#define IDI_ROUTE 138
/* Attachment tiles (32 x 32): a file, and a fax file too short to hold a page. */
#define IDI_ATTACHMENT 145
#define IDI_ATTACHMENT_BAD 154
/* Notification area: nothing to report, failed, unread, failed and unread. The string with the
 * same id is the tooltip. */
#define IDI_TRAY 150
#define IDI_TRAY_FAILED 151
#define IDI_TRAY_UNREAD 152
#define IDI_TRAY_BOTH 153
/* Folder tree: Inbox, Outbox, group node, personal folder. */
#define IDI_FOLDER_INBOX 155
#define IDI_FOLDER_OUTBOX 156
#define IDI_FOLDER_GROUP 157
#define IDI_FOLDER_PERSONAL 158

/* ---- commands (each also names its "prompt\ntooltip" string) --------------------------- */
#define ID_OPEN_MANAGER 32772
#define ID_NEW_FAX 32776
#define ID_EVENT_VIEW 32777
#define ID_EVENT_PRINT 32778
#define ID_EVENT_ROUTE 32779
#define ID_EVENT_RESUBMIT 32780
#define ID_EVENT_DELETE 32781
#define ID_EXPORT_LOG 32782
#define ID_VIEW_REFRESH 32783
#define ID_VIEW_SENT 32789
#define ID_VIEW_READ 32790
#define ID_VIEW_FAILED 32791
#define ID_EVENT_DETAILS 32792
#define ID_EVENT_FORWARD 32796
#define ID_OPTIONS 32798
#define ID_HELP_CONTENTS 32801
#define ID_FOLDER_NEW 32802
#define ID_FOLDER_DELETE 32803
#define ID_EVENT_MOVE 32806
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

/* ---- strings ---------------------------------------------------------------------------- */
#define IDS_USER_NOT_FOUND 2
/* Event state texts, state 0 to 7. */
#define IDS_STATE_PENDING 106
#define IDS_STATE_SENT 107
#define IDS_STATE_UNREAD 108
#define IDS_STATE_READ 109
#define IDS_STATE_FAILED 110
#define IDS_STATE_QUEUED 111
#define IDS_STATE_WORKING 112
#define IDS_STATE_CANCELLED 113
#define IDS_NO_CONNECTION 114
/* Folder tree. */
#define IDS_FOLDER_INBOX 115
#define IDS_FOLDER_OUTBOX 116
#define IDS_FOLDER_MAIN 117
#define IDS_FOLDER_PERSONAL 118
#define IDS_FOLDER_NAME_EXISTS 119
#define IDS_FOLDER_DELETE_ASK 120
#define IDS_FOLDER_NEW_NAME 121
#define IDS_FOLDER_DIR_EXISTS 122
/* String IDR_MAINFRAME (127) is the program's title; string IDR_TRAYMENU (138) the tooltip of
 * the notification-area icon before the first scan. */
/* Event details. */
#define IDS_DETAILS_FROM 129
#define IDS_DETAILS_TO 130
#define IDS_DETAILS_RECEIVED 131
#define IDS_DETAILS_SENT 132
#define IDS_DETAILS_SAVE_ASK 133
/* Event commands. */
#define IDS_DELETE_ASK 134
#define IDS_DELETE_QUEUED_ASK 135
#define IDS_NO_VIEWER 136
#define IDS_NO_COMPOSER 137
/* Notifications. */
#define IDS_NOTIFY_NEW 139
#define IDS_NOTIFY_FAILED 140
#define IDS_FOLDER_BROWSE_TITLE 141
#define IDS_FOLDER_MKDIR_FAILED 142
/* Tooltips of the notification-area icons 150 to 153. */
#define IDS_TRAY 150
#define IDS_TRAY_FAILED 151
#define IDS_TRAY_UNREAD 152
#define IDS_TRAY_BOTH 153
/* Log export's save dialog: title and the two filter names (the patterns are fixed). */
#define IDS_EXPORT_TITLE 160
#define IDS_EXPORT_TEXTFILES 161
#define IDS_EXPORT_ALLFILES 162
/* Title of the toolbar while it floats. */
#define IDS_TOOLBAR_TITLE 163
/* The window layer's own strings: application title, idle prompt, whole-number message. */
#define IDS_APP_TITLE 57344
#define IDS_IDLE_PROMPT 57345
#define IDS_PARSE_INT 61712
/* Event list column headings and the placeholder for an empty party. */
#define IDS_COLUMN_TOFROM 61204
#define IDS_COLUMN_SUBJECT 61205
#define IDS_COLUMN_DATETIME 61206
#define IDS_COLUMN_STATE 61207
#define IDS_UNKNOWN_PARTY 61209

#endif
