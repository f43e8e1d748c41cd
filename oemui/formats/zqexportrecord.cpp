#include "formats/zqexportrecord.h"

#include <cstring>

#include "formats/zqbytestream.h"

namespace zqxr {
namespace {

constexpr uint32_t kMagic = 0x5258515A;  // the bytes "ZQXR"
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 4 + 4 + kGuidBytes + 4;

bool Fits(const SavedValue& v) { return v.size <= kMaxValueBytes && (v.present || v.size == 0); }

}  // namespace

size_t RecordSize(const ExportRecord& record) {
    size_t size = kHeaderBytes;
    for (const SavedValue& v : record.values) size += 1 + 4 + 4 + (v.size <= kMaxValueBytes ? v.size : 0);
    return size;
}

size_t Write(const ExportRecord& record, uint8_t* out, size_t capacity) {
    for (const SavedValue& v : record.values)
        if (!Fits(v)) return 0;
    const size_t size = RecordSize(record);
    if (!out || capacity < size) return 0;
    uint8_t* cursor = out;
    zqbs::WriteDword(&cursor, kMagic);
    zqbs::WriteDword(&cursor, kVersion);
    std::memcpy(cursor, record.run, kGuidBytes);
    cursor += kGuidBytes;
    zqbs::WriteDword(&cursor, record.processId);
    for (const SavedValue& v : record.values) {
        zqbs::WriteByte(&cursor, v.present ? 1 : 0);
        zqbs::WriteDword(&cursor, v.type);
        zqbs::WriteDword(&cursor, v.size);
        std::memcpy(cursor, v.data, v.size);
        cursor += v.size;
    }
    return size;
}

bool Read(const uint8_t* bytes, size_t size, ExportRecord* record) {
    if (!record) return false;
    std::memset(record, 0, sizeof *record);
    if (!bytes) return false;
    const uint8_t* cursor = bytes;
    const uint8_t* end = bytes + size;
    ExportRecord r = {};
    if (zqbs::ReadDword(&cursor, end) != kMagic || zqbs::ReadDword(&cursor, end) != kVersion || !cursor ||
        static_cast<size_t>(end - cursor) < kGuidBytes)
        return false;
    std::memcpy(r.run, cursor, kGuidBytes);
    cursor += kGuidBytes;
    r.processId = zqbs::ReadDword(&cursor, end);
    for (SavedValue& v : r.values) {
        uint8_t present = 0;
        if (!zqbs::ReadByte(&cursor, end, &present) || present > 1) return false;
        v.present = present != 0;
        v.type = zqbs::ReadDword(&cursor, end);
        v.size = zqbs::ReadDword(&cursor, end);
        if (!cursor || !Fits(v) || static_cast<size_t>(end - cursor) < v.size) return false;
        std::memcpy(v.data, cursor, v.size);
        cursor += v.size;
    }
    // Bytes after the last value are not a record of ours.
    if (cursor != end) return false;
    *record = r;
    return true;
}

bool NamesRun(const ExportRecord& record, const uint8_t run[kGuidBytes], uint32_t processId) {
    return record.processId == processId && std::memcmp(record.run, run, kGuidBytes) == 0;
}

}  // namespace zqxr
