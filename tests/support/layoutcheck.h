// What a user would see wrong on a page or dialog as it stands: controls that overlap, controls
// outside the window or out of their group frame, and texts that do not fit their controls. Every
// page and dialog test can run it on a window made from a template; a control counts as shown by
// its own WS_VISIBLE style, since a test's page is never shown itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zqtest {

// One line per fault, naming the controls by id and class; empty when the layout is sound. No two
// shown controls intersect unless one is a group frame holding the other whole, and every shown
// control lies inside the window's client area and inside its group frame (below the frame's
// caption, within its border). A control's frame is the one the window's template (wTemplate of
// hTemplates) puts it in, however the window has moved it since.
std::vector<std::string> LayoutFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate);

// One line per shown text that does not fit its control, measured with the control's own font: a
// text that may wrap (a static text, a multi-line button) is taller than the control or has a word
// wider than it; any other text is wider than its room (a check box's or radio button's beside
// its mark, a push button's inside its border, a group frame's caption along its top).
std::vector<std::string> TextFaults(HWND hWnd);

// Makes every shown text of the window's static texts, buttons and frames longer by the fraction
// given (0.4: 40% more characters, repeating its own words), as a translation may be.
void LengthenTexts(HWND hWnd, double fraction);

}  // namespace zqtest
