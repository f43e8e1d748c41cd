// The sample printers' alert sections read against their device scripts, with the printers
// installed as a setup program would: each channel finds its printer's script among the driver's
// files.
#include <gtest/gtest.h>

#include "devicetest.h"
#include "device/zqalertdefs.h"
#include "hosttest.h"
#include "testsupport.h"

namespace {

constexpr const wchar_t* kUtilityKey = L"SOFTWARE\\Quorvane\\ZQ Tintora";

class SampleAlerts : public zqdevtest::ServerTest {
protected:
    static void SetUpTestSuite() {
        ServerTest::SetUpTestSuite();
        zqhosttest::InstallSamplePrinters();
    }
    void SetUp() override {
        ServerTest::SetUp();
        const std::wstring path = L"C:\\Tools\\zqcare.exe";
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kUtilityKey, L"RunCC", REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUtilityKey);
        ServerTest::TearDown();
    }
};

TEST_F(SampleAlerts, EachSampleRaisesTheAlertsItsScriptCallsFor) {
    const std::wstring desk = L"ZQ Desk 2400 Inkjet", roll = L"ZQ Roll 4400 Large Format";
    const std::wstring headLink = L"\"\"-printer\" \"" + roll + L"\" \"-paper\" \"GLOSSY\" \"";
    struct Row {
        std::wstring printer;
        const wchar_t* helper;
        const wchar_t* media;
        std::vector<std::wstring> items;
        std::wstring loaded;  // text of "TRAYx-MEDIA-TYPE_LOADED"
    } rows[] = {
        {desk, L"samples\\zqdesk\\zqdesk.xml", L"1000",
         {L"2:6602,6603,6600",
          L"4:6611:\"\"-utility\" \"C:\\Tools\\zqcare.exe\" \"-printer\" \"" + desk + L"\" \"-locale\" \"en-US\" \"",
          L"2:6613", L"2:6621"},
         L"1000"},
        {roll, L"samples\\zqroll\\zqroll.xml", L"GLOSSY",
         {L"3:6651:" + headLink, L"2:6653", L"3:6651:" + headLink, L"2:6651,6652:" + headLink, L"2:6662"}, L"GLOSSY"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.helper);
        CZQComPtr<IXMLDOMDocument> document;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                         document.PutVoid()));
        CZQVariant path;
        VARIANT* source = path.Put();
        source->vt = VT_BSTR;
        source->bstrVal = SysAllocString(zqtest::BesideExe(row.helper).c_str());
        VARIANT_BOOL loaded = VARIANT_FALSE;
        ASSERT_EQ(S_OK, document->load(path.Get(), &loaded));
        CZQPtrArray definitions;
        EXPECT_TRUE(BLoadAlertDefinitions(document.Get(), definitions));

        zqdevtest::Session session(row.printer.c_str());
        StatusRecord::BSetText(&session.record.pszLocaleName, L"en-US");
        StatusRecord::BSetText(&session.record.pszMediaText, row.media);
        VEvaluateAlertDefinitions(definitions, &session.record);
        EXPECT_EQ(row.items, session.Items());
        WCHAR text[512];
        EXPECT_TRUE(BFindAlertText(definitions, L"TRAYx-MEDIA-TYPE_LOADED", text, 512));
        EXPECT_EQ(row.loaded, text);
        VFreeAlertDefinitions(definitions);
    }
}

}  // namespace
