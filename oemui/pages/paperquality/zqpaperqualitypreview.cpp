#include "pages/paperquality/zqpaperqualitypreview.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"

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

    ZQSetPreviewWindow(&r, kPvLandscapeWindow, sources.hLandscape);
    ZQSetPreviewWindow(&r, kPvPortraitWindow, sources.hPortrait);
    r.wOrientation = dm->wOrientation;
    r.wDuplex = dm->wDuplex;
    r.iPagesPerSheet = Int(dm->dwPagesPerSheet);
    r.iPageBorders = Int(dm->dwPageBorders);
    r.iPageOrder = Int(dm->dwPageOrderIndex);
    r.iBooklet = Int(dm->dwBooklet);
    value[kPvStaple] = logic->IGetStapleCode();
    value[kPvPunch] = logic->IGetPunchCode();
    value[kPvFold] = logic->IGetFoldCode();

    // Rotation; paper from the sheet feeder is never fed transverse.
    value[kPvRotated] = Int(dm->dwRotate180);
    value[kPvMirror] = Int(dm->dwMirror);
    CZQLocalPtr<WCHAR> source;
    if (CZQCommon::DWGetPubSelectionName(param, DMPUB_DEFSOURCE, source.Put()) == ZQOPT_OK) {
        if (ZQEqualNoCase(source.Get(), zqkw::kSheet)) value[kPvTransverse] = 0;
    } else {
        value[kPvTransverse] = Int(dm->dwRotate90);
    }
    const DEVMODEW* pub = sources.pPublicDM;
    value[kPvLetterOrA4] = pub && (pub->dmPaperSize == DMPAPER_LETTER || pub->dmPaperSize == DMPAPER_A4) ? 1 : 0;
    const int accessory = logic->IGetOutputAccessoryCode();
    value[kPvFinisherKind] = accessory == 8 || accessory == 12 ? 1 : accessory == 3 ? 2 : 0;

    // Scale and watermark.
    value[kPvScale] = dm->dwPrintDocOn == 1 ? 100 : Int(dm->dwScalePercent);
    value[kPvWatermarkFirstPage] = dm->dwWmFirstPageOnly == 1 ? 1 : 0;
    sources.pTexts->VSetWatermarkPreviewData(&r.watermark, caps, dm);
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
    WCHAR none[CZQCommon::kResStringChars];
    if (!sources.pTexts->BLoadResString(874, none)) ZQCopyText(none, CZQCommon::kResStringChars, L" [none]");
    value[kPvNoWatermark] = wcscmp(r.watermark.szText, none) == 0 ? 1 : 0;

    // The document's paper and, when it prints on another, that paper.
    LONG width = 0, length = 0;
    if (!pub || !CZQUIBase::BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &length, caps)) width = length = 0;
    value[kPvDocWidth] = width;
    value[kPvDocHeight] = length;
    value[kPvFitScaled] = Int(dm->dwScaleToFit);
    value[kPvFitToPage] = Int(dm->dwPrintDocOn);
    if (value[kPvFitToPage] == 1 &&
        CZQUIBase::BGetPaperDimensions(static_cast<WORD>(dm->dwPrintedOnPaper), &width, &length, caps)) {
        value[kPvSheetWidth] = width;
        value[kPvSheetHeight] = length;
    }

    // Posters, special papers, centring.
    value[kPvPoster] = logic->BGetPosterTiles(&value[kPvPosterSize]) ? 1 : 0;
    if (logic->BIsPosterPrinting()) {
        const int perSide = CZQFinishingTab::IPosterTilesPerSide(value[kPvPosterSize]);
        extra[kPxTilesPerSide] = perSide;
        for (int i = 0; i < perSide * perSide && i < kPreviewPosterTiles; ++i)
            r.aiPosterTile[i] = Int(dm->adwPosterTiles[i]);
    }
    value[kPvEnvelope] = logic->BIsEnvelopePaper() ? 1 : 0;
    value[kPvBanner] = logic->BIsBannerPaper() ? 1 : 0;
    value[kPvNoInset] = logic->BIsBorderlessPaper() ? 1 : 0;
    const int centre = OptionIs(param, L"ZQCenterOnPage", L"TRUE");
    if (centre >= 0) extra[kPxCenterOnPage] = centre;
    value[kPvFlipUp] = Int(dm->dwFlipPagesUp);
    value[kPvPunchUnit] = logic->IGetPunchUnitType();
    extra[kPxContentOrientation] = Readable(param, L"ZQContentOrientation") ? 1 : 0;
    const bool largeFormat = logic->BIsLargeFormat() != FALSE;
    extra[kPxLargeFormat] = largeFormat ? 1 : 0;
    extra[kPxPageLanguage] = Int(dm->dwPdl);

    // Rolls.
    extra[kPxSaveRollPaper] = OptionIs(param, zqkw::kZQSaveRollPaper, L"TRUE") == 1 ? 1 : 0;
    const int cutterOff = OptionIs(param, zqkw::kZQDisableAutoCutter, L"TRUE");
    if (cutterOff >= 0) extra[kPxAutoCutter] = cutterOff ? 0 : 1;
    extra[kPxAutoRotate] = OptionIs(param, zqkw::kZQAutorotate, L"TRUE") == 1 ? 1 : 0;
    CZQLocalPtr<WCHAR> paper;
    if (CZQCommon::DWGetFeatureOption(param, postScript ? zqkw::kPageSize : zqkw::kPaperSize, paper.Put()) ==
        ZQOPT_OK) {
        extra[kPxRollPaper] = ZQContainsNoCase(paper.Get(), L"_SHEET") ? 0 : 1;
        if (extra[kPxRollPaper] == 1 && largeFormat &&
            OptionIs(param, postScript ? zqkw::kInputSlot : zqkw::kInputBin, zqkw::kSheet) == 1) {
            value[kPvTransverse] = 0;
            extra[kPxRollPaper] = 0;
        }
    }
    if (const ZQUIDevmode* core = zqdm::CurrentBlock(param ? param->pOEMDM : nullptr))
        extra[kPxInchesUnscaled] = Int(core->dwDocumentMode);

    // Margins.
    CZQLocalPtr<WCHAR> margins;
    extra[kPxWithMargins] = 0;
    extra[kPxMarginLayout] = 3;
    if (CZQCommon::DWGetFeatureOption(param, zqkw::kZQPrintWithMargins, margins.Put()) == ZQOPT_OK) {
        if (ZQEqualNoCase(margins.Get(), L"Standard")) {
            extra[kPxWithMargins] = 1;
            extra[kPxMarginLayout] = 0;
        } else if (ZQEqualNoCase(margins.Get(), L"OversizePaper")) {
            extra[kPxWithMargins] = 1;
            extra[kPxMarginLayout] = 1;
        } else if (ZQEqualNoCase(margins.Get(), L"Clip")) {
            extra[kPxWithMargins] = 1;
            extra[kPxMarginLayout] = 2;
            value[kPvNoInset] = 1;
        } else {
            value[kPvNoInset] = Readable(param, zqkw::kZQBorderless) ? 1 : 0;
        }
    }
    return TRUE;
}
