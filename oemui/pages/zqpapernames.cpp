#include "pages/zqpapernames.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"

BOOL CZQPaperNames::BRead(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode) {
    VFree();
    DWORD count = 0;
    PWSTR names = nullptr;
    if (!CZQCommon::BGetPaperSizeNames(pszPrinter, pszPort, pDevmode, &count, &names)) return FALSE;
    m_names.Reset(names);
    m_dwCount = count;
    return TRUE;
}

void CZQPaperNames::VFree() {
    m_names.Reset(nullptr);
    m_dwCount = 0;
}

PCWSTR CZQPaperNames::Name(DWORD dwIndex) const {
    return m_names.Get() && dwIndex < m_dwCount ? m_names.Get() + dwIndex * kNameChars : L"";
}

int CZQPaperNames::IFind(PCWSTR pszName) const {
    if (!pszName) return -1;
    for (DWORD i = 0; i < m_dwCount; ++i)
        if (wcscmp(Name(i), pszName) == 0) return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The destination papers of the resizing groups
// ---------------------------------------------------------------------------------------------
namespace {

constexpr WCHAR kPSAutoScaling[] = L"ZQPSAutoScaling";
constexpr WCHAR kCustomPaperSize[] = L"ZQCustomPaperSize";

bool Unusable(BYTE bFlags) { return (bFlags & (OPTPF_OVERLAY_WARNING_ICON | OPTPF_HIDE)) != 0; }

// The form of that name among the spooler's forms (case-blind), or null.
const FORM_INFO_1W* FormNamed(const FORM_INFO_1W* pForms, DWORD dwCount, PCWSTR pszName) {
    for (DWORD i = 0; pForms && i < dwCount; ++i)
        if (pForms[i].pName && ZQEqualNoCase(pForms[i].pName, pszName)) return &pForms[i];
    return nullptr;
}

}  // namespace

BOOL ZQFillDestPaperList(HWND hList, const ZQDestPaperSources& sources) {
    using namespace zqpage;
    const POEMCUIPPARAM param = sources.pParam;
    if (!hList || !param || !sources.pLogic || !sources.pNames) return FALSE;
    auto add = [&](PCWSTR name) { SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name)); };

    // A PostScript printer scales to the papers of its own feature, and to the user's forms where
    // it takes custom sizes.
    if (POPTITEM scaling = FeatureItem(param, kPSAutoScaling)) {
        SendMessageW(hList, CB_RESETCONTENT, 0, 0);
        BOOL custom = FALSE;
        for (int j = 1; j < CZQCommon::IGetOptionCount(scaling); ++j) {
            PCWSTR name = OptionName(scaling, j);
            if (!name) continue;
            if (ZQEqualNoCase(name, kCustomPaperSize)) custom = TRUE;
            else if (!Unusable(OptionFlags(scaling, j))) add(name);
        }
        return custom;
    }
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    if (!form) return FALSE;
    CZQUILogic& logic = *sources.pLogic;
    const CZQPaperNames& names = *sources.pNames;
    SendMessageW(hList, CB_RESETCONTENT, 0, 0);
    const int options = CZQCommon::IGetOptionCount(form);
    if (!names.Count()) {
        // Without the printer's names the form item's own stand.
        for (int j = 0; j < options; ++j)
            if (PCWSTR name = OptionName(form, j); name && !Unusable(OptionFlags(form, j))) add(name);
        return FALSE;
    }
    const BOOL fromLarge = logic.BScaleFromLargePaper();
    LONG widthLimit = 0, lengthLimit = 0;
    if (fromLarge) logic.IGetActualCustomRange(&widthLimit, &lengthLimit);
    const PrinterCaps* caps = sources.pCaps;
    // The spooler's forms asked once for the whole list: each asking is a call to the spooler.
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD formCount = 0;
    if (sources.bUserFormsListed && !CZQCommon::BEnumForms(param->hPrinter, forms.Put(), &formCount)) formCount = 0;
    const auto userForm = [&](PCWSTR name) {
        const FORM_INFO_1W* f = FormNamed(forms.Get(), formCount, name);
        return f && f->Flags == FORM_USER;
    };
    for (DWORD i = 0; i < names.Count(); ++i) {
        PCWSTR name = names.Name(i);
        bool accepted = false;
        for (int j = 0; j < options && !accepted; ++j) {
            PCWSTR option = OptionName(form, j);
            const BYTE flags = OptionFlags(form, j);
            const bool offered = sources.bMarkedPapersListed ? (flags & OPTPF_HIDE) == 0 : !Unusable(flags);
            if (!option || !offered || wcscmp(option, name) != 0) continue;
            if (userForm(name)) {
                accepted = true;
                break;
            }
            PCWSTR keyword = sources.ppFormKeywords && j < sources.cFormKeywords ? sources.ppFormKeywords[j] : nullptr;
            accepted = !IsBannerKeyword(keyword) && !(keyword && wcsncmp(keyword, zqkw::kBorderlessPaperPrefix, 13) == 0);
        }
        if (!accepted || CZQCommon::BIsBorderlessFormName(name)) continue;
        // A printer that scales from large papers prints on the papers within its reach.
        if (fromLarge && caps && caps->pPaperSizes && i < caps->dwPaperCount &&
            (caps->pPaperSizes[i].x > widthLimit || caps->pPaperSizes[i].y > lengthLimit))
            continue;
        add(name);
    }
    return FALSE;
}

BOOL ZQGetCustomRangeForms(PageContext* pContext, HANDLE hPrinter, POEMCUIPPARAM pParam, PWSTR** ppNames, int* piCount) {
    if (!ppNames || !piCount) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppNames = nullptr;
    *piCount = 0;
    PageContext* paperContext = nullptr;
    ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    CZQXmlUiRules* rules = paperContext ? paperContext->pRules : nullptr;
    if (!rules) return FALSE;
    // The helper file's macros bring the custom-size limits up to date (thousandths of a millimetre,
    // as forms are measured).
    if (rules->Parser().BIsLoaded()) rules->BRunFeatureMacros(L"CustomSize", nullptr, pParam);
    const LONG* range = rules->CustomSizeLimits();
    const ZQCustomSizeLimits limits = {range[2], range[3], range[0], range[1]};
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!CZQCommon::BEnumForms(hPrinter, forms.Put(), &count)) return TRUE;
    CZQLocalPtr<PWSTR> list;
    if (!list.Alloc(count ? count : 1)) return FALSE;
    int kept = 0;
    for (DWORD i = 0; i < count; ++i) {
        const FORM_INFO_1W& f = forms[i];
        if (f.Flags != FORM_USER || f.Size.cx < limits.lMinWidth || f.Size.cx > limits.lMaxWidth ||
            f.Size.cy < limits.lMinLength || f.Size.cy > limits.lMaxLength || !f.pName)
            continue;
        auto* name = static_cast<PWSTR>(LocalAlloc(LPTR, 256 * sizeof(WCHAR)));
        if (!name) break;
        ZQCopyTextN(name, 256, f.pName, 255);
        list[static_cast<size_t>(kept++)] = name;
    }
    *ppNames = list.Release();
    *piCount = kept;
    return TRUE;
}

int ZQFindBorderlessTwinEntry(HWND hList, PageContext* pContext, POEMCUIPPARAM pParam) {
    using namespace zqpage;
    if (!hList) return -1;
    PageContext* paperContext = nullptr;
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    WCHAR shown[256] = {};
    if (paper && paperContext && paper->BGetPaperSizeDisplayName(paperContext, shown)) {
        const int count = static_cast<int>(SendMessageW(hList, CB_GETCOUNT, 0, 0));
        WCHAR text[256];
        for (int i = 0; i < count; ++i) {
            CZQLocalPtr<WCHAR> keyword;
            if (EntryText(hList, i, text) &&
                CZQCommon::DWOptionNameToKeyword(pParam, zqkw::kPaperSize, text, keyword.Put()) == ZQOPT_OK &&
                ZQEqualNoCase(keyword.Get(), shown))
                return i;
        }
    }
    const LRESULT letter = SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"LETTER"));
    return letter == CB_ERR ? -1 : static_cast<int>(letter);
}

void ZQApplyPSDocumentOptions(POEMCUIPPARAM pParam, CZQUILogic& logic, HWND hList, HANDLE hPrinter, int iResizeMode,
                              BOOL bFitAllowed) {
    ZQUIDevmode* work = logic.WorkDM();
    if (!work) return;
    int value = iResizeMode;
    if (value == 2 && work->dwScalePercent == 100) value = 0;
    if (!bFitAllowed && work->dwPrintDocOn) work->dwScaleToFit = 1;
    if (CZQCommon::DWSelectOptionByIndex(pParam, L"ZQPSDocumentOptions", value, OEMCUIP_DOCPROP) != ZQOPT_OK) return;
    if (value != 1) {
        CZQCommon::DWSelectOptionByIndex(pParam, kPSAutoScaling, 0, OEMCUIP_DOCPROP);
        return;
    }
    if (logic.IBindFeatureControl(0, kPSAutoScaling, hList, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply, FALSE, 0,
                                  nullptr) != 3 ||
        CZQCommon::DWSelectOptionByKeyword(pParam, kPSAutoScaling, kCustomPaperSize, OEMCUIP_DOCPROP) != ZQOPT_OK)
        return;
    // A user form printed on: its size goes with the job.
    WCHAR name[256];
    CZQLocalPtr<FORM_INFO_1W> form;
    if (zqpage::SelectedText(hList, name) && CZQCommon::BGetForm(hPrinter, name, form.Put())) {
        work->dwCustomDestWidth = static_cast<uint32_t>(form.Get()->Size.cx);
        work->dwCustomDestLength = static_cast<uint32_t>(form.Get()->Size.cy);
    }
}

WORD ZQDestPaperId(HWND hList, const CZQPaperNames& names, DWORD dwCount, int iIndex, const WORD* pIds) {
    if (!pIds) return 0;
    if (!names.Count()) return pIds[0];
    WCHAR text[256];
    if (!zqpage::EntryText(hList, iIndex, text)) return 0;
    const int position = names.IFind(text);
    return position >= 0 && static_cast<DWORD>(position) < dwCount ? pIds[position] : 0;
}

int ZQFindDestPaperIndex(HWND hList, const CZQPaperNames& names, DWORD dwCount, const WORD* pIds, WORD wPaperId) {
    if (!names.Count() || !pIds || !hList) return -1;
    DWORD position = 0;
    while (position < dwCount && pIds[position] != wPaperId) ++position;
    PCWSTR name = names.Name(position);
    if (!name[0]) return -1;
    const LRESULT index = SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

int ZQFitToPaperPercent(const PrinterCaps* pCaps, WORD wTarget, WORD wDocument) {
    constexpr int kFull = 100;
    LONG wd = 0, ld = 0, ws = 0, ls = 0;
    if (!pCaps || !CZQUIBase::BGetPaperDimensions(wTarget, &wd, &ld, pCaps) ||
        !CZQUIBase::BGetPaperDimensions(wDocument, &ws, &ls, pCaps) || ws <= 0 || ls <= 0)
        return kFull;
    const bool byLength = static_cast<long long>(wd) * ls > static_cast<long long>(ld) * ws;
    const float ratio = byLength ? static_cast<float>(ld) / static_cast<float>(ls) : static_cast<float>(wd) / static_cast<float>(ws);
    return static_cast<int>(ratio * 100.0f);
}

int ZQFitToDestPercent(HWND hList, const CZQPaperNames& names, const PrinterCaps* pCaps, WORD wDocument) {
    if (!pCaps) return 100;
    const int selected = static_cast<int>(SendMessageW(hList, CB_GETCURSEL, 0, 0));
    return ZQFitToPaperPercent(pCaps, ZQDestPaperId(hList, names, pCaps->dwPaperCount, selected, pCaps->pPaperIds),
                               wDocument);
}

int ZQScaleTargetIndex(HWND hList, const CZQPaperNames& names, const PrinterCaps* pCaps, WORD wPrintedOn,
                       WORD wDocument) {
    const DWORD n = pCaps ? pCaps->dwPaperCount : 0;
    const WORD* ids = pCaps ? pCaps->pPaperIds : nullptr;
    int index = ZQFindDestPaperIndex(hList, names, n, ids, wPrintedOn);
    if (index < 0) index = ZQFindDestPaperIndex(hList, names, n, ids, wDocument);
    return index < 0 ? 0 : index;
}

void ZQAddDestPaperForms(HWND hList, PWSTR* pForms, int iCount) {
    for (int i = 0; i < iCount; ++i) SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pForms[i]));
    CZQCommon::VFreeStringList(pForms, iCount);
}
