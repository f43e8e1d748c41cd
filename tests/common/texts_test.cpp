// Texts of the status module in the UI language, conversions, job names and the display dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commontest.h"
#include "commontest_ids.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "zqproc.h"
#include "zqcoremodrecord.h"
#include "common/zqmodule.h"
#include "formats/zquidevmode.h"

namespace {

using zqtest::CUiLanguage;

constexpr LANGID kEnUs = 0x0409, kDeDe = 0x0407, kDeCh = 0x0807, kDeAt = 0x0C07, kFrFr = 0x040C;

class StatusModuleTexts : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        HANDLE h = m_printer.Open();
        m_common.VLoadResourceModule(h);
        zqspool::Spooler().ClosePrinter(h);
        ASSERT_NE(nullptr, m_common.HResModule());
    }
    std::wstring Load(INT id, LANGID lang, BOOL* pOk = nullptr) {
        CUiLanguage ui(lang);
        WCHAR buf[256];
        lstrcpyW(buf, L"untouched");
        const BOOL ok = m_common.BLoadResString(id, buf);
        if (pOk) *pOk = ok;
        return buf;
    }

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    CZQCommon m_common;
};

TEST_F(StatusModuleTexts, FollowTheLanguageChain) {
    BOOL ok = FALSE;
    EXPECT_EQ(L" [none]", Load(874, kEnUs, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(L" [keine]", Load(874, kDeDe));
    // Missing in German: US English.
    EXPECT_EQ(L"English only", Load(ZQTEST_IDS_ENGLISH_ONLY, kDeDe));
    // Swiss German: its own text, else another German sub-language before English.
    EXPECT_EQ(L"Schweizer Text", Load(ZQTEST_IDS_SWISS_ONLY, kDeCh));
    EXPECT_EQ(L"Deutscher Text", Load(ZQTEST_IDS_GERMAN, kDeCh));
    // German of Austria has no table: both other German sub-languages serve it.
    EXPECT_EQ(L"Deutscher Text", Load(ZQTEST_IDS_GERMAN, kDeAt));
    EXPECT_EQ(L"Schweizer Text", Load(ZQTEST_IDS_SWISS_ONLY, kDeAt));
    EXPECT_EQ(L"Schweizer Text", Load(ZQTEST_IDS_SWISS_ONLY, kDeDe));
    // French: English only. A text in no language of the chain reads as empty, since its block
    // is there in English.
    EXPECT_EQ(L"English text", Load(ZQTEST_IDS_GERMAN, kFrFr));
    EXPECT_EQ(L"", Load(ZQTEST_IDS_SWISS_ONLY, kFrFr, &ok));
    EXPECT_FALSE(ok);
}

TEST_F(StatusModuleTexts, MissingEmptyAndNegativeIds) {
    BOOL ok = TRUE;
    EXPECT_EQ(L"untouched", Load(ZQTEST_IDS_NO_BLOCK, kEnUs, &ok));
    EXPECT_FALSE(ok);
    // The block exists but holds no text for the id: empty and FALSE.
    EXPECT_EQ(L"", Load(ZQTEST_IDS_EMPTY_IN_BLOCK, kEnUs, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(L"untouched", Load(-1, kEnUs, &ok));
    EXPECT_FALSE(ok);
}

TEST_F(StatusModuleTexts, LongTextsAreCutAndTerminated) {
    CUiLanguage ui(kEnUs);
    std::vector<WCHAR> buf(600, L'#');
    ASSERT_TRUE(m_common.BLoadResString(ZQTEST_IDS_LONG, buf.data()));
    EXPECT_EQ(255u, wcslen(buf.data()));
    EXPECT_EQ(L'#', buf[256]);  // nothing written beyond the 256-character buffer
    EXPECT_EQ(L'A', buf[0]);
    std::fill(buf.begin(), buf.end(), L'#');
    ASSERT_TRUE(m_common.BLoadResStringLong(ZQTEST_IDS_LONG, buf.data()));
    EXPECT_EQ(511u, wcslen(buf.data()));
    EXPECT_EQ(L'#', buf[512]);
}

TEST_F(StatusModuleTexts, ModuleIsLoadedOnceAndFreedWithTheHelper) {
    const HMODULE first = m_common.HResModule();
    HANDLE h = m_printer.Open();
    m_common.VLoadResourceModule(h);
    zqspool::Spooler().ClosePrinter(h);
    EXPECT_EQ(first, m_common.HResModule());

    CZQCommon empty;
    WCHAR buf[256] = L"keep";
    EXPECT_FALSE(empty.BLoadResString(874, buf));
    EXPECT_STREQ(L"keep", buf);
}

TEST_F(StatusModuleTexts, DefaultWatermarkNameIsInTheUiLanguage) {
    CUiLanguage ui(kDeDe);
    std::vector<BYTE> block(zqdm::kSize);
    ASSERT_TRUE(m_common.BFillDefaultDevmode(block.data(), nullptr));
    const auto* dm = reinterpret_cast<const ZQUIDevmode*>(block.data());
    EXPECT_STREQ(L" [keine]", dm->szWmName);
    EXPECT_STREQ(L" [keine]", dm->szWmText);
    EXPECT_STREQ(L"Arial", dm->szWmFont);

    // Without the status module: the English literal.
    CZQCommon bare;
    ASSERT_TRUE(bare.BFillDefaultDevmode(block.data(), nullptr));
    EXPECT_STREQ(L" [none]", dm->szWmName);
}

TEST(StatusModule, NoModuleInTheDriverDirectory) {
    zqspool::MemPrinterIdentity id;
    id.driverDirectory = L"C:\\ZQNoSuchDriverDirectory";
    zqspool::CZQMemoryPrinter printer(id);
    printer.Install();
    HANDLE h = printer.Open();
    CZQCommon common;
    common.VLoadResourceModule(h);
    EXPECT_EQ(nullptr, common.HResModule());
    common.VLoadResourceModule(nullptr);
    EXPECT_EQ(nullptr, common.HResModule());
    zqspool::Spooler().ClosePrinter(h);
}

TEST(Conversions, WideAndMultiByte) {
    PSTR ansi = nullptr;
    ASSERT_TRUE(CZQCommon::BWideToMultiByte(L"Gr\u00FC\u00DFe", &ansi, CP_UTF8));
    EXPECT_STREQ("Gr\xC3\xBC\xC3\x9F" "e", ansi);
    // Twice the needed size plus two.
    EXPECT_GE(LocalSize(ansi), 2u * 8 + 2);
    PWSTR wide = nullptr;
    ASSERT_TRUE(CZQCommon::BMultiByteToWide(&wide, ansi, CP_UTF8));
    EXPECT_STREQ(L"Gr\u00FC\u00DFe", wide);
    LocalFree(ansi);
    LocalFree(wide);

    wide = reinterpret_cast<PWSTR>(1);
    EXPECT_FALSE(CZQCommon::BMultiByteToWide(&wide, nullptr, CP_ACP));
    EXPECT_EQ(nullptr, wide);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    ansi = reinterpret_cast<PSTR>(1);
    EXPECT_FALSE(CZQCommon::BWideToMultiByte(nullptr, &ansi, CP_ACP));
    EXPECT_EQ(nullptr, ansi);
}

TEST(Conversions, ShortDate) {
    SYSTEMTIME st = {};
    st.wYear = 2024;
    st.wMonth = 2;
    st.wDay = 29;
    PWSTR text = nullptr;
    ASSERT_TRUE(CZQCommon::VFormatShortDate(&st, &text));
    WCHAR expected[64];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, expected, 64);
    EXPECT_STREQ(expected, text);
    LocalFree(text);
    st.wMonth = 13;  // no such date
    EXPECT_FALSE(CZQCommon::VFormatShortDate(&st, &text));
    EXPECT_EQ(nullptr, text);
    EXPECT_FALSE(CZQCommon::VFormatShortDate(nullptr, &text));
}

TEST(Conversions, MemorySizesFromKeywords) {
    DWORD low = 0, high = 0;
    EXPECT_TRUE(CZQCommon::BParseMemoryRange(3, "16MB", &low, &high));
    EXPECT_EQ(16u, low);
    EXPECT_EQ(16u, high);
    EXPECT_TRUE(CZQCommon::BParseMemoryRange(3, "16-48MB", &low, &high));
    EXPECT_EQ(16u, low);
    EXPECT_EQ(48u, high);
    EXPECT_TRUE(CZQCommon::BParseMemoryRange(1, "64MB", &low, &high));
    EXPECT_EQ(64u, low);
    EXPECT_EQ(64u, high);
    EXPECT_TRUE(CZQCommon::BParseMemoryRange(2, "MB128", &low, &high));
    EXPECT_EQ(128u, low);
    // A letter with nothing behind it: the two-character prefix would pass the terminator.
    EXPECT_FALSE(CZQCommon::BParseMemoryRange(2, "M", &low, &high));
    EXPECT_FALSE(CZQCommon::BParseMemoryRange(2, "", &low, &high));
    EXPECT_FALSE(CZQCommon::BParseMemoryRange(3, "None", &low, &high));
    EXPECT_FALSE(CZQCommon::BParseMemoryRange(1, nullptr, &low, &high));
    EXPECT_EQ(256, CZQCommon::IParseMemorySize("256MB"));
    EXPECT_EQ(0, CZQCommon::IParseMemorySize("Standard"));
    EXPECT_EQ(0x7FFFFFFF, CZQCommon::IParseMemorySize("99999999999999999999MB"));
}

TEST(JobNames, SanitizeByEncoding) {
    WCHAR text[64];
    lstrcpyW(text, L"Report \"Q1\"\x0007");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"UTF8"));
    EXPECT_STREQ(L"Report ~Q1~~", text);

    // UTF8: ranges and single code points out, the rest in (U+4E00 and U+0419 stay).
    lstrcpyW(text, L"\u4E00\u0419\u0450\u3040\uFF5F\u0100\u20AC");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"UTF8"));
    EXPECT_STREQ(L"\u4E00\u0419~~~\u0100\u20AC", text);
    lstrcpyW(text, L"a/b");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"UTF8"));
    EXPECT_STREQ(L"a~b", text);
    lstrcpyW(text, L"a\xD83D\xDE00" L"b");  // a surrogate pair: two units, two "~"
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"UTF8"));
    EXPECT_STREQ(L"a~~b", text);

    lstrcpyW(text, L"caf\u00E9 \u0100");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"8bitEncoding"));
    EXPECT_STREQ(L"caf\u00E9 ~", text);
    lstrcpyW(text, L"caf\u00E9");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"7bitEncoding"));
    EXPECT_STREQ(L"caf~", text);
    // The encoding name compares exactly.
    lstrcpyW(text, L"caf\u00E9");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L"utf8"));
    EXPECT_STREQ(L"caf~", text);

    // Nothing showable left: emptied; a name that was "~" already stays.
    lstrcpyW(text, L"\u4E00\u4E01");
    EXPECT_TRUE(CZQCommon::BSanitizeJobName(text, L""));
    EXPECT_STREQ(L"", text);
    lstrcpyW(text, L"~~");
    EXPECT_FALSE(CZQCommon::BSanitizeJobName(text, L""));
    EXPECT_STREQ(L"~~", text);
    EXPECT_FALSE(CZQCommon::BSanitizeJobName(text, nullptr));
}

TEST(JobNames, FromDocumentTimeOrUntitled) {
    zqspool::CZQMemoryPrinter printer;
    printer.Install();
    zqspool::MemJob job;
    job.id = 7;
    GetSystemTime(&job.submitted);
    printer.AddJob(job);
    HANDLE h = printer.Open();
    CZQCommon common;
    WCHAR name[CZQCommon::kJobNameChars + 4];

    common.VMakeJobName(h, 7, L"Quarterly report for 2024.docx", name, L"UTF8");
    EXPECT_STREQ(L"Quarterly report", name);

    // No document name, or none that survives the encoding: the submission time.
    common.VMakeJobName(h, 7, L"", name, L"UTF8");
    EXPECT_EQ(16u, wcslen(name));
    EXPECT_EQ(L'-', name[4]);
    EXPECT_EQ(L':', name[13]);
    common.VMakeJobName(h, 7, L"\u4E00\u4E01", name, L"7bitEncoding");
    EXPECT_EQ(16u, wcslen(name));

    common.VMakeJobName(h, 99, nullptr, name, nullptr);
    EXPECT_STREQ(L"UNTITLED", name);
    zqspool::Spooler().ClosePrinter(h);
}

TEST(DisplayDialog, RequestCarriesTheModulePaths) {
    zqspool::CZQMemoryPrinter printer(zqtest::ExeDirPrinter());
    printer.Install();
    zqtest::CScratchKey record(HKEY_CURRENT_USER, kZQCoreModRecordKey);
    CZQModule module(LoadLibraryW(zqtest::BesideExe(L"zqcoremod.dll").c_str()));
    ASSERT_TRUE(module);
    HANDLE h = printer.Open();

    ZQDisplayRequest request = {};
    lstrcpyW(request.szCoreModPath, L"stale");
    for (BYTE i = 0; i < sizeof request.abData; ++i) request.abData[i] = static_cast<BYTE>(i + 1);
    request.dwShow = 1;
    CZQCommon common;
    common.VCallDisplayDialog(h, request, module.Get());

    ZQDisplayRequest seen = {};
    DWORD cb = sizeof seen;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kZQCoreModRecordKey, L"VDisplayDialog", RRF_RT_REG_BINARY,
                                          nullptr, &seen, &cb));
    EXPECT_EQ(sizeof seen, cb);
    EXPECT_EQ(zqtest::BesideExe(L"zqcoremod.dll"), seen.szCoreModPath);
    EXPECT_EQ(zqtest::BesideExe(L"zqhelp.chm"), seen.szHelpFile);
    EXPECT_EQ(1u, seen.dwShow);
    EXPECT_EQ(0, memcmp(request.abData, seen.abData, sizeof seen.abData));

    // Without a module nothing is called.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kZQCoreModRecordKey, L"VDisplayDialog");
    common.VCallDisplayDialog(h, request, nullptr);
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kZQCoreModRecordKey, L"VDisplayDialog", RRF_RT_ANY,
                                          nullptr, nullptr, nullptr));
    zqspool::Spooler().ClosePrinter(h);
}

TEST(DisplayDialog, JobStorageExportRecordsTheWholeRequest) {
    zqtest::CScratchKey record(HKEY_CURRENT_USER, kZQCoreModRecordKey);
    CZQModule module(LoadLibraryW(zqtest::BesideExe(L"zqcoremod.dll").c_str()));
    auto pfn = ZQGetProc<PFN_VJobStorageDialog>(module.Get(), "VJobStorageDialog");
    ASSERT_NE(nullptr, pfn);
    ZQJobStorageRequest request = {};
    lstrcpyW(request.szUserName, L"JANE");
    lstrcpyW(request.szHelpFile, L"C:\\help.chm");
    request.dwOptionB = 1;
    pfn(request);
    ZQJobStorageRequest seen = {};
    DWORD cb = sizeof seen;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kZQCoreModRecordKey, L"VJobStorageDialog",
                                          RRF_RT_REG_BINARY, nullptr, &seen, &cb));
    EXPECT_EQ(2712u, cb);
    EXPECT_EQ(0, memcmp(&request, &seen, sizeof seen));
}

// ---- modules and dialogs under the plug-in's activation context
HANDLE g_seenActCtx = nullptr;

INT_PTR CALLBACK ProbeDlgProc(HWND hDlg, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    HANDLE h = nullptr;
    GetCurrentActCtx(&h);
    g_seenActCtx = h;
    if (h) ReleaseActCtx(h);
    EndDialog(hDlg, 42);
    return TRUE;
}

TEST(ActivationContext, DialogsRunUnderTheModuleContext) {
    zqmodule::SetInstance(GetModuleHandleW(nullptr));
    zqmodule::CreateModuleActCtx();
    ASSERT_NE(nullptr, zqmodule::ActCtx());
    EXPECT_EQ(42, CZQCommon::IDialogBoxParam(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ACTCTX_PROBE), nullptr,
                                             &ProbeDlgProc, 0));
    EXPECT_EQ(zqmodule::ActCtx(), g_seenActCtx);
    // The context is active only around the call.
    HANDLE after = nullptr;
    GetCurrentActCtx(&after);
    EXPECT_NE(zqmodule::ActCtx(), after);
    if (after) ReleaseActCtx(after);
    CZQModule m(CZQCommon::HLoadLibrary(zqtest::BesideExe(L"zqcoremod.dll").c_str()));
    EXPECT_TRUE(m);
    zqmodule::ReleaseModuleActCtx();
}

}  // namespace
