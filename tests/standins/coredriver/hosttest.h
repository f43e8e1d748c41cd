// Helpers of the host tests: test environment variables, the recording plug-in's log, models.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "zqhostapp.h"
#include "zqhostdm.h"
#include "zqmodel.h"
#include "zqprinter.h"
#include "zqsamplenames.h"

namespace zqhosttest {

// Sets an environment variable for the life of the object (the plug-ins run in this process).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
};

// A fresh log file for the recording plug-in, named in ZQREC_LOG while the object lives.
class RecorderLog {
public:
    RecorderLog();
    ~RecorderLog();
    RecorderLog(const RecorderLog&) = delete;
    RecorderLog& operator=(const RecorderLog&) = delete;
    std::vector<std::string> Lines() const;
    void Clear() const;
    bool Contains(const std::string& line) const;

private:
    std::string m_path;
    ScopedEnv* m_env = nullptr;
};

// Installs both sample printers with the core driver stand-in and the plug-in beside the test
// executable (a printer installed before gets the driver files again and keeps its settings).
void InstallSamplePrinters();
// A printer of Wine's spooler opened with all access.
CZQSpoolPrinter OpenFully(const std::wstring& name);

// A suite that works on both sample printers, installed once for the suite.
class SamplePrintersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallSamplePrinters(); }
    static CZQSpoolPrinter Open(const std::wstring& name) { return OpenFully(name); }
};
// The printer's level-3 driver information (DRIVER_INFO_3W at the start), empty on failure.
std::vector<BYTE> DriverInfo(const std::wstring& name);
// The installed driver's configuration file (the core driver stand-in), loaded.
CZQModule DriverModule(const std::wstring& name);
// The driver's own default devmode (DrvConvertDevMode), whatever the printer has stored.
std::vector<BYTE> DriverDefault(const std::wstring& name);
// The printer back at the driver's default devmode and the default device settings.
void ResetToDefaults(const std::wstring& name);
// A device answer of the printer's answer store under the current user (null: the answer goes).
void PutAnswer(HANDLE hPrinter, const wchar_t* name, const wchar_t* text);

// A model file beside the test executable (bin\hostdata, bin\samples).
zqmodel::Model LoadModel(const wchar_t* relativePath);
// The option item of a feature keyword, or null.
POPTITEM FindItem(POPTITEM items, DWORD count, const char* keyword);

// The core driver stand-in's page of a sheet, driven as a user does (zqhostapp.h).
inline HWND CurrentPage(HWND sheet) { return ZQCurrentPage(sheet); }
inline int RowOf(HWND page, const std::wstring& name, bool last = false) { return ZQRowOf(page, name, last); }
inline std::wstring RowValue(HWND page, const std::wstring& name, bool last = false) {
    return ZQRowValue(page, name, last);
}
inline bool SelectRow(HWND page, const std::wstring& name, bool last = false) { return ZQSelectRow(page, name, last); }
inline std::vector<std::wstring> ComboEntries(HWND page) { return ZQComboEntries(page); }
// The page's line about the plug-in's binding ("... 3 own items.").
std::wstring PluginStatus(HWND page);
inline bool Choose(HWND page, const std::wstring& row, const std::wstring& option, bool last = false) {
    return ZQChoose(page, row, option, last);
}

// The window of the application that opens the sheets: visible, and brought to the front on
// request, as when a user prints from it. Destroyed with the object.
class AppWindow {
public:
    AppWindow();
    ~AppWindow() { Close(); }
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;
    HWND Get() const { return m_hwnd; }
    void Front() const;
    void Close();

private:
    HWND m_hwnd = nullptr;
};

// Message boxes this thread shows while the object lives, found as windows by a thread timer (they
// run their own message loop, as the sheets do) and answered in place of the user: with the given
// answers in order, IDOK once they run out. Each box is recorded as it was shown.
struct SeenBox {
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // the ids of its push buttons (IDOK, IDCANCEL, ...)
};
class BoxAnswers {
public:
    explicit BoxAnswers(std::vector<int> answers = {});
    ~BoxAnswers();
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;
    const std::vector<SeenBox>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Answer(HWND box);
    UINT_PTR m_timer = 0;
    std::vector<int> m_answers;
    std::vector<SeenBox> m_boxes;
};

// A devmode of the core driver stand-in: its private part, a feature's selected option there, and
// the plug-in's block (null when it has none).
zqhostdm::ParsedPrivate Private(const std::vector<BYTE>& dm);
std::string Selected(const std::vector<BYTE>& dm, const std::string& feature);
const BYTE* OemBlock(const std::vector<BYTE>& dm);

// The printer's Printing Preferences with `hook` run on its page of that title, then OK; the devmode
// the sheet returned.
std::vector<BYTE> PreferencesOnPage(const std::wstring& printer, const std::wstring& title,
                                    const std::function<void(HWND)>& hook);

}  // namespace zqhosttest
