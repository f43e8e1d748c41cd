// A dialog with the controls of a page that shows device alerts (the placeholder and the
// owner-drawn refresh button), left to right and right to left: alertdialog.rc.
#pragma once

#define IDD_ZQTEST_ALERTS 310
#define IDD_ZQTEST_ALERTS_RTL 311
