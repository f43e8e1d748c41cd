// The maker's device-communication servers, as this module calls them: the agent that tells whether
// a printer answers, the channel that queries a printer, the object list that carries the
// identifiers and answers of one query, and the link, which is only created to learn that its
// server is registered. Their interfaces are declared once, in IDL (zqdevagent.idl, zqdevapi.idl,
// zqdevlink.idl), from which widl writes the declarations included here, the interface
// identifiers and the proxies of the servers that run in processes of their own; the servers'
// stand-ins share them.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "zqdevagent.h"
#include "zqdevapi.h"
#include "zqdevlink.h"

inline constexpr CLSID CLSID_ZQDeviceAgent = {0x7e2d9c14, 0x60af, 0x4b3e, {0x8d, 0x51, 0xc9, 0xa0, 0x3f, 0x7b, 0x2e, 0x86}};
inline constexpr CLSID CLSID_ZQDeviceChannel = {0x3c41e7a2, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr CLSID CLSID_ZQObjectList = {0x3c41e7a5, 0x5b19, 0x4d6e, {0x9a, 0x07, 0x2f, 0x68, 0xc1, 0xd4, 0xb9, 0x53}};
inline constexpr CLSID CLSID_ZQDeviceLink = {0xc25e8b07, 0x3d91, 0x4a6f, {0x9e, 0x42, 0x81, 0xf0, 0xd6, 0xa3, 0xc7, 0xb5}};

// Whichever kind of server is installed: in-process, handler, local or remote (23).
inline constexpr DWORD kZQDeviceServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// Indices of an object list run from 0 to this count minus one.
inline constexpr int kZQObjectListEntries = 20;

// Every server is created the same way: no outer object, any kind of server.
inline HRESULT ZQCreateDeviceServer(REFCLSID clsid, REFIID iid, void** ppv) {
    return CoCreateInstance(clsid, nullptr, kZQDeviceServerContext, iid, ppv);
}
