#include "formats/zqshortcut.h"

#include "formats/zqbytestream.h"

namespace zqsc {

namespace {

const zqwchar kEmpty[1] = {0};

const zqwchar* Member(const zqwchar* const* list, size_t i) { return list && list[i] ? list[i] : kEmpty; }

// A string of the record, refused when it runs past the value or outgrows the page's buffers.
bool ReadText(const uint8_t** cursor, const uint8_t* end, text& out) {
    zqwchar buffer[kMaxChars + 2];
    zqbs::ReadString(cursor, end, buffer, kMaxChars + 2);
    if (!*cursor) return false;
    out.assign(buffer);
    return out.size() <= kMaxChars;
}

// A number of the record; false when it runs past the value.
bool ReadNumber(const uint8_t** cursor, const uint8_t* end, uint32_t& out) {
    out = zqbs::ReadDword(cursor, end);
    return *cursor != nullptr;
}

}  // namespace

size_t FormulaLength(const RecordText& record) {
    size_t length = kHeadLength;
    for (size_t f = 0; record.features && f < record.featureCount; ++f)
        length += kFeatureLength + kPairLength * record.features[f].pairCount;
    return length;
}

size_t ContentLength(const RecordText& record) {
    size_t length = zqbs::StringSize(record.name) + zqbs::StringSize(record.docType) + 3 * 4;
    for (size_t f = 0; record.features && f < record.featureCount; ++f) {
        const FeatureText& feature = record.features[f];
        length += zqbs::StringSize(feature.keyword) + 2 * 4;
        for (size_t p = 0; p < feature.pairCount; ++p)
            length += zqbs::StringSize(Member(feature.optionKeywords, p)) + zqbs::StringSize(Member(feature.optionNames, p));
    }
    return length;
}

size_t ValueLength(const RecordText& record) {
    const size_t formula = FormulaLength(record), content = ContentLength(record);
    return content > formula ? content : formula;
}

void WriteValue(const RecordText& record, uint8_t* out) {
    if (!out) return;
    uint8_t* cursor = out;
    const size_t count = record.features ? record.featureCount : 0;
    zqbs::WriteString(&cursor, record.name ? record.name : kEmpty);
    zqbs::WriteString(&cursor, record.docType ? record.docType : kEmpty);
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(count));
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(record.reserved));
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(record.bitmapId));
    for (size_t f = 0; f < count; ++f) {
        const FeatureText& feature = record.features[f];
        zqbs::WriteString(&cursor, feature.keyword ? feature.keyword : kEmpty);
        zqbs::WriteWord(&cursor, static_cast<uint16_t>(feature.kind));
        zqbs::WriteWord(&cursor, static_cast<uint16_t>(feature.pairCount));
        for (size_t p = 0; p < feature.pairCount; ++p) {
            zqbs::WriteString(&cursor, Member(feature.optionKeywords, p));
            zqbs::WriteString(&cursor, Member(feature.optionNames, p));
        }
    }
}

bool ReadValue(const uint8_t* data, size_t size, RecordRead& out) {
    out = RecordRead();
    if (!data) return false;
    const uint8_t* cursor = data;
    const uint8_t* end = data + size;
    uint32_t count = 0;
    if (!ReadText(&cursor, end, out.name) || !ReadText(&cursor, end, out.docType) ||
        !ReadNumber(&cursor, end, count) || !ReadNumber(&cursor, end, out.reserved) ||
        !ReadNumber(&cursor, end, out.bitmapId))
        return false;
    // Every feature takes at least eleven bytes: a count beyond what is left is refused before
    // anything is reserved for it.
    if (count > static_cast<size_t>(end - cursor) / 11) return false;
    out.features.resize(count);
    for (FeatureRead& feature : out.features) {
        uint32_t pairs = 0;
        if (!ReadText(&cursor, end, feature.keyword) || !ReadNumber(&cursor, end, feature.kind) ||
            !ReadNumber(&cursor, end, pairs) || pairs > static_cast<size_t>(end - cursor) / 6)
            return false;
        feature.optionKeywords.resize(pairs);
        feature.optionNames.resize(pairs);
        for (uint32_t p = 0; p < pairs; ++p)
            if (!ReadText(&cursor, end, feature.optionKeywords[p]) || !ReadText(&cursor, end, feature.optionNames[p]))
                return false;
    }
    return true;
}

}  // namespace zqsc
