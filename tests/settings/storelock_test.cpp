// The lock of a printer's stores: one mutex per printer, whatever its name holds.
#include <gtest/gtest.h>

#include <string>

#include "settings/zqstorelock.h"

namespace {

TEST(StoreLock, OneMutexPerPrinter) {
    const std::wstring remote = L"\\\\Server\\Desk", longName(300, L'a');
    const struct {
        std::wstring one, other;
        bool same;
    } cases[] = {{remote, L"\\\\SERVER\\desk", true},
                 {remote, L"%5C%5CServer%5CDesk", false},
                 {remote, L"//Server/Desk", false},
                 {longName, longName + L"b", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.same, CZQStoreLock::MutexName(c.one.c_str()) == CZQStoreLock::MutexName(c.other.c_str())) << c.other;
        EXPECT_TRUE(CZQStoreLock(nullptr, c.other.c_str(), 0).Held()) << "a mutex of that name can be made";
    }
}

}  // namespace
