// CZQXmlUiRules: the rule engine of the driver's XML helper file. It runs the macros the helper file
// attaches to features on the core driver's option items, evaluates print-quality macros against the
// parser's state, fills the pop-up dialogs' paper and media trees and reads the document types. It owns
// the parser; callers test the parser's loaded flag before any rule call.
#pragma once

#include <windows.h>
#include <msxml.h>

#include <vector>

#include "common/zquibase.h"
#include "platform/oemuiplatform.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlreaders.h"

// Limits of a custom paper size in the caller's record, filled by "option_name" elements.
struct ZQCustomSizeLimits {
    LONG lMinWidth;
    LONG lMaxWidth;
    LONG lMinLength;
    LONG lMaxLength;
};

// The form search the paper-size tree uses for its branch of user forms (the custom paper dialog's):
// TRUE when the block's printer has a form of that name, which *pbUserForm tells a user form or not.
typedef BOOL (*PFN_ZQFindForm)(POEMCUIPPARAM pParam, PCWSTR pszForm, BOOL* pbUserForm);

class CZQXmlUiRules : public CZQUIBase, public CZQXmlHelperReaders {
public:
    // At most this many macro runs are nested.
    static constexpr WORD kMaxMacroDepth = 6;
    // At most this many macro runs follow from one user action, however the macros fan out.
    static constexpr DWORD kMaxMacroRuns = CZQXmlParserCommon::CZQMacroBudget::kMaxRuns;
    // "switch" elements nest at most this deep within one macro.
    static constexpr DWORD kMaxSwitchDepth = 32;
    // A feature or an option named by a macro text has at most this many characters.
    static constexpr size_t kMaxNameChars = 80;
    static constexpr size_t kCaptureChars = 256;

    CZQXmlUiRules();
    ~CZQXmlUiRules() override;
    CZQXmlUiRules(const CZQXmlUiRules&) = delete;
    CZQXmlUiRules& operator=(const CZQXmlUiRules&) = delete;

    CZQXmlParserCommon& Parser() { return m_parser; }
    const CZQXmlParserCommon& Parser() const { return m_parser; }
    // The helper file's roll limits (minimum, maximum and real width, minimum and maximum height)
    // of its first roll entry; FALSE without a loaded file or a roll entry.
    BOOL BReadRollLimits(CZQLocalPtr<WCHAR> (&limits)[5]) const;
    // A width (inches, 256 characters) beyond the helper file's largest roll width becomes that
    // width, written "%1.2lf".
    void VClampRollWidth(PWSTR pszWidth) const;

    // ---- macros on the core driver's option items --------------------------------------------
    // Runs the macros named by the feature's "macro_name" entries in document order, stopping at the
    // first empty one. The option is the feature's new option. TRUE when the feature has an entry.
    BOOL BRunFeatureMacros(LPCWSTR pszFeature, LPCWSTR pszOption, POEMCUIPPARAM pParam);
    // Runs one named macro (the option is not used). TRUE when the macro ran.
    BOOL BRunMacro(LPCWSTR pszMacro, LPCWSTR pszOption, POEMCUIPPARAM pParam);
    // Runs the macros of "MediaType" with its current option, read through the parameter block of
    // the caller's feature logic.
    void VRunMediaTypeMacros(POEMCUIPPARAM pParam);

    // ---- the print-quality evaluator (state fields of the parser, no option items) -----------
    // The list entry of that name (an event or a macro): its "macro_name" children are evaluated.
    BOOL BRunMacroSwitch(IXMLDOMNodeList* pList, LPCWSTR pszName);
    // The list entry of that name: its "switch" children are evaluated, its other children run as
    // actions.
    BOOL BEvaluateSwitch(IXMLDOMNodeList* pList, LPCWSTR pszName);
    // One "switch" element against the evaluator's value; TRUE when a case or the default ran.
    BOOL BMatchCase(IXMLDOMNode* pSwitch);

    // While set, each "select_option" text the evaluator meets is copied into the capture text.
    void VSetCapture(BOOL bCapture) { m_dwCapture = bCapture ? 1 : 0; }
    LPCWSTR PszCaptureText() const { return m_szCapture; }

    // ---- what the macros record for their callers ---------------------------------------------
    // Resource identifiers of the last body that had "resource_id" elements (three slots).
    DWORD DWResourceId(int iSlot) const { return iSlot >= 0 && iSlot < 3 ? m_adwResourceId[iSlot] : 0; }
    // Input-bin limits: minimum width, maximum width, minimum length, maximum length.
    const LONG* InputBinLimits() const { return m_alInputBinLimits; }
    // Custom-size limits: minimum length, maximum length, minimum width, maximum width.
    const LONG* CustomSizeLimits() const { return m_alCustomLimits; }
    // The caller's record that "option_name" limits are also written to (null: none).
    void VSetCustomSizeTarget(ZQCustomSizeLimits* pTarget) { m_pCustomTarget = pTarget; }
    // Option index last selected by a "select_option" of "InputBin" / "ZQPhotoFix".
    int IInputBinIndex() const { return m_iInputBinIndex; }
    // The Paper/Quality page names its source list's choice here after a change of source.
    void VSetInputBinIndex(int iIndex) { m_iInputBinIndex = iIndex; }
    int IPhotoFixIndex() const { return m_iPhotoFixIndex; }
    // Nested macro runs under way (0 between calls).
    WORD WDepth() const { return m_wDepth; }
    // Set by the Paper/Quality page when the driver has no "PrintQualityGroup".
    void VSetNoQualityGroup(BOOL bNone) { m_dwNoQualityGroup = bNone ? 1 : 0; }

    // ---- paper and media groups of the helper file (the pop-up dialogs' trees) ---------------
    // A display name handed out has at most this many characters.
    static constexpr size_t kMaxDisplayNameChars = 81;
    // Appends the paper group's subgroups to the tree: headings at level 1, the papers of the unit
    // that "ZQPaperSizeTreeviewPopup" names or of type "All" (none without a type) at level 2; then, when the helper file
    // has a paper group, the printer's user forms among the driver's forms under the "Custom" heading.
    BOOL BFillPaperSizeTree(HWND hTree, POEMCUIPPARAM pParam, PFN_ZQFindForm pfnFindForm);
    void VAddPaperSubgroup(POEMCUIPPARAM pParam, IXMLDOMNode* pSubgroup, HWND hTree);
    // The element's "type" attribute as a new local-heap text (left alone when there is none); the
    // result of the last DOM call.
    static HRESULT HrGetTypeAttribute(IXMLDOMNode* pElement, PWSTR* ppszType);
    void VAddUserFormsBranch(POEMCUIPPARAM pParam, PFN_ZQFindForm pfnFindForm, HWND hTree);
    // Appends the media group to the tree: headings at level 1, media at level 2, each subgroup's
    // headings at level 2 and its media at level 3.
    void BFillMediaTypeTree(HWND hTree, POEMCUIPPARAM pParam);
    void VAddMediaSubgroup(POEMCUIPPARAM pParam, IXMLDOMNode* pSubgroup, HWND hTree);
    // The display name of a feature's option keyword (case-blind), cut to kMaxDisplayNameChars, as a
    // new local-heap text. ZQOPT_OK, ZQOPT_NO_MEMORY, ZQOPT_BAD_ARGUMENT (the option lists cannot be
    // read) or ZQOPT_NO_NAME (no such option).
    static DWORD DWGetOptionDisplayName(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszOption, PWSTR* ppszName);
    // The entry of that name (case-blind) among the names of the helper file's group (its subgroups
    // included), as the file writes it, into cchOut characters; FALSE when no loaded file lists it.
    BOOL BFindGroupName(PCWSTR pszGroup, PCWSTR pszName, PWSTR pszOut, size_t cchOut);
    // The first child of the group whose first child's text is that name (case-blind).
    BOOL BFindFeatureNode(IXMLDOMNode** ppNode, PCWSTR pszGroup);
    // From a group's first child: the texts of the children of the group's second child and of its
    // third child, each but the first child, as lists the caller frees with VFreeStringList. 1 when a
    // text was copied, 4 when a list cannot be allocated (nothing handed out), else 0.
    static DWORD BReadNodeTextList(IXMLDOMNode* pFirst, PWSTR** pppszList1, PWSTR** pppszList2, int* piCount1,
                                   int* piCount2);

    // ---- document types of the helper file ---------------------------------------------------
    // Texts are handed out in buffers of this many characters; longer ones are cut.
    static constexpr size_t kDocTextChars = 256;
    // A document type's label: the string of its "resource_id", else its "name". FALSE (label
    // untouched) without a name.
    // First caller: the printing-shortcuts pages.
    BOOL BReadOptionName(IXMLDOMNode* pElement, PWSTR pszLabel);
    // "bitmap_id" as a decimal number; FALSE (untouched) without one.
    // First caller: the printing-shortcuts pages.
    static BOOL BReadBitmapId(IXMLDOMNode* pElement, LONG* plId);
    // One "DocFeature": its texts and numbers, the option it selects ("select_option", else the one
    // its "switch" selects) with the index of the choice of that name, and one entry per "DocOption"
    // in three arrays of local-heap entries the caller frees (null arrays and a count of 0 without
    // choices or when an array cannot be allocated). TRUE when the choices were read to the end.
    // First caller: the printing-shortcuts pages.
    BOOL BReadDocOptions(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId, PWSTR pszHidden,
                         PWSTR pszSelected, LONG* plSelectedIndex, PWSTR** pppszOptions, LONG*** pppBitmapIds,
                         LONG* plCount, LONG*** pppLabelIds);
    // The same with the "Disabled" text of the large-format page.
    // First caller: the printing-shortcuts pages.
    BOOL BReadDocOptionsEx(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId, PWSTR pszHidden,
                           PWSTR pszSelected, LONG* plSelectedIndex, PWSTR** pppszOptions, LONG*** pppBitmapIds,
                           LONG* plCount, LONG*** pppLabelIds, PWSTR pszDisabled);
    // A document type's feature keywords and the options it selects, as two lists of local-heap
    // texts the caller frees. TRUE when the features were read to the end.
    // First caller: the printing-shortcuts pages.
    BOOL BReadDocFeatures(IXMLDOMNode* pDocSetting, PWSTR** pppszFeatures, PWSTR** pppszOptions, LONG* plCount);
    // One "DocOption"; TRUE when its "resource_id" was read.
    static BOOL BReadDocOptionEntry(IXMLDOMNode* pOption, PWSTR pszName, LONG* plBitmapId, LONG* plLabelId);
    // The "select_option" text that the element's "switch" reaches (the evaluator's values as they
    // stand); TRUE when one was captured.
    BOOL BCaptureSwitchOption(IXMLDOMNode* pElement, PCWSTR pszName, PWSTR pszOption);

private:
    // The span of one action's reports: the outermost one tells the core driver of the held ones.
    class CZQReportScope {
    public:
        explicit CZQReportScope(CZQXmlUiRules& rules) : m_rules(rules) { ++m_rules.m_wReportScopes; }
        ~CZQReportScope();
        CZQReportScope(const CZQReportScope&) = delete;
        CZQReportScope& operator=(const CZQReportScope&) = delete;

    private:
        CZQXmlUiRules& m_rules;
    };
    // An item whose change waits for the action's end.
    struct HeldReport {
        POEMCUIPPARAM pParam;
        POPTITEM pItem;
    };
    // Tells the core driver of the item's change (always as a document-properties change), with the
    // option's conflict mark lifted for the call when given. Once the action's budget of reports is
    // spent, the item is held instead and told once, with its state then, when the action ends.
    void VReport(POEMCUIPPARAM pParam, POPTITEM pItem, DWORD dwSel, POPTPARAM pLiftedMark = nullptr);
    void VReportHeld();

    BOOL BRunMacroAt(LPCWSTR pszMacro, POEMCUIPPARAM pParam);
    bool BEnterRun();
    void VLeaveRun();
    // Runs the children of a macro or a switch branch in document order.
    void VRunBody(IXMLDOMNode* pBody, POEMCUIPPARAM pParam, DWORD dwSwitchDepth);
    bool BRunSwitch(IXMLDOMNode* pSwitch, POEMCUIPPARAM pParam, DWORD dwSwitchDepth);
    void VRunBuiltInCall(LPCWSTR pszText, POEMCUIPPARAM pParam);
    void VChainCalls(IXMLDOMNode* pMacro, POEMCUIPPARAM pParam);
    void VRunIfFeatureSet(LPCWSTR pszFeature, LPCWSTR pszMacro, POEMCUIPPARAM pParam);
    void VApplyOptionElement(LPCWSTR pszElement, LPCWSTR pszText, POEMCUIPPARAM pParam);
    void VApplyItemElement(LPCWSTR pszElement, LPCWSTR pszText, POEMCUIPPARAM pParam);
    void VApplyLimit(LPCWSTR pszText);

    // Trees and document types.
    HTREEITEM HInsertHeading(INT id, HWND hTree, int iLevel);
    BOOL BReadDocFeature(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId, PWSTR pszHidden,
                         PWSTR pszSelected, LONG* plSelectedIndex, PWSTR** pppszOptions, LONG*** pppBitmapIds,
                         LONG* plCount, LONG*** pppLabelIds, PWSTR pszDisabled);

    // Evaluator.
    BOOL BWalkEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, bool bEvaluate);
    bool BEvaluateCase(IXMLDOMNode* pCase, LPCWSTR pszValue, bool bDefault);
    void VEvaluateAction(LPCWSTR pszElement, LPCWSTR pszText);
    void VEvaluateSelect(LPCWSTR pszText);

    CZQXmlParserCommon m_parser;
    WORD m_wDepth = 0;
    DWORD m_adwResourceId[3] = {};
    LONG m_alInputBinLimits[4] = {};
    DWORD m_dwCapture = 0;
    WCHAR m_szCapture[kCaptureChars] = {};
    int m_iInputBinIndex = 0;
    int m_iPhotoFixIndex = 0;
    ZQCustomSizeLimits* m_pCustomTarget = nullptr;
    LONG m_alCustomLimits[4] = {};
    DWORD m_dwNoQualityGroup = 0;
    WORD m_wReportScopes = 0;
    std::vector<HeldReport> m_held;
};
