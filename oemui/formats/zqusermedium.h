// One of the user's own media as the maker's media-adding tool records it under the user's media
// list: four string values ("Name", "ICCProfile", "Category", "Quality") read at most 256 bytes
// each into 256-character fields. Standard C++ only: the values are whatever the tool, or anyone
// else with the user's rights, wrote there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

inline constexpr size_t kZQUserMediumChars = 256;
// Bytes one value is read with.
inline constexpr size_t kZQUserMediumValueBytes = 256;
// The string type of the store.
inline constexpr uint32_t kZQStoredString = 1;

// One value as the store handed it over; absent when it could not be read.
struct ZQStoredValue {
    bool bPresent = false;
    uint32_t dwType = 0;
    const uint8_t* pData = nullptr;
    size_t cbData = 0;
};

struct ZQUserMedium {
    zqwchar szName[kZQUserMediumChars];
    zqwchar szProfile[kZQUserMediumChars];
    zqwchar szCategory[kZQUserMediumChars];
    zqwchar szQuality[kZQUserMediumChars];
    uint32_t dwCategory;
    uint32_t dwQuality;
};

// A string value into a field: a value of another type, of an odd size or beyond the bytes a value
// is read with counts as missing and leaves the field as it was (false). The text always ends.
bool ZQReadMediumText(const ZQStoredValue& value, zqwchar (&szField)[kZQUserMediumChars]);
// The codes of the tool's category and quality texts (exact); -1 for a text it does not write.
int ZQMediumCategoryCode(const zqwchar* pszText);
int ZQMediumQualityCode(const zqwchar* pszText);
// The name of a medium: a one-character name gets a blank, so that it never looks like the
// driver's placeholder media. False when the name is missing.
bool ZQReadMediumName(const ZQStoredValue& name, ZQUserMedium& medium);
// The profile, category and quality; a missing value or an unknown text leaves its field and code.
void ZQReadMediumDetails(const ZQStoredValue& profile, const ZQStoredValue& category, const ZQStoredValue& quality,
                         ZQUserMedium& medium);
