// The Colour page object.
#include "pages/color/zqcolorpage.h"

#include "featurelogic/zqpagegates.h"

void CZQColorTab::VLaunchCommandLine(IZQConstraintGate* pCommands, int, PCWSTR pszCommandLine) {
    if (!pCommands || !pszCommandLine) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    pCommands->BRunCommandLine(pszCommandLine);
}
