// A conversion run's snapshot as the driver side reads it: under the run key its private devmode
// names, listed whole, and applied to the private devmode with each item reported.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/zqdevmodetags.h"
#include "common/zqhandles.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"

namespace {

namespace zs = zqsettings;

const GUID kRun = {0x5a51c0de, 0x1234, 0x4abc, {0x80, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}};

std::wstring RunKey(const GUID& run) {
    WCHAR key[CZQCommon::kRunKeyChars];
    EXPECT_TRUE(CZQCommon::BBuildRunKeyPath(run, key, CZQCommon::kRunKeyChars));
    return key;
}

void Put(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

struct Reported {
    std::wstring name, value;
    int result;
    bool operator==(const Reported& o) const { return name == o.name && value == o.value && result == o.result; }
};
std::vector<Reported> g_reported;
void WINAPI Annotate(PCWSTR name, PCWSTR value, int result) { g_reported.push_back({name, value, result}); }

class Snapshot : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        zqdm::FillAllDefaults(m_dm, {});
        m_param.cbSize = sizeof m_param;
        m_param.hPrinter = reinterpret_cast<HANDLE>(1);
        m_param.pOEMDM = &m_dm;
        g_reported.clear();
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(GUID_NULL).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
    }
    std::wstring Sub(const wchar_t* subKey, const GUID& run = GUID_NULL) { return RunKey(run) + L"\\" + subKey; }

    ZQUIDevmode m_dm{};
    OEMCUIPPARAM m_param{};
};

// One long value (a watermark text beyond the 128-character mark) hides none of the others, and
// is cut to the working size; a value that is no text lists as an empty pair.
TEST_F(Snapshot, EveryValueIsListedWhateverItsLength) {
    const std::wstring key = Sub(zs::kOndrelDevModeItems);
    Put(key, L"WMFont", L"Arial");
    Put(key, L"Watermarks", std::wstring(300, L'W'));
    Put(key, L"WMFontSize", L"24");
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Number", REG_DWORD, &number, sizeof number);

    DWORD count = 0;
    ASSERT_TRUE(CZQDriverData::BReadSnapshotList(zs::kOndrelDevModeItems, nullptr, &count, nullptr));
    ASSERT_EQ(4u, count);
    std::vector<ZQSnapshotPair> pairs(count);
    ASSERT_TRUE(CZQDriverData::BReadSnapshotList(zs::kOndrelDevModeItems, pairs.data(), &count, nullptr));
    std::vector<std::wstring> listed;
    for (const ZQSnapshotPair& p : pairs)
        listed.push_back(p.pszName ? std::wstring(p.pszName) + L"=" + std::wstring(p.pszValue).substr(0, 3) +
                                         std::to_wstring(wcslen(p.pszValue))
                                   : L"<none>");
    CZQDriverData::VFreeSnapshotPairs(pairs.data(), count);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ((std::vector<std::wstring>{L"<none>", L"WMFont=Ari5", L"WMFontSize=242", L"Watermarks=WWW255"}), listed);

    count = 0;
    EXPECT_TRUE(CZQDriverData::BReadSnapshotList(zs::kOndrelPhysical, nullptr, &count, nullptr)) << "missing key";
    EXPECT_EQ(0u, count);
}

// The devmode items reach the private devmode, each reported with its own result; of the option
// items that carry a devmode value only the colour ones are reported. "PrintQuality" is handed out.
TEST_F(Snapshot, DevModeItemsReachThePrivateDevmodeEachReported) {
    Put(Sub(zs::kOndrelDevModeItems), L"WMFont", L"Courier");
    Put(Sub(zs::kOndrelDevModeItems), L"NoSuchItem", L"x");
    Put(Sub(zs::kOndrelDevModeItems), L"PrintQuality", L"Best");
    Put(Sub(zs::kOndrelOptItems), L"Orientation", L"Landscape");
    Put(Sub(zs::kOndrelOptItems), L"PrintColorAsGray", L"True");
    Put(Sub(zs::kOndrelOptItems), L"PaperSize", L"A4");  // an option item only: not here

    CZQDriverData::VApplySnapshotDevModeItems(&m_param, Annotate);
    EXPECT_STREQ(L"Courier", m_dm.szWmFont);
    EXPECT_EQ(2, m_dm.wOrientation);
    EXPECT_EQ(1u, m_dm.dwPrintAsGray);
    std::sort(g_reported.begin(), g_reported.end(), [](const Reported& a, const Reported& b) { return a.name < b.name; });
    const std::vector<Reported> expected = {{L"NoSuchItem", L"x", -1},
                                            {L"PrintColorAsGray", L"True", 0},
                                            {L"PrintQuality", L"Best", -1},
                                            {L"WMFont", L"Courier", 0}};
    EXPECT_EQ(expected, g_reported);

    WCHAR quality[zs::kItemChars] = {};
    EXPECT_TRUE(CZQDriverData::BApplySnapshotPrintQuality(&m_param, quality));
    EXPECT_STREQ(L"Best", quality);

    // Without a printer nothing is applied.
    m_param.hPrinter = nullptr;
    m_dm.wOrientation = 1;
    CZQDriverData::VApplySnapshotDevModeItems(&m_param, nullptr);
    EXPECT_EQ(1, m_dm.wOrientation);
}

// The private devmode's tag names the run; an empty tag, a foreign block or none at all leave it to
// the process id.
TEST_F(Snapshot, TheTagRecordNamesTheRunElseTheProcessDoes) {
    Put(Sub(zs::kOndrelOptItems, kRun), L"Who", L"run");
    Put(Sub(zs::kOndrelOptItems), L"Who", L"process");
    ZQUIDevmode tagged = m_dm, foreign = m_dm;
    ASSERT_TRUE(CZQDevmodeTags::BSetValue(reinterpret_cast<BYTE*>(&tagged), sizeof tagged, kRun));
    foreign = tagged;
    foreign.dwSize = 0x80000000u;  // a negative size
    const struct {
        const char* what;
        const void* dm;
        const wchar_t* who;
    } cases[] = {{"tagged", &tagged, L"run"}, {"empty tag", &m_dm, L"process"},
                 {"negative size", &foreign, L"process"}, {"no devmode", nullptr, L"process"}};
    for (const auto& c : cases) {
        CZQLocalPtr<WCHAR> who;
        EXPECT_TRUE(CZQDriverData::BReadSnapshotValue(zs::kOndrelOptItems, L"Who", who.Put(), c.dm)) << c.what;
        EXPECT_STREQ(c.who, who.Get()) << c.what;
    }
}

}  // namespace
