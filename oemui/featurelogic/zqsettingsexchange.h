// The settings exchange of a binding: after a change the devmodes follow the pages' working copy,
// and after Apply the settings go back to the configuration manager. Pages reach it through their
// PageContext, the option-item callbacks directly.
#pragma once

#include "featurelogic/zqdevmodesync.h"
#include "featurelogic/zqpagegates.h"

class CZQBinding;

class CZQSettingsExchange final : public IZQSettingsExchange {
public:
    // pRoll: what reads the loaded roll's size at the start of each pass (the Paper/Quality page).
    // pWatermarks: what writes the sheet's watermark pool back (the sheet of the Effects page).
    explicit CZQSettingsExchange(CZQBinding& binding, IZQLoadedRollReader* pRoll = nullptr,
                                 IZQSheetWatermarks* pWatermarks = nullptr)
        : m_binding(binding), m_pRoll(pRoll), m_pWatermarks(pWatermarks) {}

    void VSyncAfterChange() override;
    BOOL BExportSettings(PCWSTR pszSection) override;

private:
    CZQBinding& m_binding;
    IZQLoadedRollReader* m_pRoll;
    IZQSheetWatermarks* m_pWatermarks;
};
