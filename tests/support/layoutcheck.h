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
// shown controls intersect unless one is a group frame holding the other whole (a label reaching
// into a frame lies over it), and every shown control lies inside the window's client area and
// inside its group frame (below the frame's caption, within its border). A control's frame is the
// one the window's template (wTemplate of hTemplates) puts it in, however the window has moved it
// since. A shown frame holding nothing is empty; a hidden group frame whose place stays empty while
// shown controls stand below it is a gap the page should have closed up.
std::vector<std::string> LayoutFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate);

// One line per shown text that does not fit its control, measured with the control's own font: a
// text that may wrap (a static text, a multi-line button) is taller than the control or has a word
// wider than it; any other text is wider than its room (a check box's or radio button's beside
// its mark, a push button's inside its border, a group frame's caption along its top; a greyed
// text needs a pixel more for its etching); an entry of a drop-down list is wider than the list's
// face, of a list box than the box, of a list view than its label or the view. And a static text
// whose last line ends less than half a line above a frame's caption below it, which then reads as
// one more line of it.
std::vector<std::string> TextFaults(HWND hWnd);

// One line per picture a shown picture control (owner-drawn, a bitmap, an icon) puts on the window
// outside the inside of the frame its template gives it, or over another shown control: where the
// window's pixels change when the control is hidden. The window is drawn anew to see them.
std::vector<std::string> PictureFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate);

// One line per shown row of an owner-drawn list box whose drawing reaches the list's side (a
// text run under the scroll bar, cut mid-letter); per scrolled window of the plug-in's own (a strip
// of rows with a scroll bar; not the alert strip, a list scrolled by pixels whose lines may show
// in part at its edges and end at its scroll bar) that shows a row cut at its bottom edge or
// running against its scroll bar, as it stands and after one click on its down arrow (it is
// scrolled back to its top after); per list box of texts that shows a row cut at its foot, or whose
// entries' texts after a tab start at different places.
std::vector<std::string> RowFaults(HWND hWnd);

// One line per fault of a sample page drawn on a control (read as it stands, never mirrored; the
// caller paints it first): its frame (black, one pixel) not whole where its painter put it (an edge
// with fewer than half its pixels black: a page cut by the roll or drawn over at an edge), or its
// proportions, width to height once what saving roll paper took off is counted back, more than a
// pixel and a half from its paper's (the paper's width and height as the sheet lies, in any one
// unit). A paper of no size is not measured. A roll's page that runs on `beyond` rows past the top
// of the paper shown is looked at below them: its top edge is not shown.
std::vector<std::string> SamplePageFaults(HWND hControl, const RECT& rcSheet, SIZE saved, SIZE paper, LONG beyond = 0);

// One line when the page does not fill its window: the window (a property sheet sizes every page
// to its largest) leaves a band to the right of or below the shown controls wider than the band the
// template itself leaves, grown with the window.
std::vector<std::string> SheetFaults(HWND hPage, HINSTANCE hTemplates, WORD wTemplate);

// The dialog template of the module the window was most likely made from: the one with the
// window's layout direction that shares the most control ids with it; 0 when none shares any.
WORD TemplateOf(HWND hWnd, HINSTANCE hTemplates);

// Makes every shown text of the window's static texts, buttons and frames longer by the fraction
// given (0.4: 40% more characters, repeating its own words), as a translation may be.
void LengthenTexts(HWND hWnd, double fraction);

}  // namespace zqtest
