// PreviewSettings: what a page tells the preview before each paint. Every page that shows a sample
// page keeps one in its page object, fills it from its settings and hands it to the preview, which
// copies it; nothing in it is owned or kept after the copy.
#pragma once

#include "common/zqpreviewwatermark.h"

// Entries of PreviewSettings::aiValue.
enum ZQPreviewValue : int {
    kPvScale = 0,              // percent
    kPvStaple = 1,             // staple code 0..13
    kPvPunch = 2,              // punch code 0..3
    kPvFold = 3,               // fold code 0..9
    kPvPunchUnit = 4,          // 1 two, 2 three, 3 four holes
    kPvFrontCoverFeeder = 5,   // the four cover flags, in this order
    kPvFrontCover = 6,
    kPvBackCover = 7,
    kPvBackCoverFeeder = 8,
    kPvFinisherKind = 9,       // 0 none, 1 stapler, 2 mailbox
    kPvRotated = 10,           // by 180 degrees
    kPvTransverse = 11,
    kPvMirror = 12,
    kPvLetterOrA4 = 13,
    kPvWatermarkFirstPage = 14,
    kPvGrayscale = 15,
    kPvKind = 16,              // preview kind 1..3
    kPvColorOutput = 17,
    kPvPortraitWindow = 18,    // window handles (ZQSetPreviewWindow)
    kPvLandscapeWindow = 19,
    kPvRollOptionsWindow = 20,
    kPvNoWatermark = 21,
    kPvFlipUp = 22,
    kPvFitToPage = 23,
    kPvFitScaled = 24,
    kPvDocWidth = 25,          // the four paper sizes in tenths of a millimetre
    kPvDocHeight = 26,
    kPvSheetWidth = 27,
    kPvSheetHeight = 28,
    kPvPoster = 29,
    kPvEnvelope = 30,
    kPvPosterSize = 31,        // 0..3
    kPvBanner = 32,
    kPvNoInset = 33,
    kPvValueCount = 34
};

// Entries of PreviewSettings::aiExtra.
enum ZQPreviewExtra : int {
    kPxTilesPerSide = 0,       // 2..5
    kPxTint = 1,
    kPxCenterOnPage = 2,
    kPxContentOrientation = 3,
    kPxLargeFormat = 4,
    kPxPageLanguage = 5,       // as in the private devmode
    kPxRollPaper = 6,
    kPxSaveRollPaper = 7,
    kPxAutoCutter = 8,
    kPxAutoRotate = 9,
    kPxInchesUnscaled = 10,
    kPxWithMargins = 11,
    kPxMarginLayout = 12,      // 0 standard, 1 oversize paper, 2 clip contents, 3 borderless
    kPxExtraCount = 13
};

inline constexpr int kPreviewPosterTiles = 25;

struct PreviewSettings {
    WORD wOrientation;    // 1 portrait, 2 landscape
    WORD wDuplex;         // 1 one-sided, 2 long edge, 3 short edge
    int iPagesPerSheet;   // 1..6 for 1, 2, 4, 6, 9, 16 pages; 0 is taken as 1
    int iPageBorders;
    int iPageOrder;       // 0 right then down, 1 down then right, 2 left then down, 3 down then left
    int iThriftmode;      // 1 no such feature, 2 off, 3 on
    int iBooklet;         // 0 none, 1 bound at the left, 2 read right to left
    // The preview reads the first 255 characters of the text and 31 of the face; the text length
    // and the angle mode are the pages' own.
    ZQPreviewWatermark watermark;
    int aiValue[kPvValueCount];
    int aiPosterTile[kPreviewPosterTiles];  // row by row from the top left; non-zero = printed
    int aiExtra[kPxExtraCount];
};

// Window handles travel in the record's 32-bit entries: window handles are 32-bit values on 64-bit
// Windows too, and are sign-extended back.
inline void ZQSetPreviewWindow(PreviewSettings* pSettings, int iEntry, HWND hwnd) {
    pSettings->aiValue[iEntry] = HandleToLong(hwnd);
}
inline HWND ZQPreviewWindow(const PreviewSettings& settings, int iEntry) {
    return static_cast<HWND>(LongToHandle(settings.aiValue[iEntry]));
}
