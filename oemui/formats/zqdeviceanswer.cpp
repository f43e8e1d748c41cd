#include "formats/zqdeviceanswer.h"

namespace zqanswer {

namespace {

bool IsPrintable(uint8_t c) { return c >= 0x20 && c <= 0x7E; }

bool HasPrefix(const uint8_t* p, size_t n, uint8_t first, uint8_t second) {
    return n >= 2 && p[0] == first && p[1] == second;
}

// One character a byte, up to the first zero.
void Widen(const uint8_t* p, size_t n, std::basic_string<zqwchar>& text) {
    for (size_t i = 0; i < n && p[i]; ++i) text.push_back(static_cast<zqwchar>(p[i]));
}

void AppendCodePoint(uint32_t cp, std::basic_string<zqwchar>& text) {
    if (cp < 0x10000) {
        text.push_back(static_cast<zqwchar>(cp));
        return;
    }
    cp -= 0x10000;
    text.push_back(static_cast<zqwchar>(0xD800 + (cp >> 10)));
    text.push_back(static_cast<zqwchar>(0xDC00 + (cp & 0x3FF)));
}

// Well-formed UTF-8 up to the first zero byte.
bool DecodeUtf8(const uint8_t* p, size_t n, std::basic_string<zqwchar>& text) {
    size_t i = 0;
    while (i < n && p[i]) {
        const uint8_t lead = p[i];
        uint32_t cp = 0;
        size_t follow = 0;
        uint32_t lowest = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            cp = lead & 0x1F, follow = 1, lowest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            cp = lead & 0x0F, follow = 2, lowest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            cp = lead & 0x07, follow = 3, lowest = 0x10000;
        } else {
            return false;
        }
        if (follow > n - i - 1) return false;
        for (size_t k = 1; k <= follow; ++k) {
            const uint8_t c = p[i + k];
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        AppendCodePoint(cp, text);
        i += follow + 1;
    }
    return true;
}

}  // namespace

AnswerKind KindOfType(uint8_t type) {
    switch (type) {
        case 0:
        case 4:
        case 5: return AnswerKind::Text;
        case 1:
        case 2:
        case 8: return AnswerKind::Number;
        default: return AnswerKind::Ignored;
    }
}

bool IsPrintableAnswer(const uint8_t* p, size_t n) {
    if (n == 0) return true;
    if (!p) return false;
    for (size_t i = 0; i < n; ++i)
        if (!IsPrintable(p[i]) && !(i == n - 1 && p[i] == 0)) return false;
    return true;
}

TextForm ClassifyTextAnswer(const uint8_t* p, size_t n, bool bStoredText, bool bKeepBytes) {
    if (n == 0) return TextForm::Empty;
    if (!p) return TextForm::Binary;
    if ((HasPrefix(p, n, 0x01, 0x15) || HasPrefix(p, n, 0x01, 0x0B)) && IsPrintableAnswer(p + 2, n - 2))
        return TextForm::Bytes;
    if (HasPrefix(p, n, 0x02, 0x4E)) return TextForm::Utf16;
    if (HasPrefix(p, n, 0xFD, 0xE8)) return TextForm::Utf8;
    if (IsPrintableAnswer(p, n) || bStoredText) return bKeepBytes ? TextForm::Binary : TextForm::Widened;
    return TextForm::Binary;
}

bool DecodeTextAnswer(TextForm form, const uint8_t* p, size_t n, std::basic_string<zqwchar>& text) {
    text.clear();
    if (form == TextForm::Empty) return true;
    if (!p) return false;
    switch (form) {
        case TextForm::Bytes:
            Widen(p + 2, n - 2, text);
            return true;
        case TextForm::Widened:
            Widen(p, n, text);
            return true;
        case TextForm::Utf16:
            // Whole code units only: an odd last byte is no character.
            for (size_t i = 2; i + 1 < n; i += 2) {
                const zqwchar c = static_cast<zqwchar>(p[i] | (p[i + 1] << 8));
                if (!c) break;
                text.push_back(c);
            }
            return true;
        case TextForm::Utf8:
            if (DecodeUtf8(p + 2, n - 2, text)) return true;
            text.clear();
            return false;
        default: return false;
    }
}

bool IsPlaceholderValue(const uint8_t* p, size_t n) {
    if (!p) return false;
    if (n >= 4) {
        const uint32_t number = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
        if (number == kNumberPlaceholder || number == 0x20) return true;
    }
    // The text " " without its terminator (with it, it read as 32 above).
    return n >= 2 && n < 4 && p[0] == 0x20 && p[1] == 0;
}

}  // namespace zqanswer
