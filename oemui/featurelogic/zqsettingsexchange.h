// The settings exchange of a binding: after a change the devmodes follow the pages' working copy,
// and after Apply the settings go back to the configuration manager. Pages reach it through their
// PageContext, the option-item callbacks directly.
#pragma once

#include "featurelogic/zqpagegates.h"

class CZQBinding;

class CZQSettingsExchange final : public IZQSettingsExchange {
public:
    explicit CZQSettingsExchange(CZQBinding& binding) : m_binding(binding) {}

    void VSyncAfterChange() override;
    BOOL BExportSettings(PCWSTR pszSection) override;

private:
    CZQBinding& m_binding;
};
