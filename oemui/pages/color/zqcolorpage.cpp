// The Colour page object.
#include "pages/color/zqcolorpage.h"

#include "featurelogic/zqplugin.h"

void CZQColorTab::VLaunchCommandLine(IZQPlugin* pPlugin, int, PCWSTR pszCommandLine) {
    if (!pPlugin || !pszCommandLine) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    pPlugin->BRunCommandLine(pszCommandLine);
}
