// The rules' side of the benchmarks, inside the plug-in's code: loading the helper file against
// the XML parse alone, a feature change that runs macros, and how lookups and macro runs grow; the
// quick sets' load against listing their values alone, an applied quick set against one option, the
// installation's rebuild against a normal load; the printing-shortcuts list with 25 stored shortcuts
// against the document types alone, and the panel of a ten-row type built first against rebuilt; a
// shortcut chosen in the list against one panel list changed; the advanced colour settings' picture recoloured for a slider
// step against painting it unchanged.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "optitemfixture.h"
#include "common/zqmsgbox.h"
#include "common/zqtrace.h"
#include "featurelogic/zqquicksets.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "res/zqshortcutsids.h"
#include "pages/color/zqadvcolordlg.h"
#include "res/zqadvcolorids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmluirules.h"
#include "zqbench.h"
#include "zqmemprinter.h"

namespace zqbench {
namespace {

constexpr wchar_t kDeskHelper[] = L"\\samples\\zqdesk\\zqdesk.xml";

std::wstring TempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// The inner text of the first <tag>...</tag>, with its bounds.
bool Section(const std::string& xml, const std::string& tag, size_t& begin, size_t& end) {
    const size_t open = xml.find("<" + tag + ">");
    const size_t close = xml.find("</" + tag + ">");
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    begin = open + tag.size() + 2;
    end = close;
    return true;
}

// Every "<name>" and "<macro_name>" text of a copied block gets the copy's suffix, so copies never
// shadow the sample's own entries.
std::string Renamed(const std::string& block, const std::string& suffix) {
    std::string out;
    out.reserve(block.size() + 256);
    size_t at = 0;
    for (;;) {
        size_t open = block.find("name>", at);
        if (open == std::string::npos) break;
        open += 5;
        const size_t close = block.find("</", open);
        if (close == std::string::npos || block[open - 6] == '/') {
            out += block.substr(at, open - at);
            at = open;
            continue;
        }
        out += block.substr(at, close - at) + suffix;
        at = close;
    }
    return out + block.substr(at);
}

// The sample helper file grown to about `size` bytes: copies of its features, macros and
// constraints ahead of its own, so a lookup of a sample entry walks past every copy.
std::string GrownHelper(const std::string& sample, size_t size) {
    const char* tags[] = {"features", "macros", "constraints"};
    size_t begin[3], end[3];
    for (int i = 0; i < 3; ++i)
        if (!Section(sample, tags[i], begin[i], end[i])) return sample;
    if (!(end[0] < begin[1] && end[1] < begin[2])) return sample;
    std::string added[3];
    size_t grown = sample.size();
    for (int copy = 1; grown < size; ++copy)
        for (int i = 0; i < 3; ++i) {
            added[i] += Renamed(sample.substr(begin[i], end[i] - begin[i]), "_r" + std::to_string(copy));
            grown += end[i] - begin[i];
        }
    std::string out = sample.substr(0, begin[0]);
    for (int i = 0; i < 3; ++i)
        out += added[i] + sample.substr(begin[i], end[i] - begin[i]) +
               sample.substr(end[i], (i < 2 ? begin[i + 1] : sample.size()) - end[i]);
    return out;
}

// The XML parse alone, as the reader makes it.
double ParseOnly(const std::wstring& path) {
    const double t0 = NowUs();
    IXMLDOMDocument* doc = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(&doc))))
        return 0;
    doc->put_async(VARIANT_FALSE);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(path.c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    doc->load(source, &ok);
    VariantClear(&source);
    doc->Release();
    return NowUs() - t0;
}

// The desk printer's features the sample's macros work on, at their defaults.
void BuildDeskHost(zqtest::COptItemFixture& host) {
    host.Add(zqtest::ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"BROCHURE", L"Brochure"},
                                               {"PHOTO_GLOSSY", L"Glossy"}, {"PHOTO_MATTE", L"Matte"},
                                               {"TRANSPARENCY", L"Film"}}));
    host.Add(zqtest::ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long"}, {"HORIZONTAL", L"Short"}}));
    host.Add(zqtest::ListFeature("PrintQualityGroup", {{"PQGroup_0", L"Draft"}, {"PQGroup_1", L"Normal"},
                                                       {"PQGroup_2", L"Best"}}, 1));
    host.Add(zqtest::ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"PHOTO_4X6", L"4x6"}}));
    host.Add(zqtest::ListFeature("InputBin", {{"AUTOSELECT", L"Auto"}, {"TRAY1", L"Tray 1"}}));
    host.Build();
}

void MeasureLoads(int reps) {
    const std::string sample = ReadFile(ExeDir() + kDeskHelper);
    if (sample.empty()) {
        std::fprintf(stderr, "no sample helper file\n");
        return;
    }
    struct Size {
        const char* label;
        size_t bytes;
    };
    for (const Size& s : {Size{"sample", 0}, Size{"500 KB", 500 * 1024}, Size{"5 MB", 5 * 1024 * 1024}}) {
        const std::string text = s.bytes ? GrownHelper(sample, s.bytes) : sample;
        const std::wstring path = TempPath(L"zqbench-helper.xml");
        WriteFile(path, text);
        const int n = s.bytes > 1024 * 1024 ? std::max(3, reps / 3) : reps;
        auto parse = Time(n, 1, [&] { return ParseOnly(path); });
        auto load = Time(n, 1, [&] {
            CZQXmlUiRules rules;
            const double t0 = NowUs();
            rules.Parser().BLoad(path.c_str());
            return NowUs() - t0;
        });
        // The name index is built by the first lookup after a load: it counts here.
        zqtest::COptItemFixture firstHost;
        BuildDeskHost(firstHost);
        auto loadAndFirst = Time(n, 1, [&] {
            CZQXmlUiRules rules;
            const double t0 = NowUs();
            rules.Parser().BLoad(path.c_str());
            rules.Parser().VSetLoaded(TRUE);
            rules.BRunFeatureMacros(L"MediaType", L"PLAIN", firstHost.Param());
            return NowUs() - t0;
        });
        const std::string name =
            std::string("helper file ") + s.label + " (" + std::to_string(text.size() / 1024) + " KB)";
        Report(name + ", XML parse alone", parse);
        Report(name + ", load", load, &parse, "the parse alone");
        Report(name + ", load and first change", loadAndFirst, &parse, "the parse alone");

        // A user's choice of media that runs the sample's macros, with the sample's entries last.
        CZQXmlUiRules rules;
        zqtest::COptItemFixture host;
        BuildDeskHost(host);
        if (!rules.Parser().BLoad(path.c_str())) continue;
        rules.Parser().VSetLoaded(TRUE);
        // The constraint rules as the gate loads them, checked on a window as on a page.
        CZQConstraintRuleSet constraints;
        constraints.BLoad(rules.Parser().Document());
        HWND page = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        int flip = 0;
        auto change = Time(reps, 1, [&] {
            const double t0 = NowUs();
            const wchar_t* option = (flip ^= 1) ? L"PHOTO_GLOSSY" : L"PLAIN";
            host.SetSelection("MediaType", flip ? 2 : 0);
            rules.BRunFeatureMacros(L"MediaType", option, host.Param());
            DWORD cancelled = 0;
            constraints.BEvaluate(L"MediaType", option, page, &cancelled);
            return NowUs() - t0;
        });
        DestroyWindow(page);
        Report(name + ", feature change with macros and constraints", change);
        DeleteFileW(path.c_str());
    }
}

// A helper file with one feature naming `k` macros out of `total`, each setting one option.
std::string MacroFile(int k, int total) {
    std::string features = "<feature><name>Grow</name>";
    for (int i = 0; i < k; ++i) features += "<macro_name>m" + std::to_string(total - k + i) + "</macro_name>";
    features += "</feature>";
    std::string macros;
    for (int i = 0; i < total; ++i)
        macros += "<macro><name>m" + std::to_string(i) + "</name><select_option>Duplex.NONE</select_option></macro>";
    return "<?xml version=\"1.0\"?><device><software><component><name>Tarnix</name><helper><features>" + features +
           "</features><macros>" + macros + "</macros></helper></component></software></device>";
}

// The engine with this helper text loaded; false when it does not load.
bool LoadRules(CZQXmlUiRules& rules, const std::wstring& path, const std::string& text) {
    WriteFile(path, text);
    if (!rules.Parser().BLoad(path.c_str())) return false;
    rules.Parser().VSetLoaded(TRUE);
    return true;
}

void MeasureGrowth(int reps) {
    zqtest::COptItemFixture host;
    BuildDeskHost(host);
    const std::wstring path = TempPath(L"zqbench-macros.xml");
    // A macro looked up by name at the start and at the end of a long list.
    for (int total : {100, 1000, 4000}) {
        CZQXmlUiRules rules;
        if (!LoadRules(rules, path, MacroFile(1, total))) continue;
        auto lookup = [&](int at) {
            const std::wstring name = L"m" + std::to_wstring(at);
            return Time(reps, 1, [&] {
                const double t0 = NowUs();
                rules.BRunMacro(name.c_str(), nullptr, host.Param());
                return NowUs() - t0;
            });
        };
        const auto first = lookup(0), last = lookup(total - 1);
        Report("macro lookup, first of " + std::to_string(total), first);
        Report("macro lookup, last of " + std::to_string(total), last, &first, "the first");
    }
    // A feature naming k macros (the macros at the end of 2000): time per macro should stay flat.
    std::vector<double> base;
    for (int k : {10, 100, 400}) {
        CZQXmlUiRules rules;
        if (!LoadRules(rules, path, MacroFile(k, 2000))) continue;
        auto runs = Time(reps, 1, [&] {
            const double t0 = NowUs();
            rules.BRunFeatureMacros(L"Grow", nullptr, host.Param());
            return (NowUs() - t0) / k;
        });
        if (base.empty()) base = runs;
        Report("feature naming " + std::to_string(k) + " macros, per macro", runs, &base, "at 10");
    }
    DeleteFileW(path.c_str());
}

}  // namespace

// A trace point of an entry, switched off as a release build runs unless asked.
void MeasureTrace(int reps) {
    if (zqtrace::Enabled()) {
        std::printf("tracing is switched on: trace points not measured\n");
        return;
    }
    const int inner = 10000;
    volatile int sink = 0;
    auto bare = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i) sink = sink + 1;
        return (NowUs() - t0) / inner;
    });
    auto traced = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i) {
            ZQ_TRACE("zqbench trace point");
            sink = sink + 1;
        }
        return (NowUs() - t0) / inner;
    });
    Report("empty entry", bare);
    Report("entry with a trace point, tracing off", traced, &bare, "the empty entry");
}

QuickSetEntry* NewEntry(CZQQuickSets& qs, PCWSTR pszName) {
    QuickSetEntry* e = qs.PNewEntry();
    lstrcpynW(e->head.szName, pszName, 82);
    e->head.dwMarker = 21;
    e->head.cchName = 82;
    e->head.cbSettings = 2020;
    return e;
}

void MeasureQuickSetApply(int reps, zqspool::CZQMemoryPrinter& printer, OEMCUIPPARAM* param, ZQUIDevmode& dm);

// The desk printer's items on the memory printer, installed, with the devmode.
OEMCUIPPARAM* MemoryDeskHost(zqspool::CZQMemoryPrinter& printer, zqtest::COptItemFixture& host, ZQUIDevmode& dm) {
    printer.Install();
    BuildDeskHost(host);
    OEMCUIPPARAM* param = host.Param();
    param->hPrinter = printer.Open();
    param->pOEMDM = &dm;
    return param;
}

// 25 stored quick sets of 40 pairs each on the memory printer: the manager's load (listing, reading,
// the installable-option check of each) against listing the same values alone.
void MeasureQuickSets(int reps) {
    zqspool::CZQMemoryPrinter printer;
    zqtest::COptItemFixture host;
    ZQUIDevmode dm = {};
    OEMCUIPPARAM* param = MemoryDeskHost(printer, host, dm);
    {
        CZQQuickSets writer;
        writer.VSetParam(param, OEMCUIP_DOCPROP);
        writer.VPrepareStore();
        for (int i = 0; i < 25; ++i) {
            wchar_t name[82];
            swprintf(name, 82, L"Quick set %d", i);
            QuickSetEntry* e = NewEntry(writer, name);
            for (int p = 0; p < 40; ++p) {
                wchar_t feature[32];
                swprintf(feature, 32, L"Feature%d", p);
                CZQQuickSets::VAppendPair(&e->pPairs, feature, L"SOME_OPTION");
            }
            CZQQuickSets::VAppendPair(&e->pPairs, L"InputBin", L"TRAY1");
            writer.VWriteEntry(e, FALSE);
        }
    }
    int loaded = 0;
    const auto load = Time(reps, 3, [&] {
        const double start = NowUs();
        CZQQuickSets qs;
        qs.VSetParam(param, OEMCUIP_DOCPROP);
        qs.VPrepareStore();
        qs.VLoadStored();
        loaded = 0;
        for (QuickSetEntry* e = qs.PFirstEntry(); e; e = e->pNext, ++loaded) qs.VCheckInstallable(e);
        return NowUs() - start;
    });
    const auto list = Time(reps, 3, [&] {
        const double start = NowUs();
        CZQPrinterDataList values;
        values.BRead(param->hPrinter, L"ZQPresetRoot\\PresetPoolData");
        return NowUs() - start;
    });
    if (loaded != 25) std::printf("quick sets: %d loaded of 25\n", loaded);
    Report("25 quick sets loaded and checked", load, &list, "their values listed alone");
    MeasureQuickSetApply(reps, printer, param, dm);
}

// A quick set naming every feature applied against one option selected; the installation's rebuild
// of the store from the desk printer's presets against a normal load of what it wrote.
void MeasureQuickSetApply(int reps, zqspool::CZQMemoryPrinter& printer, OEMCUIPPARAM* param, ZQUIDevmode& dm) {
    CZQQuickSets qs;
    qs.VSetParam(param, OEMCUIP_DOCPROP);
    qs.VPrepareStore();
    qs.BTakeWorkingCopy(&dm);
    QuickSetEntry* e = NewEntry(qs, L"Every feature");
    PWSTR* features = nullptr;
    PWSTR* options = nullptr;
    int count = 0;
    if (CZQCommon::DWGetAllFeatureOptions(param, &features, &options, &count) == ZQOPT_OK) {
        for (int i = 0; i < count; ++i) CZQQuickSets::VAppendPair(&e->pPairs, features[i], options[i]);
        CZQCommon::VFreeStringList(features, count);
        CZQCommon::VFreeStringList(options, count);
    }
    const auto apply = Time(reps, 3, [&] {
        const double start = NowUs();
        qs.VApplyByName(L"Every feature");
        return NowUs() - start;
    });
    const auto one = Time(reps, 3, [&] {
        const double start = NowUs();
        CZQCommon::DWSelectOptionByKeyword(param, L"MediaType", L"BROCHURE", OEMCUIP_DOCPROP);
        return NowUs() - start;
    });
    Report("a quick set of " + std::to_string(count) + " features applied", apply, &one, "one option selected");

    CZQXmlUiRules rules;
    if (!rules.Parser().BLoad((ExeDir() + kDeskHelper).c_str())) {
        std::fprintf(stderr, "no sample helper file\n");
        return;
    }
    rules.Parser().VSetLoaded(TRUE);
    // A fresh manager's load while "InstallationComplete" reads the given value.
    const auto loadWith = [&](DWORD installing) {
        return Time(reps, 1, [&] {
            printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, zqsettings::kInstallationComplete, REG_DWORD,
                             &installing, sizeof installing);
            CZQQuickSets fresh;
            fresh.VSetParam(param, OEMCUIP_DOCPROP);
            const double start = NowUs();
            fresh.VLoad(&rules, &dm);
            return NowUs() - start;
        });
    };
    const auto rebuild = loadWith(1);
    const auto load = loadWith(0);
    Report("the installation's rebuild of the quick sets", rebuild, &load, "a normal load");
}

// The roll sample's shortcut list filled as the page starts: with 25 stored shortcuts (each read from
// the printer's data and put under its document type), then with 200 and 2,000 unreadable values
// beside them, against the document types alone.
void MeasureShortcutList(int reps) {
    zqspool::CZQMemoryPrinter printer;
    zqtest::COptItemFixture host;
    ZQUIDevmode dm = {};
    OEMCUIPPARAM* param = MemoryDeskHost(printer, host, dm);
    CZQUILogic logic;
    logic.VSetParam(param, OEMCUIP_DOCPROP);
    CZQXmlUiRules rules;
    if (!rules.Parser().BLoad((ExeDir() + L"\\samples\\zqroll\\zqroll.xml").c_str())) {
        std::printf("shortcut list: the roll sample's helper file did not load\n");
        return;
    }
    rules.Parser().VSetLoaded(TRUE);
    CZQQuickSets quickSets;
    PrinterCaps caps = {};
    CZQLargeFormatShortcutsTab tab;
    tab.VBind(nullptr, param, nullptr);
    PageContext context = {&tab, &logic, nullptr, nullptr, &caps, &rules, nullptr, nullptr, nullptr, &quickSets,
                           nullptr, nullptr, nullptr, nullptr};
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 200, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LB_DOCTYPE_SETTING)), nullptr, nullptr);
    tab.VBindControls(parent, &context);
    const auto fill = [&] {
        return Time(reps, 3, [&] {
            const double start = NowUs();
            tab.VFillShortcutList(&context, TRUE);
            return NowUs() - start;
        });
    };
    const std::vector<double> typesAlone = fill();
    const PCWSTR types[] = {L"Drawings", L"Photo", L"Posters", L"Everyday"};
    for (int i = 0; i < 25; ++i) {
        ShortcutRecord record = {};
        swprintf(record.szName, 256, L"Shortcut %d", i);
        lstrcpyW(record.szDocType, types[i % 4]);
        CZQLocalPtr<BYTE> image;
        const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), record);
        printer.PutValue(L"ZQPresetRoot\\CustomShortcutPoolData", record.szName, REG_BINARY, image.Get(), size);
    }
    const std::vector<double> stored = fill();
    const LRESULT rows = SendDlgItemMessageW(parent, IDC_LB_DOCTYPE_SETTING, LB_GETCOUNT, 0, 0);
    if (rows != 29) std::printf("shortcut list: %ld rows of 29\n", static_cast<long>(rows));
    Report("shortcut list with 25 stored shortcuts", stored, &typesAlone, "the document types alone");
    // Values that are no shortcuts, listed before the stored ones: each is passed over as it is read.
    int damaged = 0;
    for (const int upTo : {200, 2000}) {
        for (; damaged < upTo; ++damaged) {
            wchar_t name[32];
            swprintf(name, 32, L"Damaged %04d", damaged);
            const BYTE bytes[3] = {'X', 0, 'Y'};
            printer.PutValue(L"ZQPresetRoot\\CustomShortcutPoolData", name, REG_BINARY, bytes, sizeof bytes);
        }
        const std::vector<double> withDamaged = fill();
        Report("shortcut list with 25 stored shortcuts and " + std::to_string(upTo) + " unreadable values", withDamaged,
               &typesAlone, "the document types alone");
    }
    tab.VBindControls(nullptr, nullptr);
    DestroyWindow(parent);
}

// The roll sample's first document type grown to ten rows, its panel built on the page's template:
// the first build (every control made) against a rebuild that keeps the windows.
INT_PTR CALLBACK QuietPage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void MeasureShortcutPanel(int reps) {
    HMODULE plugin = LoadLibraryExW((ExeDir() + L"\\zqoemui.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string xml;
    if (FILE* in = _wfopen((ExeDir() + L"\\samples\\zqroll\\zqroll.xml").c_str(), L"rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) xml.append(chunk, n);
        std::fclose(in);
    }
    const std::string mark = "<custbitmap_id>652</custbitmap_id>";
    const size_t at = xml.find(mark);
    if (!plugin || at == std::string::npos) {
        std::printf("shortcut panel: the plug-in or the roll sample's helper file cannot be read\n");
        if (plugin) FreeLibrary(plugin);
        return;
    }
    std::string rows;
    for (const char* keyword : {"MediaType", "ZQSaveRollPaper", "PrintQualityGroup", "ZQSaveRollPaper", "MediaType"})
        rows += std::string("<DocFeature><name>") + keyword + "</name><resource_id>6147</resource_id>"
                "<select_option>TRUE</select_option><DocOption><name>FALSE</name></DocOption>"
                "<DocOption><name>TRUE</name></DocOption><DocOption><name>PLAIN</name></DocOption></DocFeature>";
    xml.insert(at + mark.size(), rows);
    const std::wstring path = TempPath(L"zqbenchpanel.xml");
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(xml.data(), 1, xml.size(), out);
        std::fclose(out);
    }
    zqspool::CZQMemoryPrinter printer;
    zqtest::COptItemFixture host;
    ZQUIDevmode dm = {};
    OEMCUIPPARAM* param = MemoryDeskHost(printer, host, dm);
    CZQUILogic logic;
    logic.VSetParam(param, OEMCUIP_DOCPROP);
    CZQXmlUiRules rules;
    if (!rules.Parser().BLoad(path.c_str())) {
        std::printf("shortcut panel: the grown helper file did not load\n");
        FreeLibrary(plugin);
        return;
    }
    rules.Parser().VSetLoaded(TRUE);
    CZQQuickSets quickSets;
    PrinterCaps caps = {};
    int entries = 0;
    // The template's spin controls and sliders need their classes.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
    // A page of the template with its list filled and the first row chosen.
    const auto open = [&](CZQLargeFormatShortcutsTab& tab, PageContext& context) {
        HWND page = CreateDialogParamW(plugin, MAKEINTRESOURCEW(IDD_DLG_DOC_CENTRIC_UI_SUI), owner, &QuietPage, 0);
        tab.VBind(nullptr, param, nullptr);
        context = {&tab, &logic, nullptr, nullptr, &caps, &rules, nullptr, nullptr, nullptr, &quickSets,
                   nullptr, nullptr, nullptr, nullptr};
        tab.VBindControls(page, &context);
        tab.VFillShortcutList(&context, TRUE);
        SendDlgItemMessageW(page, IDC_LB_DOCTYPE_SETTING, LB_SETCURSEL, 0, 0);
        return page;
    };
    const auto build = [&](CZQLargeFormatShortcutsTab& tab, PageContext& context) {
        const double start = NowUs();
        tab.VBuildShortcutPanel(plugin, &context, FALSE);
        const double took = NowUs() - start;
        entries = tab.PanelForTesting().Count();
        return took;
    };
    const auto first = Time(reps, 2, [&] {
        CZQLargeFormatShortcutsTab tab;
        PageContext context = {};
        HWND page = open(tab, context);
        const double took = build(tab, context);
        DestroyWindow(page);
        tab.VBindControls(nullptr, nullptr);
        return took;
    });
    CZQLargeFormatShortcutsTab tab;
    PageContext context = {};
    HWND page = open(tab, context);
    build(tab, context);
    const auto again = Time(reps, 2, [&] { return build(tab, context); });
    if (entries != 10) std::printf("shortcut panel: %d rows of 10\n", entries);
    Report("shortcut panel of ten rows, first build", first, &again, "a rebuild keeping the windows");
    DestroyWindow(page);
    tab.VBindControls(nullptr, nullptr);
    DestroyWindow(owner);
    DeleteFileW(path.c_str());
    FreeLibrary(plugin);
}

// The roll sample's Printing Shortcuts page through its own dialog procedure, its task presets in the
// store: choosing a row (its quick set applied twice, the panel rebuilt and applied) against changing
// one list of the panel.
void MeasureShortcutChoice(int reps) {
    HMODULE plugin = LoadLibraryExW((ExeDir() + L"\\zqoemui.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    zqspool::CZQMemoryPrinter printer;
    zqtest::COptItemFixture host;
    ZQUIDevmode dm = {};
    OEMCUIPPARAM* param = MemoryDeskHost(printer, host, dm);
    CZQXmlUiRules rules;
    if (!plugin || !CZQCommon().BFillDefaultDevmode(&dm, nullptr) ||
        !rules.Parser().BLoad((ExeDir() + L"\\samples\\zqroll\\zqroll.xml").c_str())) {
        std::printf("shortcut choice: the plug-in or the roll sample's helper file cannot be read\n");
        if (plugin) FreeLibrary(plugin);
        return;
    }
    rules.Parser().VSetLoaded(TRUE);
    param->hModule = plugin;
    CZQUILogic logic;
    logic.VSetParam(param, OEMCUIP_DOCPROP);
    logic.BTakeWorkingCopy(&dm);
    PrinterCaps caps = {};
    CZQQuickSets quickSets;
    quickSets.VAttach(&logic, nullptr, &caps);
    quickSets.VSetParam(param, OEMCUIP_DOCPROP);
    // The installation writes the helper file's task presets; the sheet then reads them.
    for (DWORD installing : {1, 0}) {
        printer.PutValue(L"PrinterDriverData", L"InstallationComplete", REG_DWORD, &installing, sizeof installing);
        quickSets.VLoad(&rules, logic.WorkDM());
    }
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    CZQLargeFormatShortcutsTab tab;
    tab.VBind(nullptr, param, nullptr);
    PageContext context = {&tab, &logic, nullptr, nullptr, &caps, &rules, nullptr, nullptr, nullptr, &quickSets,
                           nullptr, nullptr, nullptr, nullptr};
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.lParam = reinterpret_cast<LPARAM>(&context);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(plugin, MAKEINTRESOURCEW(IDD_DLG_DOC_CENTRIC_UI_SUI), owner,
                                   &LargeFormatShortcutsPageDlgProc, reinterpret_cast<LPARAM>(&psp));
    HWND list = GetDlgItem(page, IDC_LB_DOCTYPE_SETTING);
    const auto command = [&](HWND control, WORD code) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
    };
    int row = 0;
    const auto choose = Time(reps, 3, [&] {
        row = row == 1 ? 2 : 1;  // "Photo" and "Posters", two types with lists
        SendMessageW(list, LB_SETCURSEL, row, 0);
        const double start = NowUs();
        command(list, LBN_SELCHANGE);
        return NowUs() - start;
    });
    // The quality list of the row chosen last.
    const ShortcutPanelEntry* entry = tab.PanelForTesting().PEntry(0);
    HWND combo = entry ? GetDlgItem(page, entry->iCtrlId) : nullptr;
    int option = 0;
    const auto change = Time(reps, 3, [&] {
        option = 1 - option;
        SendMessageW(combo, CB_SETCURSEL, option, 0);
        const double start = NowUs();
        command(combo, CBN_SELCHANGE);
        return NowUs() - start;
    });
    if (!combo) std::printf("shortcut choice: the chosen row has no list\n");
    Report("shortcut chosen in the list", choose, &change, "one panel list changed");
    DestroyWindow(page);
    DestroyWindow(owner);
    tab.VBindControls(nullptr, nullptr);
    FreeLibrary(plugin);
}

// A rule that asks the user is answered OK at once.
int AnswerOk(void*, HWND, PCWSTR, PCWSTR, UINT) { return IDOK; }

// The Advanced Color Settings dialog's after picture: one slider step (new settings, every pixel
// through them, the picture painted) against painting the picture as it is.
void MeasureAdvancedColorPicture(int reps) {
    HMODULE plugin = LoadLibraryExW((ExeDir() + L"\\zqoemui.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CZQAdjustedPicture picture;
    if (!plugin || !picture.BLoad(plugin, IDB_ADV_COLOR_SAMPLE)) {
        std::fprintf(stderr, "advanced colour picture: the plug-in's sample picture cannot be read\n");
        if (plugin) FreeLibrary(plugin);
        return;
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 200, 150);
    HGDIOBJ old = SelectObject(dc, target);
    const RECT rc = {0, 0, 200, 150};
    CZQColorAdjust adjust;
    picture.VAdjust(adjust);
    int step = 0;
    const auto painted = Time(reps, 2, [&] {
        const double t0 = NowUs();
        picture.VDraw(dc, rc, false);
        GdiFlush();
        return NowUs() - t0;
    });
    const auto stepped = Time(reps, 2, [&] {
        const double t0 = NowUs();
        step = step % 50 + 1;
        adjust.BSetAdjustments(step, step, -step, 0, step / 2, 0, 0);
        picture.VAdjust(adjust);
        picture.VDraw(dc, rc, false);
        GdiFlush();
        return NowUs() - t0;
    });
    Report("advanced colour: a slider step recoloured and painted", stepped, &painted, "painted unchanged");
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    FreeLibrary(plugin);
}

int RunRules(int reps) {
    std::printf("-- rules: the helper file's load, feature changes, growth\n");
    zqmsgbox::SetAnswerer(&AnswerOk, nullptr);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    MeasureTrace(reps);
    MeasureLoads(reps);
    MeasureGrowth(reps);
    MeasureQuickSets(reps);
    MeasureShortcutList(reps);
    MeasureShortcutChoice(reps);
    MeasureShortcutPanel(reps);
    MeasureAdvancedColorPicture(reps);
    CoUninitialize();
    return 0;
}

}  // namespace zqbench
