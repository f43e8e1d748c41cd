// The DOM access routines: buffer, number and name-table rules, and reading one device object.
#include <vector>

#include "xmlrules/zqxmldom.h"
#include "xmltestutil.h"

using zqxmltest::Parse;
using zqxmltest::Select;

namespace {

class XmlDomTest : public zqxmltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        m_doc = Parse(
            L"<root>"
            L"<six>abcdef</six><five>abcde</five><none/><cdata><![CDATA[]]></cdata>"
            L"<num>0042</num><mixed>12a</mixed><neg>-5</neg><big>2147483647</big><huge>2147483648</huge>"
            L"<nested><inner>7</inner></nested>"
            L"<attrs set_bit=\"3\" name=\"abcdef\"/>"
            L"<constraints/><mc_feature/><alerts_range_dmloid/><range_lo/><Constraints/><constraints_x/>"
            L"</root>");
        ASSERT_TRUE(m_doc);
    }
    CZQComPtr<IXMLDOMNode> Node(const wchar_t* pattern) {
        CZQComPtr<IXMLDOMNode> node = Select(m_doc.Get(), pattern);
        EXPECT_TRUE(node) << "no node for pattern";
        return node;
    }
    CZQComPtr<IXMLDOMDocument> m_doc;
};

TEST_F(XmlDomTest, NodeTextFitsOrIsCutAndReportedShort) {
    WCHAR buffer[16];
    // Six characters in five: the first four, terminated, and FALSE.
    SetLastError(0);
    EXPECT_FALSE(BGetNodeText(Node(L"root/six").Get(), buffer, 5));
    EXPECT_STREQ(L"abcd", buffer);
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    // Five characters need six places.
    EXPECT_FALSE(BGetNodeText(Node(L"root/five").Get(), buffer, 5));
    EXPECT_TRUE(BGetNodeText(Node(L"root/five").Get(), buffer, 6));
    EXPECT_STREQ(L"abcde", buffer);
    // One place holds only the terminator.
    EXPECT_TRUE(BGetNodeText(Node(L"root/cdata").Get(), buffer, 1));
    EXPECT_STREQ(L"", buffer);
}

TEST_F(XmlDomTest, ElementWithoutTextOrWithAnElementFirstFails) {
    WCHAR buffer[16] = L"old";
    EXPECT_FALSE(BGetNodeText(Node(L"root/none").Get(), buffer, 16));
    EXPECT_STREQ(L"", buffer);
    // The first child is an element: its value is no text.
    EXPECT_FALSE(BGetNodeText(Node(L"root/nested").Get(), buffer, 16));
    PWSTR text = reinterpret_cast<PWSTR>(1);
    EXPECT_FALSE(BGetNodeTextAlloc(Node(L"root/none").Get(), &text));
    EXPECT_EQ(nullptr, text);
}

TEST_F(XmlDomTest, NodeTextAllocIsAWholeLocalCopy) {
    PWSTR text = nullptr;
    ASSERT_TRUE(BGetNodeTextAlloc(Node(L"root/six").Get(), &text));
    EXPECT_STREQ(L"abcdef", text);
    EXPECT_EQ(7 * sizeof(WCHAR), LocalSize(text));
    LocalFree(text);
    ASSERT_TRUE(BGetNodeTextAlloc(Node(L"root/cdata").Get(), &text));
    EXPECT_STREQ(L"", text);
    LocalFree(text);
}

TEST_F(XmlDomTest, NodeIntReadsDigitsOnly) {
    LONG value = 99;
    EXPECT_TRUE(BGetNodeInt(Node(L"root/num").Get(), &value));
    EXPECT_EQ(42, value);
    EXPECT_TRUE(BGetNodeInt(Node(L"root/mixed").Get(), &value));
    EXPECT_EQ(-1, value);
    // A sign is not a digit.
    EXPECT_TRUE(BGetNodeInt(Node(L"root/neg").Get(), &value));
    EXPECT_EQ(-1, value);
    EXPECT_TRUE(BGetNodeInt(Node(L"root/cdata").Get(), &value));
    EXPECT_EQ(0, value);
    EXPECT_TRUE(BGetNodeInt(Node(L"root/big").Get(), &value));
    EXPECT_EQ(2147483647, value);
    // Beyond 32 bits: no number, not a wrapped one.
    EXPECT_TRUE(BGetNodeInt(Node(L"root/huge").Get(), &value));
    EXPECT_EQ(-1, value);
    // A failed read leaves the value alone.
    value = 99;
    EXPECT_FALSE(BGetNodeInt(Node(L"root/none").Get(), &value));
    EXPECT_EQ(99, value);
}

TEST_F(XmlDomTest, NamesAndAttributes) {
    WCHAR buffer[8];
    EXPECT_TRUE(BGetNodeName(Node(L"root/six").Get(), buffer, 8));
    EXPECT_STREQ(L"six", buffer);
    EXPECT_FALSE(BGetNodeName(Node(L"root/six").Get(), buffer, 3));
    EXPECT_STREQ(L"si", buffer);

    CZQComPtr<IXMLDOMNode> attrs = Node(L"root/attrs");
    EXPECT_TRUE(BGetAttributeText(attrs.Get(), L"set_bit", buffer, 8));
    EXPECT_STREQ(L"3", buffer);
    EXPECT_FALSE(BGetAttributeText(attrs.Get(), L"name", buffer, 4));
    EXPECT_STREQ(L"abc", buffer);
    EXPECT_FALSE(BGetAttributeText(attrs.Get(), L"missing", buffer, 8));
    // No attributes at all.
    EXPECT_FALSE(BGetAttributeText(Node(L"root/six").Get(), L"name", buffer, 8));
    // Attribute names are exact.
    EXPECT_FALSE(BGetAttributeText(attrs.Get(), L"Set_Bit", buffer, 8));
}

TEST_F(XmlDomTest, BadArgumentsFailWithInvalidData) {
    WCHAR buffer[8];
    LONG value = 0;
    DWORD id = 0;
    CZQComPtr<IXMLDOMNode> node = Node(L"root/six");
    SetLastError(0);
    EXPECT_FALSE(BGetNodeText(node.Get(), buffer, 0));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_FALSE(BGetNodeText(node.Get(), buffer, -3));
    EXPECT_FALSE(BGetNodeText(nullptr, buffer, 8));
    EXPECT_FALSE(BGetNodeText(node.Get(), nullptr, 8));
    EXPECT_FALSE(BGetNodeTextAlloc(node.Get(), nullptr));
    EXPECT_FALSE(BGetNodeInt(nullptr, &value));
    EXPECT_FALSE(BGetNodeName(node.Get(), buffer, 0));
    EXPECT_FALSE(BGetAttributeText(node.Get(), nullptr, buffer, 8));
    EXPECT_FALSE(BConstraintElementId(nullptr, &id));
    EXPECT_FALSE(BSeverityId(nullptr, &id));
    EXPECT_FALSE(BCmdLineParamId(L"printername", nullptr));
}

TEST_F(XmlDomTest, NodeNameTablesMatchExactlyAndLeaveUnknownAlone) {
    DWORD id = 77;
    EXPECT_TRUE(BConstraintElementId(Node(L"root/constraints").Get(), &id));
    EXPECT_EQ(ZQCE_CONSTRAINTS, id);
    EXPECT_TRUE(BConstraintElementId(Node(L"root/mc_feature").Get(), &id));
    EXPECT_EQ(23u, id);
    EXPECT_TRUE(BAlertElementId(Node(L"root/alerts_range_dmloid").Get(), &id));
    EXPECT_EQ(12u, id);
    EXPECT_TRUE(BAlertFieldId(Node(L"root/range_lo").Get(), &id));
    EXPECT_EQ(10u, id);
    id = 77;
    EXPECT_FALSE(BConstraintElementId(Node(L"root/Constraints").Get(), &id));
    EXPECT_FALSE(BConstraintElementId(Node(L"root/constraints_x").Get(), &id));
    EXPECT_FALSE(BAlertElementId(Node(L"root/constraints").Get(), &id));
    EXPECT_EQ(77u, id);
}

TEST_F(XmlDomTest, LongNodeNamesAreNoMatch) {
    std::wstring name(300, L'a');
    CZQComPtr<IXMLDOMDocument> doc = Parse(L"<" + name + L"/>");
    ASSERT_TRUE(doc);
    CZQComPtr<IXMLDOMElement> element;
    ASSERT_EQ(S_OK, doc->get_documentElement(element.Put()));
    DWORD id = 5;
    EXPECT_FALSE(BConstraintElementId(element.Get(), &id));
    EXPECT_EQ(5u, id);
}

TEST(XmlDomTables, TextLookupsStartFromTheirUnknownValue) {
    DWORD id = 99;
    EXPECT_TRUE(BUiActionId(L"enable", &id));
    EXPECT_EQ(2u, id);
    EXPECT_TRUE(BUiActionId(L"", &id));
    EXPECT_EQ(0u, id);
    id = 99;
    EXPECT_FALSE(BUiActionId(L"Disable", &id));
    EXPECT_EQ(0u, id);

    EXPECT_TRUE(BConstraintActionId(L"displaybubble", &id));
    EXPECT_EQ(2u, id);
    EXPECT_FALSE(BConstraintActionId(L"displaymsgbox ", &id));
    EXPECT_EQ(0u, id);

    EXPECT_TRUE(BSeverityId(L"warning_h", &id));
    EXPECT_EQ(4u, id);
    EXPECT_FALSE(BSeverityId(L"", &id));
    EXPECT_EQ(5u, id);

    EXPECT_TRUE(BCmdLineParamId(L"currpaperid", &id));
    EXPECT_EQ(4u, id);
    EXPECT_TRUE(BCmdLineParamId(L"", &id));
    EXPECT_EQ(5u, id);
    EXPECT_FALSE(BCmdLineParamId(L"other", &id));
    EXPECT_EQ(6u, id);
}

// ---------------------------------------------------------------------------------------------
// Device objects through fakes of the status objects.
// ---------------------------------------------------------------------------------------------
class FakeRequest : public IZQObjectList {
public:
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Unused1() override { return E_NOTIMPL; }
    STDMETHODIMP Unused2() override { return E_NOTIMPL; }
    STDMETHODIMP Unused3() override { return E_NOTIMPL; }
    STDMETHODIMP SetObjectId(int index, LPCWSTR id) override {
        calls += L"id;";
        objectIndex = index;
        objectId = id;
        return hrSetObjectId;
    }
    STDMETHODIMP Unused5() override { return E_NOTIMPL; }
    STDMETHODIMP Clear() override {
        calls += L"clear;";
        return hrClear;
    }
    STDMETHODIMP Unused7() override { return E_NOTIMPL; }
    STDMETHODIMP Unused8() override { return E_NOTIMPL; }
    STDMETHODIMP Unused9() override { return E_NOTIMPL; }
    STDMETHODIMP Unused10() override { return E_NOTIMPL; }
    STDMETHODIMP SetValue(int, BYTE, const BYTE*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetValue(int index, BYTE* pType, BYTE** ppData, DWORD* pcbData) override {
        calls += L"value;";
        EXPECT_EQ(0, index);
        EXPECT_EQ(255, *pType);
        *pType = type;
        *pcbData = static_cast<DWORD>(data.size());
        *ppData = nullptr;
        if (!data.empty()) {
            *ppData = static_cast<BYTE*>(CoTaskMemAlloc(data.size()));
            memcpy(*ppData, data.data(), data.size());
        }
        return hrGetValue;
    }
    STDMETHODIMP Unused13() override { return E_NOTIMPL; }
    STDMETHODIMP Unused14() override { return E_NOTIMPL; }
    STDMETHODIMP Unused15() override { return E_NOTIMPL; }
    STDMETHODIMP GetStatus(int, HRESULT*) override { return E_NOTIMPL; }

    HRESULT hrClear = S_OK, hrSetObjectId = S_OK, hrGetValue = S_OK;
    BYTE type = 0;
    std::vector<BYTE> data;
    std::wstring calls, objectId;
    int objectIndex = -1;
};

class FakeChannel : public IZQDeviceChannel {
public:
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Open(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP Unused2() override { return E_NOTIMPL; }
    STDMETHODIMP Get(IZQObjectList* pList) override {
        static_cast<FakeRequest*>(pList)->calls += L"get;";
        return hrGet;
    }
    STDMETHODIMP Unused4() override { return E_NOTIMPL; }
    STDMETHODIMP Set(IZQObjectList*) override { return E_NOTIMPL; }
    STDMETHODIMP Close() override { return E_NOTIMPL; }
    STDMETHODIMP SetOptions(DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }

    HRESULT hrGet = S_OK;
};

struct DeviceRead {
    BOOL ok;
    DeviceValueRecord record;
    HRESULT hr;
};

DeviceRead Read(BYTE type, std::vector<BYTE> data, DWORD before = 0) {
    FakeChannel channel;
    FakeRequest request;
    request.type = type;
    request.data = std::move(data);
    DeviceRead r{};
    r.record.dwValue = before;
    r.ok = BGetDeviceObjectValue(&channel, &request, L"1.3.6.1.2.1.43.5.1.1.10.1", &r.record, &r.hr);
    return r;
}

TEST(DeviceObjectValue, AsksForTheIdentifierInOrder) {
    FakeChannel channel;
    FakeRequest request;
    request.type = 1;
    request.data = {9};
    DeviceValueRecord record{};
    HRESULT hr = E_FAIL;
    EXPECT_TRUE(BGetDeviceObjectValue(&channel, &request, L"1.2.3", &record, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(L"clear;id;get;value;", request.calls);
    EXPECT_EQ(0, request.objectIndex);
    EXPECT_EQ(L"1.2.3", request.objectId);
}

TEST(DeviceObjectValue, NumbersByType) {
    DeviceRead r = Read(4, {0x01, 0x02});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(258u, r.record.dwValue);
    EXPECT_EQ(4u, r.record.dwType);
    EXPECT_EQ(2u, r.record.cbSize);
    // Types 4 and 8 are big-endian, type 2 little-endian.
    EXPECT_EQ(0x12345678u, Read(8, {0x12, 0x34, 0x56, 0x78}).record.dwValue);
    EXPECT_EQ(0x12345678u, Read(2, {0x78, 0x56, 0x34, 0x12}).record.dwValue);
    EXPECT_EQ(0xABu, Read(8, {0xAB}).record.dwValue);
    EXPECT_EQ(0xFEu, Read(1, {0xFE, 0x01}).record.dwValue);
}

TEST(DeviceObjectValue, ShortTypeTwoBlockIsNotReadPastItsEnd) {
    DeviceRead r = Read(2, {0x34, 0x12});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(0x1234u, r.record.dwValue);
}

TEST(DeviceObjectValue, ThreeBytesKeepTheValue) {
    DeviceRead r = Read(4, {1, 2, 3}, 77);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(77u, r.record.dwValue);
    EXPECT_EQ(3u, r.record.cbSize);
}

TEST(DeviceObjectValue, LongValueIsAPointerSizedCopy) {
    static_assert(sizeof(DeviceValueRecord::pbData) == sizeof(void*), "the value slot holds an address");
    DeviceRead r = Read(4, {'a', 'b', 'c', 'd', 'e', 'f'});
    ASSERT_TRUE(r.ok);
    ASSERT_NE(nullptr, r.record.pbData);
    EXPECT_EQ(6u, r.record.cbSize);
    EXPECT_EQ(0, memcmp(r.record.pbData, "abcdef", 6));
    EXPECT_GE(LocalSize(r.record.pbData), 6u);
    LocalFree(r.record.pbData);
}

TEST(DeviceObjectValue, NumberClearsTheWholeSlot) {
    FakeChannel channel;
    FakeRequest request;
    request.type = 1;
    request.data = {5};
    DeviceValueRecord record;
    memset(&record, 0xFF, sizeof(record));
    HRESULT hr = S_OK;
    ASSERT_TRUE(BGetDeviceObjectValue(&channel, &request, L"1", &record, &hr));
    EXPECT_EQ(reinterpret_cast<BYTE*>(5), record.pbData);
}

TEST(DeviceObjectValue, NothingStored) {
    DeviceRead r = Read(4, {}, 77);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(0u, r.record.cbSize);
    EXPECT_EQ(77u, r.record.dwValue);
    r = Read(5, {1, 2, 3, 4}, 77);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(5u, r.record.dwType);
    EXPECT_EQ(4u, r.record.cbSize);
    EXPECT_EQ(77u, r.record.dwValue);
}

TEST(DeviceObjectValue, NegativeResultStopsTheRead) {
    FakeChannel channel;
    FakeRequest request;
    DeviceValueRecord record{};
    HRESULT hr = S_OK;
    request.hrClear = E_ACCESSDENIED;
    EXPECT_FALSE(BGetDeviceObjectValue(&channel, &request, L"1", &record, &hr));
    EXPECT_EQ(E_ACCESSDENIED, hr);
    EXPECT_EQ(L"clear;", request.calls);

    request = FakeRequest();
    request.hrSetObjectId = E_INVALIDARG;
    EXPECT_FALSE(BGetDeviceObjectValue(&channel, &request, L"1", &record, &hr));
    EXPECT_EQ(E_INVALIDARG, hr);
    EXPECT_EQ(L"clear;id;", request.calls);

    request = FakeRequest();
    channel.hrGet = HRESULT_FROM_WIN32(ERROR_NOT_READY);
    EXPECT_FALSE(BGetDeviceObjectValue(&channel, &request, L"1", &record, &hr));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_READY), hr);
    EXPECT_EQ(L"clear;id;get;", request.calls);

    // A value with a negative result is not taken, and its block is still freed.
    request = FakeRequest();
    channel.hrGet = S_FALSE;
    request.hrGetValue = E_FAIL;
    request.type = 1;
    request.data = {1};
    record.dwType = 42;
    EXPECT_FALSE(BGetDeviceObjectValue(&channel, &request, L"1", &record, &hr));
    EXPECT_EQ(E_FAIL, hr);
    EXPECT_EQ(42u, record.dwType);
}

}  // namespace
