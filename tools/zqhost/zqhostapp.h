// What an application and the printers folder do with a printer of the core driver stand-in:
// open its Printing Preferences or Printer Properties, press OK by itself for unattended runs,
// save a picture of the sheet, and describe a devmode. Shared by zqhost.exe and the tests.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// Printing Preferences: DocumentPropertiesW with a prompt, starting from `in` (null: the driver
// starts from the printer's default devmode). `out` receives the devmode when the sheet was
// closed with OK and stays empty otherwise. Returns DocumentPropertiesW's result.
LONG ZQOpenPreferences(HANDLE hPrinter, const std::wstring& printerName, const DEVMODEW* in, std::vector<BYTE>& out);

// Printer Properties, the way the printers folder does it where PrinterProperties is not
// implemented: the driver's DrvDevicePropertySheets through CommonPropertySheetUIW, owned by the
// window given. Returns CommonPropertySheetUIW's result (negative on failure).
LONG ZQOpenPrinterProperties(HANDLE hPrinter, const std::wstring& printerName, HWND hOwner = nullptr);

// Wine's spooler answers PrinterProperties with "not implemented" and opens nothing. While an object
// of this class lives, PrinterProperties in this process opens Printer Properties as above, whoever
// calls it: the plug-in's finishing step at installation and its conversion interface included. A
// caller without a window has no one to answer the sheet: it is confirmed as soon as it shows.
// Objects nest; when the last one goes, the spooler's own entry is back.
class CZQPrinterPropertiesSeam {
public:
    CZQPrinterPropertiesSeam();
    ~CZQPrinterPropertiesSeam();
    CZQPrinterPropertiesSeam(const CZQPrinterPropertiesSeam&) = delete;
    CZQPrinterPropertiesSeam& operator=(const CZQPrinterPropertiesSeam&) = delete;
    // False when the spooler's entry could not be taken over.
    bool Active() const { return m_bActive; }

private:
    bool m_bActive = false;
};

// The maker's device servers that a printer's driver carries, registered while the object lives
// as the maker's installer leaves them: the proxies and the device-information library, the agent
// and the link by their programs (local servers) where the driver has them, else by their
// libraries. Removed again when the object goes.
class CZQDeviceServers {
public:
    explicit CZQDeviceServers(HANDLE hPrinter);
    ~CZQDeviceServers();
    CZQDeviceServers(const CZQDeviceServers&) = delete;
    CZQDeviceServers& operator=(const CZQDeviceServers&) = delete;
    // The files registered, in order.
    const std::vector<std::wstring>& Registered() const { return m_registered; }

private:
    std::vector<std::wstring> m_registered;
};

// The plug-in's font installer as the device settings of the core driver stand-in open it (their
// "Soft Fonts..." button), driven as a user does: the folder typed and scanned, fonts added and
// removed by name ("*": every entry of the list), a picture, then OK or Cancel; the sheet then
// closes with OK. Returns the sheet's result; `seen` tells what the installer showed last.
struct ZQFontSteps {
    std::wstring folder;
    std::vector<std::wstring> add;     // entries of "Font(s) to be Added:"
    std::vector<std::wstring> remove;  // entries of "Installed Font(s):"
    std::wstring screenshot;
    bool ok = true;
};
struct ZQFontSeen {
    bool shown = false;
    bool saved = false;  // the picture was written
    std::wstring missing;  // a name of the steps the list did not hold: the installer was cancelled
    std::vector<std::wstring> toAdd, installed;
};
LONG ZQRunFontInstaller(HANDLE hPrinter, const std::wstring& printerName, const ZQFontSteps& steps, ZQFontSeen& seen);
// The steps on the installer's window: its lists ("Font(s) to be Added:" or "Installed
// Font(s):"), a folder typed into the path box and confirmed there with Enter, and the named
// entries selected and moved with Add (or Remove).
std::vector<std::wstring> ZQFontList(HWND installer, bool installed);
void ZQTypeFontFolder(HWND installer, const std::wstring& folder);
void ZQMoveFonts(HWND installer, bool remove, const std::vector<std::wstring>& names);

// The printer's default devmode through the driver (DocumentPropertiesW with DM_OUT_BUFFER).
std::vector<BYTE> ZQQueryDevmode(HANDLE hPrinter, const std::wstring& printerName);
// Makes `dm` the printer's default devmode (what the printers folder does after Preferences).
BOOL ZQStoreDefaultDevmode(HANDLE hPrinter, const std::vector<BYTE>& dm);

// The plug-in's exported conversion interface, as another program calls it.
struct ZQConvertApi {
    DWORD(WINAPI* initialize)(LPCWSTR, LPCWSTR, GUID*);
    DWORD(WINAPI* readTicket)(DWORD, LPCWSTR, GUID);
    DWORD(WINAPI* convertTicketEx)(DEVMODEW*, GUID);
    DWORD(WINAPI* convertDevModeEx)(LPCWSTR, DEVMODEW*, GUID);
    DWORD(WINAPI* kill)(GUID);
    DWORD(WINAPI* version)(DWORD*);
    void(WINAPI* convertTicket)(LPCWSTR, LPCWSTR, DEVMODEW*, LPCWSTR, DWORD);
    void(WINAPI* convertDevmode)(LPCWSTR, LPCWSTR, DEVMODEW*, LPCWSTR, DWORD);
};
// Every export of the interface from the module; false when one is missing.
bool ZQLoadConvertApi(HMODULE hModule, ZQConvertApi& api);

// Presses OK on the next property sheet this thread shows, `delayMs` after starting; `beforeOk`
// runs first with the sheet's window (tests change settings there; the host tool saves its
// picture), and may ask for Cancel instead. The newest one of a thread works; the one before it
// works again when it goes. It finds the sheet at the thread's first idle moment after it shows and
// sees the OK and Cancel pressed on it before the automatic one, clicked or asked for by message,
// through the sheet's own window procedure: no message hook, which would cost every message of the
// thread a call through the Wine server.
class CZQAutoPress {
public:
    CZQAutoPress(UINT delayMs, std::function<void(HWND)> beforeOk);
    ~CZQAutoPress();
    CZQAutoPress(const CZQAutoPress&) = delete;
    CZQAutoPress& operator=(const CZQAutoPress&) = delete;
    bool Pressed() const { return m_bPressed; }
    // From `beforeOk`: the sheet is cancelled, so that it stores nothing.
    void PressCancel() { m_bCancel = true; }
    // OK was the last of the sheet's OK and Cancel pressed before the automatic OK (Wine's Printer
    // Properties tell their caller neither).
    bool ClosedWithOwnOk() const { return m_bOwnOk; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK SeeButtons(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    ULONGLONG m_due;
    HWND m_sheet = nullptr;  // watched from when it was found
    bool m_bOwnOk = false;
    UINT_PTR m_timer = 0;
    bool m_bPressed = false;
    bool m_bCancel = false;
    std::function<void(HWND)> m_beforeOk;
    CZQAutoPress* m_previous;  // the one this thread had before, back when this one goes
};

// The top-level property sheet of this thread, or null.
HWND ZQFindSheet();
// Saves the window as it is on screen as a PNG file.
BOOL ZQSaveWindowPng(HWND hwnd, const std::wstring& path);
// Writes 24-bit RGB rows (top to bottom, 3 bytes per pixel) as a PNG file.
BOOL ZQWritePng(const std::wstring& path, UINT width, UINT height, const std::vector<BYTE>& rgb);

// A readable description of a devmode of the core driver stand-in: the public fields, the core
// driver's private header with the selected options, and the plug-in block's header. The page the
// sheet opens on next is named by its title from `hTitles` (the printer's status module), when given.
std::wstring ZQDescribeDevmode(const BYTE* dm, size_t size, HMODULE hTitles = nullptr);

// One value of a printer's device answer store: the current user's key "Software\Quorvane\<the
// printer data ZQPresetRoot\ZQRestrictedUserGuid>\ZQBIDIInfo", where Update Now keeps what the
// printer answered.
struct ZQDeviceAnswer {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
// The store's values in its order; false when the printer names no user key or has no store yet.
bool ZQReadDeviceAnswers(HANDLE hPrinter, std::vector<ZQDeviceAnswer>& answers);
// "<name> = <value>": a text in quotes, a number in decimal, other bytes in hex.
std::wstring ZQDescribeAnswer(const ZQDeviceAnswer& answer);

// The quick sets of a printer's data ("ZQPresetRoot\PresetPoolData") in the spooler's order, read
// by the plug-in's reader: `beyond` the 25 it reads, or `refused` by it.
struct ZQStoredQuickSet {
    int index = 0;
    bool beyond = false;
    bool refused = false;
    DWORD bytes = 0;
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;  // feature, option
};
std::vector<ZQStoredQuickSet> ZQReadQuickSets(HANDLE hPrinter);
// The same, one line each: "<index> "<name>" flags 0x<flags> <n> pairs" followed by its pairs as
// " <feature>=<option>" ("(not set)" for an empty option), or "<index> refused (<bytes> bytes)", or
// "<index> beyond the 25 read". Flags are those of a user who may write the printer's data: the
// factory-named quick set fixed (0x20000), any other the user's own (0x10000). The next index the
// store gives, when asked.
std::vector<std::wstring> ZQDescribeQuickSets(HANDLE hPrinter, int* pNextIndex = nullptr);
// The printer's stored printing shortcuts as the plug-in reads them: name, the document type it is
// listed under, its bitmap and features with their options ("(not set)" for none); values the
// reader refuses named.
std::vector<std::wstring> ZQDescribeShortcuts(HANDLE hPrinter);
// A printing shortcut without features, based on the document type, stored as the plug-in's store
// writes one; the spooler's answer.
DWORD ZQAddShortcut(HANDLE hPrinter, const std::wstring& name, const std::wstring& docType);

// The core driver stand-in's page of a sheet, driven as a user does. Rows are found by their
// setting's name, the first of that name or (last) the last one.
HWND ZQCurrentPage(HWND sheet);
// The settings' names of the page's rows, in order.
std::vector<std::wstring> ZQRows(HWND page);
int ZQRowOf(HWND page, const std::wstring& name, bool last = false);
std::wstring ZQRowValue(HWND page, const std::wstring& name, bool last = false);
bool ZQSelectRow(HWND page, const std::wstring& name, bool last = false);
std::vector<std::wstring> ZQComboEntries(HWND page);
// Selects the row and picks the option in the page's combo box, as a user's choice.
bool ZQChoose(HWND page, const std::wstring& row, const std::wstring& option, bool last = false);

// The plug-in's pages, driven as a user does. A page comes to the front by its tab's title. On a
// page a control is named by the text the user reads ("&", a trailing colon and anything after a
// line break left out): a list, slider or edit by the label just before it, a check box, radio button or
// push button by its own text; "#<id>" names a control by its id. Hidden and disabled controls are
// out of the user's reach.
bool ZQShowPage(HWND sheet, const std::wstring& title);
// The tab titles of the sheet's pages, in order.
std::vector<std::wstring> ZQPageTitles(HWND sheet);
// The entries of a drop-down list of a page, in order (256 characters each).
std::vector<std::wstring> ZQListEntries(HWND combo);
HWND ZQFindPageControl(HWND page, const std::wstring& label);
// The control of that name shown but greyed (disabled), out of reach for now; null otherwise.
HWND ZQFindGreyedControl(HWND page, const std::wstring& label);
// The choice on the page: a list's entry by its text, "on" or "off" for a check box or radio
// button, "click" for any other button (the sample page's, or a push button inside a dialog that
// stays open, as a tile), a position for a slider, a tree's item by its text, an edit's text (typed,
// then the edit left: "#<id>" names an edit); the page hears of it as of the user's own. False when
// the control or the entry is not there.
bool ZQChooseOnPage(HWND page, const std::wstring& label, const std::wstring& entry);
// A tree's item of that text, at any depth (null when none).
HTREEITEM ZQFindTreeItem(HWND tree, const std::wstring& text);

// A modal dialog a page's button opens, driven as a user does: the button (named as on the page) is
// pressed, or "LABEL=ENTRY" the list's entry that opens it (a tree pop-up's "More...") chosen; once the dialog shows, the choices are made in it as on a page, its picture is saved and
// it is closed with its button of that text (with Cancel when a choice could not be made, so that
// the dialog keeps nothing). Returns when the dialog has closed; false when the button is out of
// reach. `seen` tells what happened.
struct ZQDialogSteps {
    std::vector<std::pair<std::wstring, std::wstring>> choices;  // label, entry
    // Looks at the dialog as it stands after the choices, before its picture (may be empty).
    std::function<void(HWND)> inspect;
    std::wstring screenshot;
    std::wstring close = L"OK";
};
struct ZQDialogSeen {
    bool shown = false;
    bool chosen = false;  // every choice was made
    std::wstring unmatched;  // else the first choice that could not be, "LABEL=ENTRY"
    bool saved = false;   // the picture was written
    bool closed = false;  // the closing button was pressed
    std::wstring title;
};
bool ZQPressForDialog(HWND page, const std::wstring& button, const ZQDialogSteps& steps, ZQDialogSeen& seen);
// The window whose dialog a press is still waiting for (ZQPressForDialog before its dialog shows);
// null otherwise. Whatever answers message boxes meanwhile leaves that dialog alone.
HWND ZQAwaitedDialogOwner();

// The GDI and USER objects this process holds: the system's counts (GetGuiResources), or where the
// system keeps none (Wine), the entries of the process's handle tables that still name an object.
struct ZQGuiObjects {
    DWORD gdi;
    DWORD user;
};
ZQGuiObjects ZQCountGuiObjects();
