// The plug-in's own option items: planning (count pass) and building (fill pass).
#include "featurelogic/zqoemitems.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlreaders.h"
#include "featurelogic/zqoptcallbacks.h"

namespace {

constexpr size_t kEditChars = 256;
constexpr INT kIdsLayoutOptions = 3004;
constexpr INT kIdsUnloaded = 4921;

// Push items and the features their dialog sets (the PostScript driver's twin second).
struct DialogItemRow {
    const char* keyword;
    PCWSTR feature;
    PCWSTR psFeature;
    ZQOemDialogKind dialog;
    PCWSTR name;
};
const DialogItemRow kDialogItems[] = {
    {"ZQDryTimeOption", zqkw::kZQDryTime, zqkw::kJCLZQDryTime, kOemDialogDryTime, L"Dry Time"},
    {"ZQInkVolumeOption", zqkw::kZQInkVolume, zqkw::kJCLZQInkVolume, kOemDialogDryTime, L"Ink Volume"},
    {"ZQOverSprayOption", L"ZQOverSpray", L"ZQOverSpray", kOemDialogDryTime, L"Overspray"},
    {"ZQTileSelection", zqkw::kZQPosterPrintingOptionSUI, zqkw::kZQPosterPrintingOptionSUI, kOemDialogTiles,
     L"Tile Selection"},
};

const auto& kRollFieldNames = zqsettings::kRollFields;
const PCWSTR kRollFieldTexts[] = {L"Media Name", L"Media Type", L"Width", L"Custom Width"};

void AddEntry(ZQOemItemPlan* plan, ZQOemItemKind kind, BYTE pubId, const char* keyword, PCWSTR target = L"",
             ZQOemDialogKind dialog = kOemDialogNone) {
    if (plan->dwCount >= kMaxOemItems) return;
    ZQOemItemEntry& s = plan->items[plan->dwCount++];
    s = {};
    s.kind = kind;
    s.bPubId = pubId;
    lstrcpynA(s.szKeyword, keyword, sizeof s.szKeyword);
    ZQCopyText(s.szTarget, sizeof s.szTarget / sizeof s.szTarget[0], target);
    s.dialog = dialog;
}

bool HasItem(POEMCUIPPARAM p, PCWSTR feature) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItem(p, feature, &item) == ZQOPT_OK;
}

// Memory of the core driver's heap; it lives as long as the core driver's items.
class HeapWriter {
public:
    explicit HeapWriter(HANDLE heap) : m_heap(heap) {}
    void* Zero(size_t bytes) { return m_heap ? HeapAlloc(m_heap, HEAP_ZERO_MEMORY, bytes ? bytes : 1) : nullptr; }
    PWSTR Text(PCWSTR text, size_t chars = 0) {
        const size_t len = wcslen(text);
        auto* p = static_cast<PWSTR>(Zero((chars > len ? chars : len + 1) * sizeof(WCHAR)));
        if (p) memcpy(p, text, len * sizeof(WCHAR));
        return p;
    }
    PSTR Ansi(const char* text) {
        const size_t len = strlen(text);
        auto* p = static_cast<PSTR>(Zero(len + 1));
        if (p) memcpy(p, text, len);
        return p;
    }

private:
    HANDLE m_heap;
};

// The display texts of a roll list of the helper file ("RollType" / "RollWidth").
struct RollOptions {
    DWORD count = 0;
    WCHAR texts[16][CZQCommon::kResStringChars] = {};
};

// The option list BReadOptionList hands out: one allocation per entry and the two arrays.
class OptionList {
public:
    ~OptionList() {
        for (DWORD i = 0; i < count; ++i) {
            if (ids) LocalFree(ids[i]);
            if (values) LocalFree(values[i]);
        }
        LocalFree(ids);
        LocalFree(values);
    }
    LONG** ids = nullptr;
    FLOAT** values = nullptr;
    DWORD count = 0;
};

void ReadRollOptions(CZQUILogic& logic, IXMLDOMNodeList* pList, RollOptions& out) {
    out.count = 0;
    CZQComPtr<IXMLDOMNode> element;
    if (!pList || pList->get_item(0, element.Put()) != S_OK || !element) return;
    OptionList list;
    if (!CZQXmlHelperReaders::BReadOptionList(element.Get(), &list.ids, &list.values, &list.count)) return;
    for (DWORD i = 0; i < list.count && out.count < 16; ++i) {
        if (!list.ids || !list.ids[i]) continue;
        WCHAR text[CZQCommon::kResStringChars] = {};
        if (logic.BLoadResString(static_cast<INT>(*list.ids[i]), text)) ZQCopyText(out.texts[out.count++], 256, text);
    }
}

// The source of a roll item's value name: "Roll1Width" -> "Roll1".
void RollSourceOf(const char* keyword, PWSTR source, size_t cch) {
    WCHAR wide[32] = {};
    MultiByteToWideChar(CP_ACP, 0, keyword, -1, wide, 32);
    // "CustomWidth" before "Width", which ends it too.
    for (PCWSTR field : {zqsettings::kRollFieldCustomWidth, zqsettings::kRollFieldName, zqsettings::kRollFieldType,
                         zqsettings::kRollFieldWidth}) {
        const size_t len = wcslen(wide), flen = wcslen(field);
        if (len > flen && wcscmp(wide + len - flen, field) == 0) {
            ZQCopyTextN(source, cch, wide, len - flen);
            return;
        }
    }
    ZQCopyText(source, cch, wide);
}

// "Roll1" -> "Roll 1": a digit after letters gets a blank.
void RollSourceText(PCWSTR source, PWSTR text, size_t cch) {
    size_t n = 0;
    for (PCWSTR p = source; *p && n + 2 < cch; ++p) {
        if (p != source && *p >= L'0' && *p <= L'9' && !(p[-1] >= L'0' && p[-1] <= L'9')) text[n++] = L' ';
        text[n++] = *p;
    }
    text[n] = 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Plan
// ---------------------------------------------------------------------------------------------
int ZQRollSources(POEMCUIPPARAM pParam, PCWSTR pszOption, WCHAR (*paszSources)[16], int cMax) {
    int n = 0;
    auto add = [&](PCWSTR source) {
        WCHAR name[40];
        if (wcslen(source) >= 16 || ZQFormatText(name, 40, L"%lsName", source) != S_OK ||
            CZQUILogic::IRollValuePubId(name) < 0)
            return false;
        for (int i = 0; i < n; ++i)
            if (wcscmp(paszSources[i], source) == 0) return true;
        if (n < cMax) ZQCopyText(paszSources[n++], 16, source);
        return true;
    };
    if (!pszOption) return 0;
    if (wcschr(pszOption, L'_')) {
        PWSTR* parts = nullptr;
        int count = 0;
        if (CZQUILogic::ISplitAtUnderscore(pParam, pszOption, &parts, &count) == ZQOPT_OK) {
            for (int i = 0; i < count; ++i)
                if (parts[i]) add(parts[i]);
            CZQCommon::VFreeStringList(parts, count);
        }
        return n;
    }
    // An option that names one source stands for it; any other is the numbered form, whose
    // inputs 1 and 2 have items.
    if (add(pszOption)) return n;
    add(zqkw::kRoll1);
    add(zqkw::kRoll2);
    return n;
}

BOOL ZQShowInstalledRollItems(POEMCUIPPARAM pParam) {
    if (!pParam || !pParam->pOEMOptItems) return FALSE;
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, zqkw::kInstalledRolls, option.Put()) != ZQOPT_OK) return FALSE;
    WCHAR sources[5][16];
    const int n = ZQRollSources(pParam, option.Get(), sources, 5);
    BOOL changed = FALSE;
    for (DWORD i = 0; i < pParam->cOEMOptItems; ++i) {
        OPTITEM& item = pParam->pOEMOptItems[i];
        const auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
        if (item.DMPubID < kOemPubRollFirst || item.DMPubID > kOemPubRollLast || !ud || !ud->pKeyWordName) continue;
        WCHAR source[16];
        RollSourceOf(ud->pKeyWordName, source, 16);
        bool installed = false;
        for (int s = 0; s < n && !installed; ++s) installed = wcscmp(sources[s], source) == 0;
        const DWORD flags = installed ? item.Flags & ~static_cast<DWORD>(OPTIF_HIDE) : item.Flags | OPTIF_HIDE;
        if (flags != item.Flags) {
            item.Flags = flags | OPTIF_CHANGED;
            changed = TRUE;
        }
    }
    return changed;
}

void ZQPlanOemItems(CZQUILogic& logic, DWORD dwMode, ZQOemItemPlan* pPlan) {
    if (!pPlan) return;
    *pPlan = {};
    POEMCUIPPARAM p = logic.Param();
    if (dwMode == OEMCUIP_DOCPROP) {
        AddEntry(pPlan, kOemItemHeading, 0, "ZQLayoutOptions");
        AddEntry(pPlan, kOemItemOrientation, kOemPubOrientation, "ZQOrientationCopy");
        AddEntry(pPlan, kOemItemPageOrder, kOemPubPageOrder, "ZQPageOrderCopy");
        const bool postScript = logic.m_dwPdl == kPdlPostScript;
        for (const DialogItemRow& row : kDialogItems) {
            if (!ZQFindOemDialog(row.dialog)) continue;  // its dialog is not part of the plug-in
            PCWSTR feature = postScript ? row.psFeature : row.feature;
            if (row.dialog == kOemDialogTiles) {
                CZQLocalPtr<WCHAR> simplified;
                if (CZQCommon::DWGetFeatureOption(p, zqkw::kZQSimplifiedUI, simplified.Put()) != ZQOPT_OK ||
                    !logic.BIsPosterPrinting())
                    continue;
            } else if (!HasItem(p, feature)) {
                continue;
            }
            AddEntry(pPlan, kOemItemDialog, 0, row.keyword, feature, row.dialog);
        }
        return;
    }
    if (dwMode != OEMCUIP_PRNPROP || !logic.BIsLargeFormat()) return;
    // Items for every roll source an option of "InstalledRolls" names; those of sources the
    // current option leaves out are hidden.
    PWSTR* options = nullptr;
    int optionCount = 0;
    if (CZQCommon::DWGetOptionKeywords(p, zqkw::kInstalledRolls, &options, &optionCount, OEMCUIP_PRNPROP) != ZQOPT_OK)
        return;
    WCHAR sources[5][16];
    int n = 0;
    for (int o = 0; o < optionCount; ++o) {
        WCHAR found[5][16];
        const int m = options[o] ? ZQRollSources(p, options[o], found, 5) : 0;
        for (int i = 0; i < m; ++i) {
            bool known = false;
            for (int j = 0; j < n && !known; ++j) known = wcscmp(sources[j], found[i]) == 0;
            if (!known && n < 5) ZQCopyText(sources[n++], 16, found[i]);
        }
    }
    CZQCommon::VFreeStringList(options, optionCount);
    for (int s = 0; s < n; ++s)
        for (int f = 0; f < 4; ++f) {
            WCHAR value[48];
            ZQFormatText(value, 48, L"%ls%ls", sources[s], kRollFieldNames[f]);
            char keyword[48] = {};
            WideCharToMultiByte(CP_ACP, 0, value, -1, keyword, sizeof keyword, nullptr, nullptr);
            const bool text = f == 0 || f == 3;
            AddEntry(pPlan, text ? kOemItemRollText : kOemItemRollList,
                    static_cast<BYTE>(CZQUILogic::IRollValuePubId(value)), keyword);
        }
}

const ZQOemItemEntry* ZQFindOemItemSpec(const ZQOemItemPlan& plan, const OPTITEM* pItem) {
    const auto* ud = pItem ? reinterpret_cast<const USERDATA*>(pItem->UserData) : nullptr;
    if (!ud || !ud->pKeyWordName) return nullptr;
    for (DWORD i = 0; i < plan.dwCount && i < kMaxOemItems; ++i)
        if (lstrcmpiA(plan.items[i].szKeyword, ud->pKeyWordName) == 0) return &plan.items[i];
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Build
// ---------------------------------------------------------------------------------------------
DWORD ZQBuildOemItems(CZQUILogic& logic, const ZQOemItemPlan& plan, const CZQXmlParserCommon* pParser,
                      POEMCUIPPARAM pParam) {
    ZQ_TRACE("ZQBuildOemItems");
    if (!pParam || !pParam->pOEMOptItems || !pParam->hOEMHeap) return 0;
    HeapWriter heap(pParam->hOEMHeap);
    const DWORD capacity = pParam->cOEMOptItems;
    const ZQUIDevmode* dm = logic.WorkDM();
    RollOptions types, widths;
    const bool loaded = pParser && pParser->BIsLoaded();
    bool rollListsRead = false;
    // Whether the width built last is one of the listed standard widths.
    bool widthListed = false;

    DWORD built = 0;
    for (DWORD i = 0; i < plan.dwCount && built < capacity; ++i) {
        const ZQOemItemEntry& desc = plan.items[i];
        OPTITEM& item = pParam->pOEMOptItems[built];
        memset(&item, 0, sizeof item);
        const bool push = desc.kind == kOemItemDialog;
        auto* ud = static_cast<USERDATA*>(heap.Zero(push ? sizeof(ZQPushItemData) : sizeof(USERDATA)));
        if (!ud) break;
        if (push) {
            auto* data = reinterpret_cast<ZQPushItemData*>(ud);
            data->dwMagic = kPushItemMagic;
            data->pOwner = pParam->pOEMUserData;
        }
        ud->dwSize = sizeof(USERDATA);
        ud->dwItemID = desc.bPubId;
        ud->pKeyWordName = heap.Ansi(desc.szKeyword);
        item.cbSize = sizeof(OPTITEM);
        item.UserData = reinterpret_cast<ULONG_PTR>(ud);
        item.DMPubID = desc.bPubId;
        item.Level = 1;
        item.Flags = OPTIF_CALLBACK;

        // Options of a list item, one text each.
        POPTTYPE type = nullptr;
        auto makeList = [&](const PCWSTR* texts, WORD count) {
            type = static_cast<POPTTYPE>(heap.Zero(sizeof(OPTTYPE)));
            auto* params = static_cast<POPTPARAM>(heap.Zero(count * sizeof(OPTPARAM)));
            if (!type || !params) return false;
            type->cbSize = sizeof(OPTTYPE);
            type->Type = TVOT_LISTBOX;
            type->Count = count;
            type->pOptParam = params;
            for (WORD o = 0; o < count; ++o) {
                params[o].cbSize = sizeof(OPTPARAM);
                params[o].pData = heap.Text(texts[o]);
                if (!params[o].pData) return false;
            }
            return true;
        };
        WCHAR name[CZQCommon::kResStringChars] = {};
        bool ok = true;
        switch (desc.kind) {
            case kOemItemHeading:
                if (!logic.BLoadResString(kIdsLayoutOptions, name)) ZQCopyText(name, 256, L"Layout Options");
                break;
            case kOemItemOrientation:
            case kOemItemPageOrder: {
                // A copy of a core driver's layout item: its selection, else the devmode's value.
                const bool orientation = desc.kind == kOemItemOrientation;
                ZQCopyText(name, 256, orientation ? L"Orientation" : L"Page Order");
                const PCWSTR orientations[] = {L"Portrait", L"Landscape"};
                const PCWSTR orders[] = {L"Front to Back", L"Back to Front"};
                ok = makeList(orientation ? orientations : orders, 2);
                item.Level = 2;
                POPTITEM core = nullptr;
                if (CZQCommon::DWFindOptItemByPubId(pParam, orientation ? DMPUB_ORIENTATION : DMPUB_PAGEORDER, 0,
                                                    &core) == ZQOPT_OK)
                    item.Sel = core->Sel == 0 ? 0 : 1;
                else if (dm)
                    item.Sel = orientation ? (dm->wOrientation == DMORIENT_LANDSCAPE ? 1 : 0) : (dm->dwPageOrder ? 1 : 0);
                break;
            }
            case kOemItemDialog: {
                for (const DialogItemRow& row : kDialogItems)
                    if (strcmp(row.keyword, desc.szKeyword) == 0) ZQCopyText(name, 256, row.name);
                type = static_cast<POPTTYPE>(heap.Zero(sizeof(OPTTYPE)));
                auto* param = static_cast<POPTPARAM>(heap.Zero(sizeof(OPTPARAM)));
                ok = type && param;
                if (!ok) break;
                type->cbSize = sizeof(OPTTYPE);
                type->Type = TVOT_PUSHBUTTON;
                type->Count = 1;
                type->pOptParam = param;
                param->cbSize = sizeof(OPTPARAM);
                // The sheet calls the button's callback through pData.
                param->Style = PUSHBUTTON_TYPE_CALLBACK;
                param->pData = reinterpret_cast<LPWSTR>(&ZQPushItemCallback);
                break;
            }
            case kOemItemRollText:
            case kOemItemRollList: {
                WCHAR source[16], sourceText[24], value[48];
                RollSourceOf(desc.szKeyword, source, 16);
                RollSourceText(source, sourceText, 24);
                MultiByteToWideChar(CP_ACP, 0, desc.szKeyword, -1, value, 48);
                int field = 0;
                for (int f = 0; f < 4; ++f)
                    if (wcscmp(value + wcslen(source), kRollFieldNames[f]) == 0) field = f;
                ZQFormatText(name, 256, L"%ls %ls", sourceText, kRollFieldTexts[field]);
                // The value the printer answered last, as the roll routines stored it.
                CZQLocalPtr<WCHAR> stored;
                CZQDriverData::BGetPrinterData(pParam->hPrinter, value, stored.Put());
                if (desc.kind == kOemItemRollText) {
                    type = static_cast<POPTTYPE>(heap.Zero(sizeof(OPTTYPE)));
                    auto* params = static_cast<POPTPARAM>(heap.Zero(2 * sizeof(OPTPARAM)));
                    item.pSel = heap.Text(stored ? stored.Get() : L"", kEditChars);
                    ok = type && params && item.pSel;
                    if (!ok) break;
                    item.pSel[kEditChars - 1] = 0;
                    type->cbSize = sizeof(OPTTYPE);
                    type->Type = TVOT_EDITBOX;
                    type->Count = 2;
                    type->pOptParam = params;
                    params[0].cbSize = params[1].cbSize = sizeof(OPTPARAM);
                    params[0].pData = heap.Text(L"");
                    params[1].IconID = kEditChars;
                    ok = params[0].pData != nullptr;
                    // What the printer reports about its rolls is shown, not chosen: only a custom
                    // width (one that is none of the listed widths) is edited.
                    if (field != 3 || widthListed || !stored || !stored.Get()[0]) item.Flags |= OPTIF_DISABLED;
                    break;
                }
                item.Flags |= OPTIF_DISABLED;
                if (!rollListsRead) {
                    rollListsRead = true;
                    if (loaded) {
                        ReadRollOptions(logic, pParser->RollTypeList(), types);
                        ReadRollOptions(logic, pParser->RollWidthList(), widths);
                    }
                }
                const RollOptions& options = field == 1 ? types : widths;
                PCWSTR texts[16];
                WCHAR unloaded[CZQCommon::kResStringChars] = {};
                WORD count = 0;
                for (DWORD o = 0; o < options.count; ++o) texts[count++] = options.texts[o];
                if (!count) {
                    // Without the helper file's list the item still says what the printer has.
                    if (!logic.BLoadResString(kIdsUnloaded, unloaded)) ZQCopyText(unloaded, 256, L"Unknown");
                    texts[count++] = unloaded;
                }
                ok = makeList(texts, count);
                bool listed = false;
                for (WORD o = 0; ok && stored && o < count; ++o)
                    if (ZQEqualNoCase(texts[o], stored.Get())) {
                        item.Sel = o;
                        listed = true;
                    }
                if (field == 2) widthListed = listed;
                break;
            }
        }
        if (!ok) break;
        item.pOptType = type;
        item.pName = heap.Text(name);
        if (!item.pName) break;
        ++built;
    }
    // Items of rolls the printer does not have now are hidden.
    if (built) {
        const DWORD offered = pParam->cOEMOptItems;
        pParam->cOEMOptItems = built;
        ZQShowInstalledRollItems(pParam);
        pParam->cOEMOptItems = offered;
    }
    return built;
}
