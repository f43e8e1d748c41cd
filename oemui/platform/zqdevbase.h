// The system's declarations that the device servers' interface definitions import (zqdevbase.idl),
// for the declarations widl writes from them.
#pragma once

#include <unknwn.h>

#ifndef __cplusplus
// The system's C declarations lack the proxies of IUnknown's methods, which widl's proxy code names.
HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown* This, REFIID riid, void** ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown* This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown* This);
#endif
