#include "xmlrules/zqconstraintctl.h"

#include <atomic>
#include <new>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

// Selections made by the controllers are reported as document settings.
constexpr DWORD kRefreshMode = 1;
constexpr int kBorderlessIndex = 3;

// Whether a colour-options controller of this process was attached before.
std::atomic<bool> g_colorAttachedBefore{false};

}  // namespace

CZQControlNode::CZQControlNode(PCWSTR pszName, HWND hWnd, int iCtrlId) {
    if (!pszName || !hWnd || !IsWindow(hWnd) || iCtrlId == 0) return;
    ZQCopyText(m_szName, kNameChars, pszName);
    m_hWnd = hWnd;
    m_iCtrlId = iCtrlId;
}

// ---------------------------------------------------------------------------------------------
// CZQConstraintController
// ---------------------------------------------------------------------------------------------
CZQConstraintController::CZQConstraintController() : m_pTipIcon(new (std::nothrow) CZQFeatureTipIcon()) {}

CZQConstraintController::~CZQConstraintController() {
    delete m_pTipIcon;
    ZQDeleteAll<CZQControlNode>(m_controls);
}

HWND CZQConstraintController::HDlgItem(int iCtrlId) const {
    if (!m_hDlg || !IsWindow(m_hDlg)) return nullptr;
    HWND hWnd = GetDlgItem(m_hDlg, iCtrlId);
    return hWnd && IsWindow(hWnd) ? hWnd : nullptr;
}

void CZQConstraintController::VReapplyState() {
    BEnableAll(m_bEnabled);
    WCHAR option[kTextChars];
    BReadCurrentOption(option, static_cast<int>(kTextChars));
    BSetValueText(option);
}

BOOL CZQConstraintController::BSetFeatureName(PCWSTR pszName, HINSTANCE hModule, HINSTANCE hModule2) {
    if (!pszName) return FALSE;
    ZQCopyText(m_szFeature, kTextChars, pszName);
    if (m_pTipIcon) m_pTipIcon->BNewTipWindow(hModule, hModule2);
    return TRUE;
}

BOOL CZQConstraintController::BAttachById(HWND hDlg, int iAnchorId) {
    if (!hDlg || !IsWindow(hDlg) || iAnchorId == 0) return FALSE;
    HWND hAnchor = GetDlgItem(hDlg, iAnchorId);
    if (!hAnchor) return FALSE;
    return BAttachDialog(hDlg, hAnchor);
}

BOOL CZQConstraintController::BAttachDialog(HWND hDlg, HWND hAnchor) {
    ZQ_TRACE("CZQConstraintController::BAttachDialog");
    if (!hDlg || !IsWindow(hDlg) || !hAnchor || !IsWindow(hAnchor)) return FALSE;
    m_hDlg = hDlg;
    return m_pTipIcon ? m_pTipIcon->BAttach(hDlg, hAnchor) : FALSE;
}

BOOL CZQConstraintController::BDetach() {
    m_hDlg = nullptr;
    const BOOL hasTipWindow = m_pTipIcon && m_pTipIcon->BDestroy();
    ZQDeleteAll<CZQControlNode>(m_controls);
    return hasTipWindow;
}

BOOL CZQConstraintController::BEnableAll(BOOL bEnable) {
    for (int i = 0; i < m_controls.GetCount(); ++i) {
        const auto* node = static_cast<const CZQControlNode*>(m_controls.GetAt(i));
        if (node->m_hWnd && IsWindow(node->m_hWnd)) EnableWindow(node->m_hWnd, bEnable);
    }
    m_bEnabled = bEnable;
    return m_controls.GetCount() > 0;
}

BOOL CZQConstraintController::BSetIndex(int iIndex) {
    if (iIndex < 0) return FALSE;
    m_iIndex = iIndex;
    return TRUE;
}

BOOL CZQConstraintController::BSetValueText(PCWSTR pszOption) {
    if (!pszOption) return FALSE;
    ZQCopyText(m_szValue, kTextChars, pszOption);
    return ZQTextLength(pszOption, kTextChars) < kTextChars - 1;
}

BOOL CZQConstraintController::BReadCurrentOption(PWSTR pszBuffer, int cchBuffer) {
    if (POEMCUIPPARAM pParam = Param()) {
        CZQLocalPtr<WCHAR> option;
        if (CZQCommon::DWGetFeatureOption(pParam, m_szFeature, option.Put()) == ZQOPT_OK && option)
            ZQCopyText(m_szValue, kTextChars, option.Get());
    }
    if (!pszBuffer || cchBuffer <= 0) return FALSE;
    ZQCopyText(pszBuffer, static_cast<size_t>(cchBuffer), m_szValue);
    return TRUE;
}

BOOL CZQConstraintController::BRegisterControl(HWND hWnd, int iCtrlId, PCWSTR pszName) {
    if (!pszName) return FALSE;
    const bool validWindow = hWnd && IsWindow(hWnd);
    if (validWindow && iCtrlId == 0) {
        iCtrlId = GetDlgCtrlID(hWnd);
        if (iCtrlId == 0) return FALSE;
    } else if (!validWindow && iCtrlId != 0) {
        hWnd = HDlgItem(iCtrlId);
        if (!hWnd) return FALSE;
    } else {
        return FALSE;
    }
    auto* node = new (std::nothrow) CZQControlNode(pszName, hWnd, iCtrlId);
    if (!node || !node->m_hWnd) {
        delete node;
        return FALSE;
    }
    return ZQAppendOwned(m_controls, node);
}

void CZQConstraintController::VUnregisterControl(HWND hWnd, int iCtrlId, PCWSTR pszName) {
    if (!pszName || (!hWnd && iCtrlId == 0)) return;
    for (int i = m_controls.GetCount() - 1; i >= 0; --i) {
        auto* node = static_cast<CZQControlNode*>(m_controls.GetAt(i));
        const bool same = hWnd ? node->m_hWnd == hWnd : node->m_iCtrlId == iCtrlId;
        if (same && ZQEqualNoCase(node->m_szName, pszName)) {
            m_controls.VRemoveAt(i, 1);
            delete node;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// CZQMarginsController
// ---------------------------------------------------------------------------------------------
BOOL CZQMarginsController::BAttachDialog(HWND hDlg, HWND hAnchor) {
    CZQConstraintController::BAttachDialog(hDlg, hAnchor);
    const BOOL registered = BRegisterControl(hAnchor, 0, L"AllOptions");
    VReapplyState();
    return registered;
}

BOOL CZQMarginsController::BEnableAll(BOOL bEnable) {
    m_bEnabled = bEnable;
    if (!m_hDlg || !IsWindow(m_hDlg)) return FALSE;
    if (!bEnable) {
        if (HWND hBorderless = HDlgItem(IDC_RB_BORDERLESS)) {
            SendMessageW(hBorderless, BM_SETCHECK, BST_UNCHECKED, 0);
            EnableWindow(hBorderless, FALSE);
        }
        if (HWND hAuto = HDlgItem(IDC_RB_AUTO_PRINTER)) EnableWindow(hAuto, FALSE);
        if (HWND hManual = HDlgItem(IDC_RB_MANUALLY_PRINTER)) EnableWindow(hManual, FALSE);
    }
    return TRUE;
}

BOOL CZQMarginsController::BSetIndex(int iIndex) {
    POEMCUIPPARAM pParam = Param();
    if (!pParam) return FALSE;
    return CZQCommon::DWSelectOptionByIndex(pParam, zqkw::kZQPrintWithMargins, iIndex, kRefreshMode) == ZQOPT_OK;
}

BOOL CZQMarginsController::BSetValueText(PCWSTR pszOption) {
    const BOOL copied = CZQConstraintController::BSetValueText(pszOption);
    if (!pszOption) return FALSE;
    if (ZQEqualNoCase(pszOption, L"AutoOn")) return BSetIndex(kBorderlessIndex) && copied;
    // Anything else means "not borderless": only a borderless choice goes back to the first
    // layout; a bordered layout the user chose (oversize, clip) is not borderless already.
    int current = -1;
    POEMCUIPPARAM pParam = Param();
    if (pParam && CZQCommon::DWGetFeatureOptionIndex(pParam, zqkw::kZQPrintWithMargins, &current) == ZQOPT_OK &&
        current >= 0 && current != kBorderlessIndex)
        return copied;
    return BSetIndex(0) && copied;
}

BOOL CZQMarginsController::BReadCurrentOption(PWSTR pszBuffer, int cchBuffer) {
    int index = -1;
    POEMCUIPPARAM pParam = Param();
    if (!pParam || CZQCommon::DWGetFeatureOptionIndex(pParam, zqkw::kZQPrintWithMargins, &index) != ZQOPT_OK)
        index = -1;
    ZQCopyText(m_szValue, kTextChars, index == kBorderlessIndex ? L"AutoOn" : L"AutoOff");
    if (!pszBuffer || cchBuffer <= 0) return FALSE;
    ZQCopyText(pszBuffer, static_cast<size_t>(cchBuffer), m_szValue);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CZQColorOptionsController
// ---------------------------------------------------------------------------------------------
BOOL CZQColorOptionsController::BAttachDialog(HWND hDlg, HWND hAnchor) {
    const BOOL attached = CZQConstraintController::BAttachDialog(hDlg, hAnchor);
    // The page's own state of the control counts at the process's first attach; later attaches,
    // of any binding's controller, keep what the rules made of it.
    if (!g_colorAttachedBefore.exchange(true) && hAnchor && IsWindow(hAnchor)) m_bEnabled = IsWindowEnabled(hAnchor);
    VReapplyState();
    return attached;
}

BOOL CZQColorOptionsController::BEnableAll(BOOL bEnable) {
    m_bEnabled = bEnable;
    if (!m_hDlg || !IsWindow(m_hDlg)) return FALSE;
    if (HWND hGray = HDlgItem(IDC_CBO_GRAYSCALE)) {
        // Greyscale is offered only as far as the feature logic allows it.
        const BOOL allowed = m_pLogic ? m_pLogic->BGreyscaleEnabled() : FALSE;
        EnableWindow(hGray, bEnable ? allowed : FALSE);
    }
    return TRUE;
}

BOOL CZQColorOptionsController::BSetIndex(int) { return FALSE; }

void CZQColorOptionsController::VForgetFirstAttachForTesting() { g_colorAttachedBefore = false; }

BOOL CZQColorOptionsController::BSetValueText(PCWSTR pszOption) {
    if (!pszOption || !(ZQEqualNoCase(pszOption, L"FALSE") || ZQEqualNoCase(pszOption, L"GrayandBlackInks") ||
                        ZQEqualNoCase(pszOption, L"FullSetofInks")))
        return FALSE;
    PCWSTR chosen = pszOption;
    POEMCUIPPARAM pParam = Param();
    CZQLocalPtr<WCHAR> colorOption;
    // Colour printing leaves no greyscale choice.
    if (pParam && CZQCommon::DWGetFeatureOption(pParam, L"ZQColorOptions", colorOption.Put()) == ZQOPT_OK &&
        colorOption && ZQEqualNoCase(colorOption.Get(), L"Color"))
        chosen = L"FALSE";
    ZQCopyText(m_szValue, kTextChars, chosen);
    if (!pParam) return FALSE;
    return CZQCommon::DWSelectOptionByKeyword(pParam, zqkw::kZQPrintInGrayScale, chosen, kRefreshMode) == ZQOPT_OK;
}

// ---------------------------------------------------------------------------------------------
// CZQMorePassesController
// ---------------------------------------------------------------------------------------------
BOOL CZQMorePassesController::BAttachDialog(HWND hDlg, HWND hAnchor) {
    const BOOL attached = CZQConstraintController::BAttachDialog(hDlg, hAnchor);
    VReapplyState();
    return attached;
}

BOOL CZQMorePassesController::BEnableAll(BOOL bEnable) {
    m_bEnabled = bEnable;
    if (!m_hDlg || !IsWindow(m_hDlg)) return FALSE;
    if (HWND hCheck = HDlgItem(IDC_PQ_CHECK_MORE_PASSES)) {
        if (!bEnable) SendMessageW(hCheck, BM_SETCHECK, BST_UNCHECKED, 0);
        EnableWindow(hCheck, bEnable);
    }
    return TRUE;
}

BOOL CZQMorePassesController::BSetIndex(int) { return FALSE; }

BOOL CZQMorePassesController::BSetValueText(PCWSTR pszOption) {
    const BOOL copied = CZQConstraintController::BSetValueText(pszOption);
    if (!pszOption || !(ZQEqualNoCase(pszOption, L"Enabled") || ZQEqualNoCase(pszOption, L"Disabled"))) return copied;
    POEMCUIPPARAM pParam = Param();
    if (!pParam) return FALSE;
    return CZQCommon::DWSelectOptionByKeyword(pParam, zqkw::kZQMorePasses, pszOption, kRefreshMode) == ZQOPT_OK &&
           copied;
}
