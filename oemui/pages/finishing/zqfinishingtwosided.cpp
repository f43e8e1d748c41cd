// The Finishing page's printing on both sides, by the duplex unit or by hand, and its booklets: the
// binding edge, the box's label, the group's controls by the settings, the page exceptions and the
// administrator's lock, the rows the printer offers, the store, and the user's clicks.
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "platform/zqpageexceptionsapi.h"
#include "res/zqfinishingids.h"

#include <cwchar>

using namespace zqpage;

namespace {

constexpr PCWSTR kStraightPaperPath = L"ZQStraightPaperPath";
// The core driver's lists are asked for this port whatever the printer's: drivers answer alike.
constexpr WCHAR kListPort[] = L"LPT1:";

PCWSTR ManualFeature(const PageContext* pContext) {
    return PostScript(pContext) ? L"JCLZQPrintOnBothSidesManually" : L"ZQPrintOnBothSidesManually";
}

bool Marked(const OPTITEM* pItem, int iOption) { return (OptionFlags(pItem, iOption) & OPTPF_OVERLAY_WARNING_ICON) != 0; }

// The test made with the option selected and reported (its own mark lifted for the report), then the
// item put back as it was.
template <class Test>
bool WithTrial(POEMCUIPPARAM pParam, POPTITEM pItem, LONG lSel, Test test) {
    const LONG old = pItem->Sel;
    const DWORD flags = pItem->Flags;
    ReportSelection(pParam, pItem, lSel, static_cast<DWORD>(old), OEMCUIP_DOCPROP);
    const bool result = test();
    ReportSelection(pParam, pItem, old, static_cast<DWORD>(lSel), OEMCUIP_DOCPROP);
    pItem->Flags = flags;
    return result;
}

// The test made with the form on the paper the document is printed on (printing on another paper):
// its name from the printer's paper lists selects the form option of that name for the test.
template <class Test>
bool OnPrintedPaper(POEMCUIPPARAM pParam, const ZQUIDevmode& work, Test test) {
    POPTITEM form = PubItem(pParam, DMPUB_FORMNAME);
    if (!form || work.dwPrintDocOn != 1 || !pParam->pPrinterName) return test();
    DWORD ids = 0, names = 0;
    CZQLocalPtr<WORD> papers;
    CZQLocalPtr<WCHAR> paperNames;
    if (!CZQCommon::BGetPaperSizeIndices(pParam->pPrinterName, kListPort, pParam->pPublicDM, &ids, papers.Put()) ||
        !CZQCommon::BGetPaperSizeNames(pParam->pPrinterName, kListPort, pParam->pPublicDM, &names, paperNames.Put()))
        return test();
    for (DWORD i = 0; i < ids && i < names; ++i) {
        if (papers.Get()[i] != work.dwPrintedOnPaper) continue;
        PCWSTR name = paperNames.Get() + i * CZQCommon::kPaperNameChars;
        for (int o = 0; o < CZQCommon::IGetOptionCount(form); ++o) {
            PCWSTR option = OptionName(form, o);
            if (option && wcsncmp(option, name, CZQCommon::kPaperNameChars) == 0)
                return WithTrial(pParam, form, o, test);
        }
        break;
    }
    return test();
}

bool TwoSidedPossible(const CZQUILogic& logic) {
    return logic.BIsDuplexUnitInstalled(FALSE) || logic.BIsManualDuplexAvailable();
}

bool IsCustomPaper(CZQUILogic& logic, POEMCUIPPARAM pParam) {
    WCHAR form[256];
    return ReadOption(pParam, logic.PszFormFeature(), form) &&
           (ZQEqualNoCase(form, L"CUSTOMSIZE") || ZQEqualNoCase(form, L"CustomPageSize"));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The binding edge and the label
// ---------------------------------------------------------------------------------------------
WORD CZQFinishingTab::WDuplexValue(PageContext* pContext) {
    if (!m_controls.BChecked(IDC_CHK_DUPLEX)) return DMDUP_SIMPLEX;
    const int setting = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    return CZQUIBase::WGetDuplexBinding(setting, static_cast<short>(pContext->pLogic->WorkDM()->wOrientation),
                                        m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP), pContext->pLogic->DWBooklet() != 0);
}

void CZQFinishingTab::VSetDuplexLabel(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool unit = logic.BIsDuplexUnitInstalled(FALSE) != FALSE;
    const bool manualAvailable = logic.BIsManualDuplexAvailable() != FALSE;
    bool manual = !unit && manualAvailable;
    if (unit && manualAvailable) {
        // Printing by hand wins where the user or the paper path asks for it, or where the unit
        // conflicts with the paper and printing by hand does not.
        POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
        POPTITEM byHand = FeatureItem(param, ManualFeature(pContext));
        auto unitConflicts = [&] {
            return duplex && byHand && (Marked(duplex, 1) || Marked(duplex, 2)) && !Marked(byHand, 1);
        };
        manual = work.dwManualDuplex == 1 || work.dwStraightPaperPath == 1 ||
                 OptionIs(param, zqkw::kZQUseAutoDuplexUnit, L"FALSE") == 1 ||
                 (work.dwPdl == kPdlPcl3 ? OnPrintedPaper(param, work, unitConflicts) : unitConflicts());
    }
    const bool twoSided = m_controls.BChecked(IDC_CHK_DUPLEX) != FALSE;
    HWND box = m_controls.Item(IDC_CHK_DUPLEX);
    if (manual || work.dwDuplexConflict == 1) {
        BSetWindowTextRes(3003, box, L"&Print On Both Sides (Manually)");
        if (twoSided) work.dwManualDuplex = 1;
    } else {
        BSetWindowTextRes(3000, box, L"&Print On Both Sides");
        work.dwManualDuplex = 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The group's controls
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VSetDuplexControlState(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND duplex = m_controls.Item(IDC_CHK_DUPLEX);
    HWND flip = m_controls.Item(IDC_CHK_FLIP_PAGES_UP);
    HWND path = m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH);
    const bool inkFeeder = OptionIs(param, L"ZQInkSPPFeeder", L"TRUE") == 1;
    const bool manualAvailable = logic.BIsManualDuplexAvailable() != FALSE;
    const bool oneSided = work.wDuplex == DMDUP_SIMPLEX;
    auto showPath = [&](bool bBlocked) {
        EnableWindow(path, !bBlocked);
        SetCheck(path, !bBlocked && work.dwStraightPaperPath != 0);
    };
    SetCheck(duplex, !oneSided);
    if (oneSided) {
        SetCheck(flip, false);
        work.dwFlipPagesUp = 0;
        EnableWindow(flip, FALSE);
        showPath(inkFeeder);
    } else {
        // A booklet folds its sheets: two pages to a sheet bind on the fold.
        const int setting = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
        EnableWindow(flip, !(logic.DWBooklet() && setting == 2));
        SetCheck(flip, work.dwFlipPagesUp != 0);
        showPath(inkFeeder && !manualAvailable);
        // The duplex unit's paper path is not the straight one.
        if (OptionIs(param, zqkw::kDuplexUnit, L"INSTALLED") == 1 && logic.BIsDuplexUnitInstalled(FALSE) &&
            !manualAvailable)
            showPath(true);
    }
    for (int id : {IDC_STA_BOOKLET, IDC_CBO_BOOKLET_PRINTING}) EnableWindow(m_controls.Item(id), !oneSided);

    if (!logic.BHasPageExceptions()) {
        for (int id : {IDC_BTN_CONSTRAINT_MANUAL_DUPLEX, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING, IDC_BTN_CONSTRAINT_NUP})
            Hide(m_controls.Item(id));
        return;
    }
    // Page exceptions in use rule out what would print their pages elsewhere: insertions and
    // chapters need sheets of their own; a constraint mark beside a control tells why it is off.
    struct Rule {
        int control;
        int mark;
    };
    const Rule rules[3] = {{IDC_CHK_DUPLEX, IDC_BTN_CONSTRAINT_MANUAL_DUPLEX},
                           {IDC_CBO_PAGES_PER_SHEET, IDC_BTN_CONSTRAINT_NUP},
                           {IDC_CBO_BOOKLET_PRINTING, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING}};
    auto constrain = [&](int i) {
        HWND control = m_controls.Item(rules[i].control);
        if (control && IsWindowEnabled(control)) {
            EnableWindow(control, FALSE);
            m_state.abExceptionDisabled[i] = TRUE;
        }
        ShowEnabled(m_controls.Item(rules[i].mark));
    };
    auto release = [&](int i) {
        HWND control = m_controls.Item(rules[i].control);
        const bool locked = i == 0 && m_state.bDuplexLocked;
        if (m_state.abExceptionDisabled[i] && control && !IsWindowEnabled(control) && !locked)
            EnableWindow(control, TRUE);
        m_state.abExceptionDisabled[i] = FALSE;
        Hide(m_controls.Item(rules[i].mark));
    };
    const DWORD kinds = work.adwExtra[2];
    if (kinds == 0 || kinds == ZQPE_COVER_INSERTION) {
        for (int i = 0; i < 3; ++i) release(i);
    } else if (kinds & (ZQPE_CHAPTER_PAGES | ZQPE_BLANK_INSERTION | ZQPE_PRINTED_INSERTION)) {
        if (work.dwManualDuplex) constrain(0);
        else release(0);
        constrain(1);
        if (kinds & (ZQPE_BLANK_INSERTION | ZQPE_PRINTED_INSERTION)) constrain(2);
        else release(2);
    }

    // One-sided: would two-sided printing conflict with the page exceptions' media? The two-sided
    // option is tried and put back.
    if (!oneSided) return;
    POPTITEM trial = work.dwManualDuplex ? FeatureItem(param, ManualFeature(pContext)) : PubItem(param, DMPUB_DUPLEX);
    POPTITEM media = PubItem(param, DMPUB_MEDIATYPE);
    if (!trial || !media || CZQCommon::IGetOptionCount(trial) < 2) return;
    int mediaOption = media->Sel;
    if (const PrinterCaps* caps = pContext->pCaps; logic.m_dwPageExceptionMedia && caps) {
        const CZQUILogic::ValueList list = {caps->dwMediaCount, caps->pMediaIds};
        int found = -1;
        if (CZQUILogic::BFindValueIndex(logic.m_dwPageExceptionMedia, &list, &found)) mediaOption = found;
    }
    // The trial by hand remembers its outcome in the page exceptions' own mark.
    BOOL& mark = work.dwManualDuplex ? m_state.abExceptionDisabled[0] : m_state.bDuplexTrialDisabled;
    if (WithTrial(param, trial, 1, [&] { return Marked(media, mediaOption); })) {
        EnableWindow(duplex, FALSE);
        ShowEnabled(m_controls.Item(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX));
        mark = TRUE;
    } else {
        if (mark && !m_state.bDuplexLocked) EnableWindow(duplex, TRUE);
        mark = FALSE;
        Hide(m_controls.Item(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX));
    }
}

void CZQFinishingTab::VSetAutoDuplexBox(PageContext* pContext) {
    ZQUIDevmode& work = *pContext->pLogic->WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND box = m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT);
    const bool twoSided = m_controls.BChecked(IDC_CHK_DUPLEX) != FALSE;
    if (!twoSided) SetCheck(box, false);
    EnableWindow(box, twoSided);
    POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
    POPTITEM byHand = FeatureItem(param, ManualFeature(pContext));
    if (!duplex || !byHand) return;
    // Where only one way of printing on both sides fits the paper, the box shows that one.
    bool unitConflicts = false, manualConflicts = false;
    OnPrintedPaper(param, work, [&] {
        unitConflicts = Marked(duplex, 1) || Marked(duplex, 2);
        manualConflicts = Marked(byHand, 1);
        return true;
    });
    if (unitConflicts && !manualConflicts) {
        SetCheck(box, false);
        if (twoSided) work.dwManualDuplex = 1;
        EnableWindow(box, FALSE);
    } else if (!unitConflicts && manualConflicts) {
        if (twoSided) SetCheck(box, true);
        work.dwManualDuplex = 0;
        EnableWindow(box, FALSE);
    }
}

void CZQFinishingTab::VSetPreserveLayout(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool scaling = FeatureItem(param, zqkw::kZQAutoDuplexScaling) != nullptr;
    const bool emulate = OptionIs(param, zqkw::kZQEmulatePexlonMargins, L"TRUE") == 1;
    const bool minimize = OptionIs(param, zqkw::kZQMinimizeMargins, L"TRUE") == 1;
    const bool manual = logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable() && work.dwManualDuplex;
    const bool unit = logic.BIsDuplexUnitInstalled(FALSE) && work.wDuplex != DMDUP_SIMPLEX && !manual;
    POPTITEM minimizeItem = FeatureItem(param, zqkw::kZQMinimizeMargins);
    const bool minimizeFree = PubItem(param, DMPUB_DUPLEX) && minimizeItem && !Marked(minimizeItem, 1);
    HWND box = m_controls.Item(IDC_CHK_PRESERVE_LAYOUT);
    if (scaling && (unit || manual)) {
        logic.IBindFeatureControl(0, zqkw::kZQAutoDuplexScaling, box, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow, TRUE, 0,
                                  nullptr);
        // Emulated or minimised margins keep the layout by themselves.
        if (!emulate && (!minimize || !manual) && (!minimize || !minimizeFree)) {
            EnableWindow(box, TRUE);
        } else {
            EnableWindow(box, FALSE);
            SetCheck(box, true);
        }
        m_state.bPreserveLayout = OptionIs(param, zqkw::kZQAutoDuplexScaling, L"TRUE") == 1;
    } else if (scaling && work.wDuplex == DMDUP_SIMPLEX) {
        EnableWindow(box, FALSE);
        SetCheck(box, false);
        logic.m_bPreserveLayoutUser = FALSE;
    }
    if (unit || manual) CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQSymmetricMargins, 0, OEMCUIP_DOCPROP);
    if (!unit || minimizeFree) {
        if (!logic.DWMarginChoice(1) && !logic.BIsManualDuplexAvailable()) {
            WCHAR initial[256] = {};
            logic.VGetInitialFeatureOption(zqkw::kZQMinimizeMargins, initial);
            if (initial[0]) CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQMinimizeMargins, initial, OEMCUIP_DOCPROP);
        }
    } else {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
    }
}

void CZQFinishingTab::VReportSymmetricMargins(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool manual = logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable() && work.dwManualDuplex;
    const bool unit = logic.BIsDuplexUnitInstalled(FALSE) && work.wDuplex != DMDUP_SIMPLEX && !manual;
    const bool scaled = OptionIs(param, zqkw::kZQAutoDuplexScaling, L"TRUE") == 1;
    const bool symmetric = OptionIs(param, zqkw::kZQSymmetricMargins, L"TRUE") == 1;
    const bool report = ((unit || manual) && !scaled && FeatureItem(param, zqkw::kZQAutoDuplexScaling)) || symmetric;
    CZQCommon::DWSelectOptionByIndex(param, L"ZQReportSymmetricMargins", report ? 1 : 0, OEMCUIP_DOCPROP);
    if (unit) CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
}

void CZQFinishingTab::VSetBookletControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    HWND flip = m_controls.Item(IDC_CHK_FLIP_PAGES_UP);
    SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, logic.DWBooklet(), 0);
    VSetPageOrderControls(pContext);
    if (logic.DWBooklet()) {
        // A booklet's sheets are folded: landscape pages turn up.
        const bool landscape = work.wOrientation == DMORIENT_LANDSCAPE;
        SetCheck(flip, landscape);
        work.dwFlipPagesUp = landscape ? 1 : 0;
        EnableWindow(flip, FALSE);
    } else {
        EnableWindow(flip, m_controls.BChecked(IDC_CHK_DUPLEX));
        SetCheck(flip, work.dwFlipPagesUp != 0);
    }
}

void CZQFinishingTab::VSetPageOrderControls(PageContext* pContext) {
    const int setting = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    // One page on a sheet, or a booklet's own order, leave nothing to order or frame.
    const bool fixed = setting == 1 || pContext->pLogic->DWBooklet() != 0;
    if (fixed) {
        SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 0, 0);
        m_controls.VSetCheck(IDC_CHK_PAGE_BORDER, FALSE);
    }
    for (int id : {IDC_CBO_PAGE_ORDER, IDC_STA_PAGE_ORDER, IDC_CHK_PAGE_BORDER}) EnableWindow(m_controls.Item(id), !fixed);
}

// ---------------------------------------------------------------------------------------------
// The rows the printer offers
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VLayoutDocumentOptions(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const CZQPageControls::ControlRect* first = m_controls.Recorded(IDC_CHK_STRAIGHT_PAPER_PATH);
    if (!first || !m_controls.Page()) return;
    float top = static_cast<float>(first->rc.top);
    bool any = false;
    // A row at the running top, and a mark beside it centred on its height.
    auto row = [&](int id, bool shown, int mark = 0) {
        if (!shown) {
            Hide(m_controls.Item(id));
            if (mark) Hide(m_controls.Item(mark));
            return;
        }
        const CZQPageControls::ControlRect* own = m_controls.Recorded(id);
        if (!own) return;
        m_controls.BPlaceAtTop(id, top);
        if (const CZQPageControls::ControlRect* beside = mark ? m_controls.Recorded(mark) : nullptr)
            m_controls.BPlaceAtTop(mark, top + static_cast<float>(own->cy - beside->cy) / 2);
        Show(m_controls.Item(id));
        top += static_cast<float>(own->cy + 4);
        any = true;
    };
    const bool unit = logic.BIsDuplexUnitInstalled(FALSE) != FALSE;
    const bool manual = logic.BIsManualDuplexAvailable() != FALSE;
    const bool twoSided = unit || manual;
    // The page offers printing by hand where its two-sided rows show it.
    logic.m_bManualDuplexOffered = twoSided && manual ? TRUE : FALSE;

    row(IDC_CHK_STRAIGHT_PAPER_PATH, FeatureItem(param, kStraightPaperPath) && work.dwLayoutMode != 1);
    const bool autoDuplexItem = FeatureItem(param, zqkw::kZQUseAutoDuplexUnit) != nullptr;
    HWND autoBox = m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT);
    if (twoSided && autoDuplexItem && !(unit && manual)) {
        // One way of printing on both sides only: the box stands for it, unseen.
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, unit ? 1 : 0, OEMCUIP_DOCPROP);
        if (unit) work.dwManualDuplex = 0;
        else if (m_controls.BChecked(IDC_CHK_DUPLEX)) work.dwManualDuplex = 1;
        SetCheck(autoBox, unit);
    }
    row(IDC_CHK_DUPLEX, twoSided, IDC_BTN_CONSTRAINT_MANUAL_DUPLEX);
    row(IDC_CHK_USE_AUTO_DUPLEX_UNIT, twoSided && autoDuplexItem && unit && manual);
    row(IDC_CHK_PRESERVE_LAYOUT, twoSided && FeatureItem(param, zqkw::kZQAutoDuplexScaling) && work.dwLayoutMode == 3 &&
                                     (unit || (manual && logic.m_bManualDuplexOffered)));
    row(IDC_CHK_FLIP_PAGES_UP, twoSided);
    const bool booklets = logic.BBookletAllowed() && twoSided && work.dwLayoutMode != 1;
    row(IDC_STA_BOOKLET, booklets);
    row(IDC_CBO_BOOKLET_PRINTING, booklets, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING);
    const bool pages = work.dwLayoutMode != 1 && work.dwPdl != kPdlZqgl2;
    row(IDC_STA_PAGES_PER_SHEET, pages);
    row(IDC_CBO_PAGES_PER_SHEET, pages, IDC_BTN_CONSTRAINT_NUP);
    row(IDC_BTN_SELECT_TILES, pages && logic.BIsPosterPrinting() && FeatureItem(param, L"ZQTilingSelection"));
    const bool layout = pages && work.dwLayoutMode == 3;
    row(IDC_CHK_PAGE_BORDER, layout);
    row(IDC_STA_PAGE_ORDER, layout);
    row(IDC_CBO_PAGE_ORDER, layout);
    m_controls.VShow(IDC_GB_DOC_OPTIONS, any);
}

// ---------------------------------------------------------------------------------------------
// Refresh and store
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VRefreshTwoSided(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!TwoSidedPossible(logic)) return;
    // The box is free but for the lock and the page exceptions' marks, whose rules follow.
    EnableWindow(m_controls.Item(IDC_CHK_DUPLEX), !m_state.bDuplexLocked && !m_state.abExceptionDisabled[0] &&
                                                      !m_state.bDuplexTrialDisabled);
    VSetDuplexControlState(pContext);
    // The straight path shows what the settings hold.
    HWND path = m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH);
    EnableWindow(path, TRUE);
    SetCheck(path, work.dwStraightPaperPath != 0);
    VSetBookletControls(pContext);
    logic.VUpdateDuplexState();
    if (logic.BIsDuplexUnitInstalled(FALSE)) {
        if (logic.BIsManualDuplexAvailable()) {
            logic.IApplyCustomDuplexRange();
        } else if (logic.BIsCustomSizeDuplexable() == 2 ||
                   (IsCustomPaper(logic, param) && !Readable(param, L"ZQCustomDUplexableRange"))) {
            // A custom size the unit cannot take, or of which it cannot tell, prints on one side.
            POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
            if (duplex && duplex->Sel != 0) CZQCommon::DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
            work.wDuplex = DMDUP_SIMPLEX;
            m_controls.VSetCheck(IDC_CHK_DUPLEX, FALSE);
            EnableWindow(m_controls.Item(IDC_CHK_DUPLEX), FALSE);
        }
    }
    VShowStoredUnitUse(pContext);
    VSetAutoDuplexBox(pContext);
}

void CZQFinishingTab::VShowStoredUnitUse(PageContext* pContext) {
    ZQUIDevmode& work = *pContext->pLogic->WorkDM();
    const int useUnit = OptionIs(m_pCUIParam, zqkw::kZQUseAutoDuplexUnit, L"TRUE");
    if (useUnit < 0) return;
    HWND box = m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT);
    const bool twoSided = work.wDuplex != DMDUP_SIMPLEX;
    EnableWindow(box, FALSE);
    if (useUnit == 0 || work.dwManualDuplex) {
        SetCheck(box, false);
        if (twoSided) work.dwManualDuplex = 1;
    } else {
        SetCheck(box, true);
        work.dwManualDuplex = 0;
    }
}

void CZQFinishingTab::VStoreTwoSided(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    work.dwFlipPagesUp = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    work.dwStraightPaperPath = m_controls.BChecked(IDC_CHK_STRAIGHT_PAPER_PATH) ? 1 : 0;
    // The unit's use is the user's while two-sided printing is on; off, the box says nothing (a
    // sheet nobody changed keeps it).
    if (m_controls.BChecked(IDC_CHK_DUPLEX))
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit,
                                         m_controls.BChecked(IDC_CHK_USE_AUTO_DUPLEX_UNIT) ? 1 : 0, OEMCUIP_DOCPROP);
    work.wDuplex = WDuplexValue(pContext);
    if (logic.BIsManualDuplexAvailable()) {
        logic.VUpdateDuplexState();
        logic.IApplyCustomDuplexRange();
    } else if (POPTITEM duplex = PubItem(param, DMPUB_DUPLEX)) {
        const LONG sel = work.wDuplex == DMDUP_VERTICAL ? 1 : work.wDuplex == DMDUP_HORIZONTAL ? 2 : 0;
        // A selection the driver holds already is not reported again: a report costs the driver a
        // pass over its constraints.
        if (duplex->Sel != sel) ReportSelection(param, duplex, sel, static_cast<DWORD>(duplex->Sel), OEMCUIP_DOCPROP);
    }
    POPTITEM path = FeatureItem(param, kStraightPaperPath);
    const LONG straight = work.dwStraightPaperPath ? 1 : 0;
    if (path && path->Sel != straight) ReportSelection(param, path, straight, static_cast<DWORD>(path->Sel), OEMCUIP_DOCPROP);
}

void CZQFinishingTab::VApplyDuplexLock(PageContext* pContext) {
    if (!TwoSidedPossible(*pContext->pLogic)) return;
    // Only the stored word decides: a value that cannot be read leaves the boxes as they are.
    const int word = StoredLockWord(m_pCUIParam->hPrinter, zqkw::kDuplexItem);
    if (word < 0) return;
    const bool locked = word == 1;
    m_state.bDuplexLocked = locked ? TRUE : FALSE;
    EnableWindow(m_controls.Item(IDC_CHK_DUPLEX), !locked);
    if (locked) EnableWindow(m_controls.Item(IDC_CHK_FLIP_PAGES_UP), FALSE);
}

// ---------------------------------------------------------------------------------------------
// The user's clicks
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VOnDuplexClick(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool twoSided = m_controls.BChecked(IDC_CHK_DUPLEX) != FALSE;
    const bool languageFour = work.dwPdl == kPdlPcl3;
    if (!twoSided) {
        work.wDuplex = DMDUP_SIMPLEX;
        // A booklet needs both sides: it goes, and one page to a sheet comes back.
        if (logic.DWBooklet()) {
            logic.VEndBooklet();
            SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, 0, 0);
            work.dwPagesPerSheet = 1;
            if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = work.dwScaleToFit = 0;
            SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
        }
        if (languageFour && Readable(param, L"ZQOutputOrderReverse")) logic.ISetPageOrderItems(FALSE);
    } else {
        work.wDuplex = WDuplexValue(pContext);
        // A poster is printed on one side.
        if (BReadPosterChoice(logic)) {
            logic.VClearPosterFlag();
            EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);
            SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, 0, 0);
        }
        VWritePosterFeatures(pContext);
        // Grey printed on both sides keeps the high-quality grey.
        const PCWSTR grey = PostScript(pContext) ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
        if (logic.m_bGrayscale &&
            (OptionIs(param, grey, L"BlackOnly") == 1 || OptionIs(param, grey, L"PhotoCopy") == 1))
            logic.VSelectHighQuality(grey);
        if (languageFour && Readable(param, L"ZQOutputOrderReverse")) logic.ISetPageOrderItems(TRUE);
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
        // A source that cannot feed both sides gives way to the automatic one.
        POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
        POPTITEM source = PubItem(param, DMPUB_DEFSOURCE);
        POPTITEM byHand = FeatureItem(param, ManualFeature(pContext));
        if (duplex && source && duplex->Sel != 0 &&
            (Marked(duplex, 1) || Marked(duplex, 2) || (byHand && Marked(byHand, 1))) && Marked(source, source->Sel)) {
            PageContext* paperContext = nullptr;
            if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
                paper && paperContext)
                paper->VFillSourceCombo(paperContext, kKindNone);
            CZQCommon::DWSelectPubOption(param, DMPUB_DEFSOURCE, 0, 0);
        }
    }
    // One-sided, the box is cleared and says nothing of the unit: turned on again, it shows the
    // stored use, and only what the paper forces differs from it.
    if (twoSided) VShowStoredUnitUse(pContext);
    VSetAutoDuplexBox(pContext);
    if (twoSided)
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit,
                                         m_controls.BChecked(IDC_CHK_USE_AUTO_DUPLEX_UNIT) ? 1 : 0, OEMCUIP_DOCPROP);
    WCHAR paper[256] = {};
    ReadOption(param, logic.PszFormFeature(), paper);
    const BOOL banner = logic.BIsBannerPaper();
    if (banner || (logic.BIsBorderlessPaper() && !wcsstr(paper, L"HAGAKI")))
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
    work.dwBooklet = logic.DWBooklet();
    VSetDuplexControlState(pContext);
    logic.VUpdateDuplexState();
    VSetPreserveLayout(pContext);
    VReportSymmetricMargins(pContext);
    if (work.dwManualDuplex)
        CZQCommon::DWSelectOptionByIndex(param, PostScript(pContext) ? zqkw::kStapleLocation : zqkw::kStapling, 0,
                                         OEMCUIP_DOCPROP);
    logic.IApplyCustomDuplexRange();
    VSetDuplexLabel(pContext);
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality)) paper->VFillPageList(&logic, TRUE);
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) {
        POPTITEM form = PubItem(param, DMPUB_FORMNAME);
        WCHAR name[CZQCommon::kPaperNameChars];
        logic.VGetScaleTargetPaperName(name);
        for (int o = 0; form && name[0] && o < CZQCommon::IGetOptionCount(form); ++o) {
            PCWSTR option = OptionName(form, o);
            if (option && wcsncmp(option, name, CZQCommon::kPaperNameChars) == 0) {
                if (Marked(form, o)) logic.VSelectScaleTargetPaper();
                break;
            }
        }
    }
    BCheckPageChanged(hDlg, pContext);
    VRepaintPreview(TRUE);
}

void CZQFinishingTab::VOnFlipClick(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *pContext->pLogic->WorkDM();
    work.dwFlipPagesUp = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    work.wDuplex = WDuplexValue(pContext);
    BCheckPageChanged(hDlg, pContext);
    VRepaintPreview(TRUE);
}

void CZQFinishingTab::VOnStraightPathClick(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool straight = m_controls.BChecked(IDC_CHK_STRAIGHT_PAPER_PATH) != FALSE;
    logic.VSetStraightPaperPath(straight);
    logic.VUpdateDuplexState();
    if (straight) {
        // The straight path leaves the printer at the back: no bin, staples, holes or folds.
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kOutputBin, 0, OEMCUIP_DOCPROP);
        logic.VUpdateOutputBinFaceUp();
        for (PCWSTR feature : {PostScript(pContext) ? zqkw::kStapleLocation : zqkw::kStapling, zqkw::kPunching,
                               zqkw::kFolding})
            CZQCommon::DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
    }
    VSetDuplexLabel(pContext);
    BCheckPageChanged(hDlg, pContext);
    VRepaintPreview(FALSE);
}

void CZQFinishingTab::VOnAutoDuplexClick(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool useUnit = m_controls.BChecked(IDC_CHK_USE_AUTO_DUPLEX_UNIT) != FALSE;
    if (useUnit) CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
    if (CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, useUnit ? 1 : 0, OEMCUIP_DOCPROP) ==
        ZQOPT_OK) {
        if (useUnit) work.dwManualDuplex = 0;
        else if (work.wDuplex != DMDUP_SIMPLEX) work.dwManualDuplex = 1;
    }
    logic.VUpdateDuplexState();
    VSetPreserveLayout(pContext);
    VSetDuplexLabel(pContext);
    BCheckPageChanged(hDlg, pContext);
}

void CZQFinishingTab::VOnPreserveLayoutClick(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, zqkw::kZQAutoDuplexScaling, m_controls.Item(IDC_CHK_PRESERVE_LAYOUT), nullptr,
                              OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE, 0, nullptr);
    VReportSymmetricMargins(pContext);
    logic.m_bPreserveLayoutUser = TRUE;
    const BOOL preserve = m_controls.BChecked(IDC_CHK_PRESERVE_LAYOUT);
    logic.m_bPreserveLayout = preserve;
    m_state.bPreserveLayout = preserve;
    BCheckPageChanged(hDlg, pContext);
}

void CZQFinishingTab::VOnBookletChange(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const int booklet = m_controls.ISelection(IDC_CBO_BOOKLET_PRINTING);
    logic.VSetBooklet(booklet > 0 ? static_cast<DWORD>(booklet) : 0);
    HWND pages = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    if (logic.DWBooklet()) {
        // A booklet prints two pages to a sheet at full size, without back covers.
        VReportSymmetricMargins(pContext);
        SendMessageW(pages, CB_SETCURSEL, static_cast<WPARAM>(CZQCommon::ISettingToListIndex(2)), 0);
        work.dwPagesPerSheet = 2;
        if (work.dwPrintDocOn) work.dwScaleToFit = 1;
        work.dwScalePercent = 100;
        work.dwBackCover = 0;
        work.dwBackCoverFeeder = 0;
    } else {
        if (work.dwBooklet) {
            SendMessageW(pages, CB_SETCURSEL, 0, 0);
            work.dwPagesPerSheet = 1;
        }
        if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = work.dwScaleToFit = 0;
    }
    VSetBookletControls(pContext);
    work.dwBooklet = logic.DWBooklet();
    work.wDuplex = WDuplexValue(pContext);
    // Back covers are no booklet's: the Paper/Quality page's kinds follow.
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality)) paper->VFillPageList(&logic, TRUE);
    work.wDuplex = WDuplexValue(pContext);
    logic.VCheckMediaWidthSensor(3, nullptr);
    BCheckPageChanged(hDlg, pContext);
    VRepaintPreview(TRUE);
}
