// The maker's device-communication servers, as this module calls them: the channel that queries a
// printer and the object list that carries the identifiers and answers of one query.
// Slots this module never calls are kept only to hold the method order.
#pragma once

#include <windows.h>
#include <objbase.h>

inline constexpr CLSID CLSID_ZQDeviceChannel = {0x3c41e7a2, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr IID IID_IZQDeviceChannel = {0x3c41e7a3, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr CLSID CLSID_ZQObjectList = {0x3c41e7a5, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr IID IID_IZQObjectList = {0x3c41e7a6, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};

// Identifiers and answers of one query; indices run from 0 to 19.
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
    STDMETHOD(GetStatus)(int index, HRESULT* phrStatus) PURE;
};

// A session with one printer.
struct IZQDeviceChannel : public IUnknown {
    STDMETHOD(Open)(LPCWSTR pszPrinterName) PURE;
    STDMETHOD(Unused2)() PURE;
    // Queries every identifier set in the list and fills its values and statuses.
    STDMETHOD(Get)(IZQObjectList* pList) PURE;
    STDMETHOD(Unused4)() PURE;
    STDMETHOD(Set)(IZQObjectList* pList) PURE;
    STDMETHOD(Close)() PURE;
    STDMETHOD(SetOptions)(DWORD a, DWORD b, DWORD c, DWORD d, DWORD e, DWORD f, DWORD g) PURE;
};
