// The constraint gate of the plug-in object: loading with "ZQConstraints", the three controllers,
// attach, check and detach, the command line, and two plug-in objects in one process.
#include <gtest/gtest.h>

#include <string>

#include "constrainttest.h"
#include "testsupport.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmlparser.h"
#include "zqoemui.h"

namespace {

using zqcontest::CBoxAnswers;
using zqcontest::HasVisibleStyle;

// One binding: a plug-in object on the in-process core driver's items, its helper file and the
// status module in the driver directory (the build folder).
class Binding {
public:
    Binding() { m_ui = new CZQOemUI(); }
    ~Binding() { Release(); }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    zqtest::COptItemFixture& Host() { return m_host; }
    // Items of a desk printer: media at `media`, grey scale at `gray`, the margins layout at
    // `margins`; "ZQConstraints" at `constraints` (none for null).
    void Build(HANDLE hPrinter, const char* constraints = "On", LONG media = 0, LONG gray = 0, LONG margins = 0,
               LONG passes = 0, const char* helper = "zqdesk.xml") {
        zqcontest::AddControllerFeatures(m_host, margins, gray, passes);
        m_host.Add(zqtest::ListFeature("MediaType", {{"PLAIN", L"Plain Paper"},
                                                     {"PHOTO_GLOSSY", L"Photo Paper, Glossy"},
                                                     {"TRANSPARENCY", L"Transparency Film"},
                                                     {"UserDefined1", L"Customer Film"},
                                                     {"userdefined2", L"Customer Bond"},
                                                     {"UserDefined3", L"Unlisted Paper"}},
                                       media));
        m_host.Add(zqtest::ValueFeature("ZQXMLFileUsed", helper));
        if (constraints) m_host.Add(zqtest::ValueFeature("ZQConstraints", constraints));
        m_host.Build();
        m_host.Param()->hPrinter = hPrinter;
        m_logic.m_pParam = m_host.Param();
        m_ui->ConstraintGateForTesting().VSetConstraintLogic(&m_logic);
        m_ui->BindingForTesting().VLoadXmlRulesFile(m_host.Param());
    }
    CZQOemUI* UI() { return m_ui; }
    CZQConstraintController* Ctl(const wchar_t* name) {
        CZQConstraintController* ctl = nullptr;
        if (m_ui && m_ui->ConstraintGateForTesting().ConstraintRulesForTesting()) m_ui->ConstraintGateForTesting().ConstraintRulesForTesting()->BFindController(name, &ctl);
        return ctl;
    }
    void Release() {
        if (m_ui) m_ui->Release();
        m_ui = nullptr;
    }

private:
    zqtest::COptItemFixture m_host;
    zqcontest::CTestLogic m_logic;
    CZQOemUI* m_ui = nullptr;
};

class Gate : public ::testing::Test {
protected:
    void SetUp() override {
        m_hPrinter = m_texts.Handle();
        // The checks made while the constraints load take the foreground window as their dialog.
        ShowWindow(m_dlg.Dlg(), SW_SHOW);
        SetForegroundWindow(m_dlg.Dlg());
    }
    std::wstring Text(INT id) { return m_texts.Text(id); }

    zqcontest::CStatusTexts m_texts;
    HANDLE m_hPrinter = nullptr;
    zqcontest::CTestDialog m_dlg;
};

TEST_F(Gate, AnyOptionOfZQConstraintsSwitchesThemOnWithTheThreeControllers) {
    for (const char* option : {"On", "FALSE", "0"}) {
        Binding b;
        b.Build(m_hPrinter, option);
        CBoxAnswers boxes;
        EXPECT_TRUE(b.UI()->ConstraintGateForTesting().BLoadConstraints()) << option;
        EXPECT_TRUE(b.UI()->ConstraintGateForTesting().BConstraintsLoaded());
        const CZQPtrArray& controllers = b.UI()->ConstraintGateForTesting().ConstraintRulesForTesting()->ControllerList();
        ASSERT_EQ(3, controllers.GetCount());
        EXPECT_STREQ(L"ZQBorderless", static_cast<CZQConstraintController*>(controllers.GetAt(0))->PszFeatureName());
        EXPECT_STREQ(L"ZQPrintInGrayScale",
                     static_cast<CZQConstraintController*>(controllers.GetAt(1))->PszFeatureName());
        EXPECT_STREQ(L"ZQMorePasses", static_cast<CZQConstraintController*>(controllers.GetAt(2))->PszFeatureName());
        EXPECT_NE(nullptr, dynamic_cast<CZQMarginsController*>(b.Ctl(L"zqborderless")));
    }
}

TEST_F(Gate, WithoutTheFeatureTheFileOrTheSectionTheyStayOff) {
    {
        Binding b;
        b.Build(m_hPrinter, nullptr);
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BConstraintsLoaded());
        DWORD cancelled = 7;
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", m_dlg.Dlg(), &cancelled));
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BDetachConstraintControls(L"ZQPrintInGrayScale", m_dlg.Dlg()));
        EXPECT_EQ(7u, cancelled);
    }
    {
        Binding b;
        b.Build(m_hPrinter, "On", 0, 0, 0, 0, "absent.xml");
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BLoadConstraints()) << "no helper file";
    }
    {
        // A helper file without a constraints section: written beside the test.
        const std::wstring path = zqtest::BesideExe(L"zqnoconstraints.xml");
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char xml[] = "<device><software><component><name>Tarnix</name><helper><features><feature>"
                           "<name>MediaType</name><macro_name>m</macro_name></feature></features><macros><macro>"
                           "<name>m</name></macro></macros></helper></component></software></device>";
        DWORD written = 0;
        WriteFile(file, xml, sizeof xml - 1, &written, nullptr);
        CloseHandle(file);
        Binding b;
        b.Build(m_hPrinter, "On", 0, 0, 0, 0, "zqnoconstraints.xml");
        EXPECT_TRUE(b.UI()->BindingForTesting().XmlParser()->BIsLoaded());
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
        DeleteFileW(path.c_str());
    }
    {
        // A later load that fails turns loaded constraints off again.
        Binding b;
        b.Build(m_hPrinter);
        CBoxAnswers boxes;
        ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
        b.UI()->BindingForTesting().XmlParser()->VSetLoaded(FALSE);
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BConstraintsLoaded());
        EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    }
}

TEST_F(Gate, BuildingTheControllersKeepsTheStoredLayoutAndPasses) {
    for (LONG layout : {1, 2, 3}) {
        Binding b;
        b.Build(m_hPrinter, "On", 0, 0, layout, 1);
        CBoxAnswers boxes;
        ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
        EXPECT_EQ(layout, b.Host().Item("ZQPrintWithMargins")->Sel) << "a stored layout is not replaced";
        EXPECT_STREQ(layout == 3 ? L"AutoOn" : L"AutoOff", b.Ctl(L"ZQBorderless")->PszValueText());
        EXPECT_STREQ(L"Enabled", b.Ctl(L"ZQMorePasses")->PszValueText());
        EXPECT_EQ("Enabled", b.Host().Current("ZQMorePasses"));
    }
}

TEST_F(Gate, PagesAttachCheckAndDetach) {
    {
        // The printer sheet's load checks the stored media as well.
        Binding p;
        p.Build(m_hPrinter, "On", 2, 1);
        p.UI()->BindingForTesting().dwCUIMode = OEMCUIP_PRNPROP;
        CBoxAnswers asked({IDCANCEL});
        ASSERT_TRUE(p.UI()->ConstraintGateForTesting().BLoadConstraints());
        EXPECT_EQ(1u, asked.Boxes().size());
    }
    Binding b;
    b.Build(m_hPrinter, "On", 2, 1);
    CBoxAnswers boxes({IDCANCEL, IDCANCEL, IDOK});
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
    // The load checks the media with the foreground window as the dialog.
    HWND foreground = GetForegroundWindow();
    ASSERT_EQ(m_dlg.Dlg(), foreground);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(foreground, boxes.Boxes()[0].owner);
    boxes.Clear();
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQColorOptions", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(nullptr, m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    CZQConstraintController* gray = b.Ctl(L"ZQPrintInGrayScale");
    EXPECT_EQ(m_dlg.Dlg(), gray->Dialog());

    // Transparency with black ink only: the user says no first, then yes.
    DWORD cancelled = 7;
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", nullptr, &cancelled));
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", m_dlg.Dlg(), nullptr));
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"PaperSize", m_dlg.Dlg(), &cancelled)) << "not a feature of the items";
    b.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", m_dlg.Dlg(), &cancelled);
    EXPECT_EQ(1u, cancelled);
    EXPECT_EQ("GrayandBlackInks", b.Host().Current("ZQPrintInGrayScale"));
    b.UI()->ConstraintGateForTesting().BCheckConstraint(L"mediatype", m_dlg.Dlg(), &cancelled);
    EXPECT_EQ(0u, cancelled);
    EXPECT_EQ("FALSE", b.Host().Current("ZQPrintInGrayScale"));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(IDC_CBO_GRAYSCALE)));
    HWND icon = gray->TipIcon()->TipWindow()->IconWindow();
    EXPECT_TRUE(HasVisibleStyle(icon));
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(m_dlg.Dlg(), boxes.Boxes()[1].owner);

    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BDetachConstraintControls(L"ZQColorOptions", m_dlg.Dlg()));
    EXPECT_TRUE(b.UI()->ConstraintGateForTesting().BDetachConstraintControls(L"ZQPrintInGrayScale", nullptr));
    EXPECT_FALSE(IsWindow(icon));
    // Opened again, the page shows the tip again.
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    EXPECT_TRUE(HasVisibleStyle(gray->TipIcon()->TipWindow()->IconWindow()));
}

// Two bindings in one process: each one's tips read their texts through its own status module,
// so one plug-in object going away leaves the other's tips working.
TEST_F(Gate, TipsOfOnePluginObjectOutliveAnother) {
    Binding first, second;
    first.Build(m_hPrinter, "On", 2, 1);
    second.Build(m_hPrinter, "On", 2, 1);
    CBoxAnswers boxes;
    ASSERT_TRUE(first.UI()->ConstraintGateForTesting().BLoadConstraints());
    ASSERT_TRUE(first.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    DWORD cancelled = 7;
    first.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", m_dlg.Dlg(), &cancelled);
    ASSERT_EQ(0u, cancelled);

    zqcontest::CTestDialog other;
    ASSERT_TRUE(second.UI()->ConstraintGateForTesting().BLoadConstraints());
    ASSERT_TRUE(second.UI()->ConstraintGateForTesting().BAttachConstraintDialog(L"ZQPrintInGrayScale", other.Dlg(), IDC_CBO_GRAYSCALE));
    second.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", other.Dlg(), &cancelled);
    HWND secondIcon = second.Ctl(L"ZQPrintInGrayScale")->TipIcon()->TipWindow()->IconWindow();
    ASSERT_TRUE(IsWindow(secondIcon));
    second.Release();
    EXPECT_FALSE(IsWindow(secondIcon)) << "the icon went with its plug-in object";

    boxes.Clear();
    HWND icon = first.Ctl(L"ZQPrintInGrayScale")->TipIcon()->TipWindow()->IconWindow();
    SendMessageW(icon, WM_LBUTTONDOWN, 0, 0);
    SendMessageW(icon, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(Text(5452) + L"\t\n\t" + Text(5831) + L"\t\n", boxes.Boxes()[0].text);
    ASSERT_FALSE(Text(5831).empty());
}

// The printer's paper list: one key per paper under "PaperList", in key order.
class UserMedia : public Gate {
protected:
    void SetUp() override {
        Gate::SetUp();
        Paper(L"1", L"Customer Bond", L"", L"12x");
        Paper(L"2", L"customer film", L"", L"1000");
        Paper(L"3", L"Customer Film", L"Customer Film (Roll 1)", L"3100");
        Paper(L"4", L"Customer Film", L"Second", L"1000");
    }
    void Paper(const wchar_t* key, const wchar_t* name, const wchar_t* text, const wchar_t* code) {
        const std::wstring path = std::wstring(L"PaperList\\") + key;
        m_texts.Printer().PutString(path, L"Name", name);
        m_texts.Printer().PutString(path, L"Text", text);
        m_texts.Printer().PutString(path, L"Code", code);
    }
};

TEST_F(UserMedia, AUserMediaNamesTheMediaItIsBasedOn) {
    Binding b;
    b.Build(m_hPrinter, "On", 0, 0, 0, 0, "zqroll.xml");
    PWSTR keyword = reinterpret_cast<PWSTR>(1);
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"UserDefined1", &keyword)) << "the paper list is not read yet";
    EXPECT_EQ(nullptr, keyword);
    ASSERT_TRUE(b.UI()->BindingForTesting().BReadPrinterRecords(m_hPrinter, nullptr));
    ASSERT_EQ(4u, b.UI()->BindingForTesting().papers.dwCount);
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"userdefined1", &keyword));
    EXPECT_STREQ(L"TRANSPARENT_CLEAR_FILM", keyword) << "the first entry of exactly that name";
    LocalFree(keyword);
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"userdefined2", &keyword)) << "a code that is no number";
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"UserDefined3", &keyword)) << "no entry of that name";
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"NoSuchOption", &keyword));
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BUserMediaKeyword(L"UserDefined1", nullptr));

    WCHAR text[8];
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BMediaTypeNameFromId(L"UserDefined1", text, 8));
    EXPECT_STREQ(L"Custome", text) << "cut to the capacity";
    EXPECT_TRUE(b.UI()->ConstraintGateForTesting().BMediaTypeNameFromId(L"UserDefined2", text, 8));
    EXPECT_STREQ(L"", text);
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BMediaTypeNameFromId(L"UserDefined3", text, 8));
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BMediaTypeNameFromId(L"UserDefined1", text, 0));
}

TEST_F(UserMedia, AUserMediaIsCheckedAsItsBaseMedia) {
    Binding b;
    b.Build(m_hPrinter, "On", 3, 0, 0, 0, "zqroll.xml");
    ASSERT_TRUE(b.UI()->BindingForTesting().BReadPrinterRecords(m_hPrinter, nullptr));
    CBoxAnswers boxes({IDCANCEL, IDCANCEL, IDCANCEL});
    ASSERT_TRUE(b.UI()->ConstraintGateForTesting().BLoadConstraints());
    boxes.Clear();
    // "UserDefined1" is based on clear film: the film's rule asks.
    DWORD cancelled = 0;
    b.UI()->ConstraintGateForTesting().BCheckConstraint(L"mediatype", m_dlg.Dlg(), &cancelled);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[0].text.find(Text(5834)));
    EXPECT_EQ(1u, cancelled);
    // Without a matching entry the option itself is checked: no rule lists it.
    b.Host().SetSelection("MediaType", 5);
    cancelled = 0;
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"MediaType", m_dlg.Dlg(), &cancelled));
    EXPECT_EQ(1u, boxes.Boxes().size());
    // Only "MediaType" options are looked up in the paper list.
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BCheckConstraint(L"ZQMorePasses", m_dlg.Dlg(), &cancelled));
}

TEST_F(Gate, CommandLinesAreCutAndAFailedStartIsShown) {
    Binding b;
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BRunCommandLine(nullptr));
    CBoxAnswers boxes;
    // A program of the build, not one the Wine prefix may or may not hold.
    const std::wstring started = L"\"" + zqtest::BesideExe(L"zqcmdlog.exe") + L"\" run";
    EXPECT_TRUE(b.UI()->ConstraintGateForTesting().BRunCommandLine(started.c_str()));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(started, zqtest::LoggedCommandLine(true));

    const std::wstring missing = L"zq-no-such-program.exe " + std::wstring(600, L'a');
    EXPECT_FALSE(b.UI()->ConstraintGateForTesting().BRunCommandLine(missing.c_str()));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(missing.substr(0, 511), boxes.Boxes()[0].text);
    EXPECT_EQ(nullptr, boxes.Boxes()[0].owner);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Boxes()[0].type);
    EXPECT_EQ(L"", boxes.Boxes()[0].caption) << "the system's default caption";
}

TEST_F(Gate, AlertIconIsCopiedWheneverThereIsAnOutPointer) {
    Binding b;
    HICON icon = reinterpret_cast<HICON>(0x1);
    EXPECT_TRUE(b.UI()->AlertGateForTesting().BGetAlertIcon(&icon));
    EXPECT_EQ(nullptr, icon) << "no alert icon before the alerts load one";
    EXPECT_FALSE(b.UI()->AlertGateForTesting().BGetAlertIcon(nullptr));
}

}  // namespace
