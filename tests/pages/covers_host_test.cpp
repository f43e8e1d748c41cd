// Under the core driver stand-in: the desk printer's papers for single pages and covers, and a copy
// of its model with page exceptions, edited through the page-exceptions module stand-in, whose
// kinds in use the Finishing page's constraint marks follow.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "platform/zqpageexceptionsapi.h"
#include "res/zqfinishingids.h"
#include "res/zqpaperqualityids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqpgexcrecord.h"
#include "zqprinter.h"

namespace {

using CoversUnderHost = zqhosttest::SamplePrintersTest;

// The plug-in's block on OK after `hook` on the printer's Paper/Quality page.
ZQUIDevmode OnPaperQuality(const std::wstring& printer, const std::function<void(HWND)>& hook) {
    const std::vector<BYTE> out = zqhosttest::PreferencesOnPage(printer, L"Paper/Quality", hook);
    ZQUIDevmode block = {};
    if (const BYTE* oem = out.empty() ? nullptr : zqhosttest::OemBlock(out)) std::memcpy(&block, oem, sizeof block);
    return block;
}

std::vector<std::pair<std::wstring, LRESULT>> Items(HWND list) {
    std::vector<std::pair<std::wstring, LRESULT>> items;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text, SendMessageW(list, LB_GETITEMDATA, i, 0));
    }
    return items;
}

TEST_F(CoversUnderHost, EachChosenKindKeepsItsOwnSourceAndMedia) {
    zqhosttest::ResetToDefaults(zqhosttest::kDeskPrinter);
    std::vector<std::pair<std::wstring, LRESULT>> kinds;
    int chosen = 0;
    // The media type is chosen in the tree behind "More..." of the short list.
    auto media = [](HWND page, const wchar_t* name) {
        ZQDialogSteps steps;
        steps.choices = {{L"#497", name}};
        ZQDialogSeen seen;
        return ZQPressForDialog(page, L"Type is=More...", steps, seen) && seen.chosen && seen.closed;
    };
    const ZQUIDevmode block = OnPaperQuality(zqhosttest::kDeskPrinter, [&](HWND page) {
        chosen += ZQChooseOnPage(page, L"Use Different Paper/Covers", L"on");
        kinds = Items(GetDlgItem(page, IDC_LB_MEDIA_PAPER_OPTIONS));
        chosen += ZQChooseOnPage(page, L"#427", L"First Page") + ZQChooseOnPage(page, L"Source is", L"Tray 2") +
                  media(page, L"Brochure Paper, Matte");
        chosen += ZQChooseOnPage(page, L"#427", L"Front Cover") + ZQChooseOnPage(page, L"#431", L"on") +
                  ZQChooseOnPage(page, L"Source is", L"Tray 1") + media(page, L"Transparency Film");
    });
    ASSERT_EQ(7u, kinds.size());
    EXPECT_EQ(L"Front Cover from Feeder", kinds[6].first);
    EXPECT_EQ(8, chosen);
    const uint32_t stored[] = {block.dwDiffPaper,  block.dwFirstPageSource,  block.dwFirstPageMedia,
                               block.dwFrontCover, block.dwFrontCoverSource, block.dwFrontCoverMedia};
    EXPECT_EQ((std::vector<uint32_t>{1, 258, 257, 1, 257, 2}), std::vector<uint32_t>(stored, stored + 6));
}

TEST_F(CoversUnderHost, PageExceptionsAreEditedThroughTheModule) {
    // The desk model with page exceptions and the module that edits them, under a name of its own.
    std::ifstream in(zqtest::BesideExe(zqhosttest::kDeskModel).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string model = text.str();
    model.replace(model.find("Inkjet\n"), 7, "Exceptions\n");
    model.replace(model.find("zqwarnmod.dll "), 14, "zqwarnmod.dll zqpgexc.dll ");
    model += "\n[Feature ZQPageExceptions]\nFlags=hidden\nOption=CoverInsertion | Covers\n"
             "Option=PrintedInsertion | Printed\nOption=BlankInsertion | Blank\nOption=ChapterPages | Chapters\n"
             "[Feature ZQPageExceptionsFile]\nKind=None\nOption=" + std::string(kZQPgExcFile) + " | Module\n"
             "[Feature ZQPageExceptionsInterface]\nKind=None\nOption=" + std::string(kZQPgExcEntry) + " | Entry\n";
    const std::wstring path = zqtest::BesideExe(L"samples\\zqdesk\\zqdeskexceptions.zqm");
    std::ofstream(path.c_str(), std::ios::binary) << model;
    const std::wstring printer = L"ZQ Desk 2400 Exceptions";
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), printer, installed)) << ZQUtf8(installed.error);

    RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
    const DWORD kinds = ZQPE_COVER_INSERTION | ZQPE_CHAPTER_PAGES;
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"KindsInUse", REG_DWORD, &kinds, sizeof kinds);
    std::vector<std::pair<std::wstring, LRESULT>> items;
    bool pageKindsShown = true;
    std::vector<bool> marks;  // pages per sheet free; marks of pages per sheet, booklets, two-sided
    const ZQUIDevmode block = OnPaperQuality(printer, [&](HWND page) {
        pageKindsShown = IsWindowVisible(GetDlgItem(page, IDC_CHK_MEDIA_PAPER_DIFF)) != FALSE;
        ASSERT_TRUE(ZQChooseOnPage(page, L"#436", L"Chapters"));
        HWND settings = GetDlgItem(page, IDC_BTN_PAGE_EXCEPTIONS_SETTINGS);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, BN_CLICKED),
                     reinterpret_cast<LPARAM>(settings));
        items = Items(GetDlgItem(page, IDC_LB_PAGE_EXCEPTIONS_OPTIONS));
        // Chapters print on sheets of their own: the Finishing page marks pages per sheet as ruled out.
        HWND sheet = GetParent(page);
        ASSERT_TRUE(ZQShowPage(sheet, L"Finishing"));
        HWND finishing = ZQCurrentPage(sheet);
        auto shown = [&](int id) { return (GetWindowLongPtrW(GetDlgItem(finishing, id), GWL_STYLE) & WS_VISIBLE) != 0; };
        marks = {IsWindowEnabled(GetDlgItem(finishing, IDC_CBO_PAGES_PER_SHEET)) != FALSE, shown(IDC_BTN_CONSTRAINT_NUP),
                 shown(IDC_BTN_CONSTRAINT_BOOKLET_PRINTING), shown(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX)};
    });
    EXPECT_FALSE(pageKindsShown);
    EXPECT_EQ((std::vector<bool>{false, true, false, false}), marks)
        << "pages per sheet disabled with its mark; booklets and two-sided printing free";
    const std::vector<std::pair<std::wstring, LRESULT>> expected = {
        {L"Covers", 3}, {L"Printed", 1}, {L"Blank", 1}, {L"Chapters", 3}};  // enabled, and marked in use
    EXPECT_EQ(expected, items);
    PageExceptionsParams params = {};
    DWORD cb = sizeof params;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Block", RRF_RT_REG_BINARY, nullptr,
                                          &params, &cb));
    EXPECT_EQ(static_cast<DWORD>(ZQPE_CHAPTER_PAGES), params.dwKind);
    EXPECT_STREQ(printer.c_str(), params.szPrinterName);
    EXPECT_EQ(kinds, block.adwExtra[2]) << "the kinds in use travel with the document";
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
}

}  // namespace
