// The option-item access layer against the core driver's items in process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqitemanswers.h"
#include "optitemfixture.h"

namespace {

using zqtest::COptItemFixture;
using zqtest::FixtureFeature;
using zqtest::FixtureKind;
using zqtest::SettingFault;

std::vector<std::wstring> Take(PWSTR* list, int count) {
    std::vector<std::wstring> out;
    for (int i = 0; i < count; ++i) out.push_back(list[i] ? list[i] : L"(null)");
    CZQCommon::VFreeStringList(list, count);
    return out;
}

std::wstring TakeText(PWSTR s) {
    std::wstring out = s ? s : L"(null)";
    if (s) LocalFree(s);
    return out;
}

class OptionItems : public ::testing::Test {
protected:
    void SetUp() override {
        m_host.Add(zqtest::ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"LEGAL", L"Legal"}}, 0,
                                       DMPUB_FORMNAME));
        FixtureFeature media = zqtest::ListFeature(
            "MediaType", {{"PLAIN", L"Plain"}, {"GLOSSY", L"Glossy"}, {"TRANSPARENCY", L"Transparency"}}, 0, 12);
        media.options[1].conflict = true;
        media.options[2].hidden = true;
        m_host.Add(media);
        // The first source is named by a resource id, as the core driver names "automatically select".
        FixtureFeature bin =
            zqtest::ListFeature("InputBin", {{"AUTO", L""}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}}, 1, DMPUB_DEFSOURCE);
        bin.options[0].nameResId = 1234;
        m_host.Add(bin);
        // A resource-id name in the middle: pairing keywords and names by position would slip.
        FixtureFeature out =
            zqtest::ListFeature("OutputBin", {{"UPPER", L"Upper"}, {"LOWER", L""}, {"STACKER", L"Stacker"}});
        out.options[1].nameResId = 2345;
        m_host.Add(out);
        m_host.Add(zqtest::ListFeature("Duplex", {{"NONE", L"Off"}, {"VERTICAL", L"Long edge"}, {"HORIZONTAL", L"Short edge"}},
                                       0, DMPUB_DUPLEX));
        FixtureFeature copies;
        copies.keyword = "Copies";
        copies.kind = FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 1;
        copies.low = 1;
        copies.high = 99;
        m_host.Add(copies);
        FixtureFeature roll;
        roll.keyword = "ZQRollName";
        roll.kind = FixtureKind::Edit;
        roll.pubId = 200;
        roll.text = std::wstring(256, L'r');  // fills the item's buffer: no terminator
        m_host.Add(roll);
        FixtureFeature push;
        push.keyword = "ZQDryTimeOption";
        push.kind = FixtureKind::Push;
        m_host.Add(push);
        FixtureFeature check;
        check.keyword = "ZQBorderless";
        check.kind = FixtureKind::CheckBox;
        check.options = {{"FALSE", L"", 0, false, false}, {"TRUE", L"", 0, false, false}};
        m_host.Add(check);
        m_host.Add(zqtest::ValueFeature("ZQXMLFileUsed", "helper.xml"));
        FixtureFeature orient = zqtest::ListFeature("ZQOrientationCopy", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}},
                                                    0, 103);
        orient.oem = true;
        m_host.Add(orient);
        FixtureFeature order = zqtest::ListFeature("ZQPageOrderCopy", {{"FRONT", L"Front to back"}, {"BACK", L"Back to front"}},
                                                   1, 104);
        order.oem = true;
        m_host.Add(order);
        m_host.Build();
        m_p = m_host.Param();
    }

    COptItemFixture m_host;
    POEMCUIPPARAM m_p = nullptr;
};

TEST_F(OptionItems, FindingItems) {
    POPTITEM item = nullptr;
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItem(m_p, L"papersize", &item));
    EXPECT_EQ(m_host.Item("PaperSize"), item);
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWFindOptItem(m_p, L"ZQNoSuchFeature", &item));
    EXPECT_EQ(nullptr, item);
    EXPECT_EQ(ZQOPT_CONVERSION, CZQCommon::DWFindOptItem(m_p, L"Paper\u4E00", &item));
    // A value without an item is no item.
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWFindOptItem(m_p, L"ZQXMLFileUsed", &item));

    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItemByPubId(m_p, DMPUB_DUPLEX, -1, &item));
    EXPECT_EQ(m_host.Item("Duplex"), item);
    // Public id 0: items without one, counted from 0.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItemByPubId(m_p, 0, 0, &item));
    EXPECT_EQ(m_host.Item("OutputBin"), item);
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItemByPubId(m_p, 0, 1, &item));
    EXPECT_EQ(m_host.Item("ZQDryTimeOption"), item);
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWFindOptItemByPubId(m_p, 0, 9, &item));
    // 103 is the plug-in's own item, not the core driver's.
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWFindOptItemByPubId(m_p, 103, -1, &item));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWFindOemOptItemByPubId(m_p, 103, &item));
    EXPECT_EQ(m_host.Item("ZQOrientationCopy"), item);
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWFindOemOptItemByPubId(m_p, 124, &item));
}

TEST_F(OptionItems, BadBlocksAreRefused) {
    POPTITEM item = reinterpret_cast<POPTITEM>(1);
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOptItem(nullptr, L"PaperSize", &item));
    OEMCUIPPARAM copy = *m_p;
    copy.poemuiobj = nullptr;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOptItem(&copy, L"PaperSize", &item));
    PWSTR s = nullptr;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWGetFeatureOption(&copy, L"PaperSize", &s));
    OEMUIOBJ noProcs = {sizeof(OEMUIOBJ), nullptr};
    copy.poemuiobj = &noProcs;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectOptionByIndex(&copy, L"PaperSize", 1, 1));
    copy = *m_p;
    copy.cDrvOptItems = 0;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOptItem(&copy, L"PaperSize", &item));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOptItemByPubId(&copy, DMPUB_DUPLEX, -1, &item));
    copy.pOEMOptItems = nullptr;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOemOptItemByPubId(&copy, 103, &item));
    // An item without an option type cannot be used.
    OPTTYPE* type = m_host.Item("Duplex")->pOptType;
    m_host.Item("Duplex")->pOptType = nullptr;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWFindOptItem(m_p, L"Duplex", &item));
    m_host.Item("Duplex")->pOptType = type;
    EXPECT_TRUE(m_host.Updates().empty());
}

TEST_F(OptionItems, ReadingTheCurrentOption) {
    PWSTR s = nullptr;
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetFeatureOption(m_p, L"InputBin", &s));
    EXPECT_EQ(L"TRAY1", TakeText(s));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetFeatureOption(m_p, L"ZQXMLFileUsed", &s));
    EXPECT_EQ(L"helper.xml", TakeText(s));
    // An edit item's full 256 characters.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetFeatureOption(m_p, L"ZQRollName", &s));
    EXPECT_EQ(std::wstring(256, L'r'), TakeText(s));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetFeatureOption(m_p, L"ZQNoSuchFeature", &s));
    EXPECT_EQ(nullptr, s);
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetFeatureOption(m_p, L"ZQDryTimeOption", &s));
    EXPECT_EQ(ZQOPT_CONVERSION, CZQCommon::DWGetFeatureOption(m_p, L"\u4E00", &s));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWGetFeatureOption(m_p, nullptr, &s));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWGetFeatureOption(m_p, L"InputBin", nullptr));
    m_host.FailFeature("InputBin");
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetFeatureOption(m_p, L"InputBin", &s));

    int index = -1;
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetFeatureOptionIndex(m_p, L"Duplex", &index));
    EXPECT_EQ(0, index);
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWGetFeatureOptionIndex(m_p, L"ZQRollName", &index));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetFeatureOptionIndex(m_p, L"ZQXMLFileUsed", &index));
}

TEST_F(OptionItems, DriverAnswersThatMisbehave) {
    PWSTR s = nullptr;
    // No terminator: the keyword and nothing behind it.
    m_host.SetFault(SettingFault::Unterminated);
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetFeatureOption(m_p, L"PaperSize", &s));
    EXPECT_EQ(L"LETTER", TakeText(s));
    // An answer that never fits: given up after a few rounds.
    m_host.SetFault(SettingFault::Growing);
    const int before = m_host.SettingCalls();
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetFeatureOption(m_p, L"PaperSize", &s));
    EXPECT_EQ(nullptr, s);
    EXPECT_LE(m_host.SettingCalls() - before, 4);
}

// Within an item pass a setting is asked of the core driver once, and again after any report: the
// answer read after a change is the new one, whichever road the change took.
TEST_F(OptionItems, SettingsAreReadOnceUntilAnItemIsReported) {
    zqitems::CZQItemPass pass;
    auto read = [this](PCWSTR feature) {
        PWSTR s = nullptr;
        CZQCommon::DWGetFeatureOption(m_p, feature, &s);
        return TakeText(s);
    };
    const int start = m_host.SettingCalls();
    EXPECT_EQ(L"LETTER", read(L"PaperSize"));
    const int once = m_host.SettingCalls() - start;
    EXPECT_EQ(L"LETTER", read(L"PaperSize"));
    EXPECT_EQ(L"NONE", read(L"Duplex"));
    EXPECT_EQ(L"NONE", read(L"Duplex"));
    EXPECT_EQ(2 * once, m_host.SettingCalls() - start) << "each feature asked once";

    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByKeyword(m_p, L"PaperSize", L"A4", OEMCUIP_DOCPROP));
    EXPECT_EQ(L"A4", read(L"PaperSize"));
    POPTITEM duplex = m_host.Item("Duplex");
    duplex->Sel = 1;
    CZQCommon::BReportItem(m_p, duplex, 0, OEMCUIP_DOCPROP);
    EXPECT_EQ(L"VERTICAL", read(L"Duplex"));
}

TEST_F(OptionItems, KeywordListsLeaveTheItemAsFound) {
    POPTITEM item = m_host.Item("MediaType");
    item->Flags = 0;
    PWSTR* list = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionKeywords(m_p, L"MediaType", &list, &count, OEMCUIP_PRNPROP));
    EXPECT_EQ((std::vector<std::wstring>{L"PLAIN", L"GLOSSY", L"TRANSPARENCY"}), Take(list, count));
    // Selection, changed mark, conflict marks and the driver's own record are back.
    EXPECT_EQ(0, item->Sel);
    EXPECT_EQ(0u, item->Flags & OPTIF_CHANGED);
    EXPECT_NE(0, item->pOptType->pOptParam[1].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_EQ("PLAIN", m_host.Current("MediaType"));
    // Every selection was reported with the real previous one, in the caller's mode, and the
    // conflict mark of the option being reported was lifted for the call.
    const auto& u = m_host.Updates();
    ASSERT_EQ(3u, u.size());
    EXPECT_EQ(1, u[0].sel);
    EXPECT_EQ(0u, u[0].previous);
    EXPECT_FALSE(u[0].overlayAtCall);
    EXPECT_EQ(2, u[1].sel);
    EXPECT_EQ(1u, u[1].previous);
    EXPECT_EQ(0, u[2].sel);
    EXPECT_EQ(2u, u[2].previous);
    for (const auto& r : u) EXPECT_EQ(static_cast<DWORD>(OEMCUIP_PRNPROP), r.mode);

    // An item already marked changed keeps the mark.
    item->Flags = OPTIF_CHANGED;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionKeywords(m_p, L"MediaType", &list, &count, 1));
    Take(list, count);
    EXPECT_EQ(static_cast<DWORD>(OPTIF_CHANGED), item->Flags);

    // No item: the current option alone.
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionKeywords(m_p, L"ZQXMLFileUsed", &list, &count, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"helper.xml"}), Take(list, count));
    EXPECT_EQ(ZQOPT_READ_FAILED, CZQCommon::DWGetOptionKeywords(m_p, L"ZQNoSuchFeature", &list, &count, 1));
    EXPECT_EQ(0, count);
    EXPECT_EQ(nullptr, list);
}

TEST_F(OptionItems, KeywordListReadFailureRestoresTheSelection) {
    POPTITEM item = m_host.Item("Duplex");
    m_host.SetSelection("Duplex", 2);
    item->Flags = 0;
    m_host.FailFeature("Duplex");
    PWSTR* list = reinterpret_cast<PWSTR*>(1);
    int count = 7;
    EXPECT_EQ(ZQOPT_READ_FAILED, CZQCommon::DWGetOptionKeywords(m_p, L"Duplex", &list, &count, 1));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, count);
    EXPECT_EQ(2, item->Sel);
    EXPECT_EQ(0u, item->Flags & OPTIF_CHANGED);
    EXPECT_EQ("HORIZONTAL", m_host.Current("Duplex"));
}

TEST_F(OptionItems, NamesAndKeywordsPairByOption) {
    PWSTR* list = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionNames(m_p, L"InputBin", &list, &count));
    EXPECT_EQ((std::vector<std::wstring>{L"Tray 1", L"Tray 2"}), Take(list, count));

    PWSTR s = nullptr;
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWOptionKeywordToName(m_p, L"InputBin", L"tray1", &s));
    EXPECT_EQ(L"Tray 1", TakeText(s));
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWOptionKeywordToName(m_p, L"InputBin", L"AUTO", &s));
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWOptionKeywordToName(m_p, L"InputBin", L"TRAY9", &s));
    // The resource-id name in the middle shifts nothing.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWOptionKeywordToName(m_p, L"OutputBin", L"STACKER", &s));
    EXPECT_EQ(L"Stacker", TakeText(s));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWOptionNameToKeyword(m_p, L"OutputBin", L"stacker", &s));
    EXPECT_EQ(L"STACKER", TakeText(s));
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWOptionNameToKeyword(m_p, L"OutputBin", L"Lower", &s));
    EXPECT_EQ(nullptr, s);
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWOptionNameToKeyword(m_p, L"ZQXMLFileUsed", L"x", &s));
    EXPECT_EQ(1, m_host.Item("InputBin")->Sel);
    EXPECT_EQ("TRAY1", m_host.Current("InputBin"));
}

TEST_F(OptionItems, OptionIndexByKeyword) {
    POPTITEM item = m_host.Item("PaperSize");
    EXPECT_EQ(2, CZQCommon::IGetOptionIndexByKeyword(m_p, L"legal", L"PaperSize", nullptr));
    // The item alone names the feature.
    EXPECT_EQ(1, CZQCommon::IGetOptionIndexByKeyword(m_p, L"A4", nullptr, item));
    EXPECT_EQ(3, CZQCommon::IGetOptionIndexByKeyword(m_p, L"B5", L"PaperSize", nullptr));
    EXPECT_EQ(-1, CZQCommon::IGetOptionIndexByKeyword(m_p, L"A4", L"ZQNoSuchFeature", nullptr));
    EXPECT_EQ(-1, CZQCommon::IGetOptionIndexByKeyword(m_p, L"A4", nullptr, nullptr));
    EXPECT_EQ(0, item->Sel);
    EXPECT_EQ("LETTER", m_host.Current("PaperSize"));
}

TEST_F(OptionItems, SelectingByIndex) {
    POPTITEM item = m_host.Item("MediaType");
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"MediaType", 1, OEMCUIP_DOCPROP));
    EXPECT_EQ(1, item->Sel);
    EXPECT_NE(0u, item->Flags & OPTIF_CHANGED);
    EXPECT_EQ("GLOSSY", m_host.Current("MediaType"));
    ASSERT_EQ(1u, m_host.Updates().size());
    const auto& r = m_host.Updates()[0];
    EXPECT_EQ("MediaType", r.keyword);
    EXPECT_EQ(0u, r.previous);
    EXPECT_EQ(static_cast<DWORD>(OEMCUIP_DOCPROP), r.mode);
    EXPECT_FALSE(r.overlayAtCall);  // lifted for the report ...
    EXPECT_NE(0, item->pOptType->pOptParam[1].Flags & OPTPF_OVERLAY_WARNING_ICON);  // ... and set again

    // Already selected: nothing to report.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"MediaType", 1, 1));
    EXPECT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectOptionByIndex(m_p, L"MediaType", 3, 1));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectOptionByIndex(m_p, L"MediaType", -1, 1));
    EXPECT_EQ(1, item->Sel);
    // A missing feature has its own code.
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWSelectOptionByIndex(m_p, L"ZQNoSuchFeature", 0, 1));
    // An edit item's text pointer is never overwritten by an index.
    POPTITEM roll = m_host.Item("ZQRollName");
    const LPWSTR text = roll->pSel;
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectOptionByIndex(m_p, L"ZQRollName", 1, 1));
    EXPECT_EQ(text, roll->pSel);
    // A check box has two selections.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"ZQBorderless", 1, 1));
    EXPECT_EQ("TRUE", m_host.Current("ZQBorderless"));
    EXPECT_EQ(1u + 1u, m_host.Updates().size());
}

TEST_F(OptionItems, SelectingByKeyword) {
    POPTITEM item = m_host.Item("PaperSize");
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByKeyword(m_p, L"PaperSize", L"legal", 1));
    EXPECT_EQ(2, item->Sel);
    EXPECT_EQ("LEGAL", m_host.Current("PaperSize"));
    EXPECT_NE(0u, item->Flags & OPTIF_CHANGED);
    // Already there: no reports.
    m_host.ClearUpdates();
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByKeyword(m_p, L"PaperSize", L"LEGAL", 1));
    EXPECT_TRUE(m_host.Updates().empty());
    // No such option: the selection and its mark as they were.
    item->Flags = 0;
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWSelectOptionByKeyword(m_p, L"PaperSize", L"B5", 1));
    EXPECT_EQ(2, item->Sel);
    EXPECT_EQ(0u, item->Flags & OPTIF_CHANGED);
    EXPECT_EQ("LEGAL", m_host.Current("PaperSize"));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWSelectOptionByKeyword(m_p, L"ZQXMLFileUsed", L"x", 1));
}

// What a walk over an item's options read answers later look-ups by keyword, keyword lists and
// selections by keyword of the same items without selecting the options in turn again, until the
// items are built anew.
TEST_F(OptionItems, WalkedKeywordsAnswerLaterLookups) {
    POPTITEM paper = m_host.Item("PaperSize");
    const auto index = [&](PCWSTR keyword) { return CZQCommon::IGetOptionIndexByKeyword(m_p, keyword, L"PaperSize", nullptr); };
    const auto list = [&](PCWSTR feature) {
        PWSTR* l = nullptr;
        int n = 0;
        EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionKeywords(m_p, feature, &l, &n, OEMCUIP_DOCPROP));
        std::wstring joined;
        for (const std::wstring& k : Take(l, n)) joined += k + L" ";
        return joined;
    };
    const struct {
        const char* step;
        std::function<std::wstring()> run;
        std::wstring answer;
        size_t reports;  // reports to the core driver
        LONG sel;        // the paper item's selection afterwards
    } steps[] = {
        {"first look-up walks", [&] { return std::to_wstring(index(L"LEGAL")); }, L"2", 3, 0},
        {"known in any case", [&] { return std::to_wstring(index(L"legal")); }, L"2", 0, 0},
        {"the first option was read too", [&] { return std::to_wstring(index(L"LETTER")); }, L"0", 0, 0},
        {"selected at once", [&] { return std::to_wstring(CZQCommon::DWSelectOptionByKeyword(m_p, L"PaperSize", L"A4", 1)); },
         std::to_wstring(ZQOPT_OK), 1, 1},
        {"listed without a walk", [&] { return list(L"PaperSize"); }, L"LETTER A4 LEGAL ", 0, 1},
        {"an item not walked yet", [&] { return list(L"Duplex"); }, L"NONE VERTICAL HORIZONTAL ", 3, 1},
        {"unknown keywords still walk", [&] { return std::to_wstring(index(L"B5")); }, L"3", 4, 1},
        {"forgotten with the items", [&] {
             CZQCommon::VForgetOptionKeywords();
             return std::to_wstring(index(L"LEGAL"));
         }, L"2", 4, 1},
    };
    for (const auto& s : steps) {
        m_host.ClearUpdates();
        EXPECT_EQ(s.answer, s.run()) << s.step;
        EXPECT_EQ(s.reports, m_host.Updates().size()) << s.step;
        EXPECT_EQ(s.sel, paper->Sel) << s.step;
        EXPECT_EQ(s.sel == 0 ? "LETTER" : "A4", m_host.Current("PaperSize")) << s.step;
    }
}

TEST_F(OptionItems, SelectingByName) {
    POPTITEM item = m_host.Item("Duplex");
    m_host.SetSelection("Duplex", 2);
    item->Flags = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByName(m_p, item, L"Long edge", OEMCUIP_DOCPROP));
    EXPECT_EQ(1, item->Sel);
    EXPECT_EQ("VERTICAL", m_host.Current("Duplex"));
    // Told with previous selection 0, not marked changed; told again when already selected.
    ASSERT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ(0u, m_host.Updates()[0].previous);
    EXPECT_EQ(0u, m_host.Updates()[0].itemFlags & OPTIF_CHANGED);
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByName(m_p, item, L"Long edge", 1));
    ASSERT_EQ(2u, m_host.Updates().size());
    EXPECT_EQ(1u, m_host.Updates()[1].mode);
    // Names compare exactly.
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWSelectOptionByName(m_p, item, L"long edge", 1));
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWSelectOptionByName(m_p, m_host.Item("InputBin"), L"", 1));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectOptionByName(m_p, nullptr, L"Off", 1));
    EXPECT_EQ(1, item->Sel);
}

TEST_F(OptionItems, PublicItems) {
    POPTITEM copies = m_host.Item("Copies");
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectPubOption(m_p, DMPUB_COPIES_COLLATE, -1, 5));
    EXPECT_EQ(5, copies->Sel);
    ASSERT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ(1u, m_host.Updates()[0].previous);
    EXPECT_EQ(static_cast<DWORD>(OEMCUIP_DOCPROP), m_host.Updates()[0].mode);
    // The copy count is checked against the item's limits, not against an option count.
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectPubOption(m_p, DMPUB_COPIES_COLLATE, -1, 0));
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectPubOption(m_p, DMPUB_COPIES_COLLATE, -1, 100));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWSelectPubOption(m_p, DMPUB_COPIES_COLLATE, -1, 99));
    EXPECT_EQ(99, copies->Sel);

    m_host.ClearUpdates();
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWChangePubOption(m_p, DMPUB_DUPLEX, -1, 2));
    EXPECT_EQ("HORIZONTAL", m_host.Current("Duplex"));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWSelectPubOption(m_p, DMPUB_DUPLEX, -1, 2));
    EXPECT_EQ(1u, m_host.Updates().size());  // unchanged: not applied
    EXPECT_EQ(ZQOPT_BAD_ARGUMENT, CZQCommon::DWSelectPubOption(m_p, DMPUB_DUPLEX, -1, 3));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWSelectPubOption(m_p, 103, -1, 0));

    PWSTR s = nullptr;
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetPubSelectionName(m_p, DMPUB_DUPLEX, &s));
    EXPECT_EQ(L"Short edge", TakeText(s));
    m_host.SetSelection("InputBin", 0);
    EXPECT_EQ(ZQOPT_NO_NAME, CZQCommon::DWGetPubSelectionName(m_p, DMPUB_DEFSOURCE, &s));
    EXPECT_EQ(nullptr, s);
    // An edit item's text, bounded by its buffer.
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWGetPubSelectionName(m_p, 200, &s));
    EXPECT_EQ(std::wstring(256, L'r'), TakeText(s));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWGetPubSelectionName(m_p, 77, &s));
}

TEST_F(OptionItems, HidingAndDisabling) {
    POPTITEM item = m_host.Item("OutputBin");
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWHideOptItem(m_p, L"OutputBin", OEMCUIP_PRNPROP));
    EXPECT_NE(0u, item->Flags & OPTIF_HIDE);
    ASSERT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ(static_cast<DWORD>(OEMCUIP_PRNPROP), m_host.Updates()[0].mode);
    EXPECT_NE(0u, m_host.Updates()[0].itemFlags & OPTIF_HIDE);
    EXPECT_EQ(ZQOPT_HIDDEN, CZQCommon::DWHideOptItem(m_p, L"OutputBin", 2));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWHidePubOptItem(m_p, DMPUB_DUPLEX, -1));
    EXPECT_EQ(ZQOPT_HIDDEN, CZQCommon::DWHidePubOptItem(m_p, DMPUB_DUPLEX, -1));
    EXPECT_EQ(ZQOPT_NOT_FOUND, CZQCommon::DWHidePubOptItem(m_p, 103, -1));

    m_host.ClearUpdates();
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWDisableOptItem(m_p, L"PaperSize"));
    EXPECT_EQ(static_cast<DWORD>(OPTIF_DISABLED | OPTIF_CHANGED),
              m_host.Item("PaperSize")->Flags & (OPTIF_DISABLED | OPTIF_CHANGED));
    EXPECT_EQ(ZQOPT_DISABLED, CZQCommon::DWDisableOptItem(m_p, L"PaperSize"));
    EXPECT_EQ(ZQOPT_OK, CZQCommon::DWDisablePubOptItem(m_p, DMPUB_COPIES_COLLATE, -1));
    EXPECT_EQ(ZQOPT_DISABLED, CZQCommon::DWDisablePubOptItem(m_p, DMPUB_COPIES_COLLATE, -1));
    EXPECT_TRUE(m_host.Updates().empty());
}

TEST_F(OptionItems, ConflictMarksFollowTheDriver) {
    // The driver marks "TRANSPARENCY" while duplex printing is on.
    m_host.AddConflictRule("Duplex", "VERTICAL", "MediaType", "TRANSPARENCY");
    EXPECT_FALSE(CZQCommon::BHasConflictingSelection(m_p));
    m_host.SetSelection("MediaType", 2);
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"Duplex", 1, 1));
    EXPECT_TRUE(CZQCommon::BHasConflictingSelection(m_p));
    // Looking at the duplex options passes through "VERTICAL" and back: the marks end as the
    // driver leaves them for the restored selection.
    PWSTR* list = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetOptionKeywords(m_p, L"Duplex", &list, &count, 1));
    Take(list, count);
    EXPECT_TRUE(CZQCommon::BHasConflictingSelection(m_p));
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"Duplex", 0, 1));
    EXPECT_FALSE(CZQCommon::BHasConflictingSelection(m_p));
}

TEST_F(OptionItems, WholeSheetViews) {
    PWSTR* keywords = nullptr;
    PWSTR* options = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetAllFeatureOptions(m_p, &keywords, &options, &count));
    const auto k = Take(keywords, count);
    const auto o = Take(options, count);
    // The push button has no value; value-only features have no item.
    EXPECT_EQ((std::vector<std::wstring>{L"PaperSize", L"MediaType", L"InputBin", L"OutputBin", L"Duplex", L"Copies",
                                         L"ZQRollName", L"ZQBorderless"}),
              k);
    EXPECT_EQ(L"TRAY1", o[2]);
    EXPECT_EQ(L"1", o[5]);

    PWSTR* names = nullptr;
    PWSTR* values = nullptr;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetStandardItemValues(m_p, &names, &values, &count));
    EXPECT_EQ((std::vector<std::wstring>{L"Copies", L"PageOrder"}), Take(names, count));
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"1"}), Take(values, count));
}

// The whole-sheet view kept per item and option: a later pass asks the core driver again only
// for the lists whose selection moved to an option not asked yet and for the items whose value is a
// number or a text (or none); another block of items starts afresh.
TEST_F(OptionItems, AnswersKeptPerItemAndSelection) {
    PWSTR one = nullptr;
    int start = m_host.SettingCalls();
    CZQCommon::DWGetFeatureOption(m_p, L"Duplex", &one);
    TakeText(one);
    const int perRead = m_host.SettingCalls() - start;
    // The push item has no value: the core driver says so at the first question.
    start = m_host.SettingCalls();
    CZQCommon::DWGetFeatureOption(m_p, L"ZQDryTimeOption", &one);
    const int perPush = m_host.SettingCalls() - start;
    PWSTR* keywords = nullptr;
    PWSTR* options = nullptr;
    int listed = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetAllFeatureOptions(m_p, &keywords, &options, &listed));
    std::vector<std::wstring> expected;
    for (int i = 0; i < listed; ++i) expected.push_back(std::wstring(keywords[i]) + L"=" + options[i]);
    Take(keywords, listed);
    Take(options, listed);
    // That listing kept its answers too: the passes below start from nothing kept.
    CZQCommon::VForgetOptionKeywords();

    const auto pass = [&](int* reads) {
        const zqitems::Answer* list = nullptr;
        int count = 0;
        start = m_host.SettingCalls();
        EXPECT_EQ(ZQOPT_OK, ZQListItemAnswers(m_p, &list, &count));
        *reads = (m_host.SettingCalls() - start - perPush) / perRead;
        std::vector<std::wstring> out;
        for (int i = 0; i < count; ++i) out.push_back(std::wstring(list[i].pszFeature) + L"=" + list[i].pszOption);
        return out;
    };
    struct Step {
        const char* what;
        LONG paperSel;  // -1: left
        int reads;
        const wchar_t* paper;
    } steps[] = {
        {"the first pass reads every item with a value", -1, 8, L"PaperSize=LETTER"},
        {"nothing moved: the copies and the edit", -1, 2, L"PaperSize=LETTER"},
        {"the paper moved", 1, 3, L"PaperSize=A4"},
        {"the paper moved back: its answer is kept", 0, 2, L"PaperSize=LETTER"},
    };
    for (const Step& step : steps) {
        if (step.paperSel >= 0) {
            ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByIndex(m_p, L"PaperSize", step.paperSel, OEMCUIP_DOCPROP));
        }
        int reads = 0;
        const auto list = pass(&reads);
        EXPECT_EQ(step.reads, reads) << step.what;
        ASSERT_EQ(expected.size(), list.size()) << step.what;
        EXPECT_EQ(step.paper, list[0]) << step.what;
        EXPECT_TRUE(std::equal(expected.begin() + 1, expected.end(), list.begin() + 1)) << step.what;
    }

    COptItemFixture other;
    other.Add(zqtest::ListFeature("PaperSize", {{"A5", L"A5"}}));
    other.Build();
    const zqitems::Answer* list = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, ZQListItemAnswers(other.Param(), &list, &count));
    ASSERT_EQ(1, count);
    EXPECT_STREQ(L"A5", list[0].pszOption);
}

TEST(OptionItemsWithoutDuplex, StandardValuesNameTheMissingDuplex) {
    COptItemFixture host;
    host.Add(zqtest::ListFeature("PaperSize", {{"A4", L"A4"}}));
    host.Build();
    PWSTR* names = nullptr;
    PWSTR* values = nullptr;
    int count = 0;
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWGetStandardItemValues(host.Param(), &names, &values, &count));
    EXPECT_EQ((std::vector<std::wstring>{L"Duplex"}), Take(names, count));
    EXPECT_EQ((std::vector<std::wstring>{L"NONE"}), Take(values, count));
}

TEST(PrintingHelp, OfferedByTheDriverAndInstalled) {
    COptItemFixture host;
    host.Add(zqtest::ListFeature("ZQDisplayPrintingHelp", {{"None", L"None"}, {"PaperQualityHelp", L"Paper"}}, 0));
    host.Build();
    const wchar_t* key = L"Software\\Quorvane\\PrintingHelp";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    EXPECT_FALSE(CZQCommon::BHasPrintingHelp(host.Param(), 7));  // not installed
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"HelpProgram", REG_SZ, L"C:\\help\\help.exe", 34);
    EXPECT_TRUE(CZQCommon::BHasPrintingHelp(host.Param(), 7));
    EXPECT_FALSE(CZQCommon::BHasPrintingHelp(host.Param(), 9));  // no "DocUIHelp" option
    EXPECT_FALSE(CZQCommon::BHasPrintingHelp(host.Param(), 5));
    EXPECT_EQ(0, host.Item("ZQDisplayPrintingHelp")->Sel);
    EXPECT_EQ("None", host.Current("ZQDisplayPrintingHelp"));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
}

}  // namespace
