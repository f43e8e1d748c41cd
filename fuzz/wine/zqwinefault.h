// What the in-Wine fuzz loops do with a fault: end the run at once with where it happened, so no
// debugger waits in the loop and the caller sees the run fail.
#pragma once

#include <windows.h>

#include <cstdio>

inline LONG WINAPI ZQFuzzFault(EXCEPTION_POINTERS* info) {
    HMODULE module = nullptr;
    WCHAR name[MAX_PATH] = L"?";
    const void* at = info->ExceptionRecord->ExceptionAddress;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(at), &module))
        GetModuleFileNameW(module, name, MAX_PATH);
    fwprintf(stderr, L"\nFAULT 0x%08lX at %p (%ls +0x%llx)\n", info->ExceptionRecord->ExceptionCode, at, name,
             static_cast<unsigned long long>(static_cast<const BYTE*>(at) - reinterpret_cast<const BYTE*>(module)));
    fflush(stderr);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
