#include "pages/paperquality/zqpaperqualitypreview.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"

using namespace zqpage;

namespace {

int Int(uint32_t value) { return static_cast<int>(value); }

}  // namespace

BOOL ZQFillPaperQualityPreview(PreviewSettings* pRecord, const PageContext& context,
                               const ZQPaperQualityPreviewSources& sources) {
    CZQUILogic* logic = context.pLogic;
    const ZQUIDevmode* dm = logic ? logic->WorkDM() : nullptr;
    if (!dm || !pRecord || !sources.pTexts) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const POEMCUIPPARAM param = sources.pParam;
    const PrinterCaps* caps = context.pCaps;
    const bool postScript = dm->dwPdl == kPdlPostScript;
    PreviewSettings& r = *pRecord;
    int* value = r.aiValue;
    int* extra = r.aiExtra;

    ZQFillPreviewLayout(&r, *dm, *logic, sources.hPortrait, sources.hLandscape);

    // Rotation; paper from the sheet feeder is never fed transverse.
    value[kPvRotated] = Int(dm->dwRotate180);
    value[kPvMirror] = Int(dm->dwMirror);
    CZQLocalPtr<WCHAR> source;
    if (CZQCommon::DWGetPubSelectionName(param, DMPUB_DEFSOURCE, source.Put()) == ZQOPT_OK) {
        if (ZQEqualNoCase(source.Get(), zqkw::kSheet)) value[kPvTransverse] = 0;
    } else {
        value[kPvTransverse] = Int(dm->dwRotate90);
    }

    // The paper, the paper it prints on and the scale; the watermark.
    ZQFillPreviewPaper(&r, *dm, caps, sources.pPublicDM);
    ZQFillPreviewWatermark(&r, *dm, *sources.pTexts, caps);
    value[kPvGrayscale] = Int(dm->dwPrintAsGray);
    extra[kPxTint] = Int(dm->dwSepia);
    int unused = -1;
    if (logic->IBindFeatureControl(0, postScript ? zqkw::kJCLThriftmode : zqkw::kThriftmode, nullptr, nullptr,
                                   OEMCUIP_DOCPROP, CZQUILogic::kBindFlags, FALSE, 0, &unused) != 0)
        r.iThriftmode = 1;
    else
        r.iThriftmode = SendMessageW(sources.hThriftmode, BM_GETCHECK, 0, 0) == BST_CHECKED ? 3 : 2;
    value[kPvKind] = Int(dm->dwLayoutMode);
    value[kPvColorOutput] = dm->dwColorMode == 2 ? 1 : 0;

    // Posters, special papers, centring.
    ZQFillPreviewPoster(&r, *dm, *logic);
    ZQFillPreviewFeatures(&r, *dm, *logic, param);
    value[kPvFlipUp] = Int(dm->dwFlipPagesUp);
    value[kPvPunchUnit] = logic->IGetPunchUnitType();
    ZQFillPreviewRollMargins(&r, param, postScript);
    return TRUE;
}
