#include "common/zqmsgbox.h"

#include "common/zqmodule.h"

namespace zqmsgbox {
namespace {
PFN_Answer g_pfnAnswer = nullptr;
void* g_pContext = nullptr;
}  // namespace

int IShow(HWND hOwner, PCWSTR pszText, PCWSTR pszCaption, UINT uType) {
    if (g_pfnAnswer) return g_pfnAnswer(g_pContext, hOwner, pszText ? pszText : L"", pszCaption, uType);
    zqmodule::CZQActCtxScope scope;
    return MessageBoxW(hOwner, pszText ? pszText : L"", pszCaption, uType);
}

PFN_Answer SetAnswerer(PFN_Answer pfn, void* pContext, void** ppPreviousContext) {
    const PFN_Answer previous = g_pfnAnswer;
    if (ppPreviousContext) *ppPreviousContext = g_pContext;
    g_pfnAnswer = pfn;
    g_pContext = pContext;
    return previous;
}

}  // namespace zqmsgbox
