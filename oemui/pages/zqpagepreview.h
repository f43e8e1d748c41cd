// The sample page's record as the layout and finishing pages fill it before each paint: every field
// from the working settings, the features and the document's paper by the rules those pages share;
// a page then writes over it what its own controls show.
#pragma once

#include "common/zquibase.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

// What the filler reads besides the page's context.
struct ZQPagePreviewSources {
    POEMCUIPPARAM pParam;       // the block's items and the core driver's private devmode
    const DEVMODEW* pPublicDM;  // the document's paper
    HWND hPortrait;             // the two preview controls
    HWND hLandscape;
    CZQUIBase* pTexts;          // the status module's texts and the watermark record
};

// FALSE, with last error 13, without the working settings; fields the rules leave alone keep what
// the record held.
BOOL ZQFillPagePreview(PreviewSettings* pRecord, const PageContext& context, const ZQPagePreviewSources& sources);

// The paper comes from a roll: a paper whose keyword ("PageSize" under PostScript, else "PaperSize")
// does not name a sheet ("_SHEET"), fed from the automatic source or from any source but a sheet
// feeder ("Sheet", "Manual Feed"). -1 when the paper cannot be read (the field stays).
int ZQRollPaperState(POEMCUIPPARAM pParam, bool bPostScript);
