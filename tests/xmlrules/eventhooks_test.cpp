// A driver's extension list and the calling of the modules it names: the list read from its file,
// found through a test driver's machine key or the user's copy of its name; the extension-module
// stand-ins beside this executable (no printer: this module's directory is the driver's).
#include <gtest/gtest.h>

#include <string>

#include "common/zqhandles.h"
#include "extmodlog.h"
#include "xmlrules/zqeventhooks.h"
#include "xmltestutil.h"

namespace {

const std::wstring kDriver = L"ZQ Hooks Test Driver";
const std::wstring kUserKey = L"Software\\Quorvane\\DEMFileData\\" + kDriver;

// "Event: module, module; ..." for every event with modules, in table order.
std::wstring Describe(const ExtensionEventList* list) {
    std::wstring text;
    for (int i = 0; list && i < kExtEventCount; ++i) {
        const ExtensionModuleNode* node = list->aRecords[i].pFirst;
        if (!node) continue;
        text += (text.empty() ? L"" : L"; ") + std::wstring(ZQExtensionEventName(i)) + L":";
        for (; node; node = node->pNext) text += std::wstring(L" ") + node->pszName + (node->pNext ? L"," : L"");
    }
    return text;
}

std::string Event(const std::string& name, const std::string& entries) {
    return "<event><name>" + name + "</name>" + entries + "</event>";
}
std::string Entry(const std::string& module) { return "<module><file>" + module + "</file></module>"; }

void WriteText(const std::wstring& path, const std::string& utf8) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr));
}

class ExtensionList : public zqxmltest::ComTest {};

TEST_F(ExtensionList, EventsAreReadByTheirExactNameWithTheirEntriesUpToAnUnreadableOne) {
    const std::string a = Entry("zqexta.dll"), b = Entry("zqextb.dll"), c = Entry("zqextc.dll");
    const struct {
        const char* what;
        std::string events;
        BOOL loaded;
        std::wstring lists;
    } cases[] = {
        {"names compare exactly", Event("docPropSheetInit", a) + Event("Nonsense", b), TRUE, L""},
        {"a bare name ends the event", Event("DocPropSheetInit", a + "<module>zqextb.dll</module>" + c), TRUE,
         L"DocPropSheetInit: zqexta.dll"},
        {"a name too long to hold ends the event", Event("DocPropSheetInit", a + Entry(std::string(300, 'x')) + c),
         TRUE, L"DocPropSheetInit: zqexta.dll"},
        {"the same event twice", Event("CommonUIProp", a) + Event("DriverEventInit", c) + Event("CommonUIProp", b + a),
         TRUE, L"DriverEventInit: zqextc.dll; CommonUIProp: zqexta.dll, zqextb.dll, zqexta.dll"},
        {"a name as text, entries of any element name",
         "<event>PrinterEventDelete<x><y>zqexta.dll</y><z>zqextb.dll</z></x><w><v>zqextc.dll</v></w></event>", TRUE,
         L"PrinterEventDelete: zqexta.dll, zqextc.dll"},
        {"an event without entries", Event("DocEventEndPage", ""), TRUE, L""},
        {"no events", "<other/>", TRUE, L""},
        {"not XML", "<broken", FALSE, L""},
    };
    for (const auto& tc : cases) {
        zqxmltest::TempFile file("<?xml version=\"1.0\"?><dem><events>" + tc.events + "</events></dem>");
        ExtensionEventList* list = nullptr;
        EXPECT_EQ(tc.loaded, CZQEventTable().BLoad(file.Path(), &list)) << tc.what;
        EXPECT_EQ(tc.lists, Describe(list)) << tc.what;
        ZQFreeExtensionEventList(list);
    }
}

// The list beside this executable, named under the test driver's machine key.
class ExtensionHooks : public zqxmltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        CZQLocalPtr<WCHAR> key;
        ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(nullptr, kDriver.c_str(), key.Put()));
        m_driverKey = key.Get();
        WCHAR exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        m_dir = exe;
        m_dir.resize(m_dir.find_last_of(L'\\') + 1);
        zqexttest::Reset();
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_driverKey.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        DeleteFileW((m_dir + L"zqhooks_test.xml").c_str());
        zqexttest::Reset();
        ComTest::TearDown();
    }
    void List(const std::string& events) {
        WriteText(m_dir + L"zqhooks_test.xml", "<dem><events>" + events + "</events></dem>");
        SetName(HKEY_LOCAL_MACHINE, m_driverKey, L"DEMFileName", L"zqhooks_test.xml");
    }
    static void SetName(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& name) {
        RegSetKeyValueW(root, key.c_str(), value, REG_SZ, name.c_str(),
                        static_cast<DWORD>((name.size() + 1) * sizeof(WCHAR)));
    }

    std::wstring m_driverKey, m_dir;
};

// The machine's name first, else the user's copy; a name that leads out of the directory is none.
TEST_F(ExtensionHooks, TheListIsFoundByTheMachinesNameElseTheUsersCopy) {
    const std::wstring path = m_dir + L"zqhooks_test.xml";
    WriteText(path, "<dem><events>" + Event("CommonUIProp", Entry("zqexta.dll")) + "</events></dem>");
    const struct {
        const char* what;
        const wchar_t* machine;
        const wchar_t* user;
        BOOL loaded;
    } cases[] = {
        {"machine", L"zqhooks_test.xml", L"nosuch.xml", TRUE},
        {"user's copy", nullptr, L"zqhooks_test.xml", TRUE},
        {"neither", nullptr, nullptr, FALSE},
        {"a way up", L"..\\bin\\zqhooks_test.xml", nullptr, FALSE},
        {"a path", path.c_str(), nullptr, FALSE},
    };
    for (const auto& tc : cases) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_driverKey.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        if (tc.machine) SetName(HKEY_LOCAL_MACHINE, m_driverKey, L"DEMFileName", tc.machine);
        if (tc.user) SetName(HKEY_CURRENT_USER, kUserKey, L"DEMFile", tc.user);
        CZQEventHooks hooks;
        EXPECT_EQ(tc.loaded, hooks.BLoadEventHooks(nullptr, kDriver.c_str())) << tc.what;
        EXPECT_EQ(tc.loaded ? L"CommonUIProp: zqexta.dll" : L"", Describe(hooks.List())) << tc.what;
    }
    CZQEventHooks hooks;
    EXPECT_FALSE(hooks.BLoadEventHooks(nullptr, nullptr)) << "no driver";
}

// Each module of the event in list order, with the call's arguments; the last one's answer is the
// call's. Modules that are missing, lack the export or are named with a path are passed over.
TEST_F(ExtensionHooks, AnEventsModulesAreCalledInOrderAndTheLastAnswerIsReturned) {
    List(Event("CommonUIProp", Entry("zqexta.dll") + Entry("nosuch.dll") + Entry("..\\bin\\zqextc.dll") +
                                   Entry("zqwarnmod.dll") + Entry("zqextb.dll") + Entry("sub/zqextc.dll")) +
         Event("DocEventEndPage", Entry("zqextc.dll")));
    zqexttest::SetResult(L"zqextb", 7);
    CZQEventHooks hooks;
    ASSERT_TRUE(hooks.BLoadEventHooks(nullptr, kDriver.c_str()));
    OEMCUIPPARAM param{};
    param.cbSize = sizeof param;
    EXPECT_EQ(7, hooks.BCallCommonUIPropHooks(OEMCUIP_DOCPROP, &param, kExtCommonUIProp));
    EXPECT_EQ(0, hooks.BCallDriverEventHooks(nullptr, DRIVER_EVENT_INITIALIZE, 2, nullptr, 0, kExtDriverEventInit))
        << "no modules";
    EXPECT_EQ(0, hooks.BCallCommonUIPropHooks(OEMCUIP_DOCPROP, &param, kExtDocEventEndPage)) << "another kind's";
    INT result = 0;
    EXPECT_EQ(0, hooks.BCallDocumentEventHooks(nullptr, nullptr, DOCUMENTEVENT_ENDPAGE, 4, &result, 8, nullptr,
                                               &result, kExtDocEventEndPage));
    const std::wstring size = std::to_wstring(sizeof param);
    EXPECT_EQ((std::vector<std::wstring>{L"zqexta CommonUIProp(1, " + size + L") = 0",
                                         L"zqextb CommonUIProp(1, " + size + L") = 7",
                                         L"zqextc DocEventEndPage(7, 4, 8) = 0"}),
              zqexttest::Calls());
}

// The sheets' initialisation modules stay loaded until a destruction hook of either kind of sheet
// runs; the plug-in object's end frees them too.
TEST_F(ExtensionHooks, SheetInitialisationModulesStayUntilAnySheetIsDestroyed) {
    List(Event("DocPropSheetInit", Entry("zqexta.dll") + Entry("zqextb.dll")) +
         Event("DevPropSheetInit", Entry("zqextc.dll")) + Event("CommonUIProp", Entry("zqexta.dll")));
    auto loaded = [] {
        return (GetModuleHandleW(L"zqexta.dll") ? 1 : 0) + (GetModuleHandleW(L"zqextb.dll") ? 1 : 0) +
               (GetModuleHandleW(L"zqextc.dll") ? 1 : 0);
    };
    for (const bool destroyHook : {true, false}) {
        SCOPED_TRACE(destroyHook ? "destroy hook" : "end of the object");
        {
            CZQEventHooks hooks;
            ASSERT_TRUE(hooks.BLoadEventHooks(nullptr, kDriver.c_str()));
            PROPSHEETUI_INFO info{};
            info.cbSize = sizeof info;
            hooks.BCallPropSheetHooks(nullptr, &info, 0, kExtDocPropSheetInit);
            hooks.BCallPropSheetHooks(nullptr, &info, 0, kExtDevPropSheetInit);
            hooks.BCallCommonUIPropHooks(OEMCUIP_DOCPROP, nullptr, kExtCommonUIProp);
            EXPECT_EQ(3, hooks.KeptModuleCount());
            EXPECT_EQ(3, loaded());
            if (destroyHook) {
                hooks.BCallPropSheetHooks(nullptr, &info, 0, kExtDocPropSheetDestroy);
                EXPECT_EQ(0, hooks.KeptModuleCount());
                EXPECT_EQ(0, loaded());
            }
        }
        EXPECT_EQ(0, loaded());
    }
}

}  // namespace
