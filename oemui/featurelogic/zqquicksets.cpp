#include "featurelogic/zqquicksets.h"

#include "common/zqstrings.h"
#include "formats/zquidevmode.h"

static_assert(sizeof(ZQUIDevmode::szQuickSetName) / sizeof(zqwchar) == CZQQuickSets::kNameChars,
              "quick-set name of the private devmode");

void CZQQuickSets::VStoreNameInDevmode(ZQUIDevmode* pDevmode) const {
    if (pDevmode && m_bSelected) ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szCurrentName);
}
