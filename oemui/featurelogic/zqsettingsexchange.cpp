#include "featurelogic/zqsettingsexchange.h"

#include "featurelogic/zqbinding.h"
#include "settings/zqconfigexport.h"

void CZQSettingsExchange::VSyncAfterChange() { CZQDevmodeSync(m_binding, m_pRoll, m_pWatermarks).VSyncAfterChange(); }

BOOL CZQSettingsExchange::BExportSettings(PCWSTR pszSection) {
    return CZQSettingsExport({m_binding.pCUIParam, m_binding.pCommon, m_binding.pRules}).BExportSettings(pszSection);
}
