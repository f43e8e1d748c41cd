// zqoemui.dll as another program calls its conversion interface on the desk sample printer, with
// the configuration-manager stand-in: a ticket into a devmode and that devmode back into a ticket,
// staged and in one call; tickets that cannot be opened, earlier runs and short devmodes; and the
// codes of the calls it refuses.
#include <gtest/gtest.h>
#include <windows.h>
#include <winddiui.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "cfgmgrtest.h"
#include "convtest.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqproc.h"

namespace {

namespace zc = zqcfgtest;
const std::wstring kDesk = zqhosttest::kDeskPrinter;

DEVMODEW* Dm(std::vector<BYTE>& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }

using zqconvtest::KeyExists;
using zqconvtest::RegText;
using zqconvtest::RunKey;

class ConversionInterface : public zqhosttest::SamplePrintersTest {
protected:
    // Another suite of the prefix may have taken the imported configuration away: it is imported
    // again, as the spooler's INITIALIZE event does at installation, so the exports name its features.
    static void SetUpTestSuite() {
        SamplePrintersTest::SetUpTestSuite();
        CZQModule driver = zqhosttest::DriverModule(kDesk);
        using PFN_PrinterEvent = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
        auto event = ZQGetProc<PFN_PrinterEvent>(driver.Get(), "DrvPrinterEvent");
        ASSERT_NE(nullptr, event);
        ASSERT_TRUE(event(const_cast<LPWSTR>(kDesk.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0));
    }
    void SetUp() override {
        zc::ResetStandIn();
        CZQRegKey key;
        const std::wstring printerKey = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + kDesk;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, printerKey.c_str(), 0, KEY_ALL_ACCESS, key.Put()) == ERROR_SUCCESS)
            for (const wchar_t* value : {L"AlwaysExport", L"ExportTicketLocation", L"OndrelExportRecord", L"Stale"})
                RegDeleteKeyValueW(key.Get(), L"PrinterDriverData", value);
        m_dll.Reset(LoadLibraryW(zqtest::BesideExe(L"zqoemui.dll").c_str()));
        ASSERT_TRUE(m_dll);
        ASSERT_TRUE(ZQLoadConvertApi(m_dll.Get(), m_api));
    }
    void TearDown() override { zc::ResetStandIn(); }

    static std::wstring Ticket(const wchar_t* name, const std::string& text = "") {
        const std::wstring path = zqtest::BesideExe(name);
        DeleteFileW(path.c_str());
        if (!text.empty()) {
            EXPECT_TRUE(zc::WriteFileText(path, text));
        }
        return path;
    }
    // The printer's devmode through its driver, asking for A4 paper in its public part.
    static std::vector<BYTE> A4Devmode() {
        CZQSpoolPrinter h = Open(kDesk);
        std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), kDesk);
        EXPECT_FALSE(dm.empty());
        if (dm.empty()) return dm;
        Dm(dm)->dmFields |= DM_PAPERSIZE;
        Dm(dm)->dmPaperSize = DMPAPER_A4;
        return dm;
    }
    // The driver took the devmode: its own part now says what the public part asked for.
    static std::string Paper(const std::vector<BYTE>& dm) { return zqhosttest::Selected(dm, "PaperSize"); }
    static bool Exported(const std::wstring& ticket, const std::string& line) {
        return zc::ReadFileText(ticket).find(line + "\r\n") != std::string::npos;
    }

    CZQModule m_dll;
    ZQConvertApi m_api{};
    const std::wstring m_dmc = zqtest::BesideExe(L"zqcfgmgr.dll");
    const std::string m_ticketText = "Printing/PaperSize=A4\nPrinting/Duplex=LongEdge\nPhysical/Memory=64MB\n";
};

TEST_F(ConversionInterface, RefusedCallsAnswerTheirCodes) {
    DWORD version = 0;
    EXPECT_EQ(16u, m_api.version(nullptr));
    EXPECT_EQ(0u, m_api.version(&version));
    EXPECT_EQ(2u, version);
    EXPECT_EQ(2u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), nullptr));

    // A manager that does not load, lacks entry points or refuses to register: 3, the GUID handed
    // out all the same.
    const struct {
        const char* what;
        std::wstring path;
        bool refuse;
    } managers[] = {{"no file", zqtest::BesideExe(L"nosuch.dll"), false},
                    {"not a manager", zqtest::BesideExe(L"zqwarnmod.dll"), false},
                    {"registration refused", m_dmc, true}};
    for (const auto& m : managers) {
        if (m.refuse) zc::SetSwitch(L"RegisterResult", static_cast<DWORD>(E_FAIL));
        GUID run = GUID_NULL;
        EXPECT_EQ(3u, m_api.initialize(kDesk.c_str(), m.path.c_str(), &run)) << m.what;
        EXPECT_FALSE(IsEqualGUID(run, GUID_NULL)) << m.what;
        EXPECT_EQ(0u, m_api.kill(run)) << m.what;
    }
    zc::ResetStandIn();

    const std::wstring ticket = Ticket(L"codes.tkt", m_ticketText);
    std::vector<BYTE> dm = A4Devmode();
    EXPECT_EQ(10u, m_api.convertTicketEx(nullptr, GUID_NULL)) << "the devmode is looked at first";
    EXPECT_EQ(9u, m_api.readTicket(1, ticket.c_str(), GUID_NULL));
    EXPECT_EQ(9u, m_api.convertTicketEx(Dm(dm), GUID_NULL));
    EXPECT_EQ(9u, m_api.convertDevModeEx(ticket.c_str(), Dm(dm), GUID_NULL));
    EXPECT_EQ(9u, m_api.kill(GUID_NULL));
    EXPECT_FALSE(KeyExists(RunKey(nullptr)));
    // Any other GUID names a run under its own key, also one this process never handed out and
    // one whose run has ended. (A devmode without the plug-in's part stops the calls at the tag.)
    DEVMODEW bare = *Dm(dm);
    bare.dmDriverExtra = 0;
    GUID ended = GUID_NULL;
    ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &ended));
    ASSERT_EQ(0u, m_api.kill(ended));
    const GUID foreign = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    for (const GUID& run : {foreign, ended}) {
        EXPECT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
        EXPECT_EQ(L"A4", RegText(RunKey(&run) + L"\\OndrelDriverData\\Printing\\OptItems", L"PaperSize"));
        EXPECT_EQ(12u, m_api.convertTicketEx(&bare, run));
        EXPECT_EQ(12u, m_api.convertDevModeEx(ticket.c_str(), &bare, run));
        EXPECT_EQ(0u, m_api.kill(run));
        EXPECT_FALSE(KeyExists(RunKey(&run)));
    }

    // No ticket is nothing to read, never the ticket read before; a devmode without the plug-in's
    // part has no tag record to carry the run.
    GUID run = GUID_NULL;
    ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run));
    ASSERT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
    EXPECT_EQ(5u, m_api.readTicket(1, nullptr, run));
    EXPECT_EQ(5u, m_api.readTicket(1, L"", run));
    EXPECT_EQ(12u, m_api.convertTicketEx(&bare, run));
    EXPECT_EQ(0u, m_api.kill(run));
}

// A ticket whose run flags or snapshot cannot be stored is refused and leaves no run behind, and
// the conversion after it opens no sheet that would wait for a user.
TEST_F(ConversionInterface, ARunThatCannotBeStoredIsRefused) {
    const std::wstring ticket = Ticket(L"stored.tkt", m_ticketText);
    for (const wchar_t* protectedKey : {L"", L"\\OndrelDriverData\\Printing\\OptItems"}) {
        SCOPED_TRACE(protectedKey);
        GUID run = GUID_NULL;
        ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run));
        ASSERT_TRUE(zqconvtest::ProtectKey(RunKey(&run) + protectedKey, *protectedKey != 0));
        EXPECT_EQ(5u, m_api.readTicket(1, ticket.c_str(), run));
        std::vector<BYTE> dm = A4Devmode();
        const std::vector<BYTE> before = dm;
        EXPECT_EQ(14u, m_api.convertTicketEx(Dm(dm), run));
        EXPECT_EQ(before, dm);
        EXPECT_EQ(0u, m_api.kill(run));
        EXPECT_EQ(L"-", RegText(RunKey(&run), L"ProcessingOndrel"));
        EXPECT_EQ(L"-", RegText(RunKey(&run) + L"\\OndrelDriverData\\Printing\\OptItems", L"Duplex"));
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(&run).c_str());
    }
}

// The dialogs of this process.
std::vector<HWND> Dialogs() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) {
            DWORD pid = 0;
            WCHAR cls[16] = {};
            GetWindowThreadProcessId(hWnd, &pid);
            if (pid == GetCurrentProcessId() && GetClassNameW(hWnd, cls, 16) && !wcscmp(cls, L"#32770"))
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Eight threads on both printers for some seconds, staged and in one call, each with a paper of its
// own, while another program's runs come and go beside theirs: each gets its own paper, none fails,
// and no sheet waits for a user.
TEST_F(ConversionInterface, ConcurrentRunsOnTwoPrintersEachGetTheirOwnSettings) {
    const struct {
        std::wstring printer;
        const char* papers[4];
    } printers[] = {{kDesk, {"A4", "LEGAL", "EXECUTIVE", "A5"}},
                    {zqhosttest::kRollPrinter, {"ISO_A3", "ISO_A4", "ISO_A2", "ANSI_D"}}};
    std::vector<BYTE> start[2];
    for (int p = 0; p < 2; ++p) {
        CZQSpoolPrinter h = Open(printers[p].printer);
        start[p] = ZQQueryDevmode(h.Get(), printers[p].printer);
        ASSERT_FALSE(start[p].empty());
    }
    constexpr int kThreads = 8;
    std::vector<std::string> got[kThreads];
    const DWORD until = GetTickCount() + 8000;
    {
        // Another program's runs come and go meanwhile. A sheet still open three looks two seconds
        // apart (one a run confirms at once is gone by then) waits for a user: counted, cancelled.
        std::atomic<bool> done{false};
        int waited = 0;
        std::thread other([&] {
            std::map<HWND, int> looks;
            for (DWORD looked = GetTickCount(); !done; Sleep(1)) {
                GUID run;
                CoCreateGuid(&run);
                CZQRegKey key;
                RegCreateKeyExW(HKEY_CURRENT_USER, RunKey(&run).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.Put(), nullptr);
                RegDeleteKeyW(HKEY_CURRENT_USER, RunKey(&run).c_str());
                if (GetTickCount() - looked < 2000) continue;
                looked = GetTickCount();
                std::map<HWND, int> now;
                for (HWND sheet : Dialogs())
                    if ((now[sheet] = looks[sheet] + 1) == 3) ++waited, PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                looks.swap(now);
            }
        });
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                const auto& printer = printers[t % 2];
                const wchar_t* name = printer.printer.c_str();
                const std::wstring ticket = Ticket((L"thread" + std::to_wstring(t) + L".tkt").c_str(),
                                                   std::string("Printing/PaperSize=") + printer.papers[t / 2] + "\n");
                for (int round = 0; round < 4 || static_cast<LONG>(until - GetTickCount()) > 0; ++round) {
                    std::vector<BYTE> dm = start[t % 2];
                    if (round % 2) {
                        m_api.convertTicket(name, ticket.c_str(), Dm(dm), m_dmc.c_str(), 1);
                    } else {
                        GUID run = GUID_NULL;
                        if (m_api.initialize(name, m_dmc.c_str(), &run) || m_api.readTicket(1, ticket.c_str(), run) ||
                            m_api.convertTicketEx(Dm(dm), run))
                            dm = start[t % 2];
                        m_api.kill(run);
                    }
                    got[t].push_back(Paper(dm));
                }
            });
        for (std::thread& t : threads) t.join();
        done = true;
        other.join();
        EXPECT_EQ(0, waited) << "sheets waited for a user";
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(std::vector<std::string>(got[t].size(), printers[t % 2].papers[t / 2]), got[t]) << "thread " << t;
}

// Staged: the ticket's snapshot under the run GUID's key, a fresh one for each ticket; the driver
// takes the devmode (twice: the tag is gone after each call); the devmode back into a ticket; and
// nothing left once the run is killed.
TEST_F(ConversionInterface, StagedFormConvertsATicketAndBack) {
    const std::wstring ticket = Ticket(L"staged.tkt", m_ticketText);
    const std::wstring smaller = Ticket(L"smaller.tkt", "Printing/Duplex=ShortEdge\n");
    const std::wstring back = Ticket(L"staged-back.tkt");
    GUID run = GUID_NULL;
    ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run));
    ASSERT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
    const std::wstring snapshot = RunKey(&run) + L"\\OndrelDriverData\\";
    EXPECT_EQ(L"A4", RegText(snapshot + L"Printing\\OptItems", L"PaperSize"));
    EXPECT_EQ(L"LongEdge", RegText(snapshot + L"Printing\\OptItems", L"Duplex"));
    EXPECT_EQ(L"64MB", RegText(snapshot + L"Physical", L"Memory"));
    ASSERT_EQ(0u, m_api.readTicket(1, smaller.c_str(), run));
    EXPECT_EQ(L"-", RegText(snapshot + L"Printing\\OptItems", L"PaperSize")) << "the earlier ticket's";
    EXPECT_EQ(L"ShortEdge", RegText(snapshot + L"Printing\\OptItems", L"Duplex"));

    std::vector<BYTE> dm = A4Devmode();
    EXPECT_EQ(0u, m_api.convertTicketEx(Dm(dm), run));
    EXPECT_EQ(0u, m_api.convertTicketEx(Dm(dm), run));
    EXPECT_EQ("A4", Paper(dm));
    EXPECT_EQ(0u, m_api.convertDevModeEx(back.c_str(), Dm(dm), run));
    EXPECT_TRUE(Exported(back, "Printing/PaperSize=A4"));
    EXPECT_EQ(0u, m_api.kill(run));
    EXPECT_FALSE(KeyExists(RunKey(&run)));

    const std::string log = zc::ReadFileText(L"c:\\tarnix.log");
    for (const char* line : {">  ReadTicket>>\r\n", ">  ConvertTicketEx<<\r\n", ">  ConvertDevmodeEx<<\r\n",
                             ">  KillConvertAPI <<\r\n"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

TEST_F(ConversionInterface, OneCallFormsConvertAndLeaveNothingBehind) {
    const std::wstring ticket = Ticket(L"onecall.tkt", m_ticketText);
    const std::wstring back = Ticket(L"onecall-back.tkt");
    std::vector<BYTE> dm = A4Devmode();
    m_api.convertTicket(kDesk.c_str(), ticket.c_str(), Dm(dm), m_dmc.c_str(), 1);
    EXPECT_EQ("A4", Paper(dm));
    EXPECT_FALSE(KeyExists(RunKey(nullptr)));
    m_api.convertDevmode(kDesk.c_str(), back.c_str(), Dm(dm), m_dmc.c_str(), 1);
    EXPECT_TRUE(Exported(back, "Printing/PaperSize=A4"));
    EXPECT_FALSE(KeyExists(RunKey(nullptr)));

    // An unreadable ticket leaves the devmode and the ticket as they were.
    std::vector<BYTE> letter = A4Devmode();
    Dm(letter)->dmPaperSize = DMPAPER_LETTER;
    const std::vector<BYTE> before = letter;
    m_api.convertTicket(kDesk.c_str(), Ticket(L"missing.tkt").c_str(), Dm(letter), m_dmc.c_str(), 1);
    EXPECT_EQ(before, letter);
    EXPECT_FALSE(KeyExists(RunKey(nullptr)));
}

// The ticket type is the caller's: any 32-bit value is handed through to the run key as its
// decimal text and the ticket converts, staged and in one call; only "2" asks for annotations.
TEST_F(ConversionInterface, EveryTicketTypeIsHandedThroughAsDecimalText) {
    const std::wstring ticket = Ticket(L"types.tkt", m_ticketText);
    const std::wstring back = Ticket(L"types-back.tkt");
    const struct {
        DWORD type;
        const wchar_t* text;
    } types[] = {{0, L"0"}, {1, L"1"}, {2, L"2"}, {7, L"7"}, {0xFFFFFFFFu, L"4294967295"}};
    for (const auto& t : types) {
        zc::ResetStandIn();
        GUID run = GUID_NULL;
        ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run)) << t.text;
        EXPECT_EQ(0u, m_api.readTicket(t.type, ticket.c_str(), run)) << t.text;
        EXPECT_EQ(t.text, RegText(RunKey(&run), L"TicketType"));
        EXPECT_EQ(L"A4", RegText(RunKey(&run) + L"\\OndrelDriverData\\Printing\\OptItems", L"PaperSize")) << t.text;
        std::vector<BYTE> dm = A4Devmode();
        Dm(dm)->dmPaperSize = DMPAPER_LETTER;
        EXPECT_EQ(0u, m_api.convertTicketEx(Dm(dm), run)) << t.text;
        EXPECT_EQ("A4", Paper(dm)) << t.text;
        bool annotated = false;
        for (const std::wstring& line : zc::Log()) annotated |= line.find(L"StartAnnotation") != std::wstring::npos;
        EXPECT_EQ(t.type == 2, annotated) << t.text;
        EXPECT_EQ(0u, m_api.kill(run)) << t.text;

        std::vector<BYTE> one = A4Devmode();
        Dm(one)->dmPaperSize = DMPAPER_LETTER;
        m_api.convertTicket(kDesk.c_str(), ticket.c_str(), Dm(one), m_dmc.c_str(), t.type);
        EXPECT_EQ("A4", Paper(one)) << t.text;
        m_api.convertDevmode(kDesk.c_str(), back.c_str(), Dm(one), m_dmc.c_str(), t.type);
        EXPECT_TRUE(Exported(back, "Printing/PaperSize=A4")) << t.text;
        DeleteFileW(back.c_str());
        EXPECT_FALSE(KeyExists(RunKey(nullptr))) << t.text;
    }
}

// A ticket that cannot be opened fails its read and leaves no snapshot of an earlier ticket to
// convert; the devmode comes back untouched and untagged. A devmode run before does not make a
// later ticket run export into its ticket. A devmode shorter than the driver's is not handed over.
TEST_F(ConversionInterface, UnreadableTicketsEarlierRunsAndShortDevmodesAreHandledSoundly) {
    const std::wstring ticket = Ticket(L"sound.tkt", m_ticketText);
    const std::wstring back = Ticket(L"sound-back.tkt");
    GUID run = GUID_NULL;
    ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run));
    ASSERT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
    EXPECT_EQ(5u, m_api.readTicket(1, Ticket(L"missing.tkt").c_str(), run));
    std::vector<BYTE> dm = A4Devmode();
    const std::vector<BYTE> before = dm;
    EXPECT_EQ(14u, m_api.convertTicketEx(Dm(dm), run));
    EXPECT_EQ(before, dm);

    ASSERT_EQ(0u, m_api.convertDevModeEx(back.c_str(), Dm(dm), run));
    const std::string text = zc::ReadFileText(ticket);
    zc::ResetStandIn();
    EXPECT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
    EXPECT_EQ(0u, m_api.convertTicketEx(Dm(dm), run));
    EXPECT_TRUE(zc::Calls(L"DMCStartExport").empty());
    EXPECT_EQ(text, zc::ReadFileText(ticket));

    std::vector<BYTE> shorter(dm.size() + 64, 0xAB);
    std::copy(dm.begin(), dm.end() - 64, shorter.begin());
    Dm(shorter)->dmDriverExtra -= 64;
    EXPECT_EQ(14u, m_api.convertTicketEx(Dm(shorter), run));
    EXPECT_EQ(std::vector<BYTE>(128, 0xAB), std::vector<BYTE>(shorter.end() - 128, shorter.end()));
    EXPECT_EQ(0u, m_api.kill(run));
}

// In annotation mode the ticket module named by the run hears the start, each item the driver's
// user interface applied from the snapshot with its own result (an item a rule of its own could
// not apply fails whatever came before it), and the end; the converted devmode carries the
// ticket's settings, not the devmode's own.
TEST_F(ConversionInterface, AnnotationModeReportsEachAppliedItemToTheTicketModule) {
    const std::wstring ticket = Ticket(L"annotate.tkt",
                                       "Printing/PaperSize=A4\nPrinting/Nonsense=Much\nPrinting/Blank=\n"
                                       "Printing/TargetSizeChoice=NoSuchPaper\n");
    GUID run = GUID_NULL;
    ASSERT_EQ(0u, m_api.initialize(kDesk.c_str(), m_dmc.c_str(), &run));
    ASSERT_EQ(0u, m_api.readTicket(1, ticket.c_str(), run));
    const std::wstring key = RunKey(&run);
    // An empty item is stored, but nothing is applied or reported for it.
    ASSERT_EQ(L"", RegText(key + L"\\OndrelDriverData\\Printing\\OptItems", L"Blank"));
    for (const auto& [name, text] : {std::pair<const wchar_t*, std::wstring>{L"TicketType", L"2"},
                                     {L"TicketManager", m_dmc}, {L"PrinterName", kDesk}, {L"TicketPath", ticket}})
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    zc::ResetStandIn();
    CZQSpoolPrinter h = Open(kDesk);
    std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), kDesk);
    ASSERT_EQ("LETTER", Paper(dm));
    EXPECT_EQ(0u, m_api.convertTicketEx(Dm(dm), run));
    EXPECT_EQ("A4", Paper(dm));

    std::vector<std::wstring> annotation;
    for (const std::wstring& line : zc::Log())
        if (line.find(L"Annotat") != std::wstring::npos) annotation.push_back(line);
    const std::wstring start = L"StartAnnotation(\"" + ticket + L"\", \"" + kDesk + L"\") = 0";
    const std::wstring end = L"EndAnnotation(\"" + ticket + L"\") = 0";
    // The items come in the registry's order.
    if (annotation.size() > 2) std::sort(annotation.begin() + 1, annotation.end() - 1);
    EXPECT_EQ((std::vector<std::wstring>{start, L"Annotate(\"Nonsense\", \"Much\", -1)",
                                         L"Annotate(\"PaperSize\", \"A4\", 0)",
                                         L"Annotate(\"TargetSizeChoice\", \"NoSuchPaper\", -1)", end}),
              annotation);
    EXPECT_EQ(0u, m_api.kill(run));
}

}  // namespace
