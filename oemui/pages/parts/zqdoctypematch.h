// A document type's row against the settings in force: the one comparison by which the installation
// names the settings it leaves and each Printing Shortcuts page keeps the type it opens on or turns
// custom. A type holds while its paper size, print quality, media type, orientation and two-sided
// printing are the settings'; its other rows do not name it.
#pragma once

#include "pages/zqpages.h"

namespace zqdoctype {

struct Row {
    PCWSTR pszKeyword;
    PCWSTR pszOption;      // the option the row chooses
    PCWSTR pszOptionName;  // its name as the row shows it
};

// The row's choice is not what the settings hold.
bool Differs(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row);
// At a reopening the stored choice of the row no longer holds: its paper is not the form in force,
// or its orientation not the settings'. Other rows keep the choice whatever the settings hold.
bool ChoiceLost(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row);

}  // namespace zqdoctype
