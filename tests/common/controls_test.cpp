// Windows and lists, small mappings, bounded texts, job-storage validity and the helper itself.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "common/zqcontrols.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "formats/zquidevmode.h"

namespace {

TEST(Helper, ConstructorStartsWithoutAResourceModule) {
    struct Probe : CZQCommon {
        bool Clear() const { return m_hResModule == nullptr && !m_bOwnsResModule; }
    };
    alignas(Probe) unsigned char storage[sizeof(Probe)];
    memset(storage, 0xA5, sizeof storage);  // what an uninitialised mark would read
    Probe* p = new (storage) Probe();
    EXPECT_TRUE(p->Clear());
    p->~Probe();
}

TEST(Mappings, ListPositionsAndSettings) {
    EXPECT_EQ(1, CZQCommon::IListIndexToSetting(0));
    EXPECT_EQ(2, CZQCommon::IListIndexToSetting(1));
    EXPECT_EQ(6, CZQCommon::IListIndexToSetting(5));
    EXPECT_EQ(1, CZQCommon::IListIndexToSetting(6));
    EXPECT_EQ(1, CZQCommon::IListIndexToSetting(CB_ERR));
    EXPECT_EQ(0, CZQCommon::ISettingToListIndex(1));
    EXPECT_EQ(1, CZQCommon::ISettingToListIndex(2));
    EXPECT_EQ(5, CZQCommon::ISettingToListIndex(6));
    EXPECT_EQ(0, CZQCommon::ISettingToListIndex(7));
    EXPECT_EQ(0, CZQCommon::ISettingToListIndex(-1));
    EXPECT_EQ(0, CZQCommon::IMapSelection1To3(0));
    EXPECT_EQ(3, CZQCommon::IMapSelection1To3(3));
    EXPECT_EQ(0, CZQCommon::IMapSelection1To3(4));
}

TEST(BoundedText, CopyAppendFormat) {
    WCHAR buf[6];
    EXPECT_EQ(S_OK, ZQCopyText(buf, 6, L"abcde"));
    EXPECT_EQ(ZQ_E_TEXT_CUT, ZQCopyText(buf, 6, L"abcdefg"));
    EXPECT_STREQ(L"abcde", buf);
    EXPECT_EQ(static_cast<HRESULT>(0x8007007A), ZQ_E_TEXT_CUT);
    EXPECT_EQ(E_INVALIDARG, ZQCopyText(buf, 0, L"a"));
    EXPECT_EQ(static_cast<HRESULT>(0x80070057), E_INVALIDARG);
    EXPECT_EQ(E_INVALIDARG, ZQCopyText(buf, 6, nullptr));
    EXPECT_STREQ(L"", buf);
    ZQCopyText(buf, 6, L"ab");
    EXPECT_EQ(ZQ_E_TEXT_CUT, ZQAppendText(buf, 6, L"cdef"));
    EXPECT_STREQ(L"abcde", buf);
    EXPECT_EQ(ZQ_E_TEXT_CUT, ZQFormatText(buf, 6, L"%d-%ls", 1234, L"xyz"));
    EXPECT_STREQ(L"1234-", buf);
    EXPECT_EQ(S_OK, ZQFormatText(buf, 6, L"%d", 42));
    EXPECT_STREQ(L"42", buf);
    // A destination without a terminator is not trusted.
    wmemset(buf, L'x', 6);
    EXPECT_EQ(E_INVALIDARG, ZQAppendText(buf, 6, L"y"));
    EXPECT_EQ(0, buf[5]);
}

struct JobStorageCase {
    DWORD available, layout, a3012, b3016, c3020, d3024, e3028;
    DWORD setA[4], setB[4];
    BOOL valid;
};

TEST(JobStorage, ValidityRule) {
    const JobStorageCase cases[] = {
        // off
        {0, 1, 0, 0, 1, 0, 0, {1, 1, 0, 0}, {0, 0, 0, 0}, FALSE},
        // layout 1: two flags of the chosen set
        {1, 1, 0, 0, 1, 0, 0, {1, 1, 0, 0}, {0, 0, 0, 0}, TRUE},
        {1, 1, 0, 0, 0, 0, 0, {1, 1, 0, 0}, {0, 0, 0, 0}, TRUE},  // set B: none on, first clear
        {1, 1, 0, 0, 0, 0, 0, {0, 0, 0, 0}, {1, 0, 0, 0}, FALSE},  // set B: only the first
        {1, 1, 0, 0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 1, 1}, TRUE},
        {1, 1, 3, 0, 1, 4, 0, {1, 1, 0, 0}, {0, 0, 0, 0}, FALSE},  // 3012 differs from 3024
        {1, 1, 3, 0, 1, 3, 0, {1, 1, 0, 0}, {0, 0, 0, 0}, TRUE},
        {1, 1, 0, 5, 1, 0, 4, {1, 1, 0, 0}, {0, 0, 0, 0}, FALSE},  // 3016 > 3028
        // other layouts
        {1, 0, 0, 0, 1, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, TRUE},
        {1, 0, 0, 0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, FALSE},
        {1, 2, 0, 0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, TRUE},
        {1, 2, 7, 0, 0, 8, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, FALSE},
        {1, 2, 0, 3, 0, 0, 2, {0, 0, 0, 0}, {0, 0, 0, 0}, FALSE},
        {1, 3, 0, 0, 1, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, FALSE},
    };
    int i = 0;
    for (const auto& c : cases) {
        ZQUIDevmode dm = {};
        dm.dwJobStorageAvailable = c.available;
        dm.dwJsLayout = c.layout;
        dm.dwJs3012 = c.a3012;
        dm.dwJs3016 = c.b3016;
        dm.dwJsSetSelector = c.c3020;
        dm.dwJs3024 = c.d3024;
        dm.dwJs3028 = c.e3028;
        for (int k = 0; k < 4; ++k) {
            dm.adwJsSetA[k] = c.setA[k];
            dm.adwJsSetB[k] = c.setB[k];
        }
        EXPECT_EQ(c.valid, CZQCommon::BIsJobStorageValid(&dm)) << "case " << i;
        ++i;
    }
    EXPECT_FALSE(CZQCommon::BIsJobStorageValid(nullptr));
}

TEST(JobStorage, NupIndexFollowsPagesPerSheet) {
    ZQUIDevmode dm = {};
    dm.dwPagesPerSheet = 1;
    EXPECT_EQ(0, CZQCommon::IGetNupIndex(&dm));
    dm.dwPagesPerSheet = 4;
    EXPECT_EQ(3, CZQCommon::IGetNupIndex(&dm));
    dm.dwPagesPerSheet = 77;  // foreign value: the first entry, never an index past the list
    EXPECT_EQ(0, CZQCommon::IGetNupIndex(&dm));
    EXPECT_EQ(0, CZQCommon::IGetNupIndex(nullptr));
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override { DestroyWindow(m_parent); }
    HWND m_parent = nullptr;
};

TEST_F(Windows, TrackbarTakesThePlaceholdersPlace) {
    HWND placeholder = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 20, 30, 150, 24, m_parent, nullptr, nullptr, nullptr);
    HWND before = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_TABSTOP, 0, 0, 10, 10, m_parent, nullptr, nullptr,
                                  nullptr);
    ZQTrackbarLayout desc = {placeholder, nullptr, 1234, 0, 20, 7, 5, before};
    ASSERT_TRUE(CZQCommon::BCreateTrackbar(m_parent, GetModuleHandleW(nullptr), &desc));
    ASSERT_NE(nullptr, desc.hTrackbar);
    EXPECT_EQ(1234, GetDlgCtrlID(desc.hTrackbar));
    EXPECT_EQ(0, SendMessageW(desc.hTrackbar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(20, SendMessageW(desc.hTrackbar, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(7, SendMessageW(desc.hTrackbar, TBM_GETPOS, 0, 0));
    WCHAR title[16];
    GetWindowTextW(desc.hTrackbar, title, 16);
    EXPECT_STREQ(L"Slider", title);
    RECT rc;
    GetWindowRect(desc.hTrackbar, &rc);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(150, rc.right - rc.left);
    EXPECT_EQ(desc.hTrackbar, GetWindow(before, GW_HWNDNEXT));
    EXPECT_TRUE(CZQCommon::BIsWindowVisible(desc.hTrackbar));
    EXPECT_FALSE(CZQCommon::BIsWindowVisible(placeholder));
    EXPECT_FALSE(CZQCommon::BCreateTrackbar(m_parent, nullptr, nullptr));
}

TEST_F(Windows, ComboEntriesAndOptions) {
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200, m_parent, nullptr,
                                 nullptr, nullptr);
    for (const wchar_t* s : {L"Tray 1", L"Tray 2", L"Manual Feed"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    EXPECT_EQ(1, CZQCommon::IFindComboString(L"TRAY 2", combo));
    EXPECT_EQ(-1, CZQCommon::IFindComboString(L"Tray 3", combo));

    // Options: a resource-id name first, then texts; the list ends at the first unnamed option.
    OPTPARAM params[5] = {};
    params[0].pData = reinterpret_cast<PWSTR>(static_cast<ULONG_PTR>(1234));
    params[1].pData = const_cast<PWSTR>(L"Tray 1");
    params[2].pData = const_cast<PWSTR>(L"Tray 2");
    params[3].pData = nullptr;
    params[4].pData = const_cast<PWSTR>(L"Manual Feed");
    OPTTYPE type = {};
    type.Type = TVOT_COMBOBOX;
    type.Count = 5;
    type.pOptParam = params;
    OPTITEM item = {};
    item.pOptType = &type;
    EXPECT_EQ(1, CZQCommon::IComboItemToOptionIndex(0, combo, &item));
    EXPECT_EQ(2, CZQCommon::IComboItemToOptionIndex(1, combo, &item));
    EXPECT_EQ(-1, CZQCommon::IComboItemToOptionIndex(2, combo, &item));
    EXPECT_EQ(-1, CZQCommon::IComboItemToOptionIndex(9, combo, &item));
    EXPECT_EQ(-1, CZQCommon::IComboItemToOptionIndex(0, combo, nullptr));
}

TEST_F(Windows, MessageBoxesAreAnsweredThroughTheOneSeam) {
    CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 10, 10, m_parent, reinterpret_cast<HMENU>(77), nullptr, nullptr);
    CZQButton button;
    ASSERT_TRUE(button.BAttach(m_parent, 77));
    struct Seen {
        HWND owner = nullptr;
        std::wstring text, caption;
        UINT type = 0;
    } seen;
    const zqmsgbox::PFN_Answer answer = [](void* context, HWND owner, PCWSTR text, PCWSTR caption, UINT type) {
        auto* s = static_cast<Seen*>(context);
        *s = {owner, text, caption, type};
        return IDRETRY;
    };
    EXPECT_EQ(nullptr, zqmsgbox::SetAnswerer(answer, &seen));
    EXPECT_EQ(IDRETRY, button.IMessageBox(L"Caption", L"Text", MB_RETRYCANCEL));
    void* previousContext = nullptr;
    EXPECT_EQ(answer, zqmsgbox::SetAnswerer(nullptr, nullptr, &previousContext));
    EXPECT_EQ(&seen, previousContext);
    EXPECT_EQ(m_parent, seen.owner);
    EXPECT_EQ(L"Text", seen.text);
    EXPECT_EQ(L"Caption", seen.caption);
    EXPECT_EQ(static_cast<UINT>(MB_RETRYCANCEL), seen.type);
}

}  // namespace
