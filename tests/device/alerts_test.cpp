// The alert model's refresh against the registry and a scripted printer (the printer-care and
// paper-list checks, queues never queried, status objects that cannot be opened, the tray checks),
// and the text an item shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "constrainttest.h"
#include "devicetest.h"
#include "testsupport.h"
#include "device/zqalerts.h"
#include "zqcoremodrecord.h"
#include "zqdevrecord.h"

namespace {

constexpr const wchar_t* kPrinter = L"ZQ Alert Test Printer";
const std::wstring kCareKey = L"Software\\Quorvane\\ZQ Mendrix", kUtilityKey = L"SOFTWARE\\Quorvane\\ZQ Tintora";
const std::wstring kPrinterKey = std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter;

std::wstring Oid(const wchar_t* name, const wchar_t* id, const wchar_t* messages = L"") {
    return std::wstring(L"<alerts_dmloid><alerts_dmlname>") + name + L"</alerts_dmlname><alerts_oidvalue>" + id +
           L"</alerts_oidvalue>" + messages + L"</alerts_dmloid>";
}

// A text, or a number when the text is empty.
void Set(const std::wstring& key, const wchar_t* name, const std::wstring& text, DWORD number = 0) {
    if (text.empty())
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_DWORD, &number, sizeof number);
    else
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}

using AlertRefresh = zqdevtest::ServerTest;

TEST_F(AlertRefresh, FixedAlertsQueuesAndTrayChecks) {
    const std::wstring xml =
        L"<device><software><component><name>Tarnix</name><helper><alerts_dmloids>" +
        Oid(L"TRAYx-MEDIA-TYPE_LOADED", L"1.1") + Oid(L"TRAYx-CUSTOM-MEDIA-WIDTH", L"1.2") +
        Oid(L"TRAYx-CUSTOM-MEDIA-LENGTH", L"1.3") +
        Oid(L"TRAY", L"1.4", L"<alerts_msg_list msg_suffix=\"none\"><alerts_msg set_val=\"1\" alert_msg_strid=\"6621\" "
                             L"severity=\"warning\"/></alerts_msg_list>") +
        L"</alerts_dmloids></helper></component></software></device>";
    const std::wstring tool = L"C:\\Tools\\zqcare.exe";
    const std::wstring update = L"\"" + tool + L"\" \"" + kPrinter + L"\" \"de-CH\" \"update_papers\"";
    const std::string trays = "1.1 4 01 15 \"PLAIN\"\n1.2 2 le4:2159\n1.3 2 le4:2794\n1.4 1 01\n";
    struct Row {
        const char* what;
        // Registry texts; "-" missing, "" a number (care 1, updated 0), "+" the number 1.
        std::wstring care, updated;
        std::wstring utility;
        DWORD port, notRegistered;
        std::string script;
        const wchar_t* media;
        DWORD width, length;
        std::vector<std::wstring> items;
    } rows[] = {
        {"a FILE: queue is never queried", L"-", L"-", tool, 6, 0, trays, L"1000", 2100, 2970,
         {L"2:5933", L"4:5932:" + update}},
        {"nor a queue on a file path; a cut status is not running", L"ACT", L"", L"", 8, 0, trays, L"1000", 0, 0,
         {L"2:5933", L"4:5932"}},
        {"status objects that cannot be made: 6006 first", L"-", L"-", tool, 4, kZQDevChannelBit, trays, L"1000", 0, 0,
         {L"1:6006", L"2:5933", L"4:5932:" + update}},
        {"values of the wrong type count as missing; a line too long is none", L"", L"1", std::wstring(1015, L'u'), 1,
         kZQDevListBit, trays, L"PLAIN", 0, 0, {L"1:6006", L"2:5933", L"4:5932"}},
        {"nothing raised: the tray checks do not run", L"active", L"+", tool, 4, 0, "1.1 4 01 15 \"PLAIN\"\n", L"1000",
         9999, 9999, {}},
        {"other media and a larger paper", L"ACTIVE", L"+", tool, 4, 0, trays, L"1000", 2100, 2970,
         {L"2:6621", L"1:5925", L"1:5927"}},
        {"the same media in any case, and a paper that fits", L"ACTIVE", L"+", tool, 0, 0, trays, L"plain", 2159, 2794,
         {L"2:6621"}},
        {"a tray that tells nothing raises no tray alert", L"ACTIVE", L"+", tool, 4, 0,
         "1.1 none\n1.2 2 le4:100\n1.3 none\n1.4 1 01\n", L"1000", 2100, 2970, {L"2:6621"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const std::wstring& key : {kCareKey, kUtilityKey, kPrinterKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        zqtest::ResetStandInLog(kZQDevServersKey);
        if (row.care != L"-") Set(kCareKey, L"Status", row.care, 1);
        const bool updated = row.updated == L"+";
        if (row.updated != L"-")
            Set(kPrinterKey + L"\\PrinterDriverData\\PaperList", L"IsUpdated", updated ? L"" : row.updated, updated);
        if (!row.utility.empty()) Set(kUtilityKey, L"RunCC", row.utility);
        zqdevtest::SetSwitch(L"NotRegistered", row.notRegistered);
        zqxmltest::TempFile script(row.script);
        zqdevtest::SetScript(kPrinter, script.Path());

        CZQAlerts alerts;
        ASSERT_TRUE(alerts.BLoad(zqxmltest::Parse(xml).Get()));
        StatusRecord record;
        StatusRecord::BSetText(&record.pszPrinterName, kPrinter);
        StatusRecord::BSetText(&record.pszLocaleName, L"de-CH");
        StatusRecord::BSetText(&record.pszMediaText, row.media);
        record.dwPortKind = row.port;
        record.dwPaperWidth = row.width;
        record.dwPaperLength = row.length;
        EXPECT_TRUE(alerts.BRefresh(&record));
        EXPECT_EQ(row.items, zqdevtest::Items(record));
        EXPECT_FALSE(record.pStatusObject || record.pRequest);
        EXPECT_EQ(row.port == 6 || row.port == 8 || row.notRegistered == kZQDevChannelBit ? 0 : 1,
                  zqdevtest::ICountCalls(L"channel.Open("));
    }
    for (const std::wstring& key : {kCareKey, kUtilityKey, kPrinterKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    EXPECT_FALSE(CZQAlerts().BRefresh(nullptr));
}

// One id: its text with the product name for "%s" (nothing else replaced); several: the last text
// with the others joined by "-"; ids without a text left out, or the item skipped (one id) or shown
// empty (the last of several).
TEST(AlertText, OneIdSeveralIdsAndTheUnavailableOne) {
    zqcontest::CStatusTexts texts;
    const std::wstring unavailable = L"Status and Service unavailable.  Device may be offline or unreachable at this time.";
    struct Row {
        std::vector<LONG> ids;
        std::wstring text;  // "-": nothing shown
    } rows[] = {
        {{6621}, L"A paper tray is empty."},
        {{ZQTEST_IDS_ALERT_FORMAT}, L"the status utility and the status utility at 100% %d %s"},
        {{6601, 0, 9999, 6602, 6600}, L"The printer has stopped: a door is open-paper jam."},
        {{9999, 6600}, L"The printer has stopped: ."},
        {{-128}, unavailable},
        {{6601, 9999}, L""},  // the last id without a text: a row with no text
        {{0}, L"-"},
        {{9999}, L"-"},
        {{}, L"-"},
    };
    for (const Row& row : rows) {
        StatusItem item;
        for (LONG id : row.ids) item.ids.BAppend(id);
        WCHAR text[1024];
        EXPECT_EQ(row.text != L"-", ZQAlertItemText(item, texts.Loader(), text, 1024) != FALSE) << row.text;
        EXPECT_EQ(row.text == L"-" ? L"" : row.text, text);
    }
    for (DWORD severity : {0u, 1u, 2u, 3u, 4u, 5u}) EXPECT_EQ((std::vector<DWORD>{0, 1, 0, 3, 2, 0})[severity], ZQAlertKind(severity));
}

}  // namespace
