// The Features page's paper source and media type: the lists for ordinary pages and the back cover,
// pop-up mode's short media list with the recent types and the user's own media, the page's own
// media-type tree, and a chosen name taken into the core driver's item and the recent list.
#include <cwchar>

#include <windows.h>

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"
#include "res/zqpopupids.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

void AddEntry(HWND hCombo, PCWSTR pszText) {
    if (pszText && SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(pszText)) == CB_ERR)
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
}

void AddResString(CZQCommon& texts, HWND hCombo, INT id, PCWSTR pszEnglish) {
    WCHAR text[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(id, text)) ZQCopyText(text, CZQCommon::kResStringChars, pszEnglish);
    SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The source and media lists
// ---------------------------------------------------------------------------------------------
DWORD CZQFeaturesTab::DWFillMediaTypeList(PageContext* pContext) {
    HWND media = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    if (m_state.bMediaTypePopup) {
        CZQUILogic::VKeepPopupMediaType(m_pCUIParam->hPrinter);
        IFillMediaTypeCombo(media, pContext, -1);
        return 0;
    }
    return static_cast<DWORD>(pContext->pLogic->IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, media, nullptr,
                                                                    OEMCUIP_DOCPROP, CZQUILogic::kBindFill, FALSE, 0,
                                                                    nullptr));
}

DWORD CZQFeaturesTab::DWFillSourceAndMediaCombos(PageContext* pContext) {
    if (!WorkOf(pContext) || !m_pCUIParam) return static_cast<DWORD>(-1);
    CZQUILogic& logic = *pContext->pLogic;
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    CZQPaperSlots::VFillSourceList(sources, logic, pContext->pCaps);
    DWFillMediaTypeList(pContext);
    return static_cast<DWORD>(logic.IBindFeatureControl(0, zqkw::kZQPhotoFix, m_controls.Item(IDC_CBO_PHOTOFIX),
                                                        nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill, FALSE, 0,
                                                        nullptr));
}

DWORD CZQFeaturesTab::DWFillMediaCombosBorderless(PageContext* pContext) {
    if (!WorkOf(pContext) || !m_pCUIParam) return static_cast<DWORD>(-1);
    SendMessageW(m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS), CB_RESETCONTENT, 0, 0);
    const DWORD status = DWFillMediaTypeList(pContext);
    if (pContext->pLogic->BIsBorderlessPaper())
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, 1, OEMCUIP_DOCPROP);
    return status;
}

DWORD CZQFeaturesTab::DWFillBackCoverMediaCombos(PageContext* pContext) {
    if (!WorkOf(pContext) || !m_pCUIParam) return static_cast<DWORD>(-1);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    pContext->pLogic->IBindFeatureControl(0, kBackFeederFeature, sources, nullptr, OEMCUIP_DOCPROP,
                                          CZQUILogic::kBindFillFree, FALSE, 0, nullptr);
    const DWORD status = DWFillMediaTypeList(pContext);
    if (pContext->pLogic->BIsBorderlessPaper())
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, 1, OEMCUIP_DOCPROP);
    return status;
}

int CZQFeaturesTab::IFillMediaTypeCombo(HWND hCombo, PageContext* pContext, int iSelection) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!m_state.bMediaTypePopup || !hCombo || !work || !m_pCUIParam) return m_userMedia.Count();
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    const int count = IGetOptionCount(item);

    // The current type first: the option whose media id the settings hold, else the first.
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsMedia);
    PCWSTR current = nullptr;
    if (caps && caps->pMediaIds)
        for (int i = 0; i < count && static_cast<DWORD>(i) < caps->dwMediaCount && !current; ++i)
            if (caps->pMediaIds[i] == work->dwDefaultMediaId) current = OptionName(item, i);
    AddEntry(hCombo, current ? current : OptionName(item, 0));

    // Each option brings at most one recent entry: its own name, or a user medium not yet listed.
    bool listed[CZQUserMedia::kMaxUserMedia] = {};
    const int slots = CZQTreePopups::IRecentMediaSlots(pContext);
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (!name) continue;
        for (int s = 0; s < slots; ++s) {
            PCWSTR recent = CZQTreePopups::PszRecentMedia(*work, s);
            if (!recent[0]) continue;
            if (lstrcmpW(recent, name) == 0) {
                AddEntry(hCombo, name);
                break;
            }
            int user = -1;
            if (m_userMedia.IFindUserMedia(recent, &user) >= 0 && !listed[user]) {
                listed[user] = true;
                AddEntry(hCombo, m_userMedia.Medium(user).szName);
                break;
            }
        }
    }
    if (Readable(m_pCUIParam, zqkw::kZQAddCustomMedia) && BReadAddPaperPath(pContext))
        AddResString(*this, hCombo, 5634, L"Add Paper...");
    AddResString(*this, hCombo, 3119, L"More...");
    const int user = m_state.iUserMedium;
    if (iSelection >= 0)
        SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(iSelection), 0);
    else if (m_state.bUserMediumChosen && user >= 0 && m_userMedia.BHas(user))
        CZQTreePopups::VSelectExact(hCombo, m_userMedia.Medium(user).szName);
    else
        CZQTreePopups::VSelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
    return m_userMedia.Count();
}

// ---------------------------------------------------------------------------------------------
// A chosen media name
// ---------------------------------------------------------------------------------------------
BOOL CZQFeaturesTab::BSelectMediaByName(PageContext* pContext, PCWSTR pszName) {
    if (!pszName || !pszName[0] || !PubItem(m_pCUIParam, DMPUB_MEDIATYPE)) return FALSE;
    if (CZQTreePopups::BSelectByName(pContext, DMPUB_MEDIATYPE, pszName)) {
        m_state.bUserMediumChosen = FALSE;
        m_state.bMediumPicked = TRUE;
        return TRUE;
    }
    // A user medium prints on the option named after its category.
    int user = -1;
    if (m_userMedia.IFindUserMedia(pszName, &user) < 0) return FALSE;
    const int option = m_userMedia.IPrintingOption(user);
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    if (option < 0 || !CZQTreePopups::BSelectByName(pContext, DMPUB_MEDIATYPE, OptionName(item, option))) return FALSE;
    m_state.bUserMediumChosen = TRUE;
    m_state.bMediumPicked = TRUE;
    return TRUE;
}

int CZQFeaturesTab::ISelectMediaInCombo(PageContext* pContext, PCWSTR pszName) {
    ZQUIDevmode* work = WorkOf(pContext);
    HWND combo = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    if (!pszName || !work) return CB_ERR;
    int user = -1;
    if (m_userMedia.IFindUserMedia(pszName, &user) >= 0) {
        ZQCopyText(m_state.szUserMedium, kZQUserMediumChars, pszName);
        m_state.iUserMedium = user;
    } else {
        m_state.iUserMedium = -1;
    }
    const int slots = CZQTreePopups::IRecentMediaSlots(pContext);
    if (m_state.bMediaTypePopup && pszName[0] && slots > 0) {
        // "More..." is no name.
        const int entries = combo ? static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) : 0;
        WCHAR text[256];
        bool known = false;
        for (int i = 0; i + 1 < entries && !known; ++i) known = EntryText(combo, i, text) && lstrcmpW(text, pszName) == 0;
        for (int s = 0; s < slots && !known; ++s) known = lstrcmpW(CZQTreePopups::PszRecentMedia(*work, s), pszName) == 0;
        if (!known && !CZQTreePopups::BPutRecentMedia(*work, slots, pszName))
            CZQTreePopups::VShiftRecentMedia(*work, 0, slots, pszName);
    }
    if (!combo) return CB_ERR;
    IFillMediaTypeCombo(combo, pContext, -1);
    CZQTreePopups::VSelectExact(combo, pszName);
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void CZQFeaturesTab::VSelectMediaTypeEntry(PageContext* pContext) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    if (!m_state.bMediaTypePopup) {
        for (int action : {CZQUILogic::kBindFill, CZQUILogic::kBindShow})
            pContext->pLogic->IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, m_controls.Item(IDC_CBO_MEDIA_TYPE_IS),
                                                  nullptr, OEMCUIP_DOCPROP, action, FALSE, 0, nullptr);
        return;
    }
    if (!item) return;
    const int user = m_state.iUserMedium;
    if (m_state.bUserMediumChosen && user >= 0 && m_userMedia.BHas(user))
        ISelectMediaInCombo(pContext, m_userMedia.Medium(user).szName);
    else if (PCWSTR name = OptionName(item, static_cast<int>(item->Sel)))
        ISelectMediaInCombo(pContext, name);
}

void CZQFeaturesTab::VApplyUserMediumQuality(PageContext* pContext) {
    const int user = m_state.iUserMedium;
    if (!m_state.bUserMediumChosen || user < 0 || !m_userMedia.BHas(user)) return;
    const struct {
        DWORD code;
        INT id;
        PCWSTR english;
    } kGroups[] = {{2, 519, L"Normal"}, {1, 518, L"Best"}, {5, 3424, L"Maximum dpi"}};
    POPTITEM group = FeatureItem(m_pCUIParam, zqkw::kPrintQualityGroup);
    for (const auto& row : kGroups) {
        if (row.code != m_userMedia.Medium(user).dwQuality || !group) continue;
        WCHAR name[kResStringChars], keyword[256];
        if (!BLoadResString(row.id, name)) ZQCopyText(name, kResStringChars, row.english);
        if (DWSelectOptionByName(m_pCUIParam, group, name, OEMCUIP_DOCPROP) == ZQOPT_OK && RulesLoaded(pContext) &&
            ReadOption(m_pCUIParam, zqkw::kPrintQualityGroup, keyword))
            pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, keyword, m_pCUIParam);
    }
}

// ---------------------------------------------------------------------------------------------
// The media-type tree
// ---------------------------------------------------------------------------------------------
INT_PTR CZQFeaturesTab::IRunMediaPopup(PageContext* pContext) {
    if (!m_pCUIParam || !pContext->pLogic) return -1;
    const WORD id = pContext->pLogic->SheetState()->bRtl ? IDD_DLG_MEDIATYPE_TREEVIEW_POPUP_RTL
                                                         : IDD_DLG_MEDIATYPE_TREEVIEW_POPUP;
    return CZQCommon::IDialogBoxParam(static_cast<HINSTANCE>(m_pCUIParam->hModule), MAKEINTRESOURCEW(id),
                                      m_controls.Page(), &FeaturesMediaTypePopupDlgProc,
                                      reinterpret_cast<LPARAM>(pContext));
}

INT_PTR CALLBACK FeaturesMediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        auto* context = reinterpret_cast<PageContext*>(lParam);
        auto* page = context ? static_cast<CZQFeaturesTab*>(context->pPage) : nullptr;
        if (!page || !page->CUIParam() || !context->pRules || !context->pLogic) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        CZQTreePopups::VSetMediaPopupTexts(*page, hDlg);
        HWND tree = GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP);
        context->pRules->BFillMediaTypeTree(tree, page->CUIParam());
        page->m_userMedia.VAddUserMediaToTree(tree, context);
        CZQTreePopups::VShowCurrent(tree, page->CUIParam(), DMPUB_MEDIATYPE);
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return FALSE;
    }
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    auto* page = context ? static_cast<CZQFeaturesTab*>(context->pPage) : nullptr;
    if (uMsg == WM_COMMAND && HIWORD(wParam) == 0) {
        if (LOWORD(wParam) == IDOK && page) {
            WCHAR name[CZQTreePopups::kMediaNameChars];
            CZQTreePopups::VSelectedTreeText(GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP), name);
            if (page->BSelectMediaByName(context, name)) page->ISelectMediaInCombo(context, name);
            EndDialog(hDlg, 1);
        } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            // Opened without its page the tree still closes, as Cancel.
            EndDialog(hDlg, 2);
        }
        return FALSE;
    }
    if ((uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) && page) {
        DWORD table[2 * CZQTreePopups::kMediaHelpPairs] = {};
        CZQTreePopups::VGetMediaPopupHelpIds(table, context);
        ZQShowDialogHelp(uMsg, wParam, lParam, page->CUIParam(), table);
    }
    return FALSE;
}
