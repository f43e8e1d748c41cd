// CZQDriverData: the settings store. The configuration manager's settings live as keyword=value
// texts (REG_SZ) in the printer's data, in a few fixed key trees, next to single values at the
// printer data's root; this object reads, writes, deletes and lists them, translates between the
// configuration manager's vocabulary and the driver's, moves devmode items between their text and
// the private devmode, and applies the administrator's locks to the core driver's items.
//
// It holds no state but the printer-language number, which its owner copies in before each use.
// Every printer-data call goes through the spooler layer; a call the spooler lacks fails the way
// the spooler answers it, and the routine reports that failure (last error = the spooler's answer).
#pragma once

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "platform/zqcfgmgrapi.h"

namespace zqsettings {

// Help index of an item that the administrator locked.
inline constexpr DWORD kLockedHelpIndex = 15147;

// Public ids of the plug-in's own copies of the orientation and page-order items.
inline constexpr BYTE kOwnOrientationPubId = 103;
inline constexpr BYTE kOwnPageOrderPubId = 104;

// Working size of item names, values and keywords.
inline constexpr size_t kItemChars = 256;

// How one lock record reads: a text, nothing (missing, empty or not a text), or no answer from
// the spooler, which never counts as unlocked.
enum class LockRecord { kNone, kText, kUnreadable };

}  // namespace zqsettings

// One value of a snapshot subkey: its name and text, each a zero-filled local-heap string of
// zqsettings::kItemChars characters, or null when the value could not be read as a text.
struct ZQSnapshotPair {
    PWSTR pszName;
    PWSTR pszValue;
};

// Hears of every item of a conversion run's snapshot that an applier tried: 0 applied, -1 not.
using AnnotateCallback = PFN_ZQAnnotate;

// The values of one printer-data key, in the spooler's order. An entry whose data is not a
// terminated REG_SZ text gives no text; an entry whose name is malformed gives no name.
class CZQPrinterDataList {
public:
    CZQPrinterDataList() = default;
    CZQPrinterDataList(const CZQPrinterDataList&) = delete;
    CZQPrinterDataList& operator=(const CZQPrinterDataList&) = delete;

    // Enumerates the key. TRUE also for an empty key; FALSE (with the spooler's answer as last
    // error) when it cannot be listed, which leaves the list empty.
    BOOL BRead(HANDLE hPrinter, PCWSTR pszKey);
    // The same, where a missing key is an empty one.
    BOOL BReadTree(HANDLE hPrinter, PCWSTR pszKey);
    DWORD Count() const { return m_count; }
    PCWSTR Name(DWORD i) const;
    PCWSTR Text(DWORD i) const;
    // A value's data as stored, whatever its type; null when the entry is malformed.
    const BYTE* Data(DWORD i, DWORD* pdwType, DWORD* pcbData) const;

private:
    const PRINTER_ENUM_VALUESW* Entry(DWORD i) const;
    CZQLocalPtr<BYTE> m_buffer;
    DWORD m_cbBuffer = 0;
    DWORD m_count = 0;
};

// Where a pass that applies stored settings reads the values that go with the one it applies: the
// configuration manager's trees in the printer's data, or the settings a conversion run keeps.
class IZQStoredSettings {
public:
    // One value of the devmode items or of the option items (kItemChars); FALSE when it is not there.
    virtual BOOL BReadDevModeItem(PCWSTR pszName, PWSTR pszValue) const = 0;
    virtual BOOL BReadOptItem(PCWSTR pszName, PWSTR pszValue) const = 0;

protected:
    ~IZQStoredSettings() = default;
};

// The configuration manager's trees of a printer ("DMCDriverData").
class CZQStoredTrees final : public IZQStoredSettings {
public:
    explicit CZQStoredTrees(HANDLE hPrinter) : m_hPrinter(hPrinter) {}
    BOOL BReadDevModeItem(PCWSTR pszName, PWSTR pszValue) const override;
    BOOL BReadOptItem(PCWSTR pszName, PWSTR pszValue) const override;

private:
    HANDLE m_hPrinter;
};

// The settings of a conversion run, under the run key the private devmode block names.
class CZQSnapshotSettings final : public IZQStoredSettings {
public:
    explicit CZQSnapshotSettings(const VOID* pPrivateDM) : m_pPrivateDM(pPrivateDM) {}
    BOOL BReadDevModeItem(PCWSTR pszName, PWSTR pszValue) const override;
    BOOL BReadOptItem(PCWSTR pszName, PWSTR pszValue) const override;

private:
    const VOID* m_pPrivateDM;
};

class CZQDriverData : public CZQCommon {
public:
    // ---- printer-language number (3 PostScript; 3 and 4 enable the PostScript toggles)
    DWORD DWLanguage() const { return m_dwLanguage; }
    void VSetLanguage(DWORD dwLanguage) { m_dwLanguage = dwLanguage; }

    // ---- printer data
    // A text value under a key (or at the root) in a new zero-filled buffer the caller frees.
    // FALSE and no buffer when the value is missing, is not a terminated REG_SZ text, or cannot
    // be read.
    static BOOL BGetPrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR* ppszText);
    static BOOL BGetPrinterData(HANDLE hPrinter, PCWSTR pszValue, PWSTR* ppszText);
    // A REG_DWORD root value of four bytes; anything else counts as missing.
    static BOOL BGetPrinterDataDword(HANDLE hPrinter, PCWSTR pszValue, DWORD* pdwValue);
    // A value under a key of exactly cbData bytes, whatever its type, into pData; FALSE when it is
    // missing, of another size, or cannot be read.
    static BOOL BGetPrinterDataBytes(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, BYTE* pData, DWORD cbData);
    // REG_SZ with its terminator under a key or at the root, and REG_DWORD at the root.
    static BOOL BSetPrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PCWSTR pszText);
    static BOOL BSetPrinterData(HANDLE hPrinter, PCWSTR pszValue, PCWSTR pszText);
    static BOOL BSetPrinterDataDword(HANDLE hPrinter, PCWSTR pszValue, DWORD dwValue);
    static BOOL BDeletePrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue);
    static BOOL BDeletePrinterData(HANDLE hPrinter, PCWSTR pszValue);
    // A key with its values and subkeys.
    static BOOL BDeletePrinterKey(HANDLE hPrinter, PCWSTR pszKey);
    // How many values a key holds (0 for a missing key); -1 when it cannot be listed (last error =
    // the spooler's answer).
    static int ICountValues(HANDLE hPrinter, PCWSTR pszKey);

    // ---- which items live where
    // Devmode items: their value lives in the private devmode rather than in an option item.
    static BOOL BIsDevModeItem(PCWSTR pszKeyword);
    // "Printing" items that the import files under "DevModeItems" (all others under "OptItems").
    static BOOL BRoutesToDevModeItems(PCWSTR pszKeyword);
    // The tree an item of a root ("Printing" or "Physical") is filed under: the configuration's
    // trees of the printer's data, or the same trees of a conversion run's snapshot; null for any
    // other root.
    static PCWSTR PszItemTree(PCWSTR pszRoot, PCWSTR pszName, BOOL bSnapshot);
    // The lock tree of a root ("DMCLockData\Printing" or "...\Physical"); null for any other root.
    static PCWSTR PszLockTree(PCWSTR pszRoot);
    // Items an export works out by a routine of their own (sources, media, target paper, the
    // PostScript toggles, print quality).
    static BOOL BIsSpecialExportItem(PCWSTR pszKeyword);
    // The core driver's item without public id that holds a PostScript toggle ("MirrorPrint",
    // "LanguageLevel", "NegativePrint"); ZQOPT_NOT_FOUND for any other name or a missing item.
    static DWORD DWFindPostScriptToggleItem(POEMCUIPPARAM pParam, PCWSTR pszName, POPTITEM* ppItem);
    // Its occurrence among the items without public id; -1 for any other name.
    static int IPostScriptToggleOccurrence(PCWSTR pszName);

    // ---- the configuration manager's name of the printer
    // The queue name the configuration manager is opened with, in a new zero-filled buffer of the
    // printer name's length + 1 that the caller frees: the queue of "\\server\queue", the empty
    // text for a local printer. FALSE when the buffer cannot be allocated.
    static BOOL BGetConfigPrinterName(PCWSTR pszPrinterName, PWSTR* ppszName);
    // Cuts the name at its first comma; TRUE when it starts with three backslashes, and then
    // keeps the text from the third on.
    static BOOL BStripServerName(PWSTR pszName);

    // ---- devmode items
    // Stores one item's text in the private devmode: 0 when the keyword is known (a text that
    // matches nothing leaves the field as it was), -1 when it is not.
    static int ISetDevModeItem(PVOID pPrivateDM, PCWSTR pszKeyword, PCWSTR pszValue);
    // The item's text from the private and public devmode into pszValue (256 characters); an
    // item the devmodes do not give, or whose devmode the block lacks, leaves the text as it was.
    // TRUE whenever a parameter block (and a keyword and a text) was given.
    static BOOL BGetDevModeItemValue(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PWSTR pszValue);

    // ---- the snapshot of a conversion run: the run's settings under the current user's run key
    // that the private devmode's tag record names (the process id's key without one; readers are
    // given the private devmode block or null).
    // The number of values of a snapshot subkey (pPairs null), or the first *pdwCount of them into
    // pPairs (*pdwCount then says how many slots were filled); free them with VFreeSnapshotPairs.
    // A missing subkey lists nothing. FALSE when the subkey could not be read.
    static BOOL BReadSnapshotList(PCWSTR pszSubKey, ZQSnapshotPair* pPairs, DWORD* pdwCount, const VOID* pPrivateDM);
    static void VFreeSnapshotPairs(ZQSnapshotPair* pPairs, DWORD dwCount);
    // A text value of a snapshot subkey in a new local-heap string (kItemChars) the caller frees.
    static BOOL BReadSnapshotValue(PCWSTR pszSubKey, PCWSTR pszValue, PWSTR* ppszText, const VOID* pPrivateDM);
    // The snapshot's devmode items into the private devmode, each reported to the callback (when
    // given); then the devmode-related option items "ThriftMode", "NUpChoice", "Orientation",
    // "PageOrder", "ColorMode" and "PrintColorAsGray", of which the last two are reported.
    static void VApplySnapshotDevModeItems(POEMCUIPPARAM pParam, AnnotateCallback pfnAnnotate);
    // The snapshot's option items into the core driver's items as the stored ones are applied
    // (the run's own devmode and option items deciding the first page and the back cover), each
    // reported with its own result: 0 when it was applied, also by a rule of its own, -1 when
    // nothing was. Then the private devmode's layout settles the orientation and duplex items.
    void VApplySnapshotOptItems(POEMCUIPPARAM pParam, AnnotateCallback pfnAnnotate);
    // The snapshot's installable options, selected in printer-properties mode.
    void VApplySnapshotDeviceItems(POEMCUIPPARAM pParam);
    // The snapshot's "PrintQuality" into pszQuality (kItemChars); TRUE when there is one.
    static BOOL BApplySnapshotPrintQuality(POEMCUIPPARAM pParam, PWSTR pszQuality);
    // Removes the snapshot below a run key (null: the process id's run key): the values and keys of
    // the three subkeys, then the two keys above them. Nothing there is nothing to do.
    static void VDeleteSnapshot(PCWSTR pszRunKey);
    static void VDeleteSnapshotValues(PCWSTR pszSubKey, PCWSTR pszRunKey);
    static void VDeleteSnapshotKey(PCWSTR pszSubKey, PCWSTR pszRunKey);

    // ---- locks
    // One lock record read alone; its text (kItemChars) for kText, else empty. Last error = the
    // spooler's answer for kUnreadable.
    static zqsettings::LockRecord EReadLockRecord(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszName, PWSTR pszText);
    // Disables the core driver's item of every setting locked under "DMCLockData\Printing" and
    // gives it the locked help index. Locks fail closed: when the key cannot be listed, every
    // setting of the sheet is looked up by its own record, and one whose record cannot be read is
    // locked too; FALSE then, with the spooler's answer as last error.
    static BOOL VApplyLockData(POEMCUIPPARAM pParam);

    // ---- translations (out texts hold 256 characters)
    // Configuration value -> driver keyword of the item's value table, and back.
    static BOOL BMapConfigValue(PCWSTR pszItem, PCWSTR pszConfigValue, PWSTR pszKeyword);
    static BOOL BMapDriverValueBack(PCWSTR pszItem, PCWSTR pszKeyword, PWSTR pszConfigValue);
    // Configuration name -> the driver's feature keyword (the first name-table row whose item the
    // core driver has, else the name) and its public id; TRUE for a public item.
    static BOOL BMapConfigName(POEMCUIPPARAM pParam, PCWSTR pszName, PWSTR pszKeyword, BYTE* pbPubId);
    // Installable option value -> driver option of the item's device table (pszOption keeps its
    // text when nothing matches), and back.
    static BOOL BMapDeviceValue(PCWSTR pszItem, PCWSTR pszConfigValue, PWSTR pszOption);
    static BOOL BMapDeviceOptionBack(PCWSTR pszItem, PCWSTR pszOption, PWSTR pszConfigValue);
    // From row iStart on: the first accessory row whose driver option is pszText replaces the
    // text by its configuration value and gives its row.
    static BOOL BMapAccessoryBack(PWSTR pszText, int iStart, int* piRow);
    static BOOL BMapPhysicalName(PCWSTR pszName, PWSTR pszKeyword);

    // ---- applying the stored settings (the block's printer, items and private devmode; without a
    // printer handle or the core driver's user-interface object a pass changes nothing)
    // The "DevModeItems" tree, then the option items that live in the devmode, into the private devmode.
    // FALSE when a tree could not be listed (last error = the spooler's answer).
    BOOL VApplyDevModeItems(POEMCUIPPARAM pParam);
    // The "OptItems" tree into the core driver's items: a value that holds already is deleted, one
    // that matches no option stays; then the private devmode's layout settles the orientation and
    // duplex items. FALSE when the tree could not be listed or the spooler refused a deletion (last
    // error = its answer); the pass goes on all the same.
    BOOL VApplyOptItems(POEMCUIPPARAM pParam);
    // The installable options of "DMCDriverData\Physical", selected in printer-properties mode;
    // FALSE when the tree could not be listed.
    BOOL VApplyPhysicalItems(POEMCUIPPARAM pParam);
    // "Memory": the option whose memory range holds the size; any other item: the option itself.
    // TRUE when an option was selected.
    BOOL BApplyInstalledMemory(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PCWSTR pszValue);
    // Items with a rule of their own; TRUE when the option must still be selected the ordinary way,
    // FALSE when it was handled here (or is not for this printer language, or without a block).
    // *pbApplied (when given) tells whether this routine applied the item itself.
    BOOL BApplySpecialItem(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PCWSTR pszValue, BOOL* pbApplied = nullptr);
    // "MirrorPrint", "NegativePrint", "LanguageLevel" of the PostScript driver; TRUE when set.
    BOOL VApplyPostScriptToggle(POEMCUIPPARAM pParam, PCWSTR pszName, PCWSTR pszValue);
    // One public item (copies, source, form, media, pages per sheet, page order); the status is the
    // last access-layer call's, -1 when none was made.
    void VApplyPublicItem(POEMCUIPPARAM pParam, BYTE bPubId, PCWSTR pszValue, const IZQStoredSettings& stored,
                          DWORD* pdwStatus);
    // Option keyword -> the printer's device-capabilities number of that source, media type, paper
    // (0 when none).
    static BOOL BInputBinToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword, DWORD* pdwNumber);
    static BOOL BMediaTypeToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword, DWORD* pdwNumber);
    static int IPaperSizeToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword);
    // Whether the back of a two-sided sheet is turned over (pages per sheet code, orientation, duplex).
    static DWORD BGetDuplexFlip(DWORD dwNup, DWORD dwOrientation, DWORD dwDuplex);
    // The stored "PrintQuality" (kItemChars); TRUE when found.
    static BOOL BGetImportedPrintQuality(POEMCUIPPARAM pParam, PWSTR pszValue);
    // Booklet printing's own layout: full scale, fitted, two pages per sheet, short-edge duplex.
    static void VApplyBookletLayout(PVOID pPrivateDM);
    // After applied option items: the private devmode's booklet, target paper, orientation and
    // duplex settle the core driver's items, the plug-in's orientation copy and the duplex flip.
    static void VApplyLayoutItems(POEMCUIPPARAM pParam);

private:
    // One installable option: its driver keyword and option, then selected.
    void VApplyPhysicalItem(POEMCUIPPARAM pParam, PCWSTR pszName, PCWSTR pszValue);

    DWORD m_dwLanguage = 0;
};
