#pragma once
// Ids of the window layer's test resources (testui.rc).
#define IDR_TESTFRAME 100
#define IDR_BADVERSION 101
#define IDR_NOBITMAP 102
#define IDR_TRUNCATED 103
#define IDD_TESTDATA 200
#define IDD_MISSING 299

#define IDC_INTERVAL 1031
#define IDC_INTERVALSPIN 1032
#define IDC_BEEP 1003
#define IDC_POPUP 1004
#define IDC_MESSAGE 1023
#define IDC_LIST 1040

#define ID_REFRESH 32783
#define ID_DELETE 32781
#define ID_SENT 32789
#define ID_READ 32790
#define ID_FAILED 32791
#define ID_CONTENTS 32801
#define ID_PROMPTONLY 32808
#define ID_EXIT 57665
#define ID_VIEWTOOLBAR 59392
#define ID_VIEWSTATUSBAR 59393
