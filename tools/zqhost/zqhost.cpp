// zqhost: drives the plug-in and the sample printers the way their callers do.
//   zqhost report [dll]                  load the plug-in as the core driver does and report its binding
//   zqhost install <model> [--name N] [--port P]
//                                        install a sample printer with the core driver stand-in (on
//                                        the spooler's port P, "FILE:" unless given)
//   zqhost prefs <printer> [options]     Printing Preferences; on OK the printer's new default devmode
//   zqhost props <printer> [options]     Printer Properties (device settings)
//   zqhost summary <printer>             the printer's default devmode
//   zqhost answers <printer>             the printer's device answers (what Update Now stored)
//   zqhost quicksets <printer>           the printer's stored quick sets as the plug-in reads them:
//                                        index, name, flags and pairs; refused values named
//   zqhost shortcuts <printer> [--add <name> <type>]
//                                        the printer's stored printing shortcuts as the plug-in reads
//                                        them (after storing one based on the document type <type>,
//                                        one of those its Printing Shortcuts page lists)
//   zqhost preview <file.png> [name=value]...
//                                        the pages' sample page of a preview record (the fields not
//                                        given as the preview starts), saved as a picture
//   zqhost samplefonts <folder>          writes the sample printer fonts' metrics files there
//   zqhost fonts <printer> [options]     the font installer of the device settings
//   zqhost convert <printer> <ticket> [--devmode FILE] [--out TICKET]
//                                        a ticket converted into a devmode of the printer through
//                                        the plug-in's conversion interface (saved to FILE and
//                                        described), and that devmode converted back into TICKET
// options: --ok-after MS (press OK by itself; the options below act just before it, and need it; the
//          sheet's own OK pressed first is an OK too),
//          --screenshot FILE.png (picture of the sheet before OK),
//          --page TITLE (bring the page with that tab title to the front first; repeatable: the
//          pages come to the front in turn, each with the choices that follow it),
//          --show NAME (select the last setting of that name in the core driver's list first,
//          before a press: its push button is pressed with --press "#1007"),
//          --choose LABEL=ENTRY (a user's choice on the page in front, repeatable, made before the
//          picture: a setting and its option in the core driver's list, or on the plug-in's pages
//          a list's entry by the label beside it, "on"/"off" for a check box or radio button by its
//          text, "click" for another button (the sample page's), a slider's position by its label,
//          an edit's text by its label; "#ID" names a control by its id),
//          --press BUTTON (after the choices, a button of the page in front that opens a dialog, or
//          LABEL=ENTRY, a list's entry that opens one), --in-dialog LABEL=ENTRY (a choice in that
//          dialog, repeatable; a tree's item by its text, "click" for a button inside it), --dialog-screenshot
//          FILE.png (its picture), --dialog-close TEXT (the button that closes it, "OK" unless given),
//          --device-servers (the maker's device servers the driver carries registered while the
//          sheet is open, as the maker's installer leaves them), --scroll-down N (after the choices,
//          N clicks on the down arrow of the page's own scrolled strip, the alert strip)
// fonts:   --folder DIR (typed and scanned), --add NAME / --remove NAME (repeatable, "*" every
//          one), --screenshot FILE.png (the installer before it closes), --cancel (else OK)
// The commands that open windows (install, prefs, props, fonts, preview, convert) need a display.
// A failure ends the command with a message and exit code 1 (2 for a usage error); a sheet then
// closes with Cancel, so that nothing of it is stored.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <cwchar>
#include <string>
#include <vector>

#include <msxml.h>

#include "zqowner.h"
#include "zqproc.h"
#include "zqhostapp.h"
#include "zqpreviewcmd.h"
#include "zqhostpage.h"
#include "zqinstall.h"
#include "zqfontgen.h"
#include "zqoemcontract.h"
#include "zqplugin.h"
#include "zqprinter.h"

namespace {


int Fail(const wchar_t* what, HRESULT hr) {
    wprintf(L"FAIL  %ls (0x%08lX)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

// Wine makes no top-level window without a display, and a sheet then closes at once as if
// cancelled: the commands that open windows check first.
bool HaveDisplay() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return true;
}

int NoDisplay(const std::wstring& command) {
    wprintf(L"FAIL  no display: \"%ls\" opens windows, and Wine could make none. Start a virtual display\n"
            L"      and name it in DISPLAY, as the main job does:\n"
            L"        Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp &  export DISPLAY=:99\n",
            command.c_str());
    return 1;
}

// The printer opened, or a sentence that names it.
bool OpenNamedPrinter(const std::wstring& printer, CZQSpoolPrinter& h, PRINTER_DEFAULTSW* defaults = nullptr) {
    if (OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), h.Put(), defaults)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_INVALID_PRINTER_NAME)
        wprintf(L"FAIL  there is no printer \"%ls\" in this Wine prefix (%ls); \"zqhost install\" adds one\n",
                printer.c_str(), _wgetenv(L"WINEPREFIX") ? _wgetenv(L"WINEPREFIX") : L"the default one");
    else
        wprintf(L"FAIL  the printer \"%ls\" cannot be opened (0x%08lX)\n", printer.c_str(),
                static_cast<unsigned long>(HRESULT_FROM_WIN32(error)));
    return false;
}

int Report(const wchar_t* dllPath) {
    // Bound as the core driver binds it, without a printer.
    CZQPluginBinding plugin;
    if (!plugin.BLoad(dllPath)) return Fail(L"load and create the OEM UI class", HRESULT_FROM_WIN32(GetLastError()));
    wprintf(L"ok    loaded %ls\n", dllPath);
    wprintf(plugin.HasUI2() ? L"ok    IPrintOemUI2 bound\n" : L"ok    IPrintOemUI bound (no IPrintOemUI2)\n");

    DWORD value = 0, needed = 0;
    int rc = 0;
    if (SUCCEEDED(plugin.GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed))) {
        char sig[5] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                       static_cast<char>(value), 0};
        wprintf(L"ok    signature \"%hs\"\n", sig);
    } else {
        rc = Fail(L"GetInfo(signature)", E_FAIL);
    }
    if (SUCCEEDED(plugin.GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed)))
        wprintf(L"ok    version 0x%08lX\n", static_cast<unsigned long>(value));
    else
        rc = Fail(L"GetInfo(version)", E_FAIL);

    OEMDMPARAM param = {};
    param.cbSize = sizeof param;
    if (FAILED(plugin.DevMode(OEMDM_SIZE, &param))) {
        rc = Fail(L"DevMode(size)", E_FAIL);
    } else {
        wprintf(L"ok    private devmode %lu bytes\n", static_cast<unsigned long>(param.cbBufSize));
        std::vector<BYTE> block(param.cbBufSize);
        DEVMODEW pub = {};
        pub.dmSize = sizeof pub;
        param.pPublicDMIn = &pub;
        param.pOEMDMOut = block.data();
        if (block.size() >= sizeof(OEM_DMEXTRAHEADER) && SUCCEEDED(plugin.DevMode(OEMDM_DEFAULT, &param))) {
            OEM_DMEXTRAHEADER h;
            memcpy(&h, block.data(), sizeof h);
            wprintf(L"ok    defaults: header size %lu, signature 0x%08lX, version 0x%08lX\n",
                    static_cast<unsigned long>(h.dwSize), static_cast<unsigned long>(h.dwSignature),
                    static_cast<unsigned long>(h.dwVersion));
        } else {
            rc = Fail(L"DevMode(default)", E_FAIL);
        }
    }
    plugin.VRelease();
    wprintf(rc == 0 ? L"plug-in binding: ok\n" : L"plug-in binding: FAILED\n");
    return rc;
}

std::wstring ExeDir() {
    WCHAR path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n < MAX_PATH ? n : 0);
    size_t slash = s.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : s.substr(0, slash);
}

int Install(const std::wstring& model, const std::wstring& name, const std::wstring& port) {
    WCHAR full[MAX_PATH] = {};
    if (!GetFullPathNameW(model.c_str(), MAX_PATH, full, nullptr)) return Fail(L"model path", E_INVALIDARG);
    ZQInstallResult result;
    if (!ZQInstallPrinter(full, ExeDir(), name, result, port)) {
        wprintf(L"FAIL  install: %ls\n", result.error.c_str());
        return 1;
    }
    for (const auto& f : result.skipped) wprintf(L"note  %ls was not built: not installed\n", f.c_str());
    wprintf(L"ok    printer \"%ls\" with driver \"%ls\" (%zu files)\n", result.printerName.c_str(),
            result.driverName.c_str(), result.copied.size());
    wprintf(result.added ? L"ok    new printer: the printer event INITIALIZE ran\n"
                         : L"ok    installed already: its driver files refreshed, its settings kept\n");
    return 0;
}

// A page brought to the front (none: the page in front) and the choices made on it.
struct PageStep {
    std::wstring page;
    std::vector<std::wstring> choices;
};

struct SheetOptions {
    UINT okAfter = 0;
    std::wstring screenshot;
    std::vector<PageStep> steps = {PageStep{}};
    std::wstring show;
    std::wstring press;
    ZQDialogSteps dialog;
    ZQFontSteps fonts;
    std::wstring devmodeFile;
    std::wstring ticketOut;
    bool deviceServers = false;
    int scrollDown = 0;
    // An option that acts on the sheet before the automatic OK was given.
    bool drives = false;
};

// LABEL=ENTRY, or false.
bool SplitChoice(const std::wstring& choice, std::wstring& label, std::wstring& entry) {
    const size_t eq = choice.find(L'=');
    if (eq == std::wstring::npos) return false;
    label = choice.substr(0, eq);
    entry = choice.substr(eq + 1);
    return true;
}

// A number of milliseconds from 1 that a timer takes, all digits; else false.
bool OkAfter(const std::wstring& text, UINT* pMs) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of(L"0123456789") != std::wstring::npos) return false;
    *pMs = static_cast<UINT>(std::stoul(text));
    return *pMs > 0;
}

std::wstring Joined(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const std::wstring& text : texts) joined += (joined.empty() ? L"\"" : L", \"") + text + L"\"";
    return joined.empty() ? L"none" : joined;
}

// The dialog a button of the page in front opens, driven and closed; the failure, or empty.
std::wstring DriveDialog(HWND sheet, const SheetOptions& o) {
    ZQDialogSeen seen;
    if (!ZQPressForDialog(ZQCurrentPage(sheet), o.press, o.dialog, seen))
        return L"no button \"" + o.press + L"\" on the page in front";
    if (!seen.shown) return L"\"" + o.press + L"\" opened no dialog";
    wprintf(L"ok    dialog \"%ls\"\n", seen.title.c_str());
    if (!seen.chosen) return L"no choice \"" + seen.unmatched + L"\" in the dialog \"" + seen.title + L"\" (closed with Cancel)";
    if (!o.dialog.screenshot.empty() && !seen.saved) return L"the dialog's picture " + o.dialog.screenshot + L" not written";
    if (!o.dialog.screenshot.empty()) wprintf(L"ok    screenshot %ls\n", o.dialog.screenshot.c_str());
    wprintf(seen.closed ? L"ok    closed with %ls\n" : L"note  no button %ls: closed as its close box does\n",
            o.dialog.close.c_str());
    return {};
}

// Selects the last row of the core driver's list with that setting name, with the list's end in
// view (the plug-in's own items follow the driver's); the failure, or empty.
std::wstring ShowSetting(HWND sheet, const std::wstring& name) {
    HWND page = ZQCurrentPage(sheet);
    HWND list = page ? GetDlgItem(page, kZQIdList) : nullptr;
    const int found = list ? ZQRowOf(page, name, true) : -1;
    if (found < 0) return L"no setting \"" + name + L"\" in the core driver's list";
    ListView_EnsureVisible(list, ListView_GetItemCount(list) - 1, FALSE);
    ZQSelectRow(page, name, true);
    ListView_EnsureVisible(list, found, FALSE);
    UpdateWindow(sheet);
    return {};
}

// Makes the choices "Label=Entry" on the page in front as a user would, each one reconciled by the
// driver and the plug-in before the next; the first that cannot be made, or empty.
std::wstring MakeChoices(HWND sheet, const std::vector<std::wstring>& choices) {
    HWND page = ZQCurrentPage(sheet);
    // The core driver's own page lists its settings in a list view; the plug-in's pages have labelled
    // controls (one may carry the list's id).
    WCHAR cls[64] = {};
    HWND list = page ? GetDlgItem(page, kZQIdList) : nullptr;
    const bool corePage = list && GetClassNameW(list, cls, 64) && lstrcmpiW(cls, WC_LISTVIEWW) == 0;
    for (const std::wstring& choice : choices) {
        std::wstring label, entry;
        SplitChoice(choice, label, entry);
        if (corePage ? ZQChoose(page, label, entry) : ZQChooseOnPage(page, label, entry)) {
            wprintf(L"ok    chose %ls\n", choice.c_str());
            continue;
        }
        // Which half is not there.
        if (corePage)
            return ZQRowOf(page, label) < 0 ? L"no setting \"" + label + L"\" in the core driver's list"
                                            : L"no option \"" + entry + L"\" of \"" + label + L"\"";
        if (ZQFindPageControl(page, label)) return L"\"" + entry + L"\" cannot be chosen in \"" + label + L"\"";
        if (ZQFindGreyedControl(page, label))
            return L"\"" + label + L"\" is greyed on the page in front: unavailable with the settings chosen, so \"" +
                   entry + L"\" cannot be chosen";
        return L"no control \"" + label + L"\" within reach on the page in front";
    }
    UpdateWindow(sheet);
    return {};
}

// Clicks on the down arrow of the scrolled strip of the page in front: its child with a vertical
// scroll bar of a class of the plug-in's own (the alert strip); the failure, or empty.
std::wstring ScrollStrip(HWND sheet, int clicks) {
    HWND page = ZQCurrentPage(sheet);
    for (HWND child = page ? GetWindow(page, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR cls[64] = {};
        GetClassNameW(child, cls, 64);
        bool system = false;
        for (const wchar_t* name : {L"ComboBox", L"ListBox", L"Edit", L"ScrollBar", WC_TREEVIEWW, WC_LISTVIEWW})
            system = system || lstrcmpiW(cls, name) == 0;
        if (system || !IsWindowVisible(child) || !(GetWindowLongPtrW(child, GWL_STYLE) & WS_VSCROLL)) continue;
        for (int i = 0; i < clicks; ++i) {
            SendMessageW(child, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
            SendMessageW(child, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        }
        wprintf(L"ok    scrolled down %d\n", clicks);
        return {};
    }
    return L"no scrolled strip on the page in front";
}

// What the automatic OK found: the picture written, or the step that failed (the sheet is cancelled).
struct SheetRun {
    bool saved = false;
    std::wstring failure;
};

// The steps run just before the automatic OK, which becomes Cancel at the first that fails.
std::function<void(HWND)> BeforeOk(const SheetOptions& o, SheetRun& run, std::unique_ptr<CZQAutoPress>& press) {
    return [&o, &run, &press](HWND sheet) {
        for (const PageStep& step : o.steps) {
            if (!step.page.empty() && !ZQShowPage(sheet, step.page)) {
                run.failure = L"no page \"" + step.page + L"\" in the sheet; its pages: " + Joined(ZQPageTitles(sheet));
                break;
            }
            if (!step.page.empty()) wprintf(L"ok    page %ls\n", step.page.c_str());
            if (!(run.failure = MakeChoices(sheet, step.choices)).empty()) break;
        }
        // The setting shown first: a push item's button in the core driver's list is the one pressed.
        if (run.failure.empty() && !o.show.empty()) run.failure = ShowSetting(sheet, o.show);
        if (run.failure.empty() && !o.press.empty()) run.failure = DriveDialog(sheet, o);
        if (run.failure.empty() && o.scrollDown > 0) run.failure = ScrollStrip(sheet, o.scrollDown);
        if (run.failure.empty() && !o.screenshot.empty()) {
            run.saved = ZQSaveWindowPng(sheet, o.screenshot) != FALSE;
            if (run.saved) wprintf(L"ok    screenshot %ls\n", o.screenshot.c_str());
            else run.failure = L"the picture " + o.screenshot + L" not written";
        }
        if (!run.failure.empty()) press->PressCancel();
    };
}

// The sheet opened by `open` with the options' steps and the automatic OK; `confirmed` tells from
// the sheet's result whether it closed with OK (null: the OK or Cancel the sheet was seen pressing
// tells). 0 (also when the user's own OK closed it first, a click or a program's message), or 1
// after saying what failed (the sheet then closed with Cancel).
int RunSheet(HANDLE hPrinter, const SheetOptions& o, const std::function<LONG()>& open,
             const std::function<bool(LONG)>& confirmed, LONG& rc) {
    SheetRun run;
    bool pressed = true, ownOk = false;
    {
        std::unique_ptr<CZQDeviceServers> servers;
        if (o.deviceServers) servers = std::make_unique<CZQDeviceServers>(hPrinter);
        std::unique_ptr<CZQAutoPress> press;
        if (o.okAfter) press.reset(new CZQAutoPress(o.okAfter, BeforeOk(o, run, press)));
        rc = open();
        pressed = !press || press->Pressed();
        ownOk = !pressed && (confirmed ? confirmed(rc) : press->ClosedWithOwnOk());
    }
    if (ownOk) {
        wprintf(o.drives ? L"note  the sheet was closed with its OK before the automatic one: the steps given were not made\n"
                         : L"ok    the sheet was closed with its OK before the automatic one\n");
        return 0;
    }
    if (!pressed) run.failure = L"the sheet was closed without OK before the automatic one, or never showed";
    if (run.failure.empty()) return 0;
    wprintf(L"FAIL  %ls\n      the sheet was cancelled: nothing of it is stored\n", run.failure.c_str());
    return 1;
}

// The printer's status module, whose strings name the pages (null when the driver has none).
CZQModule PageTitles(HANDLE hPrinter);

int Preferences(const std::wstring& printer, const SheetOptions& o) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    std::vector<BYTE> out;
    LONG rc = 0;
    if (RunSheet(h.Get(), o, [&] { return ZQOpenPreferences(h.Get(), printer, nullptr, out); },
                 [&](LONG result) { return result == IDOK && !out.empty(); }, rc))
        return 1;
    if (rc < 0) return Fail(L"DocumentProperties", static_cast<HRESULT>(rc));
    if (out.empty()) {
        wprintf(L"ok    Printing Preferences closed without OK\n");
        return 0;
    }
    if (!ZQStoreDefaultDevmode(h.Get(), out)) return Fail(L"storing the default devmode", HRESULT_FROM_WIN32(GetLastError()));
    wprintf(L"ok    Printing Preferences: OK, stored as the printer's default devmode\n");
    wprintf(L"%ls", ZQDescribeDevmode(out.data(), out.size(), PageTitles(h.Get()).Get()).c_str());
    return 0;
}

int Properties(const std::wstring& printer, const SheetOptions& o) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    LONG rc = 0;
    // Wine's common property sheet answers OK whichever button closed it.
    if (RunSheet(h.Get(), o, [&] { return ZQOpenPrinterProperties(h.Get(), printer); }, nullptr, rc)) return 1;
    if (rc < 0) return Fail(L"CommonPropertySheetUI", static_cast<HRESULT>(rc));
    wprintf(L"ok    Printer Properties closed\n  device settings:");
    for (const auto& [key, value] : ZQReadDeviceSettings(h.Get()))
        wprintf(L" %ls=%ls", ZQWide(key).c_str(), ZQWide(value).c_str());
    wprintf(L"\n");
    return 0;
}

int Summary(const std::wstring& printer) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), printer);
    if (dm.empty()) return Fail(L"DocumentProperties", E_FAIL);
    wprintf(L"%ls", ZQDescribeDevmode(dm.data(), dm.size(), PageTitles(h.Get()).Get()).c_str());
    return 0;
}

int Answers(const std::wstring& printer) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    std::vector<ZQDeviceAnswer> answers;
    if (!ZQReadDeviceAnswers(h.Get(), answers)) {
        wprintf(L"ok    no device answers yet\n");
        return 0;
    }
    wprintf(L"ok    %zu device answers\n", answers.size());
    for (const ZQDeviceAnswer& answer : answers) wprintf(L"  %ls\n", ZQDescribeAnswer(answer).c_str());
    return 0;
}

int QuickSets(const std::wstring& printer) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    int nextIndex = 0;
    const std::vector<std::wstring> lines = ZQDescribeQuickSets(h.Get(), &nextIndex);
    wprintf(L"ok    %zu stored quick sets, next index %d\n", lines.size(), nextIndex);
    for (const std::wstring& line : lines) wprintf(L"  %ls\n", line.c_str());
    return 0;
}

// The printer's helper file: the file its model's "ZQXMLFileUsed" names, among the driver's files.
std::wstring HelperFile(HANDLE hPrinter) {
    ZQDriverInfo driver;
    zqmodel::Model model;
    std::wstring error;
    if (!ZQGetDriverInfo(hPrinter, driver) || !ZQLoadModel(driver.dataFile, model, error)) return {};
    const int feature = model.FindFeature("ZQXMLFileUsed");
    if (feature < 0) return {};
    const zqmodel::Feature& used = model.features[static_cast<size_t>(feature)];
    if (used.defaultOption < 0 || static_cast<size_t>(used.defaultOption) >= used.options.size()) return {};
    return driver.driverDir + L"\\" + ZQWide(used.options[static_cast<size_t>(used.defaultOption)].keyword);
}

// A child element's text, empty when there is none.
std::wstring ChildText(IXMLDOMNode* node, const wchar_t* child) {
    CZQComPtr<IXMLDOMNode> element;
    CZQBstr query(SysAllocString(child)), text;
    if (!query || node->selectSingleNode(query.Get(), element.Put()) != S_OK || !element ||
        element->get_text(text.Put()) != S_OK || !text)
        return {};
    return text.Get();
}

// COM on this thread while the object lives.
struct ComScope {
    const bool initialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ~ComScope() {
        if (initialized) CoUninitialize();
    }
};

// The document types of the printer's helper file as its Printing Shortcuts page lists them: each
// type's string of the status module, else its name. Empty when the file cannot be read.
std::vector<std::wstring> DocumentTypes(HANDLE hPrinter) {
    const std::wstring path = HelperFile(hPrinter);
    const CZQModule titles = PageTitles(hPrinter);
    const ComScope com;
    CZQComPtr<IXMLDOMDocument> document;
    CZQComPtr<IXMLDOMNodeList> list;
    CZQBstr file(SysAllocString(path.c_str())), query(SysAllocString(L"//helper/DocUISettings/DocSetting"));
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = file.Get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    std::vector<std::wstring> types;
    if (path.empty() || !file || !query ||
        FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                document.PutVoid())) ||
        FAILED(document->put_async(VARIANT_FALSE)) || document->load(source, &loaded) != S_OK ||
        document->selectNodes(query.Get(), list.Put()) != S_OK)
        return types;
    CZQComPtr<IXMLDOMNode> node;
    while (list->nextNode(node.Put()) == S_OK && node) {
        WCHAR label[256] = {};
        const int id = _wtoi(ChildText(node.Get(), L"resource_id").c_str());
        types.push_back(id > 0 && titles && LoadStringW(titles.Get(), static_cast<UINT>(id), label, 256) > 0
                            ? std::wstring(label)
                            : ChildText(node.Get(), L"name"));
    }
    return types;
}

void Usage();

int Shortcuts(const std::wstring& printer, const wchar_t* const* args, int count) {
    const bool add = count == 3 && wcscmp(args[0], L"--add") == 0;
    if (count != 0 && !add) {
        Usage();
        return 2;
    }
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, static_cast<ACCESS_MASK>(add ? PRINTER_ALL_ACCESS : PRINTER_ACCESS_USE)};
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h, &defaults)) return 1;
    if (add) {
        // A shortcut under a type the printer lacks is one its page never shows.
        const std::vector<std::wstring> types = DocumentTypes(h.Get());
        const auto type = std::find_if(types.begin(), types.end(),
                                       [&](const std::wstring& t) { return _wcsicmp(t.c_str(), args[2]) == 0; });
        if (type == types.end()) {
            wprintf(L"FAIL  \"%ls\" is not a document type of \"%ls\", whose Printing Shortcuts page lists %ls: "
                    L"nothing is stored\n",
                    args[2], printer.c_str(), Joined(types).c_str());
            return 1;
        }
        const DWORD rc = ZQAddShortcut(h.Get(), args[1], *type);
        if (rc != ERROR_SUCCESS) return Fail(L"SetPrinterDataEx", HRESULT_FROM_WIN32(rc));
        wprintf(L"ok    stored \"%ls\" under \"%ls\"\n", args[1], type->c_str());
    }
    const std::vector<std::wstring> lines = ZQDescribeShortcuts(h.Get());
    wprintf(L"ok    %zu stored printing shortcuts\n", lines.size());
    for (const std::wstring& line : lines) wprintf(L"  %ls\n", line.c_str());
    return 0;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Two made-up fonts in PCL: a proportional 12-point serif with kerning pairs and a fixed-pitch bold
// 10-point mono, listed as "ZQ Sample Serif 12pt" and "ZQ Sample Mono 10pt-Bd".
int SampleFonts(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    zqfontgen::PfmRecipe serif;
    serif.kernTable = true;
    serif.kernPairs = {{'V', 'A', -4}, {'A', 'V', -4}, {'T', 'o', -3}};
    zqfontgen::PfmRecipe mono;
    mono.face = "ZQ Sample Mono";
    mono.selection = "\x1B(s0p10h10v0s3b4099T";
    mono.variablePitch = false;
    mono.weight = 700;
    mono.pixWidth = 30;
    mono.avgWidth = mono.maxWidth = 30;
    const struct {
        const wchar_t* file;
        const zqfontgen::PfmRecipe& recipe;
    } fonts[] = {{L"zqserif.pfm", serif}, {L"zqmono.pfm", mono}};
    for (const auto& font : fonts) {
        const std::wstring path = folder + L"\\" + font.file;
        if (!WriteBytes(path, zqfontgen::BuildPfm(font.recipe))) return Fail(path.c_str(), HRESULT_FROM_WIN32(GetLastError()));
        wprintf(L"ok    %ls\n", path.c_str());
    }
    return 0;
}

void PrintList(const wchar_t* title, const std::vector<std::wstring>& names) {
    wprintf(L"  %ls:", title);
    for (const std::wstring& name : names) wprintf(L" \"%ls\"", name.c_str());
    wprintf(names.empty() ? L" none\n" : L"\n");
}

int Fonts(const std::wstring& printer, const SheetOptions& o) {
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    ZQFontSeen seen;
    const LONG rc = ZQRunFontInstaller(h.Get(), printer, o.fonts, seen);
    if (rc < 0) return Fail(L"CommonPropertySheetUI", static_cast<HRESULT>(rc));
    if (!seen.shown) {
        wprintf(L"FAIL  the device settings showed no font installer\n");
        return 1;
    }
    if (!seen.missing.empty()) {
        wprintf(L"FAIL  no font \"%ls\" in the installer's list: it was cancelled, nothing is installed or removed\n",
                seen.missing.c_str());
        return 1;
    }
    wprintf(L"ok    font installer closed with %ls\n", o.fonts.ok ? L"OK" : L"Cancel");
    PrintList(L"to be added", seen.toAdd);
    PrintList(L"installed", seen.installed);
    if (!o.fonts.screenshot.empty()) wprintf(seen.saved ? L"ok    screenshot %ls\n" : L"FAIL  screenshot %ls\n", o.fonts.screenshot.c_str());

    // The font file the core driver will read.
    WCHAR path[MAX_PATH] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"ExternalFontFile"), &type, reinterpret_cast<BYTE*>(path),
                        sizeof path - sizeof(WCHAR), &needed) != ERROR_SUCCESS) {
        wprintf(L"  no font file yet\n");
    } else {
        CZQHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD header[4] = {}, read = 0;
        if (file && ReadFile(file.Get(), header, sizeof header, &read, nullptr) && read == sizeof header)
            wprintf(L"  font file %ls: %lu font(s)\n", path, static_cast<unsigned long>(header[3]));
        else
            wprintf(L"  font file %ls cannot be read\n", path);
    }
    return (!o.fonts.screenshot.empty() && !seen.saved) ? 1 : 0;
}

// A file the printer's driver carries, else the one of the build.
std::wstring DriverFile(HANDLE hPrinter, const wchar_t* name) {
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed);
    if (needed && GetPrinterDriverW(hPrinter, nullptr, 3, buf.data(), needed, &needed)) {
        const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
        for (const wchar_t* f = di->pDependentFiles; f && *f; f += wcslen(f) + 1) {
            const wchar_t* slash = wcsrchr(f, L'\\');
            if (_wcsicmp(slash ? slash + 1 : f, name) == 0) return f;
        }
    }
    return ExeDir() + L"\\" + name;
}

CZQModule PageTitles(HANDLE hPrinter) {
    return CZQModule(LoadLibraryExW(DriverFile(hPrinter, L"zqcoremod.dll").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::string FileText(const std::wstring& path) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (file && ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read) text.append(chunk, read);
    return text;
}

// Why the plug-in could not read the ticket, in a sentence that names it.
std::wstring UnreadTicket(const std::wstring& ticket) {
    const std::wstring named = L"the ticket \"" + ticket + L"\" cannot be read: ";
    CZQHandle file(CreateFileW(ticket.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file) return named + L"the plug-in could not read it and store it whole";
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return named + L"there is no such file";
    return named + L"it cannot be opened (error " + std::to_wstring(error) + L")";
}

// What a code of the conversion interface means, as its callers are told.
std::wstring ConvertCodeMeaning(DWORD code) {
    switch (code) {
    case 2: return L"no place was given for the run's id";
    case 3: return L"the configuration manager could not be loaded, or would not register";
    case 4: return L"no run id could be made";
    case 5: return L"the ticket could not be read";
    case 9: return L"no run id was given";
    case 10: return L"no devmode was given";
    case 12: return L"the devmode has no room for the run's id (its private part holds no empty tag record)";
    case 13: return L"the run's id could not be cleared from the devmode after the driver's call";
    case 14:
        return L"the driver gave no devmode: its call failed, or the ticket held no setting it could be asked "
               L"for (neither a printing nor a device setting)";
    default: return L"a code the conversion interface does not give";
    }
}

// What a step's failure means for that ticket: why the ticket could not be read, or that it is empty.
std::wstring FailureMeaning(const std::wstring& step, DWORD code, const std::wstring& ticket) {
    if (step == L"ReadTicket" && code == 5) return UnreadTicket(ticket);
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (step == L"ConvertTicketEx" && code == 14 &&
        GetFileAttributesExW(ticket.c_str(), GetFileExInfoStandard, &file) && !file.nFileSizeLow && !file.nFileSizeHigh)
        return L"the ticket \"" + ticket + L"\" is empty: it holds no setting to convert into a devmode";
    return ConvertCodeMeaning(code);
}

int Convert(const std::wstring& printer, const std::wstring& ticket, const SheetOptions& o) {
    CZQModule dll(LoadLibraryW((ExeDir() + L"\\zqoemui.dll").c_str()));
    ZQConvertApi api;
    if (!ZQLoadConvertApi(dll.Get(), api))
        return Fail(L"the plug-in's conversion interface", HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    CZQSpoolPrinter h;
    if (!OpenNamedPrinter(printer, h)) return 1;
    std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), printer);
    if (dm.empty()) return Fail(L"DocumentProperties", E_FAIL);
    DWORD version = 0;
    api.version(&version);
    wprintf(L"ok    conversion interface version %lu\n", static_cast<unsigned long>(version));

    const std::wstring manager = DriverFile(h.Get(), L"zqcfgmgr.dll");
    GUID run = GUID_NULL;
    DWORD rc = api.initialize(printer.c_str(), manager.c_str(), &run);
    int result = 0;
    // A failure says its code and what it means.
    auto step = [&result, &ticket](const wchar_t* what, DWORD code) {
        if (!code) {
            wprintf(L"ok    %ls\n", what);
            return true;
        }
        wprintf(L"FAIL  %ls: %lu\n      %ls\n", what, static_cast<unsigned long>(code),
                FailureMeaning(what, code, ticket).c_str());
        result = 1;
        return false;
    };
    if (step(L"InitializeConvertAPI", rc) && step(L"ReadTicket", api.readTicket(1, ticket.c_str(), run)) &&
        step(L"ConvertTicketEx", api.convertTicketEx(reinterpret_cast<DEVMODEW*>(dm.data()), run))) {
        if (!o.devmodeFile.empty()) {
            if (WriteBytes(o.devmodeFile, std::vector<uint8_t>(dm.begin(), dm.end()))) wprintf(L"ok    devmode %ls\n", o.devmodeFile.c_str());
            else result = Fail(o.devmodeFile.c_str(), HRESULT_FROM_WIN32(GetLastError()));
        }
        wprintf(L"%ls", ZQDescribeDevmode(dm.data(), dm.size(), PageTitles(h.Get()).Get()).c_str());
        if (!o.ticketOut.empty() &&
            step(L"ConvertDevModeEx", api.convertDevModeEx(o.ticketOut.c_str(), reinterpret_cast<DEVMODEW*>(dm.data()), run)))
            wprintf(L"  ticket %ls:\n%hs", o.ticketOut.c_str(), FileText(o.ticketOut).c_str());
    }
    if (rc == 0) step(L"KillConvertAPI", api.kill(run));
    return result;
}

void Usage() {
    wprintf(L"usage: zqhost report [path-to-zqoemui.dll]\n"
            L"       zqhost install <model-file> [--name <printer>] [--port <port>]\n"
            L"       zqhost prefs <printer> [--ok-after <ms> [--screenshot <file.png>]\n"
            L"                    [[--page <title>] [--choose <label>=<entry>]...]... [--show <setting>]\n"
            L"                    [--press <button> [--in-dialog <label>=<entry>]... [--dialog-screenshot <file.png>]\n"
            L"                    [--dialog-close <button>]]] [--scroll-down <clicks>] [--device-servers]\n"
            L"       zqhost props <printer> (the options of prefs)\n"
            L"       zqhost summary <printer>\n"
            L"       zqhost answers <printer>\n"
            L"       zqhost quicksets <printer>\n"
            L"       zqhost shortcuts <printer> [--add <name> <type>]\n"
            L"       zqhost preview <file.png> [<name>=<value>]...\n"
            L"       zqhost samplefonts <folder>\n"
            L"       zqhost fonts <printer> [--folder <dir>] [--add <font>]... [--remove <font>]...\n"
            L"                    [--screenshot <file.png>] [--cancel]\n"
            L"       zqhost convert <printer> <ticket> [--devmode <file>] [--out <ticket>]\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Printer Properties open wherever this process asks for them, the plug-in's calls included.
    const CZQPrinterPropertiesSeam printerProperties;
    if (argc >= 2 && wcscmp(argv[1], L"report") == 0) return Report(argc >= 3 ? argv[2] : L"zqoemui.dll");
    if (argc < 3) {
        Usage();
        return 2;
    }
    const std::wstring command = argv[1], target = argv[2];
    std::wstring ticket;
    int first = 3;
    if (command == L"convert") {
        if (argc < 4) {
            Usage();
            return 2;
        }
        ticket = argv[3];
        first = 4;
    }
    for (const wchar_t* windows : {L"install", L"prefs", L"props", L"fonts", L"preview", L"convert"})
        if (command == windows && !HaveDisplay()) return NoDisplay(command);
    if (command == L"shortcuts") return Shortcuts(target, argv + 3, argc - 3);
    if (command == L"preview") return ZQPreviewPicture(ExeDir(), target, std::vector<std::wstring>(argv + 3, argv + argc));
    SheetOptions options;
    std::wstring name, port;
    for (int i = first; i < argc; ++i) {
        const std::wstring arg = argv[i];
        static const wchar_t* const kDriving[] = {L"--screenshot", L"--show", L"--page", L"--choose", L"--press",
                                                  L"--in-dialog", L"--dialog-screenshot", L"--dialog-close",
                                                  L"--scroll-down"};
        for (const wchar_t* driving : kDriving) options.drives = options.drives || arg == driving;
        std::wstring label, entry;
        if ((arg == L"--choose" || arg == L"--in-dialog") && i + 1 < argc && !SplitChoice(argv[i + 1], label, entry)) {
            wprintf(L"%ls takes <label>=<entry>, not \"%ls\"\n", arg.c_str(), argv[i + 1]);
            return 2;
        }
        if (arg == L"--ok-after" && i + 1 < argc && !OkAfter(argv[i + 1], &options.okAfter)) {
            wprintf(L"--ok-after takes a number of milliseconds from 1, not \"%ls\"\n", argv[i + 1]);
            return 2;
        }
        if (arg == L"--ok-after" && i + 1 < argc) ++i;
        else if (arg == L"--screenshot" && i + 1 < argc) options.screenshot = argv[++i];
        else if (arg == L"--show" && i + 1 < argc) options.show = argv[++i];
        else if (arg == L"--page" && i + 1 < argc) options.steps.push_back(PageStep{argv[++i], {}});
        else if (arg == L"--choose" && i + 1 < argc) options.steps.back().choices.push_back(argv[++i]);
        else if (arg == L"--press" && i + 1 < argc) options.press = argv[++i];
        else if (arg == L"--in-dialog" && i + 1 < argc) {
            SplitChoice(argv[++i], label, entry);
            options.dialog.choices.emplace_back(label, entry);
        } else if (arg == L"--dialog-screenshot" && i + 1 < argc) options.dialog.screenshot = argv[++i];
        else if (arg == L"--dialog-close" && i + 1 < argc) options.dialog.close = argv[++i];
        else if (arg == L"--name" && i + 1 < argc) name = argv[++i];
        else if (arg == L"--port" && i + 1 < argc) port = argv[++i];
        else if (arg == L"--device-servers") options.deviceServers = true;
        else if (arg == L"--scroll-down" && i + 1 < argc) options.scrollDown = _wtoi(argv[++i]);
        else if (arg == L"--folder" && i + 1 < argc) options.fonts.folder = argv[++i];
        else if (arg == L"--add" && i + 1 < argc) options.fonts.add.push_back(argv[++i]);
        else if (arg == L"--remove" && i + 1 < argc) options.fonts.remove.push_back(argv[++i]);
        else if (arg == L"--cancel") options.fonts.ok = false;
        else if (arg == L"--devmode" && i + 1 < argc) options.devmodeFile = argv[++i];
        else if (arg == L"--out" && i + 1 < argc) options.ticketOut = argv[++i];
        else {
            Usage();
            return 2;
        }
    }
    // The sheet's steps run just before the automatic OK: without it they would be left out unsaid.
    if ((command == L"prefs" || command == L"props") && options.drives && !options.okAfter) {
        wprintf(L"%ls: --page, --choose, --show, --press and --screenshot act just before the automatic OK: give "
                L"--ok-after <ms>\n",
                command.c_str());
        return 2;
    }
    if (command == L"install") return Install(target, name, port);
    if (command == L"prefs") return Preferences(target, options);
    if (command == L"props") return Properties(target, options);
    if (command == L"summary") return Summary(target);
    if (command == L"answers") return Answers(target);
    if (command == L"quicksets") return QuickSets(target);
    if (command == L"samplefonts") return SampleFonts(target);
    if (command == L"convert") return Convert(target, ticket, options);
    if (command == L"fonts") {
        options.fonts.screenshot = options.screenshot;
        return Fonts(target, options);
    }
    Usage();
    return 2;
}
