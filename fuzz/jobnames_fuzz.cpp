// The job-name, user-name and PIN rules on any text a user types or a document's devmode holds: the
// first byte picks the encoding and whether the PIN is required, the rest are UTF-16LE units of the
// text (a name buffer's worth at most). A sanitised name keeps only what the encoding shows, one
// "~" per UTF-16 unit it cannot show, and stays sanitised; a replaced name is the fall-back; a typed
// PIN ends as digits only.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "formats/zqjobnames.h"

namespace {

size_t Length(const zqwchar* p) {
    size_t n = 0;
    while (p[n]) ++n;
    return n;
}

bool Same(const zqwchar* a, const zqwchar* b) {
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const ZQNameEncoding encoding = data[0] % 3 == 0   ? ZQNameEncoding::kUtf8
                                    : data[0] % 3 == 1 ? ZQNameEncoding::k8Bit
                                                       : ZQNameEncoding::kAscii;
    const bool required = (data[0] & 0x80) != 0;
    zqwchar text[kZQNameChars] = {};
    const size_t units = (size - 1) / 2 < kZQNameChars - 1 ? (size - 1) / 2 : kZQNameChars - 1;
    for (size_t i = 0; i < units; ++i)
        text[i] = static_cast<zqwchar>(data[1 + 2 * i] | data[2 + 2 * i] << 8);
    const size_t length = Length(text);

    zqwchar name[kZQNameChars];
    std::memcpy(name, text, sizeof name);
    const bool replaced = ZQSanitizeName(name, encoding);
    const size_t after = Length(name);
    // Unit for unit: a surrogate pair becomes two "~".
    if ((after != length && after != 0) || (after == 0 && length != 0 && !replaced)) __builtin_trap();
    if (ZQSanitizeName(name, encoding) || (!replaced && !Same(name, text))) __builtin_trap();
    for (size_t i = 0; i < after; ++i)
        if (name[i] < 0x20 || name[i] == u'"' || (encoding != ZQNameEncoding::kUtf8 && name[i] > 0xFF) ||
            (encoding == ZQNameEncoding::kAscii && name[i] > 0x7E))
            __builtin_trap();

    // The 8-bit rules store a plain-ASCII name or the fall-back, cut to the buffer it goes into.
    static const zqwchar kFallBack[] = u"FALLBACK-NAME-OF-TWENTY-SIX";
    for (size_t room : {kZQNameChars, size_t{5}}) {
        zqwchar kept[kZQNameChars];
        std::memcpy(kept, text, sizeof kept);
        kept[room - 1] = 0;
        const bool plain = ZQIsPlainAscii(kept);
        if (ZQReplaceIfNotPlainAscii(kept, room, kFallBack) == plain) __builtin_trap();
        const size_t cut = Length(kept);
        if (cut >= room || (!plain && std::memcmp(kept, kFallBack, cut * sizeof(zqwchar)) != 0)) __builtin_trap();
    }

    zqwchar user[kZQNameChars];
    std::memcpy(user, text, sizeof user);
    ZQMakeAutomaticUserName(user, encoding);
    if (Length(user) > kZQNameShown || ZQSanitizeName(user, encoding)) __builtin_trap();
    if (ZQAutomaticJobNameUsable(text) && length < 3) __builtin_trap();

    zqwchar pin[kZQNameChars];
    std::memcpy(pin, text, sizeof pin);
    const bool zeroed = ZQPinTyped(pin);
    for (const zqwchar* p = pin; *p; ++p)
        if (*p < u'0' || *p > u'9') __builtin_trap();
    if (zeroed && !Same(pin, u"0000")) __builtin_trap();
    if (ZQPinAccepted(pin, required) == (required && Length(pin) < kZQPinDigits)) __builtin_trap();
    const uint32_t value = ZQPinValue(pin);
    zqwchar shown[kZQPinDigits + 1];
    ZQFormatPin(value, shown);
    if (Length(shown) != kZQPinDigits || (value <= 9999 && ZQPinValue(shown) != value)) __builtin_trap();
    return 0;
}
