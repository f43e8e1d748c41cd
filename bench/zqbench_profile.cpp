// A sampling profiler for the bench's own thread: another thread stops it about once a millisecond,
// walks its stack through the modules' unwind tables and keeps the return addresses as module and
// offset; bench/profile.py names them. It takes no lock and allocates nothing while the thread is
// stopped (that thread may hold the loader's or the heap's lock).
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "zqbench.h"

namespace zqbench {
namespace {

struct Module {
    DWORD64 base = 0, end = 0;
    const RUNTIME_FUNCTION* table = nullptr;
    DWORD count = 0;
    std::wstring name;
};

constexpr int kMaxModules = 400, kDepth = 64, kMaxSamples = 60000;
Module g_modules[kMaxModules];
std::atomic<int> g_moduleCount{0};
std::vector<std::wstring> g_names;  // every module ever seen, by index
DWORD64 g_frames[kMaxSamples][kDepth];
BYTE g_frameModule[kMaxSamples][kDepth];
int g_depth[kMaxSamples];
std::atomic<int> g_samples{0};
std::atomic<bool> g_on{false}, g_quit{false};
HANDLE g_target = nullptr, g_sampler = nullptr;
int g_nameIndex[kMaxModules];

void Snapshot() {
    HMODULE mods[kMaxModules];
    DWORD needed = 0;
    if (!EnumProcessModules(GetCurrentProcess(), mods, sizeof mods, &needed)) return;
    int n = 0;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && n < kMaxModules; ++i) {
        auto* base = reinterpret_cast<BYTE*>(mods[i]);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION];
        Module& m = g_modules[n];
        m.base = reinterpret_cast<DWORD64>(base);
        m.end = m.base + nt->OptionalHeader.SizeOfImage;
        m.table = reinterpret_cast<const RUNTIME_FUNCTION*>(base + dir.VirtualAddress);
        m.count = dir.VirtualAddress ? dir.Size / sizeof(RUNTIME_FUNCTION) : 0;
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(mods[i], path, MAX_PATH);
        m.name = path;
        int idx = -1;
        for (size_t k = 0; k < g_names.size(); ++k)
            if (g_names[k] == m.name) idx = static_cast<int>(k);
        if (idx < 0) idx = static_cast<int>(g_names.size()), g_names.push_back(m.name);
        g_nameIndex[n] = idx;
        ++n;
    }
    g_moduleCount = n;
}

const Module* Find(DWORD64 pc, int& index) {
    for (int i = 0; i < g_moduleCount; ++i)
        if (pc >= g_modules[i].base && pc < g_modules[i].end) return index = i, &g_modules[i];
    return nullptr;
}

const RUNTIME_FUNCTION* Lookup(const Module& m, DWORD rva) {
    DWORD lo = 0, hi = m.count;
    while (lo < hi) {
        const DWORD mid = (lo + hi) / 2;
        if (rva < m.table[mid].BeginAddress) hi = mid;
        else if (rva >= m.table[mid].EndAddress) lo = mid + 1;
        else return &m.table[mid];
    }
    return nullptr;
}

void Walk(CONTEXT& ctx, int slot) {
    int depth = 0;
    for (; depth < kDepth; ++depth) {
        const DWORD64 pc = ctx.Rip;
        int mi = -1;
        const Module* m = Find(pc, mi);
        if (!m) {
            g_frames[slot][depth] = pc;
            g_frameModule[slot][depth] = 255;
            break;
        }
        g_frames[slot][depth] = pc - m->base;
        g_frameModule[slot][depth] = static_cast<BYTE>(g_nameIndex[mi]);
        const RUNTIME_FUNCTION* fn = Lookup(*m, static_cast<DWORD>(pc - m->base));
        if (!fn) {
            ctx.Rip = *reinterpret_cast<DWORD64*>(ctx.Rsp);
            ctx.Rsp += 8;
        } else {
            void* handlerData = nullptr;
            DWORD64 frame = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, m->base, pc, const_cast<RUNTIME_FUNCTION*>(fn), &ctx, &handlerData,
                             &frame, nullptr);
        }
        if (!ctx.Rip) {
            ++depth;
            break;
        }
    }
    g_depth[slot] = depth;
}

DWORD WINAPI Sampler(void*) {
    int tick = 0;
    while (!g_quit) {
        Sleep(1);
        if (!g_on) continue;
        if (++tick % 25 == 0) Snapshot();
        const int slot = g_samples;
        if (slot >= kMaxSamples) continue;
        if (SuspendThread(g_target) == static_cast<DWORD>(-1)) continue;
        CONTEXT ctx = {};
        ctx.ContextFlags = CONTEXT_FULL;
        if (GetThreadContext(g_target, &ctx)) {
            Walk(ctx, slot);
            ++g_samples;
        }
        ResumeThread(g_target);
    }
    return 0;
}

}  // namespace

void ProfileStart() {
    if (!g_sampler) {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_target, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        g_sampler = CreateThread(nullptr, 0, Sampler, nullptr, 0, nullptr);
        SetThreadPriority(g_sampler, THREAD_PRIORITY_TIME_CRITICAL);
    }
    Snapshot();
    g_on = true;
}

void ProfileStop() { g_on = false; }

// One line per sample: "module:offset" frames, innermost first; the modules' paths first.
bool ProfileWrite(const std::wstring& path) {
    g_quit = true;
    if (g_sampler) WaitForSingleObject(g_sampler, INFINITE);
    FILE* f = _wfopen(path.c_str(), L"w");
    if (!f) return false;
    for (size_t i = 0; i < g_names.size(); ++i) std::fprintf(f, "M %zu %ls\n", i, g_names[i].c_str());
    for (int s = 0; s < g_samples; ++s) {
        std::fprintf(f, "S");
        for (int d = 0; d < g_depth[s]; ++d)
            std::fprintf(f, " %d:%llx", g_frameModule[s][d] == 255 ? -1 : g_frameModule[s][d],
                         static_cast<unsigned long long>(g_frames[s][d]));
        std::fprintf(f, "\n");
    }
    std::fclose(f);
    std::fprintf(stderr, "%d samples written\n", static_cast<int>(g_samples));
    return true;
}

}  // namespace zqbench
