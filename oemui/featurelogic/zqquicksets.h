// CZQQuickSets: the quick-set manager of the plug-in object. It keeps the printer's quick sets (named
// snapshots of the print settings) as a list of entries, stores each as one value of the printer's
// data (a restricted user's own in the user's key), and tells the pages whether the settings in
// force still equal the quick set in force (its snapshot) or a named one, and which quick sets the
// installed options or the administrator's locks rule out.
//
// Store routines do nothing without the current call's block and its private devmode; a spooler or
// registry failure leaves the list as it was. A save, a delete and a rebuild are one edit of the
// printer's stores (settings/zqstoreedit.h): they decide on what is stored at that moment, under the
// stores' lock, and ask the user only with the lock let go; a printing shortcut joins the edit of its
// quick set. Each leaves the edit's outcome (ELastOutcome), which the page says (pages/parts/zqstoremessage.h).
// Entries and pairs are zero-filled local-heap blocks.
#pragma once

#include <string>

#include "common/zqhandles.h"
#include "featurelogic/zqnameasker.h"
#include "featurelogic/zquilogic.h"
#include "formats/zqquickset.h"
#include "settings/zqstoreoutcome.h"

class CZQStoreEdit;
class IZQStoreEditPart;
class CZQWatermarks;
class CZQXmlUiRules;

// One feature/option pair of a quick set.
struct QuickSetPair {
    PWSTR pszFeature;
    PWSTR pszOption;
    QuickSetPair* pNext;
};

// One quick set: the stored head, then what only memory keeps.
struct QuickSetEntry {
    QuickSetHead head;
    QuickSetPair* pPairs;
    DWORD dwFlags;
    int iIndex;  // the number of its value name
    QuickSetEntry* pNext;
    QuickSetEntry* pPrev;
};

class CZQQuickSets : public CZQUILogic {
public:
    static constexpr size_t kNameChars = 82;
    // Entry flags: the user's own (deletable), fixed (neither saved over nor deleted), hidden.
    static constexpr DWORD kOwnFlag = 0x10000;
    static constexpr DWORD kFixedFlag = 0x20000;
    static constexpr DWORD kHiddenFlag = 0x40000;
    // The groups of settings a page compares (BPageDiffers, VRecheckCurrentEntry).
    enum : int {
        kCompareJobOptions = 1,
        kCompareJobStorage = 2,
        kCompareFinishing = 5,
        kCompareEffects = 6,
        kComparePaperQuality = 7,
        kCompareAppText = 11,
        kCompareFeatures = 12,  // the Features page: no group of its own, only orientation, duplex and features
        kCompareSimplifiedLargeFormat = 13,
    };

    CZQQuickSets() = default;
    ~CZQQuickSets() override;
    CZQQuickSets(const CZQQuickSets&) = delete;
    CZQQuickSets& operator=(const CZQQuickSets&) = delete;

    // What an applied quick set reaches beyond the core driver's items: the sheet's logic, whose
    // working copy the pages edit, the watermark list and the printer records (each may be null).
    void VAttach(CZQUILogic* pSheetLogic, CZQWatermarks* pWatermarks, PrinterCaps* pCaps) {
        m_pSheetLogic = pSheetLogic;
        m_pWatermarks = pWatermarks;
        m_pCaps = pCaps;
    }

    // ---- the manager the pages use -------------------------------------------------------------
    // Once per document sheet before its pages: the store loaded (or rebuilt while the installation
    // completes), the current name from the devmode, the snapshot taken.
    void VLoad(CZQXmlUiRules* pRules, ZQUIDevmode* pDevmode);
    // The Task Presets group of a page: its four controls (each out may be null) and their texts.
    void VInitControls(HWND hDlg, HWND* phGroup, HWND* phCombo, HWND* phSave, HWND* phDelete);
    void VRefreshCombo(HWND hCombo, HWND hSave, HWND hDelete);
    void VOnNameEdited(HWND hCombo, HWND hSave, HWND hDelete);
    // A save without a name (or with the placeholder) asks the page's asker for one, with the words of
    // NameQuestion; no asker counts as cancelled. The quick set of a printing shortcut
    // (pbReplaceAnswered given) is saved in one edit with the shortcut, which pShortcut adds (null:
    // the quick set alone): one of its name in any letter case is replaced without a question once
    // the user agreed to replace the shortcut (*pbReplaceAnswered, as it stands at each turn).
    // ELastOutcome: kDeclined when the user declined, or was told why (the name taken or reserved,
    // the store full).
    void VSaveCurrent(HWND hOwner, PCWSTR pszName, HWND hSave, HWND hDelete, ZQUIDevmode* pDevmode, BOOL bRtl,
                      IZQNameAsker* pAsker, const BOOL* pbReplaceAnswered = nullptr,
                      IZQStoreEditPart* pShortcut = nullptr);
    // The question for a Task Preset's name.
    ZQNameQuestion NameQuestion();
    // The combo's quick set, after the user's yes; *pName its name. ELastOutcome kDeclined: nothing to
    // delete, or no.
    void VDeleteSelected(HWND hOwner, HWND hCombo, HWND hSave, HWND hDelete, std::wstring* pName);
    // The quick set of a printing shortcut, found in any letter case (a fixed one stays), deleted in
    // one edit with the shortcut, which pShortcut removes (null: the quick set alone).
    void VDeleteByName(PCWSTR pszName, IZQStoreEditPart* pShortcut = nullptr);
    // What the last save, delete or write of the store came to: kStored, kBusy or kRefused (nothing
    // stored), kDeclined (nothing asked of the store). A write or delete that joins an edit in
    // progress says whether its change could be added; the edit's commit stores it.
    ZQStoreOutcome ELastOutcome() const { return m_lastOutcome; }
    // The caption of the Task Presets' messages.
    PCWSTR PszCaption() const { return m_szCaption; }
    // The chosen quick set into the working copy and the core driver's items: from the combo (with
    // its buttons), else the list box, else the factory quick set.
    void VApplySelection(HWND hDlg, HWND hComboOrList, HWND hSave, HWND hDelete);
    void VApplyComboSelection(HWND hDlg, HWND hCombo, HWND hSave, HWND hDelete);
    // The quick set of a printing shortcut (found in any letter case) applied.
    void VApplyByName(PCWSTR pszName);
    // The watermark the devmode names, from the watermark list, into the devmode.
    void VApplyWatermarkDefinition(ZQUIDevmode* pDevmode);
    void VRestoreNameIfDiffers();
    void VSnapshotFactory();
    BOOL BIsPlaceholderName(PCWSTR pszName) const;

    // ---- factory quick sets and the installed cartridges ---------------------------------------
    void BuildRulesPreset(QuickSetEntry* pEntry, PWSTR* ppszFeatures, PWSTR* ppszOptions, int iCount,
                          CZQXmlUiRules* pRules);
    // The configuration manager's value of a feature ("OptItems", then "DevModeItems"), 256 characters.
    BOOL BGetDmcDriverValue(PCWSTR pszFeature, PWSTR pszValue) const;
    // The paper the helper file's borderless entry names for the option; 256 characters.
    static BOOL BGetBorderlessPaper(PCWSTR pszPaperOption, PWSTR pszName, CZQXmlUiRules* pRules);
    // The cartridge item follows the printer's cartridges unless the user chose its option.
    BOOL BUpdateInstalledCartridges();

    // PSM_CHANGED went to the sheet through the manager; a page then always counts as changed.
    // Apply clears it.
    BOOL BChanged() const { return m_bChanged; }
    void VClearChanged() { m_bChanged = FALSE; }
    // Tells the page's sheet the page changed and keeps that; TRUE.
    BOOL BSetChanged(HWND hPage);

    // ---- the store ----------------------------------------------------------------------------
    // What every load needs first: whether the user may write the printer's data (a handle reopened
    // for that is the manager's until it goes), the factory name and the placeholder in the user's
    // language.
    void VPrepareStore();
    QuickSetEntry* PNewEntry();
    QuickSetEntry* PNewStoredEntry();
    QuickSetEntry* PFindEntry(PCWSTR pszName) const;
    // The factory-defaults entry a rebuild built, else the stored one of that name (or none).
    const QuickSetEntry* PFactoryEntry() const;
    // The entry of exactly that name, else the first of that name in other letter case.
    QuickSetEntry* PFindEntryAnyCase(PCWSTR pszName) const;
    void VRemoveEntry(QuickSetEntry* pEntry);
    void VFreeEntries();
    // Copies of both keywords (at most 255 characters each) at the list's tail.
    static void VAppendPair(QuickSetPair** ppList, PCWSTR pszFeature, PCWSTR pszOption);
    static void VFreePairs(QuickSetPair** ppList);
    // The first pair of the feature (without regard to case); its option into 256 characters.
    static QuickSetPair* PFindNameValue(QuickSetPair* pList, PCWSTR pszFeature, PWSTR pszOption);
    static void VReplacePairOption(QuickSetPair* pList, PCWSTR pszFeature, PCWSTR pszOption);
    // The pairs as two lists of count strings (at most 255 characters each), and the bytes their
    // texts take with terminators.
    static void VPairsToArrays(const QuickSetPair* pList, PWSTR** pppFeatures, PWSTR** pppOptions, int iCount,
                               DWORD* pdwBytes);
    // The stored value of the entry in a new local block of *pcbValue bytes; FALSE without memory.
    static BOOL BSerializeEntry(BYTE** ppValue, const QuickSetEntry* pEntry, DWORD* pcbValue);
    // The entry from a stored value; FALSE when the value is refused.
    BOOL BParseEntry(const BYTE* pData, DWORD cbData, QuickSetEntry* pEntry);
    // Writes the entry under its own index (bKeepIndex), or as a new one under the store's free index
    // (past the counter and every index stored now) with the counter moved past it and written
    // (VWriteMaxIndex): in the edit in progress, else in one of its own, which leaves the entry as it
    // was when refused. ELastOutcome says how it went.
    void VWriteEntry(QuickSetEntry* pEntry, BOOL bKeepIndex);
    // The entry's stored value removed, in the edit in progress or one of its own.
    void VDeleteStoredEntry(const QuickSetEntry* pEntry);
    // The counter of the store in use (ISharedIndex, or a restricted user's IUserIndex) stored, in the
    // edit in progress or one of its own.
    void VWriteMaxIndex();
    // The store's counters (ISharedIndex, IUserIndex) as stored (within an edit: now); a counter not
    // stored leaves its number as it was.
    void VReadMaxIndex();
    static int IParseIndex(PCWSTR pszValueName);
    // The name is the factory name in one of the user-interface languages.
    BOOL BIsFactoryName(PCWSTR pszName) const;
    // The stored quick sets of the printer, then a restricted user's own (25 in all).
    void VLoadStored();
    // The list made what is stored now (under the store's lock): quick sets others stored since the
    // load come in, those they deleted go, each kept one takes its index as stored now. FALSE, the
    // list as it was, when the printer's store cannot be read.
    BOOL BMergeStored();
    // The entries a rebuild writes: the stored ones after the factory ones; their number, -1 when the
    // store cannot be read.
    int ILoadFactoryAndStored(CZQXmlUiRules* pRules);
    // Writes the store afresh from ILoadFactoryAndStored under new indexes.
    void VRebuildStore(CZQXmlUiRules* pRules);

    // ---- comparisons -------------------------------------------------------------------------
    // The settings the pages compare with: the devmode's fields and every feature's current option.
    void VSnapshotCurrent(ZQUIDevmode* pDevmode);
    // Non-zero when the page's group, then orientation and two-sided printing, then the dependent
    // features differ from the snapshot (equal without one).
    BOOL BPageDiffers(ZQUIDevmode devmode, int iPageId);
    BOOL BSettingsDiffer(ZQUIDevmode devmode);
    // The quick set in force still holds for the page's group, or the group goes back to the
    // placeholder.
    void VRecheckCurrentEntry(ZQUIDevmode devmode, HWND hCombo, HWND hSave, HWND hDelete, int iPageId);
    // The settings differ from the quick set of a printing shortcut (found in any letter case).
    BOOL BEntryDiffers(ZQUIDevmode devmode, PCWSTR pszName);
    BOOL BMatchesEntry(const QuickSetEntry* pEntry, ZQUIDevmode devmode);
    BOOL BFeaturesDiffer(const QuickSetEntry* pEntry);
    // Hides the entry when the installed options or the locks rule it out.
    void VCheckInstallable(QuickSetEntry* pEntry);
    BOOL BIsUserForm(PCWSTR pszForm) const;

    // A quick set in force whose items the core driver now marks as conflicting is no longer the
    // one in force: the name goes back to the placeholder.
    void VRestoreNameIfItemsChanged();
    // With the quick set's settings in force, its name becomes the devmode's quick-set name.
    void VStoreNameInDevmode(ZQUIDevmode* pDevmode);

    // ---- state the pages and tools read ------------------------------------------------------
    QuickSetEntry* PFirstEntry() const { return m_pHead; }
    int IEntryCount() const { return m_nEntries; }
    BOOL BRestrictedUser() const { return m_bRestricted; }
    BOOL BSelected() const { return m_bSelected; }
    // A shortcuts page names the quick set in force (cut to a quick set's name), or marks it in force.
    void VSelectCurrentName(PCWSTR pszName) {
        m_bSelected = TRUE;
        VSetCurrentName(pszName);
    }
    void VSetSelected() { m_bSelected = TRUE; }
    // Settings a shortcuts page left the quick set with: none is in force, the placeholder names it.
    void VDeselectToPlaceholder() {
        m_bSelected = FALSE;
        VSetCurrentName(m_szPlaceholder);
    }
    PCWSTR PszCurrentName() const { return m_szCurrentName; }
    PCWSTR PszPlaceholder() const { return m_szPlaceholder; }
    BOOL BListChanged() const { return m_bListChanged; }
    void VClearListChanged() { m_bListChanged = FALSE; }
    const QuickSetEntry* PSnapshot() const { return m_bSnapshot ? &m_snapshot : nullptr; }
    // The option the quick set in force holds for the feature (256 characters); FALSE without one.
    BOOL BActiveOption(PCWSTR pszFeature, PWSTR pszOption) const;
    PCWSTR PszFactoryName() const { return m_szFactoryName; }
    int ISharedIndex() const { return m_iSharedIndex; }
    int IUserIndex() const { return m_iUserIndex; }
    void VSetPosterTilesPerSide(int iTiles) { m_iPosterTilesPerSide = iTiles; }

private:
    // The factory quick sets at the head of the entry list; their number.
    int IBuildFactoryEntries(CZQXmlUiRules* pRules);
    void VFillCurrentPairs(QuickSetEntry* pEntry, BOOL bFormNames);
    void VEnableButtons(HWND hSave, HWND hDelete) const;
    void VSetCurrentName(PCWSTR pszName);
    BOOL BAskName(HWND hOwner, BOOL bRtl, IZQNameAsker* pAsker);
    // How a save looks for a quick set of its name and whether the user agreed to replace it.
    enum class SaveFor { kGroup, kShortcut, kReplacedShortcut };
    // What a save's turn under the store's lock came to: its changes in the edit, a question to ask
    // first (the lock let go), or why nothing can be stored.
    enum class SaveStep { kReady, kAskReplace, kFull, kReserved, kFixed, kNoIndex, kFailed };
    // Adds to the edit in progress.
    SaveStep EAddSave(ZQUIDevmode* pDevmode, SaveFor saveFor, bool bReplace);
    // After the edit: the saved entry keeps what was stored, or the list is put back as it was.
    void VEndSave(bool bStored);
    // The question or message of a step that stored nothing, with the lock let go; TRUE when the
    // user agreed to replace the quick set.
    BOOL BAnswerStep(HWND hOwner, SaveStep step);
    // The quick set of that name as stored now out of the store and the list, in one edit with the
    // part's change (a fixed one never goes).
    ZQStoreOutcome EDeleteNamed(PCWSTR pszName, BOOL bAnyCase, IZQStoreEditPart* pPart);
    BOOL BLoadStored();
    void VApplyEntry(const QuickSetEntry* pEntry);
    void VApplyBlock(const QuickSetSettings& block, ZQUIDevmode* pDevmode);
    void VApplyPairs(const QuickSetEntry* pEntry, const ZQUIDevmode* pDevmode);
    void VApplyRecentMedia(ZQUIDevmode* pDevmode);
    int IMessage(HWND hOwner, int iId, PCWSTR pszEnglish, UINT uType);
    ZQUIDevmode* PApplyTarget();
    HANDLE HStorePrinter() const;
    BOOL BHasStore() const;
    // One edit of this printer's stores where the store in use keeps its values: the printer's data,
    // or for a restricted user his own key.
    CZQStoreEdit Edit() const;
    // The index a new quick set takes: past the counter and every index the store holds now;
    // *pbFull when none is left below the largest int. FALSE when the store cannot be read.
    BOOL BFreeIndex(const CZQStoreEdit& edit, int* piIndex, BOOL* pbFull);
    // The entry's value added to the edit under its own index (bKeepIndex), or under the free index
    // with the counter past it (m_bNoIndexLeft when none is left); the entry takes its index and size.
    BOOL BAddWrite(CZQStoreEdit& edit, QuickSetEntry* pEntry, BOOL bKeepIndex);
    // The store routines add their changes to this edit while it is in progress.
    class CEditInUse {
    public:
        CEditInUse(CZQQuickSets& owner, CZQStoreEdit& edit) : m_owner(owner) { m_owner.m_pEdit = &edit; }
        ~CEditInUse() { m_owner.m_pEdit = nullptr; }
        CEditInUse(const CEditInUse&) = delete;
        CEditInUse& operator=(const CEditInUse&) = delete;

    private:
        CZQQuickSets& m_owner;
    };
    // The entry list written over the printer's store from index 0, values beyond it removed.
    BOOL BAddRewrite(CZQStoreEdit& edit);
    BOOL BUserKeyPath(PCWSTR pszSubKey, PWSTR pszPath, size_t cchPath) const;
    void VLoadUserStore(const WCHAR (*paszShared)[kNameChars], int nShared);
    void VFreeList(QuickSetEntry** ppHead, QuickSetEntry** ppTail);
    QuickSetEntry* PAppendTo(QuickSetEntry** ppHead, QuickSetEntry** ppTail);
    BOOL BPostScript() const;
    BOOL BGroupDiffers(const ZQUIDevmode& devmode, const QuickSetEntry& entry, int iGroup);
    BOOL BWatermarkDiffers(const ZQUIDevmode& devmode, const QuickSetEntry& entry) const;
    BOOL BAnyFeatureLocked(PCWSTR pszFeature) const;
    BOOL BOptionWalkHides(QuickSetEntry* pEntry, PCWSTR pszFeature);
    BOOL BLocksHide(const QuickSetEntry* pEntry) const;
    void VResetToPlaceholder(HWND hCombo, HWND hSave, HWND hDelete);

    // The save an edit holds until its commit: the entry and what it was before.
    struct PendingSave {
        QuickSetEntry* pEntry = nullptr;
        bool bFresh = false;
        QuickSetHead keptHead = {};
        DWORD dwKeptFlags = 0;
        QuickSetPair* pKeptPairs = nullptr;
        int iKeptShared = 0;
        int iKeptUser = 0;
    };
    PendingSave m_pending;
    CZQStoreEdit* m_pEdit = nullptr;
    ZQStoreOutcome m_lastOutcome = ZQStoreOutcome::kStored;
    BOOL m_bNoIndexLeft = FALSE;
    CZQUILogic* m_pSheetLogic = nullptr;
    CZQWatermarks* m_pWatermarks = nullptr;
    WCHAR m_szCaption[kResStringChars] = {};
    QuickSetEntry* m_pHead = nullptr;
    QuickSetEntry* m_pTail = nullptr;
    // Used only while the store is rebuilt.
    QuickSetEntry* m_pStoredHead = nullptr;
    QuickSetEntry* m_pStoredTail = nullptr;
    QuickSetEntry* m_pFactory = nullptr;
    BOOL m_bListChanged = FALSE;
    // Its links stay empty; taken at load and by the printing-shortcuts pages.
    QuickSetEntry m_snapshot = {};
    BOOL m_bSnapshot = FALSE;
    int m_nEntries = 0;
    // Bounds the poster-tile comparison; set by the poster handlers.
    int m_iPosterTilesPerSide = 0;
    WCHAR m_szPlaceholder[kNameChars] = {};
    WCHAR m_szCurrentName[kNameChars] = {};
    int m_iSharedIndex = 0;
    int m_iUserIndex = 0;
    WCHAR m_szFactoryName[kNameChars] = {};
    BOOL m_bRestricted = FALSE;
    // The store's printer: the handle that could write its data, owned when it was reopened for that.
    HANDLE m_hPrinter = nullptr;
    CZQPrinterHandle m_reopened;
    // The current name names the stored quick set in force.
    BOOL m_bSelected = FALSE;
    BOOL m_bChanged = FALSE;
    // The different-paper field of the last page comparison.
    DWORD m_dwPaperSourceCopy = 0;
    // While a load checks its entries, the items stand still between them: each feature's walk for
    // one option is made once and its answer kept (none beyond the table's room).
    struct WalkAnswer {
        PCWSTR pszFeature;
        WCHAR szOption[256];
        BOOL bHide;
    };
    static constexpr int kWalkAnswers = 32;
    WalkAnswer m_aWalkAnswers[kWalkAnswers] = {};
    int m_nWalkAnswers = -1;  // -1: answers not kept
};
