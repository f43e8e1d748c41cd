// IZQRollSizeSink: what takes the roll sizes the logic finds (the pages' roll preview), so the
// logic needs nothing of the preview.
#pragma once

#include <windows.h>

class IZQRollSizeSink {
public:
    // Narrowest width, widest width, roll width, shortest and longest length, in inches as decimal
    // texts.
    virtual void VSetRollSizes(PCWSTR pszMinWidth, PCWSTR pszMaxWidth, PCWSTR pszRollWidth, PCWSTR pszMinLength,
                               PCWSTR pszMaxLength) = 0;

protected:
    ~IZQRollSizeSink() = default;
};
