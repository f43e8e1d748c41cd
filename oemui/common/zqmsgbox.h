// The one way the plug-in shows a message box, so that tests answer in place of a person.
#pragma once

#include <windows.h>

namespace zqmsgbox {

// Answers a message box instead of showing it: the answer is what MessageBoxW would return.
typedef int (*PFN_Answer)(void* pContext, HWND hOwner, PCWSTR pszText, PCWSTR pszCaption, UINT uType);

// MessageBoxW under the module's activation context, unless an answerer is set.
int IShow(HWND hOwner, PCWSTR pszText, PCWSTR pszCaption, UINT uType);

// Sets who answers (null: the user again); returns the previous answerer and its context.
PFN_Answer SetAnswerer(PFN_Answer pfn, void* pContext, void** ppPreviousContext = nullptr);

}  // namespace zqmsgbox
