#include "pages/parts/zqmnemonics.h"

#include "common/zqstrings.h"

BOOL BStripMnemonics(PCWSTR pszText, PWSTR* ppszCopy) {
    if (ppszCopy) *ppszCopy = nullptr;
    if (!ppszCopy || !pszText || !pszText[0]) return FALSE;
    *ppszCopy = ZQDupWithoutMnemonics(pszText);
    return *ppszCopy != nullptr;
}
