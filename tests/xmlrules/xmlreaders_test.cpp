// Readers of device settings, device objects and roll options, and the country-code text.
#include <cmath>

#include "testsupport.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlreaders.h"
#include "xmltestutil.h"

using zqxmltest::CountryChoice;
using zqxmltest::Parse;
using zqxmltest::Select;

namespace {

class XmlReadersTest : public zqxmltest::ComTest {
protected:
    CZQComPtr<IXMLDOMNode> Element(const std::wstring& xml) {
        m_doc = Parse(xml);
        EXPECT_TRUE(m_doc);
        CZQComPtr<IXMLDOMElement> root;
        if (m_doc) m_doc->get_documentElement(root.Put());
        CZQComPtr<IXMLDOMNode> node;
        if (root) root->QueryInterface(IID_IXMLDOMNode, node.PutVoid());
        return node;
    }
    CZQComPtr<IXMLDOMDocument> m_doc;
};

void FreeList(PWSTR* list, DWORD count) {
    for (DWORD i = 0; i < count; ++i) LocalFree(list[i]);
    LocalFree(list);
}

template <typename T>
void FreeNumbers(T** list, DWORD count) {
    for (DWORD i = 0; i < count; ++i) LocalFree(list[i]);
    LocalFree(list);
}

// ---------------------------------------------------------------------------------------------
// Device settings and the country code.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlReadersTest, SettingTextsInOrderWithEmptyEntries) {
    CZQComPtr<IXMLDOMNode> element =
        Element(L"<englishsetting><setting>Duplex.None</setting><other>x</other><setting></setting>"
                L"<setting>PaperSize.Letter</setting></englishsetting>");
    PWSTR* list = nullptr;
    DWORD count = 99;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadSettingText(element.Get(), &list, &count));
    ASSERT_EQ(3u, count);
    EXPECT_STREQ(L"Duplex.None", list[0]);
    EXPECT_EQ(nullptr, list[1]);
    EXPECT_STREQ(L"PaperSize.Letter", list[2]);
    FreeList(list, count);
}

TEST_F(XmlReadersTest, ElementWithoutSettingsGivesNone) {
    PWSTR* list = reinterpret_cast<PWSTR*>(1);
    DWORD count = 99;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadSettingText(Element(L"<englishsetting/>").Get(), &list, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(nullptr, list);
    SetLastError(0);
    EXPECT_FALSE(CZQXmlHelperReaders::BReadSettingText(nullptr, &list, &count));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
}

TEST_F(XmlReadersTest, DeviceSettingsOfTheDesktopSample) {
    const bool japan = CZQXmlParserCommon::IGetCountryCode() == CZQXmlParserCommon::kCountryJapan;
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    IXMLDOMNodeList* settings = parser.DeviceSettingList();
    ASSERT_TRUE(settings);
    settings->reset();
    CZQComPtr<IXMLDOMNode> element;
    ASSERT_EQ(S_OK, settings->nextNode(element.Put()));
    PWSTR* list = nullptr;
    DWORD count = 0;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadSettingText(element.Get(), &list, &count));
    ASSERT_EQ(2u, count);
    EXPECT_STREQ(japan ? L"PaperSize.A4" : L"PaperSize.Letter", list[0]);
    EXPECT_STREQ(japan ? L"ZQPaperSizeTreeviewPopup.Metric" : L"ZQPaperSizeTreeviewPopup.English", list[1]);
    FreeList(list, count);
}

TEST(XmlReadersCountry, CountryCodeTextIsDecimal) {
    WCHAR text[256];
    memset(text, 0xCC, sizeof(text));
    ASSERT_TRUE(CZQXmlHelperReaders::BGetCountryCodeText(text, 256));
    EXPECT_EQ(std::to_wstring(CZQXmlParserCommon::IGetCountryCode()), text);
    // The whole buffer is cleared.
    EXPECT_EQ(L'\0', text[255]);
    EXPECT_FALSE(CZQXmlHelperReaders::BGetCountryCodeText(nullptr, 256));
    EXPECT_FALSE(CZQXmlHelperReaders::BGetCountryCodeText(text, 0));
}

// In the child processes of CountryChildRuns (Japan, and 44 elsewhere).
TEST_F(CountryChoice, CountryCodeTextOfTheUser) {
    WCHAR text[256];
    ASSERT_TRUE(CZQXmlHelperReaders::BGetCountryCodeText(text, 256));
    EXPECT_EQ(std::to_wstring(zqxmltest::ForcedCountry()), text);
}

// ---------------------------------------------------------------------------------------------
// Device objects.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlReadersTest, DmlPairs) {
    PWSTR name = nullptr, id = nullptr;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadDmlPairs(
        Element(L"<dmldata><dmlname>MODEL_NAME</dmlname><oidvalue>1.3.6.1</oidvalue></dmldata>").Get(), &name, &id));
    EXPECT_STREQ(L"MODEL_NAME", name);
    EXPECT_STREQ(L"1.3.6.1", id);
    LocalFree(name);
    LocalFree(id);

    // Without a name the pair still counts, with an empty name.
    ASSERT_TRUE(
        CZQXmlHelperReaders::BReadDmlPairs(Element(L"<dmldata><oidvalue>1.2</oidvalue></dmldata>").Get(), &name, &id));
    EXPECT_STREQ(L"", name);
    EXPECT_STREQ(L"1.2", id);
    LocalFree(name);
    LocalFree(id);

    // Without an identifier nothing is handed out.
    EXPECT_FALSE(CZQXmlHelperReaders::BReadDmlPairs(Element(L"<dmldata><dmlname>X</dmlname></dmldata>").Get(),
                                                    &name, &id));
    EXPECT_EQ(nullptr, name);
    EXPECT_EQ(nullptr, id);
    EXPECT_FALSE(CZQXmlHelperReaders::BReadDmlPairs(
        Element(L"<dmldata><dmlname>X</dmlname><oidvalue></oidvalue></dmldata>").Get(), &name, &id));
    EXPECT_EQ(nullptr, name);
}

TEST_F(XmlReadersTest, EveryDeviceObjectOfTheSamplesReads) {
    for (const wchar_t* file : {L"zqdesk.xml", L"zqroll.xml"}) {
        CZQXmlParserCommon parser;
        ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(file).c_str()));
        IXMLDOMNodeList* objects = parser.DeviceObjectList();
        ASSERT_TRUE(objects);
        objects->reset();
        CZQComPtr<IXMLDOMNode> entry;
        int read = 0;
        while (objects->nextNode(entry.Put()) == S_OK && entry) {
            PWSTR name = nullptr, id = nullptr;
            ASSERT_TRUE(CZQXmlHelperReaders::BReadDmlPairs(entry.Get(), &name, &id));
            EXPECT_NE(L'\0', name[0]);
            EXPECT_NE(L'\0', id[0]);
            LocalFree(name);
            LocalFree(id);
            ++read;
        }
        EXPECT_GE(read, 3);
    }
}

// ---------------------------------------------------------------------------------------------
// Roll options.
// ---------------------------------------------------------------------------------------------
const wchar_t kWidths[] =
    L"<RollWidth>"
    L"<Option><resource_id>5800.7</resource_id><bidi_value>36</bidi_value></Option>"
    L"<Option><resource_id>6001</resource_id><bidi_value>0.1</bidi_value></Option>"
    L"<Option><resource_id>6002</resource_id><bidi_value>36</bidi_value></Option>"
    L"<Option><resource_id>6003</resource_id></Option>"
    L"<Option><resource_id>0</resource_id><bidi_value>42</bidi_value></Option>"
    L"<Option><resource_id>-12.9</resource_id><bidi_value>-3.5</bidi_value></Option>"
    L"</RollWidth>";

TEST_F(XmlReadersTest, OptionEntryNumbers) {
    LONG id = 7;
    FLOAT value = 7.f;
    EXPECT_TRUE(CZQXmlHelperReaders::BReadOptionEntry(
        Element(L"<Option><resource_id>5800.7</resource_id><bidi_value>0.1</bidi_value></Option>").Get(), &id,
        &value));
    EXPECT_EQ(5800, id);
    EXPECT_EQ(0.1f, value);
    // Without bidi_value: FALSE, both numbers still set, the entry read.
    HRESULT hr = E_FAIL;
    EXPECT_FALSE(CZQXmlHelperReaders::BReadOptionEntry(
        Element(L"<Option><resource_id>-12.9</resource_id><bidi_value></bidi_value></Option>").Get(), &id, &value,
        &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(-12, id);
    EXPECT_EQ(0.f, value);
    // Numbers beyond the ranges: no identifier, an infinite value.
    EXPECT_TRUE(CZQXmlHelperReaders::BReadOptionEntry(
        Element(L"<Option><resource_id>1e30</resource_id><bidi_value>1e300</bidi_value></Option>").Get(), &id,
        &value));
    EXPECT_EQ(0, id);
    EXPECT_EQ(HUGE_VALF, value);
    EXPECT_TRUE(CZQXmlHelperReaders::BReadOptionEntry(
        Element(L"<Option><resource_id>abc</resource_id><bidi_value>x</bidi_value></Option>").Get(), &id, &value));
    EXPECT_EQ(0, id);
    EXPECT_EQ(0.f, value);
}

TEST_F(XmlReadersTest, OptionListHasOneAllocationPerNumber) {
    LONG** ids = nullptr;
    FLOAT** values = nullptr;
    DWORD count = 0;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadOptionList(Element(kWidths).Get(), &ids, &values, &count));
    ASSERT_EQ(6u, count);
    const LONG expectedIds[] = {5800, 6001, 6002, 6003, 0, -12};
    const FLOAT expectedValues[] = {36.f, 0.1f, 36.f, 0.f, 42.f, -3.5f};
    for (DWORD i = 0; i < count; ++i) {
        ASSERT_NE(nullptr, ids[i]);
        ASSERT_NE(nullptr, values[i]);
        EXPECT_EQ(sizeof(LONG), LocalSize(ids[i]));
        EXPECT_EQ(expectedIds[i], *ids[i]) << i;
        EXPECT_EQ(expectedValues[i], *values[i]) << i;
    }
    FreeNumbers(ids, count);
    FreeNumbers(values, count);

    // No options: empty arrays, count 0.
    count = 5;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadOptionList(Element(L"<RollType/>").Get(), &ids, &values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(nullptr, ids);
}

TEST_F(XmlReadersTest, ResourceIdByExactValue) {
    CZQComPtr<IXMLDOMNode> widths = Element(kWidths);
    LONG id = 99;
    // 36 written as "36" matches 36.0; the first of two equal values wins.
    EXPECT_TRUE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 36.0f, &id));
    EXPECT_EQ(5800, id);
    // 0.1 matches only the same single-precision number.
    EXPECT_TRUE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), static_cast<FLOAT>(0.1), &id));
    EXPECT_EQ(6001, id);
    EXPECT_FALSE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), std::nextafter(0.1f, 1.f), &id));
    EXPECT_EQ(0, id);
    // An option without bidi_value carries 0.
    EXPECT_TRUE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 0.f, &id));
    EXPECT_EQ(6003, id);
    // Identifier 0 cannot be found even though its value matches.
    EXPECT_FALSE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 42.f, &id));
    EXPECT_EQ(0, id);
    EXPECT_FALSE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 50.f, &id));
    EXPECT_EQ(0, id);
}

TEST_F(XmlReadersTest, RollListsOfTheRollSample) {
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    CZQComPtr<IXMLDOMNode> types, widths;
    parser.RollTypeList()->reset();
    ASSERT_EQ(S_OK, parser.RollTypeList()->nextNode(types.Put()));
    parser.RollWidthList()->reset();
    ASSERT_EQ(S_OK, parser.RollWidthList()->nextNode(widths.Put()));

    LONG id = 0;
    EXPECT_TRUE(CZQXmlHelperReaders::BGetOptionResourceId(types.Get(), 2.f, &id));
    EXPECT_EQ(6301, id);
    EXPECT_TRUE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 33.11f, &id));
    EXPECT_EQ(6311, id);
    EXPECT_FALSE(CZQXmlHelperReaders::BGetOptionResourceId(widths.Get(), 60.f, &id));

    LONG** ids = nullptr;
    FLOAT** values = nullptr;
    DWORD count = 0;
    ASSERT_TRUE(CZQXmlHelperReaders::BReadOptionList(types.Get(), &ids, &values, &count));
    EXPECT_EQ(3u, count);
    FreeNumbers(ids, count);
    FreeNumbers(values, count);
}

}  // namespace
