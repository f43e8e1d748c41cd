// Owners for Win32 resources: each frees its resource once, on every path. Header-only, shared by
// the plug-in, the stand-ins and the tools.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

template <typename T, typename Traits>
class CZQOwner {
public:
    CZQOwner() = default;
    explicit CZQOwner(T value) : m_value(value) {}
    ~CZQOwner() { Reset(); }
    CZQOwner(const CZQOwner&) = delete;
    CZQOwner& operator=(const CZQOwner&) = delete;
    CZQOwner(CZQOwner&& other) noexcept : m_value(other.Release()) {}
    CZQOwner& operator=(CZQOwner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return m_value; }
    explicit operator bool() const { return Traits::IsValid(m_value); }
    // For out parameters: frees what is held and hands out the slot.
    T* Put() {
        Reset();
        return &m_value;
    }
    T Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid()) {
        if (Traits::IsValid(m_value)) Traits::Free(m_value);
        m_value = value;
    }

private:
    T m_value = Traits::Invalid();
};

struct ZQHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { CloseHandle(h); }
};
struct ZQLocalTraits {
    static HLOCAL Invalid() { return nullptr; }
    static bool IsValid(HLOCAL h) { return h != nullptr; }
    static void Free(HLOCAL h) { LocalFree(h); }
};
struct ZQKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Free(HKEY h) { RegCloseKey(h); }
};
struct ZQModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE h) { return h != nullptr; }
    static void Free(HMODULE h) { FreeLibrary(h); }
};
struct ZQGdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static bool IsValid(HGDIOBJ h) { return h != nullptr; }
    static void Free(HGDIOBJ h) { DeleteObject(h); }
};

struct ZQHeapTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr; }
    static void Free(HANDLE h) { HeapDestroy(h); }
};
struct ZQMemDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Free(HDC h) { DeleteDC(h); }
};

// A view of a file mapping.
struct ZQViewTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* p) { return p != nullptr; }
    static void Free(void* p) { UnmapViewOfFile(p); }
};

using CZQHandle = CZQOwner<HANDLE, ZQHandleTraits>;
using CZQMappedView = CZQOwner<void*, ZQViewTraits>;
using CZQRegKey = CZQOwner<HKEY, ZQKeyTraits>;
using CZQModule = CZQOwner<HMODULE, ZQModuleTraits>;
using CZQGdiObject = CZQOwner<HGDIOBJ, ZQGdiTraits>;
using CZQMemDC = CZQOwner<HDC, ZQMemDCTraits>;
using CZQHeap = CZQOwner<HANDLE, ZQHeapTraits>;

// A window's (or the screen's) device context, released with the window it came from.
class CZQWindowDC {
public:
    explicit CZQWindowDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~CZQWindowDC() {
        if (m_hdc) ReleaseDC(m_hwnd, m_hdc);
    }
    CZQWindowDC(const CZQWindowDC&) = delete;
    CZQWindowDC& operator=(const CZQWindowDC&) = delete;
    HDC Get() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Selects an object into a device context and puts the previous one back.
class CZQSelectObject {
public:
    CZQSelectObject(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(SelectObject(hdc, obj)) {}
    ~CZQSelectObject() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_hdc, m_old);
    }
    CZQSelectObject(const CZQSelectObject&) = delete;
    CZQSelectObject& operator=(const CZQSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// Memory from LocalAlloc, typed.
template <typename T>
class CZQLocalPtr {
public:
    CZQLocalPtr() = default;
    explicit CZQLocalPtr(T* p) : m_p(p) {}
    ~CZQLocalPtr() { Reset(); }
    CZQLocalPtr(const CZQLocalPtr&) = delete;
    CZQLocalPtr& operator=(const CZQLocalPtr&) = delete;
    CZQLocalPtr(CZQLocalPtr&& o) noexcept : m_p(o.Release()) {}
    CZQLocalPtr& operator=(CZQLocalPtr&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    // Zero-filled allocation of count elements; false when out of memory.
    bool Alloc(size_t count) {
        Reset(static_cast<T*>(LocalAlloc(LPTR, count * sizeof(T))));
        return m_p != nullptr;
    }
    T* Get() const { return m_p; }
    T** Put() {
        Reset();
        return &m_p;
    }
    T* Release() { return std::exchange(m_p, nullptr); }
    void Reset(T* p = nullptr) {
        if (m_p) LocalFree(m_p);
        m_p = p;
    }
    explicit operator bool() const { return m_p != nullptr; }
    T& operator[](size_t i) const { return m_p[i]; }

private:
    T* m_p = nullptr;
};

// A COM interface reference.
template <typename I>
class CZQComPtr {
public:
    CZQComPtr() = default;
    ~CZQComPtr() { Reset(); }
    CZQComPtr(const CZQComPtr&) = delete;
    CZQComPtr& operator=(const CZQComPtr&) = delete;
    CZQComPtr(CZQComPtr&& o) noexcept : m_p(o.Detach()) {}
    CZQComPtr& operator=(CZQComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            m_p = o.Detach();
        }
        return *this;
    }
    I* Get() const { return m_p; }
    I* operator->() const { return m_p; }
    I** Put() {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }
    // Hands the reference to the caller.
    I* Detach() { return std::exchange(m_p, nullptr); }
    explicit operator bool() const { return m_p != nullptr; }

private:
    I* m_p = nullptr;
};

// A BSTR from the COM string allocator.
struct ZQBstrTraits {
    static BSTR Invalid() { return nullptr; }
    static bool IsValid(BSTR s) { return s != nullptr; }
    static void Free(BSTR s) { SysFreeString(s); }
};
using CZQBstr = CZQOwner<BSTR, ZQBstrTraits>;

// A VARIANT that is cleared when it goes.
class CZQVariant {
public:
    CZQVariant() { VariantInit(&m_v); }
    ~CZQVariant() { VariantClear(&m_v); }
    CZQVariant(const CZQVariant&) = delete;
    CZQVariant& operator=(const CZQVariant&) = delete;
    VARIANT* Put() {
        VariantClear(&m_v);
        return &m_v;
    }
    const VARIANT& Get() const { return m_v; }

private:
    VARIANT m_v;
};

// Holds the mutex of that name (made when missing) for the object's life; the thread that holds it
// may take it again, and a holder that ended without letting go passes it on. Held() is false when
// it could not be had within the wait.
class CZQNamedLock {
public:
    CZQNamedLock(PCWSTR pszName, DWORD dwWaitMs) : m_mutex(CreateMutexW(nullptr, FALSE, pszName)) {
        if (!m_mutex) return;
        const DWORD wait = WaitForSingleObject(m_mutex.Get(), dwWaitMs);
        m_bHeld = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~CZQNamedLock() {
        if (m_bHeld) ReleaseMutex(m_mutex.Get());
    }
    CZQNamedLock(const CZQNamedLock&) = delete;
    CZQNamedLock& operator=(const CZQNamedLock&) = delete;
    bool Held() const { return m_bHeld; }

private:
    CZQHandle m_mutex;
    bool m_bHeld = false;
};
