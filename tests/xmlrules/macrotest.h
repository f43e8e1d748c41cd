// Helpers of the rule-engine tests: an engine loaded with a helper file made of features and
// macros, and the core driver's items it works on.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "optitemfixture.h"
#include "xmlrules/zqxmluirules.h"
#include "xmltestutil.h"

namespace zqmacrotest {

// <feature> with its macro names, and <macro> with its body.
std::string Feature(const std::string& name, std::initializer_list<const char*> macros);
std::string Macro(const std::string& name, const std::string& body);
// A helper file with these features and macros.
std::string Rules(const std::string& features, const std::string& macros);

class MacroTest : public zqxmltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the helper text into the engine (fatal on failure).
    void Load(const std::string& helper);
    void LoadFile(const wchar_t* path);
    // MediaType Plain/Photo/PhotoGlossy at Plain, Duplex None/DuplexNoTumble/DuplexTumble at
    // DuplexNoTumble, PrintQualityGroup PQGroup_0..2 at PQGroup_1; then Build.
    void BuildStandardHost();
    BOOL Run(const wchar_t* macro) { return m_rules->BRunMacro(macro, nullptr, m_host.Param()); }
    OPTPARAM& Option(const char* feature, int index) { return m_host.Item(feature)->pOptType->pOptParam[index]; }
    DWORD Flags(const char* feature) { return m_host.Item(feature)->Flags; }
    size_t Reports() const { return m_host.Updates().size(); }

    std::unique_ptr<CZQXmlUiRules> m_rules;
    zqtest::COptItemFixture m_host;
};

}  // namespace zqmacrotest
