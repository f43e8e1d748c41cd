// The Paper/Quality page's sample page: the preview record filled before each paint from the
// working settings, the features and the page's own controls.
#pragma once

#include "common/zquibase.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

// What the filler reads besides the page's context.
struct ZQPaperQualityPreviewSources {
    POEMCUIPPARAM pParam;        // the block's items
    const DEVMODEW* pPublicDM;   // the document's paper
    HWND hPortrait;              // the two preview controls
    HWND hLandscape;
    HWND hThriftmode;            // the thriftmode box, when the printer has no thriftmode item
    CZQUIBase* pTexts;           // the status module's texts and the watermark record
};

// FALSE, with last error 13, without the working settings.
BOOL ZQFillPaperQualityPreview(PreviewSettings* pRecord, const PageContext& context,
                               const ZQPaperQualityPreviewSources& sources);
