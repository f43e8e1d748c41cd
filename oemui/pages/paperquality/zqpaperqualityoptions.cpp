// The Paper/Quality page's smaller pieces beside its lists: the paper dimensions as a link, the
// margin controls, the tooltips of the large-format page, the recent paper sizes and media types
// of pop-up mode, the alert strip and the command line that adds a custom paper.
#include <windows.h>

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "common/zqlanguage.h"
#include "common/zqmodule.h"
#include "common/zqstorenames.h"
#include "featurelogic/zqpagegates.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

constexpr UINT kTipWidth = 270;
constexpr WORD kTipShowMs = 13568;

// The focus mark of the dimensions control: its client rectangle grown by one pixel.
void DrawFocusMark(HWND hControl) {
    if (!hControl) return;
    RECT rc;
    GetClientRect(hControl, &rc);
    InflateRect(&rc, 1, 1);
    CZQWindowDC dc(hControl);
    if (dc.Get()) DrawFocusRect(dc.Get(), &rc);
}

// Some entry of the list begins with the keyword (case-sensitive).
bool ListNames(PWSTR* ppszList, int iCount, PCWSTR pszKeyword) {
    const size_t len = wcslen(pszKeyword);
    for (int i = 0; i < iCount; ++i)
        if (ppszList[i] && wcsncmp(ppszList[i], pszKeyword, len) == 0) return true;
    return false;
}

// A user form of the printer has exactly that name.
bool IsUserForm(HANDLE hPrinter, PCWSTR pszName) {
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!pszName[0] || !CZQCommon::BEnumForms(hPrinter, forms.Put(), &count)) return false;
    for (DWORD i = 0; i < count; ++i)
        if (forms.Get()[i].Flags == FORM_USER && forms.Get()[i].pName && lstrcmpW(forms.Get()[i].pName, pszName) == 0)
            return true;
    return false;
}

void ShowOrHide(HWND hCtrl, bool bShow) {
    if (bShow)
        ShowEnabled(hCtrl);
    else
        Hide(hCtrl);
}

// A tool over a drop-down list's client area with the string's text (511 characters).
void AddListTool(HWND hTip, HWND hList, CZQCommon& texts, INT id, PCWSTR pszEnglish) {
    if (!hList) return;
    WCHAR text[512];
    if (!texts.BLoadResStringLong(id, text)) ZQCopyTextN(text, 512, pszEnglish, 511);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hList;
    tool.hinst = zqmodule::Instance();
    tool.lpszText = text;
    GetClientRect(hList, &tool.rect);
    SendMessageW(hTip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    SendMessageW(hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND DropList(HWND hCombo) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return hCombo && GetComboBoxInfo(hCombo, &info) ? info.hwndList : nullptr;
}

void Append(PWSTR pszLine, PCWSTR pszText) { ZQAppendText(pszLine, ZQPaperQualityState::kCommandChars, pszText); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The paper dimensions as a link
// ---------------------------------------------------------------------------------------------
LRESULT CALLBACK CZQPaperQualityTab::PaperDimensionsWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            InvalidateRect(hWnd, nullptr, FALSE);
            break;
        // The mark is drawn by exclusive or: drawing it again takes it away.
        case WM_KILLFOCUS: DrawFocusMark(hWnd); break;
        default: break;
    }
    return CZQPaperQualityControls::LDimensionsOwnProc(hWnd, uMsg, wParam, lParam);
}


void CZQPaperQualityTab::VDrawDimensionsFocus() { DrawFocusMark(m_controls.H(kCtlDimensions)); }

// ---------------------------------------------------------------------------------------------
// Margins
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BUpdateMarginControls(PageContext* pContext) {
    if (!pContext || !pContext->pRules || !pContext->pLogic) return FALSE;
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* core = CoreOf(param);
    const uint32_t pdl = core ? core->dwPdl : zqdm::kPdlUnknown;
    bool margins = false, extended = false;
    CZQComPtr<IXMLDOMNode> node;
    PWSTR *first = nullptr, *second = nullptr;
    int firstCount = 0, secondCount = 0;
    if (pContext->pRules->BFindFeatureNode(node.Put(), zqkw::kZQMarginType) &&
        CZQXmlUiRules::BReadNodeTextList(node.Get(), &first, &second, &firstCount, &secondCount) == 1) {
        WCHAR paper[256];
        const PCWSTR feature = pdl == zqdm::kPdlPostScript                       ? zqkw::kPageSize
                               : pdl == zqdm::kPdlPcl3 || pdl == zqdm::kPdlZqgl2 ? zqkw::kPaperSize
                                                                                 : nullptr;
        if (feature && ReadOption(param, feature, paper)) {
            margins = ListNames(first, firstCount, paper);
            if (!margins) extended = ListNames(second, secondCount, paper);
        }
    }
    VFreeStringList(first, firstCount);
    VFreeStringList(second, secondCount);
    // The printer's own forms always offer the margins.
    if ((pContext->pLogic->BIsLargeFormat() && pdl == zqdm::kPdlZqgl2) || pdl == zqdm::kPdlPcl3) {
        WCHAR shown[256] = {};
        if (HWND size = m_controls.H(kCtlSize)) GetWindowTextW(size, shown, 256);
        if (param && IsUserForm(param->hPrinter, shown)) margins = true;
    }
    ShowOrHide(m_controls.H(kCtlMargins), margins);
    ShowOrHide(m_controls.H(kCtlExtendedMargins), extended);
    return margins || extended;
}

// ---------------------------------------------------------------------------------------------
// Tooltips of the large-format page
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VCreateListTooltips(PageContext*) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    if (m_state.hTooltip) DestroyWindow(m_state.hTooltip);
    m_state.hTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 zqmodule::Instance(), nullptr);
    if (!m_state.hTooltip) return;
    SetWindowPos(m_state.hTooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(m_state.hTooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kTipShowMs, 0));
    m_state.hSizeDropList = DropList(m_controls.H(kCtlSize));
    AddListTool(m_state.hTooltip, m_state.hSizeDropList, *this, 5027,
                L"The original document size is better selected in the application Page Setup dialog.");
    AddListTool(m_state.hTooltip, DropList(m_controls.H(kCtlMedia)), *this, 5028,
                L"The selected media type may not be loaded at the time the job starts to print.");
}

// ---------------------------------------------------------------------------------------------
// Recent paper sizes and media types
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VUpdateRecentPaperSizes(PageContext* pContext) {
    CZQTreePopups::VUpdateRecentPapers(pContext, PubItem(m_pCUIParam, DMPUB_FORMNAME), m_controls.H(kCtlSize));
}

BOOL CZQPaperQualityTab::BInitRecentPaperSizes(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pContext->pLogic) return FALSE;
    int defaults = 0, length = 0;
    pContext->pLogic->IGetLqjPaperTreeview(&defaults, &length);
    const int bound = length - 1 < 3 ? length - 1 : 3;
    for (int i = 0; i < bound; ++i)
        if (work->aiRecentPaperSizes[i] != -1) return FALSE;
    BSeedRecentPaperSizes(pContext);
    return TRUE;
}

BOOL CZQPaperQualityTab::BSeedRecentPaperSizes(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pContext->pRules || !pContext->pLogic) return FALSE;
    CZQComPtr<IXMLDOMNode> node;
    PWSTR *keywords = nullptr, *unused = nullptr;
    int count = 0, unusedCount = 0;
    if (!pContext->pRules->BFindFeatureNode(node.Put(), L"ZQDefaultPaperSize") ||
        CZQXmlUiRules::BReadNodeTextList(node.Get(), &keywords, &unused, &count, &unusedCount) != 1) {
        VFreeStringList(keywords, count);
        VFreeStringList(unused, unusedCount);
        return FALSE;
    }
    int defaults = 0, length = 0;
    pContext->pLogic->IGetLqjPaperTreeview(&defaults, &length);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    const int options = IGetOptionCount(form);
    const int wanted = defaults < count ? defaults : count;
    const int slots = CZQTreePopups::IRecentPaperSlots(pContext);
    int next = 0;
    for (int k = 0; k < wanted && next < slots; ++k) {
        for (int i = 0; i < options; ++i) {
            CZQLocalPtr<WCHAR> keyword;
            PCWSTR name = OptionName(form, i);
            if (!name || DWOptionNameToKeyword(m_pCUIParam, zqkw::kPaperSize, name, keyword.Put()) != ZQOPT_OK ||
                lstrcmpW(keyword.Get(), keywords[k]) != 0)
                continue;
            work->aiRecentPaperSizes[next++] = i;
            break;
        }
    }
    VFreeStringList(keywords, count);
    VFreeStringList(unused, unusedCount);
    return TRUE;
}

BOOL CZQPaperQualityTab::BSeedRecentMediaTypes(PageContext* pContext, PCWSTR pszName) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    ZQUIDevmode* work = WorkOf(pContext);
    if (!item) return TRUE;
    if (!work) return FALSE;
    const int slots = CZQTreePopups::IRecentMediaSlots(pContext);
    const int options = IGetOptionCount(item);
    for (int k = 0; k < slots && k < options; ++k) {
        auto slot = reinterpret_cast<PWSTR>(work->aszRecentMediaTypes[k]);
        PCWSTR name = OptionName(item, k);
        if (!slot[0] && name) ZQCopyTextN(slot, 64, name, 63);
    }
    return pszName && ZQEqualNoCase(pszName, reinterpret_cast<PCWSTR>(work->aszRecentMediaTypes[0]));
}

// ---------------------------------------------------------------------------------------------
// The alert strip
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BCreateAlertStrip(HWND hDlg, PageContext* pContext) {
    IZQAlertGate* alerts = pContext ? pContext->pAlerts : nullptr;
    if (!IsWindow(hDlg) || !alerts) return FALSE;
    // A second start of the page replaces the window it made before. The strip refreshes the
    // device status when it shows; without it the page still reads it at its start.
    const bool strip = alerts->BAlertsEnabled() && GetDlgItem(hDlg, IDC_ALERT_PLACEHOLDER);
    m_alerts.VInit(hDlg, alerts, pContext->pConstraints);
    if (!strip) alerts->BRefreshDeviceStatus(TRUE);
    HICON icon = nullptr;
    return alerts->BGetAlertIcon(&icon);
}

// ---------------------------------------------------------------------------------------------
// The colour-management program's command line
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VBuildAddPaperCommand(PageContext*) {
    PWSTR line = m_state.szAddPaperCommand;
    ZQCopyText(line, ZQPaperQualityState::kCommandChars, L"\"");
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, zqsettings::kColorManagementKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return;
    WCHAR program[129] = {};
    DWORD size = 256, type = 0;
    if (RegQueryValueExW(key.Get(), zqsettings::kColorManagementProgram, nullptr, &type,
                         reinterpret_cast<BYTE*>(program), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        program[0] = 0;
    program[128] = 0;
    CZQLocalPtr<WCHAR> printer, locale;
    if (!m_pCUIParam || !BGetPrinterName(m_pCUIParam->hPrinter, printer.Put())) printer.Reset();
    // A locale that cannot be read is an empty word.
    if (!zqlang::BGetUserLocaleName(locale.Put())) locale.Reset();
    Append(line, program);
    Append(line, L"\" \"");
    Append(line, printer ? printer.Get() : L"");
    Append(line, L"\" \"");
    Append(line, locale ? locale.Get() : L"");
    Append(line, L"\" \"add_paper\"");
}
