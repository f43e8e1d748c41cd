// The devmode tag record: 64 bytes inside a devmode that carry the GUID of a conversion run, so
// the driver side can find the run's registry key from nothing but the devmode it is handed.
// Layout: 16-byte ASCII signature, fixed GUID, 16-byte value (all zero = empty), second fixed GUID.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zqtag {

inline constexpr size_t kRecordSize = 64;
inline constexpr size_t kValueOffset = 32;
inline constexpr size_t kValueSize = 16;

// Writes an empty record (markers, zero value) at rec.
void WriteEmptyRecord(uint8_t* rec);

// Offset of the first record found scanning every byte offset while offset + 64 <= size, matched
// with wantValue (null: any value); -1 when none.
long FindRecord(const uint8_t* bytes, size_t size, const uint8_t* wantValue);

}  // namespace zqtag
