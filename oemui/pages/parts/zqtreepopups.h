// The tree pop-ups behind the "More..." entry of the Paper/Quality page's short lists: the media-type
// and paper-size trees as modal dialogs, what the user chose in them, and the recent choices the
// short lists show first (kept in the private devmode, so they travel with the document). A page
// owns one object and opens the trees through it; the dialogs reach it through their opening and
// take the page's PageContext, never the page itself.
#pragma once

#include "common/zquibase.h"
#include "pages/zqpages.h"

struct ZQUIDevmode;

// The dialog procedures; they end with 1 (OK) or 2 (Cancel). Opened without their object (or
// without the rules of the context) they show an empty tree and close as Cancel.
INT_PTR CALLBACK MediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PaperSizePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQTreePopups {
public:
    static constexpr int kRecentSlots = 3;
    static constexpr int kMediaNameChars = 64;
    // Pairs (control id, help id) of the paper-size tree, ended by (0, 0).
    static constexpr int kPaperHelpPairs = 5;
    // Room for the pairs of the media-type tree, ended by (0, 0).
    static constexpr int kMediaHelpPairs = 2;

    // The tree of every media type (template 178, right-to-left 180). OK selects the chosen type in
    // the core driver's media-type item. `owner` is the opening page: its texts and its block.
    // 1 OK, 2 Cancel, -1 when the tree could not be shown.
    INT_PTR IRunMediaTypes(HWND hOwner, PageContext* pContext, CZQUIBase& owner, BOOL bRightToLeft);
    // The tree of every paper size: the large-format one (917, 918) or the one with its units
    // (910, 911). OK selects the chosen size in the core driver's form item.
    INT_PTR IRunPaperSizes(HWND hOwner, PageContext* pContext, CZQUIBase& owner, BOOL bLargeFormatTree,
                           BOOL bRightToLeft);
    // The name chosen in the last media-type tree when it named a type; null otherwise.
    PCWSTR PszChosenMedia() const { return m_bChoseMedia ? m_szChosenMedia : nullptr; }
    // 0 after OK, 1 after Cancel of the media-type tree (large-format printers only).
    int IMediaCancelled() const { return m_iMediaCancelled; }
    // The paper-size pop-up state of the large-format tree: 0 after OK, 1 after Cancel or after a
    // start that filled the empty recent list.
    int IPaperSizeState() const { return m_iPaperSizeState; }
    void VSetPaperSizeState(int iState) { m_iPaperSizeState = iState; }

    // The core driver's item of that public id selects its option of that display name (exact),
    // reported as it is; a conflict mark is lifted for the report only. FALSE when none matches.
    static BOOL BSelectByName(PageContext* pContext, BYTE bPubId, PCWSTR pszName);
    // The paper-size tree's choice: the form item's option of that display name.
    static BOOL BSelectPaperSizeByName(PageContext* pContext, PCWSTR pszName);
    // Slots of the recent lists in use, bounded by the devmode's three.
    static int IRecentMediaSlots(PageContext* pContext);
    static int IRecentPaperSlots(PageContext* pContext);
    // A recent media type's slot (64 characters); the first empty slot takes a name (false when
    // every slot is taken); slots from iFrom on move down by one and the last takes the name.
    static PWSTR PszRecentMedia(ZQUIDevmode& dm, int iSlot);
    static bool BPutRecentMedia(ZQUIDevmode& dm, int iSlots, PCWSTR pszName);
    static void VShiftRecentMedia(ZQUIDevmode& dm, int iFrom, int iSlots, PCWSTR pszName);
    // The recent forms after the form item's choice: positions the form lacks leave; a form the
    // short list shows moves to the front, another one pushes the others back.
    static void VUpdateRecentPapers(PageContext* pContext, POPTITEM pForm, HWND hList);
    // The paper-size short list's last entries: "More...", and "Custom" where custom sizes are offered.
    // Without its string "More..." is pszMoreEnglish, or no entry at all when that is null.
    static void VAddPaperListEnd(CZQCommon& texts, HWND hCombo, POEMCUIPPARAM pParam, PCWSTR pszMoreEnglish);
    // A tree's selected item's text (kMediaNameChars); empty without one.
    static void VSelectedTreeText(HWND hTree, PWSTR pszText);
    // A filled tree opens on the option in use of the public item (a paper or a medium): its entry
    // selected and in view; without one, the tree at its top.
    static void VShowCurrent(HWND hTree, POEMCUIPPARAM pParam, BYTE bPubId);
    // The combo box's entry of that exact text, else its first entry, is selected.
    static void VSelectExact(HWND hCombo, PCWSTR pszText);
    // The media-type tree's texts: OK, Cancel and the caption.
    static void VSetMediaPopupTexts(CZQUIBase& texts, HWND hDlg);
    // The paper-size tree's help pairs (room for kPaperHelpPairs).
    static void VGetPaperPopupHelpIds(DWORD* pdwTable, PageContext* pContext);
    // The media-type tree's help pairs (room for kMediaHelpPairs): the core driver's media-type
    // item's help; without it the pair holds 0.
    static void VGetMediaPopupHelpIds(DWORD* pdwTable, PageContext* pContext);

private:
    friend INT_PTR CALLBACK MediaTypePopupDlgProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK PaperSizePopupDlgProc(HWND, UINT, WPARAM, LPARAM);

    CZQUIBase* m_pOwner = nullptr;  // while a tree is open
    int m_iMediaCancelled = 0;
    int m_iPaperSizeState = 0;
    BOOL m_bChoseMedia = FALSE;
    WCHAR m_szChosenMedia[kMediaNameChars] = {};
};
