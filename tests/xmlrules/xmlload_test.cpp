// The plug-in object loads the helper file named by "ZQXMLFileUsed" from the driver's directory.
#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "testsupport.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"
#include "xmltestutil.h"
#include "zqoemui.h"

namespace {

class XmlRulesFileTest : public zqxmltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"zqdrv" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqdesk.xml").c_str(), (m_dir + L"\\zqdesk.xml").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqroll.xml").c_str(), (m_dir + L"\\zqroll.xml").c_str(), FALSE));
        m_printer.Identity().driverDirectory = m_dir;
        m_printer.Install();
        m_ui = new CZQOemUI();
        // The plug-in object's rule engine holds the parser.
        ASSERT_TRUE(m_ui->BindingForTesting().pRules);
        ASSERT_EQ(&m_ui->BindingForTesting().pRules->Parser(), m_ui->BindingForTesting().XmlParser());
    }
    void TearDown() override {
        if (m_ui) m_ui->Release();
        m_printer.Uninstall();
        for (const wchar_t* name : {L"zqdesk.xml", L"zqroll.xml", L"broken.xml", L"other.xml"})
            DeleteFileW((m_dir + L"\\" + name).c_str());
        RemoveDirectoryW(m_dir.c_str());
        ComTest::TearDown();
    }
    // Loads with "ZQXMLFileUsed" at this option (no feature at all for null).
    void Load(const char* option) {
        zqtest::COptItemFixture host;
        if (option) host.Add(zqtest::ValueFeature("ZQXMLFileUsed", option));
        host.Add(zqtest::ValueFeature("MediaType", "Plain"));
        host.Build();
        host.Param()->hPrinter = m_printer.Open();
        m_ui->BindingForTesting().VLoadXmlRulesFile(host.Param());
    }
    void Write(const wchar_t* name, const std::string& text) {
        HANDLE file = CreateFileW((m_dir + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    CZQXmlParserCommon& Parser() { return *m_ui->BindingForTesting().XmlParser(); }

    std::wstring m_dir;
    zqspool::CZQMemoryPrinter m_printer;
    CZQOemUI* m_ui = nullptr;
};

TEST_F(XmlRulesFileTest, LoadsTheNamedFileFromTheDriverDirectory) {
    Load("zqdesk.xml");
    ASSERT_TRUE(Parser().BIsLoaded());
    EXPECT_EQ(m_dir + L"\\zqdesk.xml", Parser().PszPath());
    EXPECT_TRUE(Parser().BorderlessList());
    // Each load replaces the one before.
    Load("zqroll.xml");
    ASSERT_TRUE(Parser().BIsLoaded());
    EXPECT_EQ(nullptr, Parser().BorderlessList());
    EXPECT_TRUE(Parser().RollSheetList());
    // Without a parameter block: the printer and the name.
    const HANDLE printer = m_printer.Open();
    EXPECT_TRUE(m_ui->BindingForTesting().BLoadXmlRulesFile(printer, L"zqdesk.xml"));
    EXPECT_TRUE(Parser().BorderlessList());
    EXPECT_FALSE(m_ui->BindingForTesting().BLoadXmlRulesFile(printer, L"..\\zqdesk.xml"));
    EXPECT_FALSE(Parser().BIsLoaded());
    zqspool::Spooler().ClosePrinter(printer);
}

TEST_F(XmlRulesFileTest, MissingOrMalformedFileLeavesTheRulesOff) {
    Load("zqdesk.xml");
    ASSERT_TRUE(Parser().BIsLoaded());
    Load("absent.xml");
    EXPECT_FALSE(Parser().BIsLoaded());
    EXPECT_EQ(nullptr, Parser().FeatureList());

    Write(L"broken.xml", "<device><software><component><name>Tarnix</name>");
    Load("broken.xml");
    EXPECT_FALSE(Parser().BIsLoaded());
    EXPECT_EQ(nullptr, Parser().Document());
}

TEST_F(XmlRulesFileTest, FileOfAnotherComponentIsLoadedWithoutLists) {
    Write(L"other.xml", "<device><software><component><name>Other</name></component></software></device>");
    Load("other.xml");
    EXPECT_TRUE(Parser().BIsLoaded());
    EXPECT_EQ(nullptr, Parser().Component());
    EXPECT_EQ(nullptr, Parser().FeatureList());
}

TEST_F(XmlRulesFileTest, WithoutTheFeatureTheLoadedFileStays) {
    Load("zqdesk.xml");
    Load(nullptr);
    EXPECT_TRUE(Parser().BIsLoaded());
    EXPECT_TRUE(Parser().FeatureList());
    Load("");
    EXPECT_TRUE(Parser().BIsLoaded());
    // No printer, no parameter block: nothing changes.
    m_ui->BindingForTesting().VLoadXmlRulesFile(nullptr);
    EXPECT_TRUE(Parser().BIsLoaded());
}

TEST_F(XmlRulesFileTest, NameOutsideTheDriverDirectoryIsRefused) {
    for (const char* name : {"..\\zqdesk.xml", "sub\\zqdesk.xml", "C:zqdesk.xml", "/zqdesk.xml", "..", "zqdesk.xml:s"}) {
        Load("zqdesk.xml");
        ASSERT_TRUE(Parser().BIsLoaded());
        Load(name);
        EXPECT_FALSE(Parser().BIsLoaded()) << name;
    }
}

}  // namespace
