// The core driver stand-in's own part of the devmode. A devmode of this driver is laid out as
//
//   [public DEVMODEW, dmSize bytes][HostPrivate, 2,048 bytes][plug-in block, cbOem bytes]
//
// with dmDriverExtra = 2,048 + cbOem. The plug-in block follows the driver's own private part as
// it does in the core drivers; HostPrivate records its size. The selections of the document
// features travel in HostPrivate as "Feature=Option" texts, so stored devmodes survive model
// changes: unknown features and options are ignored when read.
// Devmodes come back from documents and other programs, so reading never trusts a size field.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zqhostdm {

inline constexpr uint32_t kSignature = 0x4443515A;  // "ZQCD"
inline constexpr uint32_t kVersion = 0x00010000;
inline constexpr uint32_t kPrivateSize = 2048;
inline constexpr uint32_t kHeaderSize = 16;
inline constexpr uint32_t kSelectionBytes = kPrivateSize - kHeaderSize;
// The plug-in block may not make the devmode larger than the 16-bit dmDriverExtra allows.
inline constexpr uint32_t kMaxOemSize = 0xFFFF - kPrivateSize;

struct HostPrivate {
    uint32_t dwSignature;
    uint32_t dwVersion;
    uint32_t cbPrivate;  // kPrivateSize
    uint32_t cbOem;      // bytes of the plug-in block that follows
    char selections[kSelectionBytes];  // "Feature=Option\0" ... "\0"
};
static_assert(sizeof(HostPrivate) == kPrivateSize, "host private part");

using Selections = std::vector<std::pair<std::string, std::string>>;

struct ParsedPrivate {
    bool valid = false;
    uint32_t cbOem = 0;       // 0 when the extra bytes hold no complete plug-in block
    size_t oemOffset = 0;     // from the start of the driver extra
    Selections selections;
};

// Reads the driver extra (`extraSize` bytes really present). Invalid when the signature, version
// or private size do not match; the plug-in block counts only when it lies inside the extra.
ParsedPrivate ParsePrivate(const uint8_t* extra, size_t extraSize);

// Fills `out`; selections that do not fit are dropped (returns how many were written).
size_t WritePrivate(HostPrivate& out, uint32_t cbOem, const Selections& selections);

}  // namespace zqhostdm
