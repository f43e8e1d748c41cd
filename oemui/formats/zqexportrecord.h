// The record a conversion run leaves beside the printer's export switches while it has them set:
// which run set them, and what the printer held before (each value's type and bytes, or that it was
// not there). It outlives a run that crashed or could not put the values back, so the next run
// restores the administrator's values rather than taking the dead run's for them. Stored as one
// printer-data value, written whole; read back from printer data that anyone may have changed, so
// the reader accepts exactly the layout below and nothing else. Standard library only, so it can
// be fuzzed natively.
//
// Layout (the byte stream's little-endian numbers): magic "ZQXR", version 1, the run's 16-byte
// GUID (all zero for a run named by its process), the process id, then for each saved value a
// presence byte (0 or 1), its type and its size, and that many bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zqxr {

inline constexpr size_t kGuidBytes = 16;
// The values a run saves, in the record's order: the export switch and the ticket's location.
inline constexpr size_t kValues = 2;
// A longer value cannot be kept, so a run never changes it.
inline constexpr size_t kMaxValueBytes = 1024;

struct SavedValue {
    bool present;
    uint32_t type;
    uint32_t size;
    uint8_t data[kMaxValueBytes];
};

struct ExportRecord {
    uint8_t run[kGuidBytes];
    uint32_t processId;
    SavedValue values[kValues];
};

// Bytes the record takes when written.
size_t RecordSize(const ExportRecord& record);
// Writes the record; the bytes written, 0 when it does not fit or a value is too long.
size_t Write(const ExportRecord& record, uint8_t* out, size_t capacity);
// Reads a record of exactly these bytes; false (and the record cleared) for anything else.
bool Read(const uint8_t* bytes, size_t size, ExportRecord* record);
// Whether the record names this run of this process.
bool NamesRun(const ExportRecord& record, const uint8_t run[kGuidBytes], uint32_t processId);

}  // namespace zqxr
