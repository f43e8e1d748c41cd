// The device status text of the printer's status monitor and the questions about its pens.
#include <cstring>

#include "common/zqcommon.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqtrace.h"
#include "formats/zqpenstatus.h"

namespace {

using Mark = CZQCommon::EPenMark;

constexpr unsigned Bit(Mark m) { return 1u << m; }

// The mark a pen kind sets; -1 for kinds without one.
int MarkOfKind(int kind) {
    switch (kind) {
        case 1: return CZQCommon::kMarkK1;
        case 2: return CZQCommon::kMarkK2;
        case 3: return CZQCommon::kMarkK3;
        case 4: return CZQCommon::kMarkK4;
        case 5: return CZQCommon::kMarkK5;
        case 6: return CZQCommon::kMarkK6;
        case 7: return CZQCommon::kMarkK7;
        case 8: return CZQCommon::kMarkK8;
        case 10: return CZQCommon::kMarkK10;
        case 11: return CZQCommon::kMarkK11;
        case 12: return CZQCommon::kMarkK12;
        case 17: return CZQCommon::kMarkK17;
        case 18:
        case 19: return CZQCommon::kMarkK18;
        default: return -1;
    }
}

// The pen-status codes, first set mark first.
struct MarkCode {
    Mark mark;
    int code;
};
constexpr MarkCode kPenCodes[] = {
    {CZQCommon::kMarkK1, 120}, {CZQCommon::kMarkK2, 130}, {CZQCommon::kMarkK3, 150}, {CZQCommon::kMarkK10, 140},
    {CZQCommon::kMarkK11, 170}, {CZQCommon::kMarkK4, 310}, {CZQCommon::kMarkK7, 320}, {CZQCommon::kMarkK5, 330},
    {CZQCommon::kMarkK8, 340},  {CZQCommon::kMarkK6, 300},
};

// The cartridge sets by pen count: the first rule whose marks are all set gives the code.
struct SetRule {
    int count;
    unsigned marks;
    int code;
};
constexpr SetRule kCartridgeSets[] = {
    {1, Bit(CZQCommon::kMarkK1), 40},
    {1, Bit(CZQCommon::kMarkK2), 50},
    {1, Bit(CZQCommon::kMarkK3), 60},
    {1, Bit(CZQCommon::kMarkK10), 120},
    {1, Bit(CZQCommon::kMarkK11), 200},
    {2, Bit(CZQCommon::kMarkK1) | Bit(CZQCommon::kMarkK2), 70},
    {2, Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK3), 80},
    {2, Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK10), 100},
    {2, Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK11), 190},
    {3, Bit(CZQCommon::kMarkK1) | Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK3), 90},
    {3, Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK3) | Bit(CZQCommon::kMarkK10), 110},
    {3, Bit(CZQCommon::kMarkK2) | Bit(CZQCommon::kMarkK11) | Bit(CZQCommon::kMarkK1), 180},
    {6,
     Bit(CZQCommon::kMarkK1) | Bit(CZQCommon::kMarkK4) | Bit(CZQCommon::kMarkK7) | Bit(CZQCommon::kMarkK5) |
         Bit(CZQCommon::kMarkK8) | Bit(CZQCommon::kMarkK6),
     80},
    {8,
     Bit(CZQCommon::kMarkK1) | Bit(CZQCommon::kMarkK4) | Bit(CZQCommon::kMarkK5) | Bit(CZQCommon::kMarkK6) |
         Bit(CZQCommon::kMarkK7) | Bit(CZQCommon::kMarkK8) | Bit(CZQCommon::kMarkK17) | Bit(CZQCommon::kMarkK18),
     350},
};

// Pair A 11: the monitor does not report its pens.
constexpr int kPensNotReported = 11;

}  // namespace

void CZQCommon::VClassifyPen(const PenStatus& status, int iPen) {
    if (iPen < 1 || iPen > 8) return;
    const int mark = MarkOfKind(status.aPens[iPen - 1].iKind);
    if (mark >= 0) m_abPenMarks[mark] = TRUE;
}

int CZQCommon::IPenStatusCode(const PenStatus& status, int iPen) {
    for (int m = 0; m < kPenMarkCount; ++m)
        if (m != kMarkK11 && m != kMarkK12) m_abPenMarks[m] = FALSE;
    VClassifyPen(status, iPen);
    if (status.iPairA == kPensNotReported || iPen < 1 || iPen > 6) return 1;
    for (const MarkCode& c : kPenCodes)
        if (m_abPenMarks[c.mark]) return c.code;
    return iPen == 1 && m_abPenMarks[kMarkK12] ? 80 : 1;
}

int CZQCommon::ICartridgeSetCode(const PenStatus& status) {
    const int count = status.iPenCount;
    if (status.iPairA == kPensNotReported || count < 1 || count > 8) return -1;
    if (count == 1) {
        // The one pen: the first of pens 1 to 3 that has a kind (pen 3 when none has).
        VClassifyPen(status, status.aPens[0].iKind ? 1 : status.aPens[1].iKind ? 2 : 3);
    } else if (count == 2 || count == 3 || count == 6 || count == 8) {
        for (int pen = 1; pen <= (count == 2 ? 3 : count); ++pen) VClassifyPen(status, pen);
    }
    unsigned set = 0;
    for (int m = 0; m < kPenMarkCount; ++m)
        if (m_abPenMarks[m]) set |= 1u << m;
    for (const SetRule& r : kCartridgeSets)
        if (r.count == count && (set & r.marks) == r.marks) return r.code;
    return -1;
}

int CZQCommon::IHeaderDigit3(const PenStatus& status) { return status.aiHeader[2]; }

int CZQCommon::IHeaderDigit4(const PenStatus& status) { return status.aiHeader[3]; }

int CZQCommon::IReadStatusString(HANDLE hPrinter, int iWhat) {
    ZQ_TRACE("CZQCommon::IReadStatusString");
    // Marks left by an earlier question would answer for pens this text does not have.
    for (BOOL& mark : m_abPenMarks) mark = FALSE;
    if (!hPrinter) return -1;

    DWORD type = 0, cb = 0;
    CZQLocalPtr<BYTE> data;
    if (ZQReadStoredValue(hPrinter, nullptr, zqsettings::kStatusString, &type, data, &cb) != ERROR_SUCCESS || cb == 0)
        return -1;
    // A text that fills the room loses its last byte to the terminator; a shorter one, terminated
    // or not, keeps every character.
    char text[kZQStatusTextBytes] = {};
    const size_t copied = cb < sizeof text ? cb : sizeof text;
    std::memcpy(text, data.Get(), copied);
    if (copied == sizeof text) text[sizeof text - 1] = '\0';

    const char* value = ZQFindStatusValue(text, sizeof text);
    PenStatus status;
    if (!value || !ZQDecodeStatus(value, strnlen(value, static_cast<size_t>(text + sizeof text - value)), &status))
        return -1;
    switch (iWhat) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6: return IPenStatusCode(status, iWhat);
        case 10: return IHeaderDigit4(status);
        case 20: return IHeaderDigit3(status);
        case 30: return ICartridgeSetCode(status);
        default: return 1;
    }
}
