#include "pages/shortcuts/zqlargeformatstore.h"

#include <vector>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqmsgbox.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "formats/zqshortcut.h"
#include "pages/zqpages.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstoreedit.h"
#include "xmlrules/zqxmluirules.h"

static_assert(CZQShortcutStore::kNameChars == zqsc::kMaxChars + 1, "a record's strings fill the page's buffers");

namespace {

constexpr int kIdsCaption = 6163;
constexpr int kIdsFull = 5414;
constexpr int kIdsReplace = 5336;
constexpr int kIdsRefused = 5337;
constexpr int kIdsPlaceholder = 5149;
constexpr int kIdsPrompt = 5150;
constexpr WCHAR kCaptionEnglish[] = L"Printing shortcut:";
// A name the name dialog takes has at most this many characters.
constexpr int kNameDialogChars = 81;

// A name counts as given when it holds a character other than a blank.
bool IsBlank(PCWSTR pszText) {
    for (; pszText && *pszText; ++pszText)
        if (*pszText != L' ') return false;
    return true;
}

POEMCUIPPARAM ParamOf(PageContext* pContext) {
    return pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
}

HANDLE PrinterOf(PageContext* pContext) {
    POEMCUIPPARAM param = ParamOf(pContext);
    return param ? param->hPrinter : nullptr;
}

BOOL InvalidData() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

PWSTR NewText(PCWSTR pszText) {
    PWSTR copy = static_cast<PWSTR>(LocalAlloc(LPTR, CZQShortcutStore::kNameChars * sizeof(WCHAR)));
    if (copy) ZQCopyText(copy, CZQShortcutStore::kNameChars, pszText ? pszText : L"");
    return copy;
}

void FreeTexts(PWSTR* ppTexts, int nCount) {
    for (int i = 0; ppTexts && i < nCount; ++i) LocalFree(ppTexts[i]);
    LocalFree(ppTexts);
}

// A record's features as the writer takes them; the arrays live while the texts do.
struct RecordImage {
    std::vector<zqsc::FeatureText> features;
    zqsc::RecordText text = {};
    explicit RecordImage(const ShortcutRecord& record) {
        for (int f = 0; record.ppFeatures && f < record.nFeatures; ++f) {
            const ShortcutFeatureEntry* entry = record.ppFeatures[f];
            if (!entry) continue;
            features.push_back({entry->szKeyword, static_cast<uint32_t>(entry->iKind), static_cast<size_t>(entry->nPairs > 0 ? entry->nPairs : 0),
                                entry->ppszOptionKeywords, entry->ppszOptionNames});
        }
        text = {record.szName, record.szDocType, record.dwReserved, record.dwBitmapId, features.size(),
                features.data()};
    }
};

// The value read into a new record's fields; FALSE, with the record as it was, when memory runs out.
BOOL TakeRecord(const zqsc::RecordRead& read, ShortcutRecord* pRecord) {
    ShortcutRecord fresh = {};
    ZQCopyText(fresh.szName, CZQShortcutStore::kNameChars, read.name.c_str());
    ZQCopyText(fresh.szDocType, CZQShortcutStore::kNameChars, read.docType.c_str());
    fresh.dwReserved = read.reserved;
    fresh.dwBitmapId = read.bitmapId;
    const int count = static_cast<int>(read.features.size());
    if (count) {
        fresh.ppFeatures = static_cast<ShortcutFeatureEntry**>(LocalAlloc(LPTR, count * sizeof(ShortcutFeatureEntry*)));
        if (!fresh.ppFeatures) return FALSE;
    }
    fresh.nFeatures = count;
    bool whole = true;
    for (int f = 0; f < count && whole; ++f) {
        const zqsc::FeatureRead& feature = read.features[f];
        auto* entry = static_cast<ShortcutFeatureEntry*>(LocalAlloc(LPTR, sizeof(ShortcutFeatureEntry)));
        fresh.ppFeatures[f] = entry;
        if (!entry) {
            whole = false;
            break;
        }
        ZQCopyText(entry->szKeyword, CZQShortcutStore::kNameChars, feature.keyword.c_str());
        entry->iKind = static_cast<int>(feature.kind);
        const int pairs = static_cast<int>(feature.optionKeywords.size());
        entry->nPairs = pairs;
        if (!pairs) continue;
        entry->ppszOptionKeywords = static_cast<PWSTR*>(LocalAlloc(LPTR, pairs * sizeof(PWSTR)));
        entry->ppszOptionNames = static_cast<PWSTR*>(LocalAlloc(LPTR, pairs * sizeof(PWSTR)));
        whole = entry->ppszOptionKeywords && entry->ppszOptionNames;
        for (int p = 0; whole && p < pairs; ++p) {
            entry->ppszOptionKeywords[p] = NewText(feature.optionKeywords[p].c_str());
            entry->ppszOptionNames[p] = NewText(feature.optionNames[p].c_str());
            whole = entry->ppszOptionKeywords[p] && entry->ppszOptionNames[p];
        }
    }
    if (!whole) {
        CZQShortcutStore::VFreeShortcut(&fresh);
        return FALSE;
    }
    CZQShortcutStore::VFreeShortcut(pRecord);
    *pRecord = fresh;
    return TRUE;
}

}  // namespace

CZQShortcutStore::~CZQShortcutStore() { VFreeShortcut(&m_SavedShortcut); }

// ---------------------------------------------------------------------------------------------
// Printer, counts and names
// ---------------------------------------------------------------------------------------------
HANDLE CZQShortcutStore::HOpenPrinter(PageContext* pContext) const {
    CZQLocalPtr<WCHAR> name;
    if (!BGetPrinterName(PrinterOf(pContext), name.Put())) return nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, m_page.pPublicDM,
                                  m_page.bRestrictedUser ? static_cast<ACCESS_MASK>(PRINTER_ACCESS_USE)
                                                         : static_cast<ACCESS_MASK>(PRINTER_ALL_ACCESS)};
    HANDLE printer = nullptr;
    if (!zqspool::Spooler().OpenPrinterW(name.Get(), &printer, &defaults)) return nullptr;
    return printer;
}

void CZQShortcutStore::VCountShortcuts(PageContext* pContext, HANDLE hPrinter, BOOL bWithUser) {
    int total = 0;
    IXMLDOMNodeList* list = pContext && pContext->pRules && pContext->pRules->Parser().BIsLoaded()
                                ? pContext->pRules->Parser().DocSettingList()
                                : nullptr;
    LONG types = 0;
    if (list && SUCCEEDED(list->get_length(&types)) && types > 0) total += types;
    const int stored = CZQDriverData::ICountValues(hPrinter, zqsettings::kShortcutPoolKey);
    if (stored > 0) total += stored;
    if (bWithUser && m_page.bRestrictedUser) total += ICountUserShortcuts(pContext);
    m_nTotalShortcuts = total;
}

BOOL CZQShortcutStore::BUserPoolPath(HANDLE hPrinter, PWSTR pszPath) {
    const std::wstring path = ZQUserStorePathOf(hPrinter, zqsettings::kShortcutPoolKey);
    return !path.empty() && SUCCEEDED(ZQCopyText(pszPath, MAX_PATH, path.c_str()));
}

BOOL CZQShortcutStore::BIsDocumentType(PageContext* pContext, PCWSTR pszName) {
    if (!pContext || !pContext->pRules || !pszName || !pContext->pRules->Parser().BIsLoaded()) return FALSE;
    IXMLDOMNodeList* list = pContext->pRules->Parser().DocSettingList();
    LONG count = 0;
    if (!list || FAILED(list->get_length(&count))) return FALSE;
    // By position: the list's own walk belongs to its other readers.
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        WCHAR name[CZQXmlUiRules::kDocTextChars] = {};
        if (SUCCEEDED(list->get_item(i, node.Put())) && node && pContext->pRules->BReadOptionName(node.Get(), name) &&
            ZQEqualNoCase(name, pszName))
            return TRUE;
    }
    return FALSE;
}

BOOL CZQShortcutStore::BUserShortcutExists(PageContext* pContext, PCWSTR pszName) {
    WCHAR path[MAX_PATH];
    CZQLocalPtr<BYTE> data;
    return pszName && BUserPoolPath(PrinterOf(pContext), path) && BReadUserRegValue(path, pszName, data.Put());
}

int CZQShortcutStore::ICountUserShortcuts(PageContext* pContext) {
    WCHAR path[MAX_PATH];
    CZQRegKey key;
    if (!BUserPoolPath(PrinterOf(pContext), path) ||
        RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return 0;
    int count = 0;
    for (DWORD i = 0;; ++i) {
        WCHAR name[260];
        DWORD cchName = 260, cb = 0;
        const LONG rc = RegEnumValueW(key.Get(), i, name, &cchName, nullptr, nullptr, nullptr, &cb);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_SUCCESS) ++count;
    }
    return count;
}

void CZQShortcutStore::VDisableSaveDelete() {
    if (m_page.hSaveAs) EnableWindow(m_page.hSaveAs, FALSE);
    if (m_page.hDelete) EnableWindow(m_page.hDelete, FALSE);
}

BOOL CZQShortcutStore::BIsReservedName(PageContext* pContext, PCWSTR pszName) const {
    return BIsDocumentType(pContext, pszName) ||
           (m_page.pszCustomizedText && ZQEqualNoCase(pszName, m_page.pszCustomizedText));
}

int CZQShortcutStore::IMessage(HWND hOwner, int iId, PCWSTR pszEnglish, PCWSTR pszCaption, UINT uType) {
    WCHAR text[kResStringChars];
    // Id 0: a text the status module does not have.
    if (!iId || !BLoadResString(iId, text)) ZQCopyText(text, kResStringChars, pszEnglish);
    return zqmsgbox::IShow(hOwner, text, pszCaption, uType);
}

// ---------------------------------------------------------------------------------------------
// Save and the name check
// ---------------------------------------------------------------------------------------------
BOOL CZQShortcutStore::BNameNeedsAsking() {
    if (IsBlank(m_szNewShortcutName)) return TRUE;
    WCHAR placeholder[kResStringChars];
    return BLoadResString(kIdsPlaceholder, placeholder) && wcscmp(placeholder, m_szNewShortcutName) == 0;
}

ZQNameQuestion CZQShortcutStore::NameQuestion() {
    return {this, kIdsCaption, kCaptionEnglish, kIdsPrompt, L"Please type a name for the new printing shortcut.",
            kIdsPlaceholder, kNameDialogChars};
}

BOOL CZQShortcutStore::BSaveShortcut(PageContext* pContext, HWND hOwner, ZQUIDevmode* /*pDevmodeCopy*/, BOOL bRtl,
                                     IZQNameAsker* pAsker) {
    m_bReplaceExisting = FALSE;
    CZQPrinterHandle printer(HOpenPrinter(pContext));
    if (!printer) return InvalidData();
    VCountShortcuts(pContext, printer.Get(), TRUE);
    printer.Reset();
    if (m_nTotalShortcuts >= zqsc::kMaxShortcuts) {
        VSayFull(hOwner);
        return FALSE;
    }
    if (!BNameNeedsAsking()) return BCheckShortcutName(pContext, hOwner);
    if (!pAsker || !pAsker->BAskName(hOwner, bRtl, NameQuestion(), m_szNewShortcutName, kNameChars)) return FALSE;
    const BOOL check = BCheckShortcutName(pContext, hOwner);
    VDisableSaveDelete();
    return check;
}

BOOL CZQShortcutStore::BListed(PCWSTR pszName) const {
    // Every row the list has, a restricted user's own and the customised row wherever they stand, and
    // only texts a name can be: a longer row cannot equal the name.
    const LRESULT rows = m_page.hList ? SendMessageW(m_page.hList, LB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < rows; ++i) {
        const LRESULT length = SendMessageW(m_page.hList, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length >= static_cast<LRESULT>(kNameChars)) continue;
        WCHAR row[kNameChars] = {};
        if (SendMessageW(m_page.hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row)) != LB_ERR &&
            ZQEqualNoCase(row, pszName))
            return TRUE;
    }
    return FALSE;
}

BOOL CZQShortcutStore::BNameStored(PageContext* pContext, HANDLE hPrinter, PCWSTR pszName, BOOL* pbStored) {
    *pbStored = m_page.bRestrictedUser && BUserShortcutExists(pContext, pszName);
    CZQPrinterDataList list;
    if (!list.BReadTree(hPrinter, zqsettings::kShortcutPoolKey)) return FALSE;
    for (DWORD i = 0; i < list.Count() && !*pbStored; ++i)
        *pbStored = list.Name(i) && ZQEqualNoCase(list.Name(i), pszName);
    return TRUE;
}

BOOL CZQShortcutStore::BCheckShortcutName(PageContext* pContext, HWND hOwner) {
    m_bReplaceExisting = FALSE;
    CZQPrinterHandle printer(HOpenPrinter(pContext));
    if (!printer) return InvalidData();
    VCountShortcuts(pContext, printer.Get(), FALSE);
    // A name another program stored since the list was filled exists as much as a listed one.
    BOOL stored = FALSE;
    const bool exists = BListed(m_szNewShortcutName) ||
                        (BNameStored(pContext, printer.Get(), m_szNewShortcutName, &stored) && stored);
    printer.Reset();
    if (!exists) return TRUE;
    const PCWSTR refusal =
        L"A Task Preset with that name already exists and cannot be replaced.  Please use another name.";
    // A document type and the customised row are never replaced, nor, by a restricted user, a
    // shortcut of the printer's own.
    if (BIsReservedName(pContext, m_szNewShortcutName) ||
        (m_page.bRestrictedUser && !BUserShortcutExists(pContext, m_szNewShortcutName))) {
        IMessage(hOwner, kIdsRefused, refusal, m_szNewShortcutName, MB_ICONHAND);
        return FALSE;
    }
    if (IMessage(hOwner, kIdsReplace,
                 L"A Printing Shortcut with that name already exists. Do you want to replace it with the current "
                 L"settings?",
                 m_szNewShortcutName, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    m_bReplaceExisting = TRUE;
    return TRUE;
}

class CZQShortcutStore::CEditPart final : public IZQStoreEditPart {
public:
    CEditPart(CZQShortcutStore& store, PageContext* pContext, const ShortcutRecord* pRecord, PCWSTR pszDeleted)
        : m_store(store), m_pContext(pContext), m_pRecord(pRecord), m_pszDeleted(pszDeleted) {}
    Step EAdd(CZQStoreEdit& edit) override;
    BOOL BAnswer(HWND hOwner) override;

private:
    CZQShortcutStore& m_store;
    PageContext* m_pContext;
    const ShortcutRecord* m_pRecord;
    PCWSTR m_pszDeleted;
    bool m_bFull = false;  // what kAsk stood for: the limit reached, else a name stored meanwhile
};

ZQStoreOutcome CZQShortcutStore::ESaveShortcut(PageContext* pContext, HWND hOwner, const ShortcutRecord& record,
                                              ZQUIDevmode* pDevmode) {
    CZQQuickSets* quickSets = pContext ? pContext->pQuickSets : nullptr;
    if (!quickSets) {
        InvalidData();
        return ZQStoreOutcome::kRefused;
    }
    CEditPart part(*this, pContext, &record, nullptr);
    quickSets->VSaveCurrent(hOwner, record.szName, nullptr, nullptr, pDevmode, FALSE, nullptr, &m_bReplaceExisting,
                            &part);
    return quickSets->ELastOutcome();
}

ZQStoreOutcome CZQShortcutStore::EDeleteShortcut(PageContext* pContext, PCWSTR pszName) {
    CZQQuickSets* quickSets = pContext ? pContext->pQuickSets : nullptr;
    if (!quickSets || !pszName) {
        InvalidData();
        return ZQStoreOutcome::kRefused;
    }
    CEditPart part(*this, pContext, nullptr, pszName);
    quickSets->VDeleteByName(pszName, &part);
    return quickSets->ELastOutcome();
}

IZQStoreEditPart::Step CZQShortcutStore::CEditPart::EAdd(CZQStoreEdit& edit) {
    // The shortcut lies where its quick set does: the printer's data, or the restricted user's key.
    if ((edit.BPerUser() != FALSE) != (m_store.m_page.bRestrictedUser != FALSE)) return Step::kFailed;
    if (m_pszDeleted) {
        // A restricted user's own value only: the printer's shortcuts stay.
        edit.VRemove(zqsettings::kShortcutPoolKey, m_pszDeleted);
        return Step::kReady;
    }
    BOOL stored = FALSE;
    if (!m_pRecord || !m_store.BNameStored(m_pContext, edit.HPrinter(), m_pRecord->szName, &stored)) return Step::kFailed;
    m_bFull = false;
    // Stored by another program since the name was checked: asked about as a listed one is.
    if (stored && !m_store.m_bReplaceExisting) return Step::kAsk;
    m_store.VCountShortcuts(m_pContext, edit.HPrinter(), TRUE);
    m_bFull = !stored && m_store.m_nTotalShortcuts >= zqsc::kMaxShortcuts;
    if (m_bFull) return Step::kAsk;
    BOOL written = FALSE;
    m_store.VWriteShortcut(m_pContext, *m_pRecord, &edit, &written);
    return written ? Step::kReady : Step::kFailed;
}

BOOL CZQShortcutStore::CEditPart::BAnswer(HWND hOwner) {
    if (m_bFull) {
        m_store.VSayFull(hOwner);
        return FALSE;
    }
    return m_store.BCheckShortcutName(m_pContext, hOwner);
}

void CZQShortcutStore::VSayFull(HWND hOwner) {
    VSay(hOwner, kIdsFull,
         L"The maximum number of Printing Shortcuts has been saved on your computer.  You must delete some before "
         L"more can be saved.");
    if (m_page.hList) SetFocus(m_page.hList);
}

void CZQShortcutStore::VCaption(PWSTR pszCaption) {
    if (!BLoadResString(kIdsCaption, pszCaption)) ZQCopyText(pszCaption, kResStringChars, kCaptionEnglish);
}

void CZQShortcutStore::VSay(HWND hOwner, int iId, PCWSTR pszEnglish) {
    WCHAR caption[kResStringChars];
    VCaption(caption);
    IMessage(hOwner, iId, pszEnglish, caption, MB_OK | MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------
DWORD CZQShortcutStore::DWSerializeShortcut(BYTE** ppBuffer, const ShortcutRecord& record) {
    if (ppBuffer) *ppBuffer = nullptr;
    const RecordImage image(record);
    const size_t size = zqsc::ValueLength(image.text);
    if (!ppBuffer) return static_cast<DWORD>(size);
    BYTE* buffer = static_cast<BYTE*>(LocalAlloc(LPTR, size));
    if (!buffer) return static_cast<DWORD>(size);
    zqsc::WriteValue(image.text, buffer);
    *ppBuffer = buffer;
    return static_cast<DWORD>(size);
}

CZQStoreEdit CZQShortcutStore::OwnEdit(PageContext* pContext) const {
    return CZQStoreEdit(CZQPrinterHandle(HOpenPrinter(pContext)), m_page.bRestrictedUser);
}

void CZQShortcutStore::VWriteShortcut(PageContext* pContext, const ShortcutRecord& record, CZQStoreEdit* pEdit,
                                      BOOL* pbWritten) {
    if (pbWritten) *pbWritten = FALSE;
    const auto write = [&record](CZQStoreEdit& edit) {
        CZQLocalPtr<BYTE> image;
        const DWORD size = DWSerializeShortcut(image.Put(), record);
        if (!edit.HPrinter() || !size || !image || !record.szName[0]) return InvalidData();
        edit.VWrite(zqsettings::kShortcutPoolKey, record.szName, REG_BINARY, image.Get(), size);
        return TRUE;
    };
    if (pEdit) {
        const BOOL written = write(*pEdit);
        if (pbWritten) *pbWritten = written;
        return;
    }
    CZQStoreEdit edit = OwnEdit(pContext);
    if (!write(edit)) return;
    if (pbWritten) *pbWritten = TRUE;
    if (edit.ECommit() != ZQStoreOutcome::kStored)
        zqtrace::Line(L"CZQShortcutStore::VWriteShortcut: the shortcut was not stored\n");
}

BOOL CZQShortcutStore::BReadShortcut(PageContext* pContext, ShortcutRecord* pRecord) {
    if (!pRecord) return InvalidData();
    CZQPrinterHandle printer(HOpenPrinter(pContext));
    if (!printer) return InvalidData();
    WCHAR wanted[kNameChars];
    ZQCopyText(wanted, kNameChars, pRecord->szName);
    CZQPrinterDataList list;
    if (list.BRead(printer.Get(), zqsettings::kShortcutPoolKey)) {
        for (DWORD i = 0; i < list.Count(); ++i) {
            if (!list.Name(i) || !ZQEqualNoCase(list.Name(i), wanted)) continue;
            DWORD cb = 0;
            const BYTE* data = list.Data(i, nullptr, &cb);
            return BParseShortcut(data, cb, pRecord);
        }
    }
    if (!m_page.bRestrictedUser) return FALSE;
    WCHAR path[MAX_PATH];
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    return BUserPoolPath(printer.Get(), path) && BReadUserRegValue(path, wanted, data.Put(), &cb) &&
           BParseShortcut(data.Get(), cb, pRecord);
}

BOOL CZQShortcutStore::BParseShortcut(const BYTE* pData, DWORD cbData, ShortcutRecord* pRecord) {
    zqsc::RecordRead read;
    return pData && pRecord && zqsc::ReadValue(pData, cbData, read) && TakeRecord(read, pRecord);
}

void CZQShortcutStore::VFreeShortcut(ShortcutRecord* pRecord) {
    if (!pRecord) return;
    for (int f = 0; pRecord->ppFeatures && f < pRecord->nFeatures; ++f) {
        ShortcutFeatureEntry* entry = pRecord->ppFeatures[f];
        if (!entry) continue;
        FreeTexts(entry->ppszOptionKeywords, entry->nPairs);
        FreeTexts(entry->ppszOptionNames, entry->nPairs);
        LocalFree(entry);
    }
    LocalFree(pRecord->ppFeatures);
    pRecord->ppFeatures = nullptr;
    pRecord->szName[0] = 0;
    pRecord->nFeatures = 0;
}

void CZQShortcutStore::VRewriteStoredShortcuts(PageContext* pContext, HWND /*hOwner*/) {
    if (m_page.bRestrictedUser) return;
    // Each read and its write with no other program's change in between: a shortcut deleted
    // meanwhile is not read, so not written back.
    CZQStoreEdit edit = OwnEdit(pContext);
    if (!edit.HPrinter()) {
        InvalidData();
        return;
    }
    if (!edit.BHeld()) return;
    VCountShortcuts(pContext, edit.HPrinter(), FALSE);
    // Every row: the customised row may stand above the last stored shortcut.
    const LRESULT rows = m_page.hList ? SendMessageW(m_page.hList, LB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < rows; ++i) {
        const LRESULT length = SendMessageW(m_page.hList, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length >= static_cast<LRESULT>(kNameChars)) continue;
        ShortcutRecord record = {};
        if (SendMessageW(m_page.hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(record.szName)) == LB_ERR ||
            BIsReservedName(pContext, record.szName))
            continue;
        // Only what was read goes back: a row without its value writes nothing.
        if (BReadShortcut(pContext, &record)) VWriteShortcut(pContext, record, &edit);
        VFreeShortcut(&record);
    }
    if (edit.ECommit() != ZQStoreOutcome::kStored)
        zqtrace::Line(L"CZQShortcutStore::VRewriteStoredShortcuts: the shortcuts were not written again\n");
}

void CZQShortcutStore::VGetShortcutText(PageContext* pContext, PWSTR pszText) {
    if (!pszText) return;
    VFreeShortcut(&m_SavedShortcut);
    ZQCopyText(m_SavedShortcut.szName, kNameChars, pszText);
    if (BReadShortcut(pContext, &m_SavedShortcut)) ZQCopyText(pszText, kNameChars, m_SavedShortcut.szDocType);
    VFreeShortcut(&m_SavedShortcut);
}

// ---------------------------------------------------------------------------------------------
// Feature slots and locks
// ---------------------------------------------------------------------------------------------
namespace {

// The slot of each keyword; the page's keywords of the driver kind fill the gaps.
struct SlotKeyword {
    int iSlot;
    PCWSTR pszKeyword;
};

void SlotKeywords(const ShortcutStoreBinding& page, SlotKeyword (&out)[13]) {
    const SlotKeyword table[13] = {
        {0, zqkw::kPrintQuality},       {1, zqkw::kMediaType},         {2, page.pszKwPaperSize},
        {3, page.pszKwOrientation}, {4, page.pszKwInputBin},   {5, page.pszKwGrayScale},
        {6, zqkw::kDuplexItem},             {7, zqkw::kZQInputColorSpace}, {8, L"PagesPerSheet"},
        {9, zqkw::kCopiesItem},             {11, L"ZQScaleToPaper"},   {12, zqkw::kZQPosterPrintingOptionSUI},
        {14, zqkw::kZQPhotoFix}};
    for (int i = 0; i < 13; ++i) out[i] = table[i];
}

}  // namespace

void CZQShortcutStore::VSetFeatureSlot(PCWSTR pszKeyword, int iValue) {
    if (!pszKeyword || !m_page.panFeatureSlots) return;
    SlotKeyword slots[13];
    SlotKeywords(m_page, slots);
    for (const SlotKeyword& s : slots)
        if (s.pszKeyword && ZQEqualNoCase(s.pszKeyword, pszKeyword)) m_page.panFeatureSlots[s.iSlot] = iValue;
}

void CZQShortcutStore::VGetFeatureSlot(PageContext* /*pContext*/, PCWSTR pszKeyword, int* piValue) const {
    if (!pszKeyword || !piValue || !m_page.panFeatureSlots) return;
    SlotKeyword slots[13];
    SlotKeywords(m_page, slots);
    for (const SlotKeyword& s : slots) {
        if (!s.pszKeyword || !ZQEqualNoCase(s.pszKeyword, pszKeyword)) continue;
        const int value = m_page.panFeatureSlots[s.iSlot];
        // "Copies" always has its value; the others only once one was set.
        if (value != kNoSlotValue || s.iSlot == 9) *piValue = value;
        return;
    }
}

int CZQShortcutStore::IFindString(int iCount, const PCWSTR* ppszStrings, PCWSTR pszName) {
    for (int i = 0; ppszStrings && pszName && i < iCount; ++i)
        if (ppszStrings[i] && ZQEqualNoCase(ppszStrings[i], pszName)) return i;
    return 0;
}

void CZQShortcutStore::VReadLocks(PageContext* pContext) {
    HANDLE printer = PrinterOf(pContext);
    if (!printer) {
        InvalidData();
        return;
    }
    const struct {
        PCWSTR pszName;
        BOOL* pbFlag;
    } locks[] = {{zqkw::kMediaType, &m_bMediaTypeLocked},
                 {zqkw::kDuplexItem, &m_bDuplexLocked},
                 {L"PrintColorAsGray", &m_bGrayscaleLocked}};
    for (const auto& lock : locks) {
        CZQLocalPtr<WCHAR> text;
        if (CZQDriverData::BGetPrinterDataEx(printer, zqsettings::kLockDataPrinting, lock.pszName, text.Put()) &&
            ZQEqualNoCase(text.Get(), L"Lock"))
            *lock.pbFlag = TRUE;
    }
}
