// The watermark the Watermark Details dialog shows: the current entry chosen, the list as the
// dialog opens on it, the working copy between the current entry and the settings, the sample
// page's watermark and the check of the result.
#include <cwchar>

#include "common/zqstrings.h"
#include "featurelogic/zqwatermarks.h"
#include "formats/zquidevmode.h"

namespace {

constexpr DWORD kNewWatermarkSize = 80;

// What a new watermark takes when it copies no other.
constexpr DWORD kDefaultShade = 1;

// A watermark's look (font, angle and its mode, size, shade, style, colour) between an entry and the
// working copy, which name their fields alike.
template <class To, class From>
void CopyLook(To& to, const From& from) {
    ZQCopyText(to.szFont, 256, from.szFont);
    to.dwAngle = from.dwAngle;
    to.dwAngleMode = from.dwAngleMode;
    to.dwSize = from.dwSize;
    to.dwShade = from.dwShade;
    to.dwStyle = from.dwStyle;
    to.dwColor = from.dwColor;
}

}  // namespace

BOOL CZQWatermarks::BAllocEditRecord() {
    if (!m_pEdit) m_pEdit = static_cast<WatermarkEditRecord*>(LocalAlloc(LPTR, sizeof(WatermarkEditRecord)));
    return m_pEdit != nullptr;
}

void CZQWatermarks::VFreeDialogResources() {
    if (m_pEdit) LocalFree(m_pEdit);
    m_pEdit = nullptr;
    m_pCurrent = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The current entry and the list the dialog shows
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VChooseCurrent(PCWSTR pszName) {
    m_pCurrent = PFindByName(pszName);
    if (!m_pCurrent) m_pCurrent = PFindByName(NoneName());
}

void CZQWatermarks::VPrepareForDialog() {
    VEnsureNoneEntry();
    for (WatermarkEntry* e = m_main.pHead; e;) {
        WatermarkEntry* next = e->pNext;
        if (!e->szName[0]) VRemoveEntry(e);
        e = next;
    }
}

std::vector<std::wstring> CZQWatermarks::ListedNames() const {
    std::vector<std::wstring> names;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (!e->szName[0] || (e->dwFlags & kWatermarkHidden)) continue;
        bool listed = false;
        for (const std::wstring& name : names) listed = listed || name == e->szName;
        if (!listed) names.emplace_back(e->szName);
    }
    return names;
}

BOOL CZQWatermarks::BRemoveSecondNone() {
    WatermarkEntry* first = PFindByName(NoneName());
    for (WatermarkEntry* e = first ? first->pNext : nullptr; e; e = e->pNext) {
        if (wcscmp(e->szName, NoneName()) != 0) continue;
        if (m_pCurrent == e) m_pCurrent = first;
        VRemoveEntry(e);
        return TRUE;
    }
    return FALSE;
}

BOOL CZQWatermarks::BDeletable(PCWSTR pszSelected) {
    const bool noneSelected = !pszSelected || wcscmp(pszSelected, NoneName()) == 0;
    const WatermarkEntry* entry = m_pCurrent;
    return !noneSelected && entry && wcscmp(entry->szName, NoneName()) != 0 && !(entry->dwFlags & kWatermarkReadOnly);
}

// ---------------------------------------------------------------------------------------------
// The working copy
// ---------------------------------------------------------------------------------------------
BOOL CZQWatermarks::BLoadCurrent() {
    WatermarkEditRecord* edit = m_pEdit;
    const WatermarkEntry* entry = m_pCurrent;
    if (!edit || !entry) return FALSE;
    ZQCopyText(edit->szName, 256, entry->szName);
    ZQCopyText(edit->szText, 256, entry->szText);
    edit->dwTextLength = static_cast<DWORD>(wcslen(edit->szText));
    CopyLook(*edit, *entry);
    return TRUE;
}

void CZQWatermarks::VStoreLookInCurrent() {
    if (m_pEdit && m_pCurrent) CopyLook(*m_pCurrent, *m_pEdit);
}

void CZQWatermarks::VInitNewEntry(WatermarkEntry* pEntry, PCWSTR pszName, PCWSTR pszText, const WatermarkEntry* pFrom) {
    if (!pEntry) return;
    ZQCopyText(pEntry->szName, 256, pszName);
    ZQCopyText(pEntry->szText, 256, pszText);
    if (pFrom) {
        CopyLook(*pEntry, *pFrom);
        return;
    }
    WCHAR font[256] = {};
    BGetLanguageFontName(font);
    ZQCopyText(pEntry->szFont, 256, font);
    pEntry->dwAngle = static_cast<DWORD>(m_iDiagonalAngle);
    pEntry->dwSize = kNewWatermarkSize;
    pEntry->dwAngleMode = 0;
    pEntry->dwShade = kDefaultShade;
    pEntry->dwStyle = 0;
    pEntry->dwColor = 0;
}

// ---------------------------------------------------------------------------------------------
// The result
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VApplyToSettings(ZQUIDevmode* pSettings) {
    const WatermarkEditRecord* edit = m_pEdit;
    if (!pSettings || !edit) return;
    if (edit->szText[0]) {
        ZQCopyText(pSettings->szWmName, 256, edit->szName);
        ZQCopyText(pSettings->szWmText, 256, edit->szText);
    } else if (m_pCurrent) {
        ZQCopyText(pSettings->szWmName, 256, m_pCurrent->szName);
        ZQCopyText(pSettings->szWmText, 256, m_pCurrent->szName);
    }
    ZQCopyText(pSettings->szWmFont, 256, edit->szFont);
    pSettings->dwWmAngle = edit->dwAngle;
    pSettings->dwWmSize = edit->dwSize;
    pSettings->dwWmAngleMode = edit->dwAngleMode;
    pSettings->dwWmShade = edit->dwShade;
    pSettings->dwWmStyle = edit->dwStyle;
    pSettings->dwWmColorIndex = edit->dwColor;
}

void CZQWatermarks::VFillPreviewSettings(ZQPreviewWatermark* pWatermark, int* piNoWatermark) {
    const WatermarkEditRecord* edit = m_pEdit;
    if (!pWatermark || !edit) return;
    ZQCopyText(pWatermark->szText, sizeof pWatermark->szText / sizeof(WCHAR), edit->szText);
    ZQCopyText(pWatermark->szFont, sizeof pWatermark->szFont / sizeof(WCHAR), edit->szFont);
    pWatermark->iShade = static_cast<int>(edit->dwShade);
    pWatermark->iColor = static_cast<int>(edit->dwColor);
    pWatermark->iStyle = static_cast<int>(edit->dwStyle);
    pWatermark->iSize = static_cast<int>(edit->dwSize);
    // The angle as the working copy holds it, diagonal or not.
    pWatermark->iAngle = static_cast<int>(edit->dwAngle);
    pWatermark->iTextLength = static_cast<int>(edit->dwTextLength);
    if (piNoWatermark) *piNoWatermark = wcscmp(edit->szText, NoneName()) == 0 ? 1 : 0;
}

void CZQWatermarks::VCheckChanged(DWORD dwShownAngleMode) {
    const ZQUIDevmode* dm = m_pCUIParam ? zqdm::CurrentBlock(m_pCUIParam->pOEMDM) : nullptr;
    const WatermarkEditRecord* edit = m_pEdit;
    if (!dm || !edit) return;
    auto differs = [](PCWSTR pszEdit, const zqwchar* pszStored) {
        WCHAR stored[zqwm::kTextChars];
        ZQCopyTextN(stored, zqwm::kTextChars, pszStored, zqwm::kTextChars - 1);
        return wcscmp(pszEdit, stored) != 0;
    };
    if (differs(edit->szName, dm->szWmName) || differs(edit->szFont, dm->szWmFont) ||
        edit->dwColor != dm->dwWmColorIndex || edit->dwShade != dm->dwWmShade || edit->dwSize != dm->dwWmSize ||
        edit->dwStyle != dm->dwWmStyle || edit->dwAngle != dm->dwWmAngle || dwShownAngleMode != dm->dwWmAngleMode)
        m_bChanged = TRUE;
}
