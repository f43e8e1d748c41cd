// Level curves, the white point of the colour tone, and the per-pixel steps of the colour
// adjustments.
#include "preview/zqcoloradjust.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

using Curve = std::array<std::uint32_t, 256>;

// The darkening curve in 1/256 of a level: round(65536 x (i / 255)^2).
constexpr Curve DarkeningCurve() {
    Curve c = {};
    for (std::uint64_t i = 0; i < 256; ++i)
        c[i] = static_cast<std::uint32_t>((2 * 65536 * i * i + 65025) / (2 * 65025));
    return c;
}
constexpr Curve kDarken = DarkeningCurve();

// The lightening curve, its mirror: 65536 - D[255 - i].
constexpr Curve LighteningCurve() {
    Curve c = {};
    for (int i = 0; i < 256; ++i) c[i] = 65536 - kDarken[255 - i];
    return c;
}
constexpr Curve kLighten = LighteningCurve();

// White points (X, Z; Y is 1) from a bluer to a redder tone.
struct WhitePoint {
    double x, z;
};
constexpr WhitePoint kTones[9] = {{0.9763, 0.7199}, {0.9638, 0.8241}, {0.9656, 0.9203},
                                  {0.9523, 1.008},  {0.9502, 1.0875}, {0.9496, 1.1598},
                                  {0.9495, 1.2251}, {0.9502, 1.284},  {0.951, 1.3374}};
// The end of the range past the last row.
constexpr WhitePoint kToneEnd = {0.9523, 1.3855};

constexpr double kDegreesPerRadian = 57.3;

bool InRange(int s) { return s >= CZQColorAdjust::kMinSetting && s <= CZQColorAdjust::kMaxSetting; }

std::uint8_t Level(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }
std::uint8_t Level(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// The low byte of a slider's value, signed.
std::int8_t LowByte(int v) { return static_cast<std::int8_t>(static_cast<std::uint8_t>(v & 0xFF)); }

}  // namespace

bool CZQColorAdjust::BBuildCurve(std::int8_t iSetting, std::uint8_t* pTable) {
    if (!InRange(iSetting) || !pTable) return false;
    if (iSetting == 0) {
        for (int i = 0; i < 256; ++i) pTable[i] = static_cast<std::uint8_t>(i);
        return true;
    }
    const double a = std::fabs(iSetting * 0.02);
    const Curve& curve = iSetting > 0 ? kLighten : kDarken;
    for (int i = 0; i < 256; ++i) pTable[i] = Level(std::trunc((i * (1 - a) * 256 + curve[i] * a) / 256));
    return true;
}

void CZQColorAdjust::VSetToneCoefficients(std::int8_t iSetting) {
    const double x = 4.0 - iSetting * 0.08;
    const int k = static_cast<int>(x);
    const double f = x - k;
    if (k >= 8) {
        m_dToneX = kToneEnd.x;
        m_dToneZ = kToneEnd.z;
        return;
    }
    m_dToneX = f * kTones[k + 1].x + (1 - f) * kTones[k].x;
    m_dToneZ = f * kTones[k + 1].z + (1 - f) * kTones[k].z;
}

bool CZQColorAdjust::BSetAdjustments(int iSaturation, int iBrightness, int iColorTone, int iBlack, int iCyan,
                                     int iMagenta, int iYellow) {
    const std::int8_t s[kSettings] = {LowByte(iSaturation), LowByte(iBrightness), LowByte(iColorTone), LowByte(iBlack),
                                      LowByte(iCyan),       LowByte(iMagenta),    LowByte(iYellow)};
    bool result = true;
    m_bActive = 0;
    // A curve that cannot be built keeps the old one and the setting it was built from.
    auto curve = [&](int which, std::uint8_t* table) {
        if (s[which] == m_aiLast[which]) return;
        if (BBuildCurve(s[which], table))
            m_aiLast[which] = s[which];
        else
            result = false;
    };
    curve(kBrightness, m_abBrightness);
    curve(kSaturation, m_abSaturation);
    if (s[kColorTone] != m_aiLast[kColorTone]) {
        // The tone table has rows for -50..50 only.
        if (InRange(s[kColorTone])) {
            VSetToneCoefficients(s[kColorTone]);
            m_aiLast[kColorTone] = s[kColorTone];
        } else {
            result = false;
        }
    }
    if (!std::equal(s + kBlack, s + kSettings, m_aiLast + kBlack)) {
        // The four inks change together or not at all: remembered settings must describe the
        // tables, or a later call with the old values would skip a table left half rebuilt.
        std::uint8_t inks[4][256];
        for (int i = 0; i < 4; ++i)
            if (!BBuildCurve(s[kBlack + i], inks[i])) return false;
        std::uint8_t* const tables[4] = {m_abBlack, m_abCyan, m_abMagenta, m_abYellow};
        for (int i = 0; i < 4; ++i) {
            std::memcpy(tables[i], inks[i], sizeof inks[i]);
            m_aiLast[kBlack + i] = s[kBlack + i];
        }
    }
    m_bActive = result ? 1 : 0;
    return result;
}

bool CZQColorAdjust::BApply(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const {
    if (!m_bActive || !pRed || !pGreen || !pBlue) return false;
    if (m_aiLast[kBrightness]) {
        *pRed = m_abBrightness[*pRed];
        *pGreen = m_abBrightness[*pGreen];
        *pBlue = m_abBrightness[*pBlue];
    }
    if (m_aiLast[kBlack] || m_aiLast[kCyan] || m_aiLast[kMagenta] || m_aiLast[kYellow])
        VAdjustCmyk(pRed, pGreen, pBlue);
    if (m_aiLast[kColorTone]) VAdjustTone(pRed, pGreen, pBlue);
    if (m_aiLast[kSaturation]) VAdjustSaturation(pRed, pGreen, pBlue);
    return true;
}

void CZQColorAdjust::VAdjustCmyk(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const {
    const int c = m_abCyan[255 - *pRed], m = m_abMagenta[255 - *pGreen], y = m_abYellow[255 - *pBlue];
    const int k = std::min({c, m, y});
    const int black = m_abBlack[k];
    *pRed = Level(255 - (c - k + black));
    *pGreen = Level(255 - (m - k + black));
    *pBlue = Level(255 - (y - k + black));
}

void CZQColorAdjust::VAdjustTone(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const {
    const double r = *pRed / 255.0, g = *pGreen / 255.0, b = *pBlue / 255.0;
    // To XYZ and Lab against the reference white, and back against the tone's white point.
    const double X = 0.4306 * r + 0.3415 * g + 0.1784 * b;
    const double Y = 0.2220 * r + 0.7067 * g + 0.0713 * b;
    const double Z = 0.0202 * r + 0.1295 * g + 0.9394 * b;
    double fy = std::cbrt(Y);
    const double A = (std::cbrt(X * 1.0524100189433803) - fy) * 500;
    const double Bv = (fy - std::cbrt(Z * 0.9195402298850576)) * 200;
    if (Y <= 0.008856) fy = 7.787 * Y + 16.0 / 116;
    const double fx = A * 0.002 + fy, fz = fy - Bv * 0.005;
    auto back = [](double f) { return f > 0.2068927064827586 ? f * f * f : (f - 16.0 / 116) * 0.1284191601386927; };
    const double X2 = back(fx) * m_dToneX, Z2 = back(fz) * m_dToneZ;
    const double R = std::clamp(3.0627 * X2 - 1.3928 * Y - 0.4759 * Z2, 0.0, 1.0);
    const double G = std::clamp(-0.9689 * X2 + 1.8756 * Y + 0.0417 * Z2, 0.0, 1.0);
    const double B = std::clamp(0.0585 * X2 - 0.2286 * Y + 1.069 * Z2, 0.0, 1.0);
    // Near white the pixel keeps its own colour.
    const double w = std::max((r + g + b - 2.73) * 3.7037037037037033, 0.0);
    *pRed = Level(std::trunc((R * (1 - w) + w * r) * 255));
    *pGreen = Level(std::trunc((G * (1 - w) + w * g) * 255));
    *pBlue = Level(std::trunc((B * (1 - w) + w * b) * 255));
}

void CZQColorAdjust::VAdjustSaturation(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const {
    const int r = *pRed, g = *pGreen, b = *pBlue;
    const int sum = r + g + b;
    const double intensity = sum / 3.0;
    const double S = sum == 0 ? 0.0 : 1 - std::min({r, g, b}) / intensity;
    const double d = std::sqrt(static_cast<double>((r - g) * (r - g) + (r - b) * (g - b)));
    double H = 0.0;
    if (d != 0) {
        // Rounding may carry the cosine a hair beyond 1.
        H = std::acos(std::clamp(0.5 * (2 * r - g - b) / d, -1.0, 1.0)) * kDegreesPerRadian;
        if (b > g) H = 360 - H;
    }
    const int i = static_cast<int>(S * 255 + 0.5);
    const double S2 = i == 0 ? 0.0 : m_abSaturation[std::clamp(i, 0, 255)] / 255.0;
    // Back from hue and the new saturation, keeping the intensity.
    auto lead = [S2](double h) {
        return (1 + S2 * std::cos(h / kDegreesPerRadian) / std::cos((60 - h) / kDegreesPerRadian)) / 3;
    };
    const double low = (1 - S2) / 3;
    double rr, gg, bb;
    if (H <= 120) {
        rr = lead(H), bb = low, gg = 1 - (rr + bb);
    } else if (H <= 240) {
        gg = lead(H - 120), rr = low, bb = 1 - (rr + gg);
    } else {
        bb = lead(H - 240), gg = low, rr = 1 - (gg + bb);
    }
    *pRed = Level(std::trunc(sum * rr + 0.5));
    *pGreen = Level(std::trunc(sum * gg + 0.5));
    *pBlue = Level(std::trunc(sum * bb + 0.5));
}
