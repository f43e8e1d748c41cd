// The soft-font installer's dialog on a real window, against the in-memory printer whose driver
// directory lies under a test folder (so "unifont" does too), with metrics files the tests write.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqmsgbox.h"
#include "device/zqfontinstaller.h"
#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "testsupport.h"
#include "zqfontgen.h"
#include "zqhostapp.h"
#include "common/zqmodule.h"

namespace {

using Names = std::vector<std::wstring>;
using Bytes = std::vector<uint8_t>;

const std::wstring kAlpha = L"ZQ Alpha 12pt", kBeta = L"ZQ Beta 10pt-Bd", kGamma = L"ZQ Gamma 8pt-It";

bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

Bytes ReadBytes(const std::wstring& path) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    Bytes bytes(file ? GetFileSize(file.Get(), nullptr) : 0);
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes;
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(dir + name + L"\\");
        else DeleteFileW((dir + name).c_str());
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryW(dir.c_str());
}

zqfontgen::PfmRecipe Recipe(const char* face, const char* selection) {
    zqfontgen::PfmRecipe s;
    s.face = face;
    s.selection = selection;
    return s;
}

class FontInstallerDialog : public ::testing::Test {
protected:
    void SetUp() override {
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_root = std::wstring(temp) + L"zqfonts" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        RemoveTree(m_root);
        for (const wchar_t* dir : {L"", L"drivers", L"drivers\\x64", L"drivers\\x64\\3", L"fonts", L"empty"})
            CreateDirectoryW((m_root + dir).c_str(), nullptr);
        m_printer.Identity().driverDirectory = m_root + L"drivers\\x64\\3";
        m_printer.Install();
        m_hPrinter = m_printer.Open();
        m_param = {sizeof(OEMFONTINSTPARAM), m_hPrinter, nullptr, nullptr, FG_CANCHANGE, nullptr};
        zqmodule::SetInstance(GetModuleHandleW(nullptr));
        m_status.Reset(LoadLibraryExW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        zqmsgbox::SetAnswerer(&Answer, this);

        zqfontgen::PfmRecipe beta = Recipe("ZQ Beta", "\x1B(s0p10h10v0s3b4099T");
        beta.variablePitch = false;
        beta.pixWidth = 24;
        Bytes badMagic = zqfontgen::BuildPcm("ZQ Other", {zqfontgen::BuildPfm(Recipe("ZQ Epsilon", "\x1B(s9v"))});
        badMagic[0] = 0;
        Bytes broken = zqfontgen::BuildPfm(Recipe("ZQ Zeta", "\x1B(s9v"));
        zqfontgen::Put32(broken, 2, 0);
        const std::pair<const wchar_t*, Bytes> files[] = {
            {L"alpha.pfm", zqfontgen::BuildPfm(Recipe("ZQ Alpha", "\x1B(s1p12v0s0b4148T"))},
            {L"beta.PFM", zqfontgen::BuildPfm(beta)},
            {L"cart.pcm", zqfontgen::BuildPcm("ZQ Cartridge", {zqfontgen::BuildPfm(Recipe("ZQ Gamma", "\x1B(s1p8v1s0b4148T")),
                                                               zqfontgen::BuildPfm(Recipe("zq alpha", "\x1B(s1p12v0s0b")),
                                                               zqfontgen::BuildPfm(Recipe("ZQ Delta", "&l0O"))})},
            {L"magic.pcm", badMagic},
            {L"broken.pfm", broken},
            {L"other.pfm", zqfontgen::BuildPfm(Recipe("ZQ Other", "!R!FONT!Other!"))},
        };
        for (const auto& [name, bytes] : files) ASSERT_TRUE(WriteBytes(Fonts() + L"\\" + name, bytes));
    }

    void TearDown() override {
        Close();
        zqmsgbox::SetAnswerer(nullptr, nullptr);
        zqspool::Spooler().ClosePrinter(m_hPrinter);
        m_printer.Uninstall();
        RemoveTree(m_root);
    }

    std::wstring Fonts() const { return m_root + L"fonts"; }

    HWND Open() {
        Close();
        m_installer.reset(new CZQFontInstaller(m_status.Get(), zqfont::kLangPcl));
        m_block = {&m_param, m_installer.get(), nullptr, nullptr, nullptr, FALSE, &m_caps};
        m_dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DLG_FONTINSTALL), nullptr,
                                   DimmFontDlgProc, reinterpret_cast<LPARAM>(&m_block));
        ShowWindow(m_dlg, SW_SHOW);
        return m_dlg;
    }

    void Close() {
        if (m_dlg) DestroyWindow(m_dlg);
        m_dlg = nullptr;
        if (m_installer) m_installer->VFreeFontList(&m_block);
        LocalFree(m_block.pszFontFile);
        LocalFree(m_block.pszFolder);
        m_block = ZQFontDlgParam();
    }

    void Type(const std::wstring& folder) { ZQTypeFontFolder(m_dlg, folder); }
    void Add(const Names& names) { ZQMoveFonts(m_dlg, false, names); }
    void Remove(const Names& names) { ZQMoveFonts(m_dlg, true, names); }
    Names Left() const { return ZQFontList(m_dlg, false); }
    Names Right() const { return ZQFontList(m_dlg, true); }
    void Ok() {
        HWND ok = GetDlgItem(m_dlg, IDOK);
        SetFocus(ok);
        SendMessageW(m_dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    }

    std::wstring FontFile() const {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"ExternalFontFile", &type, &data)) return L"";
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    }
    // The font file's names in directory order; `data` receives a font's data record.
    Names FileFonts(size_t font = 0, Bytes* data = nullptr) const {
        const Bytes bytes = ReadBytes(FontFile());
        std::vector<zqfont::UffFont> fonts;
        EXPECT_TRUE(zqfont::ReadUff(bytes.data(), bytes.size(), &fonts));
        Names names;
        for (const auto& f : fonts) names.emplace_back(f.name.begin(), f.name.end());
        if (data && font < fonts.size())
            data->assign(fonts[font].fontData.data, fonts[font].fontData.data + fonts[font].fontData.size);
        return names;
    }

    static int Answer(void* context, HWND, PCWSTR text, PCWSTR caption, UINT type) {
        static_cast<FontInstallerDialog*>(context)->m_boxes.push_back({std::wstring(caption) + L": " + text, type});
        return IDOK;
    }

    struct Box {
        std::wstring text;
        UINT type;
    };
    std::wstring m_root;
    zqspool::CZQMemoryPrinter m_printer;
    HANDLE m_hPrinter = nullptr;
    OEMFONTINSTPARAM m_param = {};
    PrinterCaps m_caps = {};
    CZQModule m_status;
    std::unique_ptr<CZQFontInstaller> m_installer;
    ZQFontDlgParam m_block = {};
    HWND m_dlg = nullptr;
    std::vector<Box> m_boxes;
};

TEST_F(FontInstallerDialog, TypedFoldersFillTheListOrSayWhatIsMissing) {
    Open();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_dlg, IDC_BUTTON_ADD)));
    const std::wstring missing = m_root + L"missing";
    Type(missing);
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"DIMM Font Installer: The folder " + missing + L" was not found.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), m_boxes[0].type);

    Type(m_root + L"empty");
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), m_boxes[1].type);

    // Foreign commands, a wrong magic, dfSize 0 and a name listed already (any case) add nothing.
    Type(Fonts());
    EXPECT_EQ((Names{kAlpha, kBeta, kGamma}), Left());
    EXPECT_EQ(2u, m_boxes.size());
    Type(missing);
    EXPECT_EQ(3u, m_boxes.size());
    WCHAR path[MAX_PATH] = {};
    GetDlgItemTextW(m_dlg, IDC_EDIT1, path, MAX_PATH);
    EXPECT_EQ(Fonts(), path) << "the previous folder returns";
    EXPECT_EQ((Names{kAlpha, kBeta, kGamma}), Left());
}

TEST_F(FontInstallerDialog, AddAndRemoveMarksDecideTheFontFile) {
    Open();
    Type(Fonts());
    Add({kAlpha, kGamma});
    EXPECT_EQ((Names{kBeta}), Left());
    EXPECT_EQ((Names{kAlpha, kGamma}), Right());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_dlg, IDC_BUTTON_ADD)));
    Remove({kGamma});  // back to the folder's list
    EXPECT_EQ((Names{kBeta, kGamma}), Left());
    Type(m_root + L"empty");  // the other folder's unmarked fonts go; the marked one stays
    EXPECT_EQ(Names{}, Left());
    EXPECT_EQ((Names{kAlpha}), Right());
    Remove({kAlpha});  // not of the current folder: gone
    EXPECT_EQ(Names{}, Left());
    EXPECT_EQ(Names{}, Right());

    Type(Fonts());
    Add({kAlpha, kGamma});
    Ok();
    const std::wstring file = FontFile();
    const std::wstring unifont = m_root + L"drivers\\unifont\\";
    EXPECT_EQ(0, _wcsnicmp(unifont.c_str(), file.c_str(), unifont.size())) << file;
    EXPECT_EQ(L".UFF", file.substr(file.size() - 4));
    Bytes gamma;
    EXPECT_EQ((Names{kAlpha, kGamma}), FileFonts(1, &gamma));

    // Opened again: the fonts are installed, and a folder's fonts of the same names are not listed.
    Open();
    EXPECT_EQ((Names{kAlpha, kGamma}), Right());
    Type(Fonts());
    EXPECT_EQ((Names{kBeta}), Left());
    Remove({kAlpha});
    EXPECT_EQ((Names{kAlpha, kBeta}), Left());
    Add({kAlpha});  // the removal is undone
    EXPECT_EQ((Names{kAlpha, kGamma}), Right());
    Remove({kAlpha});
    Add({kBeta});
    Ok();
    Bytes kept;
    EXPECT_EQ((Names{kGamma, kBeta}), FileFonts(0, &kept));
    EXPECT_EQ(gamma, kept) << "the kept font's record is copied as it was";

    Open();
    Remove({L"*"});
    Ok();
    const Bytes empty = ReadBytes(FontFile());
    ASSERT_EQ(48u, empty.size());
    EXPECT_EQ(0, empty[12] | empty[24] | empty[28]);
    EXPECT_EQ(1u, m_boxes.size()) << "only the empty folder's message";
}

TEST_F(FontInstallerDialog, PrinterOfAnotherComputerIsShownReadOnly) {
    m_printer.Identity().server = L"\\\\ZQHOST";
    Open();
    Type(Fonts());
    HWND list = GetDlgItem(m_dlg, IDC_LIST1);
    SendMessageW(list, LB_SETSEL, TRUE, -1);
    SendMessageW(m_dlg, WM_COMMAND, MAKEWPARAM(IDC_LIST1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_dlg, IDC_BUTTON_ADD)));
    Add({L"*"});
    EXPECT_EQ(Names{}, Right());
    Ok();
    EXPECT_EQ(L"", FontFile());
}

TEST_F(FontInstallerDialog, ForeignFontFileStaysAndAFontThatCannotBeConvertedIsLeftOut) {
    const std::wstring foreign = m_root + L"foreign.uff";
    const Bytes junk = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'n', 't', ' ', 'f', 'i', 'l', 'e'};
    ASSERT_TRUE(WriteBytes(foreign, junk));
    m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"ExternalFontFile", foreign);
    Open();
    EXPECT_EQ(Names{}, Right());
    Type(Fonts());
    Add({kAlpha});
    Ok();
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"DIMM Font Installer: The printer's font file could not be written.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), m_boxes[0].type);
    EXPECT_EQ(junk, ReadBytes(foreign));

    m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"ExternalFontFile", m_root + L"fresh.uff");
    Open();
    Type(Fonts());
    Add({kAlpha, kBeta});
    ASSERT_TRUE(DeleteFileW((Fonts() + L"\\beta.PFM").c_str()));
    Ok();
    EXPECT_EQ((Names{kAlpha}), FileFonts());
    EXPECT_EQ(1u, m_boxes.size());
}

// The core driver's call: the dialog only for its first message with a record that allows changes,
// while "ZQFontInstaller" is "TRUE"; right to left in a right-to-left user interface.
LANGID Arabic() { return MAKELANGID(LANG_ARABIC, SUBLANG_DEFAULT); }
DWORD g_shownStyle = 0;
void CALLBACK CancelInstaller(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM found) -> BOOL {
            if (!GetDlgItem(h, IDC_LIST2)) return TRUE;
            *reinterpret_cast<HWND*>(found) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dlg));
    if (!dlg) return;
    KillTimer(nullptr, id);
    g_shownStyle = static_cast<DWORD>(GetWindowLongW(dlg, GWL_EXSTYLE)) | 1;
    PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(FontInstallerDialog, CoreDriversCallOpensTheDialogOnlyWhenAllowed) {
    const struct {
        const char* what;
        UINT message;
        DWORD flags, size;
        const char* option;  // null: the driver has no such feature
        bool rtl;
        HRESULT expected;
    } rows[] = {
        {"allowed", WM_INITDIALOG, FG_CANCHANGE | 0x100, sizeof(OEMFONTINSTPARAM), "TRUE", false, S_OK},
        {"right to left", WM_INITDIALOG, FG_CANCHANGE, sizeof(OEMFONTINSTPARAM), "TRUE", true, S_OK},
        {"another message", WM_COMMAND, FG_CANCHANGE, sizeof(OEMFONTINSTPARAM), "TRUE", false, E_NOTIMPL},
        {"no changes allowed", WM_INITDIALOG, 0x100, sizeof(OEMFONTINSTPARAM), "TRUE", false, E_NOTIMPL},
        {"short record", WM_INITDIALOG, FG_CANCHANGE, 8, "TRUE", false, E_NOTIMPL},
        {"feature off", WM_INITDIALOG, FG_CANCHANGE, sizeof(OEMFONTINSTPARAM), "FALSE", false, E_NOTIMPL},
        {"no feature", WM_INITDIALOG, FG_CANCHANGE, sizeof(OEMFONTINSTPARAM), nullptr, false, E_NOTIMPL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        zqtest::COptItemFixture driver;
        if (row.option) driver.Add(zqtest::ValueFeature("ZQFontInstaller", row.option));
        driver.Add(zqtest::ValueFeature("ZQPDLType", "PCL3"));
        driver.Build();
        OEMFONTINSTPARAM param = {row.size, m_hPrinter, nullptr, nullptr, row.flags, nullptr};
        const ZQFontInstallerCall call = {driver.Param(), m_status.Get(), zqfont::kLangPcl, &m_caps};
        const zqlang::PFN_UiLanguage previous = zqlang::SetUiLanguageSource(row.rtl ? &Arabic : nullptr);
        g_shownStyle = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelInstaller);
        EXPECT_EQ(row.expected, CZQFontInstaller::HrFontInstallerDlgProc(call, nullptr, row.message, 0,
                                                                         reinterpret_cast<LPARAM>(&param)));
        KillTimer(nullptr, timer);
        zqlang::SetUiLanguageSource(previous);
        EXPECT_EQ(row.expected == S_OK, g_shownStyle != 0);
        if (g_shownStyle) {
            EXPECT_EQ(row.rtl, (g_shownStyle & WS_EX_LAYOUTRTL) != 0);
        }
    }
}

}  // namespace
