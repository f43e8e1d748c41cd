// The record of a conversion run's export switches as the printer's data may hold it (written by
// another version, cut short, changed by hand): the reader accepts only whole records, never reads
// past the bytes, and what it accepts is written back byte for byte.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqexportrecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    static zqxr::ExportRecord record;
    if (!zqxr::Read(bytes.data(), bytes.size(), &record)) return 0;
    std::vector<uint8_t> again(zqxr::RecordSize(record));
    if (zqxr::Write(record, again.data(), again.size()) != bytes.size() || again != bytes) __builtin_trap();
    return 0;
}
