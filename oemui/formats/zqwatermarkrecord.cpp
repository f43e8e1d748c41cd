#include "formats/zqwatermarkrecord.h"

#include <cstring>
#include <initializer_list>

#include "formats/zqbytestream.h"

namespace zqwm {
namespace {

// The constant that stands on either side of the colour.
constexpr uint32_t kColorWord = 0x00C0C0C0;

}  // namespace

void Write(const ZQWatermarkRecord& record, uint8_t* pOut) {
    if (!pOut) return;
    std::memset(pOut, 0, kRecordBytes);
    // The writer takes at most 255 units of a text, so an unterminated field stays inside.
    uint8_t* cursor = pOut;
    for (const zqwchar* text : {record.szName, record.szText, record.szFont}) zqbs::WriteString(&cursor, text);
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(record.dwAngle));
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(record.dwSize));
    zqbs::WriteByte(&cursor, static_cast<uint8_t>(record.dwAngleMode));
    zqbs::WriteByte(&cursor, static_cast<uint8_t>(record.dwShade));
    zqbs::WriteByte(&cursor, static_cast<uint8_t>(record.dwStyle));
    zqbs::WriteDword(&cursor, kColorWord);
    zqbs::WriteWord(&cursor, static_cast<uint16_t>(record.dwColor));
    zqbs::WriteDword(&cursor, kColorWord);
}

bool Read(const uint8_t* pData, size_t size, ZQWatermarkRecord* pRecord) {
    if (!pData || !pRecord) return false;
    ZQWatermarkRecord r;
    std::memset(&r, 0, sizeof r);
    const uint8_t* cursor = pData;
    const uint8_t* end = pData + size;
    zqbs::ReadString(&cursor, end, r.szName, kTextChars);
    zqbs::ReadString(&cursor, end, r.szText, kTextChars);
    zqbs::ReadString(&cursor, end, r.szFont, kTextChars);
    r.dwAngle = zqbs::ReadDword(&cursor, end);
    r.dwSize = zqbs::ReadDword(&cursor, end);
    uint8_t mode = 0, shade = 0, style = 0;
    zqbs::ReadByte(&cursor, end, &mode);
    zqbs::ReadByte(&cursor, end, &shade);
    zqbs::ReadByte(&cursor, end, &style);
    zqbs::ReadDword(&cursor, end);
    r.dwColor = zqbs::ReadDword(&cursor, end);
    zqbs::ReadDword(&cursor, end);
    // A read that did not fit cleared the cursor: the value ended early.
    if (!cursor) return false;
    r.dwAngleMode = mode;
    r.dwShade = shade;
    r.dwStyle = style;
    *pRecord = r;
    return true;
}

}  // namespace zqwm
