// The benchmark program's shared pieces: timing, the figures it prints and the two halves that
// measure (the host's side through the core driver stand-in, the rules' side inside the plug-in's
// code). Plain declarations only, so each half keeps its own headers.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zqbench {

// Microseconds on the performance counter.
double NowUs();

// Runs `once` `reps` times (after `warm` unmeasured runs) and keeps each run's time in µs; a run
// that returns a negative time reports its own measurement instead of the wall time. The stand-ins'
// call logs start empty before every run.
std::vector<double> Time(int reps, int warm, const std::function<double()>& once);

// Prints "<name>: median (min .. max) µs" and, with a baseline, the ratio of the medians.
void Report(const std::string& name, const std::vector<double>& runs, const std::vector<double>* baseline = nullptr,
            const std::string& baselineName = "");
double Median(std::vector<double> v);
// Empties the call logs of the stand-ins the sheets talk to.
void VResetStandInLogs();

// Opens Printing Preferences of the printer (its handle, name and starting devmode) on empty
// stand-in logs; once the sheet waits for the user, runs `inside` with the sheet's window and
// presses OK. The time from the call to the first moment the sheet's thread, the sheet shown, has
// nothing left to handle; negative when that moment was lost. Nothing watches the sheet's messages
// unless asked: `firstPaint`, when given, gets the time until the sheet's first paint message came
// (the sheet built, its painting begun); `everyPage` makes every page of the sheet as it is made, as a
// system that honours the pages' premature flag does (Wine's sheet makes a page when it is first
// shown): each page is brought to the front once before the sheet first paints, and the page it
// opened on comes back. Both watch the dialogs through a DialogWatch, no message hook.
double OpenUntilIdle(void* hPrinter, const std::wstring& name, const void* devmode,
                     const std::function<void(void*)>& inside = nullptr, double* firstPaint = nullptr,
                     bool everyPage = false);

// While one lives, the dialogs this process makes (a sheet and its pages) are watched on this
// thread through the dialog class's own window procedure: the first paint message of one, and a
// page of `sheet` getting its WM_INITDIALOG and returning from it; with `everyPage`, a sheet's dialog
// makes every page once it has handled its WM_INITDIALOG. Watches nest.
class DialogWatch {
public:
    explicit DialogWatch(bool bEveryPage = false);
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    const bool everyPage;
    void* sheet = nullptr;  // its window
    double painting = -1, initStart = -1, initDone = -1;  // NowUs() when they came

private:
    DialogWatch* m_previous;
    void* m_probe = nullptr;  // a dialog of the class, while the class has the watching procedure
};

// The folder of the program (the build's bin folder, where the plug-in and the samples lie).
std::wstring ExeDir();
std::string ReadFile(const std::wstring& path);
bool WriteFile(const std::wstring& path, const std::string& bytes);

// The sample printers the host's side and the pages use: the desk printer and its model without the
// plug-in (the core driver alone, written beside the samples), installed with the core driver stand-in.
inline constexpr wchar_t kDeskModel[] = L"\\samples\\zqdesk\\zqdesk.zqm";
inline constexpr wchar_t kCoreModel[] = L"\\samples\\zqdesk\\zqdesk-core.zqm";
// The roll printer, for the pages only it shows.
inline constexpr wchar_t kRollModel[] = L"\\samples\\zqroll\\zqroll.zqm";
// All installed (the core-only model written first) and opened; false, said on stderr, when one is
// not. The handles are closed when the record goes.
struct SamplePrinters {
    SamplePrinters() = default;
    SamplePrinters(const SamplePrinters&) = delete;
    SamplePrinters& operator=(const SamplePrinters&) = delete;
    ~SamplePrinters();
    std::wstring desk, core, roll;
    void* hDesk = nullptr;  // printer handles
    void* hCore = nullptr;
    void* hRoll = nullptr;
};
bool OpenSamplePrinters(SamplePrinters& printers);
// The desk printer's model written beside the samples under that file name and printer name, with
// its plug-in or without, with `extra` model text appended, and installed; false, said on stderr,
// when it is not.
bool InstallDeskVariant(const wchar_t* model, const std::string& name, bool plugIn, const std::string& extra,
                        std::wstring& printer);

// The host's side: a device-capabilities query with and without the plug-in, the devmode merge
// through COM.
int RunHost(int reps);
// The pages: the open until painted, tab switches, a choice, the core driver's calls they cost; a
// core feature change as the core driver's features grow; memory and objects over repeated opens.
// A part alone, or all of them.
enum class PagesPart { All, Changes, Memory };
int RunPages(int reps, PagesPart part);
// Printing Preferences of each sample printer opened against its core driver alone, and the
// printer-data calls of an opening (with listValues, each value read more than once and each written).
// StartCountingDataCalls comes first, before the plug-in is loaded.
void StartCountingDataCalls();
int RunOpen(int reps, bool listValues);
// The open part's ratios against openings nothing watches (neither a hook nor the dialogs' watch: the
// idle mark alone, which the opening does not see): non-zero when a printer's two ratios differ by
// more than 0.1x.
int RunCheck(int reps);
// A sampling profile of the bench's thread between start and stop, written as module offsets.
void ProfileStart();
void ProfileStop();
bool ProfileWrite(const std::wstring& path);
// The rules' side: helper-file loads, a feature change with macros and constraints, growth.
int RunRules(int reps);
// The conversion interface: conversions per second against the driver's own merge; with threads,
// a soak of that many threads converting for the given seconds.
int RunConvert(int reps, int threads, int seconds);

}  // namespace zqbench
