// The Watermark Details dialog's controls: their texts, help and lists, the name list over the
// manager's main list, and the manager's working copy shown in the controls and read back.
#include "pages/dialogs/zqwatermarkcontrols.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"
#include "res/zqwatermarkids.h"

using namespace zqpage;

namespace {

// The dialog's title (id 0) and its controls' texts.
const CZQPageControls::TextRow kTexts[] = {
    {0, 851, L"Watermark Details"},
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
static_assert(sizeof kHelp / sizeof kHelp[0] == CZQWatermarkControls::kHelpPairs, "one pair a row");
constexpr DWORD kLockedTopic = 15147;

// The lists' texts: colours 754.., the shades and the styles.
constexpr int kColorCount = 7;
constexpr INT kColorTexts = 754;
constexpr INT kShadeTexts[] = {730, 731, 732, 733, 734, 735, 736, 737, 738};
constexpr INT kStyleTexts[] = {739, 740, 741, 742};
constexpr int kSwatchWidth = 41;
constexpr int kSwatchHeight = 11;
// An item's text block from the core driver's heap.
constexpr SIZE_T kColorTextBytes = 512;

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

// The list's item of exactly that text (case counts); -1 when none.
int FindExact(HWND hList, PCWSTR pszName) {
    const LRESULT count = hList ? SendMessageW(hList, LB_GETCOUNT, 0, 0) : 0;
    WCHAR text[256];
    for (LRESULT i = 0; i < count; ++i)
        if (EntryText(hList, static_cast<int>(i), text, true) && wcscmp(text, pszName) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The controls, their texts and help
// ---------------------------------------------------------------------------------------------
void CZQWatermarkControls::VAttach(HWND hDlg) {
    m_window.VAttach(hDlg);
    m_window.VSetTexts(m_wm, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

void CZQWatermarkControls::VDetach() {
    if (HWND colors = Item(IDC_CBOEX_FONT_CLR)) SendMessageW(colors, CBEM_SETIMAGELIST, 0, 0);
    if (m_hColorImages) ImageList_Destroy(m_hColorImages);
    m_hColorImages = nullptr;
    m_window.VForget();
}

void CZQWatermarkControls::VGetHelpIds(DWORD* pdwTable, HANDLE hPrinter) {
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
void CZQWatermarkControls::VFillFontCombo() {
    HWND list = Item(IDC_CBO_FONT_NAME);
    if (!list) return;
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    EnumFontsW(screen, nullptr, &EnumWatermarkFontProc, reinterpret_cast<LPARAM>(list));
    ReleaseDC(nullptr, screen);
}

void CZQWatermarkControls::VFillColorCombo(int iColorMode) {
    HWND combo = Item(IDC_CBOEX_FONT_CLR);
    const POEMCUIPPARAM param = m_wm.CUIParam();
    if (!combo || !param) return;
    if (m_hColorImages) ImageList_Destroy(m_hColorImages);
    m_hColorImages = ImageList_Create(kSwatchWidth, kSwatchHeight, ILC_COLOR16, kColorCount, 0);
    const auto module = static_cast<HINSTANCE>(param->hModule);
    for (int i = 0; i < kColorCount && m_hColorImages; ++i) {
        HBITMAP swatch = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(IDB_GRAY + i), IMAGE_BITMAP, 0, 0, 0));
        if (!swatch) continue;
        ImageList_Add(m_hColorImages, swatch, nullptr);
        DeleteObject(swatch);
    }
    SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hColorImages));
    // A monochrome document prints gray only.
    const int count = iColorMode == 1 ? 1 : kColorCount;
    HANDLE heap = param->hOEMHeap;
    for (int i = 0; i < count; ++i) {
        auto* text = static_cast<PWSTR>(heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, kColorTextBytes) : nullptr);
        if (!text) return;
        WCHAR loaded[CZQCommon::kResStringChars];
        if (m_wm.BLoadResString(kColorTexts + i, loaded)) ZQCopyText(text, kColorTextBytes / sizeof(WCHAR), loaded);
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

void CZQWatermarkControls::VFillShadeCombo() {
    m_window.VFillList(m_wm, IDC_CBO_FONT_SHADE, kShadeTexts, static_cast<int>(sizeof kShadeTexts / sizeof kShadeTexts[0]));
}

void CZQWatermarkControls::VFillStyleCombo() {
    m_window.VFillList(m_wm, IDC_CBO_FONT_STYLE, kStyleTexts, static_cast<int>(sizeof kStyleTexts / sizeof kStyleTexts[0]));
}

int CZQWatermarkControls::ISelectFont(PWSTR pszFace) {
    HWND list = Item(IDC_CBO_FONT_NAME);
    if (!list) return -1;
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszFace));
    if (index == CB_ERR) {
        WCHAR language[256] = {};
        if (m_wm.BGetLanguageFontName(language))
            index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language));
    }
    if (index == CB_ERR) index = SendMessageW(list, CB_GETCOUNT, 0, 0) > 0 ? 0 : CB_ERR;
    if (index == CB_ERR) return -1;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    WCHAR chosen[256];
    if (EntryText(list, static_cast<int>(index), chosen)) ZQCopyText(pszFace, 256, chosen);
    return static_cast<int>(index);
}

// ---------------------------------------------------------------------------------------------
// The name list
// ---------------------------------------------------------------------------------------------
void CZQWatermarkControls::VFillNameList() {
    HWND list = Item(IDC_LST_WM_NAMES);
    if (!list) return;
    // The list is empty here: the manager names each watermark once.
    for (const std::wstring& name : m_wm.ListedNames())
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

int CZQWatermarkControls::IRefillNameList() {
    HWND list = Item(IDC_LST_WM_NAMES);
    if (!list) return -1;
    const LRESULT old = SendMessageW(list, LB_GETCURSEL, 0, 0);
    WCHAR kept[256] = {};
    EntryText(list, static_cast<int>(old), kept, true);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    const bool removed = m_wm.BRemoveSecondNone() != FALSE;
    VFillNameList();
    int selection = kept[0] ? FindExact(list, kept) : -1;
    if (selection < 0 && old >= 0) selection = static_cast<int>(removed && old > 0 ? old - 1 : old);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

int CZQWatermarkControls::IFindListIndex(PCWSTR pszName) const {
    HWND list = Item(IDC_LST_WM_NAMES);
    if (!list || !pszName) return -1;
    const int exact = FindExact(list, pszName);
    if (exact >= 0) return exact;
    return CZQUIBase::BIsNoneInAnyLanguage(pszName, m_wm.HResModule()) ? FindExact(list, m_wm.NoneName()) : -1;
}

std::vector<std::wstring> CZQWatermarkControls::ShownNames() const {
    std::vector<std::wstring> names;
    HWND list = Item(IDC_LST_WM_NAMES);
    const LRESULT count = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR text[256];
        if (EntryText(list, static_cast<int>(i), text, true)) names.emplace_back(text);
    }
    return names;
}

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
void CZQWatermarkControls::VInitControls(const ZQUIDevmode& settings) {
    HWND list = Item(IDC_LST_WM_NAMES);
    HWND message = Item(IDC_TXT_WM_MSG);
    WatermarkEditRecord* edit = m_wm.EditRecord();
    if (!list || !edit) return;
    m_wm.VPrepareForDialog();
    VFillNameList();
    WCHAR name[256];
    ZQCopyTextN(name, 256, settings.szWmName, 255);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(IFindListIndex(name)), 0);
    ZQCopyText(edit->szName, 256, name);
    m_wm.VChooseCurrent(name);
    VUpdateDeleteButton();
    // A full pool takes no watermark typed on " [none]".
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) > CZQWatermarks::kMaxUserEntries && wcscmp(name, m_wm.NoneName()) == 0)
        EnableWindow(message, FALSE);
    WCHAR text[256];
    ZQCopyTextN(text, 256, settings.szWmText, 255);
    SetWindowTextW(message, text);
    SendMessageW(message, EM_SETSEL, 0, -1);
    SetFocus(message);
    GetWindowTextW(message, edit->szText, 256);
    edit->dwTextLength = static_cast<DWORD>(wcslen(edit->szText));
    SendMessageW(message, EM_LIMITTEXT, CZQWatermarks::kMaxMessageChars, 0);
    SendMessageW(Item(IDC_TXT_FONT_SIZE), EM_LIMITTEXT, 3, 0);
}

// ---------------------------------------------------------------------------------------------
// The working copy
// ---------------------------------------------------------------------------------------------
void CZQWatermarkControls::VShowEditControls() {
    WatermarkEditRecord* edit = m_wm.EditRecord();
    if (!edit) return;
    m_window.VSetCheck(IDC_RB_DIAG, edit->dwAngleMode == 0);
    m_window.VSetCheck(IDC_RB_HORZ, edit->dwAngleMode == 1);
    m_window.VSetCheck(IDC_RB_ANG, edit->dwAngleMode == 2);
    EnableWindow(Item(IDC_TXT_ANG), edit->dwAngleMode == 2);
    EnableWindow(Item(IDC_SPIN_BTN_ANGLE), edit->dwAngleMode == 2);
    SetDlgItemInt(m_window.Page(), IDC_TXT_ANG, edit->dwAngle, FALSE);
    const int font = ISelectFont(edit->szFont);
    edit->dwFontIndex = font < 0 ? 0 : static_cast<DWORD>(font);
    SendMessageW(Item(IDC_CBOEX_FONT_CLR), CB_SETCURSEL, edit->dwColor, 0);
    // An index past its list selects nothing.
    SendMessageW(Item(IDC_CBO_FONT_SHADE), CB_SETCURSEL, edit->dwShade, 0);
    SetDlgItemInt(m_window.Page(), IDC_TXT_FONT_SIZE, edit->dwSize, FALSE);
    SendMessageW(Item(IDC_CBO_FONT_STYLE), CB_SETCURSEL, edit->dwStyle, 0);
}

void CZQWatermarkControls::VShowEntry(PCWSTR pszLastSelected) {
    if (!m_wm.BLoadCurrent()) return;
    HWND message = Item(IDC_TXT_WM_MSG);
    SetWindowTextW(message, m_wm.EditRecord()->szText);
    WCHAR selected[256];
    if (SelectedText(Item(IDC_LST_WM_NAMES), selected, true) && wcscmp(selected, pszLastSelected) == 0 &&
        wcscmp(selected, m_wm.NoneName()) != 0) {
        SendMessageW(message, EM_SETSEL, 0, -1);
        SetFocus(message);
    }
    VShowEditControls();
}

void CZQWatermarkControls::VStoreControlsInEntry() {
    WatermarkEditRecord* edit = m_wm.EditRecord();
    if (!edit || !m_wm.Current()) return;
    // A face the list lacks falls back first, in the working copy too.
    const int font = ISelectFont(edit->szFont);
    if (font >= 0) edit->dwFontIndex = static_cast<DWORD>(font);
    m_wm.VStoreLookInCurrent();
}

DWORD CZQWatermarkControls::DWShownAngleMode() const {
    if (m_window.BChecked(IDC_RB_DIAG)) return 0;
    if (m_window.BChecked(IDC_RB_HORZ)) return 1;
    return 2;
}

void CZQWatermarkControls::VUpdateDeleteButton() {
    WCHAR selected[256];
    const bool shown = SelectedText(Item(IDC_LST_WM_NAMES), selected, true);
    EnableWindow(Item(IDC_BTN_DEL), m_wm.BDeletable(shown ? selected : nullptr));
}

void CZQWatermarkControls::VEnableEditControls(BOOL bOn) {
    for (int id : kEditControls) EnableWindow(Item(id), bOn);
    const WatermarkEditRecord* edit = m_wm.EditRecord();
    const BOOL angle = bOn && edit && edit->dwAngleMode == 2;
    EnableWindow(Item(IDC_TXT_ANG), angle);
    EnableWindow(Item(IDC_SPIN_BTN_ANGLE), angle);
}
