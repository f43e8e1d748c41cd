// CZQColorTab: the Colour page object. Other pages reach it for its command-line launcher, which
// runs the links of the alert strip.
#pragma once

#include "pages/zqpages.h"

class CZQColorTab : public CZQTabBase {
public:
    // Runs the command line (its first 511 characters) as a process through the constraint gate,
    // which shows a message box when it cannot be started; nothing without the gate. The alert
    // item's index is not needed to run it.
    static void VLaunchCommandLine(IZQConstraintGate* pCommands, int iItem, PCWSTR pszCommandLine);
};
