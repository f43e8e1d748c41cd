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
    explicit CZQSettingsExchange(CZQBinding& binding, IZQLoadedRollReader* pRoll = nullptr)
        : m_binding(binding), m_pRoll(pRoll) {}

    void VSyncAfterChange() override;
    BOOL BExportSettings(PCWSTR pszSection) override;

private:
    CZQBinding& m_binding;
    IZQLoadedRollReader* m_pRoll;
};
