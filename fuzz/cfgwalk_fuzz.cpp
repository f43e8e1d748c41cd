// A ticket or configuration as the plug-in reads it: the configuration manager answers from the
// input (results, lists and names of any length, with or without their terminator, never past the
// room the buffer's fill tells it). The walk stays inside its buffers, hands out only terminated
// non-empty names of at most three levels, and ends once the manager stops answering.
#include <cstdint>
#include <cstring>

#include "formats/zqcfgwalk.h"

namespace {

class Script {
public:
    Script(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}
    bool Done() const { return m_p >= m_end; }
    uint8_t Byte() { return Done() ? 0 : *m_p++; }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
};

// The room a buffer the walk prepared offers: its first zero ends the fill.
size_t Room(const zqwchar* buffer) {
    size_t room = 0;
    while (buffer[room] != 0) {
        if (buffer[room] != zqcfgwalk::kFill) __builtin_trap();  // not prepared
        ++room;
    }
    return room + 1;
}

// Up to room characters of the script's choosing; the last one written may not be a zero.
void Write(Script& s, zqwchar* buffer, size_t room) {
    size_t n = s.Byte();
    if (n > room) n = room;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = s.Byte();
        // Now and then a zero or a piece of the empty list's "]@[".
        static const zqwchar kSpecial[] = {0, ']', '@', '['};
        buffer[i] = c < 4 ? kSpecial[c] : static_cast<zqwchar>('A' + c % 26);
    }
    if (n < room && (s.Byte() & 1)) buffer[n] = 0;
}

class ScriptedManager final : public zqcfgwalk::Source {
public:
    explicit ScriptedManager(Script& s) : m_s(s) {}
    int32_t EnumFeatures(const zqwchar* name, zqwchar* list) const override {
        Check(name);
        if (m_s.Done()) return 0;
        Write(m_s, list, Room(list));
        return m_s.Byte() % 3;
    }
    int32_t EnumListToken(zqwchar* name, zqwchar* list) const override {
        Check(list);
        if (m_s.Done()) return 0;
        Write(m_s, name, Room(name));
        // The list may shrink, or not.
        if (m_s.Byte() & 1) list[0] = 0;
        return m_s.Byte() % 3;
    }
    int32_t SetContext(const zqwchar* path) const override {
        Check(path);
        return 1;
    }
    int32_t SetContextRelative(const zqwchar* name) const override {
        Check(name);
        return 1;
    }

private:
    // Every text the walk hands over is terminated.
    static void Check(const zqwchar* text) {
        size_t n = 0;
        while (text[n]) ++n;
    }
    Script& m_s;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Script script(data, size);
    const size_t rooms[] = {1, 8, 256, zqcfgwalk::kMaxNameChars};
    const size_t cchName = rooms[script.Byte() % 4];
    const zqwchar slash[] = {'P', 'r', 'i', 'n', 't', 'i', 'n', 'g', '/', 0};
    const zqwchar* root = (script.Byte() & 1) ? slash : slash + 8;
    ScriptedManager manager(script);
    zqwchar list[zqcfgwalk::kListChars];
    const zqwchar empty[] = {0};
    if (!zqcfgwalk::ListBelow(manager, empty, list)) return 0;
    if (list[zqcfgwalk::kListChars - 1] != 0) __builtin_trap();
    zqcfgwalk::WalkThreeLevels(manager, root, list, cchName, [&](int level, const zqwchar* name) {
        if (level < 1 || level > 3 || !name[0]) __builtin_trap();
        size_t n = 0;
        while (name[n]) ++n;
        if (n >= cchName) __builtin_trap();
    });
    return 0;
}
