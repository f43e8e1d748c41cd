// CZQXmlUiRules: the rule engine of the driver's XML helper file. It runs the macros the helper file
// attaches to features on the core driver's option items, and evaluates print-quality macros against
// the parser's state. It owns the parser; callers test the parser's loaded flag before any rule call.
#pragma once

#include <windows.h>
#include <msxml.h>

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
    int IPhotoFixIndex() const { return m_iPhotoFixIndex; }
    // Nested macro runs under way (0 between calls).
    WORD WDepth() const { return m_wDepth; }
    // Set by the Paper/Quality page when the driver has no "PrintQualityGroup".
    BOOL BNoQualityGroup() const { return m_dwNoQualityGroup != 0; }
    void VSetNoQualityGroup(BOOL bNone) { m_dwNoQualityGroup = bNone ? 1 : 0; }

private:
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
};
