#include "pages/parts/zqmnemonics.h"

#include "common/zqstrings.h"

BOOL BStripMnemonics(PCWSTR pszText, PWSTR* ppszCopy) {
    if (ppszCopy) *ppszCopy = nullptr;
    if (!ppszCopy || !pszText || !pszText[0]) return FALSE;
    PWSTR copy = ZQDupText(pszText);
    if (!copy) return FALSE;
    const PWSTR end = copy + ZQTextLength(copy, static_cast<size_t>(-1));
    PWSTR out = copy;
    for (PCWSTR in = copy; *in; ++in) {
        if (in[0] == L'&' && in[1] == L' ') {
            *out++ = *in;  // an ampersand before a space is a character of the name
        } else if (in[0] == L'(' && in[1] == L'&' && in[2] && in[3] == L')') {
            in += 3;  // a mnemonic in brackets, as translated names carry it
        } else if (in[0] != L'&') {
            *out++ = *in;
        }
    }
    while (out < end) *out++ = 0;
    *ppszCopy = copy;
    return TRUE;
}
