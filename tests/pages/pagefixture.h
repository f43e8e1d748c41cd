// A settings page in process, as every page's tests drive it: the core driver's items (the test adds
// its features), the in-memory printer, a printer record, the working settings, the helper file's
// rules, the preview, gates of the test's own, a sheet window that records what its pages tell it,
// and the page's window made from the plug-in's own template through the page's dialog procedure,
// with a context as page assembly lays it. Tests send the page real messages and read its controls.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commontest.h"
#include "featurelogic/zqalertgate.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqconstraintgate.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "optitemfixture.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpages.h"
#include "preview/zqpreview.h"
#include "xmlrules/zqxmluirules.h"
#include "xmltestutil.h"

// The gates the page reaches through its context, as the page tests see them: a binding and gates
// of their own, the synchronisation and export the page asks for recorded, and the constraint check
// of the media type and the quality, the alerts and the device refreshes the test's.
class PageTestGates : public IZQConstraintGate, public IZQAlertGate, public IZQSettingsExchange {
public:
    PageTestGates() { gate.VSetConstraintLogic(&binding.logic); }

    void VSyncAfterChange() override { calls.push_back("sync"); }
    BOOL BExportSettings(PCWSTR pszSection) override;
    // Rejects the media type whose keyword is `rejectedMedia`.
    BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) override;
    // Constraint controllers attached to a dialog and detached are recorded.
    BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) override;
    BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) override;
    BOOL BRunCommandLine(PCWSTR pszCommandLine) override { return gate.BRunCommandLine(pszCommandLine); }
    // The alerts as the test wants them; device refreshes are recorded.
    BOOL BAlertsEnabled() const override { return alertsOn; }
    BOOL BRefreshDeviceStatus(BOOL bPageInit) override;
    BOOL BAddAlertWindow(CZQAlertWnd* pWnd) override { return alerts.BAddAlertWindow(pWnd); }
    BOOL BRemoveAlertWindow(CZQAlertWnd* pWnd) override { return alerts.BRemoveAlertWindow(pWnd); }
    BOOL BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const override { return alerts.BDrawRefreshButton(pDis); }
    BOOL BGetAlertIcon(HICON* phIcon) const override { return alerts.BGetAlertIcon(phIcon); }

    CZQBinding binding;
    CZQConstraintGate gate{binding};
    CZQAlertGate alerts{binding, gate};
    std::vector<std::string> calls;  // "sync", "export Printing/", and what the test's sheet adds
    std::vector<std::string> dialogControllers;  // "attach <feature> <anchor>", "detach <feature>"
    POEMCUIPPARAM param = nullptr;
    std::string rejectedMedia;
    std::string rejectedQuality;  // the "PrintQuality" keyword the constraints reject
    PaperList papers = {};        // the paper list the page's context names
    BOOL alertsOn = FALSE;
};

// The other pages of the test's sheet, as a page reaches them through its context.
class PageTestSlots : public IZQPageSlots {
public:
    CZQTabBase* PPage(int iPageId) const override;
    PageContext* PContext(int iPageId) override;
    // A page object of the sheet with its context (the context names the object).
    void VAdd(int iPageId, PageContext* pContext) { m_pages.emplace_back(iPageId, pContext); }
    // A page object the sheet does not show: it has no context.
    void VAddObject(int iPageId, CZQTabBase* pPage) { m_objects.emplace_back(iPageId, pPage); }

private:
    std::vector<std::pair<int, PageContext*>> m_pages;
    std::vector<std::pair<int, CZQTabBase*>> m_objects;
};

// Message boxes answered in place of the user, with one answer; the texts asked.
struct BoxAnswers {
    explicit BoxAnswers(int iAnswer = IDOK);
    ~BoxAnswers();
    int answer;
    std::vector<std::wstring> texts;
    std::vector<std::wstring> captions;
};

class PageFixture : public zqxmltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The items the test added, bound to the printer and the devmodes, and the page's context as page
    // assembly lays it, for the page object given (the fixture owns it).
    void BuildPage(std::unique_ptr<CZQTabBase> page);
    // The helper file's features and macros (macrotest.h), loaded into the page's rules.
    void LoadRules(const std::string& features, const std::string& macros);
    // A helper file of groups only ("<group>...</group>" elements).
    void LoadGroups(const std::string& groups);
    // The page's window from a template of the plug-in, through the page's dialog procedure.
    HWND OpenPage(WORD wTemplate, DLGPROC pfnDlgProc);
    // A notification as the sheet sends it; the answer the page leaves for the sheet (the dialog
    // procedure returns TRUE for what it answers).
    LRESULT Notify(UINT code);
    // The page's sheet, once the page is built: beside the page (under its id) the sheet's
    // Paper/Quality page object without a window, which the page reaches through its context (or,
    // in a sheet that does not show that page, its object alone); then the selections the sheet
    // opened with, as page assembly keeps them.
    void JoinSheet(int iPageId, bool bPaperQualityShown = true);
    // OK or Apply on the open page below and at the highest position visited: its result goes to
    // the sheet, and only at the highest position does it synchronise before and export after, also
    // when the sheet refuses the result; apply ends the quick set's change, and PSN_RESET leaves the
    // page unchanged.
    void ExpectApplyOnlyOnTheLastPageVisited(int iPageId);
    // A page built but not open does not start without its page object (no creation parameter, or
    // one whose context names none: last error 13) nor without its heap block (its window keeps no
    // context); then it opens.
    void ExpectNoStartWithoutItsPieces(DLGPROC pfnDlgProc);
    // On the open page, while the private devmode is missing, a command (`command` as WM_COMMAND's
    // wParam), the notification `code`, painting and help change neither the working settings nor
    // the sheet, and leave last error 13.
    void ExpectNothingChangesWithoutTheDevmode(WPARAM command, UINT code);
    // On the open page with its alert strip (alerts on): a link message posted to the page, sent
    // from another thread or by a stranger on the page's thread, and the private number with a
    // command line's address, run nothing; a click on the strip's link row runs its line.
    void ExpectOnlyTheStripRunsItsLinks();

    HWND Ctl(int id) const { return GetDlgItem(m_page, id); }
    // A control's rectangle in the page's client coordinates.
    RECT Rect(int id) const;
    // The control's own visibility (the test sheet itself is never shown).
    bool Shown(int id) const { return (GetWindowLongPtrW(Ctl(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(Ctl(id)) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(m_page, id) == BST_CHECKED; }
    std::wstring Text(int id) const;
    int Sel(const char* feature) { return static_cast<int>(m_host.Item(feature)->Sel); }
    std::string Current(const char* feature) const { return m_host.Current(feature); }
    // Runs `inside` on the modal dialog that `open` shows over the test sheet, and cancels the
    // dialog when `inside` left it open; the result of `open`.
    INT_PTR Modal(const std::function<INT_PTR()>& open, std::function<void(HWND)> inside);
    // The macros run since the updates were last cleared, in order, as their log features tell
    // ("ZQLog_<macro>" turned on): the reports of one feature in a row (an option search reports
    // each option it tries) settle on the last.
    std::vector<std::string> LoggedMacros() const;
    // A dialog's control text; a notice from a control; a click (a check box or radio button takes
    // its new state first, as under the user's click).
    static std::wstring DlgText(HWND hDlg, int id);
    static void Notice(HWND hDlg, int id, int code);
    static void Click(HWND hDlg, int id);
    // The plug-in's resources, loaded once as data.
    static HINSTANCE Resources();
    // The plug-in's own orientation item (portrait) and the core driver's.
    static std::vector<zqtest::FixtureFeature> OrientationItems();

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    HANDLE m_hPrinter = nullptr;
    zqtest::COptItemFixture m_host;
    ZQUIDevmode m_core = {};
    DEVMODEW m_public = {};
    PrinterCaps m_caps = {};
    CZQUILogic m_logic;
    std::unique_ptr<CZQXmlUiRules> m_rules;
    std::unique_ptr<CZQRollPreview> m_preview;
    std::unique_ptr<PageTestGates> m_gates;
    std::unique_ptr<CZQTabBase> m_pageObject;
    PageTestSlots m_slots;
    CZQPaperQualityTab m_paperTab;
    PageContext m_paperContext = {};
    // The sheet's image-enhancement dialog, as the sheet builder lays it in every context.
    CZQImageEnhanceDlg m_imageEnhance;
    PageContext m_context = {};
    // The test's sheet: its window records what its pages tell it, its record the results they
    // report (RecordSheetResult, as "result <page handle> <result>" among the gates' calls, answered
    // with m_sheetAnswer); page handles are 100 + the sheet position.
    HWND m_parent = nullptr;
    SheetRecord m_record = {};
    LONG_PTR m_sheetAnswer = 1;
    HWND m_page = nullptr;
    DLGPROC m_pfnDlgProc = nullptr;
    // What the page told the sheet (its parent): PSM_CHANGED or PSM_UNCHANGED, for its own window.
    std::vector<UINT> m_sheetMessages;
};
