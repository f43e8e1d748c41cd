// Pop-up macros: the pop-up elements of a macro or a switch branch read into the pop-up record, and
// the pop-up shown as a message box or through the warning module.
#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqmsgbox.h"
#include "zqproc.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlutil.h"

namespace {

constexpr WCHAR kPopupPrefix[] = L"macro_POP_UP";

struct KeywordRow {
    LPCWSTR keyword;
    DWORD value;
    bool kind;  // sets the record's kind instead of giving a value
};

const KeywordRow kKeywords[] = {
    {L"MB_OK", MB_OK, false},
    {L"MB_OKCANCEL", MB_OKCANCEL, false},
    {L"MB_YESNO", MB_YESNO, false},
    {L"MB_ICONWARNING", MB_ICONWARNING, false},
    {L"MB_ICONINFORMATION", MB_ICONINFORMATION, false},
    {L"TRUE", 1, false},
    {L"MSG_BOX", ZQPOPUP_MESSAGE_BOX, true},
    {L"MODAL_DLG", ZQPOPUP_MODAL_DIALOG, true},
    {L"MODELESS_DLG", ZQPOPUP_MODELESS_DIALOG, true},
};

DWORD DWDecimal(LPCWSTR pszText) { return static_cast<DWORD>(wcstol(pszText, nullptr, 10)); }

// The pop-up elements that do something; every other element (the macro's name, its body) is
// passed over.
enum class PopupElement { Other, Number, Keyword, Call, StringId, Show };

PopupElement ElementOf(LPCWSTR pszName, DWORD** ppField, ZQPopupRecord& record) {
    *ppField = nullptr;
    struct Row {
        LPCWSTR name;
        PopupElement kind;
        DWORD* field;
    };
    const Row rows[] = {
        {L"butt1", PopupElement::Number, &record.dwButton1Id},
        {L"butt2", PopupElement::Number, &record.dwButton2Id},
        {L"title", PopupElement::Number, &record.dwTitleId},
        {L"help_id", PopupElement::Number, &record.dwHelpId},
        {L"dialog_id", PopupElement::Number, &record.dwDialogId},
        {L"icon", PopupElement::Keyword, &record.dwIcon},
        {L"message_type", PopupElement::Keyword, &record.dwButtons},
        {L"checkbox_present", PopupElement::Keyword, &record.dwCheckBox},
        {L"call", PopupElement::Call, nullptr},
        {L"string_id", PopupElement::StringId, nullptr},
        {L"showpopup", PopupElement::Show, nullptr},
    };
    for (const Row& row : rows) {
        if (!ZQEqualNoCase(pszName, row.name)) continue;
        *ppField = row.field;
        return row.kind;
    }
    return PopupElement::Other;
}

// Full path of a file in the printer's driver directory into the buffer when the file is there,
// else its plain name.
void VDriverFileOrName(HANDLE hPrinter, LPCWSTR pszFile, PWSTR pszBuffer, size_t cchBuffer) {
    CZQLocalPtr<WCHAR> path;
    if (CZQCommon::BGetDriverDirFile(hPrinter, path.Put(), pszFile) &&
        GetFileAttributesW(path.Get()) != INVALID_FILE_ATTRIBUTES)
        ZQCopyText(pszBuffer, cchBuffer, path.Get());
    else
        ZQCopyText(pszBuffer, cchBuffer, pszFile);
}

}  // namespace

bool CZQXmlParserCommon::CZQMacroBudget::BTake(DWORD& dwUsed, DWORD dwMax, const wchar_t* pszWhat) {
    if (BOutOfTime()) return false;
    if (dwUsed < dwMax) {
        ++dwUsed;
        return true;
    }
    VSpent(pszWhat);
    return false;
}

bool CZQXmlParserCommon::CZQMacroBudget::BExhausted() {
    return m_dwRuns >= kMaxRuns || m_dwCalls >= kMaxCalls || BOutOfTime();
}

bool CZQXmlParserCommon::CZQMacroBudget::BOutOfTime() {
    if (!m_dwActions || GetTickCount64() - m_ullStart < m_dwMaxMs) return false;
    VSpent(L"time");
    return true;
}

void CZQXmlParserCommon::CZQMacroBudget::VSpent(const wchar_t* pszWhat) {
    if (m_pszSpent) return;
    m_pszSpent = pszWhat;
    WCHAR line[128];
    ZQFormatText(line, ARRAYSIZE(line), L"helper-file macros: this action used up its %ls (%lu ms): the rest is skipped\n",
                 pszWhat, static_cast<unsigned long>(GetTickCount64() - m_ullStart));
    zqtrace::Line(line);
}

CZQXmlParserCommon::CZQMacroAction::CZQMacroAction(CZQMacroBudget& budget) : m_budget(budget) {
    if (m_budget.m_dwActions++ == 0) {
        m_budget.m_dwRuns = m_budget.m_dwCalls = m_budget.m_dwPopups = m_budget.m_dwReports = 0;
        m_budget.m_ullStart = GetTickCount64();
        m_budget.m_pszSpent = nullptr;
    }
}

BOOL CZQXmlParserCommon::BIsPopupMacroName(LPCWSTR pszMacro) {
    return ZQStartsWithNoCase(pszMacro, kPopupPrefix) ? TRUE : FALSE;
}

void CZQXmlParserCommon::VRunPopupMacro(LPCWSTR pszMacro, HANDLE hPrinter) {
    ZQ_TRACE("CZQXmlParserCommon::VRunPopupMacro");
    CZQMacroAction action(m_budget);
    if (!m_dwLoaded || !pszMacro || !MacroList()) return;
    CZQComPtr<IXMLDOMNode> macro;
    if (!BFindEntry(MacroList(), pszMacro, macro.Put()) || !macro) return;
    // A flag left over from an earlier pop-up must not make this macro pop up.
    VSetPopupFlag(BIsPopupMacroName(pszMacro));
    VReadPopupElements(macro.Get(), hPrinter);
}

void CZQXmlParserCommon::VReadPopupElements(IXMLDOMNode* pNode, HANDLE hPrinter) {
    ZQ_TRACE("CZQXmlParserCommon::VReadPopupElements");
    if (!pNode) return;
    // A macro that calls itself among its pop-up elements stops here.
    if (m_wPopupDepth >= kMaxPopupDepth) return;
    ++m_wPopupDepth;

    m_popup.dwHelpId = 0;
    m_popup.dwCheckBox = 0;
    m_popup.dwButton1Id = 0;
    m_popup.dwButton2Id = 0;
    m_popup.szText[0] = L'\0';

    DWORD dwStringIds = 0;
    zqxml::CZQElementWalk walk(pNode);
    CZQComPtr<IXMLDOMNode> child;
    CZQBstr name, text;
    while (!m_budget.BExhausted() && walk.BNextWithText(child, name, text)) {
        DWORD* pField = nullptr;
        switch (ElementOf(name.Get(), &pField, m_popup)) {
            case PopupElement::Number:
                *pField = DWDecimal(text.Get());
                break;
            case PopupElement::Keyword: {
                DWORD value = *pField;
                // A kind keyword under "message_type" leaves the button type as it was.
                if (BParsePopupKeyword(text.Get(), &value)) *pField = value;
                break;
            }
            case PopupElement::Call: {
                VSetPopupFlag(TRUE);
                if (!m_budget.BTakeCall()) break;
                CZQComPtr<IXMLDOMNode> macro;
                if (MacroList() && BFindEntry(MacroList(), text.Get(), macro.Put()) && macro)
                    VReadPopupElements(macro.Get(), hPrinter);
                break;
            }
            case PopupElement::StringId:
                VComposePopupText(hPrinter, text.Get(), dwStringIds++);
                break;
            case PopupElement::Show:
                if (BPopupFlag() && m_budget.BTakePopup()) VShowPopup(hPrinter);
                break;
            case PopupElement::Other:
                break;
        }
    }
    --m_wPopupDepth;
}

BOOL CZQXmlParserCommon::BParsePopupKeyword(LPCWSTR pszText, DWORD* pdwValue) {
    if (!pszText || !pdwValue) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    for (const KeywordRow& row : kKeywords) {
        if (!ZQEqualNoCase(pszText, row.keyword)) continue;
        if (row.kind) {
            m_popup.dwKind = row.value;
            return FALSE;
        }
        *pdwValue = row.value;
        return TRUE;
    }
    return FALSE;
}

void CZQXmlParserCommon::VComposePopupText(HANDLE hPrinter, LPCWSTR pszStringId, DWORD dwOrdinal) {
    if (!pszStringId) return;
    constexpr size_t cchText = ARRAYSIZE(m_popup.szText);
    if (dwOrdinal == 0) m_popup.szText[0] = L'\0';

    // The string id ends at the first colon; the tokens after it add a line feed, a tab or a blank.
    LPCWSTR pszColon = wcschr(pszStringId, L':');
    WCHAR idText[16] = {};
    ZQCopyTextN(idText, ARRAYSIZE(idText), pszStringId,
                pszColon ? static_cast<size_t>(pszColon - pszStringId) : wcslen(pszStringId));
    WCHAR message[CZQCommon::kResStringChars] = {};
    CZQCommon texts;
    texts.VLoadResourceModule(hPrinter);
    if (!texts.BLoadResString(static_cast<INT>(DWDecimal(idText)), message)) message[0] = L'\0';
    ZQAppendText(m_popup.szText, cchText, message);

    for (LPCWSTR p = pszColon; p; p = wcschr(p + 1, L':')) {
        const WCHAR first = p[1];
        ZQAppendText(m_popup.szText, cchText, first == L'N' ? L"\n" : first == L'T' ? L"\t" : L" ");
    }
}

void CZQXmlParserCommon::VShowPopup(HANDLE hPrinter) {
    ZQ_TRACE("CZQXmlParserCommon::VShowPopup");
    if (!BPopupFlag()) return;
    switch (m_popup.dwKind) {
        case ZQPOPUP_MESSAGE_BOX: {
            WCHAR title[CZQCommon::kResStringChars] = {};
            CZQCommon texts;
            texts.VLoadResourceModule(hPrinter);
            if (!texts.BLoadResString(static_cast<INT>(m_popup.dwTitleId), title)) title[0] = L'\0';
            const CZQMacroPause answering(m_budget);
            m_dwPopupResult = static_cast<DWORD>(
                zqmsgbox::IShow(GetForegroundWindow(), m_popup.szText, title, m_popup.dwIcon | m_popup.dwButtons));
            break;
        }
        case ZQPOPUP_MODAL_DIALOG:
        case ZQPOPUP_MODELESS_DIALOG: {
            CZQLocalPtr<WCHAR> path;
            CZQModule module;
            if (CZQCommon::BGetDriverDirFile(hPrinter, path.Put(), kZQWarnModFile))
                module.Reset(CZQCommon::HLoadLibrary(path.Get()));
            if (!module) module.Reset(CZQCommon::HLoadLibrary(kZQWarnModFile));
            if (module) VCallWarningModule(hPrinter, module.Get());
            break;
        }
        default:
            break;
    }
}

void CZQXmlParserCommon::VCallWarningModule(HANDLE hPrinter, HMODULE hModule) {
    const auto pfnShow = ZQGetProc<PFN_IShowWarningDialog>(hModule, "IShowWarningDialog");
    if (!pfnShow) return;
    VDriverFileOrName(hPrinter, kZQCoreModFile, m_popup.szCoreModPath, ARRAYSIZE(m_popup.szCoreModPath));
    const CZQMacroPause answering(m_budget);
    m_dwPopupResult = pfnShow(m_popup);
}
