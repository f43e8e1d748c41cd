#include "featurelogic/zqalertgate.h"

#include <algorithm>
#include <new>

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "common/zqlanguage.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqalerts.h"
#include "device/zqalertwnd.h"
#include "device/zqmediacodes.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqconstraintgate.h"
#include "res/zqalertids.h"
#include "xmlrules/zqxmlparser.h"

namespace {

constexpr size_t kCchRowText = 1024;
constexpr int kCchMediaText = 512;

// The wait cursor while the printer is asked; the previous one comes back whatever happens.
class CZQWaitCursor {
public:
    CZQWaitCursor() : m_hPrevious(SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)))) {}
    ~CZQWaitCursor() { SetCursor(m_hPrevious); }
    CZQWaitCursor(const CZQWaitCursor&) = delete;
    CZQWaitCursor& operator=(const CZQWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};

}  // namespace

CZQAlertGate::~CZQAlertGate() { VFreeAlerts(); }

BOOL CZQAlertGate::BInitAlerts() {
    ZQ_TRACE("CZQAlertGate::BInitAlerts");
    // Each sheet's CommonUIProp loads the model again from the helper file of that call.
    delete m_pAlerts;
    m_pAlerts = nullptr;
    m_bOn = FALSE;
    POEMCUIPPARAM pParam = m_binding.pCUIParam;
    CZQLocalPtr<WCHAR> option;
    // Any option switches the alerts on; its keyword is not examined.
    if (!pParam || CZQCommon::DWGetFeatureOption(pParam, L"ZQAlerts", option.Put()) != ZQOPT_OK || !option ||
        !option[0])
        return FALSE;
    m_pAlerts = new (std::nothrow) CZQAlerts();
    CZQXmlParserCommon* pParser = m_binding.XmlParser();
    if (!m_pAlerts || !pParser || !pParser->BIsLoaded() || !m_pAlerts->BLoad(pParser->Document())) return FALSE;

    const HINSTANCE hModule = zqmodule::Instance();
    if (!m_hAlertIcon)
        m_hAlertIcon = static_cast<HICON>(
            LoadImageW(hModule, MAKEINTRESOURCEW(IDI_ALERT), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!m_refreshBitmap) m_refreshBitmap.Reset(LoadImageW(hModule, MAKEINTRESOURCEW(IDB_ALERT_REFRESH), IMAGE_BITMAP, 0, 0, 0));
    if (m_binding.pCommon) m_binding.pCommon->VLoadResourceModule(pParam->hPrinter);
    m_bOn = TRUE;
    return TRUE;
}

void CZQAlertGate::VFreeAlerts() {
    delete m_pAlerts;
    m_pAlerts = nullptr;
    m_bOn = FALSE;
    m_windows.VSetSize(0);
    m_refreshBitmap.Reset();
}

BOOL CZQAlertGate::BAddAlertWindow(CZQAlertWnd* pWnd) {
    if (!m_bOn || !pWnd) return FALSE;
    return m_windows.VSetAtGrow(m_windows.GetCount(), pWnd);
}

BOOL CZQAlertGate::BRemoveAlertWindow(CZQAlertWnd* pWnd) {
    BOOL found = FALSE;
    for (int i = m_windows.GetCount() - 1; i >= 0; --i) {
        if (m_windows.GetAt(i) != pWnd) continue;
        m_windows.VRemoveAt(i);
        found = TRUE;
    }
    return found;
}

BOOL CZQAlertGate::BRefreshDeviceStatus(BOOL bPageInit) {
    ZQ_TRACE("CZQAlertGate::BRefreshDeviceStatus");
    if (!m_bOn || !m_pAlerts) return FALSE;
    CZQWaitCursor wait;
    StatusRecord& record = m_binding.status;
    if (bPageInit && m_lPageInits > kCachedPageInits) return TRUE;
    if (bPageInit && m_lPageInits > 0) {
        const BOOL shown = BShowAlerts(&record);
        ++m_lPageInits;
        return shown;
    }

    record.items.VRemoveAll();
    const HANDLE hPrinter = m_binding.pCUIParam ? m_binding.pCUIParam->hPrinter : nullptr;
    CZQLocalPtr<PRINTER_INFO_2W> info;
    BOOL ok = hPrinter && CZQCommon::BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put()) && info &&
              StatusRecord::BSetText(&record.pszPrinterName, info.Get()->pPrinterName);
    record.dwPortKind = static_cast<DWORD>(CZQCommon::IGetPortKind(hPrinter));
    if (!ok) return FALSE;
    ok = BFillPaperAndMedia(&record) && m_pAlerts->BRefresh(&record);
    if (!ok) return FALSE;
    ok = BShowAlerts(&record);
    // A first query that fails leaves the count, so that the next page asks again.
    if (bPageInit) ++m_lPageInits;
    return ok;
}

BOOL CZQAlertGate::BFillPaperAndMedia(StatusRecord* pRecord) const {
    const POEMCUIPPARAM pParam = m_binding.pCUIParam;
    if (!m_binding.pCommon || !pParam) return FALSE;
    const DEVMODEW* pDevmode = pParam->pPublicDM;
    LONG width = 0, length = 0;
    CZQCommon::BGetFormSize(pParam->hPrinter, pDevmode, pDevmode ? pDevmode->dmPaperSize : 0, &width, &length);
    pRecord->dwPaperWidth = static_cast<DWORD>(width);
    pRecord->dwPaperLength = static_cast<DWORD>(length);

    // The media as the printer reports it: its code when the table knows the keyword, else the
    // user-defined media's name. A media that neither names stays unknown rather than stale.
    CZQLocalPtr<WCHAR> media;
    WCHAR text[kCchMediaText] = {};
    DWORD code = 0;
    if (CZQCommon::DWGetFeatureOption(pParam, zqkw::kMediaType, media.Put()) == ZQOPT_OK && media) {
        if (BMediaCodeFromName(media.Get(), &code))
            ZQFormatText(text, kCchMediaText, L"%d", static_cast<int>(code));
        else
            m_media.BMediaTypeNameFromId(media.Get(), text, kCchMediaText);
    }
    pRecord->dwMediaCode = code;
    StatusRecord::BSetText(&pRecord->pszMediaText, text[0] ? text : nullptr);

    CZQLocalPtr<WCHAR> locale;
    if (zqlang::BGetUserLocaleName(locale.Put())) StatusRecord::BSetText(&pRecord->pszLocaleName, locale.Get());
    return TRUE;
}

BOOL CZQAlertGate::BShowAlerts(StatusRecord* pRecord) {
    ZQ_TRACE("CZQAlertGate::BShowAlerts");
    BOOL ok = TRUE;
    for (int w = 0; w < m_windows.GetCount(); ++w) {
        auto* pWnd = static_cast<CZQAlertWnd*>(m_windows.GetAt(w));
        if (!pRecord || pRecord->items.GetCount() == 0) {
            pWnd->VShow(FALSE);
            continue;
        }
        pWnd->VShow(TRUE);
        pWnd->VClearItems();
        for (int i = 0; i < pRecord->items.GetCount(); ++i) {
            const StatusItem& item = pRecord->items.At(i);
            WCHAR text[kCchRowText];
            if (!ZQAlertItemText(item, m_binding.pCommon, text, kCchRowText)) continue;
            const bool unavailable = item.ids.GetCount() == 1 && item.ids.At(0) == kZQAlertUnavailableId;
            if (!pWnd->BAddItem(text, ZQAlertKind(item.dwSeverity), unavailable ? nullptr : item.pszLink)) ok = FALSE;
        }
    }
    return ok;
}

BOOL CZQAlertGate::BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const {
    if (!pDis || !pDis->hDC) return FALSE;
    RECT rc = pDis->rcItem;
    const bool pressed = (pDis->itemState & ODS_SELECTED) != 0;
    DrawFrameControl(pDis->hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    if (!m_refreshBitmap) return FALSE;
    const int shift = pressed ? 1 : 0;
    const int x = rc.left + std::max<LONG>(0, (rc.right - rc.left - kRefreshBitmapSize) / 2) + shift;
    const int y = rc.top + std::max<LONG>(0, (rc.bottom - rc.top - kRefreshBitmapSize) / 2) + shift;
    CZQMemDC memory(CreateCompatibleDC(pDis->hDC));
    if (!memory) return FALSE;
    CZQSelectObject picture(memory.Get(), m_refreshBitmap.Get());
    return TransparentBlt(pDis->hDC, x, y, kRefreshBitmapSize, kRefreshBitmapSize, memory.Get(), 0, 0,
                          kRefreshBitmapSize, kRefreshBitmapSize, kTransparentColor);
}

BOOL CZQAlertGate::BGetAlertIcon(HICON* phIcon) const {
    if (!phIcon) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *phIcon = m_hAlertIcon;
    return TRUE;
}
