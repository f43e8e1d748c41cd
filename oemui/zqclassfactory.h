// COM server: the class factory of the OEM UI plug-in class.
#pragma once

#include "platform/oemuiplatform.h"

class CZQClassFactory final : public IClassFactory {
public:
    CZQClassFactory();
    ~CZQClassFactory();
    CZQClassFactory(const CZQClassFactory&) = delete;
    CZQClassFactory& operator=(const CZQClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;

private:
    volatile LONG m_cRef = 1;
};

extern "C" {
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllCanUnloadNow(void);
}
