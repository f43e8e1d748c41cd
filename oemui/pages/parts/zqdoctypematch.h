// A document type's row against the settings in force: the one comparison by which the installation
// names the settings it leaves and each Printing Shortcuts page keeps the type it opens on or turns
// custom. A type holds while the driver's paper size, print quality, media type and orientation are
// its options and two-sided printing is the settings'; its other rows do not name it.
#pragma once

#include "pages/zqpages.h"

namespace zqdoctype {

struct Row {
    PCWSTR pszKeyword;
    PCWSTR pszOption;  // the option the row chooses
};

// The keywords by which a page's driver names its paper and orientation, and its portrait option.
struct Words {
    PCWSTR pszPaper;
    PCWSTR pszOrientation;
    PCWSTR pszPortrait;
};

// The row's choice is not what the settings hold; pszOrientation is the keyword of the orientation row.
bool Differs(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row, PCWSTR pszOrientation);
// At a reopening the stored choice of the row no longer holds: its paper is not the form in force,
// or its orientation not the settings'. Other rows keep the choice whatever the settings hold.
bool ChoiceLost(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row, const Words& words);

}  // namespace zqdoctype
