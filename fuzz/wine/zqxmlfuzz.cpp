// Mutations of the sample printers' XML helper files fed to the readers that need Windows: the
// parser and its readers, the alert definitions (evaluated against a scripted printer's answers),
// the paper and media trees and the document types, the rule engine's macros and pop-ups, the
// constraint rules, and a driver's extension list (its hooks raised for every event). Each
// input is one sample file changed a few times at random (elements deleted, duplicated, nested deep
// or renamed long; attributes deleted or given long or odd values; texts made huge, negative, empty
// or of the wrong kind; texts swapped between elements, so that macros call each other), or no XML
// at all. Buffers handed to the readers end at a page the process may not touch, so an over-read
// faults. A crash is the finding, and so is an input that takes longer than its time (20 seconds,
// or ZQXMLFUZZ_LIMIT_MS): a watchdog ends the run. The loop reports the seed to replay, and the
// slowest input of a run that passed.
//   zqxmlfuzz <helper|macros|constraints|events> <inputs> [first seed]
#include <windows.h>
#include <msxml.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqstorenames.h"
#include "device/zqalertdefs.h"
#include "pages/dialogs/zqcustompaperdlg.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "sampleitems.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqeventhooks.h"
#include "xmlrules/zqptrarray.h"
#include "xmlrules/zqxmldom.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlreaders.h"
#include "xmlrules/zqxmluirules.h"
#include "platform/zqdeviceservers.h"
#include "zqdevrecord.h"
#include "zqextmodrecord.h"
#include "zqmemprinter.h"
#include "zqsamplenames.h"
#include "zqwinefault.h"

namespace {

// Memory that ends where the process may not read or write.
class Guarded {
public:
    explicit Guarded(size_t bytes) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        const size_t page = si.dwPageSize, span = (bytes + page - 1) / page * page;
        m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, span + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + span, page, PAGE_NOACCESS, &old);
        m_at = m_base + span - bytes;
    }
    ~Guarded() { VirtualFree(m_base, 0, MEM_RELEASE); }
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;
    WCHAR* Text() { return reinterpret_cast<WCHAR*>(m_at); }

private:
    BYTE* m_base = nullptr;
    BYTE* m_at = nullptr;
};

std::wstring ExeDir() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L"\\/"));
}

// A UTF-8 file as text.
std::wstring ReadText(const std::wstring& path) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return L"";
    std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return L"";
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read), text.data(),
                                                        static_cast<int>(text.size()))));
    return text;
}

// A helper file as a tree of our own (the samples are plain XML: elements, attributes, texts,
// comments), so that mutating it never leans on the XML library under test.
struct Element {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::wstring text;
    std::vector<Element> children;
};

class TreeReader {
public:
    explicit TreeReader(const std::wstring& text) : m_s(text) {}
    bool Read(Element* root) {
        SkipMisc();
        return Parse(root) && m_ok;
    }

private:
    void SkipMisc() {
        for (;;) {
            while (m_i < m_s.size() && iswspace(m_s[m_i])) ++m_i;
            if (m_s.compare(m_i, 2, L"<?") == 0) {
                const size_t e = m_s.find(L"?>", m_i);
                m_i = e == std::wstring::npos ? m_s.size() : e + 2;
            } else if (m_s.compare(m_i, 4, L"<!--") == 0) {
                const size_t e = m_s.find(L"-->", m_i);
                m_i = e == std::wstring::npos ? m_s.size() : e + 3;
            } else {
                return;
            }
        }
    }
    std::wstring Name() {
        const size_t start = m_i;
        while (m_i < m_s.size() && !iswspace(m_s[m_i]) && m_s[m_i] != L'>' && m_s[m_i] != L'/' && m_s[m_i] != L'=')
            ++m_i;
        return m_s.substr(start, m_i - start);
    }
    bool Parse(Element* e) {
        if (m_i >= m_s.size() || m_s[m_i] != L'<') return m_ok = false;
        ++m_i;
        e->name = Name();
        for (;;) {
            while (m_i < m_s.size() && iswspace(m_s[m_i])) ++m_i;
            if (m_i >= m_s.size()) return m_ok = false;
            if (m_s.compare(m_i, 2, L"/>") == 0) {
                m_i += 2;
                return true;
            }
            if (m_s[m_i] == L'>') {
                ++m_i;
                break;
            }
            std::wstring attribute = Name();
            if (m_i + 1 >= m_s.size() || m_s[m_i] != L'=') return m_ok = false;
            const wchar_t quote = m_s[m_i + 1];
            const size_t end = m_s.find(quote, m_i + 2);
            if (end == std::wstring::npos) return m_ok = false;
            e->attributes.emplace_back(attribute, m_s.substr(m_i + 2, end - m_i - 2));
            m_i = end + 1;
        }
        for (;;) {
            const size_t lt = m_s.find(L'<', m_i);
            if (lt == std::wstring::npos) return m_ok = false;
            std::wstring text = m_s.substr(m_i, lt - m_i);
            if (text.find_first_not_of(L" \t\r\n") != std::wstring::npos) e->text += text;
            m_i = lt;
            if (m_s.compare(m_i, 4, L"<!--") == 0) {
                SkipMisc();
                continue;
            }
            if (m_s.compare(m_i, 2, L"</") == 0) {
                const size_t gt = m_s.find(L'>', m_i);
                if (gt == std::wstring::npos) return m_ok = false;
                m_i = gt + 1;
                return true;
            }
            e->children.emplace_back();
            if (!Parse(&e->children.back())) return false;
        }
    }

    const std::wstring& m_s;
    size_t m_i = 0;
    bool m_ok = true;
};

void Write(const Element& e, std::wstring& out) {
    out += L"<" + e.name;
    for (const auto& a : e.attributes) out += L" " + a.first + L"=\"" + a.second + L"\"";
    out += L">" + e.text;
    for (const Element& c : e.children) Write(c, out);
    out += L"</" + e.name + L">";
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : m_rng(seed) {}
    int Pick(int n) { return n > 0 ? static_cast<int>(m_rng() % static_cast<unsigned>(n)) : 0; }

    // The sample changed a few times, or something that is no XML at all.
    std::wstring Mutate(const Element& sample) {
        switch (Pick(20)) {
            case 0: return L"";
            case 1: return L"<helper><features><feature><name>MediaType";  // cut short
            case 2: return std::wstring(Pick(5000), static_cast<WCHAR>(1 + Pick(0xD7FF)));
            default: break;
        }
        Element root = sample;
        for (int i = 0, changes = 1 + Pick(6); i < changes; ++i) VChange(root);
        std::wstring out;
        Write(root, out);
        return out;
    }

private:
    std::wstring Number() {
        static const wchar_t* kNumbers[] = {L"-1", L"0", L"-2147483649", L"4294967296", L"99999999999999999999",
                                            L"1e308", L"-0", L"0x7FFFFFFF", L"NaN", L" 12 ", L"3.5", L"%d%d%s"};
        return kNumbers[Pick(sizeof kNumbers / sizeof kNumbers[0])];
    }
    std::wstring Long() { return std::wstring(static_cast<size_t>(200 + Pick(3000)), static_cast<WCHAR>(L'A' + Pick(26))); }

    static void Collect(Element& e, Element* parent, std::vector<std::pair<Element*, Element*>>& all) {
        for (Element& c : e.children) {
            all.emplace_back(&c, &e);
            Collect(c, &e, all);
        }
        (void)parent;
    }

    void VChange(Element& root) {
        std::vector<std::pair<Element*, Element*>> all;  // element, its parent
        Collect(root, nullptr, all);
        if (all.empty()) return;
        auto [node, parent] = all[static_cast<size_t>(Pick(static_cast<int>(all.size())))];
        const Element* other = all[static_cast<size_t>(Pick(static_cast<int>(all.size())))].first;
        const size_t at = static_cast<size_t>(node - parent->children.data());
        switch (Pick(10)) {
            case 0:  // delete
                parent->children.erase(parent->children.begin() + static_cast<long>(at));
                break;
            case 1: {  // duplicate
                const Element twin = *node;
                parent->children.insert(parent->children.begin() + static_cast<long>(at), twin);
                break;
            }
            case 2:
            case 3:  // odd texts
                node->text = Pick(2) ? Number() : (Pick(2) ? Long() : std::wstring(Pick(2) ? L"" : L"abc"));
                break;
            case 4: {  // deep nesting of the element in copies of itself
                Element inner = *node;
                for (int d = 0, depth = 20 + Pick(200); d < depth; ++d) {
                    Element wrap;
                    wrap.name = inner.name;
                    wrap.children.push_back(std::move(inner));
                    inner = std::move(wrap);
                }
                *node = std::move(inner);
                break;
            }
            case 5:  // a long or another element's name, the children kept
                node->name = Pick(2) ? other->name : L"n" + Long();
                break;
            case 6:
            case 7:  // attributes: one dropped or given a long or odd value
                if (!node->attributes.empty()) {
                    const size_t i = static_cast<size_t>(Pick(static_cast<int>(node->attributes.size())));
                    if (Pick(3) == 0)
                        node->attributes.erase(node->attributes.begin() + static_cast<long>(i));
                    else
                        node->attributes[i].second = Pick(2) ? Number() : Long();
                }
                break;
            default:  // another element's text (a macro name where a call is, a feature where an option is)
                node->text = other->text;
                break;
        }
    }

    std::mt19937 m_rng;
};

// Each input gets a write time of its own (a second after the last one's): the process keeps a parsed
// helper file while its size and write time stay the same, and two inputs of one size may be
// written within the clock's step.
bool WriteText(const std::wstring& path, const std::wstring& text) {
    static ULONGLONG s_stamp = 0;
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const WCHAR bom = 0xFEFF;
    DWORD written = 0;
    WriteFile(file.Get(), &bom, sizeof bom, &written, nullptr);
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(WCHAR)), &written, nullptr))
        return false;
    if (!s_stamp) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        s_stamp = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    }
    s_stamp += 10000000;
    const FILETIME stamp = {static_cast<DWORD>(s_stamp), static_cast<DWORD>(s_stamp >> 32)};
    return SetFileTime(file.Get(), nullptr, nullptr, &stamp) != FALSE;
}

// Every node of the pattern, walked with the readers that write into the caller's buffers.
void ReadAll(IXMLDOMDocument* doc, const wchar_t* pattern) {
    CZQComPtr<IXMLDOMNodeList> nodes;
    BSTR b = SysAllocString(pattern);
    doc->selectNodes(b, nodes.Put());
    SysFreeString(b);
    LONG count = 0;
    if (!nodes || FAILED(nodes->get_length(&count))) return;
    for (LONG i = 0; i < count && i < 400; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        if (nodes->get_item(i, node.Put()) != S_OK || !node) continue;
        for (int cch : {1, 16, 256}) {
            Guarded text(static_cast<size_t>(cch) * sizeof(WCHAR)), name(static_cast<size_t>(cch) * sizeof(WCHAR)),
                attr(static_cast<size_t>(cch) * sizeof(WCHAR)), other(256 * sizeof(WCHAR));
            BGetNodeText(node.Get(), text.Text(), cch);
            BGetNodeName(node.Get(), name.Text(), cch);
            BGetAttributeText(node.Get(), L"name", attr.Text(), cch);
            FLOAT left = 0, top = 0, right = 0, bottom = 0;
            CZQXmlParserCommon::BGetBorderlessSettings(node.Get(), L"LETTER", other.Text(), &left, &top, &right, &bottom);
        }
        LONG value = 0;
        BGetNodeInt(node.Get(), &value);
        PWSTR* settings = nullptr;
        DWORD settingCount = 0;
        if (CZQXmlHelperReaders::BReadSettingText(node.Get(), &settings, &settingCount) && settings) {
            for (DWORD s = 0; s < settingCount; ++s) LocalFree(settings[s]);
            LocalFree(settings);
        }
        PWSTR dmlName = nullptr, dmlId = nullptr;
        CZQXmlHelperReaders::BReadDmlPairs(node.Get(), &dmlName, &dmlId);
        LocalFree(dmlName);
        LocalFree(dmlId);
        LONG** ids = nullptr;
        FLOAT** values = nullptr;
        DWORD optionCount = 0;
        if (CZQXmlHelperReaders::BReadOptionList(node.Get(), &ids, &values, &optionCount)) {
            for (DWORD o = 0; o < optionCount; ++o) {
                if (ids) LocalFree(ids[o]);
                if (values) LocalFree(values[o]);
            }
            LocalFree(ids);
            LocalFree(values);
        }
        LONG resourceId = 0;
        CZQXmlHelperReaders::BGetOptionResourceId(node.Get(), 1.0f, &resourceId);
        PWSTR limits[5] = {};
        CZQXmlParserCommon::BGetRollLimits(node.Get(), &limits[0], &limits[1], &limits[2], &limits[3], &limits[4]);
        for (PWSTR p : limits) LocalFree(p);
    }
}

template <typename T>
void FreeEntries(T** entries, LONG count) {
    for (LONG i = 0; entries && i < count; ++i) LocalFree(entries[i]);
    LocalFree(entries);
}

// The groups into a tree view (the sample's items, a printer with a user form among the driver's
// forms), every named group's member lists, and every element read as a document type, a feature
// and a choice into buffers that end where the process may not write.
void ReadGroupsAndDocTypes(CZQXmlUiRules& rules, IXMLDOMDocument* doc, POEMCUIPPARAM param, HWND tree) {
    rules.BFillPaperSizeTree(tree, param, &CZQCustomPaperDlg::BFindForm);
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    rules.BFillMediaTypeTree(tree, param);
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    for (const wchar_t* group : {L"PaperSize", L"PaperType", L"ZQMarginType", L""}) {
        CZQComPtr<IXMLDOMNode> first;
        if (!rules.BFindFeatureNode(first.Put(), group)) continue;
        PWSTR *one = nullptr, *two = nullptr;
        int count1 = 0, count2 = 0;
        CZQXmlUiRules::BReadNodeTextList(first.Get(), &one, &two, &count1, &count2);
        CZQCommon::VFreeStringList(one, count1);
        CZQCommon::VFreeStringList(two, count2);
    }
    CZQComPtr<IXMLDOMNodeList> nodes;
    BSTR b = SysAllocString(L"//*");
    doc->selectNodes(b, nodes.Put());
    SysFreeString(b);
    LONG count = 0;
    if (!nodes || FAILED(nodes->get_length(&count))) return;
    constexpr size_t kBytes = CZQXmlUiRules::kDocTextChars * sizeof(WCHAR);
    for (LONG i = 0; i < count && i < 400; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        if (nodes->get_item(i, node.Put()) != S_OK || !node) continue;
        Guarded label(kBytes), name(kBytes), hidden(kBytes), selected(kBytes), disabled(kBytes), choice(kBytes);
        LONG labelId = 0, helpId = 0, index = 0, bitmap = 0, optionCount = 0;
        rules.BReadOptionName(node.Get(), label.Text());
        CZQXmlUiRules::BReadBitmapId(node.Get(), &bitmap);
        CZQXmlUiRules::BReadDocOptionEntry(node.Get(), choice.Text(), &bitmap, &labelId);
        PWSTR* options = nullptr;
        LONG **bitmaps = nullptr, **labels = nullptr;
        rules.BReadDocOptionsEx(node.Get(), name.Text(), &labelId, &helpId, hidden.Text(), selected.Text(), &index,
                                &options, &bitmaps, &optionCount, &labels, disabled.Text());
        FreeEntries(options, optionCount);
        FreeEntries(bitmaps, optionCount);
        FreeEntries(labels, optionCount);
        PWSTR *features = nullptr, *pairs = nullptr;
        LONG featureCount = 0;
        rules.BReadDocFeatures(node.Get(), &features, &pairs, &featureCount);
        FreeEntries(features, featureCount);
        FreeEntries(pairs, featureCount);
    }
    // Every document type of the file into the shortcuts page's panel entries.
    CZQComPtr<IXMLDOMNodeList> types;
    BSTR pattern = SysAllocString(L"//DocSetting");
    doc->selectNodes(pattern, types.Put());
    SysFreeString(pattern);
    LONG typeCount = 0;
    if (!types || FAILED(types->get_length(&typeCount))) return;
    CZQLargeFormatShortcutsTab page;
    page.VBind(nullptr, param, nullptr);
    PageContext context = {};
    context.pPage = &page;
    context.pRules = &rules;
    for (LONG i = 0; i < typeCount && i < 100; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        if (types->get_item(i, node.Put()) != S_OK || !node) continue;
        page.BReadShortcutDocument(node.Get(), &context, 0);
    }
}

// Every pop-up answered at once, counted.
int g_popups = 0;
int Answer(void*, HWND, PCWSTR, PCWSTR, UINT) {
    ++g_popups;
    return IDOK;
}

// An extension list naming two modules for every event.
std::wstring ExtensionListSample() {
    std::wstring events;
    for (int i = 0; i < kExtEventCount; ++i)
        events += std::wstring(L"<event><name>") + ZQExtensionEventName(i) +
                  L"</name><module><file>zqexta.dll</file></module><module><file>zqextb.dll</file></module></event>";
    return L"<dem><events>" + events + L"</events></dem>";
}

// The printer the alert definitions ask: the device-server stand-ins registered for the run,
// answering from the desk sample's device script.
constexpr wchar_t kDevicePrinter[] = L"ZQ Fuzz Device Printer";

class DeviceSession {
public:
    explicit DeviceSession(const std::wstring& dir) : m_dir(dir) {
        if (!Registration(true)) return;
        const std::wstring script = dir + L"\\samples\\zqdesk\\zqdesk.zqd";
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevScriptsKey, kDevicePrinter, REG_SZ, script.c_str(),
                        static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t)));
        if (FAILED(ZQCreateDeviceServer(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel,
                                        reinterpret_cast<void**>(&record.pStatusObject))) ||
            FAILED(ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList, reinterpret_cast<void**>(&record.pRequest))))
            return;
        auto* channel = static_cast<IZQDeviceChannel*>(record.pStatusObject);
        m_open = SUCCEEDED(channel->Open(kDevicePrinter)) &&
                 SUCCEEDED(channel->SetOptions(0, 0, 1, DWORD(-1), DWORD(-1), DWORD(-1), DWORD(-1)));
        StatusRecord::BSetText(&record.pszPrinterName, kDevicePrinter);
    }
    ~DeviceSession() {
        if (m_open) static_cast<IZQDeviceChannel*>(record.pStatusObject)->Close();
        if (record.pStatusObject) record.pStatusObject->Release();
        if (record.pRequest) record.pRequest->Release();
        record.pStatusObject = record.pRequest = nullptr;
        Registration(false);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    }
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;
    bool BOpen() const { return m_open; }
    // Every definition evaluated against the printer's answers; the alerts start afresh each time.
    void VEvaluate(const CZQPtrArray& definitions) {
        record.items.VRemoveAll();
        VEvaluateAlertDefinitions(definitions, &record);
    }

    StatusRecord record;

private:
    bool Registration(bool bRegister) {
        CZQModule library(LoadLibraryW((m_dir + L"\\zqdevapi.dll").c_str()));
        const auto entry = library ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(
                                         GetProcAddress(library.Get(), bRegister ? "DllRegisterServer" : "DllUnregisterServer")))
                                   : nullptr;
        return entry && entry() == S_OK;
    }

    std::wstring m_dir;
    bool m_open = false;
};

// The extension list's hooks raised for every event, without a printer: the modules come from this
// program's directory (the extension-module stand-ins lie there). Their calls are not kept.
constexpr wchar_t kHookDriver[] = L"ZQ Fuzz Driver";

void RaiseHooks() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQExtModRecordKey);
    CZQEventHooks hooks;
    if (!hooks.BLoadEventHooks(nullptr, kHookDriver)) return;
    for (int i = 0; i < kExtEventCount; ++i) {
        INT result = 0;
        switch (i) {
            case kExtPrinterEventInitPre:
            case kExtPrinterEventInitPost:
            case kExtPrinterEventDelete:
            case kExtPrinterEventConnect:
            case kExtPrinterEventRefresh: hooks.BCallPrinterEventHooks(nullptr, 1, 0, 0, i); break;
            case kExtDocPropSheetInit:
            case kExtDocPropSheetDestroy:
            case kExtDevPropSheetInit:
            case kExtDevPropSheetDestroy: hooks.BCallPropSheetHooks(nullptr, nullptr, 0, i); break;
            case kExtDriverEventInit:
            case kExtDriverEventDelete: hooks.BCallDriverEventHooks(nullptr, 1, 1, nullptr, 0, i); break;
            case kExtCommonUIProp: hooks.BCallCommonUIPropHooks(1, nullptr, i); break;
            default: hooks.BCallDocumentEventHooks(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, &result, i); break;
        }
    }
}

// Ends the run when one input takes longer than its time.
class Watchdog {
public:
    explicit Watchdog(DWORD dwLimitMs) : m_limit(dwLimitMs) {
        m_thread = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
    }
    ~Watchdog() {
        m_stop = true;
        if (m_thread) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
        }
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    // An input starts; the time of the one before it, in milliseconds.
    DWORD DWStart(int iInput, unsigned seed) {
        const DWORD now = GetTickCount();
        const DWORD spent = m_input >= 0 ? now - m_start : 0;
        m_seed = seed;
        m_start = now;
        m_input = iInput;
        return spent;
    }
    DWORD DWEnd() {
        const DWORD spent = m_input >= 0 ? GetTickCount() - m_start : 0;
        m_input = -1;
        return spent;
    }

private:
    static DWORD WINAPI Watch(void* pSelf) {
        auto* self = static_cast<Watchdog*>(pSelf);
        while (!self->m_stop) {
            Sleep(100);
            const int input = self->m_input;
            if (input >= 0 && GetTickCount() - self->m_start > self->m_limit) {
                fwprintf(stderr, L"\nTIMEOUT input %d (seed %u) ran over %lu ms\n", input, self->m_seed.load(),
                         self->m_limit);
                fflush(stderr);
                fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 4);
            }
        }
        return 0;
    }

    const DWORD m_limit;
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_input{-1};
    std::atomic<unsigned> m_seed{0};
    std::atomic<DWORD> m_start{0};
};

struct Sample {
    const wchar_t* helper;
    const wchar_t* model;
};
const Sample kSamples[] = {{L"zqdesk.xml", zqhosttest::kDeskModel}, {L"zqroll.xml", zqhosttest::kRollModel}};

int Run(const std::wstring& target, int inputs, unsigned firstSeed) {
    const std::wstring dir = ExeDir();
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // The extension list lies beside the modules it names, as a driver's does.
    const std::wstring file = (target == L"events" ? dir + L"\\" : std::wstring(temp)) + L"zqxmlfuzz-" + target + L".xml";
    std::vector<Element> samples;
    std::vector<std::unique_ptr<CZQSampleItems>> items;
    for (const Sample& s : kSamples) {
        samples.emplace_back();
        items.push_back(std::make_unique<CZQSampleItems>((dir + L"\\" + s.model).c_str(), 1));
        if (!TreeReader(ReadText(dir + L"\\" + s.helper)).Read(&samples.back()) || !items.back()->Built()) {
            fwprintf(stderr, L"cannot read the sample %ls\n", s.helper);
            return 2;
        }
    }
    if (target == L"events") {
        samples.assign(1, Element());
        if (!TreeReader(ExtensionListSample()).Read(&samples[0])) return 2;
        // The user's copy of the driver's list name: the driver has no machine key here.
        const std::wstring key = std::wstring(zqsettings::kUserExtensionListKey) + kHookDriver;
        const std::wstring name = L"zqxmlfuzz-events.xml";
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), zqsettings::kUserExtensionList, REG_SZ, name.c_str(),
                        static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    }
    std::unique_ptr<DeviceSession> device;
    if (target == L"helper") {
        device = std::make_unique<DeviceSession>(dir);
        if (!device->BOpen()) {
            fwprintf(stderr, L"cannot open the scripted printer\n");
            return 2;
        }
    }
    WCHAR limit[16] = {};
    const DWORD limitMs = GetEnvironmentVariableW(L"ZQXMLFUZZ_LIMIT_MS", limit, 16) ? static_cast<DWORD>(_wtoi(limit)) : 20000;
    Watchdog watchdog(limitMs ? limitMs : 20000);
    DWORD slowestMs = 0;
    unsigned slowestSeed = firstSeed;
    zqmsgbox::SetAnswerer(&Answer, nullptr);
    // The helper target's printer: the status module in its driver directory, forms of both kinds.
    std::unique_ptr<zqspool::CZQMemoryPrinter> printer;
    HWND tree = nullptr;
    if (target == L"helper") {
        zqspool::MemPrinterIdentity identity;
        identity.driverDirectory = dir;
        printer = std::make_unique<zqspool::CZQMemoryPrinter>(identity);
        printer->Install();
        printer->AddForm(L"Letter", 215900, 279400, FORM_BUILTIN);
        printer->AddForm(L"Custom Size", 200000, 300000, FORM_USER);
        for (auto& sample : items) static_cast<POEMCUIPPARAM>(sample->CommonUIParam())->hPrinter = printer->Open();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    }
    int maxPopups = 0, loaded = 0;
    for (int i = 0; i < inputs; ++i) {
        const unsigned seed = firstSeed + static_cast<unsigned>(i);
        // Written first, so that a crash leaves the seed to replay.
        wprintf(L"\rinput %d (seed %u)   ", i, seed);
        fflush(stdout);
        const DWORD spent = watchdog.DWStart(i, seed);
        if (i > 0 && spent > slowestMs) {
            slowestMs = spent;
            slowestSeed = seed - 1;
        }
        Mutator mutator(seed);
        const size_t which = static_cast<size_t>(mutator.Pick(static_cast<int>(samples.size())));
        if (!WriteText(file, mutator.Mutate(samples[which]))) return 2;
        if (GetEnvironmentVariableW(L"ZQXMLFUZZ_KEEP", nullptr, 0)) CopyFileW(file.c_str(), (file + L".kept").c_str(), FALSE);
        if (target == L"events") {
            ExtensionEventList* list = nullptr;
            if (CZQEventTable().BLoad(file.c_str(), &list)) ++loaded;
            ZQFreeExtensionEventList(list);
            RaiseHooks();
            continue;
        }
        auto rules = std::make_unique<CZQXmlUiRules>();
        CZQXmlParserCommon& parser = rules->Parser();
        if (!parser.BLoad(file.c_str())) continue;
        parser.VSetLoaded(TRUE);
        ++loaded;
        IXMLDOMDocument* doc = parser.Document();
        if (target == L"helper") {
            ReadAll(doc, L"//*");
            ReadGroupsAndDocTypes(*rules, doc, static_cast<POEMCUIPPARAM>(items[which]->CommonUIParam()), tree);
            CZQPtrArray definitions;
            BLoadAlertDefinitions(doc, definitions);
            device->VEvaluate(definitions);
            VFreeAlertDefinitions(definitions);
        } else if (target == L"macros") {
            auto* param = static_cast<POEMCUIPPARAM>(items[which]->CommonUIParam());
            for (const auto& feature : items[which]->Model().features) {
                g_popups = 0;
                const std::wstring keyword(feature.keyword.begin(), feature.keyword.end());
                rules->BRunFeatureMacros(keyword.c_str(), L"", param);
                if (g_popups > maxPopups) maxPopups = g_popups;
            }
            rules->BEvaluateSwitch(parser.MacroList(), L"macro_PrintQuality");
        } else if (target == L"constraints") {
            CZQConstraintRuleSet set;
            if (set.BLoad(doc)) {
                for (const wchar_t* feature : {L"MediaType", L"PrintQuality", L"ZQBorderless", L"ZQPrintInGrayScale",
                                               L"PaperSize", L"ZQMorePasses"}) {
                    DWORD cancelled = 0;
                    set.BEvaluate(feature, L"PHOTO_GLOSSY", GetDesktopWindow(), &cancelled);
                }
            }
        } else {
            fwprintf(stderr, L"unknown target %ls\n", target.c_str());
            return 2;
        }
    }
    const DWORD last = watchdog.DWEnd();
    if (inputs > 0 && last > slowestMs) {
        slowestMs = last;
        slowestSeed = firstSeed + static_cast<unsigned>(inputs) - 1;
    }
    zqmsgbox::SetAnswerer(nullptr, nullptr);
    if (tree) DestroyWindow(tree);
    DeleteFileW(file.c_str());
    if (target == L"events") {
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(zqsettings::kUserExtensionListKey) + kHookDriver).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQExtModRecordKey);
    }
    wprintf(L"\r%ls: %d inputs from seed %u (%d loaded), no fault; most pop-ups for one change: %d; slowest input: "
            L"seed %u, %lu ms\n",
            target.c_str(), inputs, firstSeed, loaded, maxPopups, slowestSeed, slowestMs);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetUnhandledExceptionFilter(&ZQFuzzFault);
    if (argc < 3) {
        fwprintf(stderr, L"usage: zqxmlfuzz <helper|macros|constraints|events> <inputs> [first seed]\n");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    const int rc = Run(argv[1], _wtoi(argv[2]), argc > 3 ? static_cast<unsigned>(_wtoi(argv[3])) : 1u);
    CoUninitialize();
    return rc;
}
