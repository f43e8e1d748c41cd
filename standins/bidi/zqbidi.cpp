// Stand-in of the spooler's bidirectional objects: BidiSpl binds a printer and answers "Get"
// requests of BidiRequest objects from that printer's bidi script (zqbidirecord.h).
#include <windows.h>
#include <objbase.h>
#include <winspool.h>
#include <bidispl.h>

#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "zqbidirecord.h"
#include "zqdevshared.h"

namespace {

// The published ids, declared here on their own.
constexpr CLSID kClsidBidiSpl = {0x2a614240, 0xa4c5, 0x4c33, {0xbd, 0x87, 0x1b, 0xc7, 0x09, 0x33, 0x16, 0x39}};
constexpr CLSID kClsidBidiRequest = {0xb9162a23, 0x45f9, 0x47cc, {0x80, 0xf5, 0xfe, 0x0f, 0xe9, 0xb9, 0xe1, 0xa2}};
constexpr IID kIidBidiSpl = {0xd580dc0e, 0xde39, 0x4649, {0xba, 0xa8, 0xbf, 0x0b, 0x85, 0xa0, 0x3a, 0x97}};
constexpr IID kIidBidiRequest = {0x8f348bd7, 0x4b47, 0x4755, {0x8a, 0x9d, 0x0f, 0x42, 0x2d, 0xf3, 0xdc, 0x89}};

// COM unloads this library with the last apartment of each sheet's thread, and the C++ runtime
// linked into it leaves blocks behind at every unload (its 73 KB exception pool among them): a
// process opening sheets would grow by that much each time. Kept loaded, it is set up once.
const bool g_bPinned = [] {
    HMODULE self = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCWSTR>(&g_bPinned), &self) != FALSE;
}();

void Log(const std::wstring& line) { zqstandin::VAppendLog(kZQBidiKey, L"Local\\ZQStandInsBidiLog", line); }

using zqdev::HrText;

DWORD Switch(const wchar_t* name) {
    DWORD value = 0, cb = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, kZQBidiKey, name, RRF_RT_REG_DWORD, nullptr, &value, &cb) == ERROR_SUCCESS
               ? value
               : 0;
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
}

std::wstring Widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

struct Answer {
    std::wstring schema;  // as the script spells it
    DWORD type = BIDI_NULL;
    std::vector<BYTE> data;
    std::wstring text;  // the value as a text, for wrong-type answers
};
using Script = std::map<std::wstring, Answer>;  // by lower-case schema

std::vector<BYTE> TextBytes(const std::wstring& text) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t));
}

// One line "<schema> <type> <value>"; false when malformed.
bool ParseLine(const std::string& line, Script& script) {
    std::istringstream in(line);
    std::string schema, type;
    if (!(in >> schema >> type) || schema.empty() || schema[0] != '/') return false;
    std::string rest;
    std::getline(in, rest);
    const size_t first = rest.find_first_not_of(" \t"), last = rest.find_last_not_of(" \t\r");
    rest = first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
    Answer a;
    a.schema = Widen(schema);
    if (type == "int") {
        char* end = nullptr;
        const long value = std::strtol(rest.c_str(), &end, 10);
        if (rest.empty() || *end) return false;
        const LONG v = static_cast<LONG>(value);
        a.type = BIDI_INT;
        a.data.assign(reinterpret_cast<const BYTE*>(&v), reinterpret_cast<const BYTE*>(&v) + sizeof v);
        a.text = Widen(rest);
    } else if (type == "bool") {
        if (rest != "true" && rest != "false") return false;
        const BOOL v = rest == "true";
        a.type = BIDI_BOOL;
        a.data.assign(reinterpret_cast<const BYTE*>(&v), reinterpret_cast<const BYTE*>(&v) + sizeof v);
        a.text = Widen(rest);
    } else if (type == "string") {
        if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') return false;
        a.type = BIDI_STRING;
        a.text = Widen(rest.substr(1, rest.size() - 2));
        a.data = TextBytes(a.text);
    } else {
        return false;
    }
    return script.emplace(Lower(a.schema), a).second;
}

bool ReadScript(const std::wstring& path, Script& script, std::wstring& why) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        why = L"cannot be read";
        return false;
    }
    std::string line;
    for (int n = 1; std::getline(file, line); ++n) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!ParseLine(line, script)) {
            why = L"line " + std::to_wstring(n) + L" is malformed";
            script.clear();
            return false;
        }
    }
    return true;
}

class CRequest final : public zqdev::CObject<IBidiRequest> {
public:
    CRequest() : CObject(nullptr, kIidBidiRequest) { s_live.push_back(this); }
    ~CRequest() override {
        for (size_t i = 0; i < s_live.size(); ++i)
            if (s_live[i] == this) s_live.erase(s_live.begin() + static_cast<long>(i));
    }

    STDMETHODIMP SetSchema(const LPCWSTR pszSchema) override {
        m_schema = pszSchema ? pszSchema : L"";
        const HRESULT hr = pszSchema ? S_OK : E_POINTER;
        Log(L"Request.SetSchema(" + zqstandin::Quoted(pszSchema) + L") = " + HrText(hr));
        return hr;
    }
    STDMETHODIMP SetInputData(const DWORD dwType, const BYTE*, const UINT uSize) override {
        Log(L"Request.SetInputData(" + std::to_wstring(dwType) + L", " + std::to_wstring(uSize) + L") = 0x00000000");
        return S_OK;
    }
    STDMETHODIMP GetResult(HRESULT* phr) override {
        if (!phr) return E_POINTER;
        *phr = m_sent ? (m_answered ? S_OK : HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED)) : E_UNEXPECTED;
        Log(L"Request.GetResult() = 0x00000000, " + HrText(*phr));
        return S_OK;
    }
    STDMETHODIMP GetOutputData(const DWORD dwIndex, LPWSTR* ppszSchema, DWORD* pdwType, BYTE** ppData,
                               ULONG* uSize) override {
        if (!ppszSchema || !pdwType || !ppData || !uSize) return E_POINTER;
        *ppszSchema = nullptr;
        *ppData = nullptr;
        *uSize = 0;
        HRESULT hr = m_answered && dwIndex == 0 ? S_OK : E_INVALIDARG;
        if (SUCCEEDED(hr)) {
            const size_t cbSchema = (m_answer.schema.size() + 1) * sizeof(wchar_t);
            *ppszSchema = static_cast<LPWSTR>(CoTaskMemAlloc(cbSchema));
            *ppData = static_cast<BYTE*>(CoTaskMemAlloc(m_answer.data.size()));
            if (!*ppszSchema || !*ppData) {
                CoTaskMemFree(*ppszSchema);
                CoTaskMemFree(*ppData);
                *ppszSchema = nullptr;
                *ppData = nullptr;
                hr = E_OUTOFMEMORY;
            } else {
                memcpy(*ppszSchema, m_answer.schema.c_str(), cbSchema);
                memcpy(*ppData, m_answer.data.data(), m_answer.data.size());
                *pdwType = m_answer.type;
                *uSize = static_cast<ULONG>(m_answer.data.size());
            }
        }
        Log(L"Request.GetOutputData(" + std::to_wstring(dwIndex) + L") = " + HrText(hr));
        return hr;
    }
    STDMETHODIMP GetEnumCount(DWORD* pdwTotal) override {
        if (!pdwTotal) return E_POINTER;
        *pdwTotal = m_answered ? 1 : 0;
        Log(L"Request.GetEnumCount() = 0x00000000, " + std::to_wstring(*pdwTotal));
        return S_OK;
    }

    // The printer's answer to this request, as SendRecv hands it over.
    void Respond(const Script& script) {
        m_sent = true;
        const auto it = script.find(Lower(m_schema));
        m_answered = it != script.end();
        if (!m_answered) return;
        m_answer = it->second;
        if (Switch(L"WrongType") && m_answer.type != BIDI_STRING) {
            m_answer.type = BIDI_STRING;
            m_answer.data = TextBytes(m_answer.text);
        }
    }

    // This stand-in's own requests, told from anything else handed to SendRecv.
    static CRequest* From(IBidiRequest* p) {
        for (CRequest* r : s_live)
            if (static_cast<IBidiRequest*>(r) == p) return r;
        return nullptr;
    }
    static std::vector<CRequest*> s_live;

private:
    std::wstring m_schema;
    bool m_sent = false;
    bool m_answered = false;
    Answer m_answer;
};
std::vector<CRequest*> CRequest::s_live;

class CSpl final : public zqdev::CObject<IBidiSpl> {
public:
    CSpl() : CObject(nullptr, kIidBidiSpl) {}

    STDMETHODIMP BindDevice(const LPCWSTR pszDeviceName, const DWORD dwAccess) override {
        HRESULT hr = static_cast<HRESULT>(Switch(L"FailBind"));
        std::wstring why;
        if (SUCCEEDED(hr) && m_bound) hr = E_UNEXPECTED;
        if (SUCCEEDED(hr) && !pszDeviceName) hr = E_POINTER;
        if (SUCCEEDED(hr)) {
            const std::wstring path = zqdev::ScriptPathFor(pszDeviceName, kZQBidiScriptsKey, L".zqb");
            if (path.empty()) {
                hr = HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
            } else if (!ReadScript(path, m_script, why)) {
                Log(L"script " + zqstandin::Quoted(path.c_str()) + L" " + why);
                hr = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
            }
        }
        m_bound = SUCCEEDED(hr);
        Log(L"Spl.BindDevice(" + zqstandin::Quoted(pszDeviceName) + L", " + std::to_wstring(dwAccess) + L") = " +
            HrText(hr));
        return hr;
    }
    STDMETHODIMP UnbindDevice() override {
        const HRESULT hr = m_bound ? S_OK : E_HANDLE;
        m_bound = false;
        m_script.clear();
        Log(L"Spl.UnbindDevice() = " + HrText(hr));
        return hr;
    }
    STDMETHODIMP SendRecv(const LPCWSTR pszAction, IBidiRequest* pRequest) override {
        HRESULT hr = static_cast<HRESULT>(Switch(L"FailSendRecv"));
        CRequest* request = CRequest::From(pRequest);
        if (SUCCEEDED(hr) && !m_bound) hr = E_HANDLE;
        if (SUCCEEDED(hr) && (!pszAction || wcscmp(pszAction, BIDI_ACTION_GET) != 0)) hr = E_NOTIMPL;
        if (SUCCEEDED(hr) && !request) hr = E_INVALIDARG;
        if (SUCCEEDED(hr)) request->Respond(m_script);
        Log(L"Spl.SendRecv(" + zqstandin::Quoted(pszAction) + L") = " + HrText(hr));
        return hr;
    }
    STDMETHODIMP MultiSendRecv(const LPCWSTR, IBidiRequestContainer*) override {
        Log(L"Spl.MultiSendRecv() = " + HrText(E_NOTIMPL));
        return E_NOTIMPL;
    }

private:
    bool m_bound = false;
    Script m_script;
};

const zqdev::ServerClass kClasses[] = {
    {&kClsidBidiSpl, 0, L"Bidi spooler stand-in", &zqdev::CObject<IBidiSpl>::HrCreate<CSpl>},
    {&kClsidBidiRequest, 0, L"Bidi request stand-in", &zqdev::CObject<IBidiRequest>::HrCreate<CRequest>},
};

}  // namespace

// Registration and class objects as the device-server stand-ins have them.
const zqdev::ServerInfo zqdev::kServer = {L"zqbidi", kClasses, 2};
