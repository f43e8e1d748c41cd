#include "formats/zqcfgwalk.h"

#include <string>

namespace zqcfgwalk {
namespace {

constexpr zqwchar kSlash = '/';

}  // namespace

void Prepare(zqwchar* buffer, size_t cch) {
    if (!buffer || !cch) return;
    for (size_t i = 0; i + 1 < cch; ++i) buffer[i] = kFill;
    buffer[cch - 1] = 0;
}

bool IsEmptyList(const zqwchar* list) {
    // "]@[" has no letters: comparing it without regard to case is comparing it.
    return !list || !list[0] || (list[0] == ']' && list[1] == '@' && list[2] == '[' && list[3] == 0);
}

bool ListBelow(const Source& source, const zqwchar* name, zqwchar* list) {
    Prepare(list, kListChars);
    if (source.EnumFeatures(name, list) != 1) return false;
    list[kListChars - 1] = 0;
    return !IsEmptyList(list);
}

bool NextName(const Source& source, zqwchar* name, size_t cchName, zqwchar* list) {
    if (!cchName || cchName > kMaxNameChars) return false;
    Prepare(name, cchName);
    if (source.EnumListToken(name, list) != 1) return false;
    name[cchName - 1] = 0;
    list[kListChars - 1] = 0;
    return true;
}

int WalkThreeLevels(const Source& source, const zqwchar* rootContext, zqwchar* rootList, size_t cchName,
                    const Visit& visit) {
    if (!rootContext || !rootList || !cchName || cchName > kMaxNameChars) return 0;
    const std::basic_string<zqwchar> root(rootContext);
    const bool slash = !root.empty() && root.back() == kSlash;
    zqwchar first[kMaxNameChars], second[kMaxNameChars], third[kMaxNameChars];
    zqwchar secondList[kListChars], thirdList[kListChars];
    int firstCount = 0;
    for (int i = 0; i < kMaxListNames && NextName(source, first, cchName, rootList); ++i) {
        if (!first[0]) continue;
        ++firstCount;
        visit(1, first);
        if (!ListBelow(source, first, secondList)) continue;
        source.SetContextRelative(first);
        for (int j = 0; j < kMaxListNames && NextName(source, second, cchName, secondList); ++j) {
            if (!second[0]) continue;
            visit(2, second);
            if (!ListBelow(source, second, thirdList)) continue;
            source.SetContextRelative(second);
            for (int k = 0; k < kMaxListNames && NextName(source, third, cchName, thirdList); ++k)
                if (third[0]) visit(3, third);
            // Back to the first-level name: the manager's context moved down one more level.
            const std::basic_string<zqwchar> back = slash ? root + first : root + kSlash + first;
            source.SetContext(back.c_str());
        }
        source.SetContext(rootContext);
    }
    return firstCount;
}

}  // namespace zqcfgwalk
