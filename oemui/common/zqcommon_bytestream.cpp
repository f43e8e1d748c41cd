// The byte stream of CZQCommon over the standard-library unit.
#include "formats/zqbytestream.h"
#include "common/zqcommon.h"

namespace {

// Runs a reader on a const view of the caller's cursor and stores where it ended (null on a
// short record).
template <typename Read>
auto WithConstCursor(BYTE** ppCursor, Read read) {
    const uint8_t* cursor = ppCursor ? *ppCursor : nullptr;
    auto result = read(&cursor);
    if (ppCursor) *ppCursor = const_cast<BYTE*>(cursor);
    return result;
}

}  // namespace

void CZQCommon::VWriteByte(BYTE** ppCursor, BYTE value) { zqbs::WriteByte(ppCursor, value); }

void CZQCommon::VWriteWord(BYTE** ppCursor, WORD value) { zqbs::WriteWord(ppCursor, value); }

void CZQCommon::VWriteDword(BYTE** ppCursor, DWORD value) { zqbs::WriteDword(ppCursor, value); }

void CZQCommon::VWriteString(BYTE** ppCursor, PCWSTR pszText) { zqbs::WriteString(ppCursor, pszText); }

BOOL CZQCommon::BReadByte(BYTE** ppCursor, const BYTE* pEnd, BYTE* pValue) {
    return WithConstCursor(ppCursor, [&](const uint8_t** c) { return zqbs::ReadByte(c, pEnd, pValue) ? TRUE : FALSE; });
}

DWORD CZQCommon::DWReadDword(BYTE** ppCursor, const BYTE* pEnd) {
    return WithConstCursor(ppCursor, [&](const uint8_t** c) { return static_cast<DWORD>(zqbs::ReadDword(c, pEnd)); });
}

void CZQCommon::VReadString(BYTE** ppCursor, const BYTE* pEnd, PWSTR pszOut, size_t cchOut) {
    WithConstCursor(ppCursor, [&](const uint8_t** c) {
        zqbs::ReadString(c, pEnd, pszOut, cchOut);
        return 0;
    });
}
