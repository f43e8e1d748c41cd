#include "zqsession.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "zqhostpage.h"
#include "zqprinter.h"

namespace {

constexpr DWORD kSheetMagic = 0x5A515348;
// More option items than a plug-in can mean; a larger count is a fault of the plug-in.
constexpr DWORD kMaxOemItems = 1000;
// Edit items hold their text in a buffer of this many characters.
constexpr int kEditChars = 256;

HINSTANCE ThisModule() {
    HMODULE h = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &h);
    return h;
}

void Trace(const std::wstring& text) { OutputDebugStringW((L"zqcoreui: " + text + L"\n").c_str()); }

}  // namespace

namespace zqitem {

bool IsListType(BYTE type) {
    return type == TVOT_2STATES || type == TVOT_3STATES || type == TVOT_LISTBOX || type == TVOT_COMBOBOX;
}

bool IsNumberType(BYTE type) { return type == TVOT_UDARROW || type == TVOT_TRACKBAR || type == TVOT_SCROLLBAR; }

bool IsReadable(const OPTITEM& item) {
    return item.pOptType && item.pOptType->pOptParam && item.pOptType->Count > 0 && item.pOptType->Count <= 1000;
}

}  // namespace zqitem

using zqitem::IsListType;
using zqitem::IsNumberType;

// -------------------------------------------------------------------------------------------------
// The callback table
// -------------------------------------------------------------------------------------------------
ZQCoreCallCounts& ZQCoreCalls() {
    static ZQCoreCallCounts counts = {};
    return counts;
}

BOOL APIENTRY ZQProcGetDriverSetting(PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded,
                                     PDWORD pdwOptionsReturned) {
    InterlockedIncrement(&ZQCoreCalls().lGetDriverSetting);
    CZQHostSession* session = CZQHostSession::FromContext(pdriverobj);
    if (!session) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return session->BGetDriverSetting(Feature, pOutput, cbSize, pcbNeeded, pdwOptionsReturned);
}

BOOL APIENTRY ZQProcUpdateUISetting(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) {
    InterlockedIncrement(&ZQCoreCalls().lUpdateUISetting);
    CZQHostSession* session = CZQHostSession::FromContext(pdriverobj);
    if (!session) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return session->BUpdateUISetting(pOptItem, dwPreviousSelection, dwMode);
}

// -------------------------------------------------------------------------------------------------
// Session
// -------------------------------------------------------------------------------------------------
CZQHostSession::CZQHostSession(DWORD mode) : m_dwMode(mode) {
    m_procs.DrvGetDriverSetting = ZQProcGetDriverSetting;
    m_procs.DrvUpdateUISetting = ZQProcUpdateUISetting;
    m_ctx.obj.cbSize = sizeof(OEMUIOBJ);
    m_ctx.obj.pOemUIProcs = &m_procs;
    m_ctx.dwMagic = kZQContextMagic;
    m_ctx.pSession = this;
    m_sheetTag.dwMagic = kSheetMagic;
    m_sheetTag.pSession = this;
    m_pDriverUI = ZQCreateDriverUI();
}

CZQHostSession::~CZQHostSession() {
    // Callers report the last error of their own work, not of the plug-in's unloading.
    const DWORD lastError = GetLastError();
    // The plug-in goes first: it may hold pointers into the heap and the context.
    m_plugin.VRelease();
    if (m_pDriverUI) m_pDriverUI->lpVtbl->Release(m_pDriverUI);
    m_ctx.dwMagic = 0;
    m_sheetTag.dwMagic = 0;
    SetLastError(lastError);
}

CZQHostSession* CZQHostSession::FromContext(PVOID pci) {
    auto* ctx = static_cast<ZQUIContext*>(pci);
    if (!ctx || ctx->dwMagic != kZQContextMagic || ctx->obj.cbSize != sizeof(OEMUIOBJ)) return nullptr;
    return ctx->pSession;
}

BOOL CZQHostSession::BOpenPrinter(HANDLE hPrinter, const wchar_t* printerName) {
    if (!hPrinter) {
        if (!printerName || !printerName[0] ||
            !OpenPrinterW(const_cast<LPWSTR>(printerName), m_ownedPrinter.Put(), nullptr)) {
            if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_INVALID_PRINTER_NAME);
            return FALSE;
        }
        hPrinter = m_ownedPrinter.Get();
    }
    m_hPrinter = hPrinter;
    if (printerName && printerName[0]) {
        m_printerName = printerName;
    } else {
        DWORD needed = 0;
        GetPrinterW(hPrinter, 2, nullptr, 0, &needed);
        std::vector<BYTE> buf(needed ? needed : 1);
        if (needed && GetPrinterW(hPrinter, 2, buf.data(), needed, &needed)) {
            const auto* pi = reinterpret_cast<const PRINTER_INFO_2W*>(buf.data());
            if (pi->pPrinterName) m_printerName = pi->pPrinterName;
        }
    }
    ZQDriverInfo di;
    if (!ZQGetDriverInfo(hPrinter, di)) return FALSE;
    m_driverDir = di.driverDir;
    std::wstring error;
    if (!ZQLoadModel(di.dataFile, m_model, error)) {
        Trace(error);
        return FALSE;
    }
    VResetValues();
    VApplySelections(ZQReadDeviceSettings(hPrinter), zqmodel::Scope::Device);
    VDefaultPublic();
    return TRUE;
}

void CZQHostSession::VUseModel(const zqmodel::Model& model, const wchar_t* printerName) {
    m_model = model;
    m_printerName = printerName ? printerName : L"";
    VResetValues();
    VDefaultPublic();
}

bool CZQHostSession::InScope(const zqmodel::Feature& f) const {
    return (m_dwMode == OEMCUIP_PRNPROP) == (f.scope == zqmodel::Scope::Device);
}

void CZQHostSession::VResetValues() {
    m_values.assign(m_model.features.size(), ZQValue());
    for (size_t i = 0; i < m_model.features.size(); ++i) {
        const auto& f = m_model.features[i];
        m_values[i].option = f.defaultOption;
        m_values[i].number = f.rangeDefault;
        m_values[i].text = ZQWide(f.editDefault);
    }
}

void CZQHostSession::VApplySelections(const zqhostdm::Selections& selections, zqmodel::Scope scope) {
    for (const auto& [keyword, value] : selections) {
        int f = m_model.FindFeature(keyword);
        if (f >= 0 && m_model.features[static_cast<size_t>(f)].scope == scope) BSetValueText(f, value);
    }
}

std::string CZQHostSession::ValueText(int feature) const {
    const auto& f = m_model.features[static_cast<size_t>(feature)];
    const ZQValue& v = m_values[static_cast<size_t>(feature)];
    switch (f.kind) {
        case zqmodel::Kind::Range: return std::to_string(v.number);
        case zqmodel::Kind::Edit: return ZQUtf8(v.text);
        default: return f.options[static_cast<size_t>(v.option)].keyword;
    }
}

BOOL CZQHostSession::BSetValueText(int feature, const std::string& text) {
    if (feature < 0 || static_cast<size_t>(feature) >= m_model.features.size()) return FALSE;
    const auto& f = m_model.features[static_cast<size_t>(feature)];
    ZQValue& v = m_values[static_cast<size_t>(feature)];
    switch (f.kind) {
        case zqmodel::Kind::Range: {
            if (text.empty() || text.size() > 11) return FALSE;
            char* end = nullptr;
            long n = std::strtol(text.c_str(), &end, 10);
            if (!end || *end || n < f.rangeMin || n > f.rangeMax) return FALSE;
            v.number = n;
            return TRUE;
        }
        case zqmodel::Kind::Edit: {
            std::wstring w = ZQWide(text);
            if (w.size() > static_cast<size_t>(f.editMax)) w.resize(static_cast<size_t>(f.editMax));
            v.text = w;
            return TRUE;
        }
        default: {
            int o = m_model.FindOption(feature, text);
            if (o < 0) return FALSE;
            v.option = o;
            return TRUE;
        }
    }
}

zqhostdm::Selections CZQHostSession::Selections(zqmodel::Scope scope) const {
    zqhostdm::Selections out;
    for (size_t i = 0; i < m_model.features.size(); ++i)
        if (m_model.features[i].scope == scope) out.emplace_back(m_model.features[i].keyword, ValueText(static_cast<int>(i)));
    return out;
}

std::wstring CZQHostSession::NameText(const zqmodel::Name& name) const { return ZQWide(m_model.NameText(name)); }

// -------------------------------------------------------------------------------------------------
// Public devmode
// -------------------------------------------------------------------------------------------------
void CZQHostSession::VDefaultPublic() {
    m_dmPublic = DEVMODEW();
    lstrcpynW(m_dmPublic.dmDeviceName, m_printerName.c_str(), CCHDEVICENAME);
    m_dmPublic.dmSpecVersion = DM_SPECVERSION;
    m_dmPublic.dmDriverVersion = 0x0100;
    m_dmPublic.dmSize = sizeof(DEVMODEW);
    m_dmPublic.dmFields = DM_SCALE;
    m_dmPublic.dmScale = 100;
    VValuesToPublic();
}

void CZQHostSession::VValuesToPublic() {
    DEVMODEW& dm = m_dmPublic;
    for (size_t i = 0; i < m_model.features.size(); ++i) {
        const auto& f = m_model.features[i];
        if (f.field == zqmodel::Field::None || f.scope != zqmodel::Scope::Document) continue;
        const ZQValue& v = m_values[i];
        if (f.field == zqmodel::Field::Copies) {
            if (f.kind == zqmodel::Kind::Range) dm.dmCopies = static_cast<short>(v.number);
            else if (!f.options.empty() && f.options[static_cast<size_t>(v.option)].hasId)
                dm.dmCopies = static_cast<short>(f.options[static_cast<size_t>(v.option)].id);
            dm.dmFields |= DM_COPIES;
            continue;
        }
        if (f.options.empty()) continue;
        const zqmodel::Option& o = f.options[static_cast<size_t>(v.option)];
        const short id = static_cast<short>(o.id);
        switch (f.field) {
            case zqmodel::Field::Orientation:
                if (o.hasId) dm.dmOrientation = id, dm.dmFields |= DM_ORIENTATION;
                break;
            case zqmodel::Field::Paper:
                if (o.hasId) dm.dmPaperSize = id, dm.dmFields |= DM_PAPERSIZE;
                if (o.width > 0 && o.length > 0) {
                    dm.dmPaperWidth = static_cast<short>(o.width);
                    dm.dmPaperLength = static_cast<short>(o.length);
                    dm.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
                }
                lstrcpynW(dm.dmFormName, NameText(o.name).c_str(), CCHFORMNAME);
                dm.dmFields |= DM_FORMNAME;
                break;
            case zqmodel::Field::Source:
                if (o.hasId) dm.dmDefaultSource = id, dm.dmFields |= DM_DEFAULTSOURCE;
                break;
            case zqmodel::Field::Quality:
                if (o.xres > 0) {
                    dm.dmPrintQuality = static_cast<short>(o.xres);
                    dm.dmYResolution = static_cast<short>(o.yres);
                    dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
                } else if (o.hasId) {
                    dm.dmPrintQuality = id;
                    dm.dmFields |= DM_PRINTQUALITY;
                }
                break;
            case zqmodel::Field::Color:
                if (o.hasId) dm.dmColor = id, dm.dmFields |= DM_COLOR;
                break;
            case zqmodel::Field::Duplex:
                if (o.hasId) dm.dmDuplex = id, dm.dmFields |= DM_DUPLEX;
                break;
            case zqmodel::Field::Collate:
                if (o.hasId) dm.dmCollate = id, dm.dmFields |= DM_COLLATE;
                break;
            case zqmodel::Field::Media:
                if (o.hasId) dm.dmMediaType = static_cast<DWORD>(o.id), dm.dmFields |= DM_MEDIATYPE;
                break;
            default: break;
        }
    }
}

void CZQHostSession::VPublicToValues(const DEVMODEW& dm, DWORD fields) {
    for (size_t i = 0; i < m_model.features.size(); ++i) {
        const auto& f = m_model.features[i];
        if (f.field == zqmodel::Field::None || f.scope != zqmodel::Scope::Document) continue;
        ZQValue& v = m_values[i];
        if (f.field == zqmodel::Field::Copies && f.kind == zqmodel::Kind::Range) {
            if (fields & DM_COPIES) {
                LONG n = dm.dmCopies;
                v.number = n < f.rangeMin ? f.rangeMin : (n > f.rangeMax ? f.rangeMax : n);
            }
            continue;
        }
        auto byId = [&](DWORD flag, LONG id) {
            if (!(fields & flag)) return false;
            for (size_t o = 0; o < f.options.size(); ++o)
                if (f.options[o].hasId && f.options[o].id == id) {
                    v.option = static_cast<int>(o);
                    return true;
                }
            return false;
        };
        switch (f.field) {
            case zqmodel::Field::Orientation: byId(DM_ORIENTATION, dm.dmOrientation); break;
            case zqmodel::Field::Source: byId(DM_DEFAULTSOURCE, dm.dmDefaultSource); break;
            case zqmodel::Field::Color: byId(DM_COLOR, dm.dmColor); break;
            case zqmodel::Field::Duplex: byId(DM_DUPLEX, dm.dmDuplex); break;
            case zqmodel::Field::Collate: byId(DM_COLLATE, dm.dmCollate); break;
            case zqmodel::Field::Media: byId(DM_MEDIATYPE, static_cast<LONG>(dm.dmMediaType)); break;
            case zqmodel::Field::Copies: byId(DM_COPIES, dm.dmCopies); break;
            case zqmodel::Field::Paper:
                if (!byId(DM_PAPERSIZE, dm.dmPaperSize) && (fields & DM_FORMNAME)) {
                    WCHAR form[CCHFORMNAME + 1] = {};
                    lstrcpynW(form, dm.dmFormName, CCHFORMNAME);
                    for (size_t o = 0; o < f.options.size(); ++o)
                        if (form[0] && lstrcmpiW(form, NameText(f.options[o].name).c_str()) == 0) {
                            v.option = static_cast<int>(o);
                            break;
                        }
                }
                break;
            case zqmodel::Field::Quality:
                if ((fields & DM_PRINTQUALITY) && dm.dmPrintQuality > 0) {
                    int best = -1;
                    for (size_t o = 0; o < f.options.size(); ++o) {
                        if (f.options[o].xres != dm.dmPrintQuality) continue;
                        if (best < 0) best = static_cast<int>(o);
                        if ((fields & DM_YRESOLUTION) && f.options[o].yres == dm.dmYResolution) {
                            best = static_cast<int>(o);
                            break;
                        }
                    }
                    if (best >= 0) v.option = best;
                } else {
                    byId(DM_PRINTQUALITY, dm.dmPrintQuality);
                }
                break;
            default: break;
        }
    }
}

// -------------------------------------------------------------------------------------------------
// Devmode
// -------------------------------------------------------------------------------------------------
BOOL CZQHostSession::BLoadDevmode(const DEVMODEW* pdmIn, size_t cbIn, bool bStored) {
    std::vector<BYTE> stored;
    if (!pdmIn && bStored) {
        stored = ZQReadPrinterDevmode(m_hPrinter);
        if (!stored.empty()) {
            pdmIn = reinterpret_cast<const DEVMODEW*>(stored.data());
            cbIn = stored.size();
        }
    }
    // Document values start again from the defaults; device values stay as the printer has them.
    for (size_t i = 0; i < m_model.features.size(); ++i) {
        const auto& f = m_model.features[i];
        if (f.scope != zqmodel::Scope::Document) continue;
        m_values[i].option = f.defaultOption;
        m_values[i].number = f.rangeDefault;
        m_values[i].text = ZQWide(f.editDefault);
    }
    VDefaultPublic();

    DEVMODEW pubIn = m_dmPublic;
    const BYTE* inBlock = nullptr;
    size_t inBlockSize = 0;
    const size_t minPublic = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);
    if (pdmIn && (cbIn == 0 || cbIn >= minPublic)) {
        const size_t dmSize = pdmIn->dmSize;
        if (cbIn == 0) cbIn = dmSize + pdmIn->dmDriverExtra;
        if (dmSize >= minPublic && dmSize <= cbIn) {
            pubIn = DEVMODEW();
            std::memcpy(&pubIn, pdmIn, dmSize < sizeof(DEVMODEW) ? dmSize : sizeof(DEVMODEW));
            const BYTE* extra = reinterpret_cast<const BYTE*>(pdmIn) + dmSize;
            const size_t extraSize = pdmIn->dmDriverExtra < cbIn - dmSize ? pdmIn->dmDriverExtra : cbIn - dmSize;
            const zqhostdm::ParsedPrivate parsed = zqhostdm::ParsePrivate(extra, extraSize);
            if (parsed.valid) {
                VApplySelections(parsed.selections, zqmodel::Scope::Document);
                if (parsed.cbOem) {
                    inBlock = extra + parsed.oemOffset;
                    inBlockSize = parsed.cbOem;
                }
            }
            // The caller's other public fields stay; ours follow the values. Public fields win
            // over the private selections: applications change only those.
            DEVMODEW keep = pubIn;
            keep.dmSize = sizeof(DEVMODEW);
            keep.dmDriverExtra = 0;
            keep.dmSpecVersion = DM_SPECVERSION;
            keep.dmDriverVersion = m_dmPublic.dmDriverVersion;
            lstrcpynW(keep.dmDeviceName, m_printerName.c_str(), CCHDEVICENAME);
            if (!(keep.dmFields & DM_SCALE) || keep.dmScale <= 0) {
                keep.dmScale = 100;
                keep.dmFields |= DM_SCALE;
            }
            m_dmPublic = keep;
            VPublicToValues(pubIn, pubIn.dmFields);
        }
    }
    VValuesToPublic();

    m_oem.clear();
    if (!m_plugin.Loaded()) return TRUE;
    if (!BOemDevmode(inBlock, inBlockSize, pubIn)) {
        Trace(L"the plug-in failed DevMode; continuing without it");
        m_plugin.VRelease();
        m_oem.clear();
    }
    return TRUE;
}

BOOL CZQHostSession::BOemDevmode(const BYTE* inBlock, size_t inSize, const DEVMODEW& pubIn) {
    const CZQPluginBinding& ui = m_plugin;
    OEMDMPARAM p = {};
    p.cbSize = sizeof p;
    p.pdriverobj = &m_ctx;
    p.hPrinter = m_hPrinter;
    p.hModule = m_plugin.Module();
    if (FAILED(ui.DevMode(OEMDM_SIZE, &p))) return FALSE;
    const DWORD cb = p.cbBufSize;
    if (cb < sizeof(OEM_DMEXTRAHEADER) || cb > zqhostdm::kMaxOemSize) return FALSE;

    m_oem.assign(cb, 0);
    p.pPublicDMIn = &m_dmPublic;
    p.pOEMDMOut = m_oem.data();
    p.cbBufSize = cb;
    if (FAILED(ui.DevMode(OEMDM_DEFAULT, &p))) return FALSE;

    if (!inBlock || inSize < sizeof(OEM_DMEXTRAHEADER)) return TRUE;
    OEM_DMEXTRAHEADER header;
    std::memcpy(&header, inBlock, sizeof header);
    if (header.dwSignature != m_plugin.Signature()) return TRUE;
    // The plug-in reads its whole block size from the input: give it a padded copy.
    std::vector<BYTE> in(inSize > cb ? inSize : cb, 0);
    std::memcpy(in.data(), inBlock, inSize);
    DEVMODEW publicIn = pubIn;
    const bool current = inSize == cb && header.dwSize == cb && header.dwVersion == m_plugin.Version();
    p.pPublicDMIn = &publicIn;
    p.pPublicDMOut = &m_dmPublic;
    p.pOEMDMIn = in.data();
    p.pOEMDMOut = m_oem.data();
    p.cbBufSize = cb;
    if (FAILED(ui.DevMode(current ? OEMDM_MERGE : OEMDM_CONVERT, &p))) {
        // A failed merge may have left half a block: start from the defaults again.
        std::fill(m_oem.begin(), m_oem.end(), 0);
        OEMDMPARAM d = {};
        d.cbSize = sizeof d;
        d.pdriverobj = &m_ctx;
        d.hPrinter = m_hPrinter;
        d.hModule = m_plugin.Module();
        d.pPublicDMIn = &m_dmPublic;
        d.pOEMDMOut = m_oem.data();
        d.cbBufSize = cb;
        return SUCCEEDED(ui.DevMode(OEMDM_DEFAULT, &d));
    }
    return TRUE;
}

DWORD CZQHostSession::DWDevmodeSize() const {
    return static_cast<DWORD>(sizeof(DEVMODEW) + zqhostdm::kPrivateSize + m_oem.size());
}

BOOL CZQHostSession::BWriteDevmode(DEVMODEW* pdmOut) const {
    if (!pdmOut) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* out = reinterpret_cast<BYTE*>(pdmOut);
    DEVMODEW pub = m_dmPublic;
    pub.dmSize = sizeof(DEVMODEW);
    pub.dmDriverExtra = static_cast<WORD>(zqhostdm::kPrivateSize + m_oem.size());
    std::memcpy(out, &pub, sizeof pub);
    zqhostdm::HostPrivate hp;
    zqhostdm::WritePrivate(hp, static_cast<uint32_t>(m_oem.size()), Selections(zqmodel::Scope::Document));
    std::memcpy(out + sizeof pub, &hp, sizeof hp);
    if (!m_oem.empty()) std::memcpy(out + sizeof pub + sizeof hp, m_oem.data(), m_oem.size());
    return TRUE;
}

// -------------------------------------------------------------------------------------------------
// Plug-in
// -------------------------------------------------------------------------------------------------
BOOL CZQHostSession::BBindPlugin() {
    if (m_model.plugIn.empty() || m_driverDir.empty() || !m_pDriverUI) return FALSE;
    const std::wstring path = m_driverDir + L"\\" + ZQWide(m_model.plugIn);
    if (!m_plugin.BLoad(path)) {
        Trace(L"cannot load the plug-in " + path);
        return FALSE;
    }
    if (!m_plugin.BBind(m_pDriverUI)) {
        Trace(L"the plug-in refused its binding");
        m_plugin.VRelease();
        return FALSE;
    }
    return TRUE;
}

// -------------------------------------------------------------------------------------------------
// Option items
// -------------------------------------------------------------------------------------------------
void* CZQHostSession::HeapZero(size_t bytes) {
    if (!m_heap) m_heap.Reset(HeapCreate(0, 0, 0));
    return m_heap ? HeapAlloc(m_heap.Get(), HEAP_ZERO_MEMORY, bytes ? bytes : 1) : nullptr;
}

LPWSTR CZQHostSession::HeapText(const std::wstring& text) {
    auto* p = static_cast<LPWSTR>(HeapZero((text.size() + 1) * sizeof(WCHAR)));
    if (p) std::memcpy(p, text.c_str(), text.size() * sizeof(WCHAR));
    return p;
}

LPSTR CZQHostSession::HeapAnsi(const std::string& text) {
    auto* p = static_cast<LPSTR>(HeapZero(text.size() + 1));
    if (p) std::memcpy(p, text.c_str(), text.size());
    return p;
}

BOOL CZQHostSession::BBuildDriverItems() {
    m_itemFeature.clear();
    for (size_t i = 0; i < m_model.features.size(); ++i)
        if (InScope(m_model.features[i]) && m_model.features[i].kind != zqmodel::Kind::None)
            m_itemFeature.push_back(static_cast<int>(i));
    m_cDrvItems = static_cast<DWORD>(m_itemFeature.size());
    m_pItems = static_cast<POPTITEM>(HeapZero(m_cDrvItems * sizeof(OPTITEM)));
    if (!m_pItems) return FALSE;
    for (DWORD n = 0; n < m_cDrvItems; ++n) {
        const int fi = m_itemFeature[n];
        const auto& f = m_model.features[static_cast<size_t>(fi)];
        const ZQValue& v = m_values[static_cast<size_t>(fi)];
        OPTITEM& it = m_pItems[n];
        auto* ud = static_cast<USERDATA*>(HeapZero(sizeof(USERDATA)));
        auto* type = static_cast<POPTTYPE>(HeapZero(sizeof(OPTTYPE)));
        if (!ud || !type) return FALSE;
        ud->dwSize = sizeof(USERDATA);
        ud->dwItemID = static_cast<ULONG_PTR>(fi);
        ud->pKeyWordName = HeapAnsi(f.keyword);
        it.cbSize = sizeof(OPTITEM);
        it.Level = 1;
        it.Flags = OPTIF_CALLBACK | (f.hidden ? OPTIF_HIDE : 0) | (f.disabled ? OPTIF_DISABLED : 0);
        it.UserData = reinterpret_cast<ULONG_PTR>(ud);
        it.pName = HeapText(NameText(f.name));
        it.pOptType = type;
        it.HelpIndex = f.helpIndex;
        it.DMPubID = f.pubId;
        type->cbSize = sizeof(OPTTYPE);
        if (f.kind == zqmodel::Kind::Range || f.kind == zqmodel::Kind::Edit) {
            type->Count = 2;
            type->pOptParam = static_cast<POPTPARAM>(HeapZero(2 * sizeof(OPTPARAM)));
            if (!type->pOptParam) return FALSE;
            type->pOptParam[0].cbSize = type->pOptParam[1].cbSize = sizeof(OPTPARAM);
            type->pOptParam[0].pData = HeapText(L"");  // no unit text after the value
            if (f.kind == zqmodel::Kind::Range) {
                type->Type = TVOT_UDARROW;
                type->pOptParam[1].IconID = static_cast<ULONG_PTR>(f.rangeMin);
                type->pOptParam[1].lParam = f.rangeMax;
                it.Sel = v.number;
            } else {
                type->Type = TVOT_EDITBOX;
                type->pOptParam[1].IconID = static_cast<ULONG_PTR>(f.editMax + 1);
                auto* text = static_cast<LPWSTR>(HeapZero(kEditChars * sizeof(WCHAR)));
                if (!text) return FALSE;
                lstrcpynW(text, v.text.c_str(), kEditChars);
                it.pSel = text;
            }
        } else {
            type->Type = f.kind == zqmodel::Kind::Combo ? TVOT_COMBOBOX : TVOT_LISTBOX;
            type->Count = static_cast<WORD>(f.options.size());
            type->pOptParam = static_cast<POPTPARAM>(HeapZero(f.options.size() * sizeof(OPTPARAM)));
            if (!type->pOptParam) return FALSE;
            for (size_t o = 0; o < f.options.size(); ++o) {
                const auto& opt = f.options[o];
                OPTPARAM& p = type->pOptParam[o];
                p.cbSize = sizeof(OPTPARAM);
                p.Flags = static_cast<BYTE>((opt.hidden ? OPTPF_HIDE : 0) | (opt.disabled ? OPTPF_DISABLED : 0));
                p.pData = opt.name.resId ? MAKEINTRESOURCEW(opt.name.resId) : HeapText(ZQWide(opt.name.text));
            }
            it.Sel = v.option;
        }
        if (f.checkBox >= 0) {
            const auto& cb = m_model.features[static_cast<size_t>(f.checkBox)];
            auto* ecb = static_cast<PEXTCHKBOX>(HeapZero(sizeof(EXTCHKBOX)));
            if (!ecb) return FALSE;
            ecb->cbSize = sizeof(EXTCHKBOX);
            ecb->pTitle = HeapText(NameText(cb.name));
            ecb->pSeparator = HeapText(L":");
            ecb->pCheckedName = HeapText(NameText(cb.options[1].name));
            it.pExtChkBox = ecb;
            if (m_values[static_cast<size_t>(f.checkBox)].option == 1) it.Flags |= OPTIF_ECB_CHECKED;
        }
    }
    return TRUE;
}

BOOL CZQHostSession::BBuildItems(DWORD dwFlags) {
    m_bReadOnly = (m_dwMode == OEMCUIP_DOCPROP) ? (dwFlags & DM_NOPERMISSION) != 0 : (dwFlags & DPS_NOPERMISSION) != 0;
    if (!BBuildDriverItems()) {
        SetLastError(ERROR_OUTOFMEMORY);
        return FALSE;
    }
    VMarkConflicts();
    m_cuip = OEMCUIPPARAM();
    m_cuip.cbSize = sizeof m_cuip;
    m_cuip.poemuiobj = &m_ctx.obj;
    m_cuip.hPrinter = m_hPrinter;
    m_cuip.pPrinterName = m_printerName.data();
    m_cuip.hModule = m_plugin.Module();
    m_cuip.hOEMHeap = m_heap.Get();
    m_cuip.pPublicDM = &m_dmPublic;
    m_cuip.pOEMDM = m_oem.empty() ? nullptr : m_oem.data();
    m_cuip.dwFlags = dwFlags;
    m_cuip.pDrvOptItems = m_pItems;
    m_cuip.cDrvOptItems = m_cDrvItems;
    if (!m_plugin.Loaded()) return TRUE;

    // Count pass, then the fill pass into the array that follows the driver's items. The fill
    // pass runs also for no items: the plug-in does its work there.
    const CZQPluginBinding& ui = m_plugin;
    const HRESULT counted = ui.CommonUIProp(m_dwMode, &m_cuip);
    if (FAILED(counted)) {
        // E_NOTIMPL: the plug-in leaves the items to the core driver.
        if (counted != E_NOTIMPL) Trace(L"the plug-in's CommonUIProp count pass failed; the host's items only");
        m_cuip.pOEMOptItems = nullptr;
        m_cuip.cOEMOptItems = 0;
        return TRUE;
    }
    const DWORD cOem = m_cuip.cOEMOptItems;
    if (cOem > kMaxOemItems) {
        m_cuip.cOEMOptItems = 0;
        return TRUE;
    }
    auto* all = static_cast<POPTITEM>(HeapZero((m_cDrvItems + (cOem ? cOem : 1)) * sizeof(OPTITEM)));
    if (!all) return TRUE;
    std::memcpy(all, m_pItems, m_cDrvItems * sizeof(OPTITEM));
    m_pItems = all;
    m_cuip.pDrvOptItems = all;
    m_cuip.pOEMOptItems = all + m_cDrvItems;
    m_cuip.cOEMOptItems = cOem;
    const HRESULT hr = ui.CommonUIProp(m_dwMode, &m_cuip);
    if (FAILED(hr) || m_cuip.cOEMOptItems > cOem) {
        Trace(L"the plug-in's CommonUIProp fill pass failed; its items are left out");
        std::memset(all + m_cDrvItems, 0, cOem * sizeof(OPTITEM));
        m_cuip.pOEMOptItems = nullptr;
        m_cuip.cOEMOptItems = 0;
        m_cOemItems = 0;
        return TRUE;
    }
    m_cOemItems = m_cuip.cOEMOptItems;
    m_bCommonUIProp = true;
    VMarkConflicts();
    return TRUE;
}

int CZQHostSession::ItemOfFeature(int feature) const {
    for (size_t n = 0; n < m_itemFeature.size(); ++n)
        if (m_itemFeature[n] == feature) return static_cast<int>(n);
    return -1;
}

int CZQHostSession::FeatureOfItem(DWORD index) const {
    return index < m_itemFeature.size() ? m_itemFeature[index] : -1;
}

bool CZQHostSession::IsConflicting(int feature, int option) const {
    for (const auto& c : m_model.constraints)
        if (c.otherFeature == feature && c.otherOption == option &&
            m_values[static_cast<size_t>(c.feature)].option == c.option)
            return true;
    return false;
}

void CZQHostSession::VMarkConflicts() {
    for (DWORD n = 0; n < m_cDrvItems; ++n) {
        const int fi = m_itemFeature[n];
        const auto& f = m_model.features[static_cast<size_t>(fi)];
        if (f.kind != zqmodel::Kind::List && f.kind != zqmodel::Kind::Combo) continue;
        OPTITEM& it = m_pItems[n];
        bool changed = false;
        for (size_t o = 0; o < f.options.size(); ++o) {
            OPTPARAM& p = it.pOptType->pOptParam[o];
            const BYTE before = p.Flags;
            if (IsConflicting(fi, static_cast<int>(o))) p.Flags |= OPTPF_OVERLAY_WARNING_ICON;
            else p.Flags &= static_cast<BYTE>(~OPTPF_OVERLAY_WARNING_ICON);
            changed = changed || p.Flags != before;
        }
        const DWORD before = it.Flags;
        if (it.Sel >= 0 && static_cast<size_t>(it.Sel) < f.options.size() &&
            (it.pOptType->pOptParam[it.Sel].Flags & OPTPF_OVERLAY_WARNING_ICON))
            it.Flags |= OPTIF_OVERLAY_WARNING_ICON;
        else
            it.Flags &= ~static_cast<DWORD>(OPTIF_OVERLAY_WARNING_ICON);
        if (changed || it.Flags != before) it.Flags |= OPTIF_CHANGED;
    }
}

BOOL CZQHostSession::BCommitItem(DWORD index) {
    const int fi = FeatureOfItem(index);
    if (fi < 0) return FALSE;
    const auto& f = m_model.features[static_cast<size_t>(fi)];
    ZQValue& v = m_values[static_cast<size_t>(fi)];
    OPTITEM& it = m_pItems[index];
    BOOL ok = TRUE;
    switch (f.kind) {
        case zqmodel::Kind::Range:
            if (it.Sel < f.rangeMin || it.Sel > f.rangeMax) {
                it.Sel = v.number;
                ok = FALSE;
            } else {
                v.number = it.Sel;
            }
            break;
        case zqmodel::Kind::Edit:
            if (!it.pSel) {
                ok = FALSE;
            } else {
                std::wstring text(it.pSel, wcsnlen(it.pSel, kEditChars));
                if (text.size() > static_cast<size_t>(f.editMax)) text.resize(static_cast<size_t>(f.editMax));
                v.text = text;
            }
            break;
        default:
            if (it.Sel < 0 || static_cast<size_t>(it.Sel) >= f.options.size()) {
                it.Sel = v.option;
                ok = FALSE;
            } else {
                v.option = static_cast<int>(it.Sel);
            }
            break;
    }
    if (f.checkBox >= 0) m_values[static_cast<size_t>(f.checkBox)].option = (it.Flags & OPTIF_ECB_CHECKED) ? 1 : 0;
    if (!ok) {
        it.Flags |= OPTIF_CHANGED;
        SetLastError(ERROR_INVALID_DATA);
    }
    VValuesToPublic();
    VMarkConflicts();
    return ok;
}

BOOL CZQHostSession::BUpdateUISetting(PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) {
    const auto* item = static_cast<const OPTITEM*>(pOptItem);
    const uintptr_t base = reinterpret_cast<uintptr_t>(m_pItems);
    const uintptr_t at = reinterpret_cast<uintptr_t>(item);
    if (!item || !m_pItems || at < base || (at - base) % sizeof(OPTITEM) != 0 ||
        (at - base) / sizeof(OPTITEM) >= ItemCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD index = static_cast<DWORD>((at - base) / sizeof(OPTITEM));
    ZQUpdateRecord rec;
    rec.pubId = item->DMPubID;
    rec.sel = item->Sel;
    rec.previous = dwPreviousSelection;
    rec.mode = dwMode;
    if (IsDriverItem(index)) {
        rec.keyword = m_model.features[static_cast<size_t>(m_itemFeature[index])].keyword;
        const OPTTYPE* t = item->pOptType;
        if (t && IsListType(t->Type) && item->Sel >= 0 && item->Sel < t->Count)
            rec.overlay = (t->pOptParam[item->Sel].Flags & OPTPF_OVERLAY_WARNING_ICON) != 0;
        rec.result = BCommitItem(index);
    } else {
        // The plug-in keeps its own items' values in its private devmode.
        rec.result = TRUE;
    }
    m_updateLog.push_back(rec);
    return rec.result;
}

BOOL CZQHostSession::BGetDriverSetting(PCSTR feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded,
                                       PDWORD pdwOptions) {
    if (pdwOptions) *pdwOptions = 0;
    if (!feature) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The numbered driver settings of the core drivers are not kept by this driver.
    if (IS_INTRESOURCE(feature)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const size_t len = strnlen(feature, 256);
    const int fi = len < 256 ? m_model.FindFeature(std::string_view(feature, len)) : -1;
    if (fi < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto& f = m_model.features[static_cast<size_t>(fi)];
    std::string text;
    // The item's current selection counts at once, reported or not.
    int item = ItemOfFeature(fi);
    int checkBoxItem = -1;
    for (DWORD n = 0; n < m_cDrvItems && item < 0; ++n)
        if (m_model.features[static_cast<size_t>(m_itemFeature[n])].checkBox == fi) checkBoxItem = static_cast<int>(n);
    if (item >= 0) {
        const OPTITEM& it = m_pItems[item];
        if (f.kind == zqmodel::Kind::Range) {
            if (it.Sel < f.rangeMin || it.Sel > f.rangeMax) {
                SetLastError(ERROR_INVALID_DATA);
                return FALSE;
            }
            text = std::to_string(it.Sel);
        } else if (f.kind == zqmodel::Kind::Edit) {
            if (it.pSel) text = ZQAnsi(std::wstring(it.pSel, wcsnlen(it.pSel, kEditChars)));
        } else {
            if (it.Sel < 0 || static_cast<size_t>(it.Sel) >= f.options.size()) {
                SetLastError(ERROR_INVALID_DATA);
                return FALSE;
            }
            text = f.options[static_cast<size_t>(it.Sel)].keyword;
        }
    } else if (checkBoxItem >= 0) {
        text = f.options[(m_pItems[checkBoxItem].Flags & OPTIF_ECB_CHECKED) ? 1 : 0].keyword;
    } else if (f.kind == zqmodel::Kind::Edit) {
        text = ZQAnsi(m_values[static_cast<size_t>(fi)].text);
    } else {
        text = ValueText(fi);
    }
    const DWORD needed = static_cast<DWORD>(text.size() + 1);
    if (pcbNeeded) *pcbNeeded = needed;
    if (!pOutput || cbSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(pOutput, text.c_str(), needed);
    if (pdwOptions) *pdwOptions = 1;
    return TRUE;
}

HRESULT CZQHostSession::HrUpgradeRegistrySetting(HANDLE hPrinter, PCSTR feature, PCSTR option) {
    if (!hPrinter || !feature || !option || IS_INTRESOURCE(feature) || IS_INTRESOURCE(option)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    CZQHostSession session(OEMCUIP_PRNPROP);
    if (!session.BOpenPrinter(hPrinter, nullptr)) return E_FAIL;
    const int fi = session.m_model.FindFeature(std::string_view(feature, strnlen(feature, 256)));
    if (fi < 0 || session.m_model.features[static_cast<size_t>(fi)].scope != zqmodel::Scope::Device ||
        !session.BSetValueText(fi, std::string(option, strnlen(option, 256)))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    return ZQWriteDeviceSettings(hPrinter, session.Selections(zqmodel::Scope::Device)) ? S_OK : E_FAIL;
}

// -------------------------------------------------------------------------------------------------
// Changes, callbacks and the sheet
// -------------------------------------------------------------------------------------------------
LONG CZQHostSession::LCallback(WORD reason, DWORD index, LONG oldSel, HWND hDlg) {
    OEMCUIPCALLBACK callback = m_cuip.OEMCUIPCallback;
    if (!callback || !m_plugin.Loaded() || !m_pItems) return CPSUICB_ACTION_NONE;
    CPSUICBPARAM p = {};
    p.cbSize = sizeof p;
    p.Reason = reason;
    p.hDlg = hDlg;
    p.pOptItem = m_pItems;
    p.cOptItem = static_cast<WORD>(ItemCount());
    p.pCurItem = index < ItemCount() ? &m_pItems[index] : m_pItems;
    p.OldSel = oldSel;
    p.Result = CPSUI_OK;
    return callback(&p, &m_cuip);
}

LONG CZQHostSession::LItemChanged(DWORD index, LONG oldSel, WORD reason, HWND hDlg) {
    if (index >= ItemCount() || m_bReadOnly) return CPSUICB_ACTION_NONE;
    if (reason == CPSUICB_REASON_PUSHBUTTON) return LPushButton(index, hDlg);
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    m_pItems[index].Flags |= OPTIF_CHANGED;
    if (IsDriverItem(index)) BCommitItem(index);
    const LONG action = LCallback(reason, index, oldSel, hDlg);
    QueryPerformanceCounter(&t1);
    InterlockedIncrement(&ZQCoreCalls().lItemChanges);
    InterlockedAdd64(&ZQCoreCalls().llItemChangeTicks, t1.QuadPart - t0.QuadPart);
    return action;
}

LONG CZQHostSession::LPushButton(DWORD index, HWND hDlg) {
    // As the common sheet does: a push button of callback style calls the function its option
    // parameter names, with the item; no other style has anything for the host to call.
    const OPTITEM& item = m_pItems[index];
    if (!item.pOptType || item.pOptType->Type != TVOT_PUSHBUTTON || !item.pOptType->pOptParam) return CPSUICB_ACTION_NONE;
    const OPTPARAM& param = item.pOptType->pOptParam[0];
    if (param.Style != PUSHBUTTON_TYPE_CALLBACK || !param.pData) {
        Trace(L"push button without a callback: nothing to call");
        return CPSUICB_ACTION_NONE;
    }
    CPSUICBPARAM p = {};
    p.cbSize = sizeof p;
    p.Reason = CPSUICB_REASON_PUSHBUTTON;
    p.hDlg = hDlg;
    p.pOptItem = m_pItems;
    p.cOptItem = static_cast<WORD>(ItemCount());
    p.pCurItem = &m_pItems[index];
    p.OldSel = item.Sel;
    p.Result = CPSUI_OK;
    return reinterpret_cast<_CPSUICALLBACK>(param.pData)(&p);
}

BOOL CZQHostSession::BApply(HWND hDlg) {
    if (LCallback(CPSUICB_REASON_APPLYNOW, 0, 0, hDlg) == CPSUICB_ACTION_NO_APPLY_EXIT) return FALSE;
    if (m_dwMode == OEMCUIP_DOCPROP) {
        if (m_pdmOut) BWriteDevmode(m_pdmOut);
    } else if (!m_bReadOnly && m_hPrinter) {
        ZQWriteDeviceSettings(m_hPrinter, Selections(zqmodel::Scope::Device));
    }
    m_bApplied = true;
    return TRUE;
}

LONG_PTR CALLBACK CZQHostSession::ComPropSheet(HANDLE hComPropSheet, UINT func, LPARAM lParam1, LPARAM lParam2) {
    auto* tag = static_cast<SheetTag*>(hComPropSheet);
    if (!tag || tag->dwMagic != kSheetMagic || !tag->pSession) return 0;
    return tag->pSession->LComPropSheet(func, lParam1, lParam2);
}

LONG_PTR CZQHostSession::LComPropSheet(UINT func, LPARAM lParam1, LPARAM lParam2) {
    if (!m_pfnComPropSheet) return 0;
    switch (func) {
        case CPSFUNC_ADD_PROPSHEETPAGEW:
        case CPSFUNC_ADD_HPROPSHEETPAGE: {
            LONG_PTR h = m_pfnComPropSheet(m_hComPropSheet, func, lParam1, lParam2);
            if (!h && func == CPSFUNC_ADD_PROPSHEETPAGEW && lParam1) {
                // A common property sheet that only takes page handles.
                HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(lParam1));
                if (page) {
                    h = m_pfnComPropSheet(m_hComPropSheet, CPSFUNC_ADD_HPROPSHEETPAGE, reinterpret_cast<LPARAM>(page), 0);
                    if (!h) DestroyPropertySheetPage(page);
                }
            }
            if (h) m_pages.push_back(reinterpret_cast<HANDLE>(h));
            return h;
        }
        case CPSFUNC_SET_RESULT:
            // The page's result is taken; this sheet keeps none per page.
            return 1;
        case CPSFUNC_SET_HSTARTPAGE:
            for (size_t i = 0; i < m_pages.size(); ++i)
                if (m_pages[i] == reinterpret_cast<HANDLE>(lParam1)) {
                    m_startPage = static_cast<int>(i);
                    return 1;
                }
            return 0;
        case CPSFUNC_GET_PAGECOUNT: return static_cast<LONG_PTR>(m_pages.size());
        default: return m_pfnComPropSheet(m_hComPropSheet, func, lParam1, lParam2);
    }
}

BOOL CZQHostSession::BAddPages(PPROPSHEETUI_INFO pInfo, DWORD dwFlags) {
    if (!pInfo || !pInfo->pfnComPropSheet) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_hComPropSheet = pInfo->hComPropSheet;
    m_pfnComPropSheet = pInfo->pfnComPropSheet;
    const bool hide = m_plugin.HideStandardUI(m_dwMode) == S_OK;
    if (!hide) {
        m_pPage.reset(new (std::nothrow) CZQHostPage(this));
        if (m_pPage) {
            m_template = CZQHostPage::BuildTemplate();
            PROPSHEETPAGEW psp = {};
            psp.dwSize = sizeof psp;
            psp.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
            psp.hInstance = ThisModule();
            psp.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data());
            psp.pszTitle = m_dwMode == OEMCUIP_DOCPROP ? L"Document Options" : L"Device Settings";
            psp.pfnDlgProc = CZQHostPage::DlgProc;
            psp.lParam = reinterpret_cast<LPARAM>(m_pPage.get());
            if (!LComPropSheet(CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&psp), 0))
                Trace(L"the common property sheet refused the host's page");
        }
    }
    if (m_plugin.Loaded()) {
        m_psp = OEMUIPSPARAM();
        m_psp.cbSize = sizeof m_psp;
        m_psp.poemuiobj = &m_ctx.obj;
        m_psp.hPrinter = m_hPrinter;
        m_psp.pPrinterName = m_printerName.data();
        m_psp.hModule = m_plugin.Module();
        m_psp.hOEMHeap = m_heap.Get();
        m_psp.pPublicDM = &m_dmPublic;
        m_psp.pOEMDM = m_oem.empty() ? nullptr : m_oem.data();
        m_psp.dwFlags = dwFlags;
        m_pluginInfo = PROPSHEETUI_INFO();
        m_pluginInfo.cbSize = sizeof m_pluginInfo;
        m_pluginInfo.Version = PROPSHEETUI_INFO_VERSION;
        m_pluginInfo.Flags = PSUIINFO_UNICODE;
        m_pluginInfo.Reason = PROPSHEETUI_REASON_INIT;
        m_pluginInfo.hComPropSheet = &m_sheetTag;
        m_pluginInfo.pfnComPropSheet = ComPropSheet;
        m_pluginInfo.lParamInit = reinterpret_cast<LPARAM>(&m_psp);
        const HRESULT hr = m_dwMode == OEMCUIP_DOCPROP
                               ? m_plugin.DocumentPropertySheets(&m_pluginInfo, reinterpret_cast<LPARAM>(&m_psp))
                               : m_plugin.DevicePropertySheets(&m_pluginInfo, reinterpret_cast<LPARAM>(&m_psp));
        m_bPluginSheets = true;
        if (FAILED(hr) && hr != E_NOTIMPL) Trace(L"the plug-in's property sheets failed");
    }
    return TRUE;
}

HRESULT CZQHostSession::HrRunFontInstaller(HWND hOwner) {
    if (!OffersFontInstaller() || !m_plugin.Loaded()) return E_NOTIMPL;
    if (!m_heap) m_heap.Reset(HeapCreate(0, 0, 0));
    OEMFONTINSTPARAM param = {};
    param.cbSize = sizeof param;
    param.hPrinter = m_hPrinter;
    param.hModule = m_plugin.Module();
    param.hHeap = m_heap.Get();
    param.dwFlags = m_bReadOnly ? 0 : FG_CANCHANGE;
    const HRESULT hr = m_plugin.FontInstallerDlgProc(hOwner, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&param));
    if (hr == E_NOTIMPL) Trace(L"the plug-in has no font installer for this printer");
    return hr;
}

LPWSTR CZQHostSession::SheetTitle() {
    m_sheetTitle = m_printerName + (m_dwMode == OEMCUIP_DOCPROP ? L" Printing Preferences" : L" Properties");
    return m_sheetTitle.data();
}

void CZQHostSession::VEndSheet() {
    if (m_bPluginSheets && m_plugin.Loaded()) {
        m_bPluginSheets = false;
        PROPSHEETUI_INFO info = m_pluginInfo;
        info.Reason = PROPSHEETUI_REASON_DESTROY;
        const LPARAM ok = m_bApplied ? TRUE : FALSE;
        if (m_dwMode == OEMCUIP_DOCPROP) m_plugin.DocumentPropertySheets(&info, ok);
        else m_plugin.DevicePropertySheets(&info, ok);
    }
    // The sheet's pages apply one after the other, this driver's page before the plug-in's: the
    // devmode goes out again with what their apply settled in the plug-in's block.
    if (m_bApplied && m_dwMode == OEMCUIP_DOCPROP && m_pdmOut) BWriteDevmode(m_pdmOut);
}

// -------------------------------------------------------------------------------------------------
// Texts
// -------------------------------------------------------------------------------------------------
std::wstring CZQHostSession::ParamText(DWORD itemIndex, const OPTPARAM& param) const {
    if (!param.pData) return L"";
    if (IS_INTRESOURCE(param.pData)) {
        const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(param.pData));
        auto it = m_model.strings.find(id);
        if (it != m_model.strings.end()) return ZQWide(it->second);
        WCHAR buf[256] = {};
        if (!IsDriverItem(itemIndex) && m_plugin.Module() && LoadStringW(m_plugin.Module(), id, buf, 256) > 0)
            return buf;
        if (HMODULE cps = GetModuleHandleW(L"compstui.dll"); cps && LoadStringW(cps, id, buf, 256) > 0) return buf;
        return L"#" + std::to_wstring(id);
    }
    return std::wstring(param.pData, wcsnlen(param.pData, 256));
}

std::wstring CZQHostSession::ItemValueText(DWORD index) const {
    if (index >= ItemCount()) return L"";
    const OPTITEM& it = m_pItems[index];
    if (!zqitem::IsReadable(it)) return L"";
    const OPTTYPE& t = *it.pOptType;
    std::wstring text;
    if (IsListType(t.Type)) {
        if (it.Sel < 0 || it.Sel >= t.Count) return L"(none)";
        const OPTPARAM& p = t.pOptParam[it.Sel];
        text = ParamText(index, p);
        if (p.Flags & OPTPF_OVERLAY_WARNING_ICON) text += L"  (conflict)";
    } else if (IsNumberType(t.Type)) {
        text = std::to_wstring(it.Sel) + ParamText(index, t.pOptParam[0]);
    } else if (t.Type == TVOT_EDITBOX) {
        if (it.pSel) text.assign(it.pSel, wcsnlen(it.pSel, kEditChars));
    } else if (t.Type == TVOT_CHKBOX) {
        text = it.Sel ? L"On" : L"Off";
    } else if (t.Type == TVOT_PUSHBUTTON) {
        text = L"...";
    }
    if (it.pExtChkBox && !(it.Flags & (OPTIF_EXT_IS_EXTPUSH | OPTIF_EXT_HIDE))) {
        const EXTCHKBOX& e = *it.pExtChkBox;
        std::wstring title = e.pTitle && !IS_INTRESOURCE(e.pTitle) ? std::wstring(e.pTitle, wcsnlen(e.pTitle, 256)) : L"";
        text += L", " + title + L" " + ((it.Flags & OPTIF_ECB_CHECKED) ? L"on" : L"off");
    }
    return text;
}

std::wstring CZQHostSession::PluginStatusText() const {
    const std::wstring name = ZQWide(m_model.plugIn);
    if (name.empty()) return L"No UI plug-in: the core driver's own items only.";
    if (!m_plugin.Loaded()) return L"UI plug-in " + name + L" not loaded: the core driver's own items only.";
    const DWORD s = m_plugin.Signature();
    WCHAR sig[5] = {static_cast<WCHAR>((s >> 24) & 0xFF), static_cast<WCHAR>((s >> 16) & 0xFF),
                    static_cast<WCHAR>((s >> 8) & 0xFF), static_cast<WCHAR>(s & 0xFF), 0};
    for (WCHAR& c : sig)
        if (c && (c < 32 || c > 126)) c = L'?';
    WCHAR line[256];
    std::swprintf(line, 256, L"UI plug-in %ls: \"%ls\" 0x%08lX, private devmode %lu bytes, %lu own items.", name.c_str(), sig,
              static_cast<unsigned long>(m_plugin.Version()), static_cast<unsigned long>(m_oem.size()),
              static_cast<unsigned long>(m_cOemItems));
    return line;
}
