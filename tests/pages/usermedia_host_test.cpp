// Under the core driver stand-in: a medium of every kind (one of the driver's, one of the user's own
// recorded by the media tool, one the printer reports loaded on a roll) survives OK on every page
// with nothing changed, with its print quality, and the shortcut panel shows the core driver's
// current medium and quality.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace {

constexpr wchar_t kMediaTool[] = L"Software\\Quorvane\\AddNewPaper";

// The shortcut panel's lists by their labels (lower case, without mnemonic and colon); none while
// the page shows custom settings.
std::vector<std::pair<std::wstring, std::wstring>> PanelLists(HWND page) {
    std::vector<std::pair<std::wstring, std::wstring>> lists;
    std::wstring label;
    for (int id = 500; id < 560; ++id) {
        HWND control = GetDlgItem(page, id);
        if (!control || !IsWindowVisible(control)) continue;
        WCHAR kind[32] = {}, text[256] = {};
        GetClassNameW(control, kind, 32);
        GetWindowTextW(control, text, 256);
        if (lstrcmpiW(kind, L"Static") == 0) {
            label.clear();
            for (const wchar_t* c = text; *c; ++c)
                if (*c != L'&' && *c != L':') label += static_cast<wchar_t>(std::towlower(*c));
        } else if (lstrcmpiW(kind, L"ComboBox") == 0) {
            const LRESULT at = SendMessageW(control, CB_GETCURSEL, 0, 0);
            if (at >= 0) SendMessageW(control, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
            lists.push_back({label, at >= 0 ? text : L""});
        }
    }
    return lists;
}

TEST(MediaUnderHost, EveryPagesOkKeepsTheMediumOfEveryKind) {
    for (const auto& [name, value] : {std::pair{L"Name", L"Studio Satin"}, {L"ICCProfile", L"Not Profiled"},
                                      {L"Category", L"Photo"}, {L"Quality", L"Best"}})
        RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(kMediaTool) + L"\\MediaList\\Studio").c_str(), name, REG_SZ,
                        value, static_cast<DWORD>((wcslen(value) + 1) * sizeof(WCHAR)));
    // The medium is chosen on a page (in its tree behind "More...", else in the core driver's list);
    // the media and quality the devmode then holds. The user's medium comes first: the driver's
    // medium after it is chosen elsewhere while the tool's record still names the user's.
    const struct {
        const wchar_t* model;
        const wchar_t* printer;
        const wchar_t* page;
        const wchar_t* list;
        const wchar_t* entry;
        const char* media;
        const char* quality;
        // What a panel list that names the media or the quality shows: the core driver's name of its
        // medium (for the user's own, of the placeholder standing for it) and the quality; a driver
        // without a quality of its own leaves the quality row at the document type's choice.
        const wchar_t* panelMedia;
        const wchar_t* panelQuality;
    } cases[] = {
        {zqhosttest::kSimpleModel, zqhosttest::kSimplePrinter, L"Features", L"#435", L"Studio Satin", "ZQ_USER_PHOTO",
         "PQGroup_2", L"0", L"Normal"},
        {zqhosttest::kSimpleModel, zqhosttest::kSimplePrinter, L"Document Options", nullptr, L"Photo Paper, Matte",
         "PHOTO_MATTE", "PQGroup_2", L"Photo Paper, Matte", L"Normal"},
        {zqhosttest::kDeskModel, zqhosttest::kDeskPrinter, L"Paper/Quality", L"Type is:", L"Photo Paper, Matte",
         "PHOTO_MATTE", "PQGroup_2", L"Photo Paper, Matte", L"Best"},
        {zqhosttest::kWideModel, zqhosttest::kWidePrinter, L"Paper/Quality", L"Paper Type:", L"Coated Paper", "COATED",
         "PQGroup_1", L"Coated Paper", L"Normal"},
        {zqhosttest::kRollModel, zqhosttest::kRollPrinter, L"Document Options", nullptr, L"Photo Paper, Gloss",
         "PHOTO_GLOSS", "PQGroup_2", L"Photo Paper, Gloss", L"Best"},
    };
    for (const auto& c : cases) {
        const std::wstring printer = c.printer;
        SCOPED_TRACE(ZQUtf8(printer + L": " + c.entry));
        ZQInstallResult installed;
        ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(c.model), zqtest::ExeDir(), L"", installed));
        zqhosttest::ResetToDefaults(printer);
        CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
        // The large-format printers report coated paper loaded on their first roll.
        for (const auto& [name, value] : {std::pair{L"Roll1Name", L"Unknown"}, {L"Roll1Type", L"Coated Paper"},
                                          {L"Roll1Width", L"36"}})
            zqhosttest::PutAnswer(h.Get(), name, value);
        std::vector<std::wstring> pages;
        bool chosen = false;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                pages = ZQPageTitles(sheet);
                ASSERT_TRUE(ZQShowPage(sheet, c.page));
                HWND page = ZQCurrentPage(sheet);
                ZQDialogSteps steps;
                steps.choices = {{L"#497", c.entry}};
                ZQDialogSeen seen;
                chosen = c.list ? ZQPressForDialog(page, std::wstring(c.list) + L"=More...", steps, seen) && seen.chosen
                                : zqhosttest::Choose(page, L"Paper Type", c.entry) ||
                                      zqhosttest::Choose(page, L"Media Type", c.entry);
            });
            ASSERT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
        }
        ASSERT_TRUE(chosen);
        ASSERT_EQ(c.media, zqhosttest::Selected(out, "MediaType"));
        ASSERT_EQ(c.quality, zqhosttest::Selected(out, "PrintQualityGroup"));
        // Each page shown and OK pressed, its devmode stored as the printer's default as the printers
        // folder does.
        for (const std::wstring& title : pages) {
            SCOPED_TRACE(ZQUtf8(title));
            ASSERT_TRUE(ZQStoreDefaultDevmode(h.Get(), out));
            std::vector<std::pair<std::wstring, std::wstring>> panel;
            {
                CZQAutoPress press(50, [&](HWND sheet) {
                    ASSERT_TRUE(ZQShowPage(sheet, title));
                    if (title == L"Printing Shortcuts") panel = PanelLists(ZQCurrentPage(sheet));
                });
                out.clear();
                ASSERT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
            }
            EXPECT_EQ(c.media, zqhosttest::Selected(out, "MediaType"));
            EXPECT_EQ(c.quality, zqhosttest::Selected(out, "PrintQualityGroup"));
            for (const auto& [label, shown] : panel) {
                const bool media = label.find(L"type") != std::wstring::npos;
                if (media || label.find(L"quality") != std::wstring::npos) {
                    EXPECT_EQ(media ? c.panelMedia : c.panelQuality, shown) << ZQUtf8(label);
                }
            }
        }
        for (PCWSTR name : {L"Roll1Name", L"Roll1Type", L"Roll1Width"}) zqhosttest::PutAnswer(h.Get(), name, nullptr);
        zqhosttest::ResetToDefaults(printer);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kMediaTool);
}

}  // namespace
