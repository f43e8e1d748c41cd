// The "Color Settings" sheet driven as the common property sheet drives it: a player in the place
// of the system's sheet calls the property-sheet callback (INIT, the header, results, DESTROY) and
// the items' callback (selections, Apply, reverted items) and keeps what it was handed. The Colour
// page's settings button runs it and sets its radios from the lists afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "colortest.h"
#include "pages/color/zqcolorsettingssheet.h"
#include "res/zqcolorids.h"

namespace {

// The common property sheet as the test plays it.
struct Player {
    LONG_PTR insertHandle = 0x4242;  // what the insertion answers (0: refused)
    std::function<void(COMPROPSHEETUI&)> script;  // the user's work on the inserted page
    LONG init = 0, header = 0, ownResult = 0, foreignResult = 0;
    PROPSHEETUI_INFO_HEADER seenHeader = {};
    INSERTPSUIPAGE_INFO seenInsert = {};
    std::vector<std::wstring> combos;  // each list's entries, "a|b|c"
    ULONG_PTR result = 0;
    COMPROPSHEETUI* page = nullptr;

    static Player* current;
    static LONG_PTR CALLBACK ComPropSheet(HANDLE, UINT function, LPARAM, LPARAM lParam2) {
        if (function != CPSFUNC_INSERT_PSUIPAGEW) return 0;
        current->seenInsert = *reinterpret_cast<INSERTPSUIPAGE_INFO*>(lParam2);
        current->page = reinterpret_cast<COMPROPSHEETUI*>(current->seenInsert.dwData1);
        return current->insertHandle;
    }
    static LONG APIENTRY Run(HWND, PFNPROPSHEETUI pfn, LPARAM lParam, LPDWORD pResult) {
        Player& p = *current;
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof info;
        info.Reason = PROPSHEETUI_REASON_INIT;
        info.hComPropSheet = reinterpret_cast<HANDLE>(0x77);
        info.pfnComPropSheet = &ComPropSheet;
        info.lParamInit = lParam;
        p.init = pfn(&info, lParam);
        if (p.init == 1) {
            info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
            p.header = pfn(&info, reinterpret_cast<LPARAM>(&p.seenHeader));
            for (WORD i = 0; i < p.page->cOptItem; ++i) {
                const OPTITEM& item = p.page->pOptItem[i];
                if (!item.pOptType) continue;
                std::wstring entries;
                for (WORD e = 0; e < item.pOptType->Count; ++e)
                    entries += (e ? L"|" : L"") + std::wstring(item.pOptType->pOptParam[e].pData);
                p.combos.push_back(entries + L"@" + std::to_wstring(item.Sel));
            }
            if (p.script) p.script(*p.page);
            SETRESULT_INFO own = {sizeof own, 0, reinterpret_cast<HANDLE>(p.insertHandle), CPSUI_OK};
            SETRESULT_INFO foreign = {sizeof foreign, 0, reinterpret_cast<HANDLE>(0x99), CPSUI_CANCEL};
            info.Reason = PROPSHEETUI_REASON_SET_RESULT;
            p.foreignResult = pfn(&info, reinterpret_cast<LPARAM>(&foreign));
            p.ownResult = pfn(&info, reinterpret_cast<LPARAM>(&own));
            p.result = info.Result;
        }
        info.Reason = PROPSHEETUI_REASON_DESTROY;
        pfn(&info, 0);
        if (pResult) *pResult = static_cast<DWORD>(p.result);
        return p.init == 1 ? 1 : -1;
    }
};
Player* Player::current = nullptr;

// The user picks entry `sel` of the item named `name` (the n-th of that name).
void Pick(COMPROPSHEETUI& page, const std::wstring& name, LONG sel, int nth = 0) {
    for (WORD i = 0; i < page.cOptItem; ++i) {
        OPTITEM& item = page.pOptItem[i];
        if (item.Level != 2 || name != item.pName || nth-- > 0) continue;
        item.Sel = sel;
        CPSUICBPARAM cb = {};
        cb.cbSize = sizeof cb;
        cb.Reason = CPSUICB_REASON_SEL_CHANGED;
        cb.pOptItem = page.pOptItem;
        cb.cOptItem = page.cOptItem;
        cb.pCurItem = &item;
        cb.UserData = page.UserData;
        EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, page.pfnCallBack(&cb));
        EXPECT_TRUE(item.Flags & OPTIF_CHANGED);
        return;
    }
    ADD_FAILURE() << "no list";
}

void Tell(COMPROPSHEETUI& page, WORD reason) {
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof cb;
    cb.Reason = reason;
    cb.pOptItem = page.pOptItem;
    cb.UserData = page.UserData;
    page.pfnCallBack(&cb);
}

class ColorSettingsSheet : public ColorPage {
protected:
    void SetUp() override {
        ColorPage::SetUp();
        Player::current = &m_player;
        ZQSetCommonPropertySheetUI(&Player::Run);
    }
    void TearDown() override {
        ZQSetCommonPropertySheetUI(nullptr);
        ColorPage::TearDown();
    }
    std::vector<DWORD> Selections() {
        std::vector<DWORD> out;
        for (const ZQColorOptionNode* n = m_logic.m_colorOptions.Head(); n; n = n->pNext)
            if (n->dwKind == kColorNodeList) out.push_back(n->dwSelection);
        return out;
    }
    Player m_player;
};

TEST_F(ColorSettingsSheet, ProtocolFromInitToDestroy) {
    Start();
    // Both headings hold a list of the same text; the second one's pick lands in the second list.
    ZQColorOptionNode* second = m_logic.m_colorOptions.Tail();
    while (second && second->dwKind != kColorNodeList) second = second->pPrev;
    ASSERT_NE(nullptr, second);
    lstrcpyW(second->szName, L"Halftone");
    const std::vector<DWORD> before = Selections();
    struct Case {
        const char* what;
        std::function<void(COMPROPSHEETUI&)> script;
        std::vector<DWORD> after;
    };
    const std::vector<DWORD> picked = {before[0], 1};
    for (const Case& c : {Case{"picks cancelled", [](COMPROPSHEETUI& p) { Pick(p, L"Halftone", 1, 1); }, before},
                          Case{"pick applied", [](COMPROPSHEETUI& p) {
                                   Pick(p, L"Halftone", 1, 1);
                                   Tell(p, CPSUICB_REASON_APPLYNOW);
                               }, picked}}) {
        m_player.script = c.script;
        m_player.combos.clear();
        Click(m_page, IDC_BUT_OPT);
        EXPECT_EQ(c.after, Selections()) << c.what;
    }
    EXPECT_EQ(1, m_player.init);
    EXPECT_EQ(sizeof(INSERTPSUIPAGE_INFO), m_player.seenInsert.cbSize);
    EXPECT_EQ(PSUIPAGEINSERT_PCOMPROPSHEETUI, m_player.seenInsert.Type);
    EXPECT_EQ(INSPSUIPAGE_MODE_INDEX, m_player.seenInsert.Mode);
    EXPECT_EQ(1, m_player.header);
    EXPECT_STREQ(L"Color Settings", m_player.seenHeader.pTitle) << "string 882 is missing: the English title";
    EXPECT_EQ(129u, m_player.seenHeader.IconID);
    EXPECT_EQ(m_page, m_player.seenHeader.hWndParent);
    EXPECT_EQ(PSUIHDRF_NOAPPLYNOW | PSUIHDRF_EXACT_PTITLE, m_player.seenHeader.Flags);
    // Two headings and two lists, each list a drop-down of its entries at its selection.
    ASSERT_EQ(2u, m_player.combos.size());
    EXPECT_EQ(L"Smooth|Detail@" + std::to_wstring(before[0]), m_player.combos[0]);
    EXPECT_EQ(-1, m_player.foreignResult) << "a result for another page";
    EXPECT_EQ(1, m_player.ownResult);
    EXPECT_EQ(static_cast<ULONG_PTR>(CPSUI_OK), m_player.result);
    // A list away from its default: manual colour matching.
    EXPECT_TRUE(Checked(IDC_RB_MANUAL));
    EXPECT_FALSE(Checked(IDC_RB_AUTO));
    EXPECT_EQ(0u, Work().dwChromixAuto);
}

TEST_F(ColorSettingsSheet, RefusedOrWithoutContextShowsNothing) {
    Start();
    const std::vector<DWORD> before = Selections();
    m_player.insertHandle = 0;
    m_player.script = [](COMPROPSHEETUI&) { ADD_FAILURE() << "no page to work on"; };
    Click(m_page, IDC_BUT_OPT);
    EXPECT_EQ(-1, m_player.init);
    EXPECT_EQ(before, Selections());
    EXPECT_TRUE(Checked(IDC_RB_AUTO)) << "the lists stay at their defaults";
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Reason = PROPSHEETUI_REASON_INIT;
    SetLastError(0);
    EXPECT_EQ(-1, CZQColorSettingsSheet::PropSheetCallback(&info, 0));
    EXPECT_EQ(13u, GetLastError());
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    EXPECT_EQ(-1, CZQColorSettingsSheet::PropSheetCallback(&info, 0)) << "no header";
    info.Reason = 9;
    EXPECT_EQ(-1, CZQColorSettingsSheet::PropSheetCallback(&info, 0));
}

}  // namespace
