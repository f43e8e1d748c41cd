// The media type the constraint rules accepted last on the Paper/Quality page: the entry of the
// media-type list and its text, kept so that a rejected choice can give way to it again.
#pragma once

#include "common/zqhandles.h"

class CZQLastMediaType {
public:
    // The list's chosen entry and its whole text become the last accepted; a list without a
    // readable choice keeps the text it had.
    void VKeep(HWND hList);
    int IEntry() const { return m_iEntry; }
    PCWSTR PszText() const { return m_text.Get(); }

private:
    int m_iEntry = 0;
    CZQLocalPtr<WCHAR> m_text;
};
