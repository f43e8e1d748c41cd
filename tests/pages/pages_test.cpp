// Page assembly: the pages each sheet gets, the contexts and sheet record the pages receive,
// right-to-left templates, the start page, and a sheet that refuses a page.
#include <gtest/gtest.h>

#include "testsupport.h"

#include <memory>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqstrings.h"
#include "optitemfixture.h"
#include "zqoemui.h"
#include "pages/zqpages.h"
#include "formats/zquidevmode.h"

namespace {

using zqtest::COptItemFixture;

// ---------------------------------------------------------------------------------------------
// Test pages: one class for every id, counted so ownership can be checked.
// ---------------------------------------------------------------------------------------------
int g_livePages = 0;
std::vector<int> g_beforeAdd;  // page ids in the order their pre-add work ran, with the ADD count

class CTestTab : public CZQTabBase {
public:
    explicit CTestTab(int id) : m_id(id) { ++g_livePages; }
    ~CTestTab() override { --g_livePages; }
    int m_id;
};

INT_PTR CALLBACK TestDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

template <int Id>
CZQTabBase* CreateTab(const ZQSheetFacts&) {
    return new CTestTab(Id);
}
CZQTabBase* CreateNothing(const ZQSheetFacts&) { return nullptr; }

template <int Id>
ZQPageTemplate TemplateOf(const ZQSheetFacts&) {
    return {static_cast<WORD>(100 + Id), static_cast<WORD>(200 + Id), &TestDlgProc};
}

struct FakeSheet;
FakeSheet* g_sheet = nullptr;

template <int Id>
void BeforeAdd(PageContext* pContext, PROPSHEETPAGEW* pPage);
std::vector<int> g_sheetEnds;
template <int Id>
void SheetEnd(PageContext* pContext) {
    EXPECT_EQ(Id, static_cast<CTestTab*>(pContext->pPage)->m_id);
    g_sheetEnds.push_back(Id);
}

#define ZQ_TEST_ROW(id, title, english) \
    { id, &CreateTab<id>, &TemplateOf<id>, title, english, &BeforeAdd<id>, &SheetEnd<id> }

const ZQPageRow kAllRows[] = {
    ZQ_TEST_ROW(kPageShortcuts, 4255, L"Printing Shortcuts"),
    ZQ_TEST_ROW(kPagePaperQuality, 832, L"Paper/Quality"),
    ZQ_TEST_ROW(kPageFeatures, 5198, L"Features"),
    ZQ_TEST_ROW(kPageLargeFormatFeatures, 5198, L"Features"),
    ZQ_TEST_ROW(kPageEffects, 812, L"Effects"),
    ZQ_TEST_ROW(kPageFinishing, 813, L"Finishing"),
    // A title id the status module lacks, and an English title longer than the tab's buffer.
    ZQ_TEST_ROW(kPageOutput, 64999, L"Output page whose English title is longer than fifty characters"),
    ZQ_TEST_ROW(kPageJobStorage, 173, L"Job Storage"),
    ZQ_TEST_ROW(kPageColor, 798, L"Color"),
    ZQ_TEST_ROW(kPageAbout, 866, L"About"),
    ZQ_TEST_ROW(kPageServices, 5468, L"Services"),
    {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};

// ---------------------------------------------------------------------------------------------
// The common property-sheet callback, in process.
// ---------------------------------------------------------------------------------------------
struct AddedPage {
    DWORD flags;
    HINSTANCE instance;
    WORD templateId;
    DLGPROC proc;
    std::wstring title;
    PageContext* context;
    HANDLE handle;
};

struct FakeSheet {
    std::vector<AddedPage> added;
    std::vector<HANDLE> deleted;
    std::vector<HANDLE> startPages;
    std::vector<std::pair<HANDLE, LPARAM>> results;
    int failAt = -1;  // the ADD with this index (from 0) answers 0
    LONG_PTR resultAnswer = 1;
    int adds = 0;
};

LONG_PTR CALLBACK FakeComPropSheet(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    FakeSheet& s = *g_sheet;
    EXPECT_EQ(reinterpret_cast<HANDLE>(0x77), hComPropSheet);
    switch (function) {
        case CPSFUNC_ADD_PROPSHEETPAGEW: {
            EXPECT_EQ(0, lParam2);
            const int index = s.adds++;
            if (index == s.failAt) return 0;
            const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
            AddedPage page;
            page.flags = psp->dwFlags;
            page.instance = psp->hInstance;
            page.templateId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(psp->pszTemplate));
            page.proc = psp->pfnDlgProc;
            page.title = psp->pszTitle;
            page.context = reinterpret_cast<PageContext*>(psp->lParam);
            page.handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1000 + index));
            s.added.push_back(page);
            return reinterpret_cast<LONG_PTR>(page.handle);
        }
        case CPSFUNC_DELETE_HCOMPROPSHEET: s.deleted.push_back(reinterpret_cast<HANDLE>(lParam1)); return 1;
        case CPSFUNC_SET_HSTARTPAGE: s.startPages.push_back(reinterpret_cast<HANDLE>(lParam1)); return 1;
        case CPSFUNC_SET_RESULT: s.results.push_back({reinterpret_cast<HANDLE>(lParam1), lParam2}); return s.resultAnswer;
        default: ADD_FAILURE() << "unexpected function " << function; return 0;
    }
}

template <int Id>
void BeforeAdd(PageContext* pContext, PROPSHEETPAGEW* pPage) {
    // Runs with the page bound, its context laid and its record filled, before the sheet sees it.
    EXPECT_EQ(pContext->pPage->m_iSheetPosition, static_cast<int>(g_sheet->added.size()));
    EXPECT_EQ(reinterpret_cast<LPARAM>(pContext), pPage->lParam);
    g_beforeAdd.push_back(Id);
    // A page may change its record here (the services page takes its dialog from another module).
    if (Id == kPageAbout) pPage->pszTitle = L"About (changed)";
}

// Busy blocks of a heap.
int BusyBlocks(HANDLE heap) {
    int n = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++n;
    HeapUnlock(heap);
    return n;
}

// ---------------------------------------------------------------------------------------------
// Assembly through the plug-in object.
// ---------------------------------------------------------------------------------------------
struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

class Assembly : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Identity().driverDirectory = zqtest::ExeDir();
        m_printer.Install();
        g_sheet = &m_sheet;
        g_beforeAdd.clear();
        m_previousRows = ZQSetPageTable(kAllRows);
        m_heap = HeapCreate(0, 0, 0);
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(&m_dm, nullptr));
        m_dm.dwColorMode = 2;
        m_dm.iStartPage = -999;

        m_host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQDesk"));
        m_host.Build();
        m_hPrinter = m_printer.Open();
        m_ps.cbSize = sizeof m_ps;
        m_ps.poemuiobj = m_host.Param()->poemuiobj;
        m_ps.hPrinter = m_hPrinter;
        m_ps.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_ps.hOEMHeap = m_heap;
        m_ps.pOEMDM = &m_dm;
        m_ps.pOEMUserData = kCallerUserData;
        m_info.cbSize = sizeof m_info;
        m_info.Reason = PROPSHEETUI_REASON_INIT;
        m_info.hComPropSheet = reinterpret_cast<HANDLE>(0x77);
        m_info.pfnComPropSheet = &FakeComPropSheet;
        m_info.lParamInit = reinterpret_cast<LPARAM>(&m_ps);
        m_plugin.reset(new CZQOemUI());
        m_plugin->CommonUIProp(OEMCUIP_DOCPROP, m_host.Param());
    }
    void TearDown() override {
        m_plugin.reset();
        EXPECT_EQ(0, g_livePages);
        ZQSetPageTable(m_previousRows);
        HeapDestroy(m_heap);
        g_sheet = nullptr;
    }

    HRESULT Init(DWORD sheet = kSheetDocument) {
        m_info.Reason = PROPSHEETUI_REASON_INIT;
        return sheet == kSheetDocument ? m_plugin->DocumentPropertySheets(&m_info, 0)
                                       : m_plugin->DevicePropertySheets(&m_info, 0);
    }
    HRESULT Destroy() {
        m_info.Reason = PROPSHEETUI_REASON_DESTROY;
        return m_plugin->DocumentPropertySheets(&m_info, 0);
    }
    std::vector<std::wstring> Titles() const {
        std::vector<std::wstring> t;
        for (const AddedPage& p : m_sheet.added) t.push_back(p.title);
        return t;
    }
    std::vector<int> Templates() const {
        std::vector<int> t;
        for (const AddedPage& p : m_sheet.added) t.push_back(p.templateId);
        return t;
    }

    static inline PVOID const kCallerUserData = reinterpret_cast<PVOID>(0xC0FFEE);
    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    COptItemFixture m_host;
    FakeSheet m_sheet;
    const ZQPageRow* m_previousRows = nullptr;
    HANDLE m_heap = nullptr;
    HANDLE m_hPrinter = nullptr;
    ZQUIDevmode m_dm = {};
    OEMUIPSPARAM m_ps = {};
    PROPSHEETUI_INFO m_info = {};
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin;
};

TEST_F(Assembly, DocumentSheetAddsThePagesInOrderWithTheirContexts) {
    zqtest::CUiLanguage ui(0x0409);
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ((std::vector<std::wstring>{L"Printing Shortcuts", L"Paper/Quality", L"Effects", L"Finishing", L"Color",
                                         L"About (changed)"}),
              Titles());
    EXPECT_EQ((std::vector<int>{100 + kPageShortcuts, 100 + kPagePaperQuality, 100 + kPageEffects,
                                100 + kPageFinishing, 100 + kPageColor, 100 + kPageAbout}),
              Templates());
    EXPECT_EQ((std::vector<int>{kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageColor,
                                kPageAbout}),
              g_beforeAdd);

    const auto* record = static_cast<const SheetRecord*>(m_ps.pOEMUserData);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(record, m_plugin->SheetsForTesting().SheetForTesting());
    EXPECT_EQ(&FakeComPropSheet, record->pfnComPropSheet);
    EXPECT_EQ(reinterpret_cast<HANDLE>(0x77), record->hComPropSheet);
    EXPECT_EQ(kSheetDocument, record->dwMode);
    // On x64 every slot is a whole pointer: the handles come back intact.
    static_assert(sizeof(record->ahPages[0]) == sizeof(void*), "pointer-sized page slots");
    static_assert(offsetof(SheetRecord, dwMode) == (2 + kMaxSheetPages) * sizeof(void*), "sheet record layout");

    for (size_t i = 0; i < m_sheet.added.size(); ++i) {
        const AddedPage& p = m_sheet.added[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<DWORD>(PSP_USETITLE | PSP_PREMATURE), p.flags);  // no activation context in tests
        EXPECT_EQ(GetModuleHandleW(nullptr), p.instance);
        EXPECT_EQ(&TestDlgProc, p.proc);
        EXPECT_EQ(p.handle, record->ahPages[i]);
        const PageContext* ctx = p.context;
        ASSERT_NE(nullptr, ctx);
        auto* page = static_cast<CTestTab*>(ctx->pPage);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(ctx, m_plugin->SheetsForTesting().ContextForTesting(page->m_id));
        EXPECT_EQ(page, m_plugin->SheetsForTesting().Tab(page->m_id));
        EXPECT_EQ(static_cast<int>(i), page->m_iSheetPosition);
        EXPECT_EQ(static_cast<int>(i), m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, page->m_id));
        // The gates and the binding's records come from their owners, the sheet's record with them.
        EXPECT_EQ(&m_plugin->ConstraintGateForTesting(), ctx->pConstraints);
        EXPECT_EQ(&m_plugin->AlertGateForTesting(), ctx->pAlerts);
        EXPECT_NE(nullptr, ctx->pExchange);
        EXPECT_EQ(&m_plugin->BindingForTesting().quickSets, ctx->pQuickSets);
        EXPECT_EQ(&m_plugin->BindingForTesting().papers, ctx->pPapers);
        EXPECT_EQ(record, ctx->pSheet);
        EXPECT_EQ(&m_plugin->BindingForTesting().logic, ctx->pLogic);
        EXPECT_EQ(static_cast<int>(i), ctx->pLogic->IGetPageIndex(&m_dm, page->m_id));
        EXPECT_EQ(&m_plugin->BindingForTesting().caps, ctx->pCaps);
        // One preview for every page, made with the page objects.
        EXPECT_NE(nullptr, ctx->pPreview);
        EXPECT_EQ(m_plugin->SheetsForTesting().PreviewForTesting(), ctx->pPreview);
        EXPECT_EQ(nullptr, ctx->pDriverUI);  // none published
        EXPECT_EQ(&m_ps, page->SheetParam());
        EXPECT_EQ(m_host.Param(), page->CUIParam());
        EXPECT_NE(nullptr, page->HResModule());
        EXPECT_EQ(m_plugin->BindingForTesting().pCommon->HResModule(), page->HResModule());
    }
    // Objects exist for pages the sheet does not show; they are not in the sheet.
    EXPECT_NE(nullptr, m_plugin->SheetsForTesting().Tab(kPageOutput));
    EXPECT_EQ(-1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageOutput));
    EXPECT_EQ(-1, m_plugin->SheetsForTesting().Tab(kPageOutput)->m_iSheetPosition);
    EXPECT_TRUE(m_sheet.startPages.empty());
}

TEST_F(Assembly, TitlesFallBackToEnglishAndFitTheTab) {
    COptItemFixture withOutput;
    withOutput.Add(zqtest::ListFeature("OutputBin", {{"UPPER", L"Upper"}}));
    withOutput.Build();
    m_plugin->CommonUIProp(OEMCUIP_DOCPROP, withOutput.Param());
    ASSERT_EQ(S_OK, Init());
    const CZQTabBase* output = m_plugin->SheetsForTesting().Tab(kPageOutput);
    ASSERT_NE(-1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageOutput));
    EXPECT_EQ(std::wstring(L"Output page whose English title is longer than fi"), output->m_szTitle);
    EXPECT_EQ(output->m_szTitle, m_sheet.added[m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageOutput)].title);
}

TEST_F(Assembly, RightToLeftTemplatesUnderArabicAndHebrew) {
    for (LANGID lang : {LANGID(0x0401), LANGID(0x0C01), LANGID(0x040D)}) {
        SCOPED_TRACE(lang);
        zqtest::CUiLanguage ui(lang);
        m_sheet = FakeSheet();
        ASSERT_EQ(S_OK, Init());
        EXPECT_TRUE((&m_plugin->BindingForTesting().logic)->SheetState()->bRtl);
        EXPECT_EQ((std::vector<int>{200 + kPageShortcuts, 200 + kPagePaperQuality, 200 + kPageEffects,
                                    200 + kPageFinishing, 200 + kPageColor, 200 + kPageAbout}),
                  Templates());
        ASSERT_EQ(S_OK, Destroy());
    }
    zqtest::CUiLanguage ui(0x0407);
    m_sheet = FakeSheet();
    ASSERT_EQ(S_OK, Init());
    EXPECT_FALSE((&m_plugin->BindingForTesting().logic)->SheetState()->bRtl);
    EXPECT_EQ(100 + kPageShortcuts, Templates().front());
    EXPECT_EQ(L"Effekte", Titles()[2]);  // titles follow the UI language
}

TEST_F(Assembly, StartPageIsThePageLeftLast) {
    m_dm.iStartPage = 812;  // Effects
    ASSERT_EQ(S_OK, Init());
    ASSERT_EQ(1u, m_sheet.startPages.size());
    EXPECT_EQ(m_sheet.added[m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageEffects)].handle, m_sheet.startPages[0]);
    ASSERT_EQ(S_OK, Destroy());

    // A page this sheet does not show, or none recorded: the sheet opens on its first page.
    for (int title : {4029, -999, 0}) {
        m_sheet = FakeSheet();
        m_dm.iStartPage = title;
        ASSERT_EQ(S_OK, Init());
        EXPECT_TRUE(m_sheet.startPages.empty()) << title;
        ASSERT_EQ(S_OK, Destroy());
    }
}

TEST_F(Assembly, HelpPathIsRewrittenInTheDriversBlock) {
    ZQCopyText(reinterpret_cast<WCHAR*>(m_dm.szHelpFile), 256, L"\\\\elsewhere\\share\\other.chm");
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ(zqtest::ExeDir() + L"\\zqhelp.chm", reinterpret_cast<const WCHAR*>(m_dm.szHelpFile));
    ASSERT_EQ(S_OK, Destroy());

    m_printer.Identity().helpFile.clear();
    m_sheet = FakeSheet();
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ(0, m_dm.szHelpFile[0]);
}

TEST_F(Assembly, RefusedPageLeavesNoHalfBuiltSheet) {
    m_sheet.failAt = 3;
    const int before = BusyBlocks(m_heap);
    EXPECT_EQ(E_FAIL, Init());
    // The three pages that made it are taken out again, in the order they came.
    ASSERT_EQ(3u, m_sheet.added.size());
    EXPECT_EQ((std::vector<HANDLE>{m_sheet.added[0].handle, m_sheet.added[1].handle, m_sheet.added[2].handle}),
              m_sheet.deleted);
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);
    EXPECT_EQ(nullptr, m_plugin->SheetsForTesting().SheetForTesting());
    EXPECT_EQ(before, BusyBlocks(m_heap));
    for (int id : {kPageShortcuts, kPagePaperQuality, kPageEffects}) {
        EXPECT_EQ(-1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, id));
        EXPECT_EQ(-1, m_plugin->SheetsForTesting().Tab(id)->m_iSheetPosition);
    }
    EXPECT_TRUE(m_sheet.startPages.empty());

    // The next sheet builds normally.
    m_sheet = FakeSheet();
    EXPECT_EQ(S_OK, Init());
    EXPECT_EQ(6u, m_sheet.added.size());
}

TEST_F(Assembly, FirstPageRefusedAndNoHeapLeaveTheCallerAsItWas) {
    m_sheet.failAt = 0;
    EXPECT_EQ(E_FAIL, Init());
    EXPECT_TRUE(m_sheet.deleted.empty());
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);
    EXPECT_EQ(0, BusyBlocks(m_heap));

    m_sheet = FakeSheet();
    m_ps.hOEMHeap = nullptr;
    EXPECT_EQ(E_FAIL, Init());
    EXPECT_EQ(0, m_sheet.adds);
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);
}

TEST_F(Assembly, DestroyFreesTheRecordAndKeepsThePageObjectsUntilTheNextSheet) {
    ASSERT_EQ(S_OK, Init());
    const int pages = g_livePages;
    EXPECT_GT(pages, 0);
    CZQTabBase* effects = m_plugin->SheetsForTesting().Tab(kPageEffects);
    g_sheetEnds.clear();
    ASSERT_EQ(S_OK, Destroy());
    // Only the pages the sheet showed hear of its end, in sheet order.
    EXPECT_EQ((std::vector<int>{kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageColor,
                                kPageAbout}),
              g_sheetEnds);
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);
    EXPECT_EQ(nullptr, m_plugin->SheetsForTesting().SheetForTesting());
    EXPECT_EQ(0, BusyBlocks(m_heap));
    EXPECT_EQ(effects, m_plugin->SheetsForTesting().Tab(kPageEffects));
    // A second destroy, or one for another block, changes nothing.
    g_sheetEnds.clear();
    EXPECT_EQ(S_OK, Destroy());
    EXPECT_TRUE(g_sheetEnds.empty());
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);

    // Building again replaces the objects: no more of them live than before.
    m_sheet = FakeSheet();
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ(pages, g_livePages);
}

TEST_F(Assembly, EverySheetStartsWithFreshSheetState) {
    ASSERT_EQ(S_OK, Init());
    CZQUILogic* logic = (&m_plugin->BindingForTesting().logic);
    ZQSheetState* state = logic->SheetState();
    state->iHighestPage = 4;
    state->bTitleDone = TRUE;
    // A page edits the working copy; the next document sheet starts from the core driver's block.
    logic->WorkDM()->dwWmAngle = 7;
    ASSERT_EQ(S_OK, Destroy());
    m_sheet = FakeSheet();
    m_dm.dwWmAngle = 33;
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ(-1, state->iHighestPage);
    EXPECT_FALSE(state->bTitleDone);
    EXPECT_EQ(1, state->aiPagePosition[kPagePaperQuality]);
    EXPECT_EQ(1, logic->IGetPageIndex(nullptr, kPagePaperQuality));
    EXPECT_EQ(-1, logic->IGetPageIndex(nullptr, kPageOutput));
    EXPECT_EQ(-1, logic->IGetPageIndex(nullptr, 999));
    EXPECT_EQ(33u, logic->WorkDM()->dwWmAngle);
}

TEST_F(Assembly, DeviceSheetAndMissingPageClasses) {
    // A page whose class is missing, or whose object this printer does not get, is left out;
    // the positions of the others stay contiguous.
    const ZQPageRow rows[] = {
        {kPageServices, &CreateNothing, &TemplateOf<kPageServices>, 5468, L"Services", nullptr, nullptr},
        ZQ_TEST_ROW(kPageAbout, 866, L"About"),
        ZQ_TEST_ROW(kPageEffects, 812, L"Effects"),
        {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
    };
    ZQSetPageTable(rows);
    ASSERT_EQ(S_OK, Init(kSheetDevice));
    EXPECT_EQ((std::vector<std::wstring>{L"About (changed)"}), Titles());
    EXPECT_EQ(kSheetDevice, m_plugin->SheetsForTesting().SheetForTesting()->dwMode);
    EXPECT_EQ(0, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageAbout));
    ASSERT_EQ(S_OK, Destroy());

    m_sheet = FakeSheet();
    ASSERT_EQ(S_OK, Init(kSheetDocument));
    EXPECT_EQ((std::vector<std::wstring>{L"Effects", L"About (changed)"}), Titles());
    EXPECT_EQ(0, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageEffects));
    EXPECT_EQ(1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageAbout));

    // The product's own table: of its document pages this colour printer gets the desktop Printing
    // Shortcuts, Paper/Quality, Effects, Finishing, Color and About.
    // The test's page objects go with the table that made them.
    ASSERT_EQ(S_OK, Destroy());
    ZQSetPageTable(nullptr);
    m_sheet = FakeSheet();
    ASSERT_EQ(S_OK, Init());
    EXPECT_EQ((std::vector<std::wstring>{L"Printing Shortcuts", L"Paper/Quality", L"Effects", L"Finishing", L"Color",
                                         L"About"}),
              Titles());
    EXPECT_EQ((std::vector<int>{393, 117, 106, 110, 101, 104}), Templates());
    EXPECT_NE(nullptr, m_plugin->SheetsForTesting().SheetForTesting());
    ZQSetPageTable(kAllRows);
}

TEST_F(Assembly, ResultsTravelThroughTheSheet) {
    ASSERT_EQ(S_OK, Init());
    const SheetRecord* record = m_plugin->SheetsForTesting().SheetForTesting();
    EXPECT_TRUE(ZQReportPageResult(record, 2, CPSUI_OK));
    ASSERT_EQ(1u, m_sheet.results.size());
    EXPECT_EQ(record->ahPages[2], m_sheet.results[0].first);
    EXPECT_EQ(CPSUI_OK, m_sheet.results[0].second);
    m_sheet.resultAnswer = 0;
    EXPECT_FALSE(ZQReportPageResult(record, 0, CPSUI_OK));
    EXPECT_FALSE(ZQReportPageResult(record, kMaxSheetPages, CPSUI_OK));
    EXPECT_FALSE(ZQReportPageResult(record, 8, CPSUI_OK));  // no page there
    EXPECT_FALSE(ZQReportPageResult(nullptr, 0, CPSUI_OK));

    SETRESULT_INFO result = {};
    result.cbSize = sizeof result;
    result.Result = CPSUI_OK;
    m_info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    m_info.Result = 0;
    EXPECT_EQ(S_OK, m_plugin->DocumentPropertySheets(&m_info, reinterpret_cast<LPARAM>(&result)));
    EXPECT_EQ(static_cast<ULONG_PTR>(CPSUI_OK), m_info.Result);
}

TEST_F(Assembly, BadCallsAreRefused) {
    EXPECT_EQ(E_FAIL, m_plugin->DocumentPropertySheets(nullptr, 0));
    EXPECT_EQ(E_FAIL, m_plugin->DevicePropertySheets(nullptr, 0));
    m_info.lParamInit = 0;
    EXPECT_EQ(E_FAIL, Init());
    m_info.lParamInit = reinterpret_cast<LPARAM>(&m_ps);
    m_info.pfnComPropSheet = nullptr;
    EXPECT_EQ(E_FAIL, Init());
    EXPECT_EQ(kCallerUserData, m_ps.pOEMUserData);
}

}  // namespace

namespace {

// The pages as comctl32 makes them: the blocks page assembly hands over create real pages, whose
// WM_INITDIALOG receives the page's context.
std::vector<HPROPSHEETPAGE> g_realPages;
std::vector<const PageContext*> g_initContexts;
std::vector<bool> g_initMirrored;

LONG_PTR CALLBACK RealComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 1;
    HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1));
    if (page) g_realPages.push_back(page);
    return reinterpret_cast<LONG_PTR>(page);
}

INT_PTR CALLBACK RealPageProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        const auto* context = reinterpret_cast<const PageContext*>(psp->lParam);
        g_initContexts.push_back(context);
        g_initMirrored.push_back((GetWindowLongW(hDlg, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        SetWindowLongPtrW(hDlg, DWLP_USER, psp->lParam);
    }
    return FALSE;
}

ZQPageTemplate RealPaperTemplate(const ZQSheetFacts&) { return {107, 207, &RealPageProc}; }
ZQPageTemplate RealEffectsTemplate(const ZQSheetFacts&) { return {106, 206, &RealPageProc}; }

const ZQPageRow kRealRows[] = {
    {kPagePaperQuality, &CreateTab<kPagePaperQuality>, &RealPaperTemplate, 832, L"Paper/Quality", nullptr, nullptr},
    {kPageEffects, &CreateTab<kPageEffects>, &RealEffectsTemplate, 812, L"Effects", nullptr, nullptr},
    {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};

class RealSheet : public Assembly {
protected:
    void SetUp() override {
        Assembly::SetUp();
        ZQSetPageTable(kRealRows);
        m_info.pfnComPropSheet = &RealComPropSheet;
        g_realPages.clear();
        g_initContexts.clear();
        g_initMirrored.clear();
    }

    // Shows the pages in a modeless sheet and returns the tab titles.
    std::vector<std::wstring> ShowSheet() {
        PROPSHEETHEADERW psh = {};
        psh.dwSize = sizeof psh;
        psh.dwFlags = PSH_MODELESS;
        psh.hInstance = GetModuleHandleW(nullptr);
        psh.pszCaption = L"Printing Preferences";
        psh.nPages = static_cast<UINT>(g_realPages.size());
        psh.phpage = g_realPages.data();
        HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&psh));
        std::vector<std::wstring> titles;
        if (!sheet) return titles;
        // Visiting every page makes sure each was created (Wine's sheet makes premature pages only
        // when they are shown).
        for (size_t i = 0; i < g_realPages.size(); ++i) SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        titles = zqtest::TabTitles(sheet);
        DestroyWindow(sheet);
        return titles;
    }
};

TEST_F(RealSheet, EveryPageStartsWithItsContext) {
    zqtest::CUiLanguage ui(0x0409);
    ASSERT_EQ(S_OK, Init());
    ASSERT_EQ(2u, g_realPages.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Paper/Quality", L"Effects"}), ShowSheet());
    // Each page starts with its own context.
    ASSERT_EQ(2u, g_initContexts.size());
    EXPECT_EQ(m_plugin->SheetsForTesting().ContextForTesting(kPagePaperQuality), g_initContexts[0]);
    EXPECT_EQ(m_plugin->SheetsForTesting().ContextForTesting(kPageEffects), g_initContexts[1]);
    EXPECT_EQ(m_plugin->SheetsForTesting().Tab(kPageEffects), g_initContexts[1]->pPage);
    EXPECT_FALSE(g_initMirrored[0]);
}

TEST_F(RealSheet, ArabicUserInterfaceGetsTheMirroredTemplates) {
    zqtest::CUiLanguage ui(0x0401);
    ASSERT_EQ(S_OK, Init());
    ShowSheet();
    ASSERT_EQ(2u, g_initMirrored.size());
    EXPECT_TRUE(g_initMirrored[0]);
    EXPECT_TRUE(g_initMirrored[1]);
}

}  // namespace
