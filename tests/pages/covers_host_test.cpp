// Papers of single pages and covers on the desk printer's Paper/Quality page, and a copy of its
// model with page exceptions edited through the page-exceptions module stand-in, both under the
// core driver stand-in and Wine's property sheet.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "platform/zqpageexceptionsapi.h"
#include "res/zqpaperqualityids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqpgexcrecord.h"
#include "zqprinter.h"

namespace {

const std::wstring kDesk = zqhosttest::kDeskPrinter;
constexpr const wchar_t* kExceptionsPrinter = L"ZQ Desk 2400 Exceptions";

ZQUIDevmode Block(const std::vector<BYTE>& dm) {
    ZQUIDevmode block = {};
    if (const BYTE* oem = zqhosttest::OemBlock(dm)) std::memcpy(&block, oem, sizeof block);
    return block;
}

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        WCHAR text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// The desk model with page exceptions and the module that edits them, under a name of its own.
std::wstring WriteExceptionsModel() {
    std::ifstream in(zqtest::BesideExe(zqhosttest::kDeskModel).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string model = text.str();
    for (auto [from, to] : {std::pair<std::string, std::string>{"Inkjet\n", "Exceptions\n"},
                            {"zqwarnmod.dll ", "zqwarnmod.dll zqpgexc.dll "}})
        model.replace(model.find(from), from.size(), to);
    model += "\n[Feature ZQPageExceptions]\nName=Page Exceptions\nFlags=hidden\nDefault=CoverInsertion\n"
             "Option=CoverInsertion | Covers\nOption=PrintedInsertion | Printed Insertions\n"
             "Option=BlankInsertion | Blank Insertions\nOption=ChapterPages | Chapter Pages\n"
             "\n[Feature ZQPageExceptionsFile]\nKind=None\nOption=" + std::string(kZQPgExcFile) + " | Module\n"
             "\n[Feature ZQPageExceptionsInterface]\nKind=None\nOption=" + std::string(kZQPgExcEntry) + " | Entry\n";
    const std::wstring path = zqtest::BesideExe(L"samples\\zqdesk\\zqdeskexceptions.zqm");
    std::ofstream(path.c_str(), std::ios::binary) << model;
    return path;
}

using CoversUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(CoversUnderHost, EachChosenKindKeepsItsOwnSourceAndMedia) {
    zqhosttest::ResetToDefaults(kDesk);
    CZQSpoolPrinter h = Open(kDesk);
    const struct {
        const wchar_t* kind;
        bool cover;
        const wchar_t* source;
        const wchar_t* media;
    } choices[] = {{L"First Page", false, L"Tray 2", L"Brochure Paper, Matte"},
                   {L"Front Cover", true, L"Tray 1", L"Transparency Film"}};
    std::vector<std::wstring> kinds;
    bool hidden = false;
    int chosen = 0;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND page = ZQCurrentPage(sheet);
            hidden = !IsWindowVisible(GetDlgItem(page, IDC_LB_PAGE_EXCEPTIONS_OPTIONS));
            ASSERT_TRUE(ZQChooseOnPage(page, L"Use Different Paper/Covers", L"on"));
            kinds = ListItems(GetDlgItem(page, IDC_LB_MEDIA_PAPER_OPTIONS));
            for (const auto& c : choices) {
                chosen += ZQChooseOnPage(page, L"#427", c.kind);
                if (c.cover) chosen += ZQChooseOnPage(page, L"#431", L"on");
                chosen += ZQChooseOnPage(page, L"Source is", c.source);
                chosen += ZQChooseOnPage(page, L"Type is", c.media);
            }
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kDesk, nullptr, out));
    }
    EXPECT_TRUE(hidden) << "the desk printer has no page exceptions";
    EXPECT_EQ((std::vector<std::wstring>{L"First Page", L"Other Pages", L"Last Page", L"Back Cover", L"Front Cover",
                                         L"Back Cover from Feeder", L"Front Cover from Feeder"}),
              kinds);
    EXPECT_EQ(7, chosen);
    ASSERT_FALSE(out.empty());
    const ZQUIDevmode block = Block(out);
    EXPECT_EQ(1u, block.dwDiffPaper);
    EXPECT_EQ(258u, block.dwFirstPageSource);
    EXPECT_EQ(257u, block.dwFirstPageMedia);
    EXPECT_EQ(1u, block.dwFrontCover);
    EXPECT_EQ(257u, block.dwFrontCoverSource);
    EXPECT_EQ(2u, block.dwFrontCoverMedia);
}

TEST_F(CoversUnderHost, PageExceptionsAreEditedThroughTheModule) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(WriteExceptionsModel(), zqtest::ExeDir(), kExceptionsPrinter, installed))
        << ZQUtf8(installed.error);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
    const DWORD kinds = 0x9;
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"KindsInUse", REG_DWORD, &kinds, sizeof kinds);
    CZQSpoolPrinter h = Open(kExceptionsPrinter);
    std::vector<std::wstring> items;
    std::vector<LRESULT> data;
    bool pageKindsHidden = false;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND page = ZQCurrentPage(sheet);
            pageKindsHidden = !IsWindowVisible(GetDlgItem(page, IDC_CHK_MEDIA_PAPER_DIFF));
            HWND list = GetDlgItem(page, IDC_LB_PAGE_EXCEPTIONS_OPTIONS);
            ASSERT_TRUE(ZQChooseOnPage(page, L"#436", L"Chapter Pages"));
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BTN_PAGE_EXCEPTIONS_SETTINGS)));
            items = ListItems(list);
            for (size_t i = 0; i < items.size(); ++i) data.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kExceptionsPrinter, nullptr, out));
    }
    EXPECT_TRUE(pageKindsHidden);
    EXPECT_EQ((std::vector<std::wstring>{L"Covers", L"Printed Insertions", L"Blank Insertions", L"Chapter Pages"}), items);
    EXPECT_EQ((std::vector<LRESULT>{3, 1, 1, 3}), data) << "all allowed, covers and chapters in use";
    BYTE block[sizeof(PageExceptionsParams)] = {};
    DWORD cb = sizeof block;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Block", RRF_RT_REG_BINARY, nullptr,
                                          block, &cb));
    const auto* params = reinterpret_cast<const PageExceptionsParams*>(block);
    EXPECT_EQ(static_cast<DWORD>(ZQPE_CHAPTER_PAGES), params->dwKind);
    EXPECT_STREQ(kExceptionsPrinter, params->szPrinterName);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(kinds, Block(out).adwExtra[2]) << "the kinds in use travel with the document";
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
}

}  // namespace
