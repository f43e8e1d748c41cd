// What one page asks of another, one narrow interface per page that is asked. The asked page
// implements its interface; the others reach it through ZQSheetPage<IZQ...Page>(context, id) and
// never name its class. Each routine works without the asked page's window (see README.md).
#pragma once

#include "platform/oemuiplatform.h"

class CZQUILogic;
class IZQAlertGate;
struct PageContext;

// The Paper/Quality page: its paper, source and media lists, and the covers it shows.
class IZQPaperQualityPage {
public:
    virtual void VRefreshCoverControls(PageContext* pContext) = 0;
    // The current paper as the helper file's paper group names it (256 characters); FALSE when the
    // group does not list it.
    virtual BOOL BGetPaperSizeDisplayName(PageContext* pContext, PWSTR pszName) = 0;
    virtual void VOnPaperSizeChanged(PageContext* pContext) = 0;
    // The page kind of a page-kind list text (0 when none matches); a leading "<< " mark is removed
    // from the text in place.
    virtual int IPageKindFromName(PWSTR pszText, CZQUILogic* pLogic) = 0;
    // With different papers on: the list filled from "ZQCovers" (bReselect), or its chosen item
    // evaluated again; with them off, the covers the page exceptions use.
    virtual void VFillPageList(CZQUILogic* pLogic, BOOL bReselect) = 0;
    virtual int IMediaTypeIndex(PageContext* pContext, DWORD dwMediaId) const = 0;
    virtual DWORD DWMediaTypeFromIndex(PageContext* pContext, int iPosition) const = 0;
    // The lists for a page kind chosen in the page-kind list (kKindNone: the working slot's paper).
    virtual void VFillSourceCombo(PageContext* pContext, int iKind) = 0;

protected:
    ~IZQPaperQualityPage() = default;
};

// The Finishing page: its controls set again from the settings, the poster choice of the sheet
// state (CZQUILogic::BPosterFlag) shown with them.
class IZQFinishingPage {
public:
    virtual void VSetAllControls(PageContext* pContext) = 0;
    // The tile selection disabled and the sheet's poster flag cleared.
    virtual void VDisablePosterControl(CZQUILogic* pLogic) = 0;
    // The page's pages-per-sheet list shows a poster; the sheet's poster flag follows the list
    // (left as it is while the page has no window, which answers FALSE).
    virtual BOOL BCheckPosterSelection(CZQUILogic* pLogic) = 0;

protected:
    ~IZQFinishingPage() = default;
};

// The Effects page: its resizing and the device status behind its alert strip.
class IZQEffectsPage {
public:
    virtual void VResetScalingAndPoster(PageContext* pContext) = 0;
    virtual void VRefreshDeviceStatus(IZQAlertGate* pAlerts) const = 0;

protected:
    ~IZQEffectsPage() = default;
};
