// Devmode items: configuration texts into the private devmode and back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "optitemfixture.h"
#include "settings/zqdriverdata.h"
#include "formats/zquidevmode.h"

namespace {

class DevModeItems : public ::testing::Test {
protected:
    void SetUp() override {
        m_host.Add(zqtest::ListFeature("PageOrder", {{"FRONTTOBACK", L"Front"}, {"BACKTOFRONT", L"Back"}}, 0,
                                       DMPUB_PAGEORDER));
        m_host.Build();
        m_host.Param()->pOEMDM = &m_dm;
        m_host.Param()->pPublicDM = &m_public;
        m_dm.dwPagesPerSheet = 1;
        m_dm.wColor = 2;
        m_public.dmOrientation = DMORIENT_PORTRAIT;
    }
    int Set(const wchar_t* keyword, const wchar_t* value) { return CZQDriverData::ISetDevModeItem(&m_dm, keyword, value); }
    std::wstring Get(const wchar_t* keyword, const wchar_t* start = L"") {
        WCHAR text[256];
        wcscpy(text, start);
        EXPECT_TRUE(CZQDriverData::BGetDevModeItemValue(m_host.Param(), keyword, text));
        return text;
    }

    zqtest::COptItemFixture m_host;
    ZQUIDevmode m_dm{};
    DEVMODEW m_public{};
};

// Items that store a table row's number and read the same text back.
TEST_F(DevModeItems, RowItemsStoreTheirNumberAndReadBack) {
    struct Case {
        const wchar_t* keyword;
        const wchar_t* value;
        size_t offset;
        LONG number;
        const wchar_t* readBack;  // null: not read from the devmode
        size_t width = 4;
    };
    const Case cases[] = {
        {L"DuplexEdge", L"ShortEdge", offsetof(ZQUIDevmode, wDuplex), 3, L"ShortEdge", 2},
        {L"JobRetentionModeChoice", L"quickcopy", offsetof(ZQUIDevmode, dwRetentionMode), 3, L"QuickCopy"},
        {L"FitToOtherSizeChoice", L"FitToOtherSize", offsetof(ZQUIDevmode, dwPrintDocOn), 1, L"FitToOtherSize"},
        {L"ScalePageChoice", L"ScaleToFit", offsetof(ZQUIDevmode, dwScaleToFit), 1, L"ScaleToFit"},
        {L"WMShadeLevel", L"Darkest", offsetof(ZQUIDevmode, dwWmShade), 8, L"Darkest"},
        {L"WMFontStyle", L"BoldItalic", offsetof(ZQUIDevmode, dwWmStyle), 3, L"BoldItalic"},
        {L"WMColor", L"Magenta", offsetof(ZQUIDevmode, dwWmColorIndex), 6, L"Magenta"},
        {L"WMFontEscapement", L"Vertical", offsetof(ZQUIDevmode, dwWmAngleMode), 2, L"Custom"},  // last row of 2
        {L"WMFirstPageOnly", L"NoPages", offsetof(ZQUIDevmode, dwWmFirstPageOnly), 0, L"AllPages"},
        {L"NUpBordersChoice", L"PrintBorders", offsetof(ZQUIDevmode, dwPageBorders), 1, L"PrintBorders"},
        {L"NUpPageOrderChoice", L"DownThenLeft", offsetof(ZQUIDevmode, dwPageOrderIndex), 3, L"DownThenLeft"},
        {L"NUpChoice", L"SixteenUp", offsetof(ZQUIDevmode, dwPagesPerSheet), 6, L"SixteenUp"},
        {L"PageOrder", L"BackToFront", offsetof(ZQUIDevmode, dwPageOrder), 1, nullptr},
        {L"ThriftMode", L"TRUE", offsetof(ZQUIDevmode, dwThriftMode), 3, nullptr},
        {L"ColorMode", L"Mono", offsetof(ZQUIDevmode, wColor), 1, nullptr, 2},
        {L"ZQChromix", L"Automatic", offsetof(ZQUIDevmode, dwChromixAuto), 1, L"Automatic"},
        {L"UseDiffFirstPageChoice", L"DifferentFirstPage", offsetof(ZQUIDevmode, dwDiffPaper), 1, L"DifferentFirstPage"},
        {L"BackCoverChoice", L"UseFirstPage", offsetof(ZQUIDevmode, dwBackCover), 1, L"UseAlternateSource"},
        {L"BackCoverChoice", L"NoBackPage", offsetof(ZQUIDevmode, dwBackCover), 0, L"NoBackPage"},
    };
    for (const Case& c : cases) {
        m_dm = ZQUIDevmode{};
        m_dm.wColor = 2;
        EXPECT_EQ(0, Set(c.keyword, c.value)) << c.keyword;
        const BYTE* p = reinterpret_cast<const BYTE*>(&m_dm) + c.offset;
        LONG stored = 0;
        std::memcpy(&stored, p, c.width);
        EXPECT_EQ(c.number, stored) << c.keyword;
        if (c.readBack) {
            EXPECT_EQ(c.readBack, Get(c.keyword)) << c.keyword;
        }
    }
    // A text without a row leaves the field and still answers 0; an unknown item answers -1.
    m_dm.wDuplex = 2;
    EXPECT_EQ(0, Set(L"DuplexEdge", L"Sideways"));
    EXPECT_EQ(2, m_dm.wDuplex);
    const ZQUIDevmode before = m_dm;
    EXPECT_EQ(-1, Set(L"Resolution", L"600"));
    EXPECT_EQ(0, Set(L"Duplex", L"LongEdge"));
    EXPECT_EQ(0, std::memcmp(&before, &m_dm, sizeof m_dm));
}

TEST_F(DevModeItems, CollateAnswersSuccessForEveryText) {
    m_dm.wCollate = 0;
    EXPECT_EQ(0, Set(L"Collate", L"True"));
    EXPECT_EQ(1, m_dm.wCollate);
    EXPECT_EQ(0, Set(L"Collate", L"Sometimes"));
    EXPECT_EQ(0, m_dm.wCollate);
    m_public.dmCollate = DMCOLLATE_TRUE;
    EXPECT_EQ(L"True", Get(L"Collate"));
}

TEST_F(DevModeItems, WatermarkOnlyOnceTurnedOn) {
    // "SAMPLE" before the first-page item turned the watermark on changes nothing.
    EXPECT_EQ(0, Set(L"Watermarks", L"SAMPLE"));
    EXPECT_EQ(0, m_dm.szWmName[0]);
    EXPECT_EQ(0, Set(L"WMFirstPageOnly", L"AllPages"));
    EXPECT_EQ(1u, m_dm.dwWmOn);
    EXPECT_EQ(0, Set(L"Watermarks", L"SAMPLE"));
    EXPECT_STREQ(L"SAMPLE", m_dm.szWmName);
    EXPECT_STREQ(L"SAMPLE", m_dm.szWmText);
    EXPECT_EQ(L"SAMPLE", Get(L"Watermarks"));
    EXPECT_EQ(0, Set(L"Watermarks", L"Confidential"));
    EXPECT_STREQ(L"Confidential", m_dm.szWmText);
    EXPECT_EQ(0, Set(L"Watermarks", L"Secret"));  // not one of the kinds
    EXPECT_STREQ(L"Confidential", m_dm.szWmName);
    EXPECT_EQ(0, Set(L"Watermarks", L"None"));
    EXPECT_STREQ(L" [none]", m_dm.szWmName);
    EXPECT_EQ(0u, m_dm.dwWmOn);
    EXPECT_EQ(0, Set(L"WMFirstPageOnly", L"FirstPageOnly"));
    EXPECT_EQ(1u, m_dm.dwWmFirstPageOnly);
    EXPECT_EQ(0, Set(L"WMFirstPageOnly", L"NoPages"));
    EXPECT_EQ(0u, m_dm.dwWmOn);
}

TEST_F(DevModeItems, WatermarkColourAngleFontAndSize) {
    m_dm.wColor = 1;  // monochrome: only grey
    EXPECT_EQ(0, Set(L"WMColor", L"Red"));
    EXPECT_EQ(0u, m_dm.dwWmColorIndex);
    m_dm.wColor = 2;
    EXPECT_EQ(0, Set(L"WMColor", L"Red"));
    EXPECT_EQ(1u, m_dm.dwWmColorIndex);

    m_dm.dwWmAngle = 52;
    EXPECT_EQ(0, Set(L"WMFontEscapement", L"Vertical"));
    EXPECT_EQ(90u, m_dm.dwWmAngle);
    EXPECT_EQ(0, Set(L"WMFontEscapement", L"Horizontal"));
    EXPECT_EQ(0u, m_dm.dwWmAngle);
    EXPECT_EQ(0, Set(L"WMCustomAngle", L"-45"));
    EXPECT_EQ(L"-45", Get(L"WMCustomAngle"));
    EXPECT_EQ(0, Set(L"WMFontSize", L"  72pt"));
    EXPECT_EQ(L"72", Get(L"WMFontSize"));

    // A font name longer than its field is cut inside the field.
    const std::wstring longName(300, L'F');
    m_dm.dwWmAngle = 0x11223344;
    EXPECT_EQ(0, Set(L"WMFont", longName.c_str()));
    EXPECT_EQ(255u, wcslen(m_dm.szWmFont));
    EXPECT_EQ(0x11223344u, m_dm.dwWmAngle);
    // A stored name without its terminator is read within its field.
    std::fill(std::begin(m_dm.szWmName), std::end(m_dm.szWmName), L'N');
    EXPECT_EQ(std::wstring(255, L'N'), Get(L"Watermarks"));
}

TEST_F(DevModeItems, ScaleNupAndBookletRules) {
    EXPECT_EQ(0, Set(L"ScaleChoice", L"150"));
    EXPECT_EQ(150u, m_dm.dwScalePercent);
    EXPECT_FLOAT_EQ(1.5f, m_dm.fScaleFactor);
    EXPECT_EQ(L"150", Get(L"ScaleChoice"));
    // Fit to another paper without scale-to-fit prints at factor 1.
    m_dm.dwPrintDocOn = 1;
    m_dm.dwScaleToFit = 0;
    EXPECT_EQ(0, Set(L"ScaleChoice", L"80"));
    EXPECT_FLOAT_EQ(1.0f, m_dm.fScaleFactor);

    m_dm.dwScaleToFit = 1;
    EXPECT_EQ(0, Set(L"NUpChoice", L"TwoUp"));
    EXPECT_EQ(2u, m_dm.dwPagesPerSheet);
    EXPECT_EQ(0u, m_dm.dwScaleToFit);
    EXPECT_EQ(0, Set(L"ScaleChoice", L"150"));
    EXPECT_EQ(100u, m_dm.dwScalePercent);
    EXPECT_EQ(0u, m_dm.dwPrintDocOn);
    EXPECT_EQ(L"kept", Get(L"ScaleChoice", L"kept"));  // only read for one page per sheet

    m_dm.dwBackCover = 1;
    EXPECT_EQ(0, Set(L"BookletPrintingChoice", L"RightEdge"));
    EXPECT_EQ(2u, m_dm.dwBooklet);
    EXPECT_EQ(2u, m_dm.dwPagesPerSheet);
    EXPECT_EQ(3, m_dm.wDuplex);
    EXPECT_EQ(100u, m_dm.dwScalePercent);
    EXPECT_EQ(1u, m_dm.dwScaleToFit);
    EXPECT_EQ(1u, m_dm.dwPrintDocOn);
    EXPECT_EQ(0u, m_dm.dwBackCover);
    EXPECT_EQ(L"RightEdge", Get(L"BookletPrintingChoice"));
    EXPECT_EQ(0, Set(L"BookletPrintingChoice", L"ON"));  // the second table's words
    EXPECT_EQ(1u, m_dm.dwBooklet);
    EXPECT_EQ(0, Set(L"BookletPrintingChoice", L"Reverse"));
    EXPECT_EQ(2u, m_dm.dwBooklet);
    m_dm.wDuplex = 1;
    EXPECT_EQ(0, Set(L"BookletPrintingChoice", L"off"));
    EXPECT_EQ(0u, m_dm.dwBooklet);
    EXPECT_EQ(1, m_dm.wDuplex);  // turning it off forces nothing
}

TEST_F(DevModeItems, OrientationGreyAndPageOrderReadFromTheirSources) {
    EXPECT_EQ(0, Set(L"Orientation", L"RotatedLandscape"));
    EXPECT_EQ(2, m_dm.wOrientation);
    EXPECT_EQ(1u, m_dm.dwRotate180);
    m_public.dmOrientation = DMORIENT_LANDSCAPE;
    EXPECT_EQ(L"RotatedLandscape", Get(L"Orientation"));
    EXPECT_EQ(0, Set(L"Orientation", L"Landscape_CC270"));
    EXPECT_EQ(0u, m_dm.dwRotate180);
    EXPECT_EQ(L"Landscape", Get(L"Orientation"));
    m_dm.dwRotate180 = 1;
    m_public.dmOrientation = DMORIENT_PORTRAIT;
    EXPECT_EQ(L"RotatedPortrait", Get(L"Orientation"));

    EXPECT_EQ(0, Set(L"PrintColorAsGray", L"True"));
    EXPECT_EQ(1u, m_dm.dwPrintAsGray);
    EXPECT_EQ(1, m_dm.wColor);
    EXPECT_EQ(L"True", Get(L"PrintColorAsGray"));
    EXPECT_EQ(0, Set(L"PrintColorAsGray", L"False"));
    EXPECT_EQ(2, m_dm.wColor);

    // The page order reads the core driver's item, not the devmode.
    m_host.SetSelection("PageOrder", 1);
    EXPECT_EQ(L"BackToFront", Get(L"PageOrder"));
}

TEST_F(DevModeItems, MissingDevmodesLeaveTheTextAsItWas) {
    WCHAR text[256] = L"kept";
    EXPECT_FALSE(CZQDriverData::BGetDevModeItemValue(nullptr, L"Watermarks", text));
    m_host.Param()->pOEMDM = nullptr;
    m_host.Param()->pPublicDM = nullptr;
    // A block without its devmodes reads nothing and still answers.
    for (const wchar_t* keyword : {L"Watermarks", L"WMColor", L"ScaleChoice", L"Collate", L"Orientation"})
        EXPECT_EQ(L"kept", Get(keyword, L"kept")) << keyword;
    // The page order comes from the core driver's item, not from a devmode.
    EXPECT_EQ(L"FrontToBack", Get(L"PageOrder", L"kept"));
    EXPECT_EQ(-1, CZQDriverData::ISetDevModeItem(nullptr, L"Collate", L"True"));
}

TEST(DevModeItemLists, DevModeItemsAndImportRoutingDiffer) {
    for (const wchar_t* k : {L"Orientation", L"nupchoice", L"PrintColorAsGray"}) {
        EXPECT_TRUE(CZQDriverData::BIsDevModeItem(k)) << k;
        EXPECT_FALSE(CZQDriverData::BRoutesToDevModeItems(k)) << k;
    }
    for (const wchar_t* k : {L"Duplex", L"PrintQuality"}) {
        EXPECT_FALSE(CZQDriverData::BIsDevModeItem(k)) << k;
        EXPECT_TRUE(CZQDriverData::BRoutesToDevModeItems(k)) << k;
    }
    EXPECT_TRUE(CZQDriverData::BIsDevModeItem(L"WMFont"));
    EXPECT_TRUE(CZQDriverData::BRoutesToDevModeItems(L"wmfont"));
    EXPECT_FALSE(CZQDriverData::BIsDevModeItem(L"Collate"));
    EXPECT_FALSE(CZQDriverData::BRoutesToDevModeItems(L"PaperSize"));
}

}  // namespace
