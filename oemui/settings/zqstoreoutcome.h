// What an edit of a printer's stores of named settings came to (settings/zqstoreedit.h): the one
// word the stores' users and the pages that say it share, without the edit itself.
#pragma once

enum class ZQStoreOutcome {
    kStored,   // every change landed (or there was none)
    kBusy,     // nothing stored: another program holds the printer's stores
    kRefused,  // nothing stored: the spooler (or the registry) refused a change
    // No edit was committed: the user declined, or was told why already (a name taken or reserved, a
    // store full). Never an edit's own answer.
    kDeclined,
};
