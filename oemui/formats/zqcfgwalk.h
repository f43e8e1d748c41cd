// The configuration manager's lists of names, read the way the plug-in reads a configuration or a
// ticket: the names below a context, taken one at a time out of a list the manager fills, three
// levels deep. The manager writes into our buffers and is told their room only by the fill mark:
// every buffer is prepared before a call, and read back only up to its last character, which is
// forced to zero afterwards. Standard C++ only, so the walk can be fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "formats/zqwchar.h"

namespace zqcfgwalk {

// Every character but the last of a buffer the manager fills; the last is zero.
inline constexpr zqwchar kFill = 0x0101;
// Room of a list of names.
inline constexpr size_t kListChars = 1024;
// Largest room a name buffer may have.
inline constexpr size_t kMaxNameChars = 260;
// No list of a well-behaved manager holds more names; one that keeps handing out names is not
// followed further.
inline constexpr int kMaxListNames = 4096;

// The calls the walk makes; each answers the manager's own result (1 for success).
class Source {
public:
    // The names below an item of the current context (empty name: the context itself).
    virtual int32_t EnumFeatures(const zqwchar* name, zqwchar* list) const = 0;
    // Takes the next name out of the list, in place.
    virtual int32_t EnumListToken(zqwchar* name, zqwchar* list) const = 0;
    virtual int32_t SetContext(const zqwchar* path) const = 0;
    virtual int32_t SetContextRelative(const zqwchar* name) const = 0;

protected:
    ~Source() = default;
};

void Prepare(zqwchar* buffer, size_t cch);
// A list that names nothing: empty, or the manager's "]@[".
bool IsEmptyList(const zqwchar* list);
// The names below an item into list (kListChars); true when the manager gave a list that names
// something.
bool ListBelow(const Source& source, const zqwchar* name, zqwchar* list);
// The next name of a list into name (cchName characters, at most kMaxNameChars); false when the
// list is done.
bool NextName(const Source& source, zqwchar* name, size_t cchName, zqwchar* list);

// Walks the names of a root list three levels deep, visiting each name with its level (1 to 3)
// while the current context is that name's parent, and climbing back with the root context text
// ("Printing" or "Printing/") after each deeper walk. Names are read into cchName characters. An
// empty name is passed over: it would stand for the context itself. Answers the number of
// first-level names.
using Visit = std::function<void(int level, const zqwchar* name)>;
int WalkThreeLevels(const Source& source, const zqwchar* rootContext, zqwchar* rootList, size_t cchName,
                    const Visit& visit);

}  // namespace zqcfgwalk
