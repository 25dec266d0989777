#pragma once
// Resources of the notification-area icon's tests, beside the Manager's own: a tooltip string
// longer than the notification area takes, under an id that has neither icon nor menu.
#define IDS_TRAYTEST_LONGTIP 4000
