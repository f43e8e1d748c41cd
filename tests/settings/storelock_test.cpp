// The lock of a printer's stores: one mutex per printer whatever its name holds; one another thread
// holds is not had within the wait, while its holder takes it again.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "settings/zqstorelock.h"

namespace {

TEST(StoreLock, OneMutexPerPrinterHeldByOneThread) {
    const std::wstring remote = L"\\\\Server\\Desk", longName(300, L'a');
    const struct {
        const wchar_t* other;
        bool same;
    } cases[] = {{L"\\\\SERVER\\desk", true}, {L"%5C%5CServer%5CDesk", false}, {L"//Server/Desk", false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.same, CZQStoreLock::MutexName(remote.c_str()) == CZQStoreLock::MutexName(c.other)) << c.other;
    EXPECT_NE(CZQStoreLock::MutexName(longName.c_str()), CZQStoreLock::MutexName((longName + L"b").c_str()));

    const CZQStoreLock mine(nullptr, remote.c_str());
    ASSERT_TRUE(mine.Held());
    EXPECT_TRUE(CZQStoreLock(nullptr, L"\\\\server\\DESK", 0).Held()) << "its holder takes it again";
    bool same = true, other = false;
    std::thread([&] {
        same = CZQStoreLock(nullptr, remote.c_str(), 50).Held();
        other = CZQStoreLock(nullptr, longName.c_str(), 50).Held();
    }).join();
    EXPECT_FALSE(same);
    EXPECT_TRUE(other);
}

}  // namespace
