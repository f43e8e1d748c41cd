// The sample page's record as the layout and finishing pages fill it before each paint: every field
// from the working settings, the features and the document's paper by the rules those pages share;
// a page then writes over it what its own controls show.
#pragma once

#include "common/zquibase.h"
#include "pages/zqpages.h"
#include "featurelogic/zquilogic.h"
#include "preview/zqpreviewsettings.h"

// What the filler reads besides the page's context.
struct ZQPagePreviewSources {
    POEMCUIPPARAM pParam;       // the block's items and the core driver's private devmode
    const DEVMODEW* pPublicDM;  // the document's paper
    HWND hPortrait;             // the two preview controls
    HWND hLandscape;
    CZQUIBase* pTexts;          // the status module's texts and the watermark record
};

// The steps every page's filler shares, the Paper/Quality page's too: the preview windows, the
// layout of the pages on the sheet and the finishing marks with the finisher of the accessory;
// the document's paper, the paper it prints on and the scale; a poster with its tiles; the
// watermark; the paper's kind and the features every preview reads.
void ZQFillPreviewLayout(PreviewSettings* pRecord, const ZQUIDevmode& dm, const CZQUILogic& logic, HWND hPortrait,
                         HWND hLandscape);
void ZQFillPreviewPaper(PreviewSettings* pRecord, const ZQUIDevmode& dm, const PrinterCaps* pCaps,
                        const DEVMODEW* pPublicDM);
void ZQFillPreviewPoster(PreviewSettings* pRecord, const ZQUIDevmode& dm, const CZQUILogic& logic);
// The watermark on the first page or every page, its text and look, or none (" [none]", string 874).
void ZQFillPreviewWatermark(PreviewSettings* pRecord, const ZQUIDevmode& dm, CZQUIBase& texts,
                            const PrinterCaps* pCaps);
// The margins "ZQPrintWithMargins" asks: standard, oversize paper, clipped contents (no inset) or
// none (no inset when the printer prints borderless).
void ZQFillPreviewMargins(PreviewSettings* pRecord, POEMCUIPPARAM pParam);
// The margin fields of a layout of "ZQPrintWithMargins" (0 standard, 1 oversize paper, 2 clipped
// contents, 3 none), as above.
void ZQSetPreviewMarginLayout(PreviewSettings* pRecord, int iLayout, POEMCUIPPARAM pParam);
// The paper's kind (envelope, banner, borderless), centring, content orientation, the printer's
// class and page language, the roll options and the document mode of the core driver's block.
void ZQFillPreviewFeatures(PreviewSettings* pRecord, const ZQUIDevmode& dm, CZQUILogic& logic, POEMCUIPPARAM pParam);

// The roll and margin fields as the pages with the printer's margin choice show them: a paper not
// named for sheets comes from the roll, unless a large-format printer feeds it from its sheet source
// (then it is not turned either); the margin kind of "ZQPrintWithMargins" ("Clip" prints without an
// inset, another option as "ZQBorderless" says). Reads the record's large-format field.
void ZQFillPreviewRollMargins(PreviewSettings* pRecord, POEMCUIPPARAM pParam, bool bPostScript);

// FALSE, with last error 13, without the working settings; fields the rules leave alone keep what
// the record held.
BOOL ZQFillPagePreview(PreviewSettings* pRecord, const PageContext& context, const ZQPagePreviewSources& sources);

// The paper comes from a roll: a paper whose keyword ("PageSize" under PostScript, else "PaperSize")
// does not name a sheet ("_SHEET"), fed from the automatic source or from any source but a sheet
// feeder ("Sheet", "Manual Feed"). -1 when the paper cannot be read (the field stays).
int ZQRollPaperState(POEMCUIPPARAM pParam, bool bPostScript);
