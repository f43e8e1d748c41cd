// Stand-in of zqdevapi.dll: the device channel and the object list. The channel answers from the
// printer's device script; every call goes to the log with its arguments.
#include <windows.h>

#include <vector>

#include "zqdeviceservers.h"
#include "zqdevscript.h"
#include "zqdevshared.h"

namespace {

// How the channel recognises the list objects of this server.
constexpr IID IID_ZQObjectListSelf = {0x5a0f3e21, 0x77c4, 0x4b8e, {0x91, 0x2d, 0x3e, 0x60, 0xb7, 0xa4, 0x15, 0xc9}};

// Status of an entry the device did not answer.
constexpr HRESULT kNoAnswer = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

class CLock {
public:
    explicit CLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CLock() { LeaveCriticalSection(&m_cs); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

std::wstring BytesText(const BYTE* p, DWORD cb) {
    std::wstring text;
    wchar_t hex[4];
    for (DWORD i = 0; i < cb; ++i) {
        swprintf(hex, 4, L"%02X", p[i]);
        if (i) text += L' ';
        text += hex;
    }
    return text;
}

bool ValidIndex(int index) { return index >= 0 && index < kZQObjectListEntries; }

// Objects of both classes may be called from any thread.
template <typename I>
class CLockedObject : public zqdev::CObject<I> {
public:
    CLockedObject(const wchar_t* pszName, REFIID iid) : zqdev::CObject<I>(pszName, iid) {
        InitializeCriticalSection(&m_cs);
    }
    ~CLockedObject() override { DeleteCriticalSection(&m_cs); }
    CRITICAL_SECTION& Lock() { return m_cs; }

private:
    CRITICAL_SECTION m_cs;
};

class CObjectList final : public CLockedObject<IZQObjectList> {
public:
    struct Entry {
        bool hasId = false;
        std::wstring id;
        bool hasValue = false;
        BYTE type = 0;
        std::vector<BYTE> data;
        HRESULT status = kNoAnswer;
    };

    CObjectList() : CLockedObject(L"list", IID_IZQObjectList) {}

    STDMETHODIMP Unused1() override { return Unused(1); }
    STDMETHODIMP Unused2() override { return Unused(2); }
    STDMETHODIMP Unused3() override { return Unused(3); }
    STDMETHODIMP SetObjectId(int index, LPCWSTR pszObjectId) override {
        HRESULT hr = S_OK;
        if (!ValidIndex(index)) {
            hr = E_INVALIDARG;
        } else if (!pszObjectId) {
            hr = E_POINTER;
        } else {
            CLock lock(Lock());
            m_entries[index] = Entry();
            m_entries[index].hasId = true;
            m_entries[index].id = pszObjectId;
        }
        return HrLogged(L"SetObjectId(" + std::to_wstring(index) + L", " + zqdev::Quoted(pszObjectId) + L")", hr);
    }
    STDMETHODIMP Unused5() override { return Unused(5); }
    STDMETHODIMP Clear() override {
        {
            CLock lock(Lock());
            for (Entry& e : m_entries) e = Entry();
        }
        return HrLogged(L"Clear()", S_OK);
    }
    STDMETHODIMP Unused7() override { return Unused(7); }
    STDMETHODIMP Unused8() override { return Unused(8); }
    STDMETHODIMP Unused9() override { return Unused(9); }
    STDMETHODIMP Unused10() override { return Unused(10); }
    STDMETHODIMP SetValue(int index, BYTE type, const BYTE* pData, DWORD cbData) override {
        HRESULT hr = S_OK;
        const BYTE* p = pData;
        if (!ValidIndex(index)) {
            hr = E_INVALIDARG;
        } else if (!p && cbData) {
            hr = E_POINTER;
        } else {
            CLock lock(Lock());
            Entry& e = m_entries[index];
            e.hasValue = true;
            e.type = type;
            e.data.assign(p, p + cbData);
        }
        return HrLogged(L"SetValue(" + std::to_wstring(index) + L", " + std::to_wstring(type) + L", [" +
                            (p ? BytesText(p, cbData) : std::wstring()) + L"], " + std::to_wstring(cbData) + L")",
                        hr);
    }
    STDMETHODIMP GetValue(int index, BYTE* pType, BYTE** ppData, DWORD* pcbData) override {
        HRESULT hr = S_OK;
        std::wstring answer;
        if (ppData) *ppData = nullptr;
        if (pcbData) *pcbData = 0;
        if (!ValidIndex(index)) {
            hr = E_INVALIDARG;
        } else if (!pType || !ppData || !pcbData) {
            hr = E_POINTER;
        } else {
            CLock lock(Lock());
            const Entry& e = m_entries[index];
            BYTE* block = nullptr;
            if (!e.hasValue)
                hr = kNoAnswer;
            else if (!(block = static_cast<BYTE*>(CoTaskMemAlloc(e.data.empty() ? 1 : e.data.size()))))
                hr = E_OUTOFMEMORY;
            if (block) {
                if (!e.data.empty()) memcpy(block, e.data.data(), e.data.size());
                *pType = e.type;
                *ppData = block;
                *pcbData = static_cast<DWORD>(e.data.size());
                answer = L" type " + std::to_wstring(e.type) + L" [" + BytesText(block, *pcbData) + L"]";
            }
        }
        return HrLogged(L"GetValue(" + std::to_wstring(index) + L")", hr, answer);
    }
    STDMETHODIMP Unused13() override { return Unused(13); }
    STDMETHODIMP Unused14() override { return Unused(14); }
    STDMETHODIMP Unused15() override { return Unused(15); }
    // Answers the status it also stores, so a caller that tests either sees the same.
    STDMETHODIMP GetStatus(int index, HRESULT* phrStatus) override {
        HRESULT hr = E_INVALIDARG;
        if (ValidIndex(index)) {
            CLock lock(Lock());
            hr = m_entries[index].status;
        }
        if (phrStatus) *phrStatus = hr;
        return HrLogged(L"GetStatus(" + std::to_wstring(index) + L")", hr);
    }

    // For the channel, under Lock().
    Entry* Entries() { return m_entries; }

protected:
    bool BOtherInterface(REFIID iid) override { return iid == IID_ZQObjectListSelf; }

private:
    Entry m_entries[kZQObjectListEntries];
};

class CChannel final : public CLockedObject<IZQDeviceChannel> {
public:
    CChannel() : CLockedObject(L"channel", IID_IZQDeviceChannel) {}

    STDMETHODIMP Open(LPCWSTR pszPrinterName) override {
        const std::wstring call = L"Open(" + zqdev::Quoted(pszPrinterName) + L")";
        const HRESULT hr = static_cast<HRESULT>(zqdev::DWSwitch(L"FailOpen", S_OK));
        if (FAILED(hr)) return HrLogged(call, hr);
        const std::wstring path = zqdev::ScriptPathFor(pszPrinterName);
        if (path.empty()) return HrLogged(call, HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME), L" no device script");
        zqdev::DeviceScript script;
        std::wstring why;
        // An unreadable script leaves a session that answers nothing.
        const bool read = zqdev::BReadDeviceScript(path, script, why);
        {
            CLock lock(Lock());
            m_open = true;
            m_script = std::move(script);
        }
        HrLogged(call, S_OK);
        if (!read) zqdev::VLog(L"script " + zqdev::Quoted(path.c_str()) + L" " + why + L": nothing is answered");
        return S_OK;
    }
    STDMETHODIMP Unused2() override { return Unused(2); }
    STDMETHODIMP Get(IZQObjectList* pList) override {
        HRESULT hr = static_cast<HRESULT>(zqdev::DWSwitch(L"FailGet", S_OK));
        CObjectList* list = nullptr;
        if (SUCCEEDED(hr)) hr = HrOwnList(pList, &list);
        if (SUCCEEDED(hr)) {
            const DWORD failing = zqdev::DWSwitch(L"FailStatusIndex", static_cast<DWORD>(-1));
            CLock lock(Lock());
            CLock listLock(list->Lock());
            CObjectList::Entry* entries = list->Entries();
            for (int i = 0; i < kZQObjectListEntries; ++i) {
                CObjectList::Entry& e = entries[i];
                if (!e.hasId) continue;
                const auto it = m_script.answers.find(e.id);
                e.hasValue = it != m_script.answers.end() && it->second.answered;
                e.type = e.hasValue ? it->second.type : 0;
                e.data = e.hasValue ? it->second.bytes : std::vector<BYTE>();
                e.status = e.hasValue ? S_OK : kNoAnswer;
                if (!e.hasValue) hr = S_FALSE;
                if (static_cast<DWORD>(i) == failing) e.status = E_FAIL;
            }
        }
        if (list) list->Release();
        return HrLogged(L"Get()", hr);
    }
    STDMETHODIMP Unused4() override { return Unused(4); }
    // What is written is answered by later reads in the same session.
    STDMETHODIMP Set(IZQObjectList* pList) override {
        CObjectList* list = nullptr;
        const HRESULT hr = HrOwnList(pList, &list);
        if (SUCCEEDED(hr)) {
            CLock lock(Lock());
            CLock listLock(list->Lock());
            CObjectList::Entry* entries = list->Entries();
            for (int i = 0; i < kZQObjectListEntries; ++i) {
                CObjectList::Entry& e = entries[i];
                if (!e.hasId || !e.hasValue) continue;
                zqdev::DeviceAnswer& answer = m_script.answers[e.id];
                answer.answered = true;
                answer.type = e.type;
                answer.bytes = e.data;
                e.status = S_OK;
            }
        }
        if (list) list->Release();
        return HrLogged(L"Set()", hr);
    }
    STDMETHODIMP Close() override {
        HRESULT hr = S_OK;
        {
            CLock lock(Lock());
            if (!m_open) hr = E_UNEXPECTED;
            m_open = false;
            m_script = zqdev::DeviceScript();
        }
        return HrLogged(L"Close()", hr);
    }
    STDMETHODIMP SetOptions(DWORD a, DWORD b, DWORD c, DWORD d, DWORD e, DWORD f, DWORD g) override {
        HRESULT hr = S_OK;
        {
            CLock lock(Lock());
            if (!m_open) hr = E_UNEXPECTED;
        }
        std::wstring args;
        for (DWORD v : {a, b, c, d, e, f, g}) args += (args.empty() ? L"" : L", ") + std::to_wstring(static_cast<LONG>(v));
        return HrLogged(L"SetOptions(" + args + L")", hr);
    }

private:
    // The list must be one of this server's, and the session open.
    HRESULT HrOwnList(IZQObjectList* pList, CObjectList** ppList) {
        {
            CLock lock(Lock());
            if (!m_open) return E_UNEXPECTED;
        }
        if (!pList) return E_POINTER;
        IZQObjectList* own = nullptr;
        if (FAILED(pList->QueryInterface(IID_ZQObjectListSelf, reinterpret_cast<void**>(&own))) || !own)
            return E_INVALIDARG;
        *ppList = static_cast<CObjectList*>(own);
        return S_OK;
    }

    bool m_open = false;
    zqdev::DeviceScript m_script;
};

const zqdev::ServerClass kClasses[] = {
    {&CLSID_ZQDeviceChannel, kZQDevChannelBit, L"ZQ device channel", &CChannel::HrCreate<CChannel>},
    {&CLSID_ZQObjectList, kZQDevListBit, L"ZQ device object list", &CObjectList::HrCreate<CObjectList>},
};

}  // namespace

const zqdev::ServerInfo zqdev::kServer = {L"zqdevapi", kClasses, 2};
