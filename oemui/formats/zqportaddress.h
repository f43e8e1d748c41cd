// What others wrote about a printer's port: texts of the port monitors' configuration and of the
// device classes (registry values), and the INQUIRY data a 1394 device answers. Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

// Registry value types the readers take.
inline constexpr uint32_t kZQRegSz = 1;

// The length of a text value: a REG_SZ whose data holds a terminating zero unit, with fewer than
// cchMax units before it; -1 for any other value (another type, unterminated, too long).
long ZQRegTextLength(uint32_t dwType, const uint8_t* pData, size_t cbData, size_t cchMax);

// Bytes 36-39 of INQUIRY data as "a.b.c.d": only when the device gave at least 40 bytes
// (cbGiven, within the cbData bytes of the buffer) and one of the four is not zero.
inline constexpr size_t kZQInquiryAddressBytes = 40;
bool ZQInquiryAddress(const uint8_t* pData, size_t cbData, size_t cbGiven, zqwchar (&text)[16]);
