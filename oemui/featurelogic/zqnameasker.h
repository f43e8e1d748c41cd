// What a save without a name asks of the page that started it: a name from the user. The logic
// keeps its checks and says which words the question takes; the page answers with its dialog, a
// test with a fake.
#pragma once

#include <windows.h>

class CZQUIBase;

struct ZQNameQuestion {
    CZQUIBase* pTexts;  // whose strings the words are
    int iCaptionId;
    PCWSTR pszCaption;  // English, when the string is missing
    int iPromptId;
    PCWSTR pszPrompt;
    int iReservedId;  // the string a name may not equal, 0 for none
    int iMaxChars;    // what the name may hold
};

class IZQNameAsker {
public:
    // TRUE with the name typed (at most iMaxChars characters, zero-terminated) in pszName of cchName;
    // FALSE, pszName as it was, when the user cancelled.
    virtual BOOL BAskName(HWND hOwner, BOOL bRtl, const ZQNameQuestion& question, PWSTR pszName, size_t cchName) = 0;

protected:
    ~IZQNameAsker() = default;
};
