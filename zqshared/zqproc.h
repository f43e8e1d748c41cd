// Typed GetProcAddress: one place for the cast from FARPROC to the export's real type.
#pragma once

#include <windows.h>

template <typename Fn>
Fn ZQGetProc(HMODULE hModule, const char* name) {
    if (!hModule) return nullptr;
    FARPROC proc = GetProcAddress(hModule, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}
