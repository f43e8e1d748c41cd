#include "zqhostdm.h"

#include <cstring>

namespace zqhostdm {

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// A stored keyword (printable, no '=') or value (may be empty and hold '=').
bool IsStoredText(const std::string& s, bool isValue) {
    if (s.size() > 255) return false;
    if (s.empty()) return isValue;
    for (unsigned char c : s)
        if (c < ' ' || c == 0x7F || (c == '=' && !isValue)) return false;
    return true;
}

}  // namespace

ParsedPrivate ParsePrivate(const uint8_t* extra, size_t extraSize) {
    ParsedPrivate out;
    if (!extra || extraSize < kPrivateSize) return out;
    if (ReadU32(extra) != kSignature || ReadU32(extra + 4) != kVersion || ReadU32(extra + 8) != kPrivateSize)
        return out;
    out.valid = true;
    const uint32_t cbOem = ReadU32(extra + 12);
    if (cbOem > 0 && cbOem <= kMaxOemSize && cbOem <= extraSize - kPrivateSize) {
        out.cbOem = cbOem;
        out.oemOffset = kPrivateSize;
    }
    // Entries up to the first empty one or the end of the area; a last entry without its
    // terminator is dropped.
    const char* p = reinterpret_cast<const char*>(extra + kHeaderSize);
    size_t pos = 0;
    while (pos < kSelectionBytes && p[pos]) {
        size_t len = 0;
        while (pos + len < kSelectionBytes && p[pos + len]) ++len;
        if (pos + len >= kSelectionBytes) break;
        std::string entry(p + pos, len);
        size_t eq = entry.find('=');
        if (eq != std::string::npos) {
            std::string key = entry.substr(0, eq), value = entry.substr(eq + 1);
            if (IsStoredText(key, false) && IsStoredText(value, true)) out.selections.emplace_back(key, value);
        }
        pos += len + 1;
    }
    return out;
}

size_t WritePrivate(HostPrivate& out, uint32_t cbOem, const Selections& selections) {
    std::memset(&out, 0, sizeof out);
    out.dwSignature = kSignature;
    out.dwVersion = kVersion;
    out.cbPrivate = kPrivateSize;
    out.cbOem = cbOem;
    size_t pos = 0, written = 0;
    for (const auto& [key, value] : selections) {
        if (!IsStoredText(key, false) || !IsStoredText(value, true)) continue;
        const size_t need = key.size() + 1 + value.size() + 1;
        // Keep room for the terminating empty entry.
        if (pos + need + 1 > kSelectionBytes) continue;
        std::memcpy(out.selections + pos, key.data(), key.size());
        out.selections[pos + key.size()] = '=';
        std::memcpy(out.selections + pos + key.size() + 1, value.data(), value.size());
        pos += need;
        ++written;
    }
    return written;
}

}  // namespace zqhostdm
