// The trace log: stamped lines on the 12-hour clock, texts cut inside their buffers, and lines of
// several writers appended whole, one at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "convertapi/zqtracelog.h"
#include "testsupport.h"

namespace {

std::string Line(WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms, const char* text) {
    SYSTEMTIME t = {};
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = ms;
    char line[zqtracelog::kLineBytes];
    zqtracelog::FormatLine(t, text, line);
    return line;
}

std::vector<std::string> FileLines(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

TEST(TraceLog, LinesAreStampedOnTheTwelveHourClock) {
    EXPECT_EQ("MAR07PM 03:04:05.006>  ReadTicket>>\n", Line(3, 7, 15, 4, 5, 6, "ReadTicket>>"));
    EXPECT_EQ("JAN01AM 12:00:00.000>  x\n", Line(1, 1, 0, 0, 0, 0, "x"));         // midnight
    EXPECT_EQ("DEC31PM 12:30:00.000>  x\n", Line(12, 31, 12, 30, 0, 0, "x"));     // noon
    EXPECT_EQ("JUN15PM 11:59:59.999>  x\n", Line(6, 15, 23, 59, 59, 999, "x"));
    EXPECT_EQ("DEC01AM 01:00:00.000>  \n", Line(13, 1, 1, 0, 0, 0, nullptr));    // no such month
}

// Four writers at once: every line arrives whole, with its own line end; an overlong text is cut
// to the line's buffer; a file that cannot be opened takes nothing.
TEST(TraceLog, WritersAppendWholeLines) {
    const std::wstring path = zqtest::BesideExe(L"tracelog_test.log");
    DeleteFileW(path.c_str());
    std::string narrow(path.begin(), path.end());
    std::vector<std::thread> writers;
    for (char id : {'a', 'b', 'c', 'd'})
        writers.emplace_back([&narrow, id] {
            const std::string text(600, id);
            for (int i = 0; i < 50; ++i) EXPECT_NE(-1, WriteTraceLine(narrow.c_str(), text.c_str()));
        });
    for (std::thread& w : writers) w.join();
    EXPECT_NE(-1, WriteTraceLine(narrow.c_str(), std::string(5000, 'z').c_str()));

    const std::vector<std::string> lines = FileLines(path);
    ASSERT_EQ(201u, lines.size());
    for (size_t i = 0; i < 200; ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(23u + 600u + 1u, line.size()) << i;
        EXPECT_EQ('\r', line.back()) << i;
        EXPECT_EQ(std::string(600, line[23]), line.substr(23, 600)) << i;
    }
    EXPECT_EQ(zqtracelog::kLineBytes - 2, lines[200].size());
    EXPECT_EQ(-1, WriteTraceLine(std::string(narrow.begin(), narrow.end() - 17).c_str(), "into a folder"));
    DeleteFileW(path.c_str());

    // The log's own texts are cut at 1,022 characters.
    EXPECT_NE(-1, TraceLog("%s", std::string(3000, 'q').c_str()));
    const std::vector<std::string> log = FileLines(L"c:\\tarnix.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(23u + 1022u + 1u, log.back().size());
}

}  // namespace
