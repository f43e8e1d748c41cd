// The lock of a printer's stores: one mutex per printer, whatever its name holds, in the machine's
// namespace; its wait answers what other threads send.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "common/zqhandles.h"
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

// Every session's programs take the one mutex of the machine's namespace, which a program may open
// to wait for and let go. While another program holds it, the waiting thread answers the messages
// sent to its windows, so that a holder waiting for that thread does not hang both.
TEST(StoreLock, SharedAcrossSessionsAndAnswersWhileItWaits) {
    const std::wstring name = CZQStoreLock::MutexName(L"Desk");
    EXPECT_EQ(0u, name.find(L"Global\\ZQPrinterStores.DESK"));
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CZQHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        const CZQStoreLock lock(nullptr, L"Desk");
        CZQHandle opened(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
        EXPECT_TRUE(opened);
        SetEvent(held.Get());
        // Let go only once the waiting thread answered.
        SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"answered"));
    });
    WaitForSingleObject(held.Get(), 30000);
    {
        const CZQStoreLock lock(nullptr, L"desk", 10000);
        EXPECT_TRUE(lock.Held());
    }
    holder.join();
    WCHAR text[16] = {};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(L"answered", text);
    DestroyWindow(window);
}

// A window of the waiting thread that never validates its paint asks for it again at once: it is
// painted while the wait lasts, and the wait still ends at its limit.
TEST(StoreLock, AWaitEndsAtItsLimitWhateverTheWindowsPaint) {
    static int paints = 0;
    WNDCLASSW cls = {};
    cls.lpfnWndProc = [](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (uMsg != WM_PAINT) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
        ++paints;
        return 0;
    };
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"ZQNeverValidates";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                  cls.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    InvalidateRect(window, nullptr, FALSE);
    CZQHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        const CZQStoreLock lock(nullptr, L"Desk");
        SetEvent(held.Get());
        WaitForSingleObject(done.Get(), 30000);
    });
    WaitForSingleObject(held.Get(), 30000);
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(CZQStoreLock(nullptr, L"Desk", 300).Held());
    const ULONGLONG took = GetTickCount64() - start;
    SetEvent(done.Get());
    holder.join();
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 2000u);
    EXPECT_GT(paints, 0);
    EXPECT_LT(paints, 100) << "once a slice, not for as long as it asks";
    DestroyWindow(window);
    UnregisterClassW(cls.lpszClassName, cls.hInstance);
}

// An earlier version locks by the session's mutex alone: its sheet holding it keeps ours waiting.
TEST(StoreLock, WaitsForAnEarlierVersionsSessionLock) {
    CZQHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread earlier([&] {
        CZQHandle mutex(CreateMutexW(nullptr, TRUE, CZQStoreLock::MutexName(L"Desk", false).c_str()));
        SetEvent(held.Get());
        WaitForSingleObject(done.Get(), 30000);
        ReleaseMutex(mutex.Get());
    });
    WaitForSingleObject(held.Get(), 30000);
    EXPECT_FALSE(CZQStoreLock(nullptr, L"Desk", 50).Held());
    SetEvent(done.Get());
    earlier.join();
    EXPECT_TRUE(CZQStoreLock(nullptr, L"Desk", 0).Held());
}

}  // namespace
