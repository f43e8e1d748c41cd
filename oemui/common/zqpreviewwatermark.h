// The watermark part of a page's preview record, in the record's own order (the preview record
// embeds it), so one routine fills it for every page.
#pragma once

#include <windows.h>

struct ZQPreviewWatermark {
    WCHAR szText[512];
    WCHAR szFont[512];
    int iShade;
    int iColor;
    int iStyle;
    int iSize;
    int iAngle;
    int iTextLength;
    int iAngleMode;  // 0 diagonal, 1 horizontal, 2 given angle
};
