// The configuration-value mapping tables, both ways.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "optitemfixture.h"
#include "settings/zqdriverdata.h"

namespace {

struct ValueCase {
    const wchar_t* item;
    const wchar_t* config;  // configuration manager's value
    const wchar_t* driver;  // driver keyword; null: no row
};

// Import: configuration value -> driver keyword (first matching row; any case).
const ValueCase kImports[] = {
    {L"EdgeChoice", L"ON", L"TRUE"},
    {L"memchoice", L"off", L"FALSE"},
    {L"RasterizationChoice", L"RasterizationVector", L"ZQGL2MODE"},
    {L"RasterizationChoice", L"RasterizationRaster", L"Send Page as Raster"},
    {L"PaperSize", L"B4", L"B4_ISO"},
    {L"PaperSize", L"b5_jis", L"B5"},
    {L"TargetSizeChoice", L"CUSTOMIZE", L"Custom"},
    {L"PageOrder", L"BackToFront", L"1"},
    {L"OutputBin", L"Separator", L"Seperator"},
    {L"OutputBin", L"Mailbox8", L"OutputBin8"},
    {L"DryTime", L"-15", L"-15"},
    {L"DryTime", L"12", nullptr},  // no row: the caller uses "12" as it stands
    {L"InkVolume", L"Lighter", L"Lighter"},
    {L"MediaType", L"ZQ_PREMIUM_PAPER", L"ZQ_PREM_INKJET_PAPER"},
    {L"InputBin", L"Tray3_1500", L"Tray3"},
    {L"Duplex", L"OFF", nullptr},  // export only
    {L"Memory", L"64", nullptr},   // no table at all
};

// Export: driver keyword -> configuration value; rows that share a keyword give the first.
const ValueCase kExports[] = {
    {L"RasterizationChoice", L"RasterizationVector", L"zqgl2mode"},
    {L"OutputBin", L"Separator", L"Seperator"},
    {L"OutputBin", L"Top", L"Upper"},
    {L"InputBin", L"Tray3_500", L"Tray3"},
    {L"InputBin", L"Tray5_500", L"Tray5"},
    {L"PaperSize", L"B4_JIS", L"B4"},
    {L"TargetSizeChoice", L"B5_JIS", L"B5"},
    {L"PageOrder", L"FrontToBack", L"0"},
    {L"EdgeChoice", L"OFF", L"FALSE"},
    {L"Duplex", L"OFF", L"NULL"},          // the duplex-edge rows carry no keywords
    {L"MediaType", nullptr, L"ZQ_PREM_INKJET_PAPER"},  // import only
    {L"DryTime", nullptr, L"12"},
};

TEST(ValueTables, ImportAndExportFollowFirstMatchAndIgnoreCase) {
    for (const ValueCase& c : kImports) {
        WCHAR out[256] = L"unchanged";
        const BOOL mapped = CZQDriverData::BMapConfigValue(c.item, c.config, out);
        EXPECT_EQ(c.driver != nullptr, mapped != FALSE) << c.item << L" " << c.config;
        EXPECT_STREQ(c.driver ? c.driver : L"unchanged", out) << c.item;
    }
    for (const ValueCase& c : kExports) {
        WCHAR out[256] = L"unchanged";
        const BOOL mapped = CZQDriverData::BMapDriverValueBack(c.item, c.driver, out);
        EXPECT_EQ(c.config != nullptr, mapped != FALSE) << c.item << L" " << c.driver;
        EXPECT_STREQ(c.config ? c.config : L"unchanged", out) << c.item;
    }
}

TEST(ValueTables, EveryImportExportsBackToTheFirstValueOfItsKeyword) {
    // Rows that share a keyword ("Tray3", "B4"...) come back as the first of them.
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> firstOfKeyword = {
        {L"Tray3_1500", L"Tray3_500"}, {L"Tray4_1500", L"Tray4_500"}, {L"Tray5_1500", L"Tray5_500"}};
    for (const ValueCase& c : kImports) {
        if (!c.driver || std::wstring(c.item) == L"MediaType") continue;
        WCHAR back[256] = {};
        ASSERT_TRUE(CZQDriverData::BMapDriverValueBack(c.item, c.driver, back)) << c.item;
        std::wstring expected = c.config;
        for (const auto& [value, first] : firstOfKeyword)
            if (_wcsicmp(value, c.config) == 0) expected = first;
        EXPECT_EQ(0, _wcsicmp(expected.c_str(), back)) << c.item << L" " << back;
    }
}

TEST(DeviceTables, BothWaysAndTheAccessoryWalk) {
    struct Case {
        const wchar_t* item;
        const wchar_t* config;
        const wchar_t* option;
        const wchar_t* back;  // what the option exports as (null: nothing)
    };
    const Case cases[] = {
        {L"BinderUnit", L"Installed", L"TRUE", L"Installed"},
        {L"CollationUnit", L"NotInstalled", L"FALSE", L"NotInstalled"},
        {L"JobRetention", L"Enabled", L"Installed", L"Enabled"},
        {L"ScaleFromLargePaper", L"TRUE", L"Installed", L"TRUE"},
        {L"ManualDuplex", L"Disabled", L"False", L"Disabled"},
        {L"ZQDisplayDocUITab", L"Enable", L"True", nullptr},  // import only
        {L"OptionalPaperSources", L"K7150A", L"3000Stapler", L"W6247"},  // the kind's first part number
        {L"ZQPunchUnitType", L"stacker", L"MBX3Stacker", L"STACKER"},
    };
    for (const Case& c : cases) {
        WCHAR option[256] = L"DeviceVal";
        EXPECT_TRUE(CZQDriverData::BMapDeviceValue(c.item, c.config, option)) << c.item;
        EXPECT_STREQ(c.option, option);
        WCHAR config[256] = L"unchanged";
        EXPECT_EQ(c.back != nullptr, CZQDriverData::BMapDeviceOptionBack(c.item, c.option, config) != FALSE)
            << c.item;
        EXPECT_STREQ(c.back ? c.back : L"unchanged", config);
    }
    WCHAR option[256] = L"DeviceVal";
    EXPECT_FALSE(CZQDriverData::BMapDeviceValue(L"Memory", L"64", option));
    EXPECT_FALSE(CZQDriverData::BMapDeviceValue(L"BinderUnit", L"Maybe", option));
    EXPECT_STREQ(L"DeviceVal", option);

    // "3000Stapler" is offered as each of its part numbers in turn, then not at all.
    std::vector<std::wstring> offered;
    int row = -1;
    for (;;) {
        WCHAR text[256] = L"3000Stapler";
        if (!CZQDriverData::BMapAccessoryBack(text, row + 1, &row)) {
            EXPECT_STREQ(L"3000Stapler", text);
            break;
        }
        offered.push_back(text);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"W6247", L"W5432", L"K7150A"}), offered);

    WCHAR keyword[256] = {};
    EXPECT_TRUE(CZQDriverData::BMapPhysicalName(L"mailboxmodes", keyword));
    EXPECT_STREQ(L"MailboxModes", keyword);
    EXPECT_FALSE(CZQDriverData::BMapPhysicalName(L"Memory", keyword));
}

TEST(NameTable, FirstRowWhoseItemTheDriverHasAndPublicIds) {
    zqtest::COptItemFixture host;
    for (const char* k : {"JCLZQPrintInGrayScale", "JCLEDGEChoice", "EDGEChoice", "StapleLocation", "ColorMode",
                          "Duplex", "ZQDryTime"})
        host.Add(zqtest::ListFeature(k, {{"A", L"A"}, {"B", L"B"}}));
    host.Build();
    struct Case {
        const wchar_t* name;
        const wchar_t* keyword;
        BYTE pubId;
    };
    const Case cases[] = {
        {L"Option", L"JCLZQPrintInGrayScale", 0},  // row 11's item is missing, row 12's exists
        {L"EdgeChoice", L"EDGEChoice", 0},          // both exist: the first row wins
        {L"stapling", L"StapleLocation", 0},
        {L"StaplerChoice", L"StaplerChoice", 0},    // its row's item is missing: the name stands
        {L"PrintColorAsGray", L"ColorMode", 0},
        {L"DryTime", L"ZQDryTime", 0},
        {L"Duplex", L"Duplex", DMPUB_DUPLEX},
        {L"PaperSize", L"PaperSize", DMPUB_FORMNAME},  // public even when the item is missing
        {L"InputBin", L"InputBin", DMPUB_DEFSOURCE},
        {L"Copies", L"Copies", DMPUB_COPIES_COLLATE},
        {L"PageOrder", L"PageOrder", DMPUB_PAGEORDER},
        {L"NUpChoice", L"NUpChoice", DMPUB_NUP},
        {L"MediaType", L"MediaType", DMPUB_MEDIATYPE},
    };
    for (const Case& c : cases) {
        WCHAR keyword[256] = {};
        BYTE pubId = 0xFF;
        EXPECT_EQ(c.pubId != 0, CZQDriverData::BMapConfigName(host.Param(), c.name, keyword, &pubId) != FALSE)
            << c.name;
        EXPECT_STREQ(c.keyword, keyword);
        EXPECT_EQ(c.pubId, pubId) << c.name;
    }
    // Without the core driver's object nothing is public: a failure, not a "TRUE" of 5.
    OEMCUIPPARAM bare = *host.Param();
    bare.poemuiobj = nullptr;
    WCHAR keyword[256] = {};
    BYTE pubId = 0xFF;
    SetLastError(0);
    EXPECT_FALSE(CZQDriverData::BMapConfigName(&bare, L"Duplex", keyword, &pubId));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    EXPECT_STREQ(L"Duplex", keyword);
    EXPECT_EQ(0, pubId);
}

}  // namespace
