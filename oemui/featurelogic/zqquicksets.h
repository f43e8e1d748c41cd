// CZQQuickSets: the quick-set manager of the plug-in object, as far as the devmode's quick-set name
// goes: the name of the quick set in use and whether its settings are in force. The stored quick
// sets and their pages join it later.
#pragma once

#include <windows.h>

struct ZQUIDevmode;

class CZQQuickSets {
public:
    static constexpr size_t kNameChars = 82;

    // With the quick set's settings in force, its name becomes the devmode's quick-set name.
    void VStoreNameInDevmode(ZQUIDevmode* pDevmode) const;

    WCHAR m_szCurrentName[kNameChars] = {};
    BOOL m_bSelected = FALSE;
};
