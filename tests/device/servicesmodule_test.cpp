// The movable-memory library (handle, buffer and pool result codes, alignment, zero-filling) and the
// services library's loader on the in-memory printer, whose driver lies beside the test with the
// services stand-ins.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "commontest.h"
#include "device/zqbuffer.h"
#include "common/zqhandles.h"
#include "common/zquibase.h"
#include "device/zqservicesmodule.h"

namespace {

bool Aligned(const void* p, size_t alignment) { return reinterpret_cast<uintptr_t>(p) % alignment == 0; }

// Each step acts on one handle and answers its result code.
TEST(MemHandle, ResultCodesFollowItsState) {
    CZQMemHandle h;
    void* p = nullptr;
    void* dummy = nullptr;
    const struct {
        const char* step;
        std::function<LONG()> op;
        LONG expected;
    } steps[] = {
        {"lock before allocating", [&] { return h.ILock(&p); }, ZQMEM_NOT_ALLOCATED},
        {"free before allocating", [&] { return h.IFree(); }, ZQMEM_NOT_ALLOCATED},
        {"alignment kind 6", [&] { return h.IAllocate(16, 6); }, ZQMEM_BAD_ALIGNMENT},
        // Allocated empty: a lock gives a pointer that is not null and is no memory of its own.
        {"allocate nothing", [&] { return h.IAllocate(0, 3); }, ZQMEM_OK},
        {"allocate again", [&] { return h.IAllocate(8, 3); }, ZQMEM_ALREADY_ALLOCATED},
        {"lock the empty block", [&] { return h.ILock(&dummy); }, ZQMEM_OK},
        {"free while locked", [&] { return h.IFree(); }, ZQMEM_LOCKED},
        {"reallocate while locked", [&] { return h.IReallocate(8, 0); }, ZQMEM_LOCKED},
        {"is locked", [&] { return h.IIsLocked(); }, ZQMEM_LOCKED},
        {"unlock", [&] { return h.IUnlock(); }, ZQMEM_OK},
        {"unlock without a lock", [&] { return h.IUnlock(); }, ZQMEM_NOT_LOCKED},
        // An empty block takes memory of any alignment; memory keeps its alignment.
        {"reallocate the empty block", [&] { return h.IReallocate(24, 4); }, ZQMEM_OK},
        {"realign", [&] { return h.IReallocate(48, 5); }, ZQMEM_ALIGNMENT_CHANGED},
        {"grow, same kind", [&] { return h.IReallocate(4000, 0); }, ZQMEM_OK},
        {"check", [&] { return h.ICheck(); }, ZQMEM_OK},
        {"reallocate to nothing", [&] { return h.IReallocate(0, 0); }, ZQMEM_OK},
        {"free the empty block", [&] { return h.IFree(); }, ZQMEM_OK},
        {"free twice", [&] { return h.IFree(); }, ZQMEM_NOT_ALLOCATED},
        {"no place for the pointer", [&] { return h.ILock(nullptr); }, ZQMEM_NO_POINTER},
    };
    for (const auto& s : steps) EXPECT_EQ(s.expected, s.op()) << s.step;
    EXPECT_NE(nullptr, dummy);
    EXPECT_EQ(ZQMEM_INVALID_HANDLE, CZQMemHandle::IValidate(nullptr));
}

TEST(Buffer, FlagsChooseAlignmentAndZeroFilling) {
    const struct {
        DWORD flags;
        DWORD kind;
        size_t alignment;
    } cases[] = {{0x05, 3, 4}, {0x03, 2, 2}, {0x09, 4, 8}, {0x41, 5, 64}, {0x01, 1, 1}, {0x07, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(c.kind, CZQBuffer::DWAlignmentKindOf(c.flags));
        // Memory that held other bytes before is handed out zero-filled.
        std::vector<void*> dirty;
        for (int i = 0; i < 16; ++i) dirty.push_back(std::memset(std::malloc(300), 0xAB, 300));
        for (void* d : dirty) std::free(d);
        CZQBuffer buffer;
        ASSERT_EQ(ZQBUF_OK, buffer.IAllocate(200, c.flags, 0, 0));
        EXPECT_TRUE(buffer.BIsValid());
        const auto* p = static_cast<const BYTE*>(buffer.PLock());
        ASSERT_NE(nullptr, p);
        EXPECT_TRUE(Aligned(p, c.alignment));
        EXPECT_EQ(buffer.Handle(), CZQMemHandle::POwnerOf(p));
        EXPECT_EQ(std::vector<BYTE>(200, 0), std::vector<BYTE>(p, p + 200));
        buffer.IUnlock();
        // A grown buffer's new tail is zero-filled too; the data before it moves with the block
        // and stays aligned.
        ASSERT_EQ(ZQBUF_OK, buffer.IFill(0x5A));
        ASSERT_EQ(ZQBUF_OK, buffer.IResize(100000, c.flags));
        p = static_cast<const BYTE*>(buffer.PLock());
        EXPECT_TRUE(Aligned(p, c.alignment));
        EXPECT_EQ(buffer.Handle(), CZQMemHandle::POwnerOf(p));
        EXPECT_EQ(std::vector<BYTE>(200, 0x5A), std::vector<BYTE>(p, p + 200));
        EXPECT_EQ(std::vector<BYTE>(99800, 0), std::vector<BYTE>(p + 200, p + 100000));
        buffer.IUnlock();
    }
    // The buffer object itself lives in a block of the library, aligned for its pointers.
    auto* buffer = new CZQBuffer();
    ASSERT_NE(nullptr, buffer);
    EXPECT_TRUE(Aligned(buffer, alignof(CZQBuffer)));
    EXPECT_EQ(ZQMEM_OK, CZQMemHandle::IValidate(CZQMemHandle::POwnerOf(buffer)));
    delete buffer;
}

TEST(Buffer, ResultCodesAndThePoolLimit) {
    CZQBufferQuota pool(100);
    auto* a = new CZQBuffer(&pool);
    CZQBuffer b(&pool);
    const struct {
        const char* step;
        std::function<LONG()> op;
        LONG expected;
        DWORD inUse;
    } steps[] = {
        {"no size", [&] { return a->IAllocate(0, 5, 0, 0); }, ZQBUF_BAD_SIZE, 0},
        {"free unsized", [&] { return a->IFree(); }, ZQBUF_NOT_ALLOCATED, 0},
        {"60 bytes", [&] { return a->IAllocate(60, 5, 0, 0); }, ZQBUF_OK, 60},
        {"allocate a sized buffer", [&] { return a->IAllocate(8, 5, 0, 0); }, ZQBUF_BAD_SIZE, 60},
        {"50 more bytes", [&] { return b.IAllocate(50, 5, 0, 0); }, ZQBUF_OVER_LIMIT, 60},
        {"40 more bytes", [&] { return b.IAllocate(40, 5, 0, 0); }, ZQBUF_OK, 100},
        {"grow past the limit", [&] { return a->IResize(70, 5); }, ZQBUF_OVER_LIMIT, 100},
        {"another alignment", [&] { return a->IResize(30, 0x09); }, ZQBUF_BAD_SIZE, 100},
        {"shrink", [&] { return a->IResize(30, 5); }, ZQBUF_OK, 70},
        {"resize to nothing", [&] { return a->IResize(0, 5); }, ZQBUF_BAD_SIZE, 70},
        {"fill", [&] { return a->IFill(0x77); }, ZQBUF_OK, 70},
        {"free while locked", [&] { return a->PLock() ? a->IFree() : 0; }, ZQBUF_LOCKED, 70},
        {"resize while locked", [&] { return a->IResize(20, 5); }, ZQBUF_LOCKED, 70},
        {"unlock", [&] { return a->IUnlock(); }, ZQBUF_OK, 70},
        {"the refused free kept the bytes",
         [&] {
             const auto* p = static_cast<const BYTE*>(a->PLock());
             const LONG kept = p && p[0] == 0x77 && p[29] == 0x77 ? ZQBUF_OK : ZQBUF_NOT_ALLOCATED;
             a->IUnlock();
             return kept;
         },
         ZQBUF_OK, 70},
        {"free", [&] { return a->IFree(); }, ZQBUF_OK, 40},
        {"resize unsized: allocates", [&] { return a->IResize(60, 5); }, ZQBUF_OK, 100},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.expected, s.op()) << s.step;
        EXPECT_EQ(s.inUse, pool.DWInUse()) << s.step;
    }
    // A lock at an offset stays inside the buffer.
    EXPECT_EQ(nullptr, a->PLockAt(50, 11));
    const auto* tail = static_cast<const BYTE*>(a->PLockAt(50, 10));
    ASSERT_NE(nullptr, tail);
    EXPECT_EQ(0, tail[9]);
    a->IUnlock();
    EXPECT_EQ(2u, pool.DWCount());
    delete a;  // leaves the pool's list and returns its bytes
    EXPECT_EQ(1u, pool.DWCount());
    EXPECT_TRUE(pool.BContains(&b));
    EXPECT_EQ(40u, pool.DWInUse());
}

// ---------------------------------------------------------------------------------------------
// The services library's loader
// ---------------------------------------------------------------------------------------------
class ServicesLoader : public ::testing::Test {
protected:
    void SetUp() override { m_printer.Install(); }
    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
};

TEST_F(ServicesLoader, ValidOnlyWithBothPathsAndExportsFromTheLibrary) {
    const std::wstring dir = zqtest::ExeDir();
    const std::string tooLong(250, 'z');
    const struct {
        const char* name;
        const wchar_t* printer;
        const char* base;
        std::function<void(zqspool::CZQMemoryPrinter&)> setup;
        bool valid;
        bool exports;
    } cases[] = {
        {"the stand-in", L"ZQ Memory Printer", "zqservices", nullptr, true, true},
        {"a library without the exports", L"ZQ Memory Printer", "zqsvcmod", nullptr, true, false},
        {"no such library", L"ZQ Memory Printer", "zqnothere", nullptr, true, false},
        {"another printer", L"ZQ Other Printer", "zqservices", nullptr, false, false},
        {"no printer name", nullptr, "zqservices", nullptr, false, false},
        {"no base name", L"ZQ Memory Printer", nullptr, nullptr, false, false},
        {"a path past 256 characters", L"ZQ Memory Printer", tooLong.c_str(), nullptr, false, false},
        {"a driver path without a directory", L"ZQ Memory Printer", "zqservices",
         [](zqspool::CZQMemoryPrinter& p) { p.Identity().driverDirectory.clear(); }, false, false},
        {"the driver cannot be read", L"ZQ Memory Printer", "zqservices",
         [](zqspool::CZQMemoryPrinter& p) {
             p.FailCall(zqspool::MemCall::GetPrinterDriver, ERROR_ACCESS_DENIED, 1, 1);  // the read after the size
         },
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_printer.Identity().driverDirectory = dir;
        if (c.setup) c.setup(m_printer);
        CZQServicesModule loader(c.printer, c.base);
        EXPECT_EQ(sizeof(ZQServicesLoader), loader.cbSize);
        EXPECT_EQ(c.valid ? TRUE : FALSE, loader.BIsValid());
        if (c.valid) {
            EXPECT_EQ(dir + L"\\" + std::wstring(c.base, c.base + strlen(c.base)) + L".dll", loader.pszLibraryPath);
            EXPECT_EQ(dir + L"\\zqsvcmod.DLL", loader.pszModulePath);
            EXPECT_EQ(wcslen(loader.pszLibraryPath), loader.cchLibraryPath);
            EXPECT_TRUE(Aligned(loader.pszLibraryPath, 4));
        } else {
            EXPECT_EQ(nullptr, loader.pszLibraryPath);
            EXPECT_EQ(nullptr, loader.pLibraryBuffer);
        }
        const bool found = loader.PGetProcAddress(kZQServicesInitExport) != nullptr;
        EXPECT_EQ(c.exports, found);
        EXPECT_EQ(c.exports, loader.PGetProcAddress(kZQServicesDeInitExport) != nullptr);
        EXPECT_EQ(nullptr, loader.PGetProcAddress("NoSuchExport"));
        // Both files load together: the services module (resources only) beside any library.
        EXPECT_EQ(c.valid, loader.hModule != nullptr);
        m_printer.FailCall(zqspool::MemCall::GetPrinterDriver, 0, 0);
    }
}

// Every loader of a module or file by name from the driver's folder, given look-alike and
// traversal names: each refuses the name, or what it loads lies in the folder itself. The
// services library's name passes a code-page conversion and a byte-wise widening on its way.
TEST_F(ServicesLoader, NoLookAlikeOrTraversalNameLeavesTheDriverFolder) {
    const std::wstring dir = zqtest::ExeDir();
    m_printer.Identity().driverDirectory = dir;
    const HANDLE h = m_printer.Open();
    // The folder a path names, after the system resolved it.
    const auto folderOf = [](const std::wstring& path) {
        WCHAR full[MAX_PATH] = {};
        PWSTR file = nullptr;
        if (!GetFullPathNameW(path.c_str(), MAX_PATH, full, &file) || !file) return std::wstring(L"?");
        return std::wstring(full, file - full - 1);
    };
    const struct Loader {
        const char* what;
        std::wstring folder;
        // The path it would load the name from; empty when it refuses the name.
        std::function<std::wstring(const wchar_t*)> path;
    } loaders[] = {
        {"services library", dir,
         [](const wchar_t* name) {
             CZQLocalPtr<char> base;
             if (!CZQServicesModule::BLibraryBaseName(name, base.Put())) return std::wstring();
             CZQServicesModule loader(L"ZQ Memory Printer", base.Get());
             return loader.BIsValid() ? std::wstring(loader.pszLibraryPath) : std::wstring();
         }},
        // Page exceptions, extension hooks and their list, the helper file, status and warning modules.
        {"driver folder file", dir,
         [h](const wchar_t* name) {
             CZQLocalPtr<WCHAR> path;
             return CZQCommon::BGetDriverDirFile(h, path.Put(), name) ? std::wstring(path.Get()) : std::wstring();
         }},
        {"toolbox", L"",
         [](const wchar_t* name) {
             WCHAR program[MAX_PATH];
             return CZQUIBase::BToolboxProgram(name, program) ? std::wstring(program) : std::wstring();
         }},
    };
    WCHAR driverDir[MAX_PATH] = {};
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverDir), sizeof driverDir,
                                           &needed));
    const std::wstring toolboxFolder = folderOf(std::wstring(driverDir) + L"\\3\\x");
    const wchar_t* names[] = {
        L"zqservices",                        // a plain name, loaded from the folder
        L"..\\zqservices", L"../zqservices", L"sub\\..\\..\\zqservices", L"C:zqservices",
        L"zqservices:stream", L"\\\\server\\share\\zqservices",
        L"\xFF0E\xFF0E\xFF3Czqservices",      // full-width dots and backslash
        L"\xFF0E\xFF0E\xFF0Fzqservices",      // full-width solidus
        L"zqservices\xFF1Astream",             // full-width colon
        L"\x2025\x2216zqservices",             // two-dot leader, set minus
        L"\x2215zqservices", L"\xFE68zqservices", L"\x2044zqservices",  // division and fraction slashes
        L"zq\x0001services", L"zq*", L"zq\"x",
    };
    for (const Loader& loader : loaders) {
        for (size_t i = 0; i < std::size(names); ++i) {
            const wchar_t* name = names[i];
            // The toolbox takes a path with a drive as it stands, by design: only the others count.
            if (std::string(loader.what) == "toolbox" && wcschr(name, L':')) continue;
            SCOPED_TRACE(std::string(loader.what) + ", name #" + std::to_string(i));
            const std::wstring path = loader.path(name);
            if (path.empty()) continue;
            EXPECT_EQ(loader.folder.empty() ? toolboxFolder : loader.folder, folderOf(path));
        }
    }
    // The plain name is taken by each; a double-byte character whose second byte is a backslash
    // does not become one when the library's name is widened.
    EXPECT_FALSE(loaders[0].path(names[0]).empty());
    EXPECT_FALSE(loaders[1].path(names[0]).empty());
    EXPECT_FALSE(CZQServicesModule(L"ZQ Memory Printer", "\x83\\zqservices").BIsValid());
}

}  // namespace
