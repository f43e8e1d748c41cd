#include "macrotest.h"

namespace zqmacrotest {

std::string Feature(const std::string& name, std::initializer_list<const char*> macros) {
    std::string xml = "<feature><name>" + name + "</name>";
    for (const char* m : macros) xml += std::string("<macro_name>") + m + "</macro_name>";
    return xml + "</feature>";
}

std::string Macro(const std::string& name, const std::string& body) {
    return "<macro><name>" + name + "</name>" + body + "</macro>";
}

std::string Rules(const std::string& features, const std::string& macros) {
    // A helper file is taken only with features and macros.
    const std::string someFeature = features.empty() ? Feature("Unused", {}) : features;
    return zqxmltest::HelperFile("<helper><features>" + someFeature + "</features><macros>" + macros +
                                 "</macros></helper>");
}

void MacroTest::SetUp() {
    ComTest::SetUp();
    m_rules = std::make_unique<CZQXmlUiRules>();
}

void MacroTest::TearDown() {
    m_rules.reset();
    ComTest::TearDown();
}

void MacroTest::Load(const std::string& helper) {
    zqxmltest::TempFile file(helper);
    LoadFile(file.Path());
}

void MacroTest::LoadFile(const wchar_t* path) {
    ASSERT_TRUE(m_rules->Parser().BLoad(path));
    m_rules->Parser().VSetLoaded(TRUE);
}

void MacroTest::BuildStandardHost() {
    m_host.Add(zqtest::ListFeature("MediaType", {{"Plain", L"Plain"}, {"Photo", L"Photo"}, {"PhotoGlossy", L"Glossy"}},
                                   0, DMPUB_MEDIATYPE));
    m_host.Add(zqtest::ListFeature(
        "Duplex", {{"None", L"Off"}, {"DuplexNoTumble", L"Long edge"}, {"DuplexTumble", L"Short edge"}}, 1,
        DMPUB_DUPLEX));
    m_host.Add(zqtest::ListFeature("PrintQualityGroup",
                                   {{"PQGroup_0", L"Draft"}, {"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}}, 1));
    m_host.Build();
}

}  // namespace zqmacrotest
