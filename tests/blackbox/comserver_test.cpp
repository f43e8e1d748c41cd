// zqoemui.dll as the core driver loads it: LoadLibrary, DllGetClassObject, the plug-in interfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "zqproc.h"
#include "zqoemcontract.h"
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
    ASSERT_EQ(S_OK, p2->lpVtbl->QueryInterface(p2, IID_IPrintOemUI, reinterpret_cast<void**>(&p1)));
    ASSERT_EQ(S_OK, p1->lpVtbl->QueryInterface(p1, IID_IUnknown, reinterpret_cast<void**>(&unk1)));
    ASSERT_EQ(S_OK, p2->lpVtbl->QueryInterface(p2, IID_IUnknown, reinterpret_cast<void**>(&unk2)));
    EXPECT_EQ(unk1, unk2);

    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, p2->lpVtbl->QueryInterface(p2, IID_IClassFactory, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(E_NOINTERFACE, p2->lpVtbl->QueryInterface(p2, IID_IPrintOemDriverUI, &pv));

    unk1->Release();
    unk2->Release();
    p1->lpVtbl->Release(p1);
    EXPECT_EQ(0u, p2->lpVtbl->Release(p2));
}

TEST_F(PluginDll, CanUnloadNowFollowsObjectsAndLocks) {
    ASSERT_EQ(S_OK, m_canUnloadNow());
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(S_FALSE, m_canUnloadNow());
    p->lpVtbl->Release(p);
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
    ASSERT_EQ(S_OK, p->lpVtbl->GetInfo(p, OEMGI_GETSIGNATURE, &value, sizeof value, &needed));
    EXPECT_EQ(kSignature, value);
    EXPECT_EQ(0, memcmp(&value, "IUQZ", 4));
    EXPECT_EQ(4u, needed);
    ASSERT_EQ(S_OK, p->lpVtbl->GetInfo(p, OEMGI_GETVERSION, &value, sizeof value, &needed));
    EXPECT_EQ(kVersion, value);

    // The size probe: no buffer or a short one.
    needed = 0;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->GetInfo(p, OEMGI_GETSIGNATURE, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(4u, needed);
    BYTE small[3] = {0xEE, 0xEE, 0xEE};
    EXPECT_EQ(E_FAIL, p->lpVtbl->GetInfo(p, OEMGI_GETVERSION, small, sizeof small, &needed));
    EXPECT_EQ(0xEE, small[0]) << "a short buffer is not written";

    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->GetInfo(p, 77, &value, sizeof value, &needed));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    p->lpVtbl->Release(p);
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
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_SIZE, &c.param));
    EXPECT_EQ(kBlockSize, c.param.cbBufSize);

    c.param.cbBufSize = kBlockSize;
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(kBlockSize, c.Out32(0));
    EXPECT_EQ(kSignature, c.Out32(4));
    EXPECT_EQ(kVersion, c.Out32(8));
    EXPECT_EQ(DMORIENT_LANDSCAPE, c.Out16(48));
    EXPECT_EQ(static_cast<DWORD>(DMPAPER_LETTER), c.Out32(1820));
    EXPECT_EQ(52u, c.Out32(1772));
    EXPECT_EQ(0xAB, c.out[kBlockSize]) << "nothing written past the block";
    p->lpVtbl->Release(p);
}

TEST_F(PluginDll, DevModeMergeCopiesOurBlockAndDefaultsForeignOnes) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DevmodeCall c;
    // A block of ours with a few edits.
    c.param.pOEMDMOut = c.in.data();
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, &c.param));
    c.param.pOEMDMOut = c.out.data();
    DWORD nup = 4, angle = 30;
    memcpy(c.in.data() + 1876, &nup, 4);
    memcpy(c.in.data() + 1772, &angle, 4);

    for (DWORD mode : {OEMDM_MERGE, OEMDM_CONVERT}) {
        std::fill(c.out.begin(), c.out.end(), 0xAB);
        ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, mode, &c.param));
        EXPECT_EQ(4u, c.Out32(1876));
        EXPECT_EQ(30u, c.Out32(1772));
        EXPECT_EQ(kSignature, c.Out32(4));
    }

    // Another version or another plug-in's block: defaults.
    DWORD oldVersion = 0x00100005;
    memcpy(c.in.data() + 8, &oldVersion, 4);
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_MERGE, &c.param));
    EXPECT_EQ(1u, c.Out32(1876));
    EXPECT_EQ(52u, c.Out32(1772));
    EXPECT_EQ(kVersion, c.Out32(8));
    memcpy(c.in.data() + 8, &kVersion, 4);
    memcpy(c.in.data() + 4, "XXXX", 4);
    memcpy(c.out.data() + 1876, &nup, 4);
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_MERGE, &c.param));
    EXPECT_EQ(1u, c.Out32(1876));

    // An oversized output buffer is fine; only the block is written.
    c.param.cbBufSize = kBlockSize + 64;
    std::fill(c.out.begin(), c.out.end(), 0xAB);
    ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_MERGE, &c.param));
    EXPECT_EQ(0xAB, c.out[kBlockSize]);
    p->lpVtbl->Release(p);
}

TEST_F(PluginDll, DevModeRefusesMissingOrShortBuffersWithoutTouchingThem) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    DevmodeCall c;
    const std::vector<BYTE> before = c.out;

    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, nullptr));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());

    c.param.cbBufSize = kBlockSize - 1;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_MERGE, &c.param));
    EXPECT_EQ(before, c.out);

    c.param.cbBufSize = kBlockSize;
    c.param.pOEMDMIn = nullptr;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_MERGE, &c.param));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(before, c.out);

    c.param.pOEMDMIn = c.in.data();
    c.param.pPublicDMIn = c.param.pPublicDMOut = nullptr;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_CONVERT, &c.param));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(before, c.out);

    c.param.pOEMDMOut = nullptr;
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, &c.param));
    EXPECT_EQ(E_FAIL, p->lpVtbl->DevMode(p, 99, &c.param));
    p->lpVtbl->Release(p);
}

// A helper interface of the core driver, counting its references.
struct FakeDriverUI {
    IPrintOemDriverUI iface;
    LONG refs = 1;

    static FakeDriverUI* Of(IPrintOemDriverUI* p) { return reinterpret_cast<FakeDriverUI*>(p); }
    static HRESULT STDMETHODCALLTYPE QueryInterface(IPrintOemDriverUI* self, REFIID riid, void** ppv) {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
            *ppv = self;
            AddRef(self);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    static ULONG STDMETHODCALLTYPE AddRef(IPrintOemDriverUI* self) { return ++Of(self)->refs; }
    static ULONG STDMETHODCALLTYPE Release(IPrintOemDriverUI* self) { return --Of(self)->refs; }
    static HRESULT STDMETHODCALLTYPE GetSetting(IPrintOemDriverUI*, PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
        return E_FAIL;
    }
    static HRESULT STDMETHODCALLTYPE Upgrade(IPrintOemDriverUI*, HANDLE, PCSTR, PCSTR) { return E_NOTIMPL; }
    static HRESULT STDMETHODCALLTYPE Update(IPrintOemDriverUI*, PVOID, PVOID, DWORD, DWORD) { return S_OK; }
    static constexpr IPrintOemDriverUIVtbl kVtbl = {QueryInterface, AddRef, Release, GetSetting, Upgrade, Update};

    FakeDriverUI() { iface.lpVtbl = &kVtbl; }
    IUnknown* Unknown() { return reinterpret_cast<IUnknown*>(&iface); }
};

TEST_F(PluginDll, PublishDriverInterfaceKeepsTheHelperUntilRelease) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    FakeDriverUI helper;
    ASSERT_EQ(S_OK, p->lpVtbl->PublishDriverInterface(p, helper.Unknown()));
    EXPECT_EQ(2, helper.refs);
    // Published again: the earlier reference is dropped, not leaked.
    ASSERT_EQ(S_OK, p->lpVtbl->PublishDriverInterface(p, helper.Unknown()));
    EXPECT_EQ(2, helper.refs);

    IClassFactory* notAHelper = Factory();
    EXPECT_EQ(E_FAIL, p->lpVtbl->PublishDriverInterface(p, notAHelper));
    notAHelper->Release();
    EXPECT_EQ(E_FAIL, p->lpVtbl->PublishDriverInterface(p, nullptr));
    EXPECT_EQ(2, helper.refs);

    p->lpVtbl->Release(p);
    EXPECT_EQ(1, helper.refs);
}

// The sheets as the core driver asks for them: the plug-in keeps its sheet record in the sheet's
// block while the sheet lives, and adds the pages it has a class for: the document sheet of a
// printer without items gets the Paper/Quality and About pages, the device sheet the About page.
std::vector<std::wstring> g_addedTitles;
std::vector<std::string> g_addedTemplates;  // an id, or the size of a template laid out anew
LONG_PTR CALLBACK CountingComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) {
        ADD_FAILURE() << "unexpected function " << function;
        return 0;
    }
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    g_addedTitles.push_back(psp && psp->pszTitle ? psp->pszTitle : L"");
    if (psp && (psp->dwFlags & PSP_DLGINDIRECT)) {
        const auto* words = reinterpret_cast<const WORD*>(psp->pResource);
        g_addedTemplates.push_back(std::to_string(words[11]) + "x" + std::to_string(words[12]));
    } else {
        g_addedTemplates.push_back(psp ? std::to_string(reinterpret_cast<ULONG_PTR>(psp->pszTemplate)) : "");
    }
    return static_cast<LONG_PTR>(0x1000 + g_addedTitles.size());
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
    info.pfnComPropSheet = &CountingComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&ps);
    for (DWORD mode : {1u, 2u}) {
        g_addedTitles.clear();
        g_addedTemplates.clear();
        info.Reason = PROPSHEETUI_REASON_INIT;
        ASSERT_EQ(S_OK, mode == 1 ? p->lpVtbl->DocumentPropertySheets(p, &info, 0) : p->lpVtbl->DevicePropertySheets(p, &info, 0));
        ASSERT_NE(static_cast<PVOID>(&marker), ps.pOEMUserData);
        const BYTE* record = static_cast<const BYTE*>(ps.pOEMUserData);
        // Callback, sheet handle, ten page handles, then the mode: every slot pointer-sized.
        const std::vector<std::wstring> titles = {L"Printing Shortcuts", L"Paper/Quality", L"Effects", L"Finishing",
                                                  L"About"};
        // The About page's smaller template is laid out to the document sheet's size.
        const std::vector<std::string> templates = {"393", "117", "106", "110", mode == 1 ? "252x234" : "104"};
        EXPECT_EQ(std::vector<std::wstring>(titles.begin() + (mode == 1 ? 0 : 4), titles.end()), g_addedTitles);
        EXPECT_EQ(std::vector<std::string>(templates.begin() + (mode == 1 ? 0 : 4), templates.end()), g_addedTemplates);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CountingComPropSheet), *reinterpret_cast<const LONG_PTR*>(record));
        EXPECT_EQ(0x77, *reinterpret_cast<const LONG_PTR*>(record + sizeof(void*)));
        EXPECT_EQ(mode, *reinterpret_cast<const DWORD*>(record + 12 * sizeof(void*)));
        info.Reason = PROPSHEETUI_REASON_DESTROY;
        ASSERT_EQ(S_OK, mode == 1 ? p->lpVtbl->DocumentPropertySheets(p, &info, 0) : p->lpVtbl->DevicePropertySheets(p, &info, 0));
        EXPECT_EQ(static_cast<PVOID>(&marker), ps.pOEMUserData);
    }
    p->lpVtbl->Release(p);
    HeapDestroy(heap);
}

// Memory whose end touches a page the process may not read or write: a plug-in that walks past an
// array it was given faults at once instead of corrupting the core driver's heap.
class GuardedArray {
public:
    explicit GuardedArray(size_t bytes) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        const size_t page = si.dwPageSize, span = (bytes + page - 1) / page * page;
        m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, span + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (m_base) VirtualProtect(m_base + span, page, PAGE_NOACCESS, &old);
        m_at = m_base ? m_base + span - bytes : nullptr;
    }
    ~GuardedArray() {
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedArray(const GuardedArray&) = delete;
    GuardedArray& operator=(const GuardedArray&) = delete;
    template <typename T>
    T* As() const {
        return reinterpret_cast<T*>(m_at);
    }

private:
    BYTE* m_base = nullptr;
    BYTE* m_at = nullptr;
};

// The core driver's side of a CommonUIProp call: two list items with their keywords in guarded
// memory, the callback table, the public devmode and the plug-in's block.
struct CoreDriverCall {
    static BOOL APIENTRY GetSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD needed, PDWORD) {
        if (needed) *needed = 0;
        SetLastError(ERROR_NOT_FOUND);
        return FALSE;
    }
    static BOOL APIENTRY Update(PVOID, PVOID, DWORD, DWORD) { return TRUE; }

    OEMUIPROCS procs = {&GetSetting, &Update};
    OEMUIOBJ obj = {sizeof(OEMUIOBJ), &procs};
    DEVMODEW pub = {};
    std::vector<BYTE> block = std::vector<BYTE>(kBlockSize, 0);
    OPTPARAM params[2][2] = {};
    OPTTYPE types[2] = {};
    USERDATA data[2] = {};
    GuardedArray items = GuardedArray(2 * sizeof(OPTITEM));
    HANDLE heap = HeapCreate(0, 0, 0);
    OEMCUIPPARAM param = {};

    CoreDriverCall() {
        pub.dmSize = sizeof pub;
        pub.dmFields = DM_ORIENTATION;
        pub.dmOrientation = DMORIENT_LANDSCAPE;
        const struct {
            const char* keyword;
            BYTE pubId;
            PCWSTR options[2];
        } rows[2] = {{"Orientation", DMPUB_ORIENTATION, {L"Portrait", L"Landscape"}},
                     {"MediaType", DMPUB_MEDIATYPE, {L"Plain", L"Glossy"}}};
        POPTITEM it = items.As<OPTITEM>();
        for (int i = 0; i < 2; ++i) {
            for (int o = 0; o < 2; ++o) {
                params[i][o].cbSize = sizeof(OPTPARAM);
                params[i][o].pData = const_cast<LPWSTR>(rows[i].options[o]);
            }
            types[i].cbSize = sizeof(OPTTYPE);
            types[i].Type = TVOT_LISTBOX;
            types[i].Count = 2;
            types[i].pOptParam = params[i];
            data[i].dwSize = sizeof(USERDATA);
            data[i].pKeyWordName = const_cast<PSTR>(rows[i].keyword);
            it[i] = OPTITEM();
            it[i].cbSize = sizeof(OPTITEM);
            it[i].pName = const_cast<LPWSTR>(rows[i].options[0]);
            it[i].Sel = 1;
            it[i].pOptType = &types[i];
            it[i].DMPubID = rows[i].pubId;
            it[i].UserData = reinterpret_cast<ULONG_PTR>(&data[i]);
        }
        param.cbSize = sizeof param;
        param.poemuiobj = &obj;
        param.pPrinterName = const_cast<PWSTR>(L"No Such Printer");
        param.hOEMHeap = heap;
        param.pPublicDM = &pub;
        param.pOEMDM = block.data();
        param.pDrvOptItems = it;
        param.cDrvOptItems = 2;
    }
    ~CoreDriverCall() { HeapDestroy(heap); }
};

TEST_F(PluginDll, CommonUIPropCountsThenFillsNoMoreThanItCounted) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    FakeDriverUI helper;
    ASSERT_EQ(S_OK, p->lpVtbl->PublishDriverInterface(p, helper.Unknown()));
    for (DWORD mode : {OEMCUIP_DOCPROP, OEMCUIP_PRNPROP}) {
        SCOPED_TRACE(mode);
        CoreDriverCall call;
        DevmodeCall defaults;
        defaults.param.pOEMDMOut = call.block.data();
        ASSERT_EQ(S_OK, p->lpVtbl->DevMode(p, OEMDM_DEFAULT, &defaults.param));

        ASSERT_EQ(S_OK, p->lpVtbl->CommonUIProp(p, mode, &call.param)) << "count pass";
        const DWORD counted = call.param.cOEMOptItems;
        EXPECT_EQ(mode == OEMCUIP_DOCPROP ? 3u : 0u, counted) << "layout heading and its two copies";
        GuardedArray own(counted * sizeof(OPTITEM));
        call.param.pOEMOptItems = counted ? own.As<OPTITEM>() : nullptr;
        ASSERT_EQ(S_OK, p->lpVtbl->CommonUIProp(p, mode, &call.param)) << "fill pass";
        ASSERT_LE(call.param.cOEMOptItems, counted);
        if (counted) {
            EXPECT_NE(nullptr, call.param.OEMCUIPCallback);
        }
        for (DWORD i = 0; i < call.param.cOEMOptItems; ++i) {
            const OPTITEM& item = call.param.pOEMOptItems[i];
            EXPECT_EQ(sizeof(OPTITEM), item.cbSize);
            ASSERT_NE(nullptr, item.pName);
            const auto* data = reinterpret_cast<const USERDATA*>(item.UserData);
            ASSERT_NE(nullptr, data);
            EXPECT_NE(nullptr, data->pKeyWordName);
            // The copy of the orientation shows the core driver's item: landscape.
            if (strcmp(data->pKeyWordName, "ZQOrientationCopy") == 0) {
                EXPECT_EQ(1, item.Sel);
            }
        }
    }
    p->lpVtbl->Release(p);
}

// Codes a method does not serve get the answer that leaves the work to the core driver.
TEST_F(PluginDll, EveryMethodAnswersCodesItDoesNotServe) {
    IPrintOemUI2* p = Plugin();
    ASSERT_NE(nullptr, p);
    BYTE out[64] = {};
    DWORD result = 0;
    INT escape = 0;
    const struct {
        const char* method;
        HRESULT expected;
        HRESULT actual;
    } rows[] = {
        {"DevQueryPrintEx", E_NOTIMPL, p->lpVtbl->DevQueryPrintEx(p, nullptr, nullptr, nullptr, nullptr)},
        {"DeviceCapabilities", E_NOTIMPL,
         p->lpVtbl->DeviceCapabilities(p, nullptr, nullptr, nullptr, 0xFFFF, out, nullptr, nullptr, 0, &result)},
        {"UpgradePrinter", E_NOTIMPL, p->lpVtbl->UpgradePrinter(p, 99, nullptr)},
        {"PrinterEvent", S_OK, p->lpVtbl->PrinterEvent(p, nullptr, 99, 0, 0)},
        {"DriverEvent", E_NOTIMPL, p->lpVtbl->DriverEvent(p, 99, 1, nullptr, 0)},
        {"QueryColorProfile", E_NOTIMPL,
         p->lpVtbl->QueryColorProfile(p, nullptr, nullptr, nullptr, nullptr, 99, nullptr, nullptr, nullptr)},
        {"FontInstallerDlgProc", E_NOTIMPL, p->lpVtbl->FontInstallerDlgProc(p, nullptr, WM_NULL, 0, 0)},
        {"UpdateExternalFonts", E_NOTIMPL, p->lpVtbl->UpdateExternalFonts(p, nullptr, nullptr, nullptr)},
        {"QueryJobAttributes", E_NOTIMPL, p->lpVtbl->QueryJobAttributes(p, nullptr, nullptr, 99, out)},
        {"HideStandardUI", E_NOTIMPL, p->lpVtbl->HideStandardUI(p, 99)},
        {"DocumentEvent", E_NOTIMPL, p->lpVtbl->DocumentEvent(p, nullptr, nullptr, 9999, 0, nullptr, 0, nullptr, &escape)},
    };
    for (const auto& row : rows) EXPECT_EQ(row.expected, row.actual) << row.method;
    EXPECT_EQ(0, escape) << "no result for an event the plug-in leaves alone";
    p->lpVtbl->Release(p);
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
        ASSERT_EQ(S_OK, p->lpVtbl->GetInfo(p, OEMGI_GETVERSION, &value, sizeof value, &needed));
        Sleep(200);
    }
    ASSERT_EQ(S_OK, p->lpVtbl->GetInfo(p, OEMGI_GETVERSION, &value, sizeof value, &needed));
    p->lpVtbl->Release(p);
    FreeLibrary(h);
    EXPECT_NE(nullptr, GetModuleHandleW(L"zqoemui.dll")) << "the watcher still holds the module";
    EXPECT_TRUE(WaitUntilUnloaded(10000)) << "the watcher let go after an idle interval";
}

}  // namespace
