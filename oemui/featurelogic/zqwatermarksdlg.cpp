// The watermark manager's side of the Watermark Details dialog: the dialog's controls, texts, help
// and lists, the name list over the main list, and the working copy between the current entry, the
// controls and the settings.
#include <cwchar>

#include "common/zqstorenames.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "featurelogic/zqwatermarks.h"
#include "formats/zquidevmode.h"
#include "res/zqwatermarkids.h"

namespace {

constexpr int kControlIds[] = {
    IDC_LST_WM_NAMES,   IDC_BTN_NEW,        IDC_BTN_DEL,          IDC_TXT_WM_MSG,     IDC_RB_DIAG,
    IDC_RB_HORZ,        IDC_RB_ANG,         IDC_TXT_ANG,          IDC_SPIN_BTN_ANGLE, IDC_BTN_PREVIEW_PORT,
    IDC_BTN_PREVIEW_LAND, IDC_CBO_FONT_NAME, IDC_CBOEX_FONT_CLR,  IDC_CBO_FONT_SHADE, IDC_TXT_FONT_SIZE,
    IDC_SPIN_BTN_SIZE,  IDC_CBO_FONT_STYLE, IDC_GB_CURLIST,       IDC_GB_WM_MSG,      IDC_GB_MSG_ANG,
    IDC_GB_FONT_ATTRIB, IDC_STA_FONT_NAME,  IDC_STA_FONT_COLOR,   IDC_STA_FONT_SHADE, IDC_STA_FONT_SIZE,
    IDC_STA_FONT_STYLE, IDOK,               IDCANCEL};

struct TextRow {
    int control;
    INT idText;
    PCWSTR pszEnglish;
};
const TextRow kTexts[] = {
    {IDC_GB_CURLIST, 852, L"Current Watermarks"}, {IDC_BTN_NEW, 853, L"&New"},
    {IDC_BTN_DEL, 854, L"&Delete"},               {IDC_GB_WM_MSG, 855, L"Watermark Message"},
    {IDC_GB_MSG_ANG, 856, L"Message Angle"},      {IDC_RB_DIAG, 857, L"Dia&gonal"},
    {IDC_RB_HORZ, 858, L"&Horizontal"},           {IDC_RB_ANG, 859, L"&Angle"},
    {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},    {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
    {IDC_GB_FONT_ATTRIB, 860, L"Font Attributes"}, {IDC_STA_FONT_NAME, 861, L"Name:"},
    {IDC_STA_FONT_COLOR, 862, L"Color:"},         {IDC_STA_FONT_SHADE, 863, L"Shading:"},
    {IDC_STA_FONT_SIZE, 864, L"Size:"},           {IDC_STA_FONT_STYLE, 865, L"Style:"},
    {IDOK, 849, L"OK"},                           {IDCANCEL, 850, L"Cancel"},
};

// Help topics; a control the configuration manager locked gets the lock's topic instead.
struct HelpTopic {
    int control;
    DWORD topic;
    PCWSTR lock;
};
const HelpTopic kHelp[] = {
    {IDC_LST_WM_NAMES, 14017, nullptr},      {IDC_BTN_NEW, 14094, nullptr},
    {IDC_BTN_DEL, 15296, nullptr},           {IDC_TXT_WM_MSG, 15055, L"WMText"},
    {IDC_RB_DIAG, 14018, nullptr},           {IDC_RB_HORZ, 14037, nullptr},
    {IDC_RB_ANG, 14004, nullptr},            {IDC_TXT_ANG, 14073, nullptr},
    {IDC_SPIN_BTN_ANGLE, 14073, nullptr},    {IDC_BTN_PREVIEW_PORT, 14060, nullptr},
    {IDC_BTN_PREVIEW_LAND, 14060, nullptr},  {IDC_CBO_FONT_NAME, 14093, zqkw::kWMFont},
    {IDC_CBOEX_FONT_CLR, 14092, L"WMColor"}, {IDC_CBO_FONT_SHADE, 14095, L"WMShadeLevel"},
    {IDC_TXT_FONT_SIZE, 14097, L"WMFontSize"}, {IDC_SPIN_BTN_SIZE, 14097, L"WMFontSize"},
    {IDC_CBO_FONT_STYLE, 14098, L"WMFontStyle"},
};
static_assert(sizeof kHelp / sizeof kHelp[0] == CZQWatermarks::kDialogHelpPairs, "one pair a row");
constexpr DWORD kLockedTopic = 15147;

// The lists' texts: colours 754.., shades 730.., styles 739..
constexpr int kColorCount = 7;
constexpr INT kColorTexts = 754;
constexpr int kShadeCount = 9;
constexpr INT kShadeTexts = 730;
constexpr int kStyleCount = 4;
constexpr INT kStyleTexts = 739;
constexpr int kSwatchWidth = 41;
constexpr int kSwatchHeight = 11;
// An item's text block from the core driver's heap.
constexpr SIZE_T kColorTextBytes = 512;

constexpr DWORD kNewWatermarkSize = 80;

// What a new watermark takes when it copies no other.
constexpr DWORD kDefaultShade = 1;

// The controls the edit switch turns on and off besides the angle's edit and up-down.
constexpr int kEditControls[] = {IDC_TXT_WM_MSG,     IDC_BTN_DEL,        IDC_RB_DIAG,        IDC_RB_HORZ,
                                 IDC_RB_ANG,         IDC_CBO_FONT_NAME,  IDC_CBOEX_FONT_CLR, IDC_CBO_FONT_SHADE,
                                 IDC_CBO_FONT_STYLE, IDC_TXT_FONT_SIZE,  IDC_SPIN_BTN_SIZE,  IDC_GB_WM_MSG,
                                 IDC_GB_MSG_ANG,     IDC_GB_FONT_ATTRIB, IDC_STA_FONT_NAME,  IDC_STA_FONT_COLOR,
                                 IDC_STA_FONT_SHADE, IDC_STA_FONT_SIZE,  IDC_STA_FONT_STYLE};

// The screen's TrueType faces into the font list (lParam), each once.
int CALLBACK EnumWatermarkFontProc(const LOGFONTW* pFont, const TEXTMETRICW*, DWORD dwType, LPARAM lParam) {
    HWND list = reinterpret_cast<HWND>(lParam);
    if (!pFont || !(dwType & TRUETYPE_FONTTYPE) || !pFont->lfFaceName[0]) return 1;
    if (SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pFont->lfFaceName)) ==
        CB_ERR)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pFont->lfFaceName));
    return 1;
}

// An item's text of a list box or combo box (LB_/CB_ messages given), at most 255 characters;
// false when out of range or longer.
bool ItemText(HWND hList, UINT uLenMsg, UINT uTextMsg, LRESULT lIndex, PWSTR pszText) {
    pszText[0] = 0;
    if (!hList || lIndex < 0) return false;
    const LRESULT len = SendMessageW(hList, uLenMsg, static_cast<WPARAM>(lIndex), 0);
    if (len < 0 || len >= 256) return false;
    return SendMessageW(hList, uTextMsg, static_cast<WPARAM>(lIndex), reinterpret_cast<LPARAM>(pszText)) >= 0;
}

bool ListText(HWND hList, LRESULT lIndex, PWSTR pszText) {
    return ItemText(hList, LB_GETTEXTLEN, LB_GETTEXT, lIndex, pszText);
}

// The list's item of exactly that text (case counts); -1 when none.
int FindExact(HWND hList, PCWSTR pszName) {
    const LRESULT count = hList ? SendMessageW(hList, LB_GETCOUNT, 0, 0) : 0;
    WCHAR text[256];
    for (LRESULT i = 0; i < count; ++i)
        if (ListText(hList, i, text) && wcscmp(text, pszName) == 0) return static_cast<int>(i);
    return -1;
}

void SetCheck(HWND hButton, bool bOn) { SendMessageW(hButton, BM_SETCHECK, bOn ? BST_CHECKED : BST_UNCHECKED, 0); }

void CopyDevmodeText(PWSTR pszOut, const zqwchar* pszStored) { ZQCopyTextN(pszOut, 256, pszStored, 255); }

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

HWND CZQWatermarks::Control(int iCtrlId) const {
    for (size_t i = 0; i < sizeof kControlIds / sizeof kControlIds[0]; ++i)
        if (kControlIds[i] == iCtrlId) return m_ahControls[i];
    return nullptr;
}

void CZQWatermarks::VCacheControlHandles(HWND hDlg) {
    static_assert(sizeof kControlIds / sizeof kControlIds[0] <= sizeof m_ahControls / sizeof m_ahControls[0],
                  "room for every control");
    m_hDialog = hDlg;
    for (size_t i = 0; i < sizeof kControlIds / sizeof kControlIds[0]; ++i)
        m_ahControls[i] = hDlg ? GetDlgItem(hDlg, kControlIds[i]) : nullptr;
}

void CZQWatermarks::VSetControlTexts() {
    if (!m_hDialog) return;
    BSetWindowTextRes(851, m_hDialog, L"Watermark Details");
    for (const TextRow& row : kTexts)
        if (HWND control = Control(row.control)) BSetWindowTextRes(row.idText, control, row.pszEnglish);
}

void CZQWatermarks::VGetHelpIds(DWORD* pdwTable, HANDLE hPrinter) {
    if (!pdwTable) return;
    int n = 0;
    for (const HelpTopic& row : kHelp) {
        const bool locked =
            row.lock && CZQUILogic::BIsSettingLocked(hPrinter, zqsettings::kLockDataPrinting, row.lock, nullptr);
        pdwTable[n++] = static_cast<DWORD>(row.control);
        pdwTable[n++] = locked ? kLockedTopic : row.topic;
    }
    pdwTable[n++] = 0;
    pdwTable[n] = 0;
}

// ---------------------------------------------------------------------------------------------
// The lists
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VFillFontCombo() {
    HWND list = Control(IDC_CBO_FONT_NAME);
    if (!list) return;
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    EnumFontsW(screen, nullptr, &EnumWatermarkFontProc, reinterpret_cast<LPARAM>(list));
    ReleaseDC(nullptr, screen);
}

void CZQWatermarks::VFillColorCombo(int iColorMode) {
    HWND combo = Control(IDC_CBOEX_FONT_CLR);
    if (!combo || !m_pCUIParam) return;
    if (m_hColorImages) ImageList_Destroy(m_hColorImages);
    m_hColorImages = ImageList_Create(kSwatchWidth, kSwatchHeight, ILC_COLOR16, kColorCount, 0);
    const auto module = static_cast<HINSTANCE>(m_pCUIParam->hModule);
    for (int i = 0; i < kColorCount && m_hColorImages; ++i) {
        HBITMAP swatch = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(IDB_GRAY + i), IMAGE_BITMAP, 0, 0, 0));
        if (!swatch) continue;
        ImageList_Add(m_hColorImages, swatch, nullptr);
        DeleteObject(swatch);
    }
    SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hColorImages));
    // A monochrome document prints gray only.
    const int count = iColorMode == 1 ? 1 : kColorCount;
    HANDLE heap = m_pCUIParam->hOEMHeap;
    for (int i = 0; i < count; ++i) {
        auto* text = static_cast<PWSTR>(heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, kColorTextBytes) : nullptr);
        if (!text) return;
        WCHAR loaded[kResStringChars];
        if (BLoadResString(kColorTexts + i, loaded)) ZQCopyText(text, kColorTextBytes / sizeof(WCHAR), loaded);
        COMBOBOXEXITEMW item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = i;
        item.pszText = text;
        item.iImage = item.iSelectedImage = i;
        // The list keeps its own copy of the text.
        SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        HeapFree(heap, 0, text);
    }
}

// A list of string ids from first on, an empty text for a missing one.
static void FillTextList(CZQWatermarks& texts, HWND hCombo, INT idFirst, int iCount) {
    for (int i = 0; i < iCount && hCombo; ++i) {
        WCHAR text[CZQCommon::kResStringChars];
        if (!texts.BLoadResString(idFirst + i, text)) text[0] = 0;
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void CZQWatermarks::VFillShadeCombo() { FillTextList(*this, Control(IDC_CBO_FONT_SHADE), kShadeTexts, kShadeCount); }

void CZQWatermarks::VFillStyleCombo() { FillTextList(*this, Control(IDC_CBO_FONT_STYLE), kStyleTexts, kStyleCount); }

int CZQWatermarks::ISelectFont(PWSTR pszFace) {
    HWND list = Control(IDC_CBO_FONT_NAME);
    if (!list) return -1;
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszFace));
    if (index == CB_ERR) {
        WCHAR language[256] = {};
        if (BGetLanguageFontName(language))
            index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language));
    }
    if (index == CB_ERR) index = SendMessageW(list, CB_GETCOUNT, 0, 0) > 0 ? 0 : CB_ERR;
    if (index == CB_ERR) return -1;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    WCHAR chosen[256];
    if (ItemText(list, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, chosen)) ZQCopyText(pszFace, 256, chosen);
    return static_cast<int>(index);
}

// ---------------------------------------------------------------------------------------------
// The name list
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VFillNameList() {
    HWND list = Control(IDC_LST_WM_NAMES);
    if (!list) return;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (!e->szName[0] || (e->dwFlags & kWatermarkHidden) || FindExact(list, e->szName) >= 0) continue;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e->szName));
    }
}

int CZQWatermarks::IRefillNameList() {
    HWND list = Control(IDC_LST_WM_NAMES);
    if (!list) return -1;
    const LRESULT old = SendMessageW(list, LB_GETCURSEL, 0, 0);
    WCHAR kept[256] = {};
    ListText(list, old, kept);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    // A second " [none]" (a default appended after the stored one) goes.
    bool removed = false;
    WatermarkEntry* first = PFindByName(NoneName());
    for (WatermarkEntry* e = first ? first->pNext : nullptr; e; e = e->pNext) {
        if (wcscmp(e->szName, NoneName()) != 0) continue;
        if (m_dialog.pCurrent == e) m_dialog.pCurrent = first;
        VRemoveEntry(e);
        removed = true;
        break;
    }
    VFillNameList();
    int selection = kept[0] ? FindExact(list, kept) : -1;
    if (selection < 0 && old >= 0) selection = static_cast<int>(removed && old > 0 ? old - 1 : old);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

int CZQWatermarks::IFindListIndex(PCWSTR pszName) const {
    HWND list = Control(IDC_LST_WM_NAMES);
    if (!list || !pszName) return -1;
    const int exact = FindExact(list, pszName);
    if (exact >= 0) return exact;
    // Any language's " [none]" is the list's none name.
    return BIsNoneInAnyLanguage(pszName, HResModule()) ? FindExact(list, m_szNone[0] ? m_szNone : L" [none]") : -1;
}

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VInitControls(const ZQUIDevmode& settings) {
    HWND list = Control(IDC_LST_WM_NAMES);
    HWND message = Control(IDC_TXT_WM_MSG);
    WatermarkEditRecord* edit = m_pEdit;
    if (!list || !edit) return;
    VEnsureNoneEntry();
    // Entries without a name leave the list.
    for (WatermarkEntry* e = m_main.pHead; e;) {
        WatermarkEntry* next = e->pNext;
        if (!e->szName[0]) VRemoveEntry(e);
        e = next;
    }
    VFillNameList();
    WCHAR name[256];
    CopyDevmodeText(name, settings.szWmName);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(IFindListIndex(name)), 0);
    ZQCopyText(edit->szName, 256, name);
    ZQCopyText(m_dialog.szPrevious, 256, name);
    m_dialog.pCurrent = PFindByName(name);
    if (!m_dialog.pCurrent) m_dialog.pCurrent = PFindByName(NoneName());
    VUpdateDeleteButton();
    // A full pool takes no watermark typed on " [none]".
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) > kMaxUserEntries && wcscmp(name, NoneName()) == 0)
        EnableWindow(message, FALSE);
    WCHAR text[256];
    CopyDevmodeText(text, settings.szWmText);
    SetWindowTextW(message, text);
    SendMessageW(message, EM_SETSEL, 0, -1);
    SetFocus(message);
    GetWindowTextW(message, edit->szText, 256);
    edit->dwTextLength = static_cast<DWORD>(wcslen(edit->szText));
    SendMessageW(message, EM_LIMITTEXT, kMaxMessageChars, 0);
    SendMessageW(Control(IDC_TXT_FONT_SIZE), EM_LIMITTEXT, 3, 0);
}

// ---------------------------------------------------------------------------------------------
// The working copy
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VShowEditControls() {
    WatermarkEditRecord* edit = m_pEdit;
    if (!edit) return;
    SetCheck(Control(IDC_RB_DIAG), edit->dwAngleMode == 0);
    SetCheck(Control(IDC_RB_HORZ), edit->dwAngleMode == 1);
    SetCheck(Control(IDC_RB_ANG), edit->dwAngleMode == 2);
    EnableWindow(Control(IDC_TXT_ANG), edit->dwAngleMode == 2);
    EnableWindow(Control(IDC_SPIN_BTN_ANGLE), edit->dwAngleMode == 2);
    SetDlgItemInt(m_hDialog, IDC_TXT_ANG, edit->dwAngle, FALSE);
    const int font = ISelectFont(edit->szFont);
    edit->dwFontIndex = font < 0 ? 0 : static_cast<DWORD>(font);
    SendMessageW(Control(IDC_CBOEX_FONT_CLR), CB_SETCURSEL, edit->dwColor, 0);
    // An index past its list selects nothing.
    SendMessageW(Control(IDC_CBO_FONT_SHADE), CB_SETCURSEL, edit->dwShade, 0);
    SetDlgItemInt(m_hDialog, IDC_TXT_FONT_SIZE, edit->dwSize, FALSE);
    SendMessageW(Control(IDC_CBO_FONT_STYLE), CB_SETCURSEL, edit->dwStyle, 0);
}

void CZQWatermarks::VShowEntry() {
    WatermarkEditRecord* edit = m_pEdit;
    const WatermarkEntry* entry = m_dialog.pCurrent;
    if (!edit || !entry) return;
    ZQCopyText(edit->szName, 256, entry->szName);
    ZQCopyText(edit->szText, 256, entry->szText);
    edit->dwTextLength = static_cast<DWORD>(wcslen(edit->szText));
    CopyLook(*edit, *entry);
    HWND message = Control(IDC_TXT_WM_MSG);
    SetWindowTextW(message, edit->szText);
    WCHAR selected[256];
    HWND list = Control(IDC_LST_WM_NAMES);
    if (ListText(list, SendMessageW(list, LB_GETCURSEL, 0, 0), selected) && wcscmp(selected, m_dialog.szLastSelected) == 0 &&
        wcscmp(selected, NoneName()) != 0) {
        SendMessageW(message, EM_SETSEL, 0, -1);
        SetFocus(message);
    }
    VShowEditControls();
}

void CZQWatermarks::VStoreControlsInEntry() {
    WatermarkEditRecord* edit = m_pEdit;
    WatermarkEntry* entry = m_dialog.pCurrent;
    if (!edit || !entry) return;
    // A face the list lacks falls back first, in the working copy too.
    const int font = ISelectFont(edit->szFont);
    if (font >= 0) edit->dwFontIndex = static_cast<DWORD>(font);
    CopyLook(*entry, *edit);
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

void CZQWatermarks::VUpdateDeleteButton() {
    HWND list = Control(IDC_LST_WM_NAMES);
    WCHAR selected[256];
    const bool noneSelected =
        !ListText(list, SendMessageW(list, LB_GETCURSEL, 0, 0), selected) || wcscmp(selected, NoneName()) == 0;
    const WatermarkEntry* entry = m_dialog.pCurrent;
    const bool deletable = !noneSelected && entry && wcscmp(entry->szName, NoneName()) != 0 &&
                           !(entry->dwFlags & kWatermarkReadOnly);
    EnableWindow(Control(IDC_BTN_DEL), deletable ? TRUE : FALSE);
}

void CZQWatermarks::VEnableEditControls(BOOL bOn) {
    for (int id : kEditControls) EnableWindow(Control(id), bOn);
    const BOOL angle = bOn && m_pEdit && m_pEdit->dwAngleMode == 2;
    EnableWindow(Control(IDC_TXT_ANG), angle);
    EnableWindow(Control(IDC_SPIN_BTN_ANGLE), angle);
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
    } else if (m_dialog.pCurrent) {
        ZQCopyText(pSettings->szWmName, 256, m_dialog.pCurrent->szName);
        ZQCopyText(pSettings->szWmText, 256, m_dialog.pCurrent->szName);
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

void CZQWatermarks::VFreeDialogResources() {
    VFreeEditRecord();
    // The colour list lets go of its pictures before they go.
    if (HWND colors = Control(IDC_CBOEX_FONT_CLR)) SendMessageW(colors, CBEM_SETIMAGELIST, 0, 0);
    if (m_hColorImages) ImageList_Destroy(m_hColorImages);
    m_hColorImages = nullptr;
    m_dialog.pCurrent = nullptr;
    VCacheControlHandles(nullptr);
}
