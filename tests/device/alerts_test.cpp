// The alert model's refresh against the registry and a scripted printer: the printer-care and
// paper-list checks, queues never queried, status objects that cannot be opened, the tray checks;
// and the texts an item shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "constrainttest.h"
#include "devicetest.h"
#include "device/zqalerts.h"
#include "zqcoremodrecord.h"
#include "zqdevrecord.h"

namespace {

constexpr const wchar_t* kPrinter = L"ZQ Alert Test Printer";
constexpr const wchar_t* kCareKey = L"Software\\Quorvane\\ZQ Mendrix";
constexpr const wchar_t* kUtilityKey = L"SOFTWARE\\Quorvane\\ZQ Tintora";
const std::wstring kPrinterKey = std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter;
const std::wstring kPaperListKey = kPrinterKey + L"\\PrinterDriverData\\PaperList";

// The tray definitions, and one that raises 6621 when object 1.4 answers 1.
const wchar_t kHelper[] =
    L"<device><software><component><name>Tarnix</name><helper><alerts_dmloids>"
    "<alerts_dmloid><alerts_dmlname>TRAYx-MEDIA-TYPE_LOADED</alerts_dmlname><alerts_oidvalue>1.1</alerts_oidvalue></alerts_dmloid>"
    "<alerts_dmloid><alerts_dmlname>TRAYx-CUSTOM-MEDIA-WIDTH</alerts_dmlname><alerts_oidvalue>1.2</alerts_oidvalue></alerts_dmloid>"
    "<alerts_dmloid><alerts_dmlname>TRAYx-CUSTOM-MEDIA-LENGTH</alerts_dmlname><alerts_oidvalue>1.3</alerts_oidvalue></alerts_dmloid>"
    "<alerts_dmloid><alerts_dmlname>TRAY-STATE</alerts_dmlname><alerts_oidvalue>1.4</alerts_oidvalue>"
    "<alerts_msg_list msg_suffix=\"none\"><alerts_msg set_val=\"1\" alert_msg_strid=\"6621\" severity=\"warning\"/>"
    "</alerts_msg_list></alerts_dmloid>"
    "</alerts_dmloids></helper></component></software></device>";

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
void SetNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

class AlertRefresh : public zqdevtest::ServerTest {
protected:
    void TearDown() override {
        Clean();
        ServerTest::TearDown();
    }
    static void Clean() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kCareKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUtilityKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPrinterKey.c_str());
    }
};

// Each row: the registry, the queue and the printer's answers, and the items they give.
TEST_F(AlertRefresh, FixedAlertsQueuesAndTrayChecks) {
    const std::wstring tool = L"C:\\Tools\\zqcare.exe";
    const std::wstring update = L"\"" + tool + L"\" \"" + kPrinter + L"\" \"de-CH\" \"update_papers\"";
    const std::string trays = "1.1 4 01 15 \"PLAIN\"\n1.2 2 le4:2159\n1.3 2 le4:2794\n1.4 1 01\n";
    enum Care { kNone, kActive, kPartial, kNumber };
    struct Row {
        const char* what;
        Care care;
        int updated;  // -1 missing, -2 as a text, else the number
        std::wstring utility;
        DWORD port;
        DWORD notRegistered;
        std::string script;
        const wchar_t* media;
        DWORD width, length;
        std::vector<std::wstring> items;
        bool queried;
    } rows[] = {
        {"a FILE: queue gets only the fixed alerts", kNone, -1, tool, 6, 0, trays, L"1000", 2100, 2970,
         {L"2:5933", L"4:5932:" + update}, false},
        {"so does a queue on a file path", kPartial, 0, L"", 8, 0, trays, L"1000", 2100, 2970, {L"2:5933", L"4:5932"}, false},
        {"status objects that cannot be made: 6006 first", kNone, -1, tool, 4, kZQDevChannelBit, trays, L"1000", 0, 0,
         {L"1:6006", L"2:5933", L"4:5932:" + update}, false},
        {"values of the wrong type count as missing; a line too long is none", kNumber, -2, std::wstring(1015, L'u'), 1,
         kZQDevListBit, trays, L"PLAIN", 0, 0, {L"1:6006", L"2:5933", L"4:5932"}, true},
        {"nothing raised: the tray checks do not run", kActive, 1, tool, 4, 0, "1.1 4 01 15 \"PLAIN\"\n", L"1000", 9999,
         9999, {}, true},
        {"other media and a larger paper", kActive, 1, tool, 4, 0, trays, L"1000", 2100, 2970,
         {L"2:6621", L"1:5925", L"1:5927"}, true},
        {"the same media in any case, and a paper that fits", kActive, 1, tool, 0, 0, trays, L"plain", 2159, 2794,
         {L"2:6621"}, true},
        {"a tray that does not answer raises no tray alert", kActive, 1, tool, 4, 0,
         "1.1 none\n1.2 2 le4:100\n1.3 none\n1.4 1 01\n", L"1000", 2100, 2970, {L"2:6621"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Clean();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        if (row.care == kActive) SetText(HKEY_LOCAL_MACHINE, kCareKey, L"Status", L"active");
        if (row.care == kPartial) SetText(HKEY_LOCAL_MACHINE, kCareKey, L"Status", L"ACT");
        if (row.care == kNumber) SetNumber(HKEY_LOCAL_MACHINE, kCareKey, L"Status", 1);
        if (row.updated >= 0) SetNumber(HKEY_LOCAL_MACHINE, kPaperListKey, L"IsUpdated", static_cast<DWORD>(row.updated));
        if (row.updated == -2) SetText(HKEY_LOCAL_MACHINE, kPaperListKey, L"IsUpdated", L"1");
        if (!row.utility.empty()) SetText(HKEY_LOCAL_MACHINE, kUtilityKey, L"RunCC", row.utility);
        zqdevtest::SetSwitch(L"NotRegistered", row.notRegistered);
        zqxmltest::TempFile script(row.script);
        zqdevtest::SetScript(kPrinter, script.Path());

        CZQAlerts alerts;
        ASSERT_TRUE(alerts.BLoad(zqxmltest::Parse(kHelper).Get()));
        StatusRecord mine;
        StatusRecord::BSetText(&mine.pszPrinterName, kPrinter);
        StatusRecord::BSetText(&mine.pszLocaleName, L"de-CH");
        StatusRecord::BSetText(&mine.pszMediaText, row.media);
        mine.dwPortKind = row.port;
        mine.dwPaperWidth = row.width;
        mine.dwPaperLength = row.length;
        EXPECT_TRUE(alerts.BRefresh(&mine));
        EXPECT_EQ(row.items, zqdevtest::Items(mine));
        EXPECT_EQ(nullptr, mine.pStatusObject);
        EXPECT_EQ(nullptr, mine.pRequest);
        bool opened = false;
        for (const std::wstring& line : zqdevtest::Log()) opened = opened || line.find(L"Open(") != std::wstring::npos;
        EXPECT_EQ(row.queried, opened);
    }
    CZQAlerts alerts;
    EXPECT_FALSE(alerts.BRefresh(nullptr));
    EXPECT_FALSE(alerts.BLoad(nullptr));
}

// What a row shows: the one-id text with the product name as its arguments, only "%s" replaced;
// several ids joined by "-" into the last one's text; ids without a text left out or skipped.
TEST(AlertText, OneIdSeveralIdsAndTheUnavailableOne) {
    zqcontest::CStatusTexts texts;
    struct Row {
        std::vector<LONG> ids;
        BOOL shown;
        std::wstring text;
    } rows[] = {
        {{6621}, TRUE, L"A paper tray is empty."},
        {{5933}, TRUE,
         L"Printer Care is not running, so some printer alerts may be missing. Start Printer Care to see them all."},
        {{ZQTEST_IDS_ALERT_FORMAT}, TRUE, L"Printer Care and Printer Care at 100% %d %s"},
        {{6601, 6602, 6600}, TRUE, L"The printer has stopped: a door is open-paper jam."},
        {{6601, 0, 9999, 6602, 6600}, TRUE, L"The printer has stopped: a door is open-paper jam."},
        {{9999, 6600}, TRUE, L"The printer has stopped: ."},
        {{-128}, TRUE, L"Status and Service unavailable.  Device may be offline or unreachable at this time."},
        {{6601, 9999}, FALSE, L""},
        {{0}, FALSE, L""},
        {{9999}, FALSE, L""},
        {{}, FALSE, L""},
    };
    for (const Row& row : rows) {
        StatusItem item;
        for (LONG id : row.ids) item.ids.BAppend(id);
        WCHAR text[1024];
        EXPECT_EQ(row.shown, ZQAlertItemText(item, texts.Loader(), text, 1024)) << row.ids.size();
        EXPECT_EQ(row.text, text);
    }
    // Without the status module only the fixed text shows.
    StatusItem one;
    one.ids.BAppend(6621);
    WCHAR text[16];
    EXPECT_FALSE(ZQAlertItemText(one, nullptr, text, 16));
    one.ids.VClear();
    one.ids.BAppend(-128);
    EXPECT_TRUE(ZQAlertItemText(one, nullptr, text, 16));
    EXPECT_EQ(std::wstring(L"Status and Serv"), text);
    for (DWORD severity : {0u, 1u, 2u, 3u, 4u, 5u}) EXPECT_EQ((std::vector<DWORD>{0, 1, 0, 3, 2, 0})[severity], ZQAlertKind(severity));
}

}  // namespace
