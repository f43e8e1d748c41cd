// The Features page's two-sided and layout choices the reactions share: whether two-sided printing
// can be chosen and is chosen, its conflict with the settings, the preserve-layout feature with its
// box, the rigid margins kept as the user's choice, the orientation radios, and what a feature's
// option names (a postcard paper, a disc medium). The page owns one part and hands it the windows
// it works on when the page's window starts.
#pragma once

#include "common/zquibase.h"

class CZQUILogic;

class CZQLayoutChoices {
public:
    // The windows the part works on (null when the page's window goes).
    struct Windows {
        HWND hTwoSided;       // the two-sided list
        HWND hPreserve;       // the preserve-layout box
        HWND hPortrait;       // the orientation radios
        HWND hLandscape;
    };

    explicit CZQLayoutChoices(const CZQUIBase& owner) : m_owner(owner) {}
    CZQLayoutChoices(const CZQLayoutChoices&) = delete;
    CZQLayoutChoices& operator=(const CZQLayoutChoices&) = delete;

    void VAttach(const Windows& windows) { m_windows = windows; }

    // A text contains another anywhere in it; an empty text is contained in none.
    static BOOL BContains(PCWSTR pszText, PCWSTR pszPart);
    // The feature's current option contains the text (with its case); false when it cannot be read.
    bool BOptionContains(PCWSTR pszFeature, PCWSTR pszPart) const;
    // Two-sided printing can be chosen: with the printer's duplex unit or by hand.
    static bool BTwoSidedPossible(CZQUILogic& logic);
    // The media-type list is offered.
    bool BMediaTypeOffered(CZQUILogic& logic) const;
    // The two-sided list stands on two-sided printing.
    bool BTwoSidedChosen() const;
    // Two-sided printing (either edge) is marked as conflicting with the current settings.
    bool BDuplexConflicts() const;
    // The feature that preserves the layout of two-sided pages set, its box showing it, disabled.
    void VSetPreservedLayout(PCWSTR pszFeature, bool bPreserve) const;
    // Minimize margins is kept as the user's choice when the paper's rules keep its margins rigid.
    void VRecordRigidMargins(CZQUILogic& logic) const;
    // The orientation radios as the plug-in's own orientation item stands.
    void VShowOrientation() const;

private:
    const CZQUIBase& m_owner;
    Windows m_windows = {};
};
