// CZQWatermarks: the user's watermarks in memory and the pool they are stored in. The main list holds
// the watermarks in order of creation or loading (the built-in " [none]", "Confidential", "Draft"
// and "SAMPLE" among them); the pool keeps them in the printer's data, one record a value
// (formats/zqwatermarkrecord.h), or, for a user who may not write the printer's data, under that
// user's own key, where the shared ones are seen read-only. The Effects page holds one manager;
// the plug-in object holds another, on which the CommonUIProp worker removes the values of earlier
// versions and builds the default pool. The Watermark Details dialog (pages/dialogs) shows the
// manager's current entry and working copy in its controls and hands in what they show: the
// manager keeps no window. A save stores what this manager added, changed or deleted since it read the
// pool, merged with the pool as stored at that moment, in one edit of the printer's stores.
#pragma once

#include <string>
#include <vector>

#include "common/zqpreviewwatermark.h"
#include "common/zquibase.h"
#include "formats/zqwatermarkrecord.h"
#include "settings/zqstoreoutcome.h"

class CZQStoreEdit;
struct ZQStoreValue;
struct ZQUIDevmode;

// Flags of a watermark (never stored).
enum : DWORD {
    kWatermarkEditable = 0x10000,  // the user may change it; saved with the pool
    kWatermarkReadOnly = 0x20000,  // a shared watermark a restricted user sees
    kWatermarkHidden = 0x40000,    // a restricted user's own watermark of a shared one's name
};

// One watermark of a list: its stored fields, its flags and the list links.
struct WatermarkEntry : ZQWatermarkRecord {
    DWORD dwFlags;
    WatermarkEntry* pNext;
    WatermarkEntry* pPrev;
};

struct WatermarkList {
    WatermarkEntry* pHead = nullptr;
    WatermarkEntry* pTail = nullptr;
};

// A name a restricted user deleted: kept out of his stored pool at the next save.
struct DeletedWatermarkName {
    WCHAR szName[256];
    DeletedWatermarkName* pNext;
    DeletedWatermarkName* pPrev;
};

// The Watermark Details dialog's working copy of the watermark it shows.
struct WatermarkEditRecord {
    WCHAR szText[256];
    WCHAR szName[256];
    WCHAR szFont[256];
    DWORD dwShade;
    DWORD dwFontIndex;
    DWORD dwColor;
    DWORD dwStyle;
    DWORD dwSize;
    DWORD dwAngle;
    DWORD dwTextLength;
    DWORD dwAngleMode;
};

class CZQWatermarks : public CZQUIBase {
public:
    // A pool holds at most this many watermarks; a restricted user stores at most kMaxUserEntries.
    static constexpr int kMaxEntries = 31;
    static constexpr int kMaxUserEntries = 30;
    static constexpr int kUntitledSlots = 30;
    static constexpr size_t kUntitledChars = 20;
    static constexpr size_t kUniqueNameChars = 260;

    CZQWatermarks();
    ~CZQWatermarks() override;
    CZQWatermarks(const CZQWatermarks&) = delete;
    CZQWatermarks& operator=(const CZQWatermarks&) = delete;

    // ---- the lists
    // First entry of the main list of exactly that name (case counts); null when none.
    WatermarkEntry* PFindByName(PCWSTR pszName) const;
    BOOL BHasEntry(PCWSTR pszName) const { return PFindByName(pszName) != nullptr; }
    int ICountEntries() const;
    int ICountHiddenEntries() const;
    // A zero-filled entry at the list's end; null when memory runs out.
    static WatermarkEntry* PNewEntry(WatermarkList& list);
    // Unlinked from the main list and freed (null is ignored); the current entry, when it was, forgotten.
    void VRemoveEntry(WatermarkEntry* pEntry);
    static void VFreeEntryList(WatermarkList& list);
    // The main and shared lists emptied (the sheet that loaded them ends).
    void VFreeLists() {
        VFreeEntryList(m_main);
        VFreeEntryList(m_shared);
        m_readImages.clear();
        m_pCurrent = nullptr;
    }
    DeletedWatermarkName* PNewDeletedName(PCWSTR pszName);
    void VFreeDeletedNames();
    WatermarkList& MainList() { return m_main; }

    // ---- the defaults
    // The angle the defaults are made with, and the one a diagonal watermark's record holds: a
    // diagonal watermark takes the diagonal of the paper wherever it is used, so the paper a sheet
    // shows is no change of the pool.
    static constexpr DWORD kDefaultAngle = 52;
    // The four defaults, then the stored watermarks of other names (up to the pool's limit), the
    // devmode's watermark over its entry, and the pool saved (what differs from what is stored
    // only). Nothing for a restricted user or without parameters (FALSE); else the save's answer.
    BOOL BCreateDefaults(POEMCUIPPARAM pParam, BOOL bRestricted);
    // The first four entries rewritten as the defaults (flags kept); FALSE when the list has fewer.
    BOOL BResetDefaultEntries();
    // A " [none]" entry appended when the main list has none.
    void VEnsureNoneEntry();
    // The devmode's watermark over the entries of its name; a diagonal watermark takes the diagonal
    // angle, in the devmode too.
    void VApplyDevmodeToEntry(ZQUIDevmode* pDevmode);
    // " [none]" in the user-interface language (string 874, else the English).
    void VLoadNoneName();
    PCWSTR NoneName();
    int IDiagonalAngle() const { return m_iDiagonalAngle; }
    void VSetDiagonalAngle(int iAngle) { m_iDiagonalAngle = iAngle; }

    // ---- names for new watermarks
    void VInitUntitledNames();
    // The untitled names among the names the dialog shows are in use.
    void VMarkUsedUntitledNames(const std::vector<std::wstring>& shown);
    // The first untitled name not among the names shown, now in use (at most 255 characters into
    // pszName, 256); pszName stays as it was when all are shown.
    void VTakeFreeUntitledName(const std::vector<std::wstring>& shown, PWSTR pszName);
    // " #2" .. " #30" appended until no entry of the main list but pSelf has the name in any letter
    // case (kUniqueNameChars); unchanged when all are taken.
    void VMakeUniqueName(PWSTR pszName, const WatermarkEntry* pSelf = nullptr);
    // An entry of the main list other than pSelf has the name in any letter case: the dialog's list
    // shows one of two such twins only.
    BOOL BNameTaken(PCWSTR pszName, const WatermarkEntry* pSelf) const;
    // A " #n" ending cut off (at the last '#').
    static void VStripNumberSuffix(PWSTR pszText);

    // ---- the watermark the Watermark Details dialog shows and its working copy
    static constexpr int kMaxMessageChars = 251;
    static constexpr DWORD kMaxSize = 999;
    static constexpr DWORD kMaxAngle = 360;
    WatermarkEditRecord* EditRecord() const { return m_pEdit; }
    BOOL BAllocEditRecord();
    // What the dialog held of the manager, as it closes: the working copy freed, the current entry
    // forgotten.
    void VFreeDialogResources();
    WatermarkEntry* Current() const { return m_pCurrent; }
    void VSetCurrent(WatermarkEntry* pEntry) { m_pCurrent = pEntry; }
    // The entry of that name current, else " [none]"'s.
    void VChooseCurrent(PCWSTR pszName);
    // The list as the dialog opens on it: " [none]" in it, the entries without a name gone.
    void VPrepareForDialog();
    // The names the dialog lists, in list order: named, not hidden, each once.
    std::vector<std::wstring> ListedNames() const;
    // A second " [none]" (a default appended after the stored one) removed, the current entry
    // moved to the first; TRUE when there was one.
    BOOL BRemoveSecondNone();
    // The current entry into the working copy; FALSE without either.
    BOOL BLoadCurrent();
    // The working copy's look (font, angle, size, shade, style, colour) into the current entry.
    void VStoreLookInCurrent();
    // A new entry of that name and text with the other fields of pFrom (null: defaults).
    void VInitNewEntry(WatermarkEntry* pEntry, PCWSTR pszName, PCWSTR pszText, const WatermarkEntry* pFrom);
    // The current watermark may go while pszSelected is chosen in the list (null: nothing is).
    BOOL BDeletable(PCWSTR pszSelected);
    // The working copy into the settings' watermark.
    void VApplyToSettings(ZQUIDevmode* pSettings);
    // The working copy's watermark as the sample page draws it; *piNoWatermark 1 for " [none]".
    void VFillPreviewSettings(ZQPreviewWatermark* pWatermark, int* piNoWatermark);
    // Sets the changed flag when the working copy, with the angle mode the dialog shows, differs
    // from the core driver's devmode.
    void VCheckChanged(DWORD dwShownAngleMode);
    BOOL BChanged() const { return m_bChanged; }
    void VClearChanged() { m_bChanged = FALSE; }

    // ---- the pool (printer data "ZQPresetRoot\WatermarkPoolData", or the restricted user's key)
    // A new zero-filled block of zqwm::kRecordBytes with the entry's record, at the angle it holds;
    // the caller frees it.
    static BOOL BSerializeEntry(BYTE** ppBuffer, const WatermarkEntry* pEntry);
    // The stored fields of a value of cbData bytes; FALSE (the entry unchanged) when it ends early.
    static BOOL BParseEntry(const BYTE* pData, DWORD cbData, WatermarkEntry* pEntry);
    // The entry's record as value "WatermarkPool:<index>" of the edit's store (the printer's data, or
    // the restricted user's key); FALSE when the record cannot be made.
    static BOOL BWriteEntry(const WatermarkEntry* pEntry, CZQStoreEdit& edit, int iIndex);
    // Every value the pool key holds (as stored now) removed in the edit; a later write of a value
    // keeps it.
    static void VDeletePoolKey(CZQStoreEdit& edit, const std::vector<ZQStoreValue>& stored);
    // The stored watermarks appended to the main list; TRUE when any value was read. The records of
    // the pool this manager saves to (the printer's, or a restricted user's own) are remembered as read.
    BOOL BReadPool(POEMCUIPPARAM pParam, BOOL bRestricted);
    // The shared pool's watermarks whose names the main list lacks and this manager did not delete,
    // appended while iCount < 31; every record taken or of a name the list holds is remembered as
    // read (in the pool this manager saves to).
    void VMergeSharedPool(BOOL bRestricted, POEMCUIPPARAM pParam, int iCount);
    // The shared pool's watermarks stored since the pool was read (VMergeSharedPool): a name another
    // sheet or program stored meanwhile is one a new watermark does not take.
    void VTakeNewlyStored(POEMCUIPPARAM pParam) { VMergeSharedPool(m_bRestricted, pParam, ICountEntries()); }
    // What this manager added, changed or deleted, merged with the pool as it is stored now (what
    // another program changed or removed of the watermarks this manager did not touch stays so, and
    // what it added joins) and written in list order from index 0 without gaps, every other value of
    // the key removed; all or nothing. A pool read in another form (other value names, gaps, values
    // that are no records, another order) is written so even without a change. On a spooler that
    // removes nothing the changes go over the values where they stand instead, and a watermark
    // deleted here stays stored and listed again. TRUE when it ran to the end (also with nothing to
    // store), *pNames the watermarks whose removal was refused; FALSE without parameters, with an
    // empty list, or when nothing was stored (ELastOutcome kBusy or kRefused, *pNames the watermarks
    // this manager added, changed or deleted).
    BOOL BSavePool(POEMCUIPPARAM pParam, std::vector<std::wstring>* pNames = nullptr);
    // What the last save came to.
    ZQStoreOutcome ELastOutcome() const { return m_lastOutcome; }
    // One watermark into the printer's pool: over the stored one of its name (in any letter case),
    // else at iPreferredIndex when that is free, else past every stored index.
    static BOOL BStoreSharedEntry(const WatermarkEntry* pEntry, HANDLE hPrinter, int iPreferredIndex);
    // The stored record 0 (value "WatermarkPool:0"), when it is " [none]" in any language, over the
    // entry read from it (else the list's " [none]"), named " [none]" of the current language; TRUE
    // (the pool wants saving) when it was read in another language and the list has more than one
    // entry. A watermark of another name stored as record 0 is left alone.
    BOOL BRefreshNoneEntry(HANDLE hPrinter, PCWSTR pszPrinterName, const void* pPrivateDM, const DEVMODEW* pPublicDM);
    // The values of versions before the pool go (none is carried into it).
    static void VRemoveLegacyData(POEMCUIPPARAM pParam);

private:
    // The four defaults: 0 " [none]", 1 "Confidential", 2 "Draft", 3 "SAMPLE"; the one computation
    // of them, for the opening's pool and the Effects page's alike.
    void VFillDefault(WatermarkEntry* pEntry, int iDefault, DWORD dwAngle);
    // Up to iLimit values of the shared pool appended to the list, flagged for the user; the number
    // of values taken (-1 when the key cannot be listed).
    int IReadSharedPool(WatermarkList& list, HANDLE hPrinter, BOOL bRestricted, int iLimit);
    bool BIsDeletedName(PCWSTR pszName) const;
    // The pool this manager saves to, as read or stored (its values in list order): its record names
    // and whether it was in its own form.
    void VNoteStored(const std::vector<ZQStoreValue>& sorted);
    // The pool as read or stored holds the entries a save stands for, in their order, in its own form.
    bool BStoredAsSaved(const std::vector<const WatermarkEntry*>& saved) const;
    // A record of the pool as this manager read it (or last stored it), by its name: the first
    // record read of a name stands for it.
    void VRememberRead(const WatermarkEntry& entry);
    void VForgetRead(PCWSTR pszName);
    const std::vector<BYTE>* PReadImage(PCWSTR pszName) const;
    // The entries a save stands for: the first editable one of each name (any letter case), a
    // restricted user's " [none]" left out.
    std::vector<const WatermarkEntry*> SavedEntries(BOOL bRestricted);
    // A name read from the pool that this manager deleted: one it no longer lists (a restricted
    // user's: one he deleted in the dialog).
    bool BDeletedHere(PCWSTR pszName, const std::vector<const WatermarkEntry*>& saved, BOOL bRestricted) const;
    // The watermarks of its pool this manager added, changed or deleted since it read it.
    std::vector<std::wstring> ChangedNames(BOOL bRestricted);
    // The one read-decide-write of a save in the edit (BSavePool); *pKept the watermarks deleted here
    // that stay stored.
    ZQStoreOutcome EStoreChanges(CZQStoreEdit& edit, BOOL bRestricted, std::vector<std::wstring>* pKept);
    // " [none]" in the current language, in any language of the status module, or in English.
    bool BIsNoneName(PCWSTR pszName);
    static bool BListHas(const WatermarkList& list, PCWSTR pszName);

    BOOL m_bChanged = FALSE;
    BOOL m_bRestricted = FALSE;  // as the pool was read
    int m_iDiagonalAngle = static_cast<int>(kDefaultAngle);
    WatermarkEditRecord* m_pEdit = nullptr;
    WatermarkEntry* m_pCurrent = nullptr;  // the entry the dialog shows
    WatermarkList m_main;
    WatermarkList m_shared;
    struct ReadImage {
        std::wstring name;
        std::vector<BYTE> bytes;
    };
    std::vector<ReadImage> m_readImages;
    std::vector<std::wstring> m_storedNames;
    bool m_bStoredInForm = true;
    ZQStoreOutcome m_lastOutcome = ZQStoreOutcome::kStored;
    DeletedWatermarkName* m_pDeletedHead = nullptr;
    DeletedWatermarkName* m_pDeletedTail = nullptr;
    // Room for any translation of " [none]": a shorter buffer would cut it and lose the match.
    WCHAR m_szNone[kResStringChars] = {};
    WCHAR m_aUntitled[kUntitledSlots][kUntitledChars] = {};
    BOOL m_abUntitledUsed[kUntitledSlots] = {};
};
