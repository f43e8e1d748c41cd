// Helper files parsed once per process: which loads share a parsed document, which parse again, what
// stays each parser's own, and when a parsed document goes.
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlshared.h"
#include "xmlrules/zqxmlutil.h"
#include "xmltestutil.h"

using zqxmltest::HelperFile;
using zqxmltest::TempFile;

namespace {

const std::string kOne =
    "<helper><features><feature><name>MediaType</name><macro_name>a</macro_name></feature></features>"
    "<macros><macro><name>a</name></macro></macros></helper>";
// The same length as kOne, other names.
const std::string kTwo =
    "<helper><features><feature><name>PaperSize</name><macro_name>b</macro_name></feature></features>"
    "<macros><macro><name>b</name></macro></macros></helper>";
// Longer, two features.
const std::string kThree =
    "<helper><features><feature><name>MediaType</name></feature><feature><name>Duplex</name></feature>"
    "</features><macros><macro><name>c</name></macro></macros></helper>";

void Rewrite(const wchar_t* path, const std::string& helper) {
    const std::string text = HelperFile(helper);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

FILETIME WriteTime(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path, GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// Sets the last write time, so a test never depends on the clock's step between two writes.
void SetWriteTime(const wchar_t* path, FILETIME time) {
    HANDLE file = CreateFileW(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

FILETIME Later(FILETIME time, ULONGLONG ticks) {
    ULARGE_INTEGER t = {{time.dwLowDateTime, time.dwHighDateTime}};
    t.QuadPart += ticks;
    return {t.LowPart, t.HighPart};
}

// The name of the first feature a parser sees.
std::wstring FirstFeature(CZQXmlParserCommon& parser) {
    CZQComPtr<IXMLDOMNode> feature;
    CZQBstr text;
    if (!parser.FeatureList() || parser.FeatureList()->get_item(0, feature.Put()) != S_OK ||
        zqxml::HrChildText(feature.Get(), L"name", text) != S_OK)
        return L"";
    return text.Get();
}

LONG Live() { return static_cast<LONG>(zqxmlshared::CountsForTesting().dwLive); }

class XmlSharedTest : public zqxmltest::ComTest {};

// ---------------------------------------------------------------------------------------------
// A second load of the file shares the first one's document while the file is unchanged.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlSharedTest, AChangedFileIsParsedAgain) {
    struct Case {
        const char* name;
        // What happens to the file between the two loads (the write time is set apart).
        std::function<void(const wchar_t*)> change;
        bool shared;
        const wchar_t* feature;  // what the second load sees
    };
    const Case cases[] = {
        {"unchanged", [](const wchar_t*) {}, true, L"MediaType"},
        {"other size", [](const wchar_t* p) { Rewrite(p, kThree); }, false, L"MediaType"},
        {"same size, later time",
         [](const wchar_t* p) {
             const FILETIME t = WriteTime(p);
             Rewrite(p, kTwo);
             SetWriteTime(p, Later(t, 10000000));
         },
         false, L"PaperSize"},
        {"same size, earlier time",
         [](const wchar_t* p) {
             const FILETIME t = WriteTime(p);
             Rewrite(p, kTwo);
             SetWriteTime(p, Later(t, static_cast<ULONGLONG>(-10000000LL)));
         },
         false, L"PaperSize"},
        // A restore, or a copy that keeps file times: only the bytes tell.
        {"same size, same time",
         [](const wchar_t* p) {
             const FILETIME t = WriteTime(p);
             Rewrite(p, kTwo);
             SetWriteTime(p, t);
         },
         false, L"PaperSize"},
        {"only the time touched",
         [](const wchar_t* p) { SetWriteTime(p, Later(WriteTime(p), 10000000)); }, false, L"MediaType"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(HelperFile(kOne));
        CZQXmlParserCommon first;
        ASSERT_TRUE(first.BLoad(file.Path()));
        c.change(file.Path());
        CZQXmlParserCommon second;
        ASSERT_TRUE(second.BLoad(file.Path()));
        EXPECT_EQ(c.shared, first.Document() == second.Document());
        EXPECT_EQ(c.feature, FirstFeature(second));
        // The first parser keeps what it loaded.
        EXPECT_EQ(L"MediaType", FirstFeature(first));
    }
}

TEST_F(XmlSharedTest, OnlyTheSamePathShares) {
    TempFile one(HelperFile(kOne)), other(HelperFile(kOne));
    CZQXmlParserCommon a, b, c;
    ASSERT_TRUE(a.BLoad(one.Path()));
    ASSERT_TRUE(b.BLoad(other.Path()));
    ASSERT_TRUE(c.BLoad(one.Path()));
    EXPECT_NE(a.Document(), b.Document());
    EXPECT_EQ(a.Document(), c.Document());
    // A file that does not parse is never kept, and parses once it is mended.
    TempFile broken(HelperFile(kOne).substr(0, 80));
    EXPECT_FALSE(a.BLoad(broken.Path()));
    Rewrite(broken.Path(), kTwo);
    ASSERT_TRUE(a.BLoad(broken.Path()));
    EXPECT_EQ(L"PaperSize", FirstFeature(a));
}

// ---------------------------------------------------------------------------------------------
// What a parser changes stays its own.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlSharedTest, AParsersStateIsNeverSeenByAnother) {
    TempFile file(HelperFile(kThree));
    CZQXmlParserCommon a, b;
    ASSERT_TRUE(a.BLoad(file.Path()));
    ASSERT_TRUE(b.BLoad(file.Path()));
    ASSERT_EQ(a.Document(), b.Document());
    // Lists keep a position: each parser has lists of its own.
    EXPECT_NE(a.FeatureList(), b.FeatureList());
    CZQComPtr<IXMLDOMNode> node;
    ASSERT_EQ(S_OK, a.FeatureList()->nextNode(node.Put()));
    ASSERT_EQ(S_OK, a.FeatureList()->nextNode(node.Put()));
    EXPECT_EQ(L"MediaType", FirstFeature(b));
    // Name indexes too.
    CZQComPtr<IXMLDOMNode> found;
    EXPECT_TRUE(a.BFindEntry(a.FeatureList(), L"Duplex", found.Put()));
    EXPECT_TRUE(b.BFindEntry(b.FeatureList(), L"Duplex", found.Put()));
    // A parser that loads another file leaves the other one's document alone.
    TempFile other(HelperFile(kOne));
    ASSERT_TRUE(a.BLoad(other.Path()));
    EXPECT_EQ(L"MediaType", FirstFeature(b));
    EXPECT_TRUE(b.BFindEntry(b.FeatureList(), L"Duplex", found.Put()));
}

// ---------------------------------------------------------------------------------------------
// One document per file: a replaced one goes with its last user.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlSharedTest, AReplacedDocumentGoesWithItsLastUser) {
    TempFile file(HelperFile(kOne));
    const LONG before = Live();
    {
        CZQXmlParserCommon a;
        ASSERT_TRUE(a.BLoad(file.Path()));
        EXPECT_EQ(before + 1, Live());
        {
            CZQXmlParserCommon b;
            ASSERT_TRUE(b.BLoad(file.Path()));
            EXPECT_EQ(before + 1, Live());  // shared, not parsed again
        }
        // Changed while a still uses the old document: both live until a lets go.
        Rewrite(file.Path(), kThree);
        CZQXmlParserCommon c;
        ASSERT_TRUE(c.BLoad(file.Path()));
        EXPECT_EQ(before + 2, Live());
        EXPECT_TRUE(a.BLoad(file.Path()));
        EXPECT_EQ(a.Document(), c.Document());
        EXPECT_EQ(before + 1, Live());
    }
    // Kept for the next load after its users went; replaced at once when nobody uses it.
    EXPECT_EQ(before + 1, Live());
    Rewrite(file.Path(), kOne);
    {
        CZQXmlParserCommon d;
        ASSERT_TRUE(d.BLoad(file.Path()));
        EXPECT_EQ(before + 1, Live());
    }
    // Fifty loads of an unchanged file parse nothing more.
    for (int i = 0; i < 50; ++i) {
        CZQXmlParserCommon e;
        ASSERT_TRUE(e.BLoad(file.Path()));
    }
    EXPECT_EQ(before + 1, Live());
    // The module's unload drops the kept ones; one in use goes with its user.
    CZQXmlParserCommon f;
    ASSERT_TRUE(f.BLoad(file.Path()));
    zqxmlshared::VReleaseAll();
    EXPECT_EQ(0u, zqxmlshared::CountsForTesting().dwKept);
    EXPECT_EQ(1, Live());
    EXPECT_EQ(L"MediaType", FirstFeature(f));
    f.BLoad(nullptr);
    EXPECT_EQ(0, Live());
}

// ---------------------------------------------------------------------------------------------
// Elements by tag name anywhere in the document: counted, the first handed out, a kept document's
// answer found once.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlSharedTest, ElementsByTagNameAreCountedAtAllDepths) {
    TempFile file(HelperFile(kThree + "<constraints><x/></constraints><deep><deeper><alerts/></deeper></deep>"
                                      "<twice/><twice/>"));
    struct Case {
        const wchar_t* tag;
        LONG count;
        const wchar_t* firstName;
    };
    const Case cases[] = {
        {L"constraints", 1, L"constraints"}, {L"alerts", 1, L"alerts"}, {L"twice", 2, L"twice"},
        {L"absent", 0, nullptr},             {L"Constraints", 0, nullptr},
    };
    CZQXmlParserCommon a, b;
    ASSERT_TRUE(a.BLoad(file.Path()));
    ASSERT_TRUE(b.BLoad(file.Path()));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tag);
        LONG count = -1, again = -1;
        CZQComPtr<IXMLDOMNode> first, second;
        ASSERT_EQ(S_OK, zqxmlshared::HrFindElements(a.Document(), c.tag, &count, first.Put()));
        ASSERT_EQ(S_OK, zqxmlshared::HrFindElements(b.Document(), c.tag, &again, second.Put()));
        EXPECT_EQ(c.count, count);
        EXPECT_EQ(c.count, again);
        EXPECT_EQ(first.Get(), second.Get());
        CZQBstr name;
        if (c.firstName) {
            ASSERT_TRUE(first);
            ASSERT_EQ(S_OK, first->get_nodeName(name.Put()));
            EXPECT_STREQ(c.firstName, name.Get());
        } else {
            EXPECT_FALSE(first);
        }
    }
    // A document of no file walks each time.
    CZQComPtr<IXMLDOMDocument> loose = zqxmltest::Parse(L"<device><constraints/><constraints/></device>");
    LONG count = 0;
    CZQComPtr<IXMLDOMNode> first;
    ASSERT_EQ(S_OK, zqxmlshared::HrFindElements(loose.Get(), L"constraints", &count, first.Put()));
    EXPECT_EQ(2, count);
    EXPECT_EQ(E_INVALIDARG, zqxmlshared::HrFindElements(nullptr, L"x", &count, first.Put()));
}

// ---------------------------------------------------------------------------------------------
// Threads: a document is in use on one thread at a time.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlSharedTest, AnotherThreadParsesItsOwnWhileTheDocumentIsInUse) {
    TempFile file(HelperFile(kOne));
    CZQXmlParserCommon here;
    ASSERT_TRUE(here.BLoad(file.Path()));
    const LONG before = Live();
    IXMLDOMDocument* const kept = here.Document();
    IXMLDOMDocument* seen = nullptr;
    LONG liveThere = 0;
    std::wstring feature;
    std::thread([&] {
        CZQXmlParserCommon there;
        if (!there.BLoad(file.Path())) return;
        seen = there.Document();
        liveThere = Live();
        feature = FirstFeature(there);
    }).join();
    EXPECT_NE(kept, seen);
    EXPECT_EQ(before + 1, liveThere);
    EXPECT_EQ(L"MediaType", feature);
    // Its copy went with it, and the kept one was not replaced.
    EXPECT_EQ(before, Live());
    // Once nobody uses it, another thread takes the kept one.
    here.BLoad(nullptr);
    std::thread([&] {
        CZQXmlParserCommon there;
        seen = there.BLoad(file.Path()) ? there.Document() : nullptr;
    }).join();
    EXPECT_EQ(kept, seen);
    EXPECT_EQ(before, Live());
}

TEST(XmlSharedThreads, ThreadsLoadingAndReadingAtOnceEachSeeTheWholeFile) {
    TempFile file(HelperFile(kThree));
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
            for (int i = 0; i < 25; ++i) {
                CZQXmlParserCommon parser;
                CZQComPtr<IXMLDOMNode> found;
                if (parser.BLoad(file.Path()) && FirstFeature(parser) == L"MediaType" &&
                    parser.BFindEntry(parser.FeatureList(), L"Duplex", found.Put()))
                    ++good;
            }
            CoUninitialize();
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(100, good.load());
    // The copies of threads that found the document in use went with them.
    const zqxmlshared::ZQCacheCounts counts = zqxmlshared::CountsForTesting();
    EXPECT_EQ(counts.dwKept, counts.dwLive);
}

}  // namespace
