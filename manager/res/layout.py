# The one layout of every menu, dialog, accelerator table and toolbar of the Manager, plus the
# picture files behind its icons and bitmap. Texts are keys into texts.py; ids are names from
# resource.h. genrc.py turns this into the resource script with one copy per language.
#
# Dialog geometry is in dialog units. Positions and sizes the program's other parts rely on
# (dialog sizes, the details dialog's controls) are kept as they are; the rest was laid out so
# that the longest of the five translations fits (the resource tests measure every label).

# ---- menus ---------------------------------------------------------------------------------------
# ("popup", text, [items]), ("item", text, command), ("separator",)

SEPARATOR = ("separator",)


def popup(key, *items):
    return ("popup", key, list(items))


def item(key, command):
    return ("item", key, command)


MENUS = [
    ("IDR_MAINFRAME", [
        popup("menu.file",
              item("menu.file.newfax", "ID_NEW_FAX"),
              item("menu.file.options", "ID_OPTIONS"),
              item("menu.file.exportlog", "ID_EXPORT_LOG"),
              SEPARATOR,
              item("menu.file.exit", "ID_APP_EXIT")),
        popup("menu.folders",
              item("menu.folders.new", "ID_FOLDER_NEW"),
              item("menu.folders.delete", "ID_FOLDER_DELETE")),
        popup("menu.event",
              item("menu.event.view", "ID_EVENT_VIEW"),
              item("menu.event.print", "ID_EVENT_PRINT"),
              item("menu.event.details", "ID_EVENT_DETAILS"),
              SEPARATOR,
              item("menu.event.move", "ID_EVENT_MOVE"),
              SEPARATOR,
              item("menu.event.route", "ID_EVENT_ROUTE"),
              item("menu.event.resubmit", "ID_EVENT_RESUBMIT"),
              item("menu.event.forward", "ID_EVENT_FORWARD"),
              SEPARATOR,
              item("menu.event.delete", "ID_EVENT_DELETE")),
        popup("menu.view",
              item("menu.view.refresh", "ID_VIEW_REFRESH"),
              SEPARATOR,
              item("menu.view.sent", "ID_VIEW_SENT"),
              item("menu.view.read", "ID_VIEW_READ"),
              item("menu.view.failed", "ID_VIEW_FAILED"),
              SEPARATOR,
              item("menu.view.toolbar", "ID_VIEW_TOOLBAR"),
              item("menu.view.statusbar", "ID_VIEW_STATUS_BAR")),
        popup("menu.help",
              item("menu.help.contents", "ID_HELP_CONTENTS"),
              SEPARATOR,
              item("menu.about", "ID_APP_ABOUT")),
    ]),
    # The event list's context menu: the list shows the first popup.
    ("IDR_EVENTMENU", [
        popup("menu.event",
              item("menu.context.view", "ID_EVENT_VIEW"),
              item("menu.context.print", "ID_EVENT_PRINT"),
              item("menu.context.details", "ID_EVENT_DETAILS"),
              SEPARATOR,
              item("menu.context.route", "ID_EVENT_ROUTE"),
              item("menu.context.resubmit", "ID_EVENT_RESUBMIT"),
              item("menu.event.forward", "ID_EVENT_FORWARD"),
              SEPARATOR,
              item("menu.event.move", "ID_EVENT_MOVE"),
              SEPARATOR,
              item("menu.context.delete", "ID_EVENT_DELETE")),
    ]),
    # The notification-area menu: the icon shows the first popup; its first item is the default
    # and the double-click command.
    ("IDR_TRAYMENU", [
        popup("IDR_TRAYMENU",
              item("menu.tray.open", "ID_OPEN_MANAGER"),
              item("menu.tray.newfax", "ID_NEW_FAX"),
              SEPARATOR,
              item("menu.about", "ID_APP_ABOUT"),
              item("menu.tray.options", "ID_OPTIONS"),
              item("menu.tray.exit", "ID_APP_EXIT")),
    ]),
]

# ---- accelerators (the same keys in every language) --------------------------------------------
# (key, command, modifiers): a letter in quotes or a VK_ name.

ACCELERATORS = [
    ("IDR_MAINFRAME", [
        ('"N"', "ID_NEW_FAX", "CONTROL"),
        ('"S"', "ID_VIEW_SENT", "CONTROL"),
        ('"R"', "ID_VIEW_READ", "CONTROL"),
        ('"F"', "ID_VIEW_FAILED", "CONTROL"),
        ("VK_DELETE", "ID_EVENT_DELETE", ""),
        ("VK_F5", "ID_VIEW_REFRESH", ""),
    ]),
]

# ---- toolbar: 16 x 16 images, one per button from the bitmap of the same id; None = separator ---

TOOLBARS = [
    ("IDR_MAINFRAME", 16, 16, [
        "ID_NEW_FAX", "ID_EXPORT_LOG", None,
        "ID_EVENT_VIEW", "ID_EVENT_PRINT", "ID_EVENT_DETAILS", "ID_EVENT_ROUTE",
        "ID_EVENT_RESUBMIT", "ID_EVENT_DELETE", None,
        "ID_VIEW_SENT", "ID_VIEW_READ", "ID_VIEW_FAILED", None,
        "ID_APP_ABOUT",
    ]),
]

# ---- pictures drawn by drawicons.py ---------------------------------------------------------------

ICONS = [
    ("IDR_MAINFRAME", "frame.ico"),
    ("IDI_STATE_SENT", "state_sent.ico"),
    ("IDI_DETAILS", "details.ico"),
    ("IDI_STATE_READ", "state_read.ico"),
    ("IDI_STATE_UNREAD", "state_unread.ico"),
    ("IDI_STATE_FAILED", "state_failed.ico"),
    ("IDI_STATE_CANCELLED", "state_cancelled.ico"),
    ("IDI_STATE_PENDING", "state_pending.ico"),
    ("IDI_ROUTE", "route.ico"),
    ("IDI_STATE_WORKING", "state_working.ico"),
    ("IDI_STATE_QUEUED", "state_queued.ico"),
    ("IDI_ATTACHMENT", "attachment.ico"),
    ("IDI_TRAY", "tray.ico"),
    ("IDI_TRAY_FAILED", "tray_failed.ico"),
    ("IDI_TRAY_UNREAD", "tray_unread.ico"),
    ("IDI_TRAY_BOTH", "tray_both.ico"),
    ("IDI_ATTACHMENT_BAD", "attachment_bad.ico"),
    ("IDI_FOLDER_INBOX", "folder_inbox.ico"),
    ("IDI_FOLDER_OUTBOX", "folder_outbox.ico"),
    ("IDI_FOLDER_GROUP", "folder_group.ico"),
    ("IDI_FOLDER_PERSONAL", "folder_personal.ico"),
]

BITMAPS = [
    ("IDR_MAINFRAME", "toolbar.bmp"),
]

# ---- dialogs ----------------------------------------------------------------------------------------
# Each control: (class, text key or None, id, (x, y, width, height), style). Controls are listed
# in tab order. Every dialog uses the shell dialog font at 8 points.

DIALOG_STYLE = "DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU"


def label(key, id, rect, style=""):
    return ("Static", key, id, rect, _join("SS_LEFT", style))


def group(key, rect):
    return ("Button", key, "IDC_STATIC", rect, "BS_GROUPBOX")


def edit(id, rect, style="ES_AUTOHSCROLL"):
    return ("Edit", None, id, rect, _join("ES_LEFT | WS_BORDER | WS_TABSTOP", style))


def button(key, id, rect):
    return ("Button", key, id, rect, "BS_PUSHBUTTON | WS_TABSTOP")


def defbutton(key, id, rect):
    return ("Button", key, id, rect, "BS_DEFPUSHBUTTON | WS_TABSTOP")


def checkbox(key, id, rect, style=""):
    return ("Button", key, id, rect, _join("BS_AUTOCHECKBOX | WS_TABSTOP", style))


def listbox(id, rect, style):
    return ("ListBox", None, id, rect, _join("WS_BORDER | WS_TABSTOP", style))


def icon(iconid, rect):
    # The text of an icon control is the icon's resource id.
    return ("Static", "#" + iconid, "IDC_STATIC", rect, "SS_ICON")


def control(cls, id, rect, style):
    return (cls, None, id, rect, style)


def _join(a, b):
    return a + (" | " + b if b else "")


def dialog(id, size, caption, controls):
    return {"id": id, "size": size, "caption": caption, "controls": controls}


DIALOGS = [
    dialog("IDD_EVENTDETAILS", (308, 215), "details.caption", [
        icon("IDI_DETAILS", (10, 13, 21, 20)),
        label("details.party", "IDC_DETAILS_PARTYLABEL", (37, 8, 52, 8)),
        label("details.date", "IDC_DETAILS_DATELABEL", (37, 21, 52, 8)),
        label("details.subject", "IDC_STATIC", (37, 34, 52, 8)),
        edit("IDC_DETAILS_PARTY", (91, 6, 210, 12), "ES_AUTOHSCROLL | ES_READONLY"),
        edit("IDC_DETAILS_DATE", (91, 19, 210, 12), "ES_AUTOHSCROLL | ES_READONLY"),
        edit("IDC_DETAILS_SUBJECT", (91, 32, 210, 12)),
        edit("IDC_DETAILS_BODY", (3, 47, 301, 104),
             "ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL"),
        listbox("IDC_DETAILS_ATTACHMENTS", (3, 153, 301, 56),
                "LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_MULTICOLUMN | LBS_DISABLENOSCROLL | "
                "LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_HSCROLL"),
    ]),
    dialog("IDD_ROUTE", (272, 164), "route.caption", [
        icon("IDI_ROUTE", (7, 7, 21, 20)),
        label("route.intro", "IDC_STATIC", (40, 8, 225, 26)),
        label("route.users", "IDC_STATIC", (7, 38, 100, 8)),
        listbox("IDC_ROUTE_USERS", (7, 48, 100, 90),
                "LBS_SORT | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | "
                "LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL"),
        button("route.add", "IDC_ROUTE_ADD", (111, 72, 50, 14)),
        button("route.remove", "IDC_ROUTE_REMOVE", (111, 92, 50, 14)),
        label("route.targets", "IDC_STATIC", (165, 38, 100, 8)),
        listbox("IDC_ROUTE_TARGETS", (165, 48, 100, 90),
                "LBS_SORT | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | "
                "LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL"),
        defbutton("dialog.ok", "IDOK", (161, 143, 50, 14)),
        button("dialog.cancel", "IDCANCEL", (215, 143, 50, 14)),
    ]),
    dialog("IDD_OPTIONS", (229, 167), "options.caption", [
        group("options.general", (7, 7, 215, 46)),
        label("options.interval", "IDC_STATIC", (14, 21, 124, 8)),
        edit("IDC_OPTIONS_INTERVAL", (140, 19, 32, 12), "ES_AUTOHSCROLL | ES_NUMBER"),
        # Attaches itself to the edit just before it and takes the edit's right end.
        control("msctls_updown32", "IDC_OPTIONS_INTERVALSPIN", (172, 19, 10, 12),
                "UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | "
                "UDS_NOTHOUSANDS"),
        label("options.minutes", "IDC_STATIC", (176, 21, 42, 8)),
        checkbox("options.beep", "IDC_OPTIONS_BEEP", (14, 36, 200, 10)),
        group("options.popups", (7, 57, 215, 82)),
        checkbox("options.popupnew", "IDC_OPTIONS_POPUPNEW", (14, 70, 200, 10)),
        edit("IDC_OPTIONS_MESSAGENEW", (14, 82, 200, 12)),
        checkbox("options.popupfailed", "IDC_OPTIONS_POPUPFAILED", (14, 101, 200, 10)),
        edit("IDC_OPTIONS_MESSAGEFAILED", (14, 113, 200, 12)),
        defbutton("dialog.ok", "IDOK", (118, 146, 50, 14)),
        button("dialog.cancel", "IDCANCEL", (172, 146, 50, 14)),
    ]),
    dialog("IDD_NEWFOLDER", (181, 106), "newfolder.caption", [
        label("newfolder.name", "IDC_STATIC", (7, 9, 167, 8)),
        edit("IDC_NEWFOLDER_NAME", (7, 19, 167, 12)),
        label("newfolder.location", "IDC_STATIC", (7, 38, 167, 8)),
        edit("IDC_NEWFOLDER_LOCATION", (7, 48, 107, 12)),
        button("newfolder.browse", "IDC_NEWFOLDER_BROWSE", (118, 47, 56, 14)),
        defbutton("dialog.ok", "IDOK", (64, 85, 52, 14)),
        button("dialog.cancel", "IDCANCEL", (122, 85, 52, 14)),
    ]),
    dialog("IDD_MOVE", (219, 150), "move.caption", [
        label("move.intro", "IDC_STATIC", (7, 7, 148, 16)),
        control("SysTreeView32", "IDC_MOVE_TREE", (7, 25, 148, 95),
                "TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | "
                "TVS_DISABLEDRAGDROP | WS_BORDER | WS_VSCROLL | WS_TABSTOP"),
        defbutton("dialog.ok", "IDOK", (162, 7, 50, 14)),
        button("dialog.cancel", "IDCANCEL", (162, 24, 50, 14)),
        checkbox("move.copy", "IDC_MOVE_COPY", (7, 124, 205, 20), "BS_MULTILINE"),
    ]),
]
