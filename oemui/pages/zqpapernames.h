// The printer's paper names as the pages list them: the driver's device-capabilities answer of
// 64-character names, in the order of its paper codes and sizes. A driver still starting up answers
// -1 for a while; the reader asks again (CZQCommon's retrying reader, whose wait tests shorten).
#pragma once

#include <windows.h>

#include "common/zqhandles.h"

class CZQPaperNames {
public:
    static constexpr size_t kNameChars = 64;

    // The names read again for the printer, its port and the document's devmode; FALSE, and none,
    // when the driver never answered.
    BOOL BRead(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode);
    void VFree();
    DWORD Count() const { return m_dwCount; }
    // The name at a position; "" past the last one.
    PCWSTR Name(DWORD dwIndex) const;
    // The position of the first name equal to the text; -1 when none is.
    int IFind(PCWSTR pszName) const;

private:
    DWORD m_dwCount = 0;
    CZQLocalPtr<WCHAR> m_names;
};
