#include "pages/zqpagepreview.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

int Int(uint32_t value) { return static_cast<int>(value); }

// The finisher a preview draws for the installed output accessory: 1 a stapler's mailbox, 2 a
// mailbox of its own.
int MailboxKind(int iAccessory) { return iAccessory == 8 || iAccessory == 12 ? 1 : iAccessory == 3 ? 2 : 0; }

}  // namespace

int ZQRollPaperState(POEMCUIPPARAM pParam, bool bPostScript) {
    WCHAR paper[256];
    if (!ReadOption(pParam, bPostScript ? L"PageSize" : L"PaperSize", paper)) return -1;
    if (wcsstr(paper, L"_SHEET")) return 0;
    POPTITEM source = PubItem(pParam, DMPUB_DEFSOURCE);
    if (!source || source->Sel == 0) return 1;
    CZQLocalPtr<WCHAR> name;
    if (CZQCommon::DWGetPubSelectionName(pParam, DMPUB_DEFSOURCE, name.Put()) != ZQOPT_OK) return 1;
    return ZQEqualNoCase(name.Get(), L"Sheet") || ZQEqualNoCase(name.Get(), L"Manual Feed") ? 0 : 1;
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

    ZQSetPreviewWindow(&r, kPvPortraitWindow, sources.hPortrait);
    ZQSetPreviewWindow(&r, kPvLandscapeWindow, sources.hLandscape);
    r.wOrientation = dm->wOrientation;
    r.wDuplex = dm->wDuplex;
    r.iPagesPerSheet = Int(dm->dwPagesPerSheet);
    r.iPageBorders = Int(dm->dwPageBorders);
    r.iPageOrder = Int(dm->dwPageOrderIndex);
    r.iBooklet = Int(dm->dwBooklet);
    r.iThriftmode = logic->IGetThriftmodeState();
    value[kPvKind] = Int(dm->dwLayoutMode);
    value[kPvColorOutput] = dm->dwColorMode == 2 ? 1 : 0;
    value[kPvGrayscale] = Int(dm->dwPrintAsGray);
    extra[kPxTint] = Int(dm->dwSepia);
    extra[kPxPageLanguage] = Int(dm->dwPdl);

    // Finishing marks, the accessory and the covers the Paper/Quality page chose.
    value[kPvStaple] = logic->IGetStapleCode();
    value[kPvPunch] = logic->IGetPunchCode();
    value[kPvFold] = logic->IGetFoldCode();
    value[kPvPunchUnit] = logic->IGetPunchUnitType();
    value[kPvFinisherKind] = MailboxKind(logic->IGetOutputAccessoryCode());
    const int coverEntries[4] = {kPvFrontCoverFeeder, kPvFrontCover, kPvBackCover, kPvBackCoverFeeder};
    for (int i = 0; i < 4; ++i) value[coverEntries[i]] = logic->m_adwCoverFlags[i] ? 1 : 0;

    // Rotation and mirror.
    if (logic->BHasRotate180()) value[kPvRotated] = Int(dm->dwRotate180);
    value[kPvTransverse] = Int(dm->dwRotate90);
    value[kPvMirror] = Int(dm->dwMirror);
    value[kPvFlipUp] = Int(dm->dwFlipPagesUp);

    // The watermark.
    value[kPvWatermarkFirstPage] = dm->dwWmFirstPageOnly == 1 ? 1 : 0;
    sources.pTexts->VSetWatermarkPreviewData(&r.watermark, caps, dm);
    WCHAR none[CZQCommon::kResStringChars];
    if (!sources.pTexts->BLoadResString(874, none))
        ZQCopyText(none, CZQCommon::kResStringChars, L" [none]");
    value[kPvNoWatermark] = wcscmp(r.watermark.szText, none) == 0 ? 1 : 0;

    // The document's paper, the paper it prints on and the scale.
    const DEVMODEW* pub = sources.pPublicDM;
    value[kPvLetterOrA4] = pub && (pub->dmPaperSize == DMPAPER_LETTER || pub->dmPaperSize == DMPAPER_A4) ? 1 : 0;
    LONG width = 0, length = 0;
    if (!pub || !CZQUIBase::BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &length, caps))
        width = length = 0;
    value[kPvDocWidth] = width;
    value[kPvDocHeight] = length;
    value[kPvFitToPage] = Int(dm->dwPrintDocOn);
    value[kPvFitScaled] = Int(dm->dwScaleToFit);
    if (dm->dwPrintDocOn == 1 &&
        CZQUIBase::BGetPaperDimensions(static_cast<WORD>(dm->dwPrintedOnPaper), &width, &length, caps)) {
        value[kPvSheetWidth] = width;
        value[kPvSheetHeight] = length;
    }
    value[kPvScale] = dm->dwPrintDocOn ? 100 : Int(dm->dwScalePercent);

    // Posters: the tiles of an n x n poster as the settings keep them.
    value[kPvPoster] = logic->BGetPosterTiles(&value[kPvPosterSize]) ? 1 : 0;
    if (logic->BIsPosterPrinting()) {
        const int perSide = CZQFinishingTab::IPosterTilesPerSide(value[kPvPosterSize]);
        extra[kPxTilesPerSide] = perSide;
        for (int i = 0; i < perSide * perSide && i < kPreviewPosterTiles; ++i)
            r.aiPosterTile[i] = Int(dm->adwPosterTiles[i]);
    }

    // Papers, the printer's class, rolls.
    value[kPvEnvelope] = logic->BIsEnvelopePaper() ? 1 : 0;
    value[kPvBanner] = logic->BIsBannerPaper() ? 1 : 0;
    value[kPvNoInset] = logic->BIsBorderlessPaper() ? 1 : 0;
    extra[kPxLargeFormat] = logic->BIsLargeFormat() ? 1 : 0;
    const int centre = OptionIs(param, L"ZQCenterOnPage", L"TRUE");
    if (centre >= 0) extra[kPxCenterOnPage] = centre;
    extra[kPxContentOrientation] = Readable(param, L"ZQContentOrientation") ? 1 : 0;
    const int roll = ZQRollPaperState(param, postScript);
    if (roll >= 0) extra[kPxRollPaper] = roll;
    extra[kPxSaveRollPaper] = OptionIs(param, L"ZQSaveRollPaper", L"TRUE") == 1 ? 1 : 0;
    const int cutterOff = OptionIs(param, L"ZQDisableAutoCutter", L"TRUE");
    if (cutterOff >= 0) extra[kPxAutoCutter] = cutterOff ? 0 : 1;
    extra[kPxAutoRotate] = OptionIs(param, L"ZQAutorotate", L"TRUE") == 1 ? 1 : 0;
    if (const ZQUIDevmode* core = CoreOf(param)) extra[kPxInchesUnscaled] = Int(core->dwDocumentMode);
    return TRUE;
}
