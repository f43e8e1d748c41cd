// The custom print-quality options dialog: the checks against the print quality and the media
// groups, the macros each change runs, the quality level with its constraint roll-back, and Cancel.
#include "pages/dialogs/zqcustomqualitydlg.h"

#include <utility>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "pages/zqpageitems.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "res/zqcustompaperids.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQCustomQualityDlg>;

constexpr int kControlIds[] = {-1,
                               IDC_PQ_STA_QUALITY_LEVEL,
                               IDC_PQ_STA_RENDER_DPI,
                               IDC_PQ_STA_GLOSS,
                               IDC_PQ_CHECK_MAXIMUM_DETAIL,
                               IDC_PQ_CHECK_MORE_PASSES,
                               IDC_PQ_CBO_QUALITY_LEVEL,
                               IDC_PQ_CBO_GLOSS,
                               IDCANCEL,
                               IDOK};

constexpr PCWSTR kQualityGroup = zqkw::kPrintQualityGroup;
constexpr PCWSTR kMaxDetail = zqkw::kZQMaximumDetail;
constexpr PCWSTR kMorePasses = zqkw::kZQMorePasses;
constexpr PCWSTR kGloss = L"ZQLQJGlossEnhancer";
// Entries of a media group are compared on their first 63 characters.
constexpr size_t kGroupEntryChars = 63;

bool Is(PCWSTR a, PCWSTR b) { return lstrcmpW(a, b) == 0; }

// The groups a media type may belong to, with the maximum-detail macros of each; the last row
// serves every other media type.
struct DetailRow {
    PCWSTR group;
    PCWSTR on;
    PCWSTR off;
};
constexpr DetailRow kDetailRows[] = {
    {L"ZQPCnLCMediaGroup", L"macro_ZQMaximumDetail_PCnLC_E", L"macro_ZQMaximumDetail_PCnLC_D"},
    {L"ZQGlossEnhancerMediaGroup", L"macro_ZQMaximumDetail_Glossy_E", L"macro_ZQMaximumDetail_Glossy_D"},
    {L"HWCnDFAMediaGroup", L"macro_ZQMaximumDetail_HWCnDFA_E", L"macro_ZQMaximumDetail_HWCnDFA_D"},
    {nullptr, L"macro_ZQMaximumDetail_E", L"macro_ZQMaximumDetail_D"},
};

}  // namespace

CZQCustomQualityDlg::CZQCustomQualityDlg() { ZQCopyText(m_szRenderDpi, kLabelChars, L"Render dpi:"); }

// ---------------------------------------------------------------------------------------------
// Checks
// ---------------------------------------------------------------------------------------------
BOOL CZQCustomQualityDlg::BIsMediaInGroup(PageContext* pContext, PCWSTR pszGroup) {
    if (!RulesLoaded(pContext) || !pszGroup) return FALSE;
    WCHAR media[256];
    if (!ReadOption(m_pCUIParam, zqkw::kMediaType, media)) return FALSE;
    CZQComPtr<IXMLDOMNode> first;
    if (!pContext->pRules->BFindFeatureNode(first.Put(), pszGroup) || !first) return FALSE;
    PWSTR *one = nullptr, *two = nullptr;
    int count1 = 0, count2 = 0;
    CZQXmlUiRules::BReadNodeTextList(first.Get(), &one, &two, &count1, &count2);
    BOOL member = FALSE;
    for (const auto& [list, count] : {std::make_pair(one, count1), std::make_pair(two, count2)})
        for (int i = 0; i < count && !member; ++i) {
            WCHAR entry[kGroupEntryChars + 1] = {};
            if (list[i]) ZQCopyTextN(entry, ARRAYSIZE(entry), list[i], kGroupEntryChars);
            member = entry[0] && Is(entry, media);
        }
    VFreeStringList(one, count1);
    VFreeStringList(two, count2);
    return member;
}

BOOL CZQCustomQualityDlg::BPrintQualityIs(PCWSTR pszValue, BOOL bCaseBlind) {
    WCHAR quality[256];
    if (!ReadOption(m_pCUIParam, zqkw::kPrintQuality, quality)) return FALSE;
    return bCaseBlind ? ZQEqualNoCase(quality, pszValue) : Is(quality, pszValue);
}

BOOL CZQCustomQualityDlg::BIsGlossAllowed(PageContext* pContext) {
    if (!Readable(m_pCUIParam, kGloss) || !BIsMediaInGroup(pContext, L"ZQGlossEnhancerMediaGroup") || !BPrintQualityIs(L"Best"))
        return FALSE;
    SendMessageW(H(kCtlGloss), CB_SETCURSEL, static_cast<WPARAM>(ISelection(kGloss)), 0);
    return TRUE;
}

BOOL CZQCustomQualityDlg::BIsMorePassesAllowed(PageContext* pContext) {
    return Readable(m_pCUIParam, kMorePasses) && BIsMediaInGroup(pContext, L"ZQMorePassesMediaGroup") &&
           BPrintQualityIs(L"Best");
}

int CZQCustomQualityDlg::IGetMaximumDetailState(PageContext*) {
    WCHAR value[256];
    if (!ReadOption(m_pCUIParam, kMaxDetail, value)) return 0;
    return Is(value, L"Enabled") || Is(value, L"True") ? 2 : 1;
}

int CZQCustomQualityDlg::IGetMorePassesState(PageContext*) {
    WCHAR value[256];
    if (!ReadOption(m_pCUIParam, kMorePasses, value)) return 0;
    return Is(value, L"Enabled") ? 2 : 1;
}

int CZQCustomQualityDlg::ISelection(PCWSTR pszFeature) {
    POPTITEM item = FeatureItem(m_pCUIParam, pszFeature);
    return item ? static_cast<int>(item->Sel) : -1;
}

void CZQCustomQualityDlg::VGetHelpIds(PageContext* pContext, DWORD* pdwTable) {
    if (!pdwTable) return;
    const std::pair<int, PCWSTR> rows[] = {{IDC_PQ_CBO_QUALITY_LEVEL, kQualityGroup},
                                           {IDC_PQ_STA_QUALITY_LEVEL, kQualityGroup},
                                           {IDC_PQ_CHECK_MAXIMUM_DETAIL, kMaxDetail},
                                           {IDC_PQ_CHECK_MORE_PASSES, kMorePasses},
                                           {IDC_PQ_CBO_GLOSS, kGloss}};
    int n = 0;
    for (const auto& [id, feature] : rows) {
        int help = 0;
        if (pContext && pContext->pLogic)
            pContext->pLogic->IBindFeatureControl(0, feature, nullptr, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindHelp,
                                                  FALSE, 0, &help);
        pdwTable[n++] = static_cast<DWORD>(id);
        pdwTable[n++] = static_cast<DWORD>(help);
    }
    pdwTable[n++] = 0;
    pdwTable[n] = 0;
}

// ---------------------------------------------------------------------------------------------
// Macros and texts
// ---------------------------------------------------------------------------------------------
void CZQCustomQualityDlg::VRunQualityGroupMacros(PageContext* pContext) {
    if (!RulesLoaded(pContext)) return;
    WCHAR group[256];
    if (ReadOption(m_pCUIParam, kQualityGroup, group))
        pContext->pRules->BRunFeatureMacros(kQualityGroup, group, m_pCUIParam);
    if (BPrintQualityIs(L"4800x1200", TRUE))
        pContext->pRules->BRunMacro(L"macro_pop_up_4800_1200_warning", nullptr, m_pCUIParam);
}

void CZQCustomQualityDlg::VRunMaximumDetailMacros(PageContext* pContext) {
    WCHAR value[256];
    if (!RulesLoaded(pContext) || !ReadOption(m_pCUIParam, kMaxDetail, value)) return;
    const bool off = Is(value, L"Disabled") || Is(value, L"False");
    for (const DetailRow& row : kDetailRows) {
        if (row.group && !BIsMediaInGroup(pContext, row.group)) continue;
        pContext->pRules->BRunMacro(off ? row.off : row.on, value, m_pCUIParam);
        return;
    }
}

void CZQCustomQualityDlg::VWriteRenderDpi() {
    WCHAR text[kLabelChars], resolution[256];
    ZQCopyText(text, kLabelChars, m_szRenderDpi);
    // The value follows the label directly.
    if (ReadOption(m_pCUIParam, zqkw::kResolution, resolution)) ZQAppendText(text, kLabelChars, resolution);
    SetWindowTextW(H(kCtlDpiLabel), text);
}

// ---------------------------------------------------------------------------------------------
// Filling
// ---------------------------------------------------------------------------------------------
BOOL CZQCustomQualityDlg::BFillLevelCombo(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, kQualityGroup, H(kCtlLevel), nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill, FALSE, 0,
                              nullptr);
    if (!Bound(logic.IBindFeatureControl(0, kQualityGroup, H(kCtlLevel), nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                         FALSE, 0, nullptr)))
        return FALSE;
    // The levels stand in the order of the print qualities they give.
    const int quality = ISelection(zqkw::kPrintQuality);
    if (quality >= 0) SendMessageW(H(kCtlLevel), CB_SETCURSEL, static_cast<WPARAM>(quality), 0);
    return TRUE;
}

// Whether the two show is the opening's affair.
void CZQCustomQualityDlg::VFillGlossCombo(PageContext* pContext) {
    for (Ctl c : {kCtlGloss, kCtlGlossLabel}) EnableWindow(H(c), TRUE);
    for (int action : {CZQUILogic::kBindFillFree, CZQUILogic::kBindShow})
        pContext->pLogic->IBindFeatureControl(0, kGloss, H(kCtlGloss), nullptr, OEMCUIP_DOCPROP, action, FALSE, 0,
                                              nullptr);
}

void CZQCustomQualityDlg::VFillControls(PageContext* pContext) {
    if (!BLoadResString(5635, m_szRenderDpi)) ZQCopyText(m_szRenderDpi, kLabelChars, L"Render dpi:");
    BFillLevelCombo(pContext);
    if (BIsGlossAllowed(pContext)) VFillGlossCombo(pContext);
    else
        for (Ctl c : {kCtlGloss, kCtlGlossLabel}) Hide(H(c));
    SetCheck(H(kCtlMaxDetail), IGetMaximumDetailState(pContext) == 2);
    EnableWindow(H(kCtlMorePasses), BIsMorePassesAllowed(pContext));
    SetCheck(H(kCtlMorePasses), IGetMorePassesState(pContext) == 2);
    VRunMaximumDetailMacros(pContext);
    VWriteRenderDpi();
}

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQCustomQualityDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!pContext || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const INT_PTR result = Modal::IRun(
        this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
        bRightToLeft ? IDD_DLG_CUSTOM_PRINT_QUALITY_OPTIONS_RTL : IDD_DLG_CUSTOM_PRINT_QUALITY_OPTIONS, hOwner,
        &CustomQualityDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_hDlg = nullptr;
    return result;
}

BOOL CZQCustomQualityDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    BSetWindowTextRes(5636, hDlg, L"Custom Print Quality Options");
    if (!pContext || !pContext->pRules || !pContext->pLogic || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pPublicDM = m_pCUIParam->pPublicDM;
    m_hDlg = hDlg;
    for (int c = 0; c < kCtlCount; ++c) m_ahCtl[c] = kControlIds[c] < 0 ? nullptr : GetDlgItem(hDlg, kControlIds[c]);
    struct Text {
        int id;
        INT res;
        PCWSTR english;
    };
    for (const Text& t : {Text{IDC_PQ_STA_QUALITY_LEVEL, 5948, L"&Quality level:"},
                          Text{IDC_PQ_CHECK_MAXIMUM_DETAIL, 4478, L"&Maximum Detail"},
                          Text{IDC_PQ_CHECK_MORE_PASSES, 6056, L"&More Passes"},
                          Text{IDC_PQ_STA_GLOSS, 5949, L"&Gloss Enhancer:"}, Text{IDOK, 849, L"&OK"},
                          Text{IDCANCEL, 850, L"&Cancel"}})
        BSetWindowTextRes(t.res, GetDlgItem(hDlg, t.id), t.english);
    // The options group box carries no id of its own: it is the template's first control.
    BSetWindowTextRes(6159, GetWindow(hDlg, GW_CHILD), L"Options");

    VFillControls(pContext);
    m_iSavedQualityGroup = ISelection(kQualityGroup);
    m_iSavedMaxDetail = ISelection(kMaxDetail);
    m_iSavedMorePasses = ISelection(kMorePasses);
    m_iSavedGloss = BIsGlossAllowed(pContext) ? ISelection(kGloss) : -1;
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    if (pContext->pConstraints)
        pContext->pConstraints->BAttachConstraintDialog(kMorePasses, hDlg, IDC_PQ_CHECK_MORE_PASSES);
    m_iAcceptedQuality = static_cast<int>(SendMessageW(H(kCtlLevel), CB_GETCURSEL, 0, 0));
    DWORD cancelled = 0;
    if (pContext->pConstraints) pContext->pConstraints->BCheckConstraint(zqkw::kPrintQuality, hDlg, &cancelled);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------
void CZQCustomQualityDlg::VOnLevelChosen(PageContext* pContext) {
    const LRESULT chosen = SendMessageW(H(kCtlLevel), CB_GETCURSEL, 0, 0);
    if (chosen < 0) return;
    WCHAR text[256];
    POPTITEM group = FeatureItem(m_pCUIParam, kQualityGroup);
    if (EntryText(H(kCtlLevel), static_cast<int>(chosen), text) && text[0] && group &&
        DWSelectOptionByName(m_pCUIParam, group, text, OEMCUIP_DOCPROP) == ZQOPT_OK)
        VRunQualityGroupMacros(pContext);

    BFillLevelCombo(pContext);
    SendMessageW(H(kCtlLevel), CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    VRunMaximumDetailMacros(pContext);
    VWriteRenderDpi();

    const bool best = BPrintQualityIs(L"Best") != FALSE;
    if (BIsGlossAllowed(pContext) && best) {
        VFillGlossCombo(pContext);
    } else {
        EnableWindow(H(kCtlGloss), FALSE);
        EnableWindow(H(kCtlGlossLabel), FALSE);
    }
    EnableWindow(H(kCtlMorePasses), BIsMorePassesAllowed(pContext) && best);

    if (!m_bRecheck) return;
    DWORD cancelled = 0;
    if (pContext->pConstraints) pContext->pConstraints->BCheckConstraint(zqkw::kPrintQuality, m_hDlg, &cancelled);
    if (!cancelled) {
        m_iAcceptedQuality = static_cast<int>(chosen);
        return;
    }
    // The rejected level gives way to the one accepted before, applied again as if chosen.
    m_bRecheck = FALSE;
    SendMessageW(H(kCtlLevel), CB_SETCURSEL, static_cast<WPARAM>(m_iAcceptedQuality), 0);
    SendMessageW(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_PQ_CBO_QUALITY_LEVEL, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(H(kCtlLevel)));
    m_bRecheck = TRUE;
}

void CZQCustomQualityDlg::VAfterSwitch(PageContext* pContext) {
    VRunQualityGroupMacros(pContext);
    VRunMaximumDetailMacros(pContext);
    VWriteRenderDpi();
}

void CZQCustomQualityDlg::VRestore(PageContext* pContext) {
    if (m_iSavedQualityGroup >= 0 &&
        DWSelectOptionByIndex(m_pCUIParam, kQualityGroup, m_iSavedQualityGroup, OEMCUIP_DOCPROP) == ZQOPT_OK)
        VRunQualityGroupMacros(pContext);
    if (m_iSavedMaxDetail >= 0) DWSelectOptionByIndex(m_pCUIParam, kMaxDetail, m_iSavedMaxDetail, OEMCUIP_DOCPROP);
    if (m_iSavedMorePasses >= 0)
        DWSelectOptionByIndex(m_pCUIParam, kMorePasses, m_iSavedMorePasses, OEMCUIP_DOCPROP);
    if (m_iSavedGloss >= 0 && BIsGlossAllowed(pContext))
        DWSelectOptionByIndex(m_pCUIParam, kGloss, m_iSavedGloss, OEMCUIP_DOCPROP);
    VRunMaximumDetailMacros(pContext);
    DWORD cancelled = 0;
    if (pContext->pConstraints) pContext->pConstraints->BCheckConstraint(zqkw::kPrintQuality, m_hDlg, &cancelled);
}

void CZQCustomQualityDlg::VOnCommand(int iCtrlId, int iCode, PageContext* pContext) {
    m_pPublicDM = m_pCUIParam->pPublicDM;
    switch (iCtrlId) {
        case IDC_PQ_CBO_QUALITY_LEVEL:
            if (iCode == CBN_SELCHANGE) VOnLevelChosen(pContext);
            return;
        case IDC_PQ_CBO_GLOSS:
            if (iCode != CBN_SELCHANGE) return;
            DWSelectOptionByIndex(m_pCUIParam, kGloss, static_cast<int>(SendMessageW(H(kCtlGloss), CB_GETCURSEL, 0, 0)),
                                  OEMCUIP_DOCPROP);
            VAfterSwitch(pContext);
            return;
        default: break;
    }
    if (iCode != BN_CLICKED) return;
    switch (iCtrlId) {
        case IDC_PQ_CHECK_MORE_PASSES:
        case IDC_PQ_CHECK_MAXIMUM_DETAIL:
            DWSelectOptionByIndex(m_pCUIParam, iCtrlId == IDC_PQ_CHECK_MORE_PASSES ? kMorePasses : kMaxDetail,
                                  Checked(GetDlgItem(m_hDlg, iCtrlId)) ? 1 : 0, OEMCUIP_DOCPROP);
            VAfterSwitch(pContext);
            break;
        case IDOK:
            if (pContext->pConstraints) pContext->pConstraints->BDetachConstraintControls(kMorePasses, m_hDlg);
            EndDialog(m_hDlg, IDOK);
            break;
        case IDCANCEL:
            VRestore(pContext);
            if (pContext->pConstraints) pContext->pConstraints->BDetachConstraintControls(kMorePasses, m_hDlg);
            EndDialog(m_hDlg, IDCANCEL);
            break;
        default: break;
    }
}

INT_PTR CALLBACK CZQCustomQualityDlg::CustomQualityDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // Without its rules nothing can be offered: the dialog ends at once.
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQCustomQualityDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    PageContext* context = nullptr;
    CZQCustomQualityDlg* dialog = Modal::Bound(hDlg, uMsg, true, &context);
    if (!dialog) return FALSE;
    switch (uMsg) {
        case WM_COMMAND: dialog->VOnCommand(LOWORD(wParam), HIWORD(wParam), context); return TRUE;
        case WM_CLOSE:
            // Closing the window keeps what was chosen.
            EndDialog(hDlg, IDOK);
            return TRUE;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!draw || draw->CtlID != IDC_PQ_CBO_QUALITY_LEVEL) return FALSE;
            return context->pLogic->IDrawFeatureComboItem(0, kQualityGroup, draw, dialog->H(kCtlLevel));
        }
        case WM_HELP:
        case WM_CONTEXTMENU: {
            DWORD table[2 * kHelpPairs] = {};
            dialog->VGetHelpIds(context, table);
            ZQShowDialogHelp(uMsg, wParam, lParam, dialog->m_pCUIParam, table);
            return TRUE;
        }
        default: return FALSE;
    }
}
