// The colour-adjustment tables: curves, white points and the per-pixel results, alone.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "preview/zqcoloradjust.h"

namespace {

class CAdjustProbe : public CZQColorAdjust {
public:
    using CZQColorAdjust::m_abBlack;
    using CZQColorAdjust::m_abBrightness;
    using CZQColorAdjust::m_abSaturation;
    using CZQColorAdjust::m_bActive;
    using CZQColorAdjust::m_dToneX;
    using CZQColorAdjust::m_dToneZ;
    using CZQColorAdjust::VSetToneCoefficients;
};

using Pixel = std::array<int, 3>;

Pixel Applied(const CZQColorAdjust& adjust, Pixel p) {
    std::uint8_t r = static_cast<std::uint8_t>(p[0]), g = static_cast<std::uint8_t>(p[1]),
                 b = static_cast<std::uint8_t>(p[2]);
    adjust.BApply(&r, &g, &b);
    return {r, g, b};
}

}  // namespace

TEST(ColorAdjust, CurvesAndWhitePoints) {
    struct Curve {
        int setting, level, expected;  // expected -1: the setting is refused
    };
    const Curve curves[] = {
        {0, 77, 77},    {50, 1, 2},    {50, 255, 255}, {-50, 8, 0},  {-50, 255, 255},
        // Half the setting blends half identity, half curve: (128 x 0.5 x 256 + L[128] x 0.5) / 256.
        {25, 128, 160}, {-25, 128, 96}, {51, 0, -1},   {-51, 0, -1},
    };
    for (const Curve& c : curves) {
        std::uint8_t table[256];
        std::memset(table, 0xAB, sizeof table);
        const bool built = CZQColorAdjust::BBuildCurve(static_cast<std::int8_t>(c.setting), table);
        EXPECT_EQ(c.expected >= 0, built) << c.setting;
        EXPECT_EQ(c.expected >= 0 ? c.expected : 0xAB, table[c.level]) << c.setting;
    }
    EXPECT_FALSE(CZQColorAdjust::BBuildCurve(10, nullptr));

    struct Tone {
        int setting;
        double x, z;
    };
    const Tone tones[] = {{0, 0.9502, 1.0875},  {50, 0.9763, 0.7199},  {25, 0.9656, 0.9203},
                          {-50, 0.9523, 1.3855}, {-12, 0.96 * 0.9496 + 0.04 * 0.9502, 0.96 * 1.1598 + 0.04 * 1.0875}};
    for (const Tone& t : tones) {
        CAdjustProbe adjust;
        adjust.VSetToneCoefficients(static_cast<std::int8_t>(t.setting));
        EXPECT_NEAR(t.x, adjust.m_dToneX, 1e-9) << t.setting;
        EXPECT_NEAR(t.z, adjust.m_dToneZ, 1e-9) << t.setting;
    }
}

TEST(ColorAdjust, PixelsUnderEachSetting) {
    struct Row {
        std::array<int, 7> settings;  // saturation, brightness, tone, black, cyan, magenta, yellow
        Pixel in, out;
    };
    const Row table[] = {
        {{0, 0, 0, 0, 0, 0, 0}, {10, 200, 90}, {10, 200, 90}},
        {{0, 50, 0, 0, 0, 0, 0}, {1, 1, 255}, {2, 2, 255}},
        // Only the low byte counts: 266 is 10.
        {{0, 266, 0, 0, 0, 0, 0}, {128, 128, 128}, {140, 140, 140}},
        // Saturation keeps the intensity; grey has none to change.
        {{50, 0, 0, 0, 0, 0, 0}, {100, 100, 100}, {100, 100, 100}},
        {{-50, 0, 0, 0, 0, 0, 0}, {200, 100, 50}, {164, 107, 79}},
        {{50, 0, 0, 0, 0, 0, 0}, {200, 100, 50}, {236, 93, 21}},
        {{25, 0, 0, 0, 0, 0, 0}, {40, 90, 220}, {27, 85, 238}},
        // The tone keeps white, and moves grey toward blue or away from it; near white it fades out.
        {{0, 0, 50, 0, 0, 0, 0}, {255, 255, 255}, {255, 255, 255}},
        {{0, 0, -50, 0, 0, 0, 0}, {255, 255, 255}, {255, 255, 255}},
        {{0, 0, -50, 0, 0, 0, 0}, {128, 128, 128}, {110, 129, 167}},
        {{0, 0, 50, 0, 0, 0, 0}, {128, 128, 128}, {160, 122, 76}},
        {{0, 0, -12, 0, 0, 0, 0}, {240, 245, 250}, {236, 245, 252}},
        // Inks leave white alone; cyan takes red away.
        {{0, 0, 0, 50, 50, 50, 50}, {255, 255, 255}, {255, 255, 255}},
        {{0, 0, 0, 0, 50, 0, 0}, {128, 255, 255}, {64, 255, 255}},
        {{0, 0, 0, -30, 0, 0, 0}, {60, 90, 120}, {98, 128, 158}},
        // Every step, in its order.
        {{20, -20, 30, 10, -10, 20, -30}, {200, 120, 40}, {201, 56, 15}},
    };
    for (const Row& row : table) {
        const auto& s = row.settings;
        SCOPED_TRACE(testing::Message() << s[0] << "," << s[1] << "," << s[2] << "," << s[3] << "," << s[4]);
        CZQColorAdjust adjust;
        ASSERT_TRUE(adjust.BSetAdjustments(s[0], s[1], s[2], s[3], s[4], s[5], s[6]));
        EXPECT_EQ(row.out, Applied(adjust, row.in));
    }
}

TEST(ColorAdjust, RefusedSettingsLeaveTablesAsTheyWere) {
    CAdjustProbe adjust;
    ASSERT_TRUE(adjust.BSetAdjustments(30, 20, 10, 10, 10, 10, 10));
    std::uint8_t saturation[256], brightness[256], black[256];
    std::memcpy(saturation, adjust.m_abSaturation, 256);
    std::memcpy(brightness, adjust.m_abBrightness, 256);
    std::memcpy(black, adjust.m_abBlack, 256);
    const double toneX = adjust.m_dToneX;
    const Pixel sample = {200, 120, 40};
    const Pixel before = Applied(adjust, sample);

    struct Row {
        std::array<int, 7> settings;
    };
    const Row refused[] = {
        {{51, 20, 10, 10, 10, 10, 10}},   // saturation
        {{30, -51, 10, 10, 10, 10, 10}},  // brightness
        {{30, 20, 60, 10, 10, 10, 10}},   // colour tone: beyond the tone table's rows
        {{30, 20, 10, 20, 60, 10, 10}},   // an ink after a good one: the four change together or not
    };
    for (const Row& row : refused) {
        const auto& s = row.settings;
        SCOPED_TRACE(testing::Message() << s[0] << "," << s[1] << "," << s[2] << "," << s[3] << "," << s[4]);
        EXPECT_FALSE(adjust.BSetAdjustments(s[0], s[1], s[2], s[3], s[4], s[5], s[6]));
        EXPECT_EQ(0, adjust.m_bActive);
        EXPECT_EQ(sample, Applied(adjust, sample));
        EXPECT_EQ(0, std::memcmp(saturation, adjust.m_abSaturation, 256));
        EXPECT_EQ(0, std::memcmp(brightness, adjust.m_abBrightness, 256));
        EXPECT_EQ(0, std::memcmp(black, adjust.m_abBlack, 256));
        EXPECT_EQ(toneX, adjust.m_dToneX);
        // The settings the tables hold are remembered: asking for them again gives the old picture.
        ASSERT_TRUE(adjust.BSetAdjustments(30, 20, 10, 10, 10, 10, 10));
        EXPECT_EQ(before, Applied(adjust, sample));
    }
}
