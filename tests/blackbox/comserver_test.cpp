// zqoemui.dll as the core driver loads it: LoadLibrary, DllGetClassObject, the plug-in interfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/zqproc.h"
#include "platform/oemuiplatform.h"
#include "testsupport.h"

namespace {

using PFN_GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using PFN_CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

constexpr DWORD kBlockSize = 6512;
constexpr DWORD kSignature = 0x5A515549;
constexpr DWORD kVersion = 0x00110010;

class PluginDll : public ::testing::Test {
protected:
    void SetUp() override {
        m_hDll = LoadLibraryW(zqtest::BesideExe(L"zqoemui.dll").c_str());
        ASSERT_NE(nullptr, m_hDll);
        m_getClassObject = ZQGetProc<PFN_GetClassObject>(m_hDll, "DllGetClassObject");
        m_canUnloadNow = ZQGetProc<PFN_CanUnloadNow>(m_hDll, "DllCanUnloadNow");
        ASSERT_NE(nullptr, m_getClassObject);
        ASSERT_NE(nullptr, m_canUnloadNow);
    }
    void TearDown() override {
        if (m_hDll) FreeLibrary(m_hDll);
    }

    IClassFactory* Factory() {
        IClassFactory* f = nullptr;
        EXPECT_EQ(S_OK, m_getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&f)));
        return f;
    }
    IPrintOemUI2* Plugin() {
        IClassFactory* f = Factory();
        if (!f) return nullptr;
        IPrintOemUI2* p = nullptr;
        EXPECT_EQ(S_OK, f->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&p)));
        f->Release();
        return p;
    }

    HMODULE m_hDll = nullptr;
    PFN_GetClassObject m_getClassObject = nullptr;
    PFN_CanUnloadNow m_canUnloadNow = nullptr;
};

TEST_F(PluginDll, OnlyThePluginClassIsServed) {
    void* pv = reinterpret_cast<void*>(1);
    const CLSID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, m_getClassObject(other, IID_IClassFactory, &pv));
    EXPECT_EQ(nullptr, pv);

    pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, m_getClassObject(CLSID_OEMUI, IID_IPrintOemUI, &pv));
    EXPECT_EQ(nullptr, pv);

    IUnknown* unk = nullptr;
    ASSERT_EQ(S_OK, m_getClassObject(CLSID_OEMUI, IID_IUnknown, reinterpret_cast<void**>(&unk)));
    unk->Release();
    EXPECT_EQ(E_POINTER, m_getClassObject(CLSID_OEMUI, IID_IClassFactory, nullptr));
}

TEST_F(PluginDll, AggregationIsRefused) {
    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);
    IUnknown* outer = reinterpret_cast<IUnknown*>(f);  // any non-null outer unknown
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, f->CreateInstance(outer, IID_IUnknown, &pv));
    EXPECT_EQ(nullptr, pv);
    f->Release();
}

TEST_F(PluginDll, PluginAnswersBothInterfacesWithOneIdentity) {
    IPrintOemUI2* p2 = Plugin();
    ASSERT_NE(nullptr, p2);
    IPrintOemUI* p1 = nullptr;
    IUnknown* unk1 = nullptr;
    IUnknown* unk2 = nullptr;
    ASSERT_EQ(S_OK, p2->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void**>(&p1)));
    ASSERT_EQ(S_OK, p1->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk1)));
    ASSERT_EQ(S_OK, p2->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk2)));
    EXPECT_EQ(unk1, unk2);

    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, p2->QueryInterface(IID_IClassFactory, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(E_NOINTERFACE, p2->QueryInterface(IID_IPrintOemDriverUI, &pv));

    unk1->Release();
    unk2->Release();
    p1->Release();
    EXPECT_EQ(0u, p2->Release());
}

TEST_F(PluginDll, CanUnloadNowFollowsObjectsAndLocks) {
    ASSERT_EQ(S_OK, m_canUnloadNow());
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(S_FALSE, m_canUnloadNow());
    p->Release();
    EXPECT_EQ(S_OK, m_canUnloadNow());

    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(S_FALSE, m_canUnloadNow()) << "a live factory keeps the server";
    f->LockServer(TRUE);
    f->Release();
    EXPECT_EQ(S_FALSE, m_canUnloadNow()) << "a lock keeps the server";
    f = Factory();
    f->LockServer(FALSE);
    f->Release();
    EXPECT_EQ(S_OK, m_canUnloadNow());
}

TEST_F(PluginDll, GetInfoAnswersSignatureAndVersion) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DWORD value = 0, needed = 0;
    ASSERT_EQ(S_OK, p->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed));
    EXPECT_EQ(kSignature, value);
    EXPECT_EQ(0, memcmp(&value, "IUQZ", 4));
    EXPECT_EQ(4u, needed);
    ASSERT_EQ(S_OK, p->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed));
    EXPECT_EQ(kVersion, value);

    // The size probe: no buffer or a short one.
    needed = 0;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->GetInfo(OEMGI_GETSIGNATURE, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(4u, needed);
    BYTE small[3] = {0xEE, 0xEE, 0xEE};
    EXPECT_EQ(E_FAIL, p->GetInfo(OEMGI_GETVERSION, small, sizeof small, &needed));
    EXPECT_EQ(0xEE, small[0]) << "a short buffer is not written";

    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->GetInfo(77, &value, sizeof value, &needed));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    p->Release();
}

struct DevmodeCall {
    DEVMODEW pub = {};
    std::vector<BYTE> in = std::vector<BYTE>(kBlockSize + 64, 0);
    std::vector<BYTE> out = std::vector<BYTE>(kBlockSize + 64, 0xAB);
    OEMDMPARAM param = {};

    DevmodeCall() {
        pub.dmSize = sizeof pub;
        pub.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
        pub.dmOrientation = DMORIENT_LANDSCAPE;
        pub.dmPaperSize = DMPAPER_LETTER;
        param.cbSize = sizeof param;
        param.pPublicDMIn = &pub;
        param.pPublicDMOut = &pub;
        param.pOEMDMIn = in.data();
        param.pOEMDMOut = out.data();
        param.cbBufSize = kBlockSize;
    }
    DWORD Out32(size_t off) const {
        DWORD v;
        memcpy(&v, out.data() + off, 4);
        return v;
    }
    WORD Out16(size_t off) const {
        WORD v;
        memcpy(&v, out.data() + off, 2);
        return v;
    }
};

TEST_F(PluginDll, DevModeSizeAndDefaults) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DevmodeCall c;
    c.param.cbBufSize = 0;
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_SIZE, &c.param));
    EXPECT_EQ(kBlockSize, c.param.cbBufSize);

    c.param.cbBufSize = kBlockSize;
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(kBlockSize, c.Out32(0));
    EXPECT_EQ(kSignature, c.Out32(4));
    EXPECT_EQ(kVersion, c.Out32(8));
    EXPECT_EQ(DMORIENT_LANDSCAPE, c.Out16(48));
    EXPECT_EQ(static_cast<DWORD>(DMPAPER_LETTER), c.Out32(1820));
    EXPECT_EQ(52u, c.Out32(1772));
    EXPECT_EQ(0xAB, c.out[kBlockSize]) << "nothing written past the block";
    p->Release();
}

TEST_F(PluginDll, DevModeMergeCopiesOurBlockAndDefaultsForeignOnes) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DevmodeCall c;
    // A block of ours with a few edits.
    c.param.pOEMDMOut = c.in.data();
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_DEFAULT, &c.param));
    c.param.pOEMDMOut = c.out.data();
    DWORD nup = 4, angle = 30;
    memcpy(c.in.data() + 1876, &nup, 4);
    memcpy(c.in.data() + 1772, &angle, 4);

    for (DWORD mode : {OEMDM_MERGE, OEMDM_CONVERT}) {
        std::fill(c.out.begin(), c.out.end(), 0xAB);
        ASSERT_EQ(S_OK, p->DevMode(mode, &c.param));
        EXPECT_EQ(4u, c.Out32(1876));
        EXPECT_EQ(30u, c.Out32(1772));
        EXPECT_EQ(kSignature, c.Out32(4));
    }

    // Another version or another plug-in's block: defaults.
    DWORD oldVersion = 0x00100005;
    memcpy(c.in.data() + 8, &oldVersion, 4);
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_MERGE, &c.param));
    EXPECT_EQ(1u, c.Out32(1876));
    EXPECT_EQ(52u, c.Out32(1772));
    EXPECT_EQ(kVersion, c.Out32(8));
    memcpy(c.in.data() + 8, &kVersion, 4);
    memcpy(c.in.data() + 4, "XXXX", 4);
    memcpy(c.out.data() + 1876, &nup, 4);
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_MERGE, &c.param));
    EXPECT_EQ(1u, c.Out32(1876));

    // An oversized output buffer is fine; only the block is written.
    c.param.cbBufSize = kBlockSize + 64;
    std::fill(c.out.begin(), c.out.end(), 0xAB);
    ASSERT_EQ(S_OK, p->DevMode(OEMDM_MERGE, &c.param));
    EXPECT_EQ(0xAB, c.out[kBlockSize]);
    p->Release();
}

TEST_F(PluginDll, DevModeRefusesMissingOrShortBuffersWithoutTouchingThem) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DevmodeCall c;
    const std::vector<BYTE> before = c.out;

    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_DEFAULT, nullptr));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());

    c.param.cbBufSize = kBlockSize - 1;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_MERGE, &c.param));
    EXPECT_EQ(before, c.out);

    c.param.cbBufSize = kBlockSize;
    c.param.pOEMDMIn = nullptr;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_MERGE, &c.param));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(before, c.out);

    c.param.pOEMDMIn = c.in.data();
    c.param.pPublicDMIn = c.param.pPublicDMOut = nullptr;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_CONVERT, &c.param));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(before, c.out);

    c.param.pOEMDMOut = nullptr;
    EXPECT_EQ(E_FAIL, p->DevMode(OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(E_FAIL, p->DevMode(99, &c.param));
    p->Release();
}

// A helper interface of the core driver, counting its references.
class FakeDriverUI : public IPrintOemDriverUI {
public:
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
};

TEST_F(PluginDll, PublishDriverInterfaceKeepsTheHelperUntilRelease) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    FakeDriverUI helper;
    ASSERT_EQ(S_OK, p->PublishDriverInterface(&helper));
    EXPECT_EQ(2, helper.refs);
    // Published again: the earlier reference is dropped, not leaked.
    ASSERT_EQ(S_OK, p->PublishDriverInterface(&helper));
    EXPECT_EQ(2, helper.refs);

    IClassFactory* notAHelper = Factory();
    EXPECT_EQ(E_FAIL, p->PublishDriverInterface(notAHelper));
    notAHelper->Release();
    EXPECT_EQ(E_FAIL, p->PublishDriverInterface(nullptr));
    EXPECT_EQ(2, helper.refs);

    p->Release();
    EXPECT_EQ(1, helper.refs);
}

// The sheets as the core driver asks for them: the plug-in keeps its sheet record in the sheet's
// block while the sheet lives, and adds no page it has no class for.
LONG_PTR CALLBACK RefusingComPropSheet(HANDLE, UINT, LPARAM, LPARAM) {
    ADD_FAILURE() << "no page class exists yet";
    return 0;
}

TEST_F(PluginDll, SheetsKeepTheirRecordWhileTheyLive) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    HANDLE heap = HeapCreate(0, 0, 0);
    int marker = 0;
    OEMUIPSPARAM ps = {};
    ps.cbSize = sizeof ps;
    ps.hOEMHeap = heap;
    ps.pOEMUserData = &marker;
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.hComPropSheet = reinterpret_cast<HANDLE>(0x77);
    info.pfnComPropSheet = &RefusingComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&ps);
    for (DWORD mode : {1u, 2u}) {
        info.Reason = PROPSHEETUI_REASON_INIT;
        ASSERT_EQ(S_OK, mode == 1 ? p->DocumentPropertySheets(&info, 0) : p->DevicePropertySheets(&info, 0));
        ASSERT_NE(static_cast<PVOID>(&marker), ps.pOEMUserData);
        const BYTE* record = static_cast<const BYTE*>(ps.pOEMUserData);
        // Callback, sheet handle, ten page handles, then the mode: every slot pointer-sized.
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&RefusingComPropSheet), *reinterpret_cast<const LONG_PTR*>(record));
        EXPECT_EQ(0x77, *reinterpret_cast<const LONG_PTR*>(record + sizeof(void*)));
        EXPECT_EQ(mode, *reinterpret_cast<const DWORD*>(record + 12 * sizeof(void*)));
        info.Reason = PROPSHEETUI_REASON_DESTROY;
        ASSERT_EQ(S_OK, mode == 1 ? p->DocumentPropertySheets(&info, 0) : p->DevicePropertySheets(&info, 0));
        EXPECT_EQ(static_cast<PVOID>(&marker), ps.pOEMUserData);
    }
    p->Release();
    HeapDestroy(heap);
}

// The watcher holds the module after the caller frees it, and lets it go after an idle interval.
bool WaitUntilUnloaded(DWORD ms) {
    for (DWORD waited = 0; waited <= ms; waited += 50) {
        if (!GetModuleHandleW(L"zqoemui.dll")) return true;
        Sleep(50);
    }
    return false;
}

TEST(UnloadWatcher, KeepsTheModuleWhileCallsArriveThenUnloadsWhenIdle) {
    ASSERT_TRUE(WaitUntilUnloaded(10000)) << "an earlier test's load never went away";
    HMODULE h = LoadLibraryW(zqtest::BesideExe(L"zqoemui.dll").c_str());
    ASSERT_NE(nullptr, h);
    auto getClassObject = ZQGetProc<PFN_GetClassObject>(h, "DllGetClassObject");
    IClassFactory* f = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&f)));
    IPrintOemUI2* p = nullptr;
    ASSERT_EQ(S_OK, f->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&p)));
    f->Release();

    // Calls through three whole intervals keep the watcher's reference.
    DWORD value = 0, needed = 0;
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(S_OK, p->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed));
        Sleep(200);
    }
    ASSERT_EQ(S_OK, p->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed));
    p->Release();
    FreeLibrary(h);
    EXPECT_NE(nullptr, GetModuleHandleW(L"zqoemui.dll")) << "the watcher still holds the module";
    EXPECT_TRUE(WaitUntilUnloaded(10000)) << "the watcher let go after an idle interval";
}

}  // namespace
