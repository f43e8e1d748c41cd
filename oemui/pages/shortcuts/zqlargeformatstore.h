// The large-format shortcuts page's store of printing shortcuts: the records users save under a name
// (one value each in the printer's data, or in a restricted user's own key), with the Save command's
// limit of 25 and its name checks, the question for a name, the per-feature value slots and
// the administrator's locks the page keeps beside the store. The page owns one and binds it at
// WM_INITDIALOG to the controls and fields it reads.
//
// Every routine that touches the store opens the printer by name for itself (to use it, for a
// restricted user) and closes it again; one that finds no context, printer or printer name sets last
// error 13 and does nothing more. Each write, and what it was decided on, is one edit of the
// printer's stores (settings/zqstoreedit.h); Save As and Delete join the edit of the shortcut's
// quick set. Records and their entries are zero-filled local-heap blocks.
#pragma once

#include "common/zqhandles.h"
#include "common/zquibase.h"
#include "featurelogic/zqnameasker.h"
#include "settings/zqstoreoutcome.h"
#include "pages/shortcuts/zqlargeformattypes.h"

class CZQStoreEdit;
struct PageContext;
struct ZQUIDevmode;

// What the store reads of its page; pointers stay the page's.
struct ShortcutStoreBinding {
    HWND hList = nullptr;  // the shortcut list
    HWND hSaveAs = nullptr;
    HWND hDelete = nullptr;
    BOOL bRestrictedUser = FALSE;
    PCWSTR pszCustomizedText = nullptr;  // the "Customized Settings" row
    // The page's keywords of the driver kind.
    PCWSTR pszKwPaperSize = nullptr;
    PCWSTR pszKwOrientation = nullptr;
    PCWSTR pszKwInputBin = nullptr;
    PCWSTR pszKwGrayScale = nullptr;
    int* panFeatureSlots = nullptr;  // kFeatureSlots values
    PDEVMODEW pPublicDM = nullptr;   // handed to OpenPrinterW
};

class CZQShortcutStore : public CZQUIBase {
public:
    static constexpr size_t kNameChars = 256;
    static constexpr int kFeatureSlots = 15;
    static constexpr int kNoSlotValue = 100;

    CZQShortcutStore() = default;
    ~CZQShortcutStore() override;
    CZQShortcutStore(const CZQShortcutStore&) = delete;
    CZQShortcutStore& operator=(const CZQShortcutStore&) = delete;

    void VBindPage(const ShortcutStoreBinding& binding) { m_page = binding; }

    // Save As: TRUE when the current settings are to be stored under m_szNewShortcutName (the limit
    // not reached, a name given or asked of pAsker, and the name check passed).
    BOOL BSaveShortcut(PageContext* pContext, HWND hOwner, ZQUIDevmode* pDevmodeCopy, BOOL bRtl, IZQNameAsker* pAsker);
    // The question for a shortcut's name: the placeholder is no name.
    ZQNameQuestion NameQuestion();
    // TRUE when the name may be stored; a listed name that may be replaced asks first and sets the
    // replace flag on Yes.
    BOOL BCheckShortcutName(PageContext* pContext, HWND hOwner);
    // The record stored: into the given edit, which its owner commits (*pbWritten: its value was
    // added), else alone, in an edit of its own.
    void VWriteShortcut(PageContext* pContext, const ShortcutRecord& record, CZQStoreEdit* pEdit = nullptr,
                        BOOL* pbWritten = nullptr);
    // Save As's store of the record under m_szNewShortcutName, after BSaveShortcut said yes: the
    // record and its quick set (made from pDevmode) in one edit: under the stores' lock the limit and
    // the name are checked again against what is stored now (a shortcut of the name another program
    // stored since is asked about first, the limit reached said, the lock let go). kDeclined: the user
    // declined or was told why; kBusy, kRefused: nothing stored, for the page to say.
    ZQStoreOutcome ESaveShortcut(PageContext* pContext, HWND hOwner, const ShortcutRecord& record,
                                 ZQUIDevmode* pDevmode);
    // Delete: the shortcut (a restricted user's own value only) and its quick set out of the stores in
    // one edit.
    ZQStoreOutcome EDeleteShortcut(PageContext* pContext, PCWSTR pszName);
    // The caption of the store's messages.
    void VCaption(PWSTR pszCaption /* kResStringChars */);
    // The stored image in a new zero-filled local block the caller frees; the size, also when the
    // block could not be allocated (then *ppBuffer is null).
    static DWORD DWSerializeShortcut(BYTE** ppBuffer, const ShortcutRecord& record);
    // The stored shortcut whose name equals the record's name (without regard to case) into the
    // record: the printer's data first, then a restricted user's own key. TRUE when one was read; a
    // value that runs past its end counts as none, and the record is left as it was.
    BOOL BReadShortcut(PageContext* pContext, ShortcutRecord* pRecord);
    static void VFreeShortcut(ShortcutRecord* pRecord);
    // A stored value's data into the record (freed first); FALSE, the record as it was, for a value
    // that is no shortcut.
    static BOOL BParseShortcut(const BYTE* pData, DWORD cbData, ShortcutRecord* pRecord);
    // Writes every stored shortcut of the list again (not for a restricted user).
    void VRewriteStoredShortcuts(PageContext* pContext, HWND hOwner);
    // The document type of the shortcut the buffer names, into the buffer (256 characters); the buffer
    // stays as it was when there is no such shortcut.
    void VGetShortcutText(PageContext* pContext, PWSTR pszText);
    void VSetFeatureSlot(PCWSTR pszKeyword, int iValue);
    void VGetFeatureSlot(PageContext* pContext, PCWSTR pszKeyword, int* piValue) const;
    static int IFindString(int iCount, const PCWSTR* ppszStrings, PCWSTR pszName);
    void VReadLocks(PageContext* pContext);

    // The name is a document type of the helper file (without regard to case).
    static BOOL BIsDocumentType(PageContext* pContext, PCWSTR pszName);
    // A restricted user's own key holds a shortcut of that name; how many it holds.
    BOOL BUserShortcutExists(PageContext* pContext, PCWSTR pszName);
    int ICountUserShortcuts(PageContext* pContext);
    void VDisableSaveDelete();

    // ---- state the page reads and sets
    WCHAR m_szNewShortcutName[kNameChars] = {};
    BOOL m_bReplaceExisting = FALSE;
    ShortcutRecord m_SavedShortcut = {};
    int m_nTotalShortcuts = 0;
    BOOL m_bMediaTypeLocked = FALSE;
    BOOL m_bDuplexLocked = FALSE;
    BOOL m_bGrayscaleLocked = FALSE;

private:
    // The printer the store is opened on: by name, for use only for a restricted user.
    HANDLE HOpenPrinter(PageContext* pContext) const;
    // Predefined shortcuts and the printer's stored ones (with a restricted user's own at Save), as
    // stored now.
    void VCountShortcuts(PageContext* pContext, HANDLE hPrinter, BOOL bWithUser);
    // *pbStored: a shortcut of the name (in any letter case) is stored now where this user's list
    // shows it; FALSE when the printer's store cannot be read.
    BOOL BNameStored(PageContext* pContext, HANDLE hPrinter, PCWSTR pszName, BOOL* pbStored);
    // A row of the list holds the name (in any letter case).
    BOOL BListed(PCWSTR pszName) const;
    void VSayFull(HWND hOwner);
    // A message under the store's caption; id 0 for a text the status module does not have.
    void VSay(HWND hOwner, int iId, PCWSTR pszEnglish);
    // The per-user key path of the store (MAX_PATH characters).
    static BOOL BUserPoolPath(HANDLE hPrinter, PWSTR pszPath);
    int IMessage(HWND hOwner, int iId, PCWSTR pszEnglish, PCWSTR pszCaption, UINT uType);
    BOOL BNameNeedsAsking();
    BOOL BIsReservedName(PageContext* pContext, PCWSTR pszName) const;

    // An edit of this store alone, on a printer handle of its own.
    CZQStoreEdit OwnEdit(PageContext* pContext) const;

    // The shortcut's part of the edit of its quick set: Save As's record, or Delete's removal.
    class CEditPart;

    ShortcutStoreBinding m_page;
};
