// The maker's device-communication servers, as this module calls them: the agent that tells whether
// a printer answers, the channel that queries a printer, the object list that carries the
// identifiers and answers of one query, and the link, which is only created to learn that its
// server is registered. The servers' own stand-ins share this one declaration.
// Slots this module never calls are kept only to hold the method order.
#pragma once

#include <windows.h>
#include <objbase.h>

inline constexpr CLSID CLSID_ZQDeviceAgent = {0x7e2d9c14, 0x60af, 0x4b3e, {0x8d, 0x51, 0xc9, 0xa0, 0x3f, 0x7b, 0x2e, 0x86}};
inline constexpr IID IID_IZQDeviceAgent = {0x91b6f3d8, 0x2c47, 0x4e05, {0xb8, 0xa9, 0x5d, 0x1e, 0x6c, 0x03, 0xa7, 0xf2}};
inline constexpr CLSID CLSID_ZQDeviceChannel = {0x3c41e7a2, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr IID IID_IZQDeviceChannel = {0x3c41e7a3, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr CLSID CLSID_ZQObjectList = {0x3c41e7a5, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr IID IID_IZQObjectList = {0x3c41e7a6, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr CLSID CLSID_ZQDeviceLink = {0xc25e8b07, 0x3d91, 0x4a6f, {0x9e, 0x42, 0x81, 0xf0, 0xd6, 0xa3, 0xc7, 0xb5}};
inline constexpr IID IID_IZQDeviceLink = {0x6d8a2e61, 0xb93c, 0x47d0, {0xa6, 0x25, 0xe0, 0x7c, 0x1b, 0x9d, 0x58, 0xf4}};

// Whichever kind of server is installed: in-process, handler, local or remote (23).
inline constexpr DWORD kZQDeviceServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// Indices of an object list run from 0 to this count minus one.
inline constexpr int kZQObjectListEntries = 20;

// Identifiers and answers of one query.
struct IZQObjectList : public IUnknown {
    STDMETHOD(Unused1)() PURE;
    STDMETHOD(Unused2)() PURE;
    STDMETHOD(Unused3)() PURE;
    // Object identifier in dotted decimal text.
    STDMETHOD(SetObjectId)(int index, LPCWSTR pszObjectId) PURE;
    STDMETHOD(Unused5)() PURE;
    STDMETHOD(Clear)() PURE;
    STDMETHOD(Unused7)() PURE;
    STDMETHOD(Unused8)() PURE;
    STDMETHOD(Unused9)() PURE;
    STDMETHOD(Unused10)() PURE;
    STDMETHOD(SetValue)(int index, BYTE type, const void* pData, DWORD cbData) PURE;
    // The data block comes from the COM task allocator; the caller frees it with CoTaskMemFree.
    STDMETHOD(GetValue)(int index, BYTE* pType, BYTE** ppData, DWORD* pcbData) PURE;
    STDMETHOD(Unused13)() PURE;
    STDMETHOD(Unused14)() PURE;
    STDMETHOD(Unused15)() PURE;
    // S_OK when the entry was answered.
    STDMETHOD(GetStatus)(int index, HRESULT* phrStatus) PURE;
};

// A session with one printer.
struct IZQDeviceChannel : public IUnknown {
    STDMETHOD(Open)(LPCWSTR pszPrinterName) PURE;
    STDMETHOD(Unused2)() PURE;
    // Queries every identifier set in the list and fills its values and statuses.
    STDMETHOD(Get)(IZQObjectList* pList) PURE;
    STDMETHOD(Unused4)() PURE;
    // Writes the values set in the list to the printer.
    STDMETHOD(Set)(IZQObjectList* pList) PURE;
    STDMETHOD(Close)() PURE;
    // Called once right after Open with (0, 0, 1, -1, -1, -1, -1); the meaning is the server's.
    STDMETHOD(SetOptions)(DWORD a, DWORD b, DWORD c, DWORD d, DWORD e, DWORD f, DWORD g) PURE;
};

// Whether the printer answers: only S_OK with a non-zero *pdwAnswers counts. *pdwSecond is not read.
struct IZQDeviceAgent : public IUnknown {
    STDMETHOD(CheckDevice)(LPCWSTR pszPrinterName, LPCWSTR pszPortName, DWORD* pdwAnswers, DWORD* pdwSecond) PURE;
};

// Created and released only.
struct IZQDeviceLink : public IUnknown {};

// Every server is created the same way: no outer object, any kind of server.
inline HRESULT ZQCreateDeviceServer(REFCLSID clsid, REFIID iid, void** ppv) {
    return CoCreateInstance(clsid, nullptr, kZQDeviceServerContext, iid, ppv);
}
