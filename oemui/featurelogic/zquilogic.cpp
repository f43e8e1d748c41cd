// CZQUILogic: binding, per-sheet state, the feature reads every rule shares, and the printer-class
// predicates.
#include "featurelogic/zquilogic.h"

#include <shlwapi.h>

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "xmlrules/zqxmluirules.h"

namespace {

void SystemOsVersion(DWORD* pdwMajor, DWORD* pdwMinor) {
    // GetVersionEx answers what the manifest allows; the kernel's own record is the truth.
    using PFN_RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtl = ntdll ? reinterpret_cast<PFN_RtlGetVersion>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                     : nullptr;
    if (!rtl || rtl(&info) != 0) {
        *pdwMajor = *pdwMinor = 0;
        return;
    }
    *pdwMajor = info.dwMajorVersion;
    *pdwMinor = info.dwMinorVersion;
}

CZQUILogic::PFN_OsVersion g_pfnOsVersion = &SystemOsVersion;

}  // namespace

CZQUILogic::CZQUILogic() {
    m_pDevmode = &m_workDM;
    VResetSheetState();
}

CZQUILogic::CZQUILogic(CZQXmlUiRules* pRules) : CZQUILogic() { m_pRules = pRules; }

CZQUILogic::~CZQUILogic() = default;

// ---------------------------------------------------------------------------------------------
// Binding
// ---------------------------------------------------------------------------------------------
void CZQUILogic::VSetParam(POEMCUIPPARAM pParam, DWORD dwMode) {
    m_pCUIParam = pParam;
    m_dwMode = dwMode;
    m_pPublicDM = pParam ? pParam->pPublicDM : nullptr;
}

BOOL CZQUILogic::BTakeWorkingCopy(const void* pPrivateDM) {
    const ZQUIDevmode* in = zqdm::CurrentBlock(pPrivateDM);
    if (!in) return FALSE;
    memcpy(&m_workDM, in, sizeof m_workDM);
    m_pDevmode = &m_workDM;
    m_dwPdl = m_workDM.dwPdl;
    return TRUE;
}

CZQXmlUiRules* CZQUILogic::PLoadedRules(CZQXmlUiRules* pRules) const {
    CZQXmlUiRules* rules = pRules ? pRules : m_pRules;
    return rules && rules->Parser().BIsLoaded() ? rules : nullptr;
}

BOOL CZQUILogic::BRunFeatureMacros(PCWSTR pszFeature, CZQXmlUiRules* pRules) {
    CZQXmlUiRules* rules = PLoadedRules(pRules);
    WCHAR option[256];
    if (!rules || !m_pCUIParam || !BReadOption(pszFeature, option)) return FALSE;
    return rules->BRunFeatureMacros(pszFeature, option, m_pCUIParam);
}

// ---------------------------------------------------------------------------------------------
// Per-sheet state
// ---------------------------------------------------------------------------------------------
void CZQUILogic::VResetSheetState() { ZQResetSheetState(&m_sheet); }

int CZQUILogic::IGetPageIndex(const void*, int iPageId) const {
    if (iPageId <= kPageNone || iPageId >= kPageIdCount) return -1;
    return m_sheet.aiPagePosition[iPageId];
}

BOOL CZQUILogic::BAppendVersionToTitle(HWND hPage) {
    HWND sheet = hPage ? GetParent(hPage) : nullptr;
    WCHAR version[256];
    if (!sheet || !BReadOption(L"ZQVersionString", version) || !version[0]) return FALSE;
    WCHAR title[512] = {};
    GetWindowTextW(sheet, title, 512);
    WCHAR text[512];
    if (ZQFormatText(text, 512, L"%ls %ls", title, version) != S_OK) return FALSE;
    return SetWindowTextW(sheet, text);
}

// ---------------------------------------------------------------------------------------------
// Feature reads
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BReadOption(PCWSTR pszFeature, PWSTR pszOption) const {
    CZQLocalPtr<WCHAR> option;
    if (DWGetFeatureOption(m_pCUIParam, pszFeature, option.Put()) != ZQOPT_OK) return FALSE;
    ZQCopyText(pszOption, 256, option.Get());
    return TRUE;
}

BOOL CZQUILogic::BCanRead(PCWSTR pszFeature) const {
    CZQLocalPtr<WCHAR> option;
    return DWGetFeatureOption(m_pCUIParam, pszFeature, option.Put()) == ZQOPT_OK;
}

BOOL CZQUILogic::BOptionIs(PCWSTR pszFeature, PCWSTR pszOption) const {
    CZQLocalPtr<WCHAR> option;
    return DWGetFeatureOption(m_pCUIParam, pszFeature, option.Put()) == ZQOPT_OK &&
           ZQEqualNoCase(option.Get(), pszOption);
}

BOOL CZQUILogic::BInstalledOrTrue(PCWSTR pszFeature) const {
    CZQLocalPtr<WCHAR> option;
    return DWGetFeatureOption(m_pCUIParam, pszFeature, option.Put()) == ZQOPT_OK &&
           (ZQEqualNoCase(option.Get(), L"INSTALLED") || ZQEqualNoCase(option.Get(), L"TRUE"));
}

BOOL CZQUILogic::BHasItem(PCWSTR pszFeature) const {
    POPTITEM item = nullptr;
    return DWFindOptItem(m_pCUIParam, pszFeature, &item) == ZQOPT_OK;
}

BOOL CZQUILogic::BIsPostScript() const { return m_pDevmode && m_pDevmode->dwPdl == kPdlPostScript; }

DWORD CZQUILogic::DWSelect(PCWSTR pszFeature, int iIndex) {
    return DWSelectOptionByIndex(m_pCUIParam, pszFeature, iIndex, DWSelectMode());
}

// ---------------------------------------------------------------------------------------------
// A. Printer class and interface mode
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BIsLargeFormat(POEMCUIPPARAM pParam) {
    if (!pParam || !pParam->pDrvOptItems || !pParam->cDrvOptItems) return FALSE;
    CZQLocalPtr<WCHAR> option;
    return DWGetFeatureOption(pParam, L"ZQPrinterClass", option.Put()) == ZQOPT_OK &&
           ZQEqualNoCase(option.Get(), L"ZQKorrix");
}

BOOL CZQUILogic::BIsSimplifiedLargeFormat(const void* pPrivateDM) const {
    const ZQUIDevmode* dm = zqdm::CurrentBlock(pPrivateDM);
    if (!dm) dm = m_pDevmode;
    return BCanRead(zqkw::kZQSimplifiedUI) && BIsLargeFormat() && (!dm || dm->dwPdl != kPdlPostScript);
}

BOOL CZQUILogic::BMediaTypeTreeviewPopup() const { return BInstalledOrTrue(L"ZQMediaTypeTreeviewPopup"); }

BOOL CZQUILogic::BPaperSizeTreeviewPopup() const {
    return BCanRead(zqkw::kZQPaperSizeTreeviewPopup) || BHasLqjPaperSizeTreeview();
}

BOOL CZQUILogic::BHasLqjPaperSizeTreeview() const { return BCanRead(L"ZQLQJPaperSizeTreeview"); }

int CZQUILogic::IGetLqjPaperTreeview(int* piFirst, int* piSecond) const {
    if (!piFirst || !piSecond) return ZQOPT_BAD_ARGUMENT;
    WCHAR option[256];
    if (!BReadOption(L"ZQLQJPaperSizeTreeview", option)) return ZQOPT_NOT_FOUND;
    int numbers[2] = {};
    int found = 0;
    for (PCWSTR p = option; *p && found < 2;) {
        if (*p < L'0' || *p > L'9') {
            ++p;
            continue;
        }
        long value = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p)
            if (value < 100000) value = value * 10 + (*p - L'0');
        numbers[found++] = static_cast<int>(value);
    }
    if (found < 2) return ZQOPT_BAD_ARGUMENT;
    *piFirst = numbers[0];
    *piSecond = numbers[1];
    return ZQOPT_OK;
}

DWORD CZQUILogic::DWGetLqjPaperTreeviewMode() const {
    int first = 0, second = 0;
    if (!BIsLargeFormat() || IGetLqjPaperTreeview(&first, &second) != ZQOPT_OK) return 3;
    return static_cast<DWORD>(second);
}

int CZQUILogic::IGetLqjMediaTreeviewCount() const {
    if (!BIsLargeFormat()) return 3;
    WCHAR option[256];
    if (!BReadOption(zqkw::kZQLQJMediaTypeTreeviewCount, option)) return 0;
    return static_cast<int>(wcstol(option, nullptr, 10));
}

BOOL CZQUILogic::BHasPageExceptions() const { return BHasItem(zqkw::kZQPageExceptions); }
BOOL CZQUILogic::BHasPageExceptionsLowEnd() const { return BCanRead(L"ZQPageExceptionsLowEnd"); }
BOOL CZQUILogic::BDiffFirstPageAllowed() const { return !BInstalledOrTrue(L"ZQNUseDiffFirstPageChoice"); }
BOOL CZQUILogic::BBookletAllowed() const { return !BInstalledOrTrue(L"ZQNBooklet"); }
BOOL CZQUILogic::BWatermarksAllowed() const { return !BInstalledOrTrue(L"ZQNWatermark"); }

BOOL CZQUILogic::BHasSeveralPaperSources() const {
    POPTITEM item = nullptr;
    return DWFindOptItemByPubId(m_pCUIParam, DMPUB_DEFSOURCE, 0, &item) == ZQOPT_OK && item->pOptType &&
           item->pOptType->Count > 2;
}

BOOL CZQUILogic::BHasRotate180() const { return BCanRead(zqkw::kZQOrientRotate180); }
BOOL CZQUILogic::BHasTransverse() const { return BCanRead(zqkw::kZQTransverse); }
BOOL CZQUILogic::BHasMirrorPrint() const { return m_pDevmode && BCanRead(zqkw::kZQMirrorPrint); }
BOOL CZQUILogic::BIsChromixSupported() const { return BHasItem(zqkw::kZQChromix); }

BOOL CZQUILogic::BHasGrayscaleChoice() const {
    const PCWSTR feature = BIsPostScript() ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
    POPTITEM item = nullptr;
    if (DWFindOptItem(m_pCUIParam, feature, &item) != ZQOPT_OK || !item->pOptType) return FALSE;
    const int wanted = BIsPostScript() ? 3 : 2;
    if (item->pOptType->Count != wanted) return FALSE;
    PWSTR* list = nullptr;
    int count = 0;
    if (DWGetOptionKeywords(m_pCUIParam, feature, &list, &count, DWSelectMode()) != ZQOPT_OK) return FALSE;
    const BOOL plain = count >= 2 && list[0] && list[1] && ZQEqualNoCase(list[0], L"FALSE") &&
                       ZQEqualNoCase(list[1], L"TRUE");
    VFreeStringList(list, count);
    return plain;
}

BOOL CZQUILogic::BScaleFromLargePaper() const { return BInstalledOrTrue(zqkw::kScaleFromLargePaper); }

int CZQUILogic::IGetOsVersionClass() {
    DWORD major = 0, minor = 0;
    g_pfnOsVersion(&major, &minor);
    if (major == 5 && minor == 0) return 1;
    if (major == 5) return 2;
    if (major >= 6) return 3;
    return 0;
}

CZQUILogic::PFN_OsVersion CZQUILogic::SetOsVersionSource(PFN_OsVersion pfn) {
    PFN_OsVersion previous = g_pfnOsVersion;
    g_pfnOsVersion = pfn ? pfn : &SystemOsVersion;
    return previous == &SystemOsVersion ? nullptr : previous;
}

int CZQUILogic::IGetPsItemPosition(const PrinterCaps*) const {
    // The PostScript driver's mirror item has no public id; it is found by its keyword (the maker's
    // own "ZQ" features are not the driver's), and the position it has on the driver's usual
    // layout stands when no keyword names it, but only for an item that names no feature of its
    // own: a driver without a mirror item has none, and its box must not set another feature.
    constexpr int kUsualPosition = 5;
    const POEMCUIPPARAM p = m_pCUIParam;
    if (!p || !p->pDrvOptItems) return kUsualPosition;
    int occurrence = 0;
    bool usualNamed = false;
    for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
        const OPTITEM& item = p->pDrvOptItems[i];
        if (item.DMPubID != 0 || !item.pOptType) continue;
        const auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
        const bool named = ud && ud->pKeyWordName && ud->pKeyWordName[0];
        if (named && StrCmpNIA(ud->pKeyWordName, "ZQ", 2) != 0 && StrStrIA(ud->pKeyWordName, "Mirror"))
            return occurrence;
        if (occurrence == kUsualPosition) usualNamed = named;
        ++occurrence;
    }
    return usualNamed ? -1 : kUsualPosition;
}

// ---------------------------------------------------------------------------------------------
// Values the devmodes take after a change
// ---------------------------------------------------------------------------------------------
void CZQUILogic::VUpdateRawSpoolingFlag() {
    CZQLocalPtr<PRINTER_INFO_2W> info;
    m_bRawSpooling = m_pCUIParam && m_pCUIParam->hPrinter &&
                     BGetPrinterInfo2(m_pCUIParam->hPrinter, nullptr, nullptr, info.Put()) &&
                     BIsRawDatatype(info.Get()->pDatatype);
    for (ZQUIDevmode* dm : {m_pDevmode, m_pCUIParam ? zqdm::CurrentBlock(m_pCUIParam->pOEMDM) : nullptr})
        if (dm) dm->dwRawSpooling = m_bRawSpooling ? 1 : 0;
}

BOOL CZQUILogic::BReadManualFeedOrientation() {
    int index = -1;
    if (!m_pCUIParam || DWGetFeatureOptionIndex(m_pCUIParam, L"ManualFeedOrientation", &index) != ZQOPT_OK ||
        index < 0 || index >= 0xFFFF)
        return FALSE;
    for (ZQUIDevmode* dm : {m_pDevmode, zqdm::CurrentBlock(m_pCUIParam->pOEMDM)})
        if (dm) dm->wManualFeedOrientation = static_cast<uint16_t>(index + 1);
    return TRUE;
}
