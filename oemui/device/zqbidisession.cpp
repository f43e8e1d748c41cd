#include "device/zqbidisession.h"

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

constexpr WCHAR kPenStatus[] = L"/Printer/PenStatus";
constexpr WCHAR kDuplexUnit[] = L"/Printer/Installableoption/Duplexunit";
constexpr WCHAR kInputBin[] = L"/Printer/InputBin";
constexpr WCHAR kDynamicCounters[] = L"/Printer/DynamicCounterInfo";

BOOL Fail(HRESULT hr) {
    SetLastError(static_cast<DWORD>(hr));
    return FALSE;
}

}  // namespace

BOOL CZQBidiSession::BOpen(LPCWSTR pszPrinterName) {
    ZQ_TRACE("CZQBidiSession::BOpen");
    if (m_pBidi || m_bComInitialized) return Fail(E_UNEXPECTED);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return Fail(hr);
    m_bComInitialized = TRUE;
    hr = CoCreateInstance(CLSID_BidiSpl, nullptr, CLSCTX_INPROC_SERVER, IID_IBidiSpl, reinterpret_cast<void**>(&m_pBidi));
    if (FAILED(hr)) {
        m_pBidi = nullptr;
        return Fail(hr);
    }
    hr = m_pBidi->BindDevice(pszPrinterName, BIDI_ACCESS_USER);
    if (FAILED(hr)) return Fail(hr);
    m_bBound = TRUE;
    return TRUE;
}

void CZQBidiSession::VClose() {
    if (m_pBidi) {
        if (m_bBound) m_pBidi->UnbindDevice();
        m_pBidi->Release();
        m_pBidi = nullptr;
    }
    m_bBound = FALSE;
    if (m_bComInitialized) {
        m_bComInitialized = FALSE;
        CoUninitialize();
    }
}

int CZQBidiSession::BQueryPenStatus() { return IQuery(kPenStatus, &m_iPenStatus, 0); }

int CZQBidiSession::BQueryDuplexUnit() { return IQuery(kDuplexUnit, &m_iDuplexUnit, -1); }

int CZQBidiSession::BQueryInputBins() { return IQuery(kInputBin, &m_iInputBins, -1); }

int CZQBidiSession::IQuery(LPCWSTR pszSchema, int* piField, int iReset) {
    *piField = iReset;
    if (!m_bBound || !m_pBidi) return iReset;
    CZQComPtr<IBidiRequest> request;
    *request.Put() = PCreateRequest(pszSchema);
    if (!request) return *piField;
    const HRESULT hr = m_pBidi->SendRecv(BIDI_ACTION_GET, request.Get());
    if (FAILED(hr))
        SetLastError(static_cast<DWORD>(hr));
    else
        VCollectResults(request.Get());
    return *piField;
}

IBidiRequest* CZQBidiSession::PCreateRequest(LPCWSTR pszSchema) {
    IBidiRequest* request = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_BidiRequest, nullptr, CLSCTX_INPROC_SERVER, IID_IBidiRequest,
                                  reinterpret_cast<void**>(&request));
    if (FAILED(hr) || !request) {
        SetLastError(static_cast<DWORD>(hr));
        return nullptr;
    }
    hr = request->SetSchema(pszSchema);
    if (FAILED(hr)) {
        SetLastError(static_cast<DWORD>(hr));
        request->Release();
        return nullptr;
    }
    return request;
}

BOOL CZQBidiSession::VCollectResults(IBidiRequest* pRequest) {
    if (!pRequest) return FALSE;
    // The request's own result is not looked at: its answers say what came.
    HRESULT requestResult = S_OK;
    DWORD count = 0;
    if (FAILED(pRequest->GetResult(&requestResult)) || FAILED(pRequest->GetEnumCount(&count))) return FALSE;
    for (DWORD i = 0; i < count; ++i) {
        LPWSTR schema = nullptr;
        DWORD type = BIDI_NULL;
        BYTE* data = nullptr;
        ULONG cb = 0;
        if (FAILED(pRequest->GetOutputData(i, &schema, &type, &data, &cb))) return FALSE;
        BTakeResult(schema, type, data, cb);
        CoTaskMemFree(data);
        CoTaskMemFree(schema);
    }
    return TRUE;
}

BOOL CZQBidiSession::BTakeResult(LPCWSTR pszSchema, DWORD dwType, const BYTE* pData, DWORD cbData) {
    if (!pszSchema) return FALSE;
    if (dwType != BIDI_INT && dwType != BIDI_BOOL) return FALSE;
    // A value shorter than its type is no answer.
    if (!pData || cbData < sizeof(LONG)) return TRUE;
    LONG value = 0;
    memcpy(&value, pData, sizeof value);
    if (dwType == BIDI_BOOL) {
        if (ZQEqualNoCase(pszSchema, kDynamicCounters)) m_bDynamicCounters = value != 0;
        return TRUE;
    }
    if (ZQEqualNoCase(pszSchema, kPenStatus))
        m_iPenStatus = value;
    else if (ZQEqualNoCase(pszSchema, kDuplexUnit))
        m_iDuplexUnit = value;
    else if (ZQEqualNoCase(pszSchema, kInputBin))
        m_iInputBins = value;
    return TRUE;
}
