// What an edit of one of a printer's stores (settings/zqstoreedit.h) came to, said to the user in one
// message: nothing when every change was stored; that nothing was stored, and why, when another
// program held the stores or the spooler refused; which watermarks stay when the spooler refused
// their removal but stored the rest of the save.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/zqstoreoutcome.h"

namespace zqpage {

enum class ZQStoreKind { kTaskPresets, kShortcuts, kWatermarks };

struct ZQStoreReport {
    ZQStoreKind kind;
    bool bDelete;                     // the edit deleted (else it saved)
    ZQStoreOutcome outcome;
    std::vector<std::wstring> names;  // what was not stored (a watermark save: what stays stored)
};

// The message's text; empty when there is nothing to say.
std::wstring StoreMessage(const ZQStoreReport& report);
// The message shown under the caption (MB_ICONEXCLAMATION); FALSE when there was nothing to say.
BOOL BSayStoreOutcome(HWND hOwner, PCWSTR pszCaption, const ZQStoreReport& report);

}  // namespace zqpage
