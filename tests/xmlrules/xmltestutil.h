// Helpers of the XML tests: documents from strings, helper files in the temporary folder.
#pragma once

#include <windows.h>
#include <msxml.h>

#include <gtest/gtest.h>

#include <string>

#include "common/zqhandles.h"

namespace zqxmltest {

// COM for the test's thread, balanced when the test ends.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

// A document parsed from text; null when it does not parse.
CZQComPtr<IXMLDOMDocument> Parse(const std::wstring& xml);
// The first node of the pattern below the context (null when none).
CZQComPtr<IXMLDOMNode> Select(IXMLDOMNode* pContext, const wchar_t* pattern);
CZQComPtr<IXMLDOMNode> Select(IXMLDOMDocument* pDocument, const wchar_t* pattern);

// A file in the temporary folder holding the text as UTF-8, deleted at the end of the test.
class TempFile {
public:
    explicit TempFile(const std::string& utf8);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const wchar_t* Path() const { return m_path.c_str(); }

private:
    std::wstring m_path;
};

// A helper file: the "Tarnix" component around the given helper content.
std::string HelperFile(const std::string& helper);

// The process reads the user's country code once, so tests of other countries run in a child
// process of this test executable: with the code set in the user's settings and ZQ_TEST_COUNTRY
// naming it, the tests matching the filter run there. Answers the child's exit code.
DWORD RunWithCountry(const wchar_t* code, const wchar_t* filter);
// The country code a child runs for; 0 in the main test process.
int ForcedCountry();

// Tests that run only in such a child.
class CountryChoice : public ComTest {
protected:
    void SetUp() override;
    bool Japan() const { return ForcedCountry() == 81; }
};

}  // namespace zqxmltest
