// CZQFontInstaller: the soft-font installer ("DIMM Font Installer"). The user picks printer font
// metrics (.PFM) and cartridge metrics (.PCM) from a folder and adds them to the printer, or
// removes fonts installed earlier; on OK the printer's font file (named by the printer data
// "ExternalFontFile", in "unifont" beside the printer drivers) is written anew. The core driver
// opens it from its device settings through the plug-in object's FontInstallerDlgProc; it lives
// on that call's stack and keeps nothing after the dialog.
#pragma once

#include <vector>

#include "common/zqprintercaps.h"
#include "common/zquibase.h"
#include "formats/zqfontfile.h"
#include "res/zqfontinstallerids.h"

// Flags of a font list node.
enum : DWORD {
    kFontFromPfm = 0x00000001,
    kFontFromPcm = 0x00000002,
    kFontToAdd = 0x00010000,
    kFontToRemove = 0x00020000,        // installed, removed at OK
    kFontInFolder = 0x00040000,        // found in the current folder
    kFontInstalled = 0x00080000,       // read from the font file
    kFontShownToAdd = 0x01000000,      // in the list "Font(s) to be Added:"
    kFontShownInstalled = 0x02000000,  // in the list "Installed Font(s):"
};
inline constexpr DWORD kFontFound = kFontShownToAdd | kFontInFolder;
inline constexpr DWORD kFontInstalledShown = kFontShownInstalled | kFontInstalled;

// One font of the lists; every string is owned (local heap).
struct ZQFontNode {
    PWSTR pszFolder;     // where the metrics file was found; null for an installed font
    PWSTR pszFile;       // the metrics file; null for an installed font
    PWSTR pszName;       // the name shown and stored; unique in the list without regard to case
    PWSTR pszCartridge;  // the title of a .PCM, else null
    DWORD dwFlags;
    ZQFontNode* pNext;
};

class CZQFontInstaller;

// The dialog's creation parameter, kept in its user data.
struct ZQFontDlgParam {
    POEMFONTINSTPARAM pFontParam;  // the core driver's record (printer, flags)
    CZQFontInstaller* pInstaller;
    PWSTR pszFontFile;             // owned; null while the printer has no font file
    PWSTR pszFolder;               // owned; the folder browsed or typed
    ZQFontNode* pHead;
    BOOL bReadOnly;                // a printer of another computer: Add and Remove stay disabled
    const PrinterCaps* pCaps;      // its help file serves context help
};

// What the plug-in object hands over when the core driver calls its FontInstallerDlgProc.
struct ZQFontInstallerCall {
    POEMCUIPPARAM pParam;  // the block of the current CommonUIProp call, null without one
    HMODULE hResModule;    // the status module (shared)
    DWORD dwLanguage;      // printer command language: 1 PCL, 2 the other language
    const PrinterCaps* pCaps;
};

// The installer's command language for the printer language of the private devmode: the
// selection commands of PCL 6 printers are in the other language.
DWORD ZQFontCommandLanguage(int iPdlIndex);

// The dialog procedure of IDD_DLG_FONTINSTALL and its right-to-left twin.
INT_PTR CALLBACK DimmFontDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQFontInstaller : public CZQUIBase {
public:
    CZQFontInstaller(HMODULE hResModule, DWORD dwLanguage);
    ~CZQFontInstaller() override;

    // The core driver's call: the dialog runs for its WM_INITDIALOG with an OEMFONTINSTPARAM that
    // allows changes, while "ZQFontInstaller" is "TRUE"; S_OK after the dialog, E_FAIL when it
    // could not be shown, E_NOTIMPL otherwise (the core driver then uses its own installer).
    static HRESULT HrFontInstallerDlgProc(const ZQFontInstallerCall& call, HWND hWnd, UINT usMsg, WPARAM wParam,
                                          LPARAM lParam);

    DWORD DWLanguage() const { return m_dwLanguage; }

    // ---- the lists
    // Installed nodes from the font file named by "ExternalFontFile"; TRUE when the file was read.
    BOOL BLoadInstalledFonts(ZQFontDlgParam* p);
    // Reads every "*.PFM" and then every "*.PCM" of the current folder; message 1115 when no font
    // was found. Returns the fonts found.
    int IScanFolder(ZQFontDlgParam* p);
    // Fonts of one metrics file of the current folder (kind kFontFromPfm or kFontFromPcm) that are
    // in the list now: added, or listed already under the same name. Files that cannot be opened,
    // mapped or trusted give none, silently.
    int IReadMetricsFile(ZQFontDlgParam* p, PCWSTR pszFile, DWORD dwKind);
    // The name a PFM is listed under (a new local-heap string), null when it is not for this
    // printer's language.
    PWSTR PFaceNameFromPfm(const zqfont::Pfm& pfm) const;
    // A new node at the list's end, with copies of the texts; null for a missing or empty name, a
    // name listed already (any case) or no memory.
    ZQFontNode* PAddFontNode(ZQFontDlgParam* p, PCWSTR pszFolder, PCWSTR pszFile, PCWSTR pszName,
                             PCWSTR pszCartridge, DWORD dwFlags);
    BOOL BDeleteFontNode(ZQFontDlgParam* p, ZQFontNode* pNode);
    void VFreeFontList(ZQFontDlgParam* p);
    // Both lists again from the nodes; nothing stays selected.
    BOOL BRefreshLists(ZQFontDlgParam* p);
    // A new current folder: fonts found elsewhere that are neither to be added nor installed go,
    // and fonts not of this folder leave the list "Font(s) to be Added:".
    BOOL BSetFolder(ZQFontDlgParam* p, PCWSTR pszFolder);
    // Add and Remove on the selected entries of their lists.
    BOOL BMarkForAdding(ZQFontDlgParam* p);
    BOOL BMarkForRemoving(ZQFontDlgParam* p);
    // OK: the font file with the installed fonts that stay and the new ones; message 3149 when it
    // cannot be written, or when the existing file is not a font file (it is then left as it is).
    BOOL BInstallFonts(ZQFontDlgParam* p);
    // A new file name in "unifont" beside the printer drivers, stored as "ExternalFontFile".
    BOOL BMakeFontFileName(ZQFontDlgParam* p);

    // ---- the dialog
    void VGetControls(HWND hDlg);
    void VSetTexts();
    // Control and help-topic pairs, ending with two zeros (topic 0: no topic).
    static constexpr size_t kHelpIdCount = 20;
    static void VGetHelpIds(DWORD* pIds);
    BOOL BBrowseFolder(ZQFontDlgParam* p);

private:
    friend INT_PTR CALLBACK DimmFontDlgProc(HWND, UINT, WPARAM, LPARAM);

    void VInitDialog(ZQFontDlgParam* p, HWND hDlg);
    INT_PTR IOnCommand(ZQFontDlgParam* p, WORD wId, WORD wCode);
    void VOnHelp(ZQFontDlgParam* p, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // OK with the focus in the path box: the typed folder becomes current and is scanned, or
    // message 1114 and the previous folder returns.
    void VApplyTypedFolder(ZQFontDlgParam* p);
    void VUpdateButtons(ZQFontDlgParam* p);
    // A message with the installer's caption (text id with its English form; "%s" takes the
    // argument).
    void VShowMessage(INT id, PCWSTR pszEnglish, PCWSTR pszArgument, UINT uIcon);
    // The UFM data of a font to add, read again from its metrics file; empty when it cannot be.
    std::vector<uint8_t> ConvertFont(const ZQFontNode* pNode);
    const zqfont::AnsiTable& AnsiChars();

    DWORD m_dwLanguage;
    HWND m_hDlg = nullptr;
    HWND m_hLocationLabel = nullptr;
    HWND m_hPath = nullptr;
    HWND m_hBrowse = nullptr;
    HWND m_hAddLabel = nullptr;
    HWND m_hAddList = nullptr;
    HWND m_hInstalledLabel = nullptr;
    HWND m_hInstalledList = nullptr;
    HWND m_hAdd = nullptr;
    HWND m_hRemove = nullptr;
    HWND m_hOk = nullptr;
    HWND m_hCancel = nullptr;
    zqfont::AnsiTable m_ansi = {};
    bool m_bAnsiReady = false;
};
