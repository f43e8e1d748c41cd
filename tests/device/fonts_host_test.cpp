// The desk printer's font installer, opened from the device settings of the core driver stand-in
// through Wine's spooler: fonts of a typed folder are installed into the font file the printer data
// names, listed as installed when it opens again, and removed down to a header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/zqfontfile.h"
#include "hosttest.h"
#include "zqfontgen.h"
#include "zqhostapp.h"

namespace {

using Names = std::vector<std::wstring>;

std::vector<uint8_t> FontFileOf(HANDLE printer) {
    WCHAR path[MAX_PATH] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(L"ExternalFontFile"), &type, reinterpret_cast<BYTE*>(path),
                        sizeof path - sizeof(WCHAR), &needed) != ERROR_SUCCESS)
        return {};
    CZQHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<uint8_t> bytes(file ? GetFileSize(file.Get(), nullptr) : 0);
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes;
}

TEST(FontsUnderHost, DeskPrinterInstallsListsAndRemovesFonts) {
    zqhosttest::InstallSamplePrinters();
    const std::wstring desk = L"ZQ Desk 2400 Inkjet", roll = L"ZQ Roll 4400 Large Format";
    CZQSpoolPrinter h = zqhosttest::OpenFully(desk);
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zqhostfonts";
    CreateDirectoryW(folder.c_str(), nullptr);
    zqfontgen::PfmRecipe serif, mono;
    serif.face = "ZQ Host Serif";
    mono.face = "ZQ Host Mono";
    mono.selection = "\x1B(s0p10h10v0s3b4099T";
    for (const auto& [file, recipe] : {std::make_pair(L"\\serif.pfm", serif), std::make_pair(L"\\mono.pfm", mono)}) {
        const std::vector<uint8_t> bytes = zqfontgen::BuildPfm(recipe);
        CZQHandle out(CreateFileW((folder + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(out && WriteFile(out.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    const Names both = {L"ZQ Host Mono 10pt-Bd", L"ZQ Host Serif 12pt"};

    ZQFontSteps add;
    add.folder = folder;
    add.add = {L"*"};
    ZQFontSeen seen;
    EXPECT_GT(ZQRunFontInstaller(h.Get(), desk, add, seen), 0);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(Names{}, seen.toAdd);
    EXPECT_EQ(both, seen.installed);
    std::vector<uint8_t> file = FontFileOf(h.Get());
    std::vector<zqfont::UffFont> fonts;
    ASSERT_TRUE(zqfont::ReadUff(file.data(), file.size(), &fonts));
    EXPECT_EQ(2u, fonts.size());

    EXPECT_GT(ZQRunFontInstaller(h.Get(), desk, ZQFontSteps(), seen), 0);
    EXPECT_EQ(both, seen.installed);

    ZQFontSteps removeAll;
    removeAll.remove = {L"*"};
    EXPECT_GT(ZQRunFontInstaller(h.Get(), desk, removeAll, seen), 0);
    EXPECT_EQ(48u, FontFileOf(h.Get()).size());

    // A printer that takes no downloaded fonts offers no installer.
    CZQSpoolPrinter r = zqhosttest::OpenFully(roll);
    EXPECT_GT(ZQRunFontInstaller(r.Get(), roll, add, seen), 0);
    EXPECT_FALSE(seen.shown);
}

}  // namespace
