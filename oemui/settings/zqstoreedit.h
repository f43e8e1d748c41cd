// One edit of a printer's stores of named settings (Task Presets, printing shortcuts, the watermark
// pool): under the stores' lock (zqstorelock.h), what is stored now is read (in the printer's data,
// or for a restricted user in his own key), the names and free indexes a change needs are found in
// it, and the changes are committed together: every one lands, or each value keeps what it had
// (common/zqprinterdata.h). The edit answers one outcome, which a page turns into its message.
//
//     CZQStoreEdit edit(hPrinter, pszPrinterName, bRestricted);
//     if (edit.BHeld() && edit.BReadNow(key, &values)) { edit.VWrite(...); edit.VRemove(...); }
//     const ZQStoreOutcome outcome = edit.ECommit();
//
// A store's part may join another store's edit (IZQStoreEditPart), so that a printing shortcut and
// its Task Preset land, or go, together.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <memory>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "settings/zqstorelock.h"
#include "settings/zqstoreoutcome.h"

namespace zqspool {
class CZQStoredNow;
}
struct ZQValueChange;

// One value of a store as stored now.
struct ZQStoreValue {
    std::wstring name;
    DWORD dwType = REG_NONE;
    std::vector<BYTE> data;
};

// The values of a key of the current user (its path below HKEY_CURRENT_USER) in the registry's
// order; a missing key holds none. FALSE (with the registry's answer as last error) when it cannot
// be read.
BOOL ZQReadUserValues(PCWSTR pszPath, std::vector<ZQStoreValue>* pValues);
// The values a printer-data key listed, in the spooler's order.
class CZQPrinterDataList;
void ZQValuesOfList(const CZQPrinterDataList& list, std::vector<ZQStoreValue>* pValues);

class CZQStoreEdit;

// A store's part of an edit another store makes: its changes added to the same edit.
class IZQStoreEditPart {
public:
    enum class Step {
        kReady,   // the part's changes are in the edit
        kAsk,     // nothing added: BAnswer asks or says why, with the lock let go
        kFailed,  // the part cannot be stored: nothing of the edit is
    };
    virtual Step EAdd(CZQStoreEdit& edit) = 0;
    // What kAsk stood for, asked of or said to the user: TRUE when the edit is to be made again.
    virtual BOOL BAnswer(HWND hOwner) = 0;

protected:
    ~IZQStoreEditPart() = default;
};

class CZQStoreEdit {
public:
    // hPrinter: the printer whose stores are edited (its lock, its data, the restricted user's GUID);
    // bPerUser: the stores lie in the restricted user's own key below HKEY_CURRENT_USER.
    CZQStoreEdit(HANDLE hPrinter, PCWSTR pszPrinterName, BOOL bPerUser);
    // The same on a printer handle of its own, closed with the edit.
    CZQStoreEdit(CZQPrinterHandle printer, BOOL bPerUser);
    ~CZQStoreEdit();
    CZQStoreEdit(const CZQStoreEdit&) = delete;
    CZQStoreEdit& operator=(const CZQStoreEdit&) = delete;

    // The lock is held: without it nothing is read and the commit answers kBusy.
    bool BHeld() const { return m_lock.Held(); }
    BOOL BPerUser() const { return m_bPerUser; }
    HANDLE HPrinter() const { return m_hPrinter; }

    // The store's key (a printer-data key) where this edit keeps it: the key itself, or for a
    // restricted user the path of his own below HKEY_CURRENT_USER; empty when his GUID is missing.
    std::wstring KeyPath(PCWSTR pszKey) const;
    // Every value under the key as stored now, in the spooler's (the registry's) order; a missing
    // key holds none. FALSE when it cannot be read (or the lock is not held).
    BOOL BReadNow(PCWSTR pszKey, std::vector<ZQStoreValue>* pValues) const;
    // One value as stored now: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, or why it could not be read.
    DWORD DwReadNow(PCWSTR pszKey, PCWSTR pszName, ZQStoreValue* pValue) const;

    // ---- names and indexes
    // The value of that name (stored names do not heed case); null when there is none.
    static const ZQStoreValue* PFind(const std::vector<ZQStoreValue>& values, PCWSTR pszName);
    // The number of a value name "<prefix><decimal>" as IndexedName makes it (prefix in any letter
    // case); -1 for another name.
    static long long LLIndexOf(PCWSTR pszName, PCWSTR pszPrefix);
    // One past the largest such number stored (0 when none).
    static long long LLPastIndexes(const std::vector<ZQStoreValue>& values, PCWSTR pszPrefix);
    // The first number from iFrom whose value name is neither stored under the key nor written by
    // this edit; -1 when none is left below the largest int.
    int IFreeIndex(const std::vector<ZQStoreValue>& values, PCWSTR pszKey, PCWSTR pszPrefix, int iFrom = 0) const;
    // This edit writes the value.
    bool BWrites(PCWSTR pszKey, PCWSTR pszName) const;

    // ---- changes, kept (with copies of their data) until the commit; a write takes the place of an
    // earlier removal of the same value
    void VWrite(PCWSTR pszKey, PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData);
    void VRemove(PCWSTR pszKey, PCWSTR pszName);
    void VDropChanges() { m_changes.clear(); }
    bool BHasChanges() const { return !m_changes.empty(); }
    // Every change together: kStored, kBusy without the lock, kRefused when one was refused, which
    // leaves every value as it was. The changes are gone afterwards.
    ZQStoreOutcome ECommit();
    // Why the last read or commit of the edit failed (ERROR_SUCCESS after a commit that stored).
    DWORD DwError() const { return m_dwError; }

    // A value name "<prefix><index>" (formats/zqindexedname.h).
    static std::wstring IndexedName(PCWSTR pszPrefix, long long llIndex);

private:
    // A commit that makes values and removes others on a spooler that refuses removals; m_dwError
    // its answer.
    bool BRemovalsRefused(const std::vector<ZQValueChange>& group);

    struct Change {
        std::wstring key, name;
        DWORD dwType = REG_NONE;
        std::vector<BYTE> data;
        bool bDelete = false;
    };

    CZQPrinterHandle m_owned;
    HANDLE m_hPrinter;
    BOOL m_bPerUser;
    CZQStoreLock m_lock;
    // Reads on this thread ask the spooler while the edit lives.
    std::unique_ptr<zqspool::CZQStoredNow> m_now;
    WCHAR m_szGuid[CZQCommon::kGuidTextChars] = {};
    std::vector<Change> m_changes;
    mutable DWORD m_dwError = ERROR_SUCCESS;
};
