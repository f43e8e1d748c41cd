// The status monitor's text "ZQSTSSTR" and the questions about the pens, against the in-memory
// printer (the text seeded as the 8-bit bytes a monitor writes).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "formats/zqpenstatus.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;

// Header digits 1-5 "12345", character 6 "6", digits 7-12 "789A0C".
const std::string kHeader = "123456789A0C";

// A 32-bit pen word of that kind ("C0000000" is the no-pen marker).
std::string Pen(int kind) {
    char word[9];
    std::snprintf(word, sizeof word, "%08X", static_cast<unsigned>(kind) << 24);
    return word;
}
std::string Pens(std::initializer_list<int> kinds) {
    std::string s;
    for (int k : kinds) s += Pen(k);
    return s;
}
// Versions 0-2: pair A at 14, digit B at 16, pens from 17.
std::string Early(int version, const char* pairA, int digitB, const std::string& pens) {
    char head[3];
    std::snprintf(head, sizeof head, "%02X", version);
    return std::string(head) + kHeader + pairA + "0123456789ABCDEF"[digitB] + pens;
}
// Version 3: pair A at 16, words from 19. Version 4: pair A at 20, pens at 23 and 31.
std::string V3(const char* pairA, const std::string& words) { return "03" + kHeader + "00" + pairA + "0" + words; }
std::string V4(const std::string& words) { return "04" + kHeader + "000000" + "00" + "0" + words; }

class StatusString : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        m_h = m_printer.Open();
    }
    void TearDown() override { zqspool::Spooler().ClosePrinter(m_h); }
    void Seed(const std::string& bytes) {
        m_printer.PutValue(CZQMemoryPrinter::kRootKey, L"ZQSTSSTR", REG_BINARY, bytes.data(),
                           static_cast<DWORD>(bytes.size()));
    }

    CZQMemoryPrinter m_printer;
    HANDLE m_h = nullptr;
};

TEST_F(StatusString, AnswersEachQuestionFromEveryLayout) {
    // A text longer than the 512 bytes read, whose status field's last digit is the 512th byte.
    const std::string head = "MFG:ZQ;S:" + Early(0, "00", 1, Pen(1));
    const std::string cut = "X:" + std::string(509 - head.size(), 'x') + ";" + head;
    ASSERT_EQ(512u, cut.size());
    struct Row {
        const char* what;
        std::string text;
        int question;
        int answer;
    } rows[] = {
        {"v0: digit B counts the pens", "S:" + Early(0, "00", 1, Pen(1)), 30, 40},
        {"v0: pen 2", "S:" + Early(0, "00", 2, Pens({1, 2})) + ";", 2, 130},
        {"v0: two black and colour pens", "S:" + Early(0, "00", 2, Pens({1, 2})), 30, 70},
        {"v0: a third pen it has no word for", "S:" + Early(0, "00", 3, Pens({1, 2})), 30, -1},
        {"v1: six pens of a photo set", "S:" + Early(1, "00", 6, Pens({1, 4, 7, 5, 8, 6})), 30, 80},
        {"v1: pen 4 of the set", "S:" + Early(1, "00", 6, Pens({1, 4, 7, 5, 8, 6})), 4, 330},
        {"v1: three pens", "S:" + Early(1, "00", 3, Pens({2, 3, 10})), 30, 110},
        {"v1: a pen of kind 9 has no code", "S:" + Early(1, "00", 1, Pen(9)), 1, 1},
        {"v2: no pen kinds", "S:" + Early(2, "00", 1, std::string(36, 'F')), 30, -1},
        {"v2: pen status", "S:" + Early(2, "00", 1, std::string(36, 'F')), 1, 1},
        {"v3: leading words skipped", "S:" + V3("00", "80000000" + Pens({2, 3}) + "C0000000"), 30, 80},
        {"v3: a word 0 is no pen", "S:" + V3("00", Pens({3}) + "00000000"), 30, 60},
        {"v3: eight pens", "S:" + V3("00", Pens({1, 4, 5, 6, 7, 8, 17, 19})), 30, 350},
        {"v3: pen 1 of kind 12", "S:" + V3("00", Pens({12})), 1, 80},
        {"v4: two no-pen markers", "S:" + V4("C0000000C0000000"), 30, -1},
        {"v4: a word 0 counts as a pen", "S:" + V4(Pen(2) + Pen(0)), 30, -1},
        {"v4: one pen", "S:" + V4(Pen(11) + "C0000000"), 30, 200},
        {"pair A 0B: pens not reported", "S:" + Early(0, "0B", 1, Pen(1)), 1, 1},
        {"pair A 0B: no cartridge set", "S:" + Early(0, "0B", 1, Pen(1)), 30, -1},
        {"pair A 11 is 17", "S:" + Early(0, "11", 1, Pen(1)), 1, 120},
        {"header digit 4", "S:" + Early(0, "00", 1, Pen(1)), 10, 4},
        {"header digit 3", "VSTATUS:" + Early(3, "00", 1, Pen(1)), 20, 3},
        {"pen 7 is no question", "S:" + Early(3, "00", 1, Pen(1)), 7, 1},
        {"another question", "S:" + Early(0, "00", 1, Pen(1)), 99, 1},
        {"the last status field wins", "S:" + Early(0, "00", 1, Pen(1)) + ";VSTATUS:" + Early(0, "00", 1, Pen(2)), 1, 130},
        {"keys are whole", "SX:" + Early(0, "00", 1, Pen(1)) + ";VSTATUS2:" + Early(0, "00", 1, Pen(1)), 1, -1},
        {"a field without a key", "garbage;S:" + Early(0, "00", 1, Pen(1)), 1, 120},
        {"an empty status value", "S:;X:1", 1, -1},
        {"an unknown version", "S:" + Early(5, "00", 1, Pen(1)), 1, -1},
        {"no separators at all", Early(0, "00", 1, Pen(1)), 1, -1},
        {"short and unterminated: every character kept", head, 1, 120},
        {"512 bytes: the last one lost", cut, 1, 1},
        {"the status field past 512 bytes", std::string(600, 'x') + ";S:" + Early(0, "00", 1, Pen(1)), 1, -1},
    };
    for (const Row& r : rows) {
        Seed(r.text);
        CZQCommon common;
        EXPECT_EQ(r.answer, common.IReadStatusString(m_h, r.question)) << r.what;
    }
    // Terminated the way a status monitor writes it.
    Seed(head + std::string(1, '\0'));
    CZQCommon common;
    EXPECT_EQ(120, common.IReadStatusString(m_h, 1));
    // No printer, no value.
    EXPECT_EQ(-1, common.IReadStatusString(nullptr, 1));
    zqspool::Spooler().DeletePrinterDataW(m_h, const_cast<PWSTR>(L"ZQSTSSTR"));
    EXPECT_EQ(-1, common.IReadStatusString(m_h, 30));
}

TEST_F(StatusString, EveryQuestionStartsFromClearedMarks) {
    CZQCommon common;
    PenStatus none = {};
    EXPECT_EQ(1, common.IPenStatusCode(none, 1)) << "no pen-kind mark is set in a new helper";

    // A pen of kind 11 before a pen of kind 4; a black pen before a colour and photo pair.
    Seed("S:" + Early(1, "00", 2, Pens({11, 4})));
    EXPECT_EQ(170, common.IReadStatusString(m_h, 1));
    EXPECT_EQ(310, common.IReadStatusString(m_h, 2));
    Seed("S:" + Early(0, "00", 1, Pen(1)));
    EXPECT_EQ(120, common.IReadStatusString(m_h, 1));
    Seed("S:" + Early(0, "00", 2, Pens({2, 3})));
    EXPECT_EQ(80, common.IReadStatusString(m_h, 30));
}

}  // namespace
