#include "pages/zqpagepreview.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

int Int(uint32_t value) { return static_cast<int>(value); }

// The options of "ZQPrintWithMargins" with margins, by layout.
constexpr PCWSTR kMarginLayouts[] = {L"Standard", L"OversizePaper", L"Clip"};

// The finisher a preview draws for the installed output accessory: 1 a stapler's mailbox, 2 a
// mailbox of its own.
int MailboxKind(int iAccessory) { return iAccessory == 8 || iAccessory == 12 ? 1 : iAccessory == 3 ? 2 : 0; }

}  // namespace

int ZQRollPaperState(POEMCUIPPARAM pParam, bool bPostScript) {
    WCHAR paper[256];
    if (!ReadOption(pParam, bPostScript ? zqkw::kPageSize : zqkw::kPaperSize, paper)) return -1;
    if (wcsstr(paper, L"_SHEET")) return 0;
    POPTITEM source = PubItem(pParam, DMPUB_DEFSOURCE);
    if (!source || source->Sel == 0) return 1;
    CZQLocalPtr<WCHAR> name;
    if (CZQCommon::DWGetPubSelectionName(pParam, DMPUB_DEFSOURCE, name.Put()) != ZQOPT_OK) return 1;
    return ZQEqualNoCase(name.Get(), L"Sheet") || ZQEqualNoCase(name.Get(), L"Manual Feed") ? 0 : 1;
}

void ZQFillPreviewLayout(PreviewSettings* pRecord, const ZQUIDevmode& dm, const CZQUILogic& logic, HWND hPortrait,
                         HWND hLandscape) {
    PreviewSettings& r = *pRecord;
    ZQSetPreviewWindow(&r, kPvLandscapeWindow, hLandscape);
    ZQSetPreviewWindow(&r, kPvPortraitWindow, hPortrait);
    r.wOrientation = dm.wOrientation;
    r.wDuplex = dm.wDuplex;
    r.iPagesPerSheet = Int(dm.dwPagesPerSheet);
    r.iPageBorders = Int(dm.dwPageBorders);
    r.iPageOrder = Int(dm.dwPageOrderIndex);
    r.iBooklet = Int(dm.dwBooklet);
    r.aiValue[kPvStaple] = logic.IGetStapleCode();
    r.aiValue[kPvPunch] = logic.IGetPunchCode();
    r.aiValue[kPvFold] = logic.IGetFoldCode();
    r.aiValue[kPvFinisherKind] = MailboxKind(logic.IGetOutputAccessoryCode());
}

void ZQFillPreviewPaper(PreviewSettings* pRecord, const ZQUIDevmode& dm, const PrinterCaps* pCaps,
                        const DEVMODEW* pPublicDM) {
    int* value = pRecord->aiValue;
    value[kPvLetterOrA4] =
        pPublicDM && (pPublicDM->dmPaperSize == DMPAPER_LETTER || pPublicDM->dmPaperSize == DMPAPER_A4) ? 1 : 0;
    LONG width = 0, length = 0;
    if (!pPublicDM || !CZQUIBase::BGetPaperDimensions(static_cast<WORD>(pPublicDM->dmPaperSize), &width, &length, pCaps))
        width = length = 0;
    value[kPvDocWidth] = width;
    value[kPvDocHeight] = length;
    value[kPvFitScaled] = Int(dm.dwScaleToFit);
    value[kPvFitToPage] = Int(dm.dwPrintDocOn);
    if (dm.dwPrintDocOn == 1 &&
        CZQUIBase::BGetPaperDimensions(static_cast<WORD>(dm.dwPrintedOnPaper), &width, &length, pCaps)) {
        value[kPvSheetWidth] = width;
        value[kPvSheetHeight] = length;
    }
    value[kPvScale] = dm.dwPrintDocOn == 1 ? 100 : Int(dm.dwScalePercent);
}

void ZQFillPreviewPoster(PreviewSettings* pRecord, const ZQUIDevmode& dm, const CZQUILogic& logic) {
    int* value = pRecord->aiValue;
    value[kPvPoster] = logic.BGetPosterTiles(&value[kPvPosterSize]) ? 1 : 0;
    if (!logic.BIsPosterPrinting()) return;
    const int perSide = CZQUILogic::IPosterTilesPerSide(value[kPvPosterSize]);
    pRecord->aiExtra[kPxTilesPerSide] = perSide;
    for (int i = 0; i < perSide * perSide && i < kPreviewPosterTiles; ++i)
        pRecord->aiPosterTile[i] = Int(dm.adwPosterTiles[i]);
}

void ZQFillPreviewWatermark(PreviewSettings* pRecord, const ZQUIDevmode& dm, CZQUIBase& texts,
                            const PrinterCaps* pCaps) {
    int* value = pRecord->aiValue;
    value[kPvWatermarkFirstPage] = dm.dwWmFirstPageOnly == 1 ? 1 : 0;
    texts.VSetWatermarkPreviewData(&pRecord->watermark, pCaps, &dm);
    WCHAR none[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(874, none)) ZQCopyText(none, CZQCommon::kResStringChars, L" [none]");
    value[kPvNoWatermark] = wcscmp(pRecord->watermark.szText, none) == 0 ? 1 : 0;
}

void ZQFillPreviewFeatures(PreviewSettings* pRecord, const ZQUIDevmode& dm, CZQUILogic& logic, POEMCUIPPARAM pParam) {
    int* value = pRecord->aiValue;
    int* extra = pRecord->aiExtra;
    value[kPvEnvelope] = logic.BIsEnvelopePaper() ? 1 : 0;
    value[kPvBanner] = logic.BIsBannerPaper() ? 1 : 0;
    value[kPvNoInset] = logic.BIsBorderlessPaper() ? 1 : 0;
    const int centre = OptionIs(pParam, zqkw::kZQCenterOnPage, L"TRUE");
    if (centre >= 0) extra[kPxCenterOnPage] = centre;
    extra[kPxContentOrientation] = Readable(pParam, L"ZQContentOrientation") ? 1 : 0;
    extra[kPxLargeFormat] = logic.BIsLargeFormat() ? 1 : 0;
    extra[kPxPageLanguage] = Int(dm.dwPdl);
    extra[kPxSaveRollPaper] = OptionIs(pParam, zqkw::kZQSaveRollPaper, L"TRUE") == 1 ? 1 : 0;
    const int cutterOff = OptionIs(pParam, zqkw::kZQDisableAutoCutter, L"TRUE");
    if (cutterOff >= 0) extra[kPxAutoCutter] = cutterOff ? 0 : 1;
    extra[kPxAutoRotate] = OptionIs(pParam, zqkw::kZQAutorotate, L"TRUE") == 1 ? 1 : 0;
    if (const ZQUIDevmode* core = CoreOf(pParam)) extra[kPxInchesUnscaled] = Int(core->dwDocumentMode);
}

void ZQFillPreviewRollMargins(PreviewSettings* pRecord, POEMCUIPPARAM pParam, bool bPostScript) {
    int* value = pRecord->aiValue;
    int* extra = pRecord->aiExtra;
    const bool largeFormat = extra[kPxLargeFormat] != 0;
    // Rolls.
    CZQLocalPtr<WCHAR> paper;
    if (CZQCommon::DWGetFeatureOption(pParam, bPostScript ? zqkw::kPageSize : zqkw::kPaperSize, paper.Put()) ==
        ZQOPT_OK) {
        extra[kPxRollPaper] = ZQContainsNoCase(paper.Get(), L"_SHEET") ? 0 : 1;
        if (extra[kPxRollPaper] == 1 && largeFormat &&
            OptionIs(pParam, bPostScript ? zqkw::kInputSlot : zqkw::kInputBin, zqkw::kSheet) == 1) {
            value[kPvTransverse] = 0;
            extra[kPxRollPaper] = 0;
        }
    }
    ZQFillPreviewMargins(pRecord, pParam);
}

void ZQFillPreviewMargins(PreviewSettings* pRecord, POEMCUIPPARAM pParam) {
    pRecord->aiExtra[kPxWithMargins] = 0;
    pRecord->aiExtra[kPxMarginLayout] = 3;
    CZQLocalPtr<WCHAR> margins;
    if (CZQCommon::DWGetFeatureOption(pParam, zqkw::kZQPrintWithMargins, margins.Put()) != ZQOPT_OK) return;
    int layout = 3;
    for (int i = 0; i < 3; ++i)
        if (ZQEqualNoCase(margins.Get(), kMarginLayouts[i])) layout = i;
    ZQSetPreviewMarginLayout(pRecord, layout, pParam);
}

void ZQSetPreviewMarginLayout(PreviewSettings* pRecord, int iLayout, POEMCUIPPARAM pParam) {
    const bool withMargins = iLayout >= 0 && iLayout < 3;
    pRecord->aiExtra[kPxWithMargins] = withMargins ? 1 : 0;
    pRecord->aiExtra[kPxMarginLayout] = withMargins ? iLayout : 3;
    if (iLayout == 2) pRecord->aiValue[kPvNoInset] = 1;
    if (!withMargins) pRecord->aiValue[kPvNoInset] = Readable(pParam, zqkw::kZQBorderless) ? 1 : 0;
}

BOOL ZQFillPagePreview(PreviewSettings* pRecord, const PageContext& context, const ZQPagePreviewSources& sources) {
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
    r.iThriftmode = logic->IGetThriftmodeState();
    value[kPvKind] = Int(dm->dwLayoutMode);
    value[kPvColorOutput] = dm->dwColorMode == 2 ? 1 : 0;
    value[kPvGrayscale] = Int(dm->dwPrintAsGray);
    extra[kPxTint] = Int(dm->dwSepia);

    // The punch unit and the covers the Paper/Quality page chose.
    value[kPvPunchUnit] = logic->IGetPunchUnitType();
    const int coverEntries[4] = {kPvFrontCoverFeeder, kPvFrontCover, kPvBackCover, kPvBackCoverFeeder};
    for (int i = 0; i < 4; ++i) value[coverEntries[i]] = logic->m_adwCoverFlags[i] ? 1 : 0;

    // Rotation and mirror.
    if (logic->BHasRotate180()) value[kPvRotated] = Int(dm->dwRotate180);
    value[kPvTransverse] = Int(dm->dwRotate90);
    value[kPvMirror] = Int(dm->dwMirror);
    value[kPvFlipUp] = Int(dm->dwFlipPagesUp);

    ZQFillPreviewWatermark(&r, *dm, *sources.pTexts, caps);

    // The document's paper, the paper it prints on and the scale; the poster's tiles.
    ZQFillPreviewPaper(&r, *dm, caps, sources.pPublicDM);
    ZQFillPreviewPoster(&r, *dm, *logic);

    // Papers, the printer's class, rolls.
    ZQFillPreviewFeatures(&r, *dm, *logic, param);
    const int roll = ZQRollPaperState(param, postScript);
    if (roll >= 0) extra[kPxRollPaper] = roll;
    return TRUE;
}
