// The large-format printer's loaded paper: the lines built from the printer's answers and the
// roll boxes those answers and the source allow.
#include "macrotest.h"
#include "pagetest.h"

namespace {

using zqtest::ListFeature;

class LoadedPaper : public PaperQualityPage {
protected:
    // A large-format printer with the roll boxes, the sources and "InstalledRolls" options.
    void Open(const std::vector<std::pair<std::string, std::wstring>>& installed,
              const std::vector<std::pair<std::string, std::wstring>>& media = {{"PLAIN", L"Plain Paper"}}) {
        m_host.Add(ListFeature("PaperSize", m_papers, 1, DMPUB_FORMNAME));
        m_host.Add(ListFeature(
            "InputBin", {{"AUTOSELECT", L"Auto"}, {"Roll1", L"Roll 1"}, {"Roll2", L"Roll 2"}, {"Sheet", L"Sheet"}}, 0,
            DMPUB_DEFSOURCE));
        m_host.Add(ListFeature("MediaType", media, 0, DMPUB_MEDIATYPE));
        m_host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQKorrix"));
        m_host.Add(ListFeature("ZQSendJobAsBitmap", {{"Off", L"Off"}, {"SleekMode24bpp", L"Bitmap"}}));
        m_host.Add(ListFeature("InstalledRolls", installed));
        for (const char* roll : {"ZQSaveRollPaper", "ZQDisableAutoCutter", "ZQAutorotate"})
            m_host.Add(ListFeature(roll, {{"OFF", L"Off"}, {"ON", L"On"}}, 1));
        m_core.dwLayoutMode = 1;
        Build();
        LoadRules(zqmacrotest::Feature("Unused", {}), "");
        ASSERT_NE(nullptr, PaperQualityPage::Open());
    }
    // Without a user key of its own the answers are the printer's plain data.
    void Answer(const std::wstring& name, const std::wstring& text) {
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"{6A0C3E55-1B7D-4F20-9E61-3C2B5D7A8E14}");
        m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, name, text);
    }
};

}  // namespace

TEST_F(LoadedPaper, LinesShowNamesTypesAndWidthsLeavingUnknownAnswersOut) {
    struct Row {
        const char* option;
        std::wstring lines;
    };
    const Row table[] = {
        {"Sheet_Roll1", L"Sheet: Plain, 36\nRoll 1: Bond, 24\n"},
        // An unknown name gives way to the type; a custom width is read from its own answer.
        {"Roll2_ManualFeed", L"Roll 2: Vellum, 42\nManual Feed: Photo, 36.00 inches\n"},
        // Name and width both unknown (or unloaded) say so once; a source of no label of ours is
        // named by its token.
        {"Roll_Front", L"Roll: Unknown\nFront: Unloaded\n"},
        // An unloaded type is not shown: the width takes the label; a source the printer told
        // nothing about keeps an empty line, and a width without a name follows the comma.
        {"Back_Side_Tray", L"Back: 30\n\n, 12\n"},
        // Without "_" the option names the rolls.
        {"Roll1", L"Roll 1: Bond, 24\n"},
        {"2Rolls", L"Roll 1: Bond, 24\nRoll 2: Vellum, 42\n"},
        {"3Rolls", L"Roll 1: Bond, 24\nRoll 2: Vellum, 42\nRoll 3: Film\n"},
    };
    std::vector<std::pair<std::string, std::wstring>> installed;
    for (const Row& row : table) installed.push_back({row.option, L""});
    Open(installed);
    for (const auto& [name, text] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"SheetName", L"Plain"}, {L"SheetWidth", L"36"}, {L"Roll1Name", L"Bond"}, {L"Roll1Width", L"24"},
             {L"Roll2Name", L"Unknown"}, {L"Roll2Type", L"Vellum"}, {L"Roll2Width", L"42"},
             {L"ManualFeedName", L"Photo"}, {L"ManualFeedWidth", L"custom"}, {L"ManualFeedCustomWidth", L"36.00"},
             {L"RollName", L"Unknown"}, {L"RollWidth", L"UNKNOWN"}, {L"FrontName", L"Unloaded"},
             {L"FrontWidth", L"Unloaded"}, {L"BackName", L"unknown"}, {L"BackType", L"Unloaded"},
             {L"BackWidth", L"30"}, {L"Roll3Name", L"Film"}, {L"TrayWidth", L"12"}})
        Answer(name, text);
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].option);
        m_host.SetSelection("InstalledRolls", static_cast<LONG>(i));
        SetDlgItemTextW(m_page, IDC_STA_ROLL_INFO, L"old");
        // The page brings the lines up to date whenever it draws an item.
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_STATIC;
        draw.CtlID = IDC_STA_CURRENTLY_LOADED_INFO;
        draw.hwndItem = Ctl(IDC_STA_CURRENTLY_LOADED_INFO);
        draw.hDC = GetDC(draw.hwndItem);
        SendMessageW(m_page, WM_DRAWITEM, IDC_STA_CURRENTLY_LOADED_INFO, reinterpret_cast<LPARAM>(&draw));
        ReleaseDC(draw.hwndItem, draw.hDC);
        EXPECT_EQ(table[i].lines, Text(IDC_STA_ROLL_INFO));
        EXPECT_TRUE(Shown(IDC_STA_ROLL_INFO));
        EXPECT_TRUE(Shown(IDC_STA_CURRENTLY_LOADED_INFO));
    }
}

TEST_F(LoadedPaper, RollBoxesFollowTheSourceEmptyRollsAndBitmapJobs) {
    struct Row {
        int installed;  // 0 "2Rolls", 1 "Sheet_Roll1"
        const wchar_t *roll1, *roll2;
        LONG source;  // Auto, Roll1, Roll2, Sheet
        bool bitmap;
        bool autorotate, cutter, save;
    };
    const Row table[] = {
        {0, L"24", L"36", 0, false, true, true, true},
        {0, L"24", L"Unloaded", 2, false, false, true, true},
        {0, L"Unknown", L"36", 2, false, true, true, true},
        {0, L"Unknown", L"Unloaded", 2, false, false, true, true},
        {0, L"24", L"36", 3, false, false, false, false},
        {0, L"24", L"36", 1, true, false, true, true},
        // By source: a sheet source, and bitmap jobs, take autorotate away; nothing is enabled.
        {1, L"24", L"36", 3, false, false, false, false},
        {1, L"24", L"36", 1, false, true, true, true},
        {1, L"24", L"36", 1, true, false, true, true},
    };
    Open({{"2Rolls", L""}, {"Sheet_Roll1", L""}});
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.installed << " " << row.roll1 << " " << row.roll2 << " " << row.source
                                        << " " << row.bitmap);
        m_host.SetSelection("InstalledRolls", row.installed);
        m_host.SetSelection("InputBin", row.source);
        m_host.SetSelection("ZQSendJobAsBitmap", row.bitmap ? 1 : 0);
        Answer(L"Roll1Width", row.roll1);
        Answer(L"Roll2Width", row.roll2);
        for (int id : {IDC_CHK_AUTOROTATE, IDC_CHK_DISABLE_AUTO_CUTTER, IDC_CHK_SAVE_ROLL_PAPER})
            EnableWindow(Ctl(id), TRUE);
        if (row.installed == 0)
            m_tab->VShowLoadedRolls(&m_context);
        else
            m_tab->VShowLoadedPaperBySource(&m_context);
        EXPECT_EQ(row.autorotate, Enabled(IDC_CHK_AUTOROTATE));
        EXPECT_EQ(row.cutter, Enabled(IDC_CHK_DISABLE_AUTO_CUTTER));
        EXPECT_EQ(row.save, Enabled(IDC_CHK_SAVE_ROLL_PAPER));
    }
}

TEST_F(LoadedPaper, CustomSizeLimitsFollowTheRollOrTheSheetSource) {
    struct Row {
        LONG source;  // Auto, Roll1, Roll2, Sheet
        bool helper;  // the roll printer's helper file: job pages 11 to 36 in wide, 0.5 to 300 in long
        uint32_t maxWidth, maxLength, minWidth, minLength;  // the core driver's
        uint32_t workMinWidth, workMinLength;
    };
    const Row table[] = {
        // A 36-inch roll; the core driver's smallest sizes are the sheet's left from before.
        {1, false, 9144, 899922, 1, 2, 2100, 2100},
        {3, false, 10668, 14478, 2794, 2794, 2794, 2794},
        {3, true, 9144, 76200, 2794, 127, 2794, 127},
        // No answer for roll 2: the limits in force stay, not multiplied again.
        {2, false, 5000, 6000, 1, 2, 3, 4},
    };
    Open({{"2Rolls", L""}});
    Answer(L"Roll1Width", L"36");
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.source << " " << row.helper);
        if (row.helper) {
            ASSERT_TRUE(m_rules->Parser().BLoad(zqtest::BesideExe(L"samples\\zqroll\\zqroll.xml").c_str()));
            m_rules->Parser().VSetLoaded(TRUE);
        }
        m_host.SetSelection("InputBin", row.source);
        ZQUIDevmode& work = *m_logic.WorkDM();
        m_core.dwCustomMaxWidth = 5000, m_core.dwCustomMaxLength = 6000, m_core.dwCustomMinWidth = 1,
        m_core.dwCustomMinLength = 2;
        work.dwCustomMaxWidth = 7, work.dwCustomMaxLength = 8, work.dwCustomMinWidth = 3, work.dwCustomMinLength = 4;
        EXPECT_TRUE(m_tab->BSetCustomSizeLimits(&m_context));
        EXPECT_EQ(row.maxWidth, m_core.dwCustomMaxWidth);
        EXPECT_EQ(row.maxLength, m_core.dwCustomMaxLength);
        EXPECT_EQ(row.minWidth, m_core.dwCustomMinWidth);
        EXPECT_EQ(row.minLength, m_core.dwCustomMinLength);
        EXPECT_EQ(row.source == 2 ? 7u : row.maxWidth, work.dwCustomMaxWidth);
        EXPECT_EQ(row.source == 2 ? 8u : row.maxLength, work.dwCustomMaxLength);
        EXPECT_EQ(row.workMinWidth, work.dwCustomMinWidth);
        EXPECT_EQ(row.workMinLength, work.dwCustomMinLength);
    }
}

TEST_F(LoadedPaper, MediaTypesLoadedOnARollAreMarkedOnce) {
    Open({{"3Rolls", L""}, {"2Rolls", L""}},
         {{"PLAIN", L"Plain Paper"}, {"BOND", L"Bond"}, {"VELLUM", L"Vellum"}, {"BOND2", L"Bond"}, {"FILM", L"Film"}});
    // Roll 3 carries the same paper as roll 1; roll 2's answer is not a media name.
    Answer(L"Roll1Type", L"bond");
    Answer(L"Roll2Type", L"Canvas");
    Answer(L"Roll3Type", L"Bond");
    Answer(L"Roll4Type", L"Film");
    const std::wstring bond = L"bond (loaded on printer)";
    const struct {
        LONG installed;
        std::vector<std::wstring> names;
    } table[] = {
        {0, {L"Plain Paper", bond, L"Vellum", L"Bond", L"Film"}},
        // Two rolls of one paper mark it once; a marked name is no roll's type any more, so the
        // next call marks the next option of that name.
        {0, {L"Plain Paper", bond, L"Vellum", bond, L"Film"}},
        {1, {L"Plain Paper", bond, L"Vellum", bond, L"Film"}},
    };
    for (const auto& row : table) {
        m_host.SetSelection("InstalledRolls", row.installed);
        m_tab->VMarkLoadedMediaTypes(&m_context);
        const POPTITEM item = m_host.Item("MediaType");
        for (size_t i = 0; i < row.names.size(); ++i)
            EXPECT_EQ(row.names[i], item->pOptType->pOptParam[i].pData) << i;
    }
}
