// The advanced colour dialog's sample adjustments: seven slider settings turned into level curves
// and a white point, applied to one pixel at a time. Plain computation, without windows.
#pragma once

#include <cstdint>

class CZQColorAdjust {
public:
    // Settings run from -50 to 50 in steps of 2 % of the full effect; 0 changes nothing.
    static constexpr int kMinSetting = -50;
    static constexpr int kMaxSetting = 50;

    CZQColorAdjust() = default;
    virtual ~CZQColorAdjust() = default;
    CZQColorAdjust(const CZQColorAdjust&) = default;
    CZQColorAdjust& operator=(const CZQColorAdjust&) = default;

    // Rebuilds what changed from the low byte of each setting, taken as signed. False when a
    // setting lies outside -50..50: its table and remembered setting stay as they were, and
    // pixels are left alone until a call succeeds.
    bool BSetAdjustments(int iSaturation, int iBrightness, int iColorTone, int iBlack, int iCyan, int iMagenta,
                         int iYellow);
    // Adjusts one pixel in place.
    virtual bool BApply(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const;

    // The levels of a setting: identity for 0, bent up (lighter) for a positive setting and down
    // for a negative one. False for a setting outside -50..50 or no table; the table is then
    // untouched.
    static bool BBuildCurve(std::int8_t iSetting, std::uint8_t* pTable);

protected:
    // Indices of the settings, in argument order.
    enum Setting { kSaturation, kBrightness, kColorTone, kBlack, kCyan, kMagenta, kYellow, kSettings };

    void VSetToneCoefficients(std::int8_t iSetting);
    void VAdjustSaturation(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const;
    void VAdjustCmyk(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const;
    void VAdjustTone(std::uint8_t* pRed, std::uint8_t* pGreen, std::uint8_t* pBlue) const;

    std::uint8_t m_abSaturation[256] = {};
    std::uint8_t m_abBrightness[256] = {};
    std::uint8_t m_abBlack[256] = {};
    std::uint8_t m_abCyan[256] = {};
    std::uint8_t m_abMagenta[256] = {};
    std::uint8_t m_abYellow[256] = {};
    // The white point used when converting back: that of the reference row at first.
    double m_dToneX = 0.9502;
    double m_dToneZ = 1.0875;
    // Set by a fully successful BSetAdjustments.
    std::uint8_t m_bActive = 0;
    // The settings the tables were built from.
    std::int8_t m_aiLast[kSettings] = {};
};
