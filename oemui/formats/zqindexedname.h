// Value names of a store's pools: a prefix and an index in decimal ("PresetPool:3",
// "WatermarkPool:0", "ZQWATERMARKDATA2"). The one place such a name is made and its index read;
// the store's edit (settings/zqstoreedit.h) and the quick sets go through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/zqwchar.h"

namespace zqname {

// "<prefix><index>": a negative index is written as its magnitude behind a minus.
std::basic_string<zqwchar> IndexedName(const zqwchar* prefix, long long index);

// What the text behind a name's prefix gives, at most cchMax units read. `index`: the decimal
// number there, a sign allowed before it and anything after it (0 without digits, or past the
// largest int). `exact`: the text is digits alone up to its end, no more than the largest int (so
// what IndexedName writes of an index from 0 reads back exact).
struct IndexRead {
    long long index = 0;
    bool exact = false;
};
IndexRead ReadIndex(const zqwchar* text, size_t cchMax = SIZE_MAX);

// The index of a quick set's value name: the number after the first ":" of the first 255
// characters (0 without one), so a name of another form still gives one.
int IndexAfterColon(const zqwchar* name);

}  // namespace zqname
