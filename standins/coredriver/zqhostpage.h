// The core driver stand-in's own property page: its option items (and the plug-in's) in a list,
// with one control below it to change the selected item. Wine's common property sheet does not
// show the core driver's option-item pages, so the stand-in shows its items here.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>

class CZQHostSession;

// Control ids, for tests that drive the page by window messages.
enum : int {
    kZQIdTitle = 1000,
    kZQIdList = 1001,   // list view: one row per visible item, the item index as lParam
    kZQIdLabel = 1002,
    kZQIdCombo = 1003,  // options of a list item; item data = option index
    kZQIdEdit = 1004,   // number or text
    kZQIdUpDown = 1005,
    kZQIdCheck = 1006,  // the item's extended check box
    kZQIdPush = 1007,   // push items and extended push buttons
    kZQIdStatus = 1008, // the plug-in's binding
    kZQIdFonts = 1009,  // the font installer of the device settings
};

class CZQHostPage {
public:
    explicit CZQHostPage(CZQHostSession* session) : m_session(session) {}
    static std::vector<WORD> BuildTemplate();
    static INT_PTR CALLBACK DlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void VInit(HWND hDlg);
    void VFillList();
    void VShowEditor();
    void VChanged(DWORD index, LONG oldSel, WORD reason);
    void VCommitEdit();
    BOOL OnNotify(NMHDR* hdr, LRESULT& result);
    void OnCommand(WORD id, WORD code);
    int SelectedItem() const;
    HWND Ctl(int id) const { return GetDlgItem(m_hDlg, id); }

    CZQHostSession* m_session;
    HWND m_hDlg = nullptr;
    bool m_bFilling = false;
    bool m_bEditDirty = false;
    int m_editItem = -1;
};
