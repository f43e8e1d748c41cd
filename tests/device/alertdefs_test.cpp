// The helper file's alert definitions: what loading keeps and drops, what the printer's values
// raise, the lookups by name, device texts and identifier formats.
#include <gtest/gtest.h>

#include <algorithm>

#include "devicetest.h"
#include "testsupport.h"
#include "device/zqalertdefs.h"
#include "device/zqdevicetext_win.h"
#include "zqdevrecord.h"

namespace {

using Text = std::wstring;

Text Attr(const wchar_t* name, const Text& value) { return Text(L" ") + name + L"=\"" + value + L"\""; }
Text Msg(const Text& attributes, const Text& body = L"") { return L"<alerts_msg" + attributes + L">" + body + L"</alerts_msg>"; }
Text Msgs(const Text& suffix, const Text& messages) {
    return L"<alerts_msg_list msg_suffix=\"" + suffix + L"\">" + messages + L"</alerts_msg_list>";
}
Text Named(const Text& name, const Text& id) {
    return L"<alerts_dmlname>" + name + L"</alerts_dmlname><alerts_oidvalue>" + id + L"</alerts_oidvalue>";
}
Text Oid(const Text& name, const Text& id, const Text& body = L"") { return L"<alerts_dmloid>" + Named(name, id) + body + L"</alerts_dmloid>"; }
Text Dyn(const Text& name, const Text& format, const Text& body = L"") {
    return L"<alerts_dynamic_dmloid>" + Named(name, format) + body + L"</alerts_dynamic_dmloid>";
}
Text Range(const Text& lo, const Text& hi, const Text& name, const Text& format, const Text& body = L"") {
    return L"<alerts_range_dmloid" + Attr(L"range_lo", lo) + Attr(L"range_hi", hi) + L">" + Named(name, format) + body +
           L"</alerts_range_dmloid>";
}
Text Deps(const Text& dependents) { return L"<dependent_alerts_dmloids_list>" + dependents + L"</dependent_alerts_dmloids_list>"; }
Text Dep(const Text& attributes, const Text& body) {
    return L"<dependent_alerts_dmloids" + attributes + L">" + body + L"</dependent_alerts_dmloids>";
}
Text CmdLine(const Text& params) { return L"<cmdlineinfo>" + params + L"</cmdlineinfo>"; }
Text Param(const Text& name, const Text& value) { return L"<cl_param" + Attr(L"param_name", name) + Attr(L"param_value", value) + L"/>"; }
Text Section(const Text& definitions) { return L"<alerts_dmloids>" + definitions + L"</alerts_dmloids>"; }
Text Document(const Text& helper) {
    return L"<device><software><component><name>Tarnix</name><helper>" + helper + L"</helper></component></software></device>";
}

// A definition tree in short: name, message ids with severity, suffix, then the dependents with
// their nested, dynamic and range definitions.
Text Shape(const CZQPtrArray& messages, LONG suffix) {
    Text s = L"[";
    for (int i = 0; i < messages.GetCount(); ++i) {
        const auto* m = static_cast<const CZQAlertMsg*>(messages.GetAt(i));
        s += (i ? L" " : L"") + std::to_wstring(m->m_lMessageId) + L"/" + std::to_wstring(m->m_dwSeverity);
        if (m->m_pCmdLine) s += L"+cmd" + std::to_wstring(m->m_pCmdLine->m_params.GetCount());
    }
    return s + L"]" + (suffix == -1 ? L"" : L"s" + std::to_wstring(suffix));
}
Text Shape(const CZQAlertOid* oid) {
    Text s = Text(oid->m_pszName ? oid->m_pszName : L"?") + Shape(oid->m_messages, oid->m_lSuffixId);
    for (int d = 0; d < oid->m_dependents.GetCount(); ++d) {
        const auto* dep = static_cast<const CZQDependentAlerts*>(oid->m_dependents.GetAt(d));
        s += L"{" + std::to_wstring(dep->m_lSetBit) + L"," + std::to_wstring(dep->m_lSetVal);
        for (int i = 0; i < dep->m_oids.GetCount(); ++i) s += L" " + Shape(static_cast<const CZQAlertOid*>(dep->m_oids.GetAt(i)));
        for (int i = 0; i < dep->m_dynamics.GetCount(); ++i)
            s += Text(L" dyn:") + static_cast<const CZQDynamicAlertOid*>(dep->m_dynamics.GetAt(i))->m_pszName;
        for (int i = 0; i < dep->m_ranges.GetCount(); ++i) {
            const auto* r = static_cast<const CZQRangeAlertOid*>(dep->m_ranges.GetAt(i));
            s += L" range" + std::to_wstring(r->m_lRangeLo) + L".." + std::to_wstring(r->m_lRangeHi) + L":" + r->m_pszName;
        }
        s += L"}";
    }
    return s;
}

class Definitions {
public:
    ~Definitions() { VFreeAlertDefinitions(list); }
    BOOL Load(const Text& xml) {
        CZQComPtr<IXMLDOMDocument> document = zqxmltest::Parse(xml);
        EXPECT_TRUE(document) << "the test's XML parses";
        return BLoadAlertDefinitions(document.Get(), list);
    }
    Text Shapes() const {
        Text s;
        for (int i = 0; i < list.GetCount(); ++i) s += (i ? L" | " : L"") + Shape(static_cast<const CZQAlertOid*>(list.GetAt(i)));
        return s;
    }
    CZQPtrArray list;
};

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------
class AlertLoading : public zqxmltest::ComTest {};

TEST_F(AlertLoading, OneSectionLoadsAndMalformedElementsAreDropped) {
    const Text good = Oid(L"GOOD", L"1.1", Msgs(L"none", Msg(Attr(L"set_bit", L"0") + Attr(L"alert_msg_strid", L"7"))));
    const Text bits = Attr(L"set_bit", L"1") + Attr(L"alert_msg_strid", L"8");
    struct Row {
        const wchar_t* what;
        Text xml;
        BOOL result;
        Text shapes;
    } rows[] = {
        {L"no section: nothing, and still success", Document(L"<other/>"), TRUE, L""},
        {L"two sections: nothing, and still success", Document(Section(good) + L"<x>" + Section(good) + L"</x>"), TRUE, L""},
        {L"a section at any depth, other children skipped",
         Document(L"<x><y>" + Section(L"<unknown/>" + good + Dyn(L"TOP", L"%d")) + L"</y></x>"), TRUE, L"GOOD[7/5]"},
        {L"only failing definitions: nothing kept, failure",
         Document(Section(Oid(L"A", L"1", L"<alerts_msg_list/>"))), FALSE, L""},
        {L"msg_suffix absent fails its definition; numbers that are no digits read as -1",
         Document(Section(good + Oid(L"NOSUFFIX", L"1", L"<alerts_msg_list/>") +
                          Oid(L"MINUS", L"1", Msgs(L"-1", Msg(Attr(L"set_val", L"x1") + Attr(L"alert_msg_strid", L"9")))))),
         TRUE, L"GOOD[7/5] | MINUS[9/5]"},
        {L"a message with another element's attribute is dropped, an unknown attribute is kept",
         Document(Section(Oid(L"M", L"1",
                              Msgs(L"3", Msg(bits + Attr(L"range_hi", L"2")) + Msg(bits + Attr(L"color", L"red")) +
                                             Msg(bits + Attr(L"severity", L"fatal")) +
                                             Msg(bits + Attr(L"severity", L"warning_h")))))),
         TRUE, L"M[8/5 8/4]s3"},
        {L"command lines: a parameter of unknown kind fails it when it is the last one",
         Document(Section(Oid(L"C", L"1",
                              Msgs(L"none", Msg(bits, CmdLine(Param(L"-a", L"printername") + Param(L"-b", L"currlocale"))) +
                                                Msg(bits, CmdLine(Param(L"-a", L"bogus"))) +
                                                Msg(bits, CmdLine(Param(L"-a", L"bogus") + Param(L"-b", L"currpaperid"))))))),
         TRUE, L"C[8/5+cmd2 8/5+cmd1]"},
        {L"dependents: attributes, nested kinds; a failing dependent takes its definition along when last",
         Document(Section(
             Oid(L"D", L"1",
                 Deps(Dep(Attr(L"set_bit", L"3") + Attr(L"name", L"n"),
                          Oid(L"IN", L"2") + Dyn(L"DY", L"2.%d") + Range(L"1", L"4", L"RA", L"3.%u"))) +
                 Msgs(L"none", L"")) +
             Oid(L"BADDEP", L"1", Deps(Dep(Attr(L"alert_msg_strid", L"5"), L""))) +
             Oid(L"LASTGOOD", L"1", Deps(Dep(Attr(L"severity", L"error"), L"") + Dep(Attr(L"set_val", L"2"), L""))))),
         TRUE, L"D[]{3,-1 IN[] dyn:DY range1..4:RA} | LASTGOOD[]{-1,2}"},
        {L"identifier formats take exactly one integer, ranges at most a thousand indices",
         Document(Section(Oid(L"F", L"1",
                              Deps(Dep(L"", Dyn(L"S", L"a.%s")) + Dep(L"", Dyn(L"TWO", L"%d.%d")) +
                                   Dep(L"", Dyn(L"NONE", L"1.2")) + Dep(L"", Range(L"1", L"1000", L"WIDE", L"%d")) +
                                   Dep(L"", Range(L"0", L"1000", L"WIDER", L"%d")) + Dep(L"", Range(L"1", L"2", L"X", L"%x")) +
                                   Dep(L"", Dyn(L"OK", L"a%%.%i")))))),
         TRUE, L"F[]{-1,-1 range1..1000:WIDE}{-1,-1 dyn:OK}"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Definitions defs;
        EXPECT_EQ(row.result, defs.Load(row.xml));
        EXPECT_EQ(row.shapes, defs.Shapes());
    }
}

// ---------------------------------------------------------------------------------------------
// Evaluation against a scripted printer
// ---------------------------------------------------------------------------------------------
constexpr const wchar_t* kPrinter = L"ZQ Scripted Test Printer";

class AlertEvaluation : public zqdevtest::ServerTest {
protected:
    // Loads the definitions and evaluates them on a fresh log.
    static void Evaluate(Definitions& defs, const Text& definitions, zqdevtest::Session& session) {
        ASSERT_TRUE(defs.Load(Document(Section(definitions))));
        zqtest::ResetStandInLog(kZQDevServersKey);
        VEvaluateAlertDefinitions(defs.list, &session.record);
    }
};

const Text kBits = Msg(Attr(L"set_bit", L"0") + Attr(L"alert_msg_strid", L"10") + Attr(L"severity", L"error")) +
                   Msg(Attr(L"set_bit", L"2") + Attr(L"alert_msg_strid", L"12") + Attr(L"severity", L"warning")) +
                   Msg(Attr(L"set_bit", L"5") + Attr(L"alert_msg_strid", L"15") + Attr(L"severity", L"error_h"));

TEST_F(AlertEvaluation, ValuesBitFieldsDependentsRangesAndDynamicDefinitions) {
    const Text msg21 = Msgs(L"none", Msg(Attr(L"set_val", L"1") + Attr(L"alert_msg_strid", L"21")));
    const Text msg31 = Msgs(L"none", Msg(Attr(L"set_bit", L"1") + Attr(L"alert_msg_strid", L"31")));
    const Text noDependent = Deps(Dep(L"", Oid(L"NO", L"9")));
    struct Row {
        const wchar_t* what;
        std::string script;
        Text definitions;
        std::vector<Text> items;
        std::vector<Text> reads;  // object identifiers in the order they were asked for
        const wchar_t* logged = nullptr;  // what opening the session logged
    } rows[] = {
        {L"a value raises the messages of its set_val; dependents of that value or of any get the value",
         "1 2 le4:7\n2.7 1 01\n",
         Oid(L"V", L"1",
             Msgs(L"none", Msg(Attr(L"set_val", L"7") + Attr(L"alert_msg_strid", L"70") + Attr(L"severity", L"warning")) +
                               Msg(Attr(L"set_val", L"8") + Attr(L"alert_msg_strid", L"80"))) +
                 Deps(Dep(Attr(L"set_val", L"7"), Dyn(L"D", L"2.%d", msg21)) + Dep(Attr(L"set_val", L"8"), Oid(L"NO", L"9")) +
                      Dep(L"", Oid(L"ANY", L"3")))),
         {L"2:70", L"5:21"}, {L"1", L"2.7", L"3"}},
        {L"three bits with a suffix: one item, the ids in bit order, the suffix last",
         "1 4 be4:0x25\n", Oid(L"B", L"1", Msgs(L"99", kBits)), {L"3:10,12,15,99"}, {L"1"}},
        {L"three bits without a suffix: each item carries the ids matched so far",
         "1 4 be2:0x25\n", Oid(L"B", L"1", Msgs(L"none", kBits)), {L"1:10", L"2:10,12", L"3:10,12,15"}, {L"1"}},
        {L"a dependent of any bit runs once for each set bit; its dynamic definitions get bit + 1",
         "1 8 05\n2.1 4 01\n2.3 4 02\n",
         Oid(L"B", L"1",
             Msgs(L"none", L"") + Deps(Dep(Attr(L"set_bit", L"-1"), Dyn(L"D", L"2.%d", msg31)) +
                                       Dep(Attr(L"set_bit", L"1"), Oid(L"NO", L"9")))),
         {L"5:31"}, {L"1", L"2.1", L"2.3"}},
        {L"a zero bit field, one of more than four bytes and an unknown type raise nothing and run no dependents",
         "1 4 00 00\n2 4 \"abcde\"\n3 5 01\n",
         Oid(L"Z", L"1", Msgs(L"9", kBits) + noDependent) + Oid(L"L", L"2", Msgs(L"9", kBits) + noDependent) +
             Oid(L"T", L"3", Msgs(L"9", kBits) + noDependent),
         {}, {L"1", L"2", L"3"}},
        {L"a range reads each index; a bit field's dependents get the index; unanswered indices raise nothing",
         "0 2 le4:4\n5.1 4 01\n5.3 4 20\n6.1 1 00\n6.3 1 00\n",
         Oid(L"R", L"0", Deps(Dep(L"", Range(L"1", L"4", L"RA", L"5.%d",
                                              Msgs(L"none", kBits) + Deps(Dep(Attr(L"set_bit", L"-1"), Dyn(L"D", L"6.%d"))))))),
         {L"1:10", L"3:15"}, {L"0", L"5.1", L"6.1", L"5.2", L"5.3", L"6.3", L"5.4"}},
        {L"a link carries the command line with the record's values at evaluation time",
         "1 4 20\n",
         Oid(L"K", L"1",
             Msgs(L"none", Msg(Attr(L"set_bit", L"5") + Attr(L"alert_msg_strid", L"5") + Attr(L"severity", L"warning_h"),
                               CmdLine(Param(L"-p", L"printername") + Param(L"-l", L"currlocale") + Param(L"-m", L"currpaperid"))))),
         {L"4:5:\"\"-p\" \"ZQ Scripted Test Printer\" \"-l\" \"de-CH\" \"-m\" \"1000\" \""}, {L"1"}},
        {L"an unreadable script answers nothing, and the log says why", "1 4 01\n1.2 seven\n",
         Oid(L"U", L"1", Msgs(L"9", kBits)), {}, {L"1"}, L"line 2: \"seven\" is no type from 0 to 255: nothing is answered"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        zqdevtest::Session session(kPrinter, &row.script);
        StatusRecord::BSetText(&session.record.pszLocaleName, L"de-CH");
        StatusRecord::BSetText(&session.record.pszMediaText, L"1000");
        if (row.logged) {
            const std::vector<Text> log = zqdevtest::Log();
            EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const Text& line) { return line.find(row.logged) != Text::npos; }));
        }
        Definitions defs;
        Evaluate(defs, row.definitions, session);
        EXPECT_EQ(row.items, session.Items());
        EXPECT_EQ(row.reads, zqdevtest::ReadIds());
    }
}

// Values and texts by name after an evaluation: a new read replaces the kept bytes, a failed one
// keeps the last value.
TEST_F(AlertEvaluation, LookupsByNameReadTheLastValues) {
    const std::string script =
        "1 4 01 15 \"PLAIN\"\n2 2 le4:0xFFFFFFFF\n3 4 01 0B 41\n4 4 02 4E 41 00\n5 2 le4:1\n6.1 4 09\n7.1 1 05\n8 2 le4:42\n";
    zqdevtest::Session session(kPrinter, &script);
    Definitions defs;
    Evaluate(defs,
             Oid(L"TEXT", L"1") + Oid(L"MINUS", L"2") + Oid(L"SHORT", L"3") + Oid(L"FOUR", L"4") + Oid(L"UNREAD", L"99") +
                 Oid(L"PARENT", L"5",
                     Deps(Dep(L"", Dyn(L"DYN4", L"6.%d") + Dyn(L"DYN1", L"7.%d") + Range(L"1", L"1", L"RANGE", L"8.%d")) +
                          Dep(L"", Oid(L"NESTED", L"8")))),
             session);
    struct Row {
        const wchar_t* name;
        BOOL found;
        DWORD value;  // kUntouched: found, but the value is not given
        BOOL textResult;
        Text text;
    };
    constexpr DWORD kUntouched = 0xABCD;
    auto check = [&](const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            DWORD value = kUntouched;
            WCHAR text[16] = L"junk";
            EXPECT_EQ(row.found, BFindAlertValue(defs.list, row.name, &value));
            EXPECT_EQ(row.value, value);
            EXPECT_EQ(row.textResult, BFindAlertText(defs.list, row.name, text, 16));
            EXPECT_EQ(row.text, text);
        }
    };
    check({
        {L"TEXT", TRUE, 0, TRUE, L"PLAIN"},
        {L"MINUS", TRUE, 0xFFFFFFFF, TRUE, L"-1"},
        {L"SHORT", TRUE, 0, TRUE, L"A"},  // three bytes: no number, but the text
        {L"FOUR", TRUE, 0x024E4100, TRUE, L"A"},
        {L"UNREAD", TRUE, 0, TRUE, L"0"},
        {L"DYN4", TRUE, 9, FALSE, L""},  // one byte makes no text
        {L"DYN1", TRUE, kUntouched, TRUE, L""},
        {L"NESTED", TRUE, 42, TRUE, L"42"},
        {L"RANGE", FALSE, kUntouched, FALSE, L""},
        {L"text", FALSE, kUntouched, FALSE, L""},
    });

    // The printer now answers the text with fewer bytes, and then cannot be read at all.
    const BYTE shorter[] = {0x01, 0x15, 'B'};
    ASSERT_EQ(S_OK, session.Request()->Clear());
    ASSERT_EQ(S_OK, session.Request()->SetObjectId(0, L"1"));
    ASSERT_EQ(S_OK, session.Request()->SetValue(0, 4, shorter, sizeof shorter));
    ASSERT_EQ(S_OK, session.Channel()->Set(session.Request()));
    VEvaluateAlertDefinitions(defs.list, &session.record);
    zqdevtest::SetSwitch(L"FailGet", static_cast<DWORD>(E_FAIL));
    VEvaluateAlertDefinitions(defs.list, &session.record);
    check({{L"TEXT", TRUE, 0, TRUE, L"B"}, {L"MINUS", TRUE, 0xFFFFFFFF, TRUE, L"-1"}});
}

// ---------------------------------------------------------------------------------------------
// Device texts and identifier formats
// ---------------------------------------------------------------------------------------------
TEST(DeviceText, EachCharacterSetAndWhatIsNoText) {
    struct Row {
        std::vector<BYTE> bytes;
        int cch;
        BOOL result;
        Text text;
    } rows[] = {
        {{0x01, 0x15, 'A', 'B', 'C'}, 8, TRUE, L"ABC"},
        {{0x01, 0x0B, 'A', 'B', 'C'}, 3, FALSE, L"AB"},  // cut to the buffer, and said so
        {{0x01, 0x15, 'A'}, 2, TRUE, L"A"},
        {{0x02, 0x4E, 'H', 0, 'i', 0}, 8, TRUE, L"Hi"},
        {{0x02, 0x4E, 'H', 0, 'i', 0, '!'}, 2, FALSE, L"H"},
        {{0xFD, 0xE8, 0xC3, 0xA9, 'x'}, 8, TRUE, L"\u00E9x"},
        {{0xFD, 0xE8, 0xC3, 0xA9, 'x'}, 2, TRUE, L"\u00E9"},
        {{'a', 'b', 'c', 0}, 8, TRUE, L"abc"},
        {{'a', 0, 'c'}, 8, FALSE, L""},
        {{'a', 'b', 0x80}, 8, FALSE, L""},
        {{0x01, 0x16, 'a'}, 8, FALSE, L""},
        {{0x01, 0x15}, 8, FALSE, L""},
        {{0x01, 0x15, 'A'}, 0, FALSE, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes) + " into " + std::to_string(row.cch));
        WCHAR text[8];
        wmemset(text, L'#', 8);
        EXPECT_EQ(row.result, BDeviceBytesToText(row.bytes.data(), static_cast<DWORD>(row.bytes.size()), text, row.cch));
        if (row.cch > 0) {
            EXPECT_EQ(row.text, text);
        }
    }
}

// Formats from the helper file: exactly one integer conversion; nothing else is ever formatted.
TEST(AlertFormats, OneIntegerConversionOnly) {
    struct Row {
        const wchar_t* format;
        LONG number;
        size_t cch;
        const wchar_t* out;  // null: refused
    } rows[] = {
        {L"1.%d.0", 3, 16, L"1.3.0"},     {L"%i", -5, 16, L"-5"},          {L"x.%u", -1, 16, L"x.4294967295"},
        {L"%%.%d", 7, 16, L"%.7"},        {L"1.%d.0", 123, 5, nullptr},    {L"%s", 1, 16, nullptr},
        {L"%d.%d", 1, 16, nullptr},       {L"1.2", 1, 16, nullptr},        {L"%x", 1, 16, nullptr},
        {L"%5d", 1, 16, nullptr},         {L"%ld", 1, 16, nullptr},        {L"1.%", 1, 16, nullptr},
        {L"%n%d", 1, 16, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        WCHAR out[16];
        EXPECT_EQ(row.out != nullptr, BFormatObjectId(row.format, row.number, out, row.cch) != FALSE);
        EXPECT_STREQ(row.out ? row.out : L"", out);
    }
}

}  // namespace
