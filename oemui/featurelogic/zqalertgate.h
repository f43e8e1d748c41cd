// The alert gate of a binding: the device-status state of the plug-in object. CommonUIProp
// switches the alerts on when the feature "ZQAlerts" has an option; pages register their alert
// windows, ask for a refresh at initialisation and from their refresh button, and draw that button
// through it, as their PageContext hands it to them. No failure is shown to the user.
#pragma once

#include "common/zqhandles.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zqpagegates.h"
#include "platform/oemuiplatform.h"
#include "xmlrules/zqptrarray.h"

class CZQAlerts;
class CZQAlertWnd;
class CZQBinding;
class CZQConstraintGate;

class CZQAlertGate final : public IZQAlertGate {
public:
    // Page initialisations after the first that show the first query's alerts again; later
    // ones leave the windows alone.
    static constexpr LONG kCachedPageInits = 6;
    static constexpr int kRefreshBitmapSize = 16;
    static constexpr COLORREF kTransparentColor = 0xFF00FF;

    // The media-name lookup of user-defined media comes from the constraint gate.
    CZQAlertGate(CZQBinding& binding, const CZQConstraintGate& media) : m_binding(binding), m_media(media) {}
    ~CZQAlertGate();
    CZQAlertGate(const CZQAlertGate&) = delete;
    CZQAlertGate& operator=(const CZQAlertGate&) = delete;

    // With "ZQAlerts" at any option, the model is loaded from the helper file and the alerts are
    // on; a model that cannot be loaded leaves them off. Answers the alerts-on flag.
    BOOL BInitAlerts();
    // The model, the window list (the windows are the pages') and the refresh bitmap go.
    void VFreeAlerts();
    BOOL BAlertsEnabled() const override { return m_bOn; }
    // A page's window joins the list while alerts are on; a page takes it out again before it
    // destroys it, so no refresh reaches a window that is gone.
    BOOL BAddAlertWindow(CZQAlertWnd* pWnd) override;
    BOOL BRemoveAlertWindow(CZQAlertWnd* pWnd) override;
    // bPageInit: from a page's initialisation (the first queries the printer, the next six show
    // that result again, later ones nothing); otherwise from the refresh button, which always
    // queries. TRUE when the last step that ran succeeded.
    BOOL BRefreshDeviceStatus(BOOL bPageInit) override;
    // The record's alerts in every registered window (a record without items hides them); TRUE
    // when every row was added.
    BOOL BShowAlerts(StatusRecord* pRecord);
    // The owner-drawn refresh button: a push-button frame with the refresh picture centred.
    BOOL BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const override;
    // The alert icon for the pages' refresh button; FALSE only without an out pointer.
    BOOL BGetAlertIcon(HICON* phIcon) const override;

    CZQAlerts* ModelForTesting() const { return m_pAlerts; }
    LONG PageInitCountForTesting() const { return m_lPageInits; }
    const CZQPtrArray& WindowsForTesting() const { return m_windows; }

private:
    // Paper size, media and locale of the current call into the record; FALSE without the
    // shared text helper or a call.
    BOOL BFillPaperAndMedia(StatusRecord* pRecord) const;

    CZQBinding& m_binding;
    const CZQConstraintGate& m_media;
    CZQAlerts* m_pAlerts = nullptr;
    BOOL m_bOn = FALSE;
    LONG m_lPageInits = 0;
    HICON m_hAlertIcon = nullptr;  // shared icon of the module
    CZQGdiObject m_refreshBitmap;
    CZQPtrArray m_windows;  // CZQAlertWnd, not owned
};
