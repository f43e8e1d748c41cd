#include "formats/zqusermedium.h"

namespace {

bool Same(const zqwchar* a, const char16_t* b) {
    for (; *a && *a == static_cast<zqwchar>(*b); ++a, ++b) {
    }
    return *a == static_cast<zqwchar>(*b);
}

template <size_t N>
int CodeOf(const zqwchar* pszText, const char16_t* const (&names)[N], const int (&codes)[N]) {
    if (!pszText) return -1;
    for (size_t i = 0; i < N; ++i)
        if (Same(pszText, names[i])) return codes[i];
    return -1;
}

}  // namespace

bool ZQReadMediumText(const ZQStoredValue& value, zqwchar (&szField)[kZQUserMediumChars]) {
    if (!value.bPresent || value.dwType != kZQStoredString || (value.cbData % 2) != 0 ||
        value.cbData > kZQUserMediumValueBytes || (value.cbData && !value.pData))
        return false;
    const size_t units = value.cbData / 2;
    for (size_t i = 0; i < units; ++i)
        szField[i] = static_cast<zqwchar>(value.pData[2 * i] | value.pData[2 * i + 1] << 8);
    // 256 bytes are 128 characters: there is always room for the end.
    szField[units] = 0;
    return true;
}

int ZQMediumCategoryCode(const zqwchar* pszText) {
    static const char16_t* const kNames[] = {u"Photo",           u"Coated inkjet",    u"Photo rag",
                                             u"Watercolor",      u"Canvas",           u"Rigid Photo rag",
                                             u"Rigid watercolor", u"Rigid Canvas",    u"Brochure",
                                             u"Plain paper"};
    static const int kCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    return CodeOf(pszText, kNames, kCodes);
}

int ZQMediumQualityCode(const zqwchar* pszText) {
    static const char16_t* const kNames[] = {u"Normal", u"Best", u"MaxDPI"};
    static const int kCodes[] = {2, 1, 5};
    return CodeOf(pszText, kNames, kCodes);
}

bool ZQReadMediumName(const ZQStoredValue& name, ZQUserMedium& medium) {
    if (!ZQReadMediumText(name, medium.szName)) return false;
    if (medium.szName[0] && !medium.szName[1]) {
        medium.szName[1] = u' ';
        medium.szName[2] = 0;
    }
    return true;
}

void ZQReadMediumDetails(const ZQStoredValue& profile, const ZQStoredValue& category, const ZQStoredValue& quality,
                         ZQUserMedium& medium) {
    ZQReadMediumText(profile, medium.szProfile);
    if (ZQReadMediumText(category, medium.szCategory)) {
        const int code = ZQMediumCategoryCode(medium.szCategory);
        if (code >= 0) medium.dwCategory = static_cast<uint32_t>(code);
    }
    if (ZQReadMediumText(quality, medium.szQuality)) {
        const int code = ZQMediumQualityCode(medium.szQuality);
        if (code >= 0) medium.dwQuality = static_cast<uint32_t>(code);
    }
}
