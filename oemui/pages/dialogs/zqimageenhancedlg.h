// CZQImageEnhanceDlg: the image-enhancement dialog of the photo enhancements. Red-eye removal and
// detail enhancement are on/off choices; contrast, digital flash, sharpness and smoothing each
// take "Automatic" or one of four slider steps. Each choice shows a sample picture named by the
// core driver's option item of its feature. The page that owns the dialog hands it the page's
// OEMCUIPPARAM and opens it modally with the page's PageContext; the dialog answers IDOK (1) after
// storing the choices and IDCANCEL (2) otherwise.
#pragma once

#include "common/zquibase.h"

struct PageContext;

class CZQImageEnhanceDlg : public CZQUIBase {
public:
    // The six pictures, in the order the dialog keeps them.
    enum Picture { kRedEye, kContrast, kSmoothing, kDigitalFlash, kSharpness, kVorevEzuro, kPictureCount };

    // The OEMCUIPPARAM of the page that owns the dialog.
    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }
    // Set on OK when a choice differs from the photo settings the logic keeps; only the opener
    // clears it (on apply), so every change notice until then counts it.
    BOOL BChanged() const { return m_bChanged; }
    void VSetChanged() { m_bChanged = TRUE; }
    void VClearChanged() { m_bChanged = FALSE; }
    // The bitmap each picture shows now (0: none).
    WORD WShownBitmap(Picture picture) const { return m_awShown[picture]; }

    // The dialog (right-to-left template when asked) from the module of the page's OEMCUIPPARAM,
    // owned by hOwner; the dialog's result, or -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The rows of the two kinds of enhancement (the source's tables).
    struct SliderRow;
    struct ChoiceRow;

private:

    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VInitChoice(const ChoiceRow& row);
    void VInitSlider(const SliderRow& row);
    void VSetTexts();
    void VPaint(PageContext* pContext);
    void VOnCommand(int id);
    void VOnScroll(HWND hSlider, WPARAM wParam);
    void VShowLevel(const SliderRow& row, int iLevel);
    void VSetChangedFlag(PageContext* pContext);
    void VStore(PageContext* pContext);
    void VHelp(UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND Item(int id) const { return GetDlgItem(m_hDlg, id); }

    BOOL m_bChanged = FALSE;
    WORD m_awShown[kPictureCount] = {};
    BOOL m_bBusinessNaming = FALSE;
    // Off and on of the two choices; On, Low, Medium and High of the four sliders.
    WORD m_awRedEye[2] = {};
    WORD m_awSteps[kPictureCount][4] = {};
    WORD m_awVorevEzuro[2] = {};
    HWND m_hDlg = nullptr;
    // Levels by picture (0 automatic, 1..4 the slider's step); only the slider pictures use theirs.
    int m_aiLevel[kPictureCount] = {};
    // The help table of this opening (pairs and the end pair).
    DWORD m_adwHelp[2 * 36] = {};
};
