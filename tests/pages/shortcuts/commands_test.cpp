// The page's commands on the roll sample's list: choosing rows applies their quick sets, Save As
// puts a new shortcut right under its type (or replaces one of that name in any letter case) with a
// quick set of the same name, or leaves all as it was when the store refuses; Delete takes one out and
// selects a neighbour; the three stores say what they did not store; the sample page turns, the
// slider writes the quality, and the customised row only offers Save As.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zqwatermarkrecord.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/parts/zqstoremessage.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstorelock.h"
#include "res/zqquicksetids.h"
#include "largeformattest.h"

namespace {

using zqtest::ListFeature;

class ShortcutCommands : public ShortcutList {
protected:
    // The page with the quick sets loaded; stored shortcuts "name:type".
    void Open(const std::vector<std::wstring>& stored = {}, bool restricted = false) {
        Store(stored, {});
        m_printer.SetReadOnly(restricted);
        ASSERT_NO_FATAL_FAILURE(Start());
        CZQQuickSets& quickSets = QuickSets();
        quickSets.VAttach(&m_logic, nullptr, &m_caps);
        quickSets.VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
        // The installation writes the helper file's task presets, the next sheet lists them.
        for (DWORD installing : {1, 0}) {
            m_printer.PutValue(L"PrinterDriverData", L"InstallationComplete", REG_DWORD,
                               reinterpret_cast<const BYTE*>(&installing), sizeof installing);
            quickSets.VLoad(m_rules.get(), &Work());
        }
    }
    CZQQuickSets& QuickSets() { return *m_context.pQuickSets; }
    bool HasQuickSet(PCWSTR name) { return QuickSets().PFindEntry(name) != nullptr; }
    int QuickSetsNamed(PCWSTR name) {
        int n = 0;
        for (const QuickSetEntry* e = QuickSets().PFirstEntry(); e; e = e->pNext) n += lstrcmpiW(e->head.szName, name) == 0;
        return n;
    }
    void Choose(const std::wstring& row) {
        const LRESULT at = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(row.c_str()));
        ASSERT_NE(LB_ERR, at) << "no row " << std::string(row.begin(), row.end());
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, at, 0);
        Notice(m_page, IDC_LB_DOCTYPE_SETTING, LBN_SELCHANGE);
    }
    std::wstring SelectedRow() {
        WCHAR text[256] = {};
        const LRESULT at = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0);
        if (at != LB_ERR) SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, at, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Save As with the name typed in its dialog (cancelled when empty); the answer to any question;
    // the boxes shown (their texts into *pTexts).
    size_t SaveAs(PCWSTR name, int answer = IDYES, std::vector<std::wstring>* pTexts = nullptr) {
        BoxAnswers boxes(answer);
        Modal(
            [&] {
                Click(m_page, IDC_BTN_SAVE);
                return INT_PTR{0};
            },
            [&](HWND dlg) {
                if (!name[0]) return Click(dlg, IDCANCEL);
                SetWindowTextW(GetDlgItem(dlg, IDC_TXT_PRESET_NAME), name);
                Notice(dlg, IDC_TXT_PRESET_NAME, EN_CHANGE);
                Click(dlg, IDOK);
            });
        if (pTexts) *pTexts = boxes.texts;
        return boxes.texts.size();
    }
    bool StoredInPrinter(PCWSTR name) {
        std::vector<BYTE> data;
        return m_printer.GetValue(kPool, name, nullptr, &data);
    }
};

// Save As lists the new shortcut right under the type it was saved from, with a record and a quick
// set of its name; saving over a stored name, in any letter case, replaces it after one question
// (one row, one quick set); a cancelled dialog or a declined replacement changes nothing. A store
// that refuses the record or its quick set leaves the list and the store as they were, with a word.
TEST_F(ShortcutCommands, SaveAsListsTheShortcutUnderItsType) {
    ASSERT_NO_FATAL_FAILURE(Open({L"Gallery:Photo"}));
    const std::vector<std::wstring> refused = {L"Drawings", L"Photo",  L"Customized Settings", L"GALLERY",
                                               L"Plans",    L"Posters", L"Everyday"};
    const struct {
        PCWSTR name;
        int answer;
        int refuseAfter;  // writes that land before the store refuses (-1: none refused)
        std::vector<std::wstring> rows;
        bool stored;
        int quickSets;
        size_t boxes;
    } cases[] = {
        {L"", IDYES, -1, {L"Drawings", L"Photo", L"Customized Settings", L"Gallery", L"Posters", L"Everyday"}, false, 0, 0},
        {L"Plans", IDYES, -1, {L"Drawings", L"Photo", L"Plans", L"Gallery", L"Posters", L"Everyday"}, true, 1, 0},
        {L"Gallery", IDNO, -1, {L"Drawings", L"Photo", L"Customized Settings", L"Plans", L"Gallery", L"Posters", L"Everyday"},
         true, 0, 1},
        {L"Gallery", IDYES, -1, {L"Drawings", L"Photo", L"Gallery", L"Plans", L"Posters", L"Everyday"}, true, 1, 1},
        {L"GALLERY", IDYES, -1, {L"Drawings", L"Photo", L"GALLERY", L"Plans", L"Posters", L"Everyday"}, true, 1, 1},
        {L"Sketch", IDYES, 0, refused, false, 0, 1},
        {L"Sketch", IDYES, 1, refused, false, 0, 1},
        {L"GALLERY", IDYES, 0, refused, true, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.name).size() << " " << c.answer << " " << c.refuseAfter);
        // The settings leave the chosen type: its customised row offers Save As.
        Choose(L"Photo");
        Click(m_page, IDC_BTN_PREVIEW_LAND);
        ASSERT_TRUE(Enabled(IDC_BTN_SAVE));
        // A stored shortcut the save would write over with the same bytes is changed first: the save
        // must write it.
        if (c.refuseAfter >= 0 && c.stored) ::Put(m_printer, c.name, L"Maps", false);
        const std::vector<BYTE> before = [&] {
            std::vector<BYTE> data;
            m_printer.GetValue(kPool, c.name, nullptr, &data);
            return data;
        }();
        if (c.refuseAfter >= 0) m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, ERROR_ACCESS_DENIED, 1, c.refuseAfter);
        EXPECT_EQ(c.boxes, SaveAs(c.name, c.answer));
        m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, 0, 0);
        EXPECT_EQ(c.rows, Rows());
        EXPECT_EQ(static_cast<int>(Rows().size()), m_tab->ListForTesting().Pictures().Count()) << "a picture per row";
        if (!c.name[0]) continue;
        EXPECT_EQ(c.stored, StoredInPrinter(c.name));
        EXPECT_EQ(c.quickSets, QuickSetsNamed(c.name)) << "one quick set of the name";
        if (c.refuseAfter >= 0) {
            std::vector<BYTE> now;
            m_printer.GetValue(kPool, c.name, nullptr, &now);
            EXPECT_EQ(before, now) << "the stored shortcut as it was";
        } else if (c.answer == IDYES) {
            EXPECT_EQ(c.name, SelectedRow());
        }
    }
}

// Choosing a row applies its quick set (the sheet's portrait document comes back); the customised
// row changes nothing and offers only Save As.
TEST_F(ShortcutCommands, ChoosingRowsAppliesTheirQuickSets) {
    ASSERT_NO_FATAL_FAILURE(Open());
    for (PCWSTR row : {L"Photo", L"Everyday", L"Drawings"}) {
        Work().wOrientation = 2;
        Choose(row);
        EXPECT_EQ(1, Work().wOrientation) << row;
        EXPECT_STREQ(row, m_tab->StateForTesting().szCurrentName);
        EXPECT_FALSE(Enabled(IDC_BTN_SAVE));
        EXPECT_FALSE(Enabled(IDC_BTN_DELETE)) << "a document type is never deleted";
    }
    Click(m_page, IDC_BTN_PREVIEW_LAND);
    ASSERT_EQ(L"Customized Settings", SelectedRow());
    m_host.ClearUpdates();
    Choose(L"Customized Settings");
    EXPECT_TRUE(Enabled(IDC_BTN_SAVE));
    EXPECT_FALSE(Enabled(IDC_BTN_DELETE));
    EXPECT_TRUE(m_host.Updates().empty()) << "no setting changes";
    EXPECT_EQ(2, Work().wOrientation);
}

// The sample page clicked twice: the document, the plug-in's own orientation item and the core
// driver's turn and come back.
TEST_F(ShortcutCommands, SamplePageTurnsAndTurnsBack) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const struct {
        WORD orientation;
        LONG own, core;
    } steps[] = {{2, 1, 1}, {1, 0, 0}};
    for (const auto& s : steps) {
        Click(m_page, IDC_BTN_PREVIEW_PORT);
        EXPECT_EQ(s.orientation, Work().wOrientation);
        EXPECT_EQ(s.own, m_host.ItemByPubId(kOemPubOrientation, true)->Sel);
        EXPECT_EQ(s.core, m_host.ItemByPubId(DMPUB_ORIENTATION)->Sel);
    }
}

// Delete: the stored shortcut, its quick set, row and picture go, and a neighbour is selected; a
// user who may write the printer's data gets the first row's quick set, a restricted one keeps the
// settings; Cancel deletes nothing.
struct DeleteCase {
    const char* what;
    bool restricted;
    PCWSTR chosen;
    int answer;
    std::vector<std::wstring> rows;
    PCWSTR selected;
    bool kept;         // the stored shortcut stays (a restricted user deletes only his own)
    WORD orientation;  // 2 kept, 1: the first row's quick set applied
};

class ShortcutDelete : public ShortcutCommands, public testing::WithParamInterface<DeleteCase> {};

TEST_P(ShortcutDelete, SelectsANeighbour) {
    const DeleteCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Open({L"Gallery:Photo", L"Tiles:Photo"}, c.restricted));
    Choose(c.chosen);
    Work().wOrientation = 2;
    BoxAnswers boxes(c.answer);
    Click(m_page, IDC_BTN_DELETE);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(L"Are you sure you want to delete the selected item?", boxes.texts[0]);
    EXPECT_EQ(c.rows, Rows());
    EXPECT_EQ(c.selected, SelectedRow());
    EXPECT_EQ(static_cast<int>(Rows().size()), m_tab->ListForTesting().Pictures().Count());
    EXPECT_EQ(c.kept, StoredInPrinter(c.chosen));
    EXPECT_EQ(c.orientation, Work().wOrientation);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortcutDelete,
    testing::Values(
        DeleteCase{"last of its type", false, L"Gallery", IDOK, {L"Drawings", L"Photo", L"Tiles", L"Posters", L"Everyday"},
                   L"Posters", false, 1},
        DeleteCase{"first of two", false, L"Tiles", IDOK, {L"Drawings", L"Photo", L"Gallery", L"Posters", L"Everyday"},
                   L"Gallery", false, 1},
        DeleteCase{"restricted", true, L"Tiles", IDOK, {L"Drawings", L"Photo", L"Gallery", L"Posters", L"Everyday"},
                   L"Gallery", true, 2},
        DeleteCase{"cancelled", false, L"Tiles", IDCANCEL,
                   {L"Drawings", L"Photo", L"Tiles", L"Gallery", L"Posters", L"Everyday"}, L"Tiles", true, 2}));

// The printer's three stores under a fault: another program holding them, a refused write, a refused
// removal (as Wine's spooler refuses every one). Each says so in one message, shows nothing as done
// (the quick set and the row stay, the first row's settings are not applied, the watermark is
// listed again) and keeps what was stored.
TEST_F(ShortcutCommands, EveryStoreSaysWhatItDidNotStore) {
    ASSERT_NO_FATAL_FAILURE(Open({L"Gallery:Photo"}));
    const std::wstring presets = L"ZQPresetRoot\\PresetPoolData", marks = L"ZQPresetRoot\\WatermarkPoolData";
    for (int i = 0; i < 3; ++i) {
        ZQWatermarkRecord record = {};
        lstrcpyW(record.szName, i == 0 ? L" [none]" : i == 1 ? L"Kept" : L"Gone");
        std::vector<BYTE> bytes(zqwm::kRecordBytes);
        zqwm::Write(record, bytes.data());
        m_printer.PutValue(marks, L"WatermarkPool:" + std::to_wstring(i), REG_BINARY, bytes.data(), zqwm::kRecordBytes);
    }
    QuickSets().VSaveCurrent(m_page, L"Kept", nullptr, nullptr, &Work(), FALSE, nullptr);
    ASSERT_EQ(ZQStoreOutcome::kStored, QuickSets().ELastOutcome());
    CZQEffectsTab effects;
    effects.VBind(nullptr, m_host.Param(), nullptr);
    effects.VLoadResourceModule(m_hPrinter);
    effects.VLoadWatermarks(&m_core, m_host.Param(), FALSE);
    CZQWatermarks& watermarks = effects.WatermarksForTesting();
    const auto stored = [&](const std::wstring& key) {
        std::map<std::wstring, std::vector<BYTE>> values;
        CZQPrinterDataList list;
        list.BReadTree(m_hPrinter, key.c_str());
        for (DWORD i = 0; i < list.Count(); ++i) {
            DWORD cb = 0;
            const BYTE* data = list.Data(i, nullptr, &cb);
            values[list.Name(i)] = std::vector<BYTE>(data, data + cb);
        }
        return values;
    };
    enum Store { kPresets, kShortcuts, kWatermarks };
    enum Fault { kBusy, kWrite, kDelete };
    const struct {
        Store store;
        Fault fault;
        const wchar_t* message;
    } cases[] = {
        {kPresets, kBusy, L"Another program is changing the printer's Task Presets. Nothing was stored"},
        {kPresets, kWrite, L"The Task Preset could not be saved."},
        {kPresets, kDelete, L"The Task Preset \"Kept\" could not be deleted"},
        {kShortcuts, kBusy, L"Another program is changing the printer's printing shortcuts. Nothing was stored"},
        {kShortcuts, kWrite, L"The Printing Shortcut could not be saved."},
        {kShortcuts, kDelete, L"The Printing Shortcut \"Gallery\" could not be deleted"},
        {kWatermarks, kDelete, L"The printer did not allow \"Gone\" to be deleted: it stays in the list."},
        {kWatermarks, kBusy, L"Nothing was stored; please try again.\n\nNot stored: your changes to \"New\"."},
        {kWatermarks, kWrite, L"The watermarks could not be saved."},
    };
    CZQStoreLock::VSetDefaultWait(50);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.store << " " << c.fault);
        const std::wstring key = c.store == kPresets ? presets : c.store == kShortcuts ? kPool : marks;
        const auto before = stored(key);
        CZQHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr)), release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread holder([&] {
            const CZQStoreLock lock(nullptr, c.fault == kBusy ? m_printer.Identity().name.c_str() : L"elsewhere");
            SetEvent(held.Get());
            WaitForSingleObject(release.Get(), 30000);
        });
        WaitForSingleObject(held.Get(), 30000);
        if (c.fault == kWrite) m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, ERROR_ACCESS_DENIED);
        if (c.fault == kDelete) m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
        BoxAnswers boxes(IDOK);
        bool shown = false;  // something shown as done
        if (c.store == kPresets) {
            const bool deleting = c.fault == kDelete;
            if (deleting) QuickSets().VDeleteByName(L"Kept");
            else QuickSets().VSaveCurrent(m_page, L"New", nullptr, nullptr, &Work(), FALSE, nullptr);
            const ZQStoreOutcome outcome = QuickSets().ELastOutcome();
            zqpage::BSayStoreOutcome(m_page, QuickSets().PszCaption(),
                                     {zqpage::ZQStoreKind::kTaskPresets, deleting, outcome, {deleting ? L"Kept" : L"New"}});
            shown = deleting ? !HasQuickSet(L"Kept") : HasQuickSet(L"New") || QuickSets().BSelected();
        } else if (c.store == kShortcuts && c.fault == kDelete) {
            Choose(L"Gallery");
            Work().wOrientation = 2;
            Click(m_page, IDC_BTN_DELETE);
            shown = SelectedRow() != L"Gallery" || Work().wOrientation != 2;
        } else if (c.store == kShortcuts) {
            Choose(L"Photo");
            Click(m_page, IDC_BTN_PREVIEW_LAND);
            const std::vector<std::wstring> rows = Rows();
            SaveAs(L"Plans", IDYES, &boxes.texts);
            shown = Rows() != rows || HasQuickSet(L"Plans");
        } else {
            if (c.fault == kDelete) {
                watermarks.VRemoveEntry(watermarks.PFindByName(L"Gone"));
            } else if (!watermarks.PFindByName(L"New")) {
                WatermarkEntry* added = CZQWatermarks::PNewEntry(watermarks.MainList());
                lstrcpyW(added->szName, L"New");
                added->dwFlags = kWatermarkEditable;
            }
            EXPECT_EQ(c.fault == kDelete, effects.BSaveWatermarks() != FALSE);
            shown = !watermarks.PFindByName(L"Gone");
        }
        m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, 0, 0);
        m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, 0, 0);
        SetEvent(release.Get());
        holder.join();
        ASSERT_FALSE(boxes.texts.empty());
        EXPECT_NE(std::wstring::npos, boxes.texts.back().find(c.message)) << std::string(boxes.texts.back().begin(), boxes.texts.back().end());
        EXPECT_FALSE(shown);
        EXPECT_TRUE(before == stored(key)) << "kept what was stored";
    }
    CZQStoreLock::VSetDefaultWait(CZQStoreLock::kWaitMs);
}

// The slider writes the standard quality, and the quality group only where the driver has one.
TEST_F(ShortcutCommands, SliderWithoutAQualityGroup) {
    m_host.Add(ListFeature("StandardPrintQuality", {{"Fast", L"Fast"}, {"Best", L"Best"}}, 0));
    ASSERT_NO_FATAL_FAILURE(Start());
    int slider = 0, caption = 0;
    m_tab->PanelForTesting().BCreateLabelAndSlider(zqmodule::Instance(), reinterpret_cast<HFONT>(SendMessageW(m_page, WM_GETFONT, 0, 0)),
                                 6140, IDC_DC_CTL_HOLDER1, &slider, &caption);
    SendMessageW(Ctl(slider), TBM_SETPOS, TRUE, 1);
    m_host.ClearUpdates();
    SendMessageW(m_page, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(Ctl(slider)));
    EXPECT_EQ(1, Sel("StandardPrintQuality"));
    for (const auto& update : m_host.Updates()) EXPECT_EQ("StandardPrintQuality", update.keyword);
}

// A value the panel's list had to add is stored with the shortcut: a paper the spooler knows as a
// form under its form name.
TEST_F(ShortcutCommands, SavedShortcutKeepsAnAddedFormByName) {
    m_printer.AddForm(L"Poster 24x36", 609600, 914400, FORM_USER);
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photo");
    Click(m_page, IDC_BTN_PREVIEW_LAND);
    int list = 0, caption = 0;
    m_tab->PanelForTesting().BCreateLabelAndCombo(zqmodule::Instance(), reinterpret_cast<HFONT>(SendMessageW(m_page, WM_GETFONT, 0, 0)),
                                6147, IDC_DC_CTL_HOLDER1, &list, &caption);
    SendMessageW(Ctl(list), CB_RESETCONTENT, 0, 0);
    for (PCWSTR text : {L"Letter", L"Poster 24x36"}) SendMessageW(Ctl(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    Entries({NewEntry(L"PaperSize", 0, {L"LETTER"}, list)});
    SaveAs(L"Big");
    ShortcutRecord record = Record(L"Big", L"");
    ASSERT_TRUE(m_tab->Store().BReadShortcut(&m_context, &record));
    EXPECT_STREQ(L"Photo", record.szDocType);
    ASSERT_EQ(1, record.nFeatures);
    const ShortcutFeatureEntry& paper = *record.ppFeatures[0];
    EXPECT_STREQ(L"PaperSize", paper.szKeyword);
    ASSERT_EQ(1, paper.nPairs);
    EXPECT_STREQ(L"Poster 24x36", paper.ppszOptionNames[0]);
    EXPECT_STREQ(L"Poster 24x36", paper.ppszOptionKeywords[0]);
    CZQShortcutStore::VFreeShortcut(&record);
}

// A button or list of an id no panel row owns changes no setting and the list keeps its rows.
TEST_F(ShortcutCommands, IdsNoRowOwnsAreIgnored) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photo");
    const std::vector<std::wstring> rows = Rows();
    const ZQUIDevmode before = Work();
    m_host.ClearUpdates();
    for (WORD code : {WORD{BN_CLICKED}, WORD{CBN_SELCHANGE}}) Notice(m_page, 777, code);
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_EQ(0, memcmp(&before, &Work(), sizeof before));
    EXPECT_EQ(rows, Rows());
}

}  // namespace
