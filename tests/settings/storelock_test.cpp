// The lock of a printer's stores: one mutex per printer, whatever its name holds, and a lock another
// thread holds is not had within the wait, while its holder takes it again.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "settings/zqstorelock.h"

namespace {

TEST(StoreLock, OneMutexPerPrinter) {
    const std::wstring longName(300, L'a');
    const struct {
        std::wstring first, second;
        bool same;
    } cases[] = {
        {L"\\\\Server\\Desk", L"\\\\SERVER\\desk", true},
        {L"\\\\Server\\Desk", L"%5C%5CServer%5CDesk", false},
        {L"\\\\Server\\Desk", L"//Server/Desk", false},
        {longName, longName.substr(0, 299) + L"b", false},
    };
    for (const auto& c : cases) {
        const std::wstring first = CZQStoreLock::MutexName(c.first.c_str());
        EXPECT_EQ(c.same, first == CZQStoreLock::MutexName(c.second.c_str())) << first;
        EXPECT_EQ(std::wstring::npos, first.find(L'\\', sizeof "Local\\" - 1)) << first;
        EXPECT_GT(static_cast<size_t>(MAX_PATH), first.size());
        EXPECT_TRUE(CZQStoreLock(nullptr, c.first.c_str(), 0).Held()) << first;
    }
}

TEST(StoreLock, HeldElsewhereIsNotHad) {
    CZQStoreLock mine(nullptr, L"\\\\Server\\Desk");
    ASSERT_TRUE(mine.Held());
    EXPECT_TRUE(CZQStoreLock(nullptr, L"\\\\server\\DESK", 0).Held()) << "its holder takes it again";
    bool same = true, other = false;
    std::thread([&] {
        same = CZQStoreLock(nullptr, L"\\\\Server\\Desk", 50).Held();
        other = CZQStoreLock(nullptr, L"\\\\Server\\Wide", 50).Held();
    }).join();
    EXPECT_FALSE(same);
    EXPECT_TRUE(other);
}

}  // namespace
