#include "zqclassfactory.h"

#include <new>

#include "common/zqtrace.h"
#include "common/zqmodule.h"
#include "zqoemui.h"

CZQClassFactory::CZQClassFactory() { zqmodule::AddObject(); }
CZQClassFactory::~CZQClassFactory() { zqmodule::ReleaseObject(); }

STDMETHODIMP CZQClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CZQClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }

STDMETHODIMP_(ULONG) CZQClassFactory::Release() {
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP CZQClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    ZQ_TRACE("CZQClassFactory::CreateInstance");
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    CZQOemUI* pObj = new (std::nothrow) CZQOemUI();
    if (!pObj) return E_OUTOFMEMORY;
    HRESULT hr = pObj->QueryInterface(riid, ppv);
    pObj->Release();  // the interface pointer, when handed out, holds the object
    return hr;
}

STDMETHODIMP CZQClassFactory::LockServer(BOOL fLock) {
    zqmodule::LockServer(fLock);
    return S_OK;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    ZQ_TRACE("DllGetClassObject");
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
    CZQClassFactory* pFactory = new (std::nothrow) CZQClassFactory();
    if (!pFactory) return E_OUTOFMEMORY;
    HRESULT hr = pFactory->QueryInterface(riid, ppv);
    pFactory->Release();
    return hr;
}

STDAPI DllCanUnloadNow(void) { return zqmodule::CanUnload() ? S_OK : S_FALSE; }
