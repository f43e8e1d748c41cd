// Printer font metrics (.PFM, one font) and printer cartridge metrics (.PCM, several fonts) as the
// soft-font installer reads them. The files come from the user: every offset and length is checked
// against the smaller of the PFM's own size and the bytes really there, and every string is read
// within those bytes. Depends only on the standard library so it can be fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zqfont {

// Printer command languages of the installer: PCL, and the language whose commands start with "!".
enum : uint32_t { kLangPcl = 1, kLangOther = 2 };

inline constexpr size_t kPfmHeaderSize = 117;
inline constexpr size_t kExtTextMetricsSize = 52;
// Face names are kept in 80 characters: 79 and the terminator.
inline constexpr size_t kFaceChars = 79;
inline constexpr uint16_t kPcmMagic = 0x0CAC;
inline constexpr char kEscape = 0x1B;

struct KernPair {
    uint8_t first;
    uint8_t second;
    int16_t amount;
};

// A PFM whose every part the installer uses lies inside it.
struct Pfm {
    const uint8_t* data = nullptr;  // its first byte
    size_t size = 0;                // dfSize, or fewer when the bytes end sooner
    uint16_t vertRes = 0, horizRes = 0;
    uint16_t ascent = 0, internalLeading = 0, externalLeading = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0;
    uint16_t weight = 0;
    uint8_t charSet = 0;
    uint16_t pixWidth = 0, pixHeight = 0;
    uint8_t pitchAndFamily = 0;
    uint16_t avgWidth = 0, maxWidth = 0;
    uint8_t firstChar = 0, lastChar = 0, defaultChar = 0, breakChar = 0;
    bool variablePitch = false;
    const uint8_t* widths = nullptr;  // widthCount 16-bit widths of a variable-pitch font
    size_t widthCount = 0;
    const uint8_t* extTextMetrics = nullptr;  // 52 bytes, or null when the PFM has none
    bool hasKernTable = false;
    std::vector<KernPair> kernPairs;  // up to the pair with a zero character
    std::string face;                 // at most kFaceChars characters
    std::string selection;            // the font's selection command
};

// Reads the PFM at `data`, of which `available` bytes are there. False when the PFM is shorter
// than its header, dfSize is below the header, the last character is below the first, or any
// table, offset or string lies outside the PFM.
bool ReadPfm(const uint8_t* data, size_t available, Pfm* pfm);

// The part of a selection command meant for the language: for PCL the text up to "~XL~" (or the
// text after it when the command does not begin with the escape character); for the other
// language the text between the second and the third "!" (counted from the character after
// "~XL~" and the one behind it when the command does not begin with "!"). Empty when there is none.
std::string CommandFor(const std::string& selection, uint32_t language);

// The name the font is listed under, when its selection command is for the language: it begins
// with the language's first character (escape, or "!"), or it holds "~XL~" followed by it. PCL
// names carry the height, italic and weight of the whole command unless it holds "#HEIGHT".
bool FaceNameFromPfm(const Pfm& pfm, uint32_t language, std::string* face);

// Appends to the face, within kFaceChars characters: " <n>pt" for the height before the first
// "v" (rounded, not when 0), "-It" when the character before the second "s" is "1", and "-Lt" or
// "-Bd" for the weight -3 or 3 before the first "b" (letters of either case).
void VDecorateFaceName(std::string* face, const std::string& command);

// A .PCM: its title and the PFMs it holds, walked forward within both its total size and the
// bytes there. PFMs that cannot be trusted are left out; a PFM size below the header ends the walk.
struct Pcm {
    bool hasTitle = false;
    std::string title;
    std::vector<Pfm> fonts;
};
// False for a wrong magic number, or a header, title or first PFM outside the file.
bool ReadPcm(const uint8_t* data, size_t available, Pcm* pcm);

}  // namespace zqfont
