// The warning module zqwarnmod.dll: the richer warning dialog of the pop-up macros, shown from the
// pop-up record handed over whole. Shared by the plug-in and the stand-in so both sides agree on it.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr const wchar_t* kZQWarnModFile = L"ZQWARNMOD.DLL";

#pragma pack(push, 1)
// Pop-up record, handed over by value (2,612 bytes, little-endian).
struct ZQPopupRecord {
    DWORD dwPopup;         // 0: 1 while a pop-up is being read and shown
    DWORD dwTitleId;       // 4: string id of the title
    DWORD dwIcon;          // 8: MB_ICONWARNING or MB_ICONINFORMATION
    DWORD dwKind;          // 12: 0 message box, 1 modal dialog, 2 modeless dialog
    DWORD dwButtons;       // 16: MB_OK, MB_OKCANCEL or MB_YESNO
    WCHAR szText[1024];    // 20: message, terminated
    DWORD dwHelpId;        // 2068
    DWORD dwCheckBox;      // 2072: 1 when the dialog offers a check box
    DWORD dwDialogId;      // 2076
    BYTE abReserved[12];   // 2080: zero
    DWORD dwButton1Id;     // 2092: string id of the first button
    DWORD dwButton2Id;     // 2096: string id of the second button
    WCHAR szCoreModPath[256];  // 2100: full path of the status module
};
#pragma pack(pop)

static_assert(sizeof(ZQPopupRecord) == 2612, "pop-up record size");
static_assert(offsetof(ZQPopupRecord, szText) == 20, "pop-up record text");
static_assert(offsetof(ZQPopupRecord, dwHelpId) == 2068, "pop-up record help id");
static_assert(offsetof(ZQPopupRecord, dwButton1Id) == 2092, "pop-up record buttons");
static_assert(offsetof(ZQPopupRecord, szCoreModPath) == 2100, "pop-up record path");

enum : DWORD {
    ZQPOPUP_MESSAGE_BOX = 0,
    ZQPOPUP_MODAL_DIALOG = 1,
    ZQPOPUP_MODELESS_DIALOG = 2,
};

// Export "IShowWarningDialog" of the warning module.
typedef DWORD(WINAPI* PFN_IShowWarningDialog)(ZQPopupRecord record);
