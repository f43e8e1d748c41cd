// Resources and controls of the device alerts (shared by the resource scripts and the code).
#pragma once

// The pages' refresh button shows the alert icon; the owner-drawn button paints the 16 x 16
// refresh bitmap, magenta (0xFF00FF) being its see-through colour.
#define IDI_ALERT 390
#define IDB_ALERT_REFRESH 411

// Controls of a page with alerts: the placeholder whose rectangle the alert window takes, and the
// refresh button (owner-drawn) that the window follows in the z-order.
#define IDC_ALERT_PLACEHOLDER 990
#define IDC_ALERT_REFRESH 1989
