#include "zqmemprinter.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace zqspool {
namespace {

CZQMemoryPrinter* g_pPrinter = nullptr;

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// "\A\\B\" -> "A\B": the spooler ignores empty path parts.
std::wstring NormaliseKey(LPCWSTR key) {
    std::wstring out;
    std::wstring part;
    for (const wchar_t* p = key ? key : L"";; ++p) {
        if (*p == L'\\' || *p == 0) {
            if (!part.empty()) {
                if (!out.empty()) out += L'\\';
                out += part;
                part.clear();
            }
            if (*p == 0) break;
        } else {
            part += *p;
        }
    }
    return out;
}

// Lays out a record with its strings after it, the way the spooler fills caller buffers: one pass
// to measure, one to write.
class CPacker {
public:
    CPacker(BYTE* base, size_t fixedSize) : m_base(base), m_offset(fixedSize) {}
    LPWSTR Str(const std::wstring& s) {
        const size_t cb = (s.size() + 1) * sizeof(WCHAR);
        LPWSTR p = nullptr;
        if (m_base) {
            p = reinterpret_cast<LPWSTR>(m_base + m_offset);
            std::memcpy(p, s.c_str(), cb);
        }
        m_offset += cb;
        return p;
    }
    LPWSTR StrOrNull(const std::wstring& s) { return s.empty() ? nullptr : Str(s); }
    BYTE* Bytes(const void* data, size_t cb) {
        m_offset = (m_offset + 7) & ~size_t(7);
        BYTE* p = nullptr;
        if (m_base) {
            p = m_base + m_offset;
            if (cb) std::memcpy(p, data, cb);
        }
        m_offset += cb;
        return p;
    }
    size_t Size() const { return m_offset; }

private:
    BYTE* m_base;
    size_t m_offset;
};

// Runs fill once to measure and, when the caller's buffer is big enough, once to write.
template <typename Fill>
BOOL PackInto(LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded, Fill fill) {
    const size_t needed = fill(nullptr);
    if (pcbNeeded) *pcbNeeded = static_cast<DWORD>(needed);
    if (!pBuf || cbBuf < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memset(pBuf, 0, needed);
    fill(pBuf);
    return TRUE;
}

BOOL FailBool(DWORD error) {
    SetLastError(error);
    return FALSE;
}

#define ZQ_MEM_ENTER_BOOL(call)                                  \
    CZQMemoryPrinter* mp = g_pPrinter;                           \
    DWORD injected = 0;                                          \
    if (!mp) return FailBool(ERROR_INVALID_HANDLE);              \
    if (mp->Failing(MemCall::call, &injected)) return FailBool(injected)

#define ZQ_MEM_ENTER_DWORD(call)                    \
    CZQMemoryPrinter* mp = g_pPrinter;              \
    DWORD injected = 0;                             \
    if (!mp) return ERROR_INVALID_HANDLE;           \
    if (mp->Failing(MemCall::call, &injected)) return injected

// ---- printers and handles
BOOL MemOpenPrinterW(LPWSTR pName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
    ZQ_MEM_ENTER_BOOL(OpenPrinter);
    if (!phPrinter) return FailBool(ERROR_INVALID_PARAMETER);
    *phPrinter = nullptr;
    if (!mp->IsMyName(pName)) return FailBool(ERROR_INVALID_PRINTER_NAME);
    HANDLE h = mp->Open(pDefault ? pDefault->DesiredAccess : PRINTER_ACCESS_USE);
    if (!h) return FailBool(ERROR_ACCESS_DENIED);
    *phPrinter = h;
    return TRUE;
}

BOOL MemClosePrinter(HANDLE h) {
    ZQ_MEM_ENTER_BOOL(ClosePrinter);
    if (!mp->m_handles.erase(h)) return FailBool(ERROR_INVALID_HANDLE);
    return TRUE;
}

BOOL MemGetPrinterW(HANDLE h, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_BOOL(GetPrinter);
    if (!mp->ValidHandle(h)) return FailBool(ERROR_INVALID_HANDLE);
    if (level != 2) return FailBool(ERROR_INVALID_LEVEL);
    const MemPrinterIdentity& id = mp->m_identity;
    return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, sizeof(PRINTER_INFO_2W));
        PRINTER_INFO_2W pi = {};
        pi.pServerName = pk.StrOrNull(id.server);
        pi.pPrinterName = pk.Str(id.server.empty() ? id.name : id.server + L"\\" + id.name);
        pi.pShareName = pk.StrOrNull(id.shareName);
        pi.pPortName = pk.Str(id.port);
        pi.pDriverName = pk.Str(id.driverName);
        pi.pComment = pk.StrOrNull(id.comment);
        pi.pLocation = pk.StrOrNull(id.location);
        pi.pPrintProcessor = pk.Str(id.printProcessor);
        pi.pDatatype = pk.Str(id.datatype);
        pi.Attributes = id.server.empty() ? PRINTER_ATTRIBUTE_LOCAL : PRINTER_ATTRIBUTE_NETWORK;
        if (base) std::memcpy(base, &pi, sizeof pi);
        return pk.Size();
    });
}

// Level 2 changes what the record names; the spooler refuses a print processor it does not have.
BOOL MemSetPrinterW(HANDLE h, DWORD level, LPBYTE pPrinter, DWORD command) {
    ZQ_MEM_ENTER_BOOL(SetPrinter);
    if (DWORD e = mp->WriteCheck(h)) return FailBool(e);
    if (command != 0 || !pPrinter) return FailBool(ERROR_INVALID_PARAMETER);
    if (level != 2) return FailBool(ERROR_INVALID_LEVEL);
    const auto* pi = reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
    MemPrinterIdentity& id = mp->m_identity;
    if (pi->pPrintProcessor) {
        const std::wstring want = Lower(pi->pPrintProcessor);
        const auto& installed = id.installedPrintProcessors;
        if (std::none_of(installed.begin(), installed.end(), [&](const std::wstring& p) { return Lower(p) == want; }))
            return FailBool(ERROR_UNKNOWN_PRINTPROCESSOR);
        id.printProcessor = pi->pPrintProcessor;
    }
    if (pi->pPortName) id.port = pi->pPortName;
    if (pi->pComment) id.comment = pi->pComment;
    if (pi->pLocation) id.location = pi->pLocation;
    if (pi->pDatatype) id.datatype = pi->pDatatype;
    return TRUE;
}

BOOL MemEnumPrintProcessorsW(LPWSTR, LPWSTR, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded,
                             LPDWORD pcReturned) {
    ZQ_MEM_ENTER_BOOL(EnumPrintProcessors);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    if (pcReturned) *pcReturned = 0;
    const auto& names = mp->m_identity.installedPrintProcessors;
    BOOL ok = PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, names.size() * sizeof(PRINTPROCESSOR_INFO_1W));
        for (size_t i = 0; i < names.size(); ++i) {
            PRINTPROCESSOR_INFO_1W info = {pk.Str(names[i])};
            if (base) std::memcpy(base + i * sizeof info, &info, sizeof info);
        }
        return pk.Size();
    });
    if (ok && pcReturned) *pcReturned = static_cast<DWORD>(names.size());
    return ok;
}

BOOL MemEnumPrintProcessorDatatypesW(LPWSTR, LPWSTR, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded,
                                     LPDWORD pcReturned) {
    ZQ_MEM_ENTER_BOOL(EnumPrintProcessorDatatypes);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    if (pcReturned) *pcReturned = 0;
    const auto& names = mp->m_identity.datatypes;
    BOOL ok = PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, names.size() * sizeof(DATATYPES_INFO_1W));
        for (size_t i = 0; i < names.size(); ++i) {
            DATATYPES_INFO_1W info = {pk.Str(names[i])};
            if (base) std::memcpy(base + i * sizeof info, &info, sizeof info);
        }
        return pk.Size();
    });
    if (ok && pcReturned) *pcReturned = static_cast<DWORD>(names.size());
    return ok;
}

BOOL MemGetPrintProcessorDirectoryW(LPWSTR, LPWSTR, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_BOOL(GetPrintProcessorDirectory);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    const std::wstring& dir = mp->m_identity.printProcessorDirectory;
    return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, 0);
        pk.Str(dir);
        return pk.Size();
    });
}

BOOL MemGetPrinterDriverW(HANDLE h, LPWSTR, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_BOOL(GetPrinterDriver);
    if (!mp->ValidHandle(h)) return FailBool(ERROR_INVALID_HANDLE);
    if (level < 1 || level > 3) return FailBool(ERROR_INVALID_LEVEL);
    const MemPrinterIdentity& id = mp->m_identity;
    // Level 1 is the name alone.
    if (level == 1)
        return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
            CPacker pk(base, sizeof(DRIVER_INFO_1W));
            DRIVER_INFO_1W di = {pk.Str(id.driverName)};
            if (base) std::memcpy(base, &di, sizeof di);
            return pk.Size();
        });
    // Without a driver directory the record names the files alone.
    auto inDir = [&](const std::wstring& file) {
        return file.empty() || id.driverDirectory.empty() ? file : id.driverDirectory + L"\\" + file;
    };
    // Level 2 is the first part of the level-3 record.
    const size_t fixed = level == 2 ? sizeof(DRIVER_INFO_2W) : sizeof(DRIVER_INFO_3W);
    return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, fixed);
        DRIVER_INFO_3W di = {};
        di.cVersion = 3;
        di.pName = pk.Str(id.driverName);
        di.pEnvironment = pk.Str(id.environment);
        di.pDriverPath = pk.Str(inDir(id.driverFile));
        di.pDataFile = pk.Str(inDir(id.dataFile));
        di.pConfigFile = pk.Str(inDir(id.configFile));
        if (level == 3) {
            di.pHelpFile = pk.StrOrNull(inDir(id.helpFile));
            std::wstring multi;
            for (const auto& f : id.dependentFiles) {
                multi += inDir(f);
                multi += L'\0';
            }
            if (!multi.empty()) di.pDependentFiles = pk.Str(multi);  // Str adds the list's final zero
            di.pDefaultDataType = pk.Str(id.datatype);
        }
        if (base) std::memcpy(base, &di, fixed);
        return pk.Size();
    });
}

BOOL MemGetJobW(HANDLE h, DWORD jobId, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_BOOL(GetJob);
    if (!mp->ValidHandle(h)) return FailBool(ERROR_INVALID_HANDLE);
    if (level != 2) return FailBool(ERROR_INVALID_LEVEL);
    auto it = mp->m_jobs.find(jobId);
    if (it == mp->m_jobs.end()) return FailBool(ERROR_INVALID_PARAMETER);
    const MemJob& job = it->second;
    const MemPrinterIdentity& id = mp->m_identity;
    return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, sizeof(JOB_INFO_2W));
        JOB_INFO_2W ji = {};
        ji.JobId = job.id;
        ji.pPrinterName = pk.Str(id.name);
        ji.pUserName = pk.Str(job.user);
        ji.pDocument = pk.StrOrNull(job.document);
        ji.pDatatype = pk.StrOrNull(job.datatype);
        ji.pPrintProcessor = pk.Str(id.printProcessor);
        ji.pDriverName = pk.Str(id.driverName);
        ji.Submitted = job.submitted;
        if (base) std::memcpy(base, &ji, sizeof ji);
        return pk.Size();
    });
}

// ---- printer data
DWORD GetData(CZQMemoryPrinter* mp, HANDLE h, LPCWSTR key, LPCWSTR value, LPDWORD pType, LPBYTE pData, DWORD cb,
              LPDWORD pcbNeeded) {
    if (!mp->ValidHandle(h)) return ERROR_INVALID_HANDLE;
    const std::wstring k = NormaliseKey(key);
    if (k.empty() || !value) return ERROR_INVALID_PARAMETER;
    CZQMemoryPrinter::KeyData* kd = mp->FindKey(k);
    if (!kd) return ERROR_FILE_NOT_FOUND;
    auto it = kd->values.find(Lower(value));
    if (it == kd->values.end()) return ERROR_FILE_NOT_FOUND;
    const auto& v = it->second;
    if (pType) *pType = v.type;
    if (pcbNeeded) *pcbNeeded = static_cast<DWORD>(v.data.size());
    if (cb < v.data.size() || (!pData && !v.data.empty())) return ERROR_MORE_DATA;
    if (!v.data.empty()) std::memcpy(pData, v.data.data(), v.data.size());
    return ERROR_SUCCESS;
}

DWORD SetData(CZQMemoryPrinter* mp, HANDLE h, LPCWSTR key, LPCWSTR value, DWORD type, LPBYTE pData, DWORD cb) {
    if (DWORD e = mp->WriteCheck(h)) return e;
    const std::wstring k = NormaliseKey(key);
    if (k.empty() || !value || (!pData && cb)) return ERROR_INVALID_PARAMETER;
    mp->PutValue(k, value, type, pData, cb);
    return ERROR_SUCCESS;
}

DWORD DeleteData(CZQMemoryPrinter* mp, HANDLE h, LPCWSTR key, LPCWSTR value) {
    if (DWORD e = mp->WriteCheck(h)) return e;
    const std::wstring k = NormaliseKey(key);
    if (k.empty() || !value) return ERROR_INVALID_PARAMETER;
    CZQMemoryPrinter::KeyData* kd = mp->FindKey(k);
    if (!kd || !kd->values.erase(Lower(value))) return ERROR_FILE_NOT_FOUND;
    return ERROR_SUCCESS;
}

DWORD MemGetPrinterDataW(HANDLE h, LPWSTR value, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_DWORD(GetPrinterData);
    return GetData(mp, h, CZQMemoryPrinter::kRootKey, value, pType, pData, cb, pcbNeeded);
}

DWORD MemGetPrinterDataExW(HANDLE h, LPCWSTR key, LPCWSTR value, LPDWORD pType, LPBYTE pData, DWORD cb,
                           LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_DWORD(GetPrinterDataEx);
    return GetData(mp, h, key, value, pType, pData, cb, pcbNeeded);
}

DWORD MemSetPrinterDataW(HANDLE h, LPWSTR value, DWORD type, LPBYTE pData, DWORD cb) {
    ZQ_MEM_ENTER_DWORD(SetPrinterData);
    return SetData(mp, h, CZQMemoryPrinter::kRootKey, value, type, pData, cb);
}

DWORD MemSetPrinterDataExW(HANDLE h, LPCWSTR key, LPCWSTR value, DWORD type, LPBYTE pData, DWORD cb) {
    ZQ_MEM_ENTER_DWORD(SetPrinterDataEx);
    return SetData(mp, h, key, value, type, pData, cb);
}

DWORD MemDeletePrinterDataW(HANDLE h, LPWSTR value) {
    ZQ_MEM_ENTER_DWORD(DeletePrinterData);
    return DeleteData(mp, h, CZQMemoryPrinter::kRootKey, value);
}

DWORD MemDeletePrinterDataExW(HANDLE h, LPCWSTR key, LPCWSTR value) {
    ZQ_MEM_ENTER_DWORD(DeletePrinterDataEx);
    return DeleteData(mp, h, key, value);
}

DWORD MemDeletePrinterKeyW(HANDLE h, LPCWSTR key) {
    ZQ_MEM_ENTER_DWORD(DeletePrinterKey);
    if (DWORD e = mp->WriteCheck(h)) return e;
    const std::wstring k = NormaliseKey(key);
    if (k.empty()) return ERROR_INVALID_PARAMETER;
    if (!mp->FindKey(k)) return ERROR_FILE_NOT_FOUND;
    mp->DeleteKeyTree(k);
    return ERROR_SUCCESS;
}

DWORD MemEnumPrinterDataW(HANDLE h, DWORD index, LPWSTR pValueName, DWORD cbValueName, LPDWORD pcbValueName,
                          LPDWORD pType, LPBYTE pData, DWORD cbData, LPDWORD pcbData) {
    ZQ_MEM_ENTER_DWORD(EnumPrinterData);
    if (!mp->ValidHandle(h)) return ERROR_INVALID_HANDLE;
    CZQMemoryPrinter::KeyData* kd = mp->FindKey(CZQMemoryPrinter::kRootKey);
    if (!kd || index >= kd->values.size()) return ERROR_NO_MORE_ITEMS;
    if (cbValueName == 0 && cbData == 0) {
        // Sizes of the largest name and data, so one buffer pair serves the whole enumeration.
        DWORD maxName = 0, maxData = 0;
        for (const auto& [lower, v] : kd->values) {
            maxName = std::max<DWORD>(maxName, static_cast<DWORD>((v.name.size() + 1) * sizeof(WCHAR)));
            maxData = std::max<DWORD>(maxData, static_cast<DWORD>(v.data.size()));
        }
        if (pcbValueName) *pcbValueName = maxName;
        if (pcbData) *pcbData = maxData;
        return ERROR_SUCCESS;
    }
    auto it = kd->values.begin();
    std::advance(it, index);
    const auto& v = it->second;
    const DWORD cbName = static_cast<DWORD>((v.name.size() + 1) * sizeof(WCHAR));
    if (pcbValueName) *pcbValueName = cbName;
    if (pcbData) *pcbData = static_cast<DWORD>(v.data.size());
    if (pType) *pType = v.type;
    if (!pValueName || cbValueName < cbName || cbData < v.data.size() || (!pData && !v.data.empty()))
        return ERROR_MORE_DATA;
    std::memcpy(pValueName, v.name.c_str(), cbName);
    if (!v.data.empty()) std::memcpy(pData, v.data.data(), v.data.size());
    return ERROR_SUCCESS;
}

DWORD MemEnumPrinterDataExW(HANDLE h, LPCWSTR key, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded,
                            LPDWORD pcReturned) {
    ZQ_MEM_ENTER_DWORD(EnumPrinterDataEx);
    if (!mp->ValidHandle(h)) return ERROR_INVALID_HANDLE;
    const std::wstring k = NormaliseKey(key);
    if (k.empty()) return ERROR_INVALID_PARAMETER;
    CZQMemoryPrinter::KeyData* kd = mp->FindKey(k);
    if (!kd) return ERROR_FILE_NOT_FOUND;
    const size_t n = kd->values.size();
    auto fill = [&](BYTE* base) {
        CPacker pk(base, n * sizeof(PRINTER_ENUM_VALUESW));
        size_t i = 0;
        for (const auto& [lower, v] : kd->values) {
            PRINTER_ENUM_VALUESW ev = {};
            ev.pValueName = pk.Str(v.name);
            ev.cbValueName = static_cast<DWORD>((v.name.size() + 1) * sizeof(WCHAR));
            ev.dwType = v.type;
            ev.pData = pk.Bytes(v.data.data(), v.data.size());
            ev.cbData = static_cast<DWORD>(v.data.size());
            if (base) std::memcpy(base + i * sizeof ev, &ev, sizeof ev);
            ++i;
        }
        return pk.Size();
    };
    const size_t needed = fill(nullptr);
    if (pcbNeeded) *pcbNeeded = static_cast<DWORD>(needed);
    if (pcReturned) *pcReturned = 0;
    if (!pBuf || cbBuf < needed) return ERROR_MORE_DATA;
    std::memset(pBuf, 0, needed);
    fill(pBuf);
    if (pcReturned) *pcReturned = static_cast<DWORD>(n);
    return ERROR_SUCCESS;
}

DWORD MemEnumPrinterKeyW(HANDLE h, LPCWSTR key, LPWSTR pSubkey, DWORD cbSubkey, LPDWORD pcbSubkey) {
    ZQ_MEM_ENTER_DWORD(EnumPrinterKey);
    if (!mp->ValidHandle(h)) return ERROR_INVALID_HANDLE;
    const std::wstring k = NormaliseKey(key);
    if (!k.empty() && !mp->FindKey(k)) return ERROR_FILE_NOT_FOUND;
    std::wstring multi;
    for (const auto& s : mp->SubKeys(k)) {
        multi += s;
        multi += L'\0';
    }
    multi += L'\0';
    if (multi.size() == 1) multi += L'\0';
    const DWORD cb = static_cast<DWORD>(multi.size() * sizeof(WCHAR));
    if (pcbSubkey) *pcbSubkey = cb;
    if (!pSubkey || cbSubkey < cb) return ERROR_MORE_DATA;
    std::memcpy(pSubkey, multi.data(), cb);
    return ERROR_SUCCESS;
}

// ---- forms
size_t FillForm(CPacker& pk, BYTE* slot, const CZQMemoryPrinter::FormData& f) {
    FORM_INFO_1W fi = {};
    fi.Flags = f.flags;
    fi.pName = pk.Str(f.name);
    fi.Size = f.size;
    fi.ImageableArea = f.area;
    if (slot) std::memcpy(slot, &fi, sizeof fi);
    return pk.Size();
}

std::vector<CZQMemoryPrinter::FormData>::iterator FindForm(CZQMemoryPrinter* mp, LPCWSTR name) {
    const std::wstring want = Lower(name ? name : L"");
    return std::find_if(mp->m_forms.begin(), mp->m_forms.end(),
                        [&](const CZQMemoryPrinter::FormData& f) { return Lower(f.name) == want; });
}

BOOL MemEnumFormsW(HANDLE h, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) {
    ZQ_MEM_ENTER_BOOL(EnumForms);
    if (!mp->ValidHandle(h)) return FailBool(ERROR_INVALID_HANDLE);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    if (pcReturned) *pcReturned = 0;
    const auto& forms = mp->m_forms;
    BOOL ok = PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, forms.size() * sizeof(FORM_INFO_1W));
        for (size_t i = 0; i < forms.size(); ++i) FillForm(pk, base ? base + i * sizeof(FORM_INFO_1W) : nullptr, forms[i]);
        return pk.Size();
    });
    if (ok && pcReturned) *pcReturned = static_cast<DWORD>(forms.size());
    return ok;
}

BOOL MemGetFormW(HANDLE h, LPWSTR name, DWORD level, LPBYTE pBuf, DWORD cbBuf, LPDWORD pcbNeeded) {
    ZQ_MEM_ENTER_BOOL(GetForm);
    if (!mp->ValidHandle(h)) return FailBool(ERROR_INVALID_HANDLE);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    auto it = FindForm(mp, name);
    if (it == mp->m_forms.end()) return FailBool(ERROR_INVALID_FORM_NAME);
    return PackInto(pBuf, cbBuf, pcbNeeded, [&](BYTE* base) {
        CPacker pk(base, sizeof(FORM_INFO_1W));
        return FillForm(pk, base, *it);
    });
}

CZQMemoryPrinter::FormData FormFrom(const FORM_INFO_1W* fi) {
    CZQMemoryPrinter::FormData f;
    f.name = fi->pName ? fi->pName : L"";
    f.flags = fi->Flags;
    f.size = fi->Size;
    f.area = fi->ImageableArea;
    return f;
}

BOOL MemAddFormW(HANDLE h, DWORD level, LPBYTE pForm) {
    ZQ_MEM_ENTER_BOOL(AddForm);
    if (DWORD e = mp->WriteCheck(h)) return FailBool(e);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    const auto* fi = reinterpret_cast<const FORM_INFO_1W*>(pForm);
    if (!fi || !fi->pName || !*fi->pName) return FailBool(ERROR_INVALID_PARAMETER);
    if (FindForm(mp, fi->pName) != mp->m_forms.end()) return FailBool(ERROR_FILE_EXISTS);
    CZQMemoryPrinter::FormData f = FormFrom(fi);
    f.flags = FORM_USER;
    mp->m_forms.push_back(f);
    return TRUE;
}

BOOL MemSetFormW(HANDLE h, LPWSTR name, DWORD level, LPBYTE pForm) {
    ZQ_MEM_ENTER_BOOL(SetForm);
    if (DWORD e = mp->WriteCheck(h)) return FailBool(e);
    if (level != 1) return FailBool(ERROR_INVALID_LEVEL);
    auto it = FindForm(mp, name);
    if (it == mp->m_forms.end()) return FailBool(ERROR_INVALID_FORM_NAME);
    const auto* fi = reinterpret_cast<const FORM_INFO_1W*>(pForm);
    if (!fi) return FailBool(ERROR_INVALID_PARAMETER);
    it->size = fi->Size;
    it->area = fi->ImageableArea;
    return TRUE;
}

BOOL MemDeleteFormW(HANDLE h, LPWSTR name) {
    ZQ_MEM_ENTER_BOOL(DeleteForm);
    if (DWORD e = mp->WriteCheck(h)) return FailBool(e);
    auto it = FindForm(mp, name);
    if (it == mp->m_forms.end()) return FailBool(ERROR_INVALID_FORM_NAME);
    mp->m_forms.erase(it);
    return TRUE;
}

// ---- device capabilities
int MemDeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR, WORD capability, LPWSTR pOutput, const DEVMODEW*) {
    CZQMemoryPrinter* mp = g_pPrinter;
    DWORD injected = 0;
    if (!mp) return -1;
    if (mp->Failing(MemCall::DeviceCapabilities, &injected)) {
        SetLastError(injected);
        return -1;
    }
    if (!mp->IsMyName(pDevice)) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return -1;
    }
    auto it = mp->m_caps.find(capability);
    if (it == mp->m_caps.end()) return 0;
    CZQMemoryPrinter::Capability& cap = it->second;
    if (!pOutput) {
        if (cap.countFailures > 0) {
            --cap.countFailures;
            return -1;
        }
        return cap.announced >= 0 ? cap.announced : static_cast<int>(cap.count);
    }
    if (cap.dataFailures > 0) {
        --cap.dataFailures;
        return -1;
    }
    // Never more than announced: the caller sized its buffer from the count query.
    DWORD n = cap.count;
    if (cap.announced >= 0) n = std::min<DWORD>(n, static_cast<DWORD>(cap.announced));
    if (n) std::memcpy(pOutput, cap.entries.data(), size_t(n) * cap.entrySize);
    return static_cast<int>(n);
}

}  // namespace

CZQMemoryPrinter::CZQMemoryPrinter(const MemPrinterIdentity& identity) : m_identity(identity), m_api(MissingSpooler()) {
    m_api.OpenPrinterW = &MemOpenPrinterW;
    m_api.ClosePrinter = &MemClosePrinter;
    m_api.GetPrinterW = &MemGetPrinterW;
    m_api.SetPrinterW = &MemSetPrinterW;
    m_api.EnumPrintProcessorsW = &MemEnumPrintProcessorsW;
    m_api.EnumPrintProcessorDatatypesW = &MemEnumPrintProcessorDatatypesW;
    m_api.GetPrinterDriverW = &MemGetPrinterDriverW;
    m_api.GetPrintProcessorDirectoryW = &MemGetPrintProcessorDirectoryW;
    m_api.GetJobW = &MemGetJobW;
    m_api.GetPrinterDataW = &MemGetPrinterDataW;
    m_api.GetPrinterDataExW = &MemGetPrinterDataExW;
    m_api.SetPrinterDataW = &MemSetPrinterDataW;
    m_api.SetPrinterDataExW = &MemSetPrinterDataExW;
    m_api.DeletePrinterDataW = &MemDeletePrinterDataW;
    m_api.DeletePrinterDataExW = &MemDeletePrinterDataExW;
    m_api.DeletePrinterKeyW = &MemDeletePrinterKeyW;
    m_api.EnumPrinterDataW = &MemEnumPrinterDataW;
    m_api.EnumPrinterDataExW = &MemEnumPrinterDataExW;
    m_api.EnumPrinterKeyW = &MemEnumPrinterKeyW;
    m_api.EnumFormsW = &MemEnumFormsW;
    m_api.GetFormW = &MemGetFormW;
    m_api.AddFormW = &MemAddFormW;
    m_api.SetFormW = &MemSetFormW;
    m_api.DeleteFormW = &MemDeleteFormW;
    m_api.DeviceCapabilitiesW = &MemDeviceCapabilitiesW;
}

CZQMemoryPrinter::~CZQMemoryPrinter() { Uninstall(); }

void CZQMemoryPrinter::Install() {
    if (m_installed) return;
    m_pPrevious = SetSpooler(&m_api);
    g_pPrinter = this;
    m_installed = true;
}

void CZQMemoryPrinter::Uninstall() {
    if (!m_installed) return;
    SetSpooler(m_pPrevious);
    if (g_pPrinter == this) g_pPrinter = nullptr;
    m_installed = false;
}

HANDLE CZQMemoryPrinter::Open(ACCESS_MASK access) {
    if (m_restricted && (access & PRINTER_ACCESS_ADMINISTER)) return nullptr;
    HANDLE h = reinterpret_cast<HANDLE>(m_nextHandle);
    m_nextHandle += 8;
    m_handles[h] = access;
    return h;
}

void CZQMemoryPrinter::FailCall(MemCall call, DWORD error, int times, int after) {
    m_failures[static_cast<int>(call)] = {error, times, after};
}

bool CZQMemoryPrinter::Failing(MemCall call, DWORD* pError) {
    const int i = static_cast<int>(call);
    ++m_calls[i];
    Failure& f = m_failures[i];
    if (f.times == 0) return false;
    if (f.after > 0) {
        --f.after;
        return false;
    }
    if (f.times > 0) --f.times;
    *pError = f.error;
    return true;
}

DWORD CZQMemoryPrinter::WriteCheck(HANDLE h) const {
    auto it = m_handles.find(h);
    if (it == m_handles.end()) return ERROR_INVALID_HANDLE;
    if (m_readOnly || !(it->second & PRINTER_ACCESS_ADMINISTER)) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

bool CZQMemoryPrinter::IsMyName(LPCWSTR name) const {
    if (!name) return false;
    std::wstring n = name;
    const size_t comma = n.find(L',');
    if (comma != std::wstring::npos) n.resize(comma);
    const std::wstring full = m_identity.server.empty() ? m_identity.name : m_identity.server + L"\\" + m_identity.name;
    return Lower(n) == Lower(m_identity.name) || Lower(n) == Lower(full);
}

CZQMemoryPrinter::KeyData* CZQMemoryPrinter::FindKey(const std::wstring& key) {
    auto it = m_keys.find(Lower(NormaliseKey(key.c_str())));
    return it == m_keys.end() ? nullptr : &it->second;
}

CZQMemoryPrinter::KeyData& CZQMemoryPrinter::MakeKey(const std::wstring& key) {
    const std::wstring k = NormaliseKey(key.c_str());
    // Every key on the path exists, as in the registry the spooler keeps.
    size_t pos = 0;
    for (;;) {
        pos = k.find(L'\\', pos);
        const std::wstring part = k.substr(0, pos);
        KeyData& kd = m_keys[Lower(part)];
        if (kd.name.empty()) kd.name = part;
        if (pos == std::wstring::npos) return kd;
        ++pos;
    }
}

std::vector<std::wstring> CZQMemoryPrinter::SubKeys(const std::wstring& key) const {
    const std::wstring prefix = key.empty() ? std::wstring() : Lower(key) + L"\\";
    std::vector<std::wstring> out;
    for (const auto& [lower, kd] : m_keys) {
        if (lower.size() <= prefix.size() || lower.compare(0, prefix.size(), prefix) != 0) continue;
        if (lower.find(L'\\', prefix.size()) != std::wstring::npos) continue;
        out.push_back(kd.name.substr(prefix.size()));
    }
    return out;
}

void CZQMemoryPrinter::DeleteKeyTree(const std::wstring& key) {
    const std::wstring lower = Lower(key);
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (it->first == lower || it->first.compare(0, lower.size() + 1, lower + L"\\") == 0)
            it = m_keys.erase(it);
        else
            ++it;
    }
}

void CZQMemoryPrinter::AddForm(const std::wstring& name, LONG cx, LONG cy, DWORD flags) {
    FormData f;
    f.name = name;
    f.flags = flags;
    f.size = {cx, cy};
    f.area = {0, 0, cx, cy};
    m_forms.push_back(f);
}

void CZQMemoryPrinter::SetCapability(WORD capability, const void* entries, DWORD count, DWORD entrySize) {
    Capability& cap = m_caps[capability];
    const auto* p = static_cast<const BYTE*>(entries);
    cap.entries.assign(p, p + size_t(count) * entrySize);
    cap.count = count;
    cap.entrySize = entrySize;
}

void CZQMemoryPrinter::SetCapabilityAnnounced(WORD capability, int announced) { m_caps[capability].announced = announced; }

void CZQMemoryPrinter::SetCapabilityFailures(WORD capability, int countFailures, int dataFailures) {
    Capability& cap = m_caps[capability];
    cap.countFailures = countFailures;
    cap.dataFailures = dataFailures;
}

void CZQMemoryPrinter::PutValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                                DWORD cb) {
    KeyData& kd = MakeKey(key);
    ValueData& v = kd.values[Lower(name)];
    v.name = name;
    v.type = type;
    const auto* p = static_cast<const BYTE*>(data);
    v.data.assign(p, p + (p ? cb : 0));
}

void CZQMemoryPrinter::PutString(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    PutValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

bool CZQMemoryPrinter::GetValue(const std::wstring& key, const std::wstring& name, DWORD* pType,
                                std::vector<BYTE>* pData) const {
    auto it = m_keys.find(Lower(NormaliseKey(key.c_str())));
    if (it == m_keys.end()) return false;
    auto v = it->second.values.find(Lower(name));
    if (v == it->second.values.end()) return false;
    if (pType) *pType = v->second.type;
    if (pData) *pData = v->second.data;
    return true;
}

bool CZQMemoryPrinter::HasKey(const std::wstring& key) const { return m_keys.count(Lower(NormaliseKey(key.c_str()))) != 0; }

}  // namespace zqspool
