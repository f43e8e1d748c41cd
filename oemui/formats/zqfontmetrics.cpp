#include "formats/zqfontmetrics.h"

#include <cstring>

#include "formats/zqfontbytes.h"

namespace zqfont {

namespace {

// The zero-terminated text at `offset`, whose terminator must lie before `limit`; at most
// `maxChars` characters are kept.
bool ReadText(const uint8_t* data, size_t limit, uint32_t offset, size_t maxChars, std::string* out) {
    if (offset == 0 || offset >= limit) return false;
    const uint8_t* start = data + offset;
    const void* end = std::memchr(start, 0, limit - offset);
    if (!end) return false;
    const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(end) - start);
    out->assign(reinterpret_cast<const char*>(start), length < maxChars ? length : maxChars);
    return true;
}

size_t FindNoCase(const std::string& text, char lower, size_t from = 0) {
    const char upper = static_cast<char>(lower - 'a' + 'A');
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == lower || text[i] == upper) return i;
    return std::string::npos;
}

// The run of `allowed` characters that ends just before `end`.
std::string RunBefore(const std::string& text, size_t end, const char* allowed) {
    size_t begin = end;
    while (begin > 0 && text[begin - 1] != 0 && std::strchr(allowed, text[begin - 1])) --begin;
    return text.substr(begin, end - begin);
}

// A decimal number of digits with at most one point, rounded half up; false for anything else.
bool RoundedDecimal(const std::string& text, long* value) {
    long whole = 0;
    bool point = false, digits = false, roundUp = false, firstFraction = true;
    for (char c : text) {
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (!point) {
            if (whole > 99999) return false;
            whole = whole * 10 + (c - '0');
            digits = true;
        } else {
            if (firstFraction) roundUp = c >= '5';
            firstFraction = false;
            digits = true;
        }
    }
    if (!digits) return false;
    *value = whole + (roundUp ? 1 : 0);
    return true;
}

// An optional minus sign and digits; false for anything else.
bool WholeNumber(const std::string& text, long* value) {
    size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() - i > 6) return false;
    long n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
    }
    *value = text[0] == '-' ? -n : n;
    return true;
}

void AppendWithin(std::string* face, const std::string& text) {
    if (face->size() >= kFaceChars) return;
    face->append(text, 0, kFaceChars - face->size());
}

// The command begins with the language's first character, or holds "~XL~" followed by it.
bool IsFor(const std::string& selection, char lead) {
    if (!selection.empty() && selection[0] == lead) return true;
    const size_t xl = selection.find("~XL~");
    return xl != std::string::npos && xl + 4 < selection.size() && selection[xl + 4] == lead;
}

}  // namespace

bool ReadPfm(const uint8_t* data, size_t available, Pfm* pfm) {
    if (!data || !pfm || available < kPfmHeaderSize) return false;
    const uint32_t dfSize = Get32(data + 2);
    if (dfSize < kPfmHeaderSize) return false;
    const size_t limit = dfSize < available ? dfSize : available;

    Pfm p;
    p.data = data;
    p.size = limit;
    p.vertRes = Get16(data + 70);
    p.horizRes = Get16(data + 72);
    p.ascent = Get16(data + 74);
    p.internalLeading = Get16(data + 76);
    p.externalLeading = Get16(data + 78);
    p.italic = data[80];
    p.underline = data[81];
    p.strikeOut = data[82];
    p.weight = Get16(data + 83);
    p.charSet = data[85];
    p.pixWidth = Get16(data + 86);
    p.pixHeight = Get16(data + 88);
    p.pitchAndFamily = data[90];
    p.avgWidth = Get16(data + 91);
    p.maxWidth = Get16(data + 93);
    p.firstChar = data[95];
    p.lastChar = data[96];
    p.defaultChar = data[97];
    p.breakChar = data[98];
    if (p.lastChar < p.firstChar) return false;

    size_t pos = kPfmHeaderSize;
    p.variablePitch = (p.pitchAndFamily & 1) != 0;
    if (p.variablePitch) {
        p.widthCount = static_cast<size_t>(p.lastChar - p.firstChar) + 2;
        if ((limit - pos) / 2 < p.widthCount) return false;
        p.widths = data + pos;
        pos += p.widthCount * 2;
    }
    // The extension table; the fields read end at its byte 26.
    if (limit - pos < 26) return false;
    const uint8_t* extension = data + pos;
    const uint32_t etm = Get32(extension + 2);
    const uint32_t kernTable = Get32(extension + 14);
    const uint32_t driverInfo = Get32(extension + 22);

    if (etm != 0) {
        if (etm >= limit || limit - etm < kExtTextMetricsSize) return false;
        p.extTextMetrics = data + etm;
    }
    if (driverInfo == 0 || driverInfo >= limit || limit - driverInfo < 12) return false;
    if (!ReadText(data, limit, Get32(data + driverInfo + 8), std::string::npos, &p.selection)) return false;
    if (!ReadText(data, limit, Get32(data + 105), kFaceChars, &p.face)) return false;

    if (kernTable != 0) {
        if (kernTable >= limit) return false;
        p.hasKernTable = true;
        for (size_t at = kernTable; limit - at >= 4; at += 4) {
            const KernPair pair = {data[at], data[at + 1], static_cast<int16_t>(Get16(data + at + 2))};
            if (pair.first == 0 || pair.second == 0) break;
            p.kernPairs.push_back(pair);
        }
    }
    *pfm = std::move(p);
    return true;
}

std::string CommandFor(const std::string& selection, uint32_t language) {
    const size_t xl = selection.find("~XL~");
    const std::string afterXl = xl == std::string::npos ? std::string() : selection.substr(xl + 4);
    if (language != kLangOther) {
        if (!selection.empty() && selection[0] == kEscape)
            return xl == std::string::npos ? selection : selection.substr(0, xl);
        return afterXl;
    }
    // Without a leading "!" the count starts behind "~XL~" and the character that follows it.
    std::string part = selection;
    if (selection.empty() || selection[0] != '!') part = afterXl.empty() ? std::string() : afterXl.substr(1);
    const size_t first = part.find('!');
    const size_t second = first == std::string::npos ? first : part.find('!', first + 1);
    const size_t third = second == std::string::npos ? second : part.find('!', second + 1);
    if (third == std::string::npos) return std::string();
    return part.substr(second + 1, third - second - 1);
}

bool FaceNameFromPfm(const Pfm& pfm, uint32_t language, std::string* face) {
    if (!face) return false;
    const bool pcl = language != kLangOther;
    if (!IsFor(pfm.selection, pcl ? kEscape : '!')) return false;
    std::string name = pfm.face.substr(0, kFaceChars);
    // The whole command is read, both sides of "~XL~".
    if (pcl && pfm.selection.find("#HEIGHT") == std::string::npos) VDecorateFaceName(&name, pfm.selection);
    *face = std::move(name);
    return true;
}

void VDecorateFaceName(std::string* face, const std::string& command) {
    if (!face) return;
    const size_t v = FindNoCase(command, 'v');
    long height = 0;
    if (v != std::string::npos && RoundedDecimal(RunBefore(command, v, "0123456789."), &height) && height != 0)
        AppendWithin(face, " " + std::to_string(height) + "pt");

    const size_t firstS = FindNoCase(command, 's');
    const size_t secondS = firstS == std::string::npos ? firstS : FindNoCase(command, 's', firstS + 1);
    if (secondS != std::string::npos && command[secondS - 1] == '1') AppendWithin(face, "-It");

    const size_t b = FindNoCase(command, 'b');
    long weight = 0;
    if (b != std::string::npos && WholeNumber(RunBefore(command, b, "0123456789-"), &weight)) {
        if (weight == -3) AppendWithin(face, "-Lt");
        else if (weight == 3) AppendWithin(face, "-Bd");
    }
}

bool ReadPcm(const uint8_t* data, size_t available, Pcm* pcm) {
    constexpr size_t kPcmHeaderSize = 16;
    constexpr size_t kTitleChars = 255;
    if (!data || !pcm || available < kPcmHeaderSize || Get16(data) != kPcmMagic) return false;
    const uint32_t total = Get32(data + 4);
    const size_t limit = total < available ? total : available;
    if (limit < kPcmHeaderSize) return false;

    Pcm out;
    const uint32_t title = Get32(data + 8);
    if (title != 0) {
        if (!ReadText(data, limit, title, kTitleChars, &out.title)) return false;
        out.hasTitle = true;
    }
    const uint32_t first = Get32(data + 12);
    if (first < kPcmHeaderSize || first > limit) return false;
    for (size_t at = first; limit - at >= kPfmHeaderSize;) {
        const uint32_t step = Get32(data + at + 2);
        if (step < kPfmHeaderSize) break;  // no way forward
        Pfm pfm;
        if (ReadPfm(data + at, limit - at, &pfm)) out.fonts.push_back(std::move(pfm));
        if (step > limit - at) break;
        at += step;
    }
    *pcm = std::move(out);
    return true;
}

}  // namespace zqfont
