// The quick-set manager as the pages use it: the load for a sheet, the Task Presets group (combo,
// Save, Delete), the name asked of the page, saving, deleting and applying a quick set, and the
// quick-set name the devmode keeps.
#include "featurelogic/zqquicksets.h"

#include <commctrl.h>

#include <cstring>

#include "common/zqkeywords.h"
#include "common/zqmsgbox.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zqwatermarks.h"
#include "formats/zquidevmode.h"
#include "res/zqquicksetids.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstoreedit.h"

namespace {

constexpr int kIdsGroup = 3005;
constexpr int kIdsSave = 3006;
constexpr int kIdsDelete = 854;
constexpr int kIdsCaption = 3008;
constexpr int kIdsComboName = 3041;
constexpr int kIdsPrompt = 3012;
constexpr int kIdsPlaceholder = 3043;
constexpr int kIdsRefused = 875;
constexpr int kIdsFull = 3884;
constexpr int kIdsFixedName = 3014;
constexpr int kIdsReplace = 3015;
constexpr int kIdsConfirmDelete = 3011;
constexpr int kIdsNone = 874;
constexpr WCHAR kPlaceholderEnglish[] = L"Type new Quick Set name here";
constexpr WCHAR kNoneEnglish[] = L" [none]";
// Stored job-storage names are cut to what the printer's job header takes.
constexpr size_t kAppliedJobNameChars = 16;
constexpr size_t kNameCut = CZQQuickSets::kNameChars - 1;

bool IsBlank(PCWSTR pszText) {
    if (!pszText) return true;
    for (; *pszText; ++pszText)
        if (*pszText != L' ') return false;
    return true;
}

// The combo's or list box's selected text, cut to a quick-set name; empty when nothing is selected
// or the text is longer than a listed name can be.
void SelectedText(HWND hCtrl, bool bCombo, PWSTR pszOut) {
    pszOut[0] = 0;
    const UINT getSel = bCombo ? CB_GETCURSEL : LB_GETCURSEL;
    const UINT getLen = bCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT getText = bCombo ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT sel = SendMessageW(hCtrl, getSel, 0, 0);
    if (sel < 0) return;
    const LRESULT len = SendMessageW(hCtrl, getLen, static_cast<WPARAM>(sel), 0);
    if (len < 0 || len >= static_cast<LRESULT>(CZQCommon::kResStringChars)) return;
    WCHAR text[CZQCommon::kResStringChars] = {};
    if (SendMessageW(hCtrl, getText, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text)) < 0) return;
    ZQCopyTextN(pszOut, CZQQuickSets::kNameChars, text, kNameCut);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Names
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VSetCurrentName(PCWSTR pszName) {
    ZQCopyTextN(m_szCurrentName, kNameChars, pszName ? pszName : L"", kNameCut);
}

BOOL CZQQuickSets::BIsPlaceholderName(PCWSTR pszName) const {
    if (!pszName) return FALSE;
    WCHAR cut[kNameChars];
    ZQCopyTextN(cut, kNameChars, kPlaceholderEnglish, kNameCut);
    if (ZQEqualNoCase(pszName, cut) || (m_szPlaceholder[0] && ZQEqualNoCase(pszName, m_szPlaceholder))) return TRUE;
    if (!m_hResModule) return FALSE;
    CZQLocalPtr<WCHAR> block;
    if (!block.Alloc(CZQCommon::kResStringChars * kUiLanguageCount)) return FALSE;
    auto names = reinterpret_cast<WCHAR(*)[CZQCommon::kResStringChars]>(block.Get());
    BLoadStringAllLanguages(m_hResModule, kIdsPlaceholder, names);
    for (int i = 0; i < kUiLanguageCount; ++i) {
        if (!names[i][0]) continue;
        ZQCopyTextN(cut, kNameChars, names[i], kNameCut);
        if (ZQEqualNoCase(pszName, cut)) return TRUE;
    }
    return FALSE;
}

int CZQQuickSets::IMessage(HWND hOwner, int iId, PCWSTR pszEnglish, UINT uType) {
    WCHAR text[CZQCommon::kResStringChars];
    // Id 0: a text the status module does not have.
    if (!iId || !BLoadResString(iId, text)) ZQCopyText(text, CZQCommon::kResStringChars, pszEnglish);
    return zqmsgbox::IShow(hOwner, text, m_szCaption, uType);
}

BOOL CZQQuickSets::BActiveOption(PCWSTR pszFeature, PWSTR pszOption) const {
    const QuickSetEntry* entry = m_bSelected ? PFindEntry(m_szCurrentName) : nullptr;
    return entry && PFindNameValue(entry->pPairs, pszFeature, pszOption) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Load
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VLoad(CZQXmlUiRules* pRules, ZQUIDevmode* pDevmode) {
    if (!m_pCUIParam || !m_pCUIParam->pOEMDM || !pDevmode) return;
    // Each sheet starts from the store: nothing of an earlier sheet stays.
    VFreeEntries();
    VFreePairs(&m_snapshot.pPairs);
    m_snapshot = {};
    m_bSnapshot = FALSE;
    m_nEntries = 0;
    m_bSelected = FALSE;
    VPrepareStore();
    if (!BLoadResString(kIdsCaption, m_szCaption)) ZQCopyText(m_szCaption, CZQCommon::kResStringChars, L"Task Presets");
    DWORD installed = 0;
    if (CZQDriverData::BGetPrinterDataDword(HStorePrinter(), zqsettings::kInstallationComplete, &installed) &&
        installed == 1) {
        VRebuildStore(pRules);
        return;
    }
    // A normal load builds no factory-defaults entry: the one stored is a quick set like the others.
    VLoadStored();
    m_nWalkAnswers = 0;
    for (QuickSetEntry* e = m_pHead; e; e = e->pNext) {
        ++m_nEntries;
        if (e != PFactoryEntry()) VCheckInstallable(e);
    }
    m_nWalkAnswers = -1;
    // A save reads the counter again, as stored then.
    VReadMaxIndex();

    if (!pDevmode->szQuickSetName[0]) ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szPlaceholder);
    VSetCurrentName(pDevmode->szQuickSetName);
    if (BIsFactoryName(m_szCurrentName)) {
        VSetCurrentName(m_szFactoryName);
        ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szFactoryName);
    }
    const QuickSetEntry* entry = PFindEntry(m_szCurrentName);
    if (!entry || (entry->dwFlags & kHiddenFlag) ||
        (pDevmode->dwJobStorageAvailable && zqqs::JobStorageDiffers(*pDevmode, entry->head.settings)))
        VSetCurrentName(m_szPlaceholder);
    m_bSelected = wcscmp(m_szCurrentName, m_szPlaceholder) != 0;
    if (pDevmode->dwQuickSetInUse) {
        if (!pDevmode->szDocTypeName[0])
            VSnapshotFactory();
        else
            VSnapshotCurrent(pDevmode);
    }
}

// A normal load builds no factory-defaults entry; the stored one of that name still stands for the
// factory settings, so that a choice made on an untyped sheet counts as a change and is kept.
const QuickSetEntry* CZQQuickSets::PFactoryEntry() const {
    return m_pFactory ? m_pFactory : PFindEntry(m_szFactoryName);
}

void CZQQuickSets::VSnapshotFactory() {
    VFreePairs(&m_snapshot.pPairs);
    m_snapshot = {};
    m_bSnapshot = FALSE;
    const QuickSetEntry* factory = PFactoryEntry();
    if (!factory) return;
    m_snapshot.head = factory->head;
    m_snapshot.dwFlags = factory->dwFlags;
    m_snapshot.iIndex = factory->iIndex;
    for (const QuickSetPair* p = factory->pPairs; p; p = p->pNext)
        VAppendPair(&m_snapshot.pPairs, p->pszFeature, p->pszOption);
    m_bSnapshot = TRUE;
}

// ---------------------------------------------------------------------------------------------
// The group on a page
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VInitControls(HWND hDlg, HWND* phGroup, HWND* phCombo, HWND* phSave, HWND* phDelete) {
    HWND group = GetDlgItem(hDlg, IDC_GB_PRE_SETS);
    HWND combo = GetDlgItem(hDlg, IDC_CBO_PRESET);
    HWND save = GetDlgItem(hDlg, IDC_BTN_SAVE_PRESET);
    HWND del = GetDlgItem(hDlg, IDC_BTN_DELETE_PRESET);
    if (phGroup) *phGroup = group;
    if (phCombo) *phCombo = combo;
    if (phSave) *phSave = save;
    if (phDelete) *phDelete = del;
    const struct {
        HWND hCtrl;
        int iId;
        PCWSTR pszEnglish;
    } texts[] = {{group, kIdsGroup, L"&Task Presets"}, {save, kIdsSave, L"&Save"}, {del, kIdsDelete, L"&Delete"}};
    for (const auto& t : texts) {
        if (!t.hCtrl) continue;
        WCHAR text[CZQCommon::kResStringChars];
        SetWindowTextW(t.hCtrl, BLoadResString(t.iId, text) ? text : t.pszEnglish);
    }
    if (combo) SendMessageW(combo, CB_LIMITTEXT, kNameCut, 0);
}

void CZQQuickSets::VEnableButtons(HWND hSave, HWND hDelete) const {
    const QuickSetEntry* entry = PFindEntry(m_szCurrentName);
    if (entry && m_bSelected) {
        if (entry->dwFlags & kOwnFlag) {
            if (hSave) EnableWindow(hSave, FALSE);
            if (hDelete) {
                EnableWindow(hDelete, TRUE);
                SetFocus(hDelete);
            }
        }
        if (entry->dwFlags & kFixedFlag) {
            if (hSave) EnableWindow(hSave, FALSE);
            if (hDelete) EnableWindow(hDelete, FALSE);
        }
        return;
    }
    if (hDelete) EnableWindow(hDelete, FALSE);
    if (hSave) EnableWindow(hSave, !IsBlank(m_szCurrentName));
}

void CZQQuickSets::VRefreshCombo(HWND hCombo, HWND hSave, HWND hDelete) {
    if (!hCombo) return;
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    for (const QuickSetEntry* e = m_pHead; e; e = e->pNext)
        if (!(e->dwFlags & kHiddenFlag))
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e->head.szName));
    if (m_bSelected) {
        const LRESULT count = SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
        if (count == CB_ERR) SetWindowTextW(hCombo, m_szCurrentName);
        for (LRESULT i = 0; i < count; ++i) {
            WCHAR text[CZQCommon::kResStringChars] = {};
            const LRESULT len = SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            if (len < 0 || len >= static_cast<LRESULT>(CZQCommon::kResStringChars)) continue;
            SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            if (wcscmp(text, m_szCurrentName) == 0) {
                SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                break;
            }
        }
    } else {
        SetWindowTextW(hCombo, m_szCurrentName);
        if (PFindEntry(m_szCurrentName)) m_bSelected = TRUE;
    }
    VEnableButtons(hSave, hDelete);
}

void CZQQuickSets::VOnNameEdited(HWND hCombo, HWND hSave, HWND hDelete) {
    WCHAR text[kNameChars] = {};
    if (hCombo) GetWindowTextW(hCombo, text, static_cast<int>(kNameChars));
    const bool blank = IsBlank(text);
    if (hSave) EnableWindow(hSave, !blank);
    if (hDelete) EnableWindow(hDelete, FALSE);
    VSetCurrentName(blank ? L"" : text);
    m_bSelected = FALSE;
}

// ---------------------------------------------------------------------------------------------
// The name
// ---------------------------------------------------------------------------------------------
ZQNameQuestion CZQQuickSets::NameQuestion() {
    return {this, kIdsCaption, L"Task Presets", kIdsPrompt, L"Please type a name for the new Task Preset:", 0,
            static_cast<int>(kNameCut)};
}

BOOL CZQQuickSets::BAskName(HWND hOwner, BOOL bRtl, IZQNameAsker* pAsker) {
    WCHAR name[kNameChars] = {};
    if (!pAsker || !pAsker->BAskName(hOwner, bRtl, NameQuestion(), name, kNameChars)) return FALSE;
    VSetCurrentName(name);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Save and delete
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VFillCurrentPairs(QuickSetEntry* pEntry, BOOL bFormNames) {
    if (!pEntry || !m_pCUIParam) return;
    PWSTR *features = nullptr, *options = nullptr, *names = nullptr, *values = nullptr;
    int nFeatures = 0, nStandard = 0;
    DWGetAllFeatureOptions(m_pCUIParam, &features, &options, &nFeatures);
    DWGetStandardItemValues(m_pCUIParam, &names, &values, &nStandard);
    WCHAR form[256] = {};
    // A user's form is kept by its name: the driver's keyword for it is not the same elsewhere.
    const bool userForm = bFormNames && BSelectedFormName(form) && BIsUserForm(form);
    for (int i = 0; i < nFeatures; ++i) {
        if (!features[i] || !options[i]) continue;
        const bool paper = ZQEqualNoCase(features[i], zqkw::kPageSize) || ZQEqualNoCase(features[i], zqkw::kPaperSize);
        VAppendPair(&pEntry->pPairs, features[i], paper && userForm ? form : options[i]);
    }
    for (int i = 0; i < nStandard; ++i)
        if (names[i] && values[i]) VAppendPair(&pEntry->pPairs, names[i], values[i]);
    VFreeStringList(features, nFeatures);
    VFreeStringList(options, nFeatures);
    VFreeStringList(names, nStandard);
    VFreeStringList(values, nStandard);
    uint32_t count = 0;
    for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) ++count;
    pEntry->head.cPairs = count;
}

void CZQQuickSets::VSaveCurrent(HWND hOwner, PCWSTR pszName, HWND hSave, HWND hDelete, ZQUIDevmode* pDevmode,
                                BOOL bRtl, IZQNameAsker* pAsker, const BOOL* pbReplaceAnswered,
                                IZQStoreEditPart* pPart) {
    m_lastOutcome = ZQStoreOutcome::kDeclined;
    // A shortcut's quick set goes by the shortcut's name, which the shortcut store compares without case.
    const SaveFor saveFor = pbReplaceAnswered ? SaveFor::kShortcut : SaveFor::kGroup;
    if (!BHasStore() || !pDevmode) return;
    VSetCurrentName(pszName);
    if (!m_szCurrentName[0] || wcscmp(m_szCurrentName, m_szPlaceholder) == 0) {
        if (!BAskName(hOwner, bRtl, pAsker)) {
            m_bSelected = FALSE;
            return;
        }
    }
    bool replace = false;
    for (;;) {
        // The user who agreed to replace the shortcut is not asked again for its quick set.
        const SaveFor turn = pbReplaceAnswered && *pbReplaceAnswered ? SaveFor::kReplacedShortcut : saveFor;
        SaveStep step = SaveStep::kReady;
        IZQStoreEditPart::Step part = IZQStoreEditPart::Step::kReady;
        ZQStoreOutcome outcome = ZQStoreOutcome::kBusy;
        {
            CZQStoreEdit edit = Edit();
            CEditInUse inUse(*this, edit);
            if (edit.BHeld()) {
                step = EAddSave(pDevmode, turn, replace || turn == SaveFor::kReplacedShortcut);
                if (step == SaveStep::kReady && pPart) part = pPart->EAdd(edit);
                if (step == SaveStep::kReady)
                    outcome = part == IZQStoreEditPart::Step::kReady ? edit.ECommit()
                              : part == IZQStoreEditPart::Step::kAsk ? ZQStoreOutcome::kDeclined
                                                                     : ZQStoreOutcome::kRefused;
                if (step == SaveStep::kReady) VEndSave(outcome == ZQStoreOutcome::kStored);
            }
        }
        // The questions and messages wait for the user with the lock let go: another program's
        // quick set (or shortcut) of the name, stored meanwhile, is asked about in the next turn.
        if (step == SaveStep::kReady && part == IZQStoreEditPart::Step::kAsk && pPart->BAnswer(hOwner)) continue;
        if (step == SaveStep::kReady) {
            m_bSelected = outcome == ZQStoreOutcome::kStored;
            VEnableButtons(hSave, hDelete);
            m_lastOutcome = outcome;
            return;
        }
        if (BAnswerStep(hOwner, step)) {
            replace = true;
            continue;
        }
        m_bSelected = FALSE;
        if (step == SaveStep::kNoIndex || step == SaveStep::kFailed) VEnableButtons(hSave, hDelete);
        m_lastOutcome = step == SaveStep::kFailed ? ZQStoreOutcome::kRefused : ZQStoreOutcome::kDeclined;
        return;
    }
}

BOOL CZQQuickSets::BAnswerStep(HWND hOwner, SaveStep step) {
    constexpr PCWSTR kFullEnglish =
        L"The maximum number of Task Presets has been saved on your computer.  You must delete some before more can "
        L"be saved.";
    switch (step) {
        case SaveStep::kAskReplace:
            return IMessage(hOwner, kIdsReplace,
                            L"A Task Preset with that name already exists. Do you want to replace it with the current "
                            L"settings?",
                            MB_YESNO | MB_ICONQUESTION) == IDYES;
        case SaveStep::kFull:
        case SaveStep::kNoIndex: IMessage(hOwner, kIdsFull, kFullEnglish, MB_ICONEXCLAMATION); return FALSE;
        case SaveStep::kReserved:
            IMessage(hOwner, kIdsRefused,
                     L"This name can not be saved because the name is either reserved, in use or zero-length.",
                     MB_ICONEXCLAMATION);
            return FALSE;
        case SaveStep::kFixed:
            IMessage(hOwner, kIdsFixedName,
                     L"A Task Preset with that name already exists and cannot be renamed. Please use another name.",
                     MB_ICONHAND);
            return FALSE;
        default: return FALSE;
    }
}

CZQQuickSets::SaveStep CZQQuickSets::EAddSave(ZQUIDevmode* pDevmode, SaveFor saveFor, bool bReplace) {
    // The name is looked for among the quick sets stored now, whoever stored them.
    if (!BMergeStored()) return SaveStep::kFailed;
    // A shortcut's quick set goes by the shortcut's name, which the shortcut store compares without case.
    QuickSetEntry* entry =
        saveFor == SaveFor::kGroup ? PFindEntry(m_szCurrentName) : PFindEntryAnyCase(m_szCurrentName);
    const bool fresh = entry == nullptr;
    if (fresh) {
        if (m_nEntries >= zqqs::kMaxQuickSets) return SaveStep::kFull;
        // A name of blanks is as empty as none.
        if (IsBlank(m_szCurrentName) || BIsPlaceholderName(m_szCurrentName) || BIsFactoryName(m_szCurrentName))
            return SaveStep::kReserved;
        if (!(entry = PNewEntry())) return SaveStep::kFailed;
    } else {
        if (entry->dwFlags & kFixedFlag) return SaveStep::kFixed;
        if (!bReplace) return SaveStep::kAskReplace;
    }
    // A replaced quick set the store refuses stays as it was.
    m_pending = {entry, fresh, entry->head, entry->dwFlags, entry->pPairs, m_iSharedIndex, m_iUserIndex};
    entry->pPairs = nullptr;

    zqqs::Capture(*pDevmode, entry->head.settings);
    ZQCopyText(entry->head.szName, kNameChars, m_szCurrentName);
    VFillCurrentPairs(entry, TRUE);
    if (!fresh && (entry->dwFlags & kHiddenFlag)) {
        entry->dwFlags = 0;
        VCheckInstallable(entry);
    }
    entry->dwFlags |= kOwnFlag;
    entry->head.dwMarker = zqqs::kMarker;
    entry->head.cchName = zqqs::kNameCapacity;
    entry->head.cbSettings = zqqs::kSettingsSize;
    VWriteEntry(entry, !fresh);
    if (m_lastOutcome != ZQStoreOutcome::kStored) {
        const bool full = m_bNoIndexLeft != FALSE;
        VEndSave(false);
        return full ? SaveStep::kNoIndex : SaveStep::kFailed;
    }
    return SaveStep::kReady;
}

void CZQQuickSets::VEndSave(bool bStored) {
    PendingSave pending = m_pending;
    m_pending = {};
    QuickSetEntry* entry = pending.pEntry;
    if (!entry) return;
    if (bStored) {
        VFreePairs(&pending.pKeptPairs);
        if (pending.bFresh) ++m_nEntries;
        return;
    }
    m_iSharedIndex = pending.iKeptShared;
    m_iUserIndex = pending.iKeptUser;
    if (pending.bFresh) {
        VRemoveEntry(entry);
    } else {
        VFreePairs(&entry->pPairs);
        entry->head = pending.keptHead;
        entry->dwFlags = pending.dwKeptFlags;
        entry->pPairs = pending.pKeptPairs;
    }
}

ZQStoreOutcome CZQQuickSets::EDeleteNamed(PCWSTR pszName, BOOL bAnyCase, IZQStoreEditPart* pPart) {
    CZQStoreEdit edit = Edit();
    CEditInUse inUse(*this, edit);
    if (!edit.BHeld()) return ZQStoreOutcome::kBusy;
    // Found as stored now: its index may have changed, and another sheet may have deleted it already.
    if (!BMergeStored()) return ZQStoreOutcome::kRefused;
    QuickSetEntry* entry = bAnyCase ? PFindEntryAnyCase(pszName) : PFindEntry(pszName);
    // Fixed quick sets are never deleted; a shortcut of the name goes all the same.
    if (entry && (entry->dwFlags & kFixedFlag)) {
        if (!pPart) return ZQStoreOutcome::kDeclined;
        entry = nullptr;
    }
    if (entry) VDeleteStoredEntry(entry);
    if (pPart && pPart->EAdd(edit) != IZQStoreEditPart::Step::kReady) return ZQStoreOutcome::kRefused;
    const ZQStoreOutcome outcome = edit.ECommit();
    // A value the store keeps stays listed.
    if (outcome != ZQStoreOutcome::kStored) return outcome;
    if (entry) {
        VRemoveEntry(entry);
        --m_nEntries;
    }
    m_bListChanged = TRUE;
    return outcome;
}

void CZQQuickSets::VDeleteSelected(HWND hOwner, HWND hCombo, HWND hSave, HWND hDelete, std::wstring* pName) {
    m_lastOutcome = ZQStoreOutcome::kDeclined;
    if (!BHasStore() || !hCombo) return;
    const LRESULT sel = SendMessageW(hCombo, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) return;
    WCHAR name[kNameChars];
    SelectedText(hCombo, true, name);
    VSetCurrentName(name);
    if (pName) *pName = name;
    QuickSetEntry* entry = PFindEntry(m_szCurrentName);
    if (!entry || (entry->dwFlags & kFixedFlag)) return;
    if (IMessage(hOwner, kIdsConfirmDelete, L"Are you sure you want to delete the selected item?",
                 MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        m_bSelected = TRUE;
        return;
    }
    m_lastOutcome = EDeleteNamed(m_szCurrentName, FALSE, nullptr);
    if (m_lastOutcome != ZQStoreOutcome::kStored) return;
    SendMessageW(hCombo, CB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    VResetToPlaceholder(hCombo, hSave, hDelete);
    WCHAR text[kNameChars] = {};
    GetWindowTextW(hCombo, text, static_cast<int>(kNameChars));
    VSetCurrentName(text);
    SetFocus(hCombo);
}

void CZQQuickSets::VDeleteByName(PCWSTR pszName, IZQStoreEditPart* pShortcut) {
    if (!BHasStore() || !pszName) {
        m_lastOutcome = ZQStoreOutcome::kRefused;
        return;
    }
    m_lastOutcome = EDeleteNamed(pszName, TRUE, pShortcut);
}

// ---------------------------------------------------------------------------------------------
// Apply
// ---------------------------------------------------------------------------------------------
ZQUIDevmode* CZQQuickSets::PApplyTarget() {
    if (m_pSheetLogic && m_pSheetLogic->WorkDM()) return m_pSheetLogic->WorkDM();
    return m_pDevmode;
}

void CZQQuickSets::VApplySelection(HWND /*hDlg*/, HWND hComboOrList, HWND hSave, HWND hDelete) {
    if (!BHasStore()) return;
    const bool combo = hComboOrList && hSave && hDelete;
    WCHAR name[kNameChars] = {};
    if (hComboOrList)
        SelectedText(hComboOrList, combo, name);
    else
        ZQCopyText(name, kNameChars, m_szFactoryName);
    VSetCurrentName(name);
    m_bSelected = TRUE;
    if (const QuickSetEntry* entry = PFindEntry(m_szCurrentName)) VApplyEntry(entry);
    if (!combo) return;
    const LRESULT item = SendMessageW(hComboOrList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(m_szCurrentName));
    if (item != CB_ERR) SendMessageW(hComboOrList, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    VEnableButtons(hSave, hDelete);
}

void CZQQuickSets::VApplyComboSelection(HWND hDlg, HWND hCombo, HWND hSave, HWND hDelete) {
    if (!BHasStore()) return;
    WCHAR name[kNameChars] = {};
    if (hCombo)
        SelectedText(hCombo, true, name);
    else
        ZQCopyText(name, kNameChars, m_szFactoryName);
    WCHAR replacement[CZQCommon::kResStringChars];
    if (BLoadResString(kIdsComboName, replacement)) ZQCopyTextN(name, kNameChars, replacement, kNameCut);
    VSetCurrentName(name);
    m_bSelected = TRUE;
    if (const QuickSetEntry* entry = PFindEntry(m_szCurrentName)) VApplyEntry(entry);
    (void)hDlg;
    if (!hCombo) return;
    const LRESULT item =
        SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(m_szCurrentName));
    if (item != CB_ERR) SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    VEnableButtons(hSave, hDelete);
}

void CZQQuickSets::VApplyByName(PCWSTR pszName) {
    if (!BHasStore() || !pszName) return;
    if (const QuickSetEntry* entry = PFindEntryAnyCase(pszName)) VApplyEntry(entry);
}

void CZQQuickSets::VApplyEntry(const QuickSetEntry* pEntry) {
    ZQUIDevmode* dm = PApplyTarget();
    if (!pEntry || !dm) return;
    VApplyBlock(pEntry->head.settings, dm);
    VApplyWatermarkDefinition(dm);
    VApplyPairs(pEntry, dm);
    if (BMediaTypeTreeviewPopup()) VApplyRecentMedia(dm);
    if (dm->dwPdl == kPdlPostScript && !BHasMirrorPrint()) {
        // The PostScript driver's own mirror item has no public id.
        POPTITEM item = nullptr;
        const int position = IGetPsItemPosition(m_pCaps);
        if (DWFindOptItemByPubId(m_pCUIParam, 0, position, &item) == ZQOPT_OK && item && IGetOptionCount(item) > 1) {
            const DWORD previous = static_cast<DWORD>(item->Sel);
            item->Sel = dm->dwMirror == 0 ? 1 : 0;
            item->Flags |= OPTIF_CHANGED;
            BReportItem(m_pCUIParam, item, previous, OEMCUIP_DOCPROP);
        }
    }
    // The colour settings follow the features the pairs set.
    if (m_pSheetLogic) m_pSheetLogic->m_colorOptions.VRefreshSelections(m_pCUIParam);
}

void CZQQuickSets::VApplyBlock(const QuickSetSettings& block, ZQUIDevmode* dm) {
    dm->wDuplex = block.wDuplex;
    dm->wOrientation = block.wOrientation;
    POPTITEM own = nullptr;
    if (DWFindOemOptItemByPubId(m_pCUIParam, kOemPubOrientation, &own) == ZQOPT_OK && own) {
        const LONG selection = block.wOrientation == 2 ? 1 : 0;
        own->Sel = selection;
        own->Flags |= OPTIF_CHANGED;
        DWSelectPubOption(m_pCUIParam, DMPUB_ORIENTATION, 0, selection);
    }
    // Every other field follows; the items that show them are set below.
    zqqs::Restore(block, *dm);
    if (!BIsDuplexUnitInstalled(FALSE) && !BIsManualDuplexAvailable())
        dm->wDuplex = 1;
    else
        DWChangePubOption(m_pCUIParam, DMPUB_DUPLEX, 0, dm->wDuplex == 2 ? 1 : dm->wDuplex == 3 ? 2 : 0);
    const uint32_t code = dm->dwPagesPerSheet;
    DWChangePubOption(m_pCUIParam, DMPUB_NUP, 0, code >= 2 && code <= 6 ? static_cast<LONG>(code - 1) : 0);
    dm->szJsUserName[kAppliedJobNameChars] = 0;
    dm->szJsJobName[kAppliedJobNameChars] = 0;
    if (dm->dwPagesPerSheet != 1 && dm->dwBooklet == 0) dm->dwScaleToFit = 0;
}

void CZQQuickSets::VApplyWatermarkDefinition(ZQUIDevmode* pDevmode) {
    if (!pDevmode) return;
    WCHAR noneName[CZQCommon::kResStringChars];
    if (m_pWatermarks)
        ZQCopyText(noneName, CZQCommon::kResStringChars, m_pWatermarks->NoneName());
    else if (!BLoadResString(kIdsNone, noneName))
        ZQCopyText(noneName, CZQCommon::kResStringChars, kNoneEnglish);
    WCHAR name[256];
    ZQCopyText(name, 256, pDevmode->szWmName);
    const WatermarkEntry* found = m_pWatermarks ? m_pWatermarks->PFindByName(name) : nullptr;
    if (!found && m_pWatermarks) found = m_pWatermarks->PFindByName(noneName);
    if (!found) {
        ZQCopyText(pDevmode->szWmName, 256, noneName);
        pDevmode->dwWmOn = 0;
        return;
    }
    zqdm::CopyText(pDevmode->szWmName, 256, found->szName);
    zqdm::CopyText(pDevmode->szWmText, 256, found->szText);
    zqdm::CopyText(pDevmode->szWmFont, 256, found->szFont);
    pDevmode->dwWmAngle = found->dwAngle;
    pDevmode->dwWmSize = found->dwSize;
    pDevmode->dwWmAngleMode = found->dwAngleMode;
    pDevmode->dwWmShade = found->dwShade;
    pDevmode->dwWmStyle = found->dwStyle;
    pDevmode->dwWmColorIndex = found->dwColor;
    if (wcscmp(pDevmode->szWmName, noneName) == 0) {
        pDevmode->dwWmOn = 0;
        pDevmode->dwWmFirstPageOnly = 0;
    } else {
        pDevmode->dwWmOn = 1;
    }
}

void CZQQuickSets::VApplyPairs(const QuickSetEntry* pEntry, const ZQUIDevmode* dm) {
    const bool postScript = dm->dwPdl == kPdlPostScript;
    for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) {
        PCWSTR feature = p->pszFeature;
        PCWSTR option = p->pszOption;
        if (!feature || !option) continue;
        POPTITEM item = nullptr;
        if (ZQEqualNoCase(feature, L"Orientation")) {
            if (DWFindOemOptItemByPubId(m_pCUIParam, kOemPubOrientation, &item) == ZQOPT_OK && item) {
                const bool portrait =
                    ZQEqualNoCase(option, L"PORTRAIT") || (postScript && ZQEqualNoCase(option, L"ZQOrientationPortrait"));
                item->Sel = portrait ? 0 : 1;
                item->Flags |= OPTIF_CHANGED;
            }
        } else if (ZQEqualNoCase(feature, zqkw::kPageOrderItem)) {
            // A position (the plug-in's own item keeps one), or the core driver's keyword.
            wchar_t* end = nullptr;
            LONG value = wcstol(option, &end, 10);
            if (!option[0] || *end) {
                if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_PAGEORDER, 0, &item) != ZQOPT_OK || !item) continue;
                value = IGetOptionIndexByKeyword(m_pCUIParam, option, nullptr, item);
                if (value >= IGetOptionCount(item)) continue;
                item = nullptr;
            }
            DWChangePubOption(m_pCUIParam, DMPUB_PAGEORDER, 0, value);
            if (DWFindOemOptItemByPubId(m_pCUIParam, kOemPubPageOrder, &item) == ZQOPT_OK && item) {
                item->Sel = value;
                item->Flags |= OPTIF_CHANGED;
            }
        } else if (ZQEqualNoCase(feature, zqkw::kCopiesItem)) {
            DWChangePubOption(m_pCUIParam, DMPUB_COPIES_COLLATE, 0, _wtol(option));
        } else if (ZQEqualNoCase(feature, L"Collate")) {
            // Only the collate check: the copy count stays.
            if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_COPIES_COLLATE, 0, &item) == ZQOPT_OK && item) {
                const DWORD before = item->Flags;
                if (ZQEqualNoCase(option, L"ON"))
                    item->Flags |= OPTIF_ECB_CHECKED;
                else if (ZQEqualNoCase(option, L"OFF"))
                    item->Flags &= ~static_cast<DWORD>(OPTIF_ECB_CHECKED);
                if (item->Flags != before) {
                    item->Flags |= OPTIF_CHANGED;
                    BReportItem(m_pCUIParam, item, static_cast<DWORD>(item->Sel), OEMCUIP_DOCPROP);
                }
            }
        } else if (ZQEqualNoCase(feature, zqkw::kDuplexItem)) {
            continue;
        } else if ((ZQEqualNoCase(feature, zqkw::kPageSize) || ZQEqualNoCase(feature, zqkw::kPaperSize)) &&
                   BIsUserForm(option)) {
            if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_FORMNAME, 0, &item) == ZQOPT_OK && item)
                DWSelectOptionByName(m_pCUIParam, item, option, OEMCUIP_DOCPROP);
        } else {
            DWSelectOptionByKeyword(m_pCUIParam, feature, option, OEMCUIP_DOCPROP);
        }
    }
}

void CZQQuickSets::VApplyRecentMedia(ZQUIDevmode* dm) {
    POPTITEM media = nullptr;
    const PrinterCaps* caps = m_pCaps ? ZQPrinterCapsLists(m_pCaps, kCapsMedia) : nullptr;
    if (!caps || DWFindOptItemByPubId(m_pCUIParam, DMPUB_MEDIATYPE, 0, &media) != ZQOPT_OK || !media) return;
    int position = -1;
    for (DWORD i = 0; i < caps->dwMediaCount && caps->pMediaIds; ++i)
        if (caps->pMediaIds[i] == dm->dwOtherPagesMedia) {
            position = static_cast<int>(i);
            break;
        }
    const POPTPARAM option = position >= 0 ? PGetOptionParam(media, position) : nullptr;
    if (!option || !option->pData || IS_INTRESOURCE(option->pData)) return;
    WCHAR name[64];
    ZQCopyTextN(name, 64, option->pData, 63);
    if (dm->dwOtherPagesMedia != dm->dwDefaultMediaId) {
        constexpr int kSlots = sizeof dm->aszRecentMediaTypes / sizeof dm->aszRecentMediaTypes[0];
        int slots = IGetLqjMediaTreeviewCount();
        slots = slots < 0 ? 0 : slots > kSlots ? kSlots : slots;
        bool present = false;
        int empty = -1;
        for (int i = 0; i < slots; ++i) {
            if (!dm->aszRecentMediaTypes[i][0]) {
                if (empty < 0) empty = i;
            } else if (wcsncmp(dm->aszRecentMediaTypes[i], name, 64) == 0) {
                present = true;
            }
        }
        if (!present && slots > 0) {
            if (empty < 0) {
                for (int i = 1; i < slots; ++i)
                    std::memcpy(dm->aszRecentMediaTypes[i - 1], dm->aszRecentMediaTypes[i], sizeof dm->aszRecentMediaTypes[i]);
                empty = slots - 1;
            }
            zqdm::CopyText(dm->aszRecentMediaTypes[empty], 64, name);
        }
    }
    DWSelectOptionByName(m_pCUIParam, media, name, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// The name kept in the devmode
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VRestoreNameIfDiffers() {
    const QuickSetEntry* entry = m_bSelected ? PFindEntry(m_szCurrentName) : nullptr;
    if (!entry || !BFeaturesDiffer(entry)) return;
    m_bSelected = FALSE;
    VSetCurrentName(m_szPlaceholder);
}

void CZQQuickSets::VStoreNameInDevmode(ZQUIDevmode* pDevmode) {
    if (!pDevmode) return;
    if (m_bSelected) {
        ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szCurrentName);
        return;
    }
    if (m_pFactory && BMatchesEntry(m_pFactory, *pDevmode))
        ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szFactoryName);
}
