// The plug-in's own option items, which the core driver shows in its own list after its items.
// CommonUIProp asks for them twice: the count pass plans the set, the fill pass builds exactly that
// set (never more items than the core driver made room for), all memory from its heap. Every item
// carries a USERDATA keyword, so the callbacks can name it.
#pragma once

#include "featurelogic/zquilogic.h"

class CZQXmlParserCommon;

enum ZQOemItemKind : DWORD {
    kOemItemHeading,      // "Layout Options"
    kOemItemOrientation,  // copy of the orientation (103)
    kOemItemPageOrder,    // copy of the page order (104)
    kOemItemDialog,       // push button that opens a dialog on a feature
    kOemItemRollText,     // roll name or custom width: a 256-character text
    kOemItemRollList,     // roll media type or width: the helper file's list
};

struct ZQOemItemEntry {
    ZQOemItemKind kind;
    BYTE bPubId;
    char szKeyword[32];     // USERDATA keyword; also the roll's value name ("Roll1Width")
    WCHAR szTarget[32];     // push items: the feature the dialog sets
    ZQOemDialogKind dialog; // push items
};

inline constexpr DWORD kMaxOemItems = 24;
struct ZQOemItemPlan {
    DWORD dwCount;
    ZQOemItemEntry items[kMaxOemItems];
};

// The items a sheet gets: the document sheet the layout copies and the push items whose dialog
// exists, the printer sheet of a large-format printer the items of its rolls.
void ZQPlanOemItems(CZQUILogic& logic, DWORD dwMode, ZQOemItemPlan* pPlan);

// Builds the planned items into pOEMOptItems from hOEMHeap, at most cOEMOptItems of them, and
// returns how many it built. The helper file (optional) gives the roll lists' options.
DWORD ZQBuildOemItems(CZQUILogic& logic, const ZQOemItemPlan& plan, const CZQXmlParserCommon* pParser,
                      POEMCUIPPARAM pParam);

// The USERDATA of a push item: the common sheet calls the button's own callback (the item's
// OPTPARAM pData) with nothing but the item, so the item leads back to the callback record that
// ZQBindOptItemCallback laid in pOEMUserData.
inline constexpr DWORD kPushItemMagic = 0x5A515042;  // 'ZQPB'
struct ZQPushItemData {
    USERDATA ud;
    DWORD dwMagic;
    PVOID pOwner;  // the callback record of the block the item was built for
};

// The plan entry of one of the plug-in's items (by its keyword), null for any other item.
const ZQOemItemEntry* ZQFindOemItemSpec(const ZQOemItemPlan& plan, const OPTITEM* pItem);

// The roll sources an "InstalledRolls" option names: its parts when it has "_", the option itself
// when it names one, else rolls 1 and 2. Value-name prefixes ("Roll1", "Sheet") of at most 15
// characters; returns their number.
int ZQRollSources(POEMCUIPPARAM pParam, PCWSTR pszOption, WCHAR (*paszSources)[16], int cMax);
// Hides the roll items of the sources the current "InstalledRolls" option leaves out and shows the
// others; TRUE when an item changed.
BOOL ZQShowInstalledRollItems(POEMCUIPPARAM pParam);
