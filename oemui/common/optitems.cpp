// The option-item access layer: reading and setting features through the core driver's items.
//
// The core driver keeps its own record of each feature's option and answers DrvGetDriverSetting
// from it; it learns a new selection only through DrvUpdateUISetting. So every change of an
// item's selection is reported at once, and routines that look at the options by selecting them
// in turn put the first selection back (and report that too) before they return.
#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqitemanswers.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"

namespace {

// A setting longer than this is not an option keyword; the driver's answer is refused.
constexpr DWORD kMaxSettingBytes = 64 * 1024;
// Edit items hold their text in a buffer of this many characters.
constexpr size_t kEditTextChars = 256;

bool ValidBlock(POEMCUIPPARAM p) {
    return p && p->poemuiobj && p->poemuiobj->pOemUIProcs && p->poemuiobj->pOemUIProcs->DrvGetDriverSetting &&
           p->poemuiobj->pOemUIProcs->DrvUpdateUISetting;
}

const char* ItemKeyword(const OPTITEM& item) {
    const auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
    return ud ? ud->pKeyWordName : nullptr;
}

BYTE ItemType(const OPTITEM* item) { return item && item->pOptType ? item->pOptType->Type : TVOT_NONE; }

// Items whose Sel is a position in the option list.
bool IsIndexItem(const OPTITEM* item) {
    if (!item || !item->pOptType) return false;
    switch (item->pOptType->Type) {
        case TVOT_2STATES:
        case TVOT_3STATES:
        case TVOT_LISTBOX:
        case TVOT_COMBOBOX:
        case TVOT_CHKBOX:
#ifdef TVOT_NSTATES_EX
        case TVOT_NSTATES_EX:
#endif
            return item->pOptType->pOptParam != nullptr;
        default:
            return false;
    }
}

// Items whose Sel is a number within the limits of their second parameter.
bool IsNumericItem(const OPTITEM* item) {
    const BYTE t = ItemType(item);
    return (t == TVOT_UDARROW || t == TVOT_TRACKBAR || t == TVOT_SCROLLBAR) && item->pOptType->Count >= 2 &&
           item->pOptType->pOptParam;
}

// A check box is one parameter with two selections (0 clear, 1 checked).
int OptionCount(const OPTITEM* item) {
    if (!IsIndexItem(item)) return 0;
    return item->pOptType->Type == TVOT_CHKBOX ? 2 : item->pOptType->Count;
}

POPTPARAM OptionParam(const OPTITEM* item, LONG index) {
    if (!IsIndexItem(item) || item->pOptType->Type == TVOT_CHKBOX) return nullptr;
    if (index < 0 || index >= item->pOptType->Count) return nullptr;
    return &item->pOptType->pOptParam[index];
}

// The option's display name when it is a text (names given as resource ids are not).
PCWSTR OptionText(const OPTITEM* item, LONG index) {
    POPTPARAM param = OptionParam(item, index);
    if (!param || !param->pData || IS_INTRESOURCE(param->pData)) return nullptr;
    return param->pData;
}

DWORD SelectionOf(const OPTITEM* item) {
    return IsIndexItem(item) || IsNumericItem(item) ? static_cast<DWORD>(item->Sel) : 0;
}

// Tells the core driver about the item's state: the selected option's conflict mark is lifted for
// the call and set again afterwards.
void Tell(POEMCUIPPARAM p, POPTITEM item, DWORD previous, DWORD mode) {
    POPTPARAM selected = OptionParam(item, item->Sel);
    const bool marked = selected && (selected->Flags & OPTPF_OVERLAY_WARNING_ICON);
    if (marked) selected->Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
    CZQCommon::BReportItem(p, item, previous, mode);
    if (marked) selected->Flags |= OPTPF_OVERLAY_WARNING_ICON;
}

// Tells the core driver about the item's new state, marked changed.
void Report(POEMCUIPPARAM p, POPTITEM item, DWORD previous, DWORD mode) {
    item->Flags |= OPTIF_CHANGED;
    Tell(p, item, previous, mode);
}

void Select(POEMCUIPPARAM p, POPTITEM item, LONG index, DWORD mode) {
    if (item->Sel == index) return;
    const DWORD previous = static_cast<DWORD>(item->Sel);
    item->Sel = index;
    Report(p, item, previous, mode);
}

// The feature keyword in the core driver's code page; false when a character has no form there
// (such a keyword cannot name any of its features).
bool ToAnsiKeyword(PCWSTR pszFeature, CZQLocalPtr<char>& out) {
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pszFeature, -1, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault || !out.Alloc(static_cast<size_t>(n))) return false;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pszFeature, -1, out.Get(), n, nullptr, &usedDefault) > 0 &&
           !usedDefault;
}

DWORD FindByKeyword(POEMCUIPPARAM p, const char* keyword, POPTITEM* ppItem) {
    *ppItem = nullptr;
    if (!p->pDrvOptItems || p->cDrvOptItems == 0) return ZQOPT_BAD_ARGUMENT;
    for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
        OPTITEM& item = p->pDrvOptItems[i];
        const char* k = ItemKeyword(item);
        if (!k || !ZQEqualNoCaseA(k, keyword)) continue;
        if (!item.pOptType) return ZQOPT_BAD_ARGUMENT;
        *ppItem = &item;
        return ZQOPT_OK;
    }
    return ZQOPT_NOT_FOUND;
}

// Public id 0 stands for "no public id": then the occurrence counts the option items without one.
DWORD FindByPubId(POPTITEM items, DWORD count, BYTE id, int occurrence, POPTITEM* ppItem) {
    *ppItem = nullptr;
    if (!items || count == 0) return ZQOPT_BAD_ARGUMENT;
    int seen = 0;
    for (DWORD i = 0; i < count; ++i) {
        OPTITEM& item = items[i];
        if (item.DMPubID != id) continue;
        if (id == 0) {
            if (!item.pOptType) continue;  // headings are no features
            if (seen++ != occurrence) continue;
        }
        *ppItem = &item;
        return ZQOPT_OK;
    }
    return ZQOPT_NOT_FOUND;
}

// The driver's current setting of an ANSI feature keyword; the answer is terminated here, as the
// driver may leave it unterminated, and an answer that keeps growing is given up.
DWORD ReadSettingOfDriver(POEMCUIPPARAM p, const char* keyword, CZQLocalPtr<char>& value, size_t* pcb) {
    const PFN_DrvGetDriverSetting get = p->poemuiobj->pOemUIProcs->DrvGetDriverSetting;
    DWORD needed = 0, options = 0;
    SetLastError(ERROR_SUCCESS);
    if (get(p->poemuiobj, keyword, nullptr, 0, &needed, &options)) return ZQOPT_NOT_FOUND;  // no text at all
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0 || needed > kMaxSettingBytes)
            return ZQOPT_NOT_FOUND;
        // Two spare zero bytes: our own terminator even for a list of texts.
        *pcb = static_cast<size_t>(needed) + 2;
        if (!value.Alloc(*pcb)) return ZQOPT_NO_MEMORY;
        const DWORD size = needed;
        if (get(p->poemuiobj, keyword, value.Get(), size, &needed, &options)) return ZQOPT_OK;
    }
    return ZQOPT_NOT_FOUND;
}

using zqitems::CZQItemMemory;

// The setting as the core driver answers it, read once while an item pass lives and no item has
// been reported since.
DWORD ReadSetting(POEMCUIPPARAM p, const char* keyword, CZQLocalPtr<char>& value) {
    DWORD status = ZQOPT_NOT_FOUND;
    size_t cb = 0;
    if (CZQItemMemory::BFindSetting(p->poemuiobj, keyword, &status, value.Put(), &cb)) return status;
    status = ReadSettingOfDriver(p, keyword, value, &cb);
    if (status != ZQOPT_NO_MEMORY)
        CZQItemMemory::VKeepSetting(p->poemuiobj, keyword, status, status == ZQOPT_OK ? value.Get() : nullptr, cb);
    return status;
}

DWORD ReadOption(POEMCUIPPARAM p, const char* keyword, PWSTR* ppszOption) {
    *ppszOption = nullptr;
    CZQLocalPtr<char> value;
    const DWORD status = ReadSetting(p, keyword, value);
    if (status != ZQOPT_OK) return status;
    if (!value.Get()[0]) return ZQOPT_NOT_FOUND;
    if (!CZQCommon::BMultiByteToWide(ppszOption, value.Get(), CP_ACP)) return ZQOPT_NO_MEMORY;
    return ZQOPT_OK;
}

// An option's keyword the item memory keeps (walks learn them: each selection is a report to the
// core driver and each keyword a driver call), or null.
PCWSTR KnownKeywordOf(POEMCUIPPARAM p, const OPTITEM* item, LONG index) {
    DWORD status = ZQOPT_NOT_FOUND;
    PCWSTR keyword = nullptr;
    const CZQItemMemory* memory = CZQItemMemory::For(p);
    return memory && memory->BKnown(item, index, &status, &keyword) ? keyword : nullptr;
}

// Selects the item's options one by one, reading each keyword back, and calls visit(index,
// keyword or null when unreadable) until it answers true. Unless keepStop and visit stopped, the
// first selection and the item's changed mark come back afterwards. Answers the index visit
// stopped at, or -1.
template <typename Visit>
int WalkOptions(POEMCUIPPARAM p, POPTITEM item, const char* keyword, DWORD mode, bool keepStop, Visit visit) {
    const LONG firstSel = item->Sel;
    const DWORD firstChanged = item->Flags & OPTIF_CHANGED;
    const int count = OptionCount(item);
    int stoppedAt = -1;
    for (int i = 0; i < count && stoppedAt < 0; ++i) {
        Select(p, item, i, mode);
        PWSTR option = nullptr;
        const DWORD read = ReadOption(p, keyword, &option);
        if (CZQItemMemory* memory = CZQItemMemory::For(p)) memory->VLearn(item, i, read, option);
        if (visit(i, option)) stoppedAt = i;
    }
    if (stoppedAt < 0 || !keepStop) {
        Select(p, item, firstSel, mode);
        item->Flags = (item->Flags & ~OPTIF_CHANGED) | firstChanged;
    }
    return stoppedAt;
}

// Finds the feature's item for a routine that needs a readable, reportable block.
DWORD FindFeature(POEMCUIPPARAM p, PCWSTR pszFeature, CZQLocalPtr<char>& keyword, POPTITEM* ppItem) {
    *ppItem = nullptr;
    if (!ValidBlock(p) || !pszFeature) return ZQOPT_BAD_ARGUMENT;
    if (!ToAnsiKeyword(pszFeature, keyword)) return ZQOPT_CONVERSION;
    return FindByKeyword(p, keyword.Get(), ppItem);
}

PWSTR* AllocList(size_t count) { return static_cast<PWSTR*>(LocalAlloc(LPTR, (count ? count : 1) * sizeof(PWSTR))); }

PWSTR DecimalText(LONG value) {
    WCHAR text[16];
    ZQFormatText(text, 16, L"%ld", value);
    return ZQDupText(text);
}

DWORD SelectPub(POEMCUIPPARAM p, BYTE bPubId, int iOccurrence, LONG lSel) {
    if (!ValidBlock(p)) return ZQOPT_BAD_ARGUMENT;
    POPTITEM item = nullptr;
    const DWORD status = FindByPubId(p->pDrvOptItems, p->cDrvOptItems, bPubId, iOccurrence, &item);
    if (status != ZQOPT_OK) return status;
    if (IsNumericItem(item)) {
        // The copy count and other numbers: the item's own limits, not an option count.
        const OPTPARAM& limits = item->pOptType->pOptParam[1];
        const LONG low = static_cast<SHORT>(limits.IconID);
        const LONG high = static_cast<SHORT>(limits.lParam);
        if (lSel < low || lSel > high) return ZQOPT_BAD_ARGUMENT;
    } else if (!IsIndexItem(item) || lSel < 0 || lSel >= OptionCount(item)) {
        return ZQOPT_BAD_ARGUMENT;
    }
    Select(p, item, lSel, OEMCUIP_DOCPROP);
    return ZQOPT_OK;
}

DWORD HideItem(POEMCUIPPARAM p, POPTITEM item, DWORD mode) {
    if (item->Flags & OPTIF_HIDE) return ZQOPT_HIDDEN;
    item->Flags |= OPTIF_HIDE;
    Report(p, item, SelectionOf(item), mode);
    return ZQOPT_OK;
}

DWORD DisableItem(POPTITEM item) {
    if (item->Flags & OPTIF_DISABLED) return ZQOPT_DISABLED;
    item->Flags |= OPTIF_DISABLED | OPTIF_CHANGED;
    return ZQOPT_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Finding items
// ---------------------------------------------------------------------------------------------
BOOL CZQCommon::BReportItem(POEMCUIPPARAM pParam, POPTITEM pItem, DWORD dwPrevious, DWORD dwMode) {
    if (!pParam || !pParam->poemuiobj || !pParam->poemuiobj->pOemUIProcs ||
        !pParam->poemuiobj->pOemUIProcs->DrvUpdateUISetting) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const BOOL reported =
        pParam->poemuiobj->pOemUIProcs->DrvUpdateUISetting(pParam->poemuiobj, pItem, dwPrevious, dwMode);
    CZQItemMemory::VForgetSettings();
    return reported;
}

DWORD CZQCommon::DWFindOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature, POPTITEM* ppItem) {
    if (!ppItem) return ZQOPT_BAD_ARGUMENT;
    CZQLocalPtr<char> keyword;
    return FindFeature(pParam, pszFeature, keyword, ppItem);
}

DWORD CZQCommon::DWFindOptItemByPubId(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, POPTITEM* ppItem) {
    if (!ppItem) return ZQOPT_BAD_ARGUMENT;
    *ppItem = nullptr;
    if (!ValidBlock(pParam)) return ZQOPT_BAD_ARGUMENT;
    return FindByPubId(pParam->pDrvOptItems, pParam->cDrvOptItems, bPubId, iOccurrence, ppItem);
}

DWORD CZQCommon::DWFindOemOptItemByPubId(POEMCUIPPARAM pParam, BYTE bPubId, POPTITEM* ppItem) {
    if (!ppItem) return ZQOPT_BAD_ARGUMENT;
    *ppItem = nullptr;
    if (!ValidBlock(pParam)) return ZQOPT_BAD_ARGUMENT;
    POPTITEM items = pParam->pOEMOptItems;
    const DWORD count = pParam->cOEMOptItems;
    if (!items || count == 0) return ZQOPT_BAD_ARGUMENT;
    for (DWORD i = 0; i < count; ++i) {
        if (items[i].DMPubID != bPubId) continue;
        *ppItem = &items[i];
        return ZQOPT_OK;
    }
    return ZQOPT_NOT_FOUND;
}

// ---------------------------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------------------------
DWORD CZQCommon::DWGetFeatureOption(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR* ppszOption) {
    if (!ppszOption) return ZQOPT_BAD_ARGUMENT;
    *ppszOption = nullptr;
    if (!ValidBlock(pParam) || !pszFeature) return ZQOPT_BAD_ARGUMENT;
    CZQLocalPtr<char> keyword;
    if (!ToAnsiKeyword(pszFeature, keyword)) return ZQOPT_CONVERSION;
    return ReadOption(pParam, keyword.Get(), ppszOption);
}

DWORD CZQCommon::DWGetFeatureOptionIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int* piIndex) {
    if (!piIndex) return ZQOPT_BAD_ARGUMENT;
    *piIndex = -1;
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item)) return ZQOPT_BAD_ARGUMENT;
    *piIndex = static_cast<int>(item->Sel);
    return ZQOPT_OK;
}

DWORD CZQCommon::DWGetOptionKeywords(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR** ppList, int* piCount,
                                     DWORD dwMode) {
    if (!ppList || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppList = nullptr;
    *piCount = 0;
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status == ZQOPT_NOT_FOUND || (status == ZQOPT_OK && !IsIndexItem(item))) {
        // A feature without a list of options: its current option alone.
        PWSTR current = nullptr;
        const DWORD read = ReadOption(pParam, keyword.Get(), &current);
        if (read != ZQOPT_OK) return read == ZQOPT_NO_MEMORY ? ZQOPT_NO_MEMORY : ZQOPT_READ_FAILED;
        PWSTR* list = AllocList(1);
        if (!list) {
            LocalFree(current);
            return ZQOPT_NO_MEMORY;
        }
        list[0] = current;
        *ppList = list;
        *piCount = 1;
        return ZQOPT_OK;
    }
    if (status != ZQOPT_OK) return status;

    const int count = OptionCount(item);
    PWSTR* list = AllocList(static_cast<size_t>(count));
    if (!list) return ZQOPT_NO_MEMORY;
    // Every option's keyword known already: no walk.
    int known = 0;
    while (known < count) {
        PCWSTR k = KnownKeywordOf(pParam, item, known);
        if (!k || !(list[known] = ZQDupText(k))) break;
        ++known;
    }
    if (known == count) {
        *ppList = list;
        *piCount = count;
        return ZQOPT_OK;
    }
    for (int i = 0; i < known; ++i) {
        LocalFree(list[i]);
        list[i] = nullptr;
    }
    bool failed = false;
    WalkOptions(pParam, item, keyword.Get(), dwMode, false, [&](int i, PWSTR option) {
        list[i] = option;
        failed = option == nullptr;
        return failed;
    });
    if (failed) {
        VFreeStringList(list, count);
        return ZQOPT_READ_FAILED;
    }
    *ppList = list;
    *piCount = count;
    return ZQOPT_OK;
}

DWORD CZQCommon::DWGetOptionNames(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR** ppList, int* piCount) {
    if (!ppList || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppList = nullptr;
    *piCount = 0;
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item)) return ZQOPT_BAD_ARGUMENT;
    const int count = OptionCount(item);
    PWSTR* list = AllocList(static_cast<size_t>(count));
    if (!list) return ZQOPT_NO_MEMORY;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionText(item, i);
        if (!name) continue;
        if (!(list[n] = ZQDupText(name))) {
            VFreeStringList(list, n);
            return ZQOPT_NO_MEMORY;
        }
        ++n;
    }
    *ppList = list;
    *piCount = n;
    return ZQOPT_OK;
}

void CZQCommon::VForgetOptionKeywords() { CZQItemMemory::VForgetAll(); }

void CZQCommon::VFreeStringList(PWSTR* pList, int iCount) {
    if (!pList) return;
    for (int i = 0; i < iCount; ++i)
        if (pList[i]) LocalFree(pList[i]);
    LocalFree(pList);
}

int CZQCommon::IGetOptionCount(const OPTITEM* pItem) { return OptionCount(pItem); }

POPTPARAM CZQCommon::PGetOptionParam(const OPTITEM* pItem, LONG lIndex) { return OptionParam(pItem, lIndex); }

int CZQCommon::IGetOptionIndexByKeyword(POEMCUIPPARAM pParam, PCWSTR pszOption, PCWSTR pszFeature, POPTITEM pItem) {
    if (!ValidBlock(pParam) || !pszOption) return -1;
    CZQLocalPtr<char> keyword;
    POPTITEM item = pItem;
    if (!item && (!pszFeature || FindFeature(pParam, pszFeature, keyword, &item) != ZQOPT_OK)) return -1;
    if (!IsIndexItem(item)) return -1;
    // The item's own keyword names it to the driver when no feature is given.
    const char* name = keyword ? keyword.Get() : ItemKeyword(*item);
    if (!name) return -1;
    const CZQItemMemory* memory = CZQItemMemory::For(pParam);
    const LONG known = memory ? memory->LKnownIndex(item, pszOption) : -1;
    if (known >= 0) return static_cast<int>(known);
    const int found = WalkOptions(pParam, item, name, OEMCUIP_DOCPROP, false, [&](int, PWSTR option) {
        const bool match = option && ZQEqualNoCase(option, pszOption);
        if (option) LocalFree(option);
        return match;
    });
    return found >= 0 ? found : OptionCount(item);
}

DWORD CZQCommon::DWOptionKeywordToName(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszKeyword, PWSTR* ppszName) {
    if (!ppszName) return ZQOPT_BAD_ARGUMENT;
    *ppszName = nullptr;
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item) || !pszKeyword) return ZQOPT_BAD_ARGUMENT;
    // A keyword and a name belong together by their option's position, so an option named by a
    // resource id (the first source's "automatically select") shifts nothing.
    const int index = IGetOptionIndexByKeyword(pParam, pszKeyword, nullptr, item);
    PCWSTR name = index >= 0 ? OptionText(item, index) : nullptr;
    if (!name) return ZQOPT_NO_NAME;
    *ppszName = ZQDupText(name);
    return *ppszName ? ZQOPT_OK : ZQOPT_NO_MEMORY;
}

DWORD CZQCommon::DWOptionNameToKeyword(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszName, PWSTR* ppszKeyword) {
    if (!ppszKeyword) return ZQOPT_BAD_ARGUMENT;
    *ppszKeyword = nullptr;
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item) || !pszName) return ZQOPT_BAD_ARGUMENT;
    int index = -1;
    for (int i = 0; i < OptionCount(item) && index < 0; ++i)
        if (ZQEqualNoCase(OptionText(item, i), pszName)) index = i;
    if (index < 0) return ZQOPT_NO_NAME;
    PWSTR* list = nullptr;
    int count = 0;
    const DWORD listed = DWGetOptionKeywords(pParam, pszFeature, &list, &count, OEMCUIP_DOCPROP);
    if (listed != ZQOPT_OK) return listed;
    DWORD result = ZQOPT_BAD_ARGUMENT;  // fewer keywords than options
    if (index < count) {
        *ppszKeyword = ZQDupText(list[index]);
        result = *ppszKeyword ? ZQOPT_OK : ZQOPT_NO_MEMORY;
    }
    VFreeStringList(list, count);
    return result;
}

DWORD CZQCommon::DWGetPubSelectionName(POEMCUIPPARAM pParam, BYTE bPubId, PWSTR* ppszName) {
    if (!ppszName) return ZQOPT_BAD_ARGUMENT;
    *ppszName = nullptr;
    if (!ValidBlock(pParam)) return ZQOPT_BAD_ARGUMENT;
    POPTITEM item = nullptr;
    const DWORD status = FindByPubId(pParam->pDrvOptItems, pParam->cDrvOptItems, bPubId, 0, &item);
    if (status != ZQOPT_OK) return status;
    PCWSTR name = nullptr;
    size_t cchMax = 0;
    if (ItemType(item) == TVOT_EDITBOX) {
        // The item's own text, which fills its buffer without a terminator at full length.
        name = item->pSel;
        cchMax = kEditTextChars;
    } else {
        name = OptionText(item, item->Sel);
    }
    if (!name) return ZQOPT_NO_NAME;
    *ppszName = ZQDupText(name, cchMax);
    return *ppszName ? ZQOPT_OK : ZQOPT_NO_MEMORY;
}

// ---------------------------------------------------------------------------------------------
// Selecting
// ---------------------------------------------------------------------------------------------
DWORD CZQCommon::DWSelectOptionByIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int iIndex, DWORD dwMode) {
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item) || iIndex < 0 || iIndex >= OptionCount(item)) return ZQOPT_BAD_ARGUMENT;
    Select(pParam, item, iIndex, dwMode);
    return ZQOPT_OK;
}

DWORD CZQCommon::DWSelectOptionByKeyword(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszKeyword, DWORD dwMode) {
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    if (status != ZQOPT_OK) return status;
    if (!IsIndexItem(item) || !pszKeyword) return ZQOPT_BAD_ARGUMENT;
    // Already there: nothing to select, nothing to report.
    PWSTR current = nullptr;
    if (ReadOption(pParam, keyword.Get(), &current) == ZQOPT_OK) {
        const bool same = ZQEqualNoCase(current, pszKeyword);
        LocalFree(current);
        if (same) return ZQOPT_OK;
    }
    const CZQItemMemory* memory = CZQItemMemory::For(pParam);
    const LONG known = memory ? memory->LKnownIndex(item, pszKeyword) : -1;
    if (known >= 0) {
        Select(pParam, item, known, dwMode);
        return ZQOPT_OK;
    }
    const int found = WalkOptions(pParam, item, keyword.Get(), dwMode, true, [&](int, PWSTR option) {
        const bool match = option && ZQEqualNoCase(option, pszKeyword);
        if (option) LocalFree(option);
        return match;
    });
    return found >= 0 ? ZQOPT_OK : ZQOPT_NO_NAME;
}

DWORD CZQCommon::DWSelectOptionByName(POEMCUIPPARAM pParam, POPTITEM pItem, PCWSTR pszName, DWORD dwMode) {
    if (!ValidBlock(pParam) || !IsIndexItem(pItem) || !pszName) return ZQOPT_BAD_ARGUMENT;
    for (int i = 0; i < OptionCount(pItem); ++i) {
        PCWSTR name = OptionText(pItem, i);
        if (!name || lstrcmpW(name, pszName) != 0) continue;
        // Told even when already selected, and not marked changed.
        pItem->Sel = i;
        Tell(pParam, pItem, 0, dwMode);
        return ZQOPT_OK;
    }
    return ZQOPT_NO_NAME;
}

DWORD CZQCommon::DWSelectPubOption(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, LONG lSel) {
    return SelectPub(pParam, bPubId, iOccurrence, lSel);
}

DWORD CZQCommon::DWChangePubOption(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, LONG lSel) {
    // An unchanged selection is neither applied nor reported, so its conflict mark stays as it is.
    return SelectPub(pParam, bPubId, iOccurrence, lSel);
}

DWORD CZQCommon::DWHideOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature, DWORD dwMode) {
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    return status != ZQOPT_OK ? status : HideItem(pParam, item, dwMode);
}

DWORD CZQCommon::DWHidePubOptItem(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence) {
    POPTITEM item = nullptr;
    const DWORD status = DWFindOptItemByPubId(pParam, bPubId, iOccurrence, &item);
    return status != ZQOPT_OK ? status : HideItem(pParam, item, OEMCUIP_DOCPROP);
}

DWORD CZQCommon::DWDisableOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    CZQLocalPtr<char> keyword;
    POPTITEM item = nullptr;
    const DWORD status = FindFeature(pParam, pszFeature, keyword, &item);
    return status != ZQOPT_OK ? status : DisableItem(item);
}

DWORD CZQCommon::DWDisablePubOptItem(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence) {
    POPTITEM item = nullptr;
    const DWORD status = DWFindOptItemByPubId(pParam, bPubId, iOccurrence, &item);
    return status != ZQOPT_OK ? status : DisableItem(item);
}

// ---------------------------------------------------------------------------------------------
// Whole-sheet views
// ---------------------------------------------------------------------------------------------
BOOL CZQCommon::BHasConflictingSelection(POEMCUIPPARAM pParam) {
    if (!ValidBlock(pParam) || !pParam->pDrvOptItems) return FALSE;
    for (DWORD i = 0; i < pParam->cDrvOptItems; ++i) {
        const OPTITEM& item = pParam->pDrvOptItems[i];
        POPTPARAM selected = OptionParam(&item, item.Sel);
        if (selected && (selected->Flags & OPTPF_OVERLAY_WARNING_ICON)) return TRUE;
    }
    return FALSE;
}

DWORD CZQCommon::DWGetAllFeatureOptions(POEMCUIPPARAM pParam, PWSTR** ppKeywords, PWSTR** ppOptions, int* piCount) {
    if (!ppKeywords || !ppOptions || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppKeywords = *ppOptions = nullptr;
    *piCount = 0;
    const zqitems::Answer* answers = nullptr;
    int count = 0;
    const DWORD status = ZQListItemAnswers(pParam, &answers, &count);
    if (status != ZQOPT_OK) return status;
    PWSTR* keywords = AllocList(static_cast<size_t>(count));
    PWSTR* options = AllocList(static_cast<size_t>(count));
    bool ok = keywords && options;
    for (int i = 0; ok && i < count; ++i)
        ok = (keywords[i] = ZQDupText(answers[i].pszFeature)) != nullptr &&
             (options[i] = ZQDupText(answers[i].pszOption)) != nullptr;
    if (!ok) {
        if (keywords) VFreeStringList(keywords, count);
        if (options) VFreeStringList(options, count);
        return ZQOPT_NO_MEMORY;
    }
    *ppKeywords = keywords;
    *ppOptions = options;
    *piCount = count;
    return ZQOPT_OK;
}

DWORD CZQCommon::DWGetItemKeywords(POEMCUIPPARAM pParam, PWSTR** ppKeywords, int* piCount) {
    if (!ppKeywords || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppKeywords = nullptr;
    *piCount = 0;
    if (!pParam || !pParam->pDrvOptItems || pParam->cDrvOptItems == 0) return ZQOPT_BAD_ARGUMENT;
    PWSTR* keywords = AllocList(pParam->cDrvOptItems);
    if (!keywords) return ZQOPT_NO_MEMORY;
    int n = 0;
    for (DWORD i = 0; i < pParam->cDrvOptItems; ++i) {
        const char* keyword = ItemKeyword(pParam->pDrvOptItems[i]);
        if (!keyword) continue;
        if (!BMultiByteToWide(&keywords[n], keyword, CP_ACP)) {
            VFreeStringList(keywords, n);
            return ZQOPT_NO_MEMORY;
        }
        ++n;
    }
    *ppKeywords = keywords;
    *piCount = n;
    return ZQOPT_OK;
}

DWORD CZQCommon::DWGetStandardItemValues(POEMCUIPPARAM pParam, PWSTR** ppNames, PWSTR** ppValues, int* piCount) {
    if (!ppNames || !ppValues || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppNames = *ppValues = nullptr;
    *piCount = 0;
    if (!ValidBlock(pParam)) return ZQOPT_BAD_ARGUMENT;
    PWSTR* names = AllocList(3);
    PWSTR* values = AllocList(3);
    if (!names || !values) {
        if (names) LocalFree(names);
        if (values) LocalFree(values);
        return ZQOPT_NO_MEMORY;
    }
    int n = 0;
    bool ok = true;
    auto add = [&](PCWSTR name, PWSTR value) {
        names[n] = ZQDupText(name);
        values[n] = value;
        ok = ok && names[n] && values[n];
        ++n;
    };
    POPTITEM item = nullptr;
    if (FindByPubId(pParam->pDrvOptItems, pParam->cDrvOptItems, DMPUB_COPIES_COLLATE, 0, &item) == ZQOPT_OK)
        add(zqkw::kCopiesItem, DecimalText(item->Sel));
    if (DWFindOemOptItemByPubId(pParam, 104, &item) == ZQOPT_OK) add(zqkw::kPageOrderItem, DecimalText(item->Sel));
    if (FindByPubId(pParam->pDrvOptItems, pParam->cDrvOptItems, DMPUB_DUPLEX, 0, &item) != ZQOPT_OK)
        add(zqkw::kDuplexItem, ZQDupText(L"NONE"));
    if (!ok) {
        VFreeStringList(names, n);
        VFreeStringList(values, n);
        return ZQOPT_NO_MEMORY;
    }
    *ppNames = names;
    *ppValues = values;
    *piCount = n;
    return ZQOPT_OK;
}

// ---------------------------------------------------------------------------------------------
// The current option of every item
// ---------------------------------------------------------------------------------------------
DWORD ZQListItemAnswers(POEMCUIPPARAM pParam, const zqitems::Answer** ppAnswers, int* piCount) {
    if (!ppAnswers || !piCount) return ZQOPT_BAD_ARGUMENT;
    *ppAnswers = nullptr;
    *piCount = 0;
    if (!ValidBlock(pParam) || !pParam->pDrvOptItems || pParam->cDrvOptItems == 0) return ZQOPT_BAD_ARGUMENT;
    CZQItemMemory* kept = CZQItemMemory::For(pParam);
    if (!kept) return ZQOPT_NO_MEMORY;
    CZQItemMemory& memory = *kept;
    std::vector<zqitems::Answer>& listing = memory.Listing();
    listing.clear();
    for (DWORD i = 0; i < pParam->cDrvOptItems; ++i) {
        const OPTITEM& item = pParam->pDrvOptItems[i];
        const char* keyword = ItemKeyword(item);
        if (!keyword) continue;
        // A list item's answer for its selection is kept; numbers and texts are asked each time.
        DWORD status = ZQOPT_NOT_FOUND;
        PCWSTR option = nullptr;
        if (!IsIndexItem(&item) || !memory.BKnown(&item, item.Sel, &status, &option)) {
            CZQLocalPtr<WCHAR> read;
            status = ReadOption(pParam, keyword, read.Put());
            if (status != ZQOPT_OK && status != ZQOPT_NOT_FOUND) return ZQOPT_NO_MEMORY;
            if (IsIndexItem(&item)) memory.VLearn(&item, item.Sel, status, read.Get());
            if (!memory.BKnown(&item, item.Sel, &status, &option)) {
                // Not a list item: its text lives in the listing's own slot.
                memory.VLearnValue(&item, status, read.Get());
                memory.BKnownValue(&item, &status, &option);
            }
        }
        // A feature without a value has nothing to list.
        if (status != ZQOPT_OK) continue;
        PCWSTR feature = memory.PszFeature(&item, keyword);
        if (!feature) return ZQOPT_NO_MEMORY;
        listing.push_back({feature, option});
    }
    *ppAnswers = listing.data();
    *piCount = static_cast<int>(listing.size());
    return ZQOPT_OK;
}
