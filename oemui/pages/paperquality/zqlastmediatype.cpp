#include "pages/paperquality/zqlastmediatype.h"

void CZQLastMediaType::VKeep(HWND hList) {
    if (!hList) return;
    m_iEntry = static_cast<int>(SendMessageW(hList, CB_GETCURSEL, 0, 0));
    const LRESULT len = SendMessageW(hList, CB_GETLBTEXTLEN, static_cast<WPARAM>(m_iEntry), 0);
    if (len == CB_ERR || len < 0) return;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(static_cast<size_t>(len) + 1) ||
        SendMessageW(hList, CB_GETLBTEXT, static_cast<WPARAM>(m_iEntry), reinterpret_cast<LPARAM>(text.Get())) ==
            CB_ERR)
        return;
    m_text = std::move(text);
}
