// The sample printers under the core driver stand-in: changing a feature runs the helper file's
// macros, and the features that depend on it change in the host's items as the helper file says.
#include <string>

#include <memory>

#include "macrotest.h"
#include "sampleitems.h"
#include "testsupport.h"

namespace {

class SampleRules : public zqmacrotest::MacroTest {
protected:
    // The sample printer's model and helper file (samples\<name>\<name>.zqm and .xml).
    void Open(const std::wstring& name) {
        MacroTest::SetUp();
        const std::wstring base = L"samples\\" + name + L"\\" + name;
        m_items = std::make_unique<CZQSampleItems>((base + L".zqm").c_str(), OEMCUIP_DOCPROP);
        ASSERT_TRUE(m_items->Built());
        ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe((base + L".xml").c_str()).c_str()));
    }
    OEMCUIPPARAM* Param() { return static_cast<OEMCUIPPARAM*>(m_items->CommonUIParam()); }
    // The user picks the option (reported to the host at once); the page then runs the macros.
    void Change(const wchar_t* feature, const wchar_t* option) {
        ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByKeyword(Param(), feature, option, OEMCUIP_DOCPROP));
        EXPECT_TRUE(m_rules->BRunFeatureMacros(feature, option, Param()));
    }
    std::string Value(const char* feature) { return m_items->Value(feature); }
    POPTITEM Item(const char* feature) { return m_items->Item(feature); }
    bool ItemHas(const char* feature, DWORD flag) { return (Item(feature)->Flags & flag) != 0; }
    bool OptionHas(const char* feature, const char* option, BYTE flag) {
        const zqmodel::Model& model = m_items->Model();
        const int index = model.FindOption(model.FindFeature(feature), option);
        return (Item(feature)->pOptType->pOptParam[index].Flags & flag) != 0;
    }

    std::unique_ptr<CZQSampleItems> m_items;
};

class DesktopSample : public SampleRules {
    void SetUp() override { Open(L"zqdesk"); }
};

TEST_F(DesktopSample, BorderlessPhotoPaperBringsPhotoMediaOneSidedAtBestQuality) {
    Change(L"Duplex", L"VERTICAL");
    Change(L"PaperSize", L"ZQ_BORDERLESS_4X6");
    EXPECT_EQ("PHOTO_GLOSSY", Value("MediaType"));
    EXPECT_EQ("NONE", Value("Duplex"));
    EXPECT_TRUE(ItemHas("Duplex", OPTIF_DISABLED));
    EXPECT_EQ("PQGroup_2", Value("PrintQualityGroup"));
    EXPECT_TRUE(OptionHas("PrintQualityGroup", "PQGroup_0", OPTPF_HIDE));
    EXPECT_EQ("TRUE", Value("ZQBorderless"));
    EXPECT_TRUE(ItemHas("ZQBorderless", OPTIF_DISABLED));
    EXPECT_EQ(6122u, m_rules->DWResourceId(1));
    // Every change reached the host as a document change.
    for (DWORD mode : m_items->UpdateModes()) EXPECT_EQ(static_cast<DWORD>(OEMCUIP_DOCPROP), mode);

    // Plain paper again: no borderless choice, two-sided printing back.
    Change(L"PaperSize", L"LETTER");
    EXPECT_EQ("FALSE", Value("ZQBorderless"));
    EXPECT_TRUE(ItemHas("ZQBorderless", OPTIF_HIDE));
    Change(L"MediaType", L"PLAIN");
    EXPECT_FALSE(ItemHas("Duplex", OPTIF_DISABLED));
    EXPECT_FALSE(OptionHas("PrintQualityGroup", "PQGroup_0", OPTPF_HIDE));
}

TEST_F(DesktopSample, TwoSidedPrintingTakesNoPhotoMediaOrFilm) {
    Change(L"Duplex", L"HORIZONTAL");
    EXPECT_TRUE(OptionHas("MediaType", "PHOTO_GLOSSY", OPTPF_DISABLED));
    EXPECT_TRUE(OptionHas("MediaType", "TRANSPARENCY", OPTPF_DISABLED));
    EXPECT_FALSE(OptionHas("MediaType", "PLAIN", OPTPF_DISABLED));
    Change(L"Duplex", L"NONE");
    EXPECT_FALSE(OptionHas("MediaType", "TRANSPARENCY", OPTPF_DISABLED));
}

TEST_F(DesktopSample, DraftQualityHidesTheHighestResolution) {
    Change(L"PrintQualityGroup", L"PQGroup_0");
    EXPECT_EQ("300dpi", Value("Resolution"));
    EXPECT_TRUE(OptionHas("Resolution", "1200dpi", OPTPF_HIDE));
    Change(L"PrintQualityGroup", L"PQGroup_1");
    EXPECT_FALSE(OptionHas("Resolution", "1200dpi", OPTPF_HIDE));
}

TEST_F(DesktopSample, SourcesAndCustomSizeRecordTheirLimits) {
    ZQCustomSizeLimits target = {};
    m_rules->VSetCustomSizeTarget(&target);
    Change(L"PaperSize", L"CUSTOMSIZE");
    EXPECT_EQ(762, target.lMinWidth);
    EXPECT_EQ(3556, target.lMaxLength);
    Change(L"InputBin", L"MANUAL");
    EXPECT_EQ(762, m_rules->InputBinLimits()[0]);
    Change(L"InputBin", L"TRAY1");
    EXPECT_EQ(1016, m_rules->InputBinLimits()[0]);
}

class RollSample : public SampleRules {
    void SetUp() override { Open(L"zqroll"); }
};

TEST_F(RollSample, FilmAndPhotoMediaTakeTheBestQuality) {
    Change(L"MediaType", L"CLEAR_FILM");
    EXPECT_EQ("PQGroup_2", Value("PrintQualityGroup"));
    EXPECT_TRUE(OptionHas("PrintQualityGroup", "PQGroup_0", OPTPF_DISABLED));
    Change(L"MediaType", L"PHOTO_GLOSS");
    EXPECT_EQ("1200dpi", Value("Resolution"));
    Change(L"MediaType", L"PLAIN");
    EXPECT_FALSE(OptionHas("PrintQualityGroup", "PQGroup_0", OPTPF_DISABLED));
    Change(L"PrintQualityGroup", L"PQGroup_0");
    EXPECT_EQ("300dpi", Value("Resolution"));
    EXPECT_TRUE(OptionHas("Resolution", "1200dpi", OPTPF_HIDE));
}

TEST_F(RollSample, ARollPrintsOnePagePerSheet) {
    ASSERT_EQ(ZQOPT_OK, CZQCommon::DWSelectOptionByKeyword(Param(), L"PagesPerSheet", L"4", OEMCUIP_DOCPROP));
    Change(L"InputBin", L"ROLL2");
    EXPECT_EQ("1", Value("PagesPerSheet"));
    EXPECT_TRUE(ItemHas("PagesPerSheet", OPTIF_DISABLED));
    EXPECT_EQ(76200, m_rules->InputBinLimits()[3]);
    Change(L"InputBin", L"MANUALFEED");
    EXPECT_FALSE(ItemHas("PagesPerSheet", OPTIF_DISABLED));
    EXPECT_EQ(16000, m_rules->InputBinLimits()[3]);
}

}  // namespace
