// Bitmaps of the sample-page preview (shared by the resource script and the code).
#pragma once

// Two-sided printing icons, 24 x 24; the top-left pixel's colour is the see-through colour.
#define IDB_PREVIEW_FLIP_UP 130       // pages flipped up; also the folded portrait sheet
#define IDB_PREVIEW_FLIP_SIDE 133     // pages turned at the side
#define IDB_PREVIEW_FLIP_SIDE_RTL 137 // the same, read right to left
#define IDB_PREVIEW_FLIP_UP_RTL 140
#define IDB_PREVIEW_FOLD_LANDSCAPE 193
// The folded sheet over the preview's top-right corner, 24 x 24; see-through as above.
#define IDB_PREVIEW_FOLD_ICON 189            // portrait sheet
#define IDB_PREVIEW_FOLD_ICON_LANDSCAPE 191
// The large-format roll pictures; white is see-through where they are drawn over the paper.
#define IDB_ROLL_SCISSORS 886        // 23 x 21
#define IDB_ROLL_CUT_LINE 887        // 130 x 8
#define IDB_ROLL_OPTIONS_BACK 941    // white ground of the layout dialog's roll picture
#define IDB_ROLL_SAMPLE_PHOTO 1022   // 93 x 91
