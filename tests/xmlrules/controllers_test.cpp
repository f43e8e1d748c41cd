// Constraint controllers and their tip icons on a real dialog.
#include <gtest/gtest.h>

#include <memory>

#include "constrainttest.h"

namespace {

using zqcontest::CBoxAnswers;
using zqcontest::CTestDialog;
using zqcontest::HasVisibleStyle;
using zqcontest::kIdAnchor;
using zqcontest::kIdOther;

class Controllers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Dlg());
        ASSERT_TRUE(m_ctl.BSetFeatureName(L"ZQTestFeature", GetModuleHandleW(nullptr), nullptr));
        m_ctl.TipIcon()->VSetTextLoader(m_texts.Loader());
    }
    HWND Icon() const { return m_ctl.TipIcon()->TipWindow()->IconWindow(); }
    int Nodes() const { return m_ctl.Controls().GetCount(); }

    zqcontest::CStatusTexts m_texts;
    CTestDialog m_dlg;
    CZQConstraintController m_ctl;
};

TEST_F(Controllers, RegisterByWindowOrByIdButNotBothNorNeither) {
    // Nothing to find an id in before a dialog is attached.
    EXPECT_FALSE(m_ctl.BRegisterControl(nullptr, kIdOther, L"Other"));
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    EXPECT_TRUE(m_ctl.BRegisterControl(m_dlg.Item(kIdOther), 0, L"Other"));
    EXPECT_TRUE(m_ctl.BRegisterControl(nullptr, IDC_CBO_GRAYSCALE, L"Gray"));
    ASSERT_EQ(2, Nodes());
    const auto* byWindow = static_cast<const CZQControlNode*>(m_ctl.Controls().GetAt(0));
    EXPECT_EQ(kIdOther, byWindow->m_iCtrlId) << "the id comes from the window";
    const auto* byId = static_cast<const CZQControlNode*>(m_ctl.Controls().GetAt(1));
    EXPECT_EQ(m_dlg.Item(IDC_CBO_GRAYSCALE), byId->m_hWnd) << "the window comes from the dialog";

    EXPECT_FALSE(m_ctl.BRegisterControl(m_dlg.Item(kIdOther), kIdOther, L"Both"));
    EXPECT_FALSE(m_ctl.BRegisterControl(nullptr, 0, L"Neither"));
    EXPECT_FALSE(m_ctl.BRegisterControl(nullptr, 4242, L"Missing"));
    EXPECT_FALSE(m_ctl.BRegisterControl(m_dlg.Item(kIdOther), 0, nullptr));
    EXPECT_FALSE(m_ctl.BRegisterControl(m_dlg.Dlg(), 0, L"A window without an id"));
    EXPECT_EQ(2, Nodes());
}

TEST_F(Controllers, RegisteringTwiceAndUnregisteringRemovesBothNodes) {
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    HWND other = m_dlg.Item(kIdOther);
    ASSERT_TRUE(m_ctl.BRegisterControl(other, 0, L"Other"));
    ASSERT_TRUE(m_ctl.BRegisterControl(other, 0, L"Other"));
    ASSERT_TRUE(m_ctl.BRegisterControl(other, 0, L"Kept"));
    ASSERT_TRUE(m_ctl.BRegisterControl(nullptr, IDC_CBO_GRAYSCALE, L"Gray"));
    m_ctl.VUnregisterControl(other, 0, L"OTHER");
    EXPECT_EQ(2, Nodes()) << "both nodes of the name go, the other name stays";
    m_ctl.VUnregisterControl(nullptr, IDC_CBO_GRAYSCALE, L"Other");
    EXPECT_EQ(2, Nodes()) << "the name must match too";
    m_ctl.VUnregisterControl(nullptr, IDC_CBO_GRAYSCALE, L"gray");
    EXPECT_EQ(1, Nodes());
}

TEST_F(Controllers, EnableAllActsOnTheRegisteredControls) {
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    EXPECT_FALSE(m_ctl.BEnableAll(FALSE)) << "no control registered";
    EXPECT_FALSE(m_ctl.BEnabled()) << "the state is kept all the same";
    ASSERT_TRUE(m_ctl.BRegisterControl(m_dlg.Item(kIdOther), 0, L"Other"));
    EXPECT_TRUE(m_ctl.BEnableAll(FALSE));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(kIdOther)));
    EXPECT_TRUE(IsWindowEnabled(m_dlg.Item(kIdAnchor)));
    EXPECT_TRUE(m_ctl.BEnableAll(TRUE));
    EXPECT_TRUE(IsWindowEnabled(m_dlg.Item(kIdOther)));
    EXPECT_TRUE(m_ctl.BEnabled());
}

TEST_F(Controllers, TipIconStandsLeftOfTheAnchorWhileBubbleIdsArePending) {
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    HWND icon = Icon();
    ASSERT_TRUE(IsWindow(icon));
    EXPECT_EQ(m_dlg.Dlg(), GetParent(icon));
    EXPECT_GE(GetDlgCtrlID(icon), 4778);
    EXPECT_EQ(5452, m_ctl.TipIcon()->TipWindow()->MainTextId());
    RECT anchor, rc;
    GetWindowRect(m_dlg.Item(kIdAnchor), &anchor);
    GetWindowRect(icon, &rc);
    EXPECT_EQ(18, rc.right - rc.left);
    EXPECT_EQ(18, rc.bottom - rc.top);
    EXPECT_LE(rc.right, anchor.left + GetSystemMetrics(SM_CXEDGE) * 2);
    EXPECT_GE(rc.top, anchor.top);
    EXPECT_FALSE(HasVisibleStyle(icon)) << "no tip yet";

    CZQFeatureTipIcon* tip = m_ctl.TipIcon();
    EXPECT_TRUE(tip->BAddBubbleId(5831));
    EXPECT_TRUE(HasVisibleStyle(icon));
    EXPECT_TRUE(tip->BAddBubbleId(5831));
    EXPECT_TRUE(tip->BAddBubbleId(0));
    EXPECT_EQ(1, tip->TipWindow()->BubbleIds().GetCount()) << "listed once; 0 is ignored";
    EXPECT_TRUE(tip->BAddBubbleId(5832));
    EXPECT_FALSE(tip->BRemoveBubbleId(5999));
    EXPECT_TRUE(tip->BRemoveBubbleId(5831));
    EXPECT_TRUE(HasVisibleStyle(icon));
    EXPECT_TRUE(tip->BRemoveBubbleId(5832));
    EXPECT_FALSE(HasVisibleStyle(icon)) << "the last id hides the icon";
}

TEST_F(Controllers, EachIconWindowTakesTheNextControlId) {
    CZQConstraintController second;
    ASSERT_TRUE(second.BSetFeatureName(L"Second", GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    ASSERT_TRUE(second.BAttachById(m_dlg.Dlg(), kIdOther));
    EXPECT_EQ(GetDlgCtrlID(Icon()) + 1, GetDlgCtrlID(second.TipIcon()->TipWindow()->IconWindow()));
}

TEST_F(Controllers, BubbleIdsSurviveDetachAndShowAgainOnAttach) {
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    ASSERT_TRUE(m_ctl.BRegisterControl(m_dlg.Item(kIdOther), 0, L"Other"));
    m_ctl.TipIcon()->BAddBubbleId(5831);
    m_ctl.TipIcon()->BAddBubbleId(5832);
    HWND icon = Icon();
    EXPECT_TRUE(m_ctl.BDetach());
    EXPECT_FALSE(IsWindow(icon));
    EXPECT_EQ(nullptr, m_ctl.Dialog());
    EXPECT_EQ(0, Nodes());
    EXPECT_EQ(2, m_ctl.TipIcon()->TipWindow()->BubbleIds().GetCount());

    // The dialog opens again: the icon is back without a new evaluation.
    CTestDialog again;
    ASSERT_TRUE(m_ctl.BAttachById(again.Dlg(), kIdAnchor));
    EXPECT_TRUE(HasVisibleStyle(Icon()));
    EXPECT_EQ(again.Dlg(), GetParent(Icon()));
}

TEST_F(Controllers, ADialogClosedWithoutDetachLeavesNoStaleIcon) {
    {
        CTestDialog gone;
        ASSERT_TRUE(m_ctl.BAttachById(gone.Dlg(), kIdAnchor));
        m_ctl.TipIcon()->BAddBubbleId(5831);
    }
    EXPECT_EQ(nullptr, Icon()) << "the icon window went with its dialog";
    m_ctl.TipIcon()->BAddBubbleId(5832);
    ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
    EXPECT_EQ(m_dlg.Dlg(), GetParent(Icon()));
    EXPECT_TRUE(HasVisibleStyle(Icon()));
}

TEST_F(Controllers, AttachAndDetachWithoutWindows) {
    EXPECT_FALSE(m_ctl.BAttachById(nullptr, kIdAnchor));
    EXPECT_FALSE(m_ctl.BAttachById(m_dlg.Dlg(), 0));
    EXPECT_FALSE(m_ctl.BAttachById(m_dlg.Dlg(), 4242));
    EXPECT_FALSE(m_ctl.BAttachDialog(m_dlg.Dlg(), reinterpret_cast<HWND>(0x1234)));
    // Without a name there is no tip window: nothing to attach or detach.
    CZQConstraintController unnamed;
    EXPECT_FALSE(unnamed.BAttachById(m_dlg.Dlg(), kIdAnchor));
    EXPECT_FALSE(unnamed.BDetach());
    EXPECT_FALSE(unnamed.TipIcon()->BAddBubbleId(5831));
    EXPECT_FALSE(unnamed.BSetFeatureName(nullptr, nullptr, nullptr));
}

TEST_F(Controllers, ValueTextIndexAndReadingWithoutLogic) {
    EXPECT_TRUE(m_ctl.BSetValueText(L"Option"));
    EXPECT_FALSE(m_ctl.BSetValueText(std::wstring(255, L'x').c_str())) << "255 characters are too long";
    EXPECT_EQ(255u, wcslen(m_ctl.PszValueText())) << "but kept as far as they fit";
    EXPECT_TRUE(m_ctl.BSetValueText(L"Option"));
    WCHAR buf[4];
    EXPECT_TRUE(m_ctl.BReadCurrentOption(buf, 4));
    EXPECT_STREQ(L"Opt", buf);
    EXPECT_FALSE(m_ctl.BReadCurrentOption(nullptr, 4));
    EXPECT_FALSE(m_ctl.BSetIndex(-1));
    EXPECT_TRUE(m_ctl.BSetIndex(2));
    EXPECT_EQ(2, m_ctl.Index());
}

// ---------------------------------------------------------------------------------------------
// The tip message
// ---------------------------------------------------------------------------------------------
class TipMessage : public Controllers {
protected:
    void SetUp() override {
        Controllers::SetUp();
        ASSERT_TRUE(m_ctl.BAttachById(m_dlg.Dlg(), kIdAnchor));
        m_ctl.TipIcon()->BAddBubbleId(5831);
        m_ctl.TipIcon()->BAddBubbleId(5899);  // no text
        m_ctl.TipIcon()->BAddBubbleId(5832);
    }
    void Send(UINT msg, WPARAM wParam = 0) { SendMessageW(Icon(), msg, wParam, 0); }
    std::wstring Expected() {
        return m_texts.Text(5452) + L"\t\n\t" + m_texts.Text(5831) + L"\t\n\t\t\n\t" + m_texts.Text(5832) + L"\t\n";
    }
};

TEST_F(TipMessage, ClickShowsTheTipsOfTheFeature) {
    CBoxAnswers boxes;
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(CZQFeatureTipWindow::kStatePressed, m_ctl.TipIcon()->TipWindow()->State());
    Send(WM_LBUTTONUP);
    EXPECT_EQ(CZQFeatureTipWindow::kStateNormal, m_ctl.TipIcon()->TipWindow()->State());
    ASSERT_EQ(1u, boxes.Boxes().size());
    const zqcontest::ShownBox& box = boxes.Boxes()[0];
    EXPECT_EQ(L"Feature tip ", box.caption);
    EXPECT_EQ(Expected(), box.text);
    EXPECT_EQ(m_dlg.Dlg(), box.owner);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), box.type);
    ASSERT_FALSE(m_texts.Text(5452).empty()) << "the stand-in has the texts";
}

TEST_F(TipMessage, LeavingTheIconBeforeTheReleaseShowsNothing) {
    CBoxAnswers boxes;
    Send(WM_LBUTTONDOWN);
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(CZQFeatureTipWindow::kStateNormal, m_ctl.TipIcon()->TipWindow()->State());
    Send(WM_LBUTTONUP);
    Send(WM_LBUTTONUP);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(TipMessage, SpaceBarOpensTheTipOtherKeysDoNot) {
    CBoxAnswers boxes;
    Send(WM_KEYUP, VK_SPACE);
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYUP, VK_RETURN);
    EXPECT_TRUE(boxes.Boxes().empty());
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(CZQFeatureTipWindow::kStatePressed, m_ctl.TipIcon()->TipWindow()->State());
    Send(WM_KEYUP, VK_SPACE);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(Expected(), boxes.Boxes()[0].text);
}

TEST_F(TipMessage, NothingToShowWithoutBubbleIds) {
    m_ctl.TipIcon()->BRemoveBubbleId(5831);
    m_ctl.TipIcon()->BRemoveBubbleId(5832);
    m_ctl.TipIcon()->BRemoveBubbleId(5899);
    CBoxAnswers boxes;
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    EXPECT_TRUE(boxes.Boxes().empty());
    // The window draws itself: erasing needs a device context.
    EXPECT_EQ(FALSE, SendMessageW(Icon(), WM_ERASEBKGND, 0, 0));
    HDC dc = GetDC(Icon());
    EXPECT_EQ(TRUE, SendMessageW(Icon(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(Icon(), dc);
}

// ---------------------------------------------------------------------------------------------
// The three controllers of the gate
// ---------------------------------------------------------------------------------------------
class DerivedControllers : public ::testing::Test {
protected:
    void Build(LONG margins = 0, LONG grayscale = 0, LONG passes = 0, const char* colorOptions = nullptr) {
        zqcontest::AddControllerFeatures(m_host, margins, grayscale, passes);
        if (colorOptions) m_host.Add(zqtest::ValueFeature("ZQColorOptions", colorOptions));
        m_host.Build();
        m_logic.m_pParam = m_host.Param();
    }
    template <typename T>
    std::unique_ptr<T> Make(const wchar_t* name) {
        auto ctl = std::make_unique<T>();
        ctl->BSetFeatureName(name, GetModuleHandleW(nullptr), nullptr);
        ctl->VSetLogic(&m_logic);
        return ctl;
    }

    zqtest::COptItemFixture m_host;
    zqcontest::CTestLogic m_logic;
    CTestDialog m_dlg;
};

TEST_F(DerivedControllers, MarginsSpeakAutoOnAndAutoOff) {
    Build(3);
    auto margins = Make<CZQMarginsController>(L"ZQBorderless");
    WCHAR value[64];
    ASSERT_TRUE(margins->BReadCurrentOption(value, 64));
    EXPECT_STREQ(L"AutoOn", value);
    EXPECT_TRUE(margins->BSetValueText(L"AutoOff"));
    EXPECT_EQ("Standard", m_host.Current("ZQPrintWithMargins")) << "leaving borderless: option 0";
    EXPECT_TRUE(margins->BSetValueText(L"autoon"));
    EXPECT_EQ("NoMargins", m_host.Current("ZQPrintWithMargins")) << "option 3";
    ASSERT_TRUE(margins->BReadCurrentOption(value, 64));
    EXPECT_STREQ(L"AutoOn", value);
    EXPECT_TRUE(margins->BSetIndex(2));
    ASSERT_TRUE(margins->BReadCurrentOption(value, 64));
    EXPECT_STREQ(L"AutoOff", value);
    EXPECT_FALSE(margins->BSetIndex(4));
}

TEST_F(DerivedControllers, MarginsKeepABorderedLayoutTheUserChose) {
    Build(1);
    auto margins = Make<CZQMarginsController>(L"ZQBorderless");
    m_host.ClearUpdates();
    EXPECT_TRUE(margins->BSetValueText(L"AutoOff"));
    EXPECT_EQ("OversizePaper", m_host.Current("ZQPrintWithMargins")) << "oversize is not borderless already";
    EXPECT_TRUE(m_host.Updates().empty());
    // Attaching reads and sets the value again: the layout stays as it is.
    ASSERT_TRUE(margins->BAttachById(m_dlg.Dlg(), IDC_RB_BORDERLESS));
    EXPECT_EQ("OversizePaper", m_host.Current("ZQPrintWithMargins"));
    EXPECT_STREQ(L"AutoOff", margins->PszValueText());
}

TEST_F(DerivedControllers, MarginsAttachRegistersItsAnchorAndDisablesTheBorderlessChoices) {
    Build(3);
    auto margins = Make<CZQMarginsController>(L"ZQBorderless");
    SendMessageW(m_dlg.Item(IDC_RB_BORDERLESS), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(margins->BAttachById(m_dlg.Dlg(), IDC_RB_BORDERLESS));
    ASSERT_EQ(1, margins->Controls().GetCount());
    const auto* node = static_cast<const CZQControlNode*>(margins->Controls().GetAt(0));
    EXPECT_STREQ(L"AllOptions", node->m_szName);
    EXPECT_EQ(IDC_RB_BORDERLESS, node->m_iCtrlId);
    EXPECT_EQ("NoMargins", m_host.Current("ZQPrintWithMargins")) << "borderless stays borderless";

    EXPECT_TRUE(margins->BEnableAll(FALSE));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(m_dlg.Item(IDC_RB_BORDERLESS), BM_GETCHECK, 0, 0));
    for (int id : {IDC_RB_BORDERLESS, IDC_RB_AUTO_PRINTER, IDC_RB_MANUALLY_PRINTER})
        EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(m_dlg.Item(kIdOther)));
    EXPECT_TRUE(margins->BEnableAll(TRUE));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(IDC_RB_BORDERLESS))) << "enabling changes no control";
    EXPECT_TRUE(margins->BEnabled());
    margins->BDetach();
    EXPECT_FALSE(margins->BEnableAll(FALSE)) << "no dialog";
}

TEST_F(DerivedControllers, ColorOptionsAcceptOnlyTheGrayscaleChoices) {
    Build(0, 0, 0, "Grayscale");
    auto color = Make<CZQColorOptionsController>(L"ZQPrintInGrayScale");
    EXPECT_FALSE(color->BSetValueText(L"TRUE"));
    EXPECT_STREQ(L"", color->PszValueText()) << "refused: nothing changes";
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_TRUE(color->BSetValueText(L"grayandblackinks"));
    EXPECT_EQ("GrayandBlackInks", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_FALSE(color->BSetIndex(1));
    WCHAR value[64];
    ASSERT_TRUE(color->BReadCurrentOption(value, 64));
    EXPECT_STREQ(L"GrayandBlackInks", value);
}

TEST_F(DerivedControllers, ColorPrintingLeavesNoGrayscaleChoice) {
    Build(0, 2, 0, "Color");
    auto color = Make<CZQColorOptionsController>(L"ZQPrintInGrayScale");
    EXPECT_TRUE(color->BSetValueText(L"GrayandBlackInks"));
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_STREQ(L"FALSE", color->PszValueText());
}

TEST_F(DerivedControllers, ColorOptionsEnableGrayscaleOnlyAsTheLogicAllows) {
    Build(0, 1, 0);
    CZQColorOptionsController::VForgetFirstAttachForTesting();
    auto color = Make<CZQColorOptionsController>(L"ZQPrintInGrayScale");
    HWND gray = m_dlg.Item(IDC_CBO_GRAYSCALE);
    EnableWindow(gray, FALSE);
    ASSERT_TRUE(color->BAttachById(m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    EXPECT_FALSE(color->BEnabled()) << "first attach: the anchor's state";
    EXPECT_FALSE(IsWindowEnabled(gray));
    EXPECT_EQ("GrayandBlackInks", m_host.Current("ZQPrintInGrayScale"));

    m_logic.m_bGreyscale = FALSE;
    EXPECT_TRUE(color->BEnableAll(TRUE));
    EXPECT_FALSE(IsWindowEnabled(gray));
    m_logic.m_bGreyscale = TRUE;
    EXPECT_TRUE(color->BEnableAll(TRUE));
    EXPECT_TRUE(IsWindowEnabled(gray));

    // Later attaches keep the controller's own state.
    color->BDetach();
    EnableWindow(gray, FALSE);
    ASSERT_TRUE(color->BAttachById(m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    EXPECT_TRUE(color->BEnabled());
    EXPECT_TRUE(IsWindowEnabled(gray));

    // The first attach is the process's: a second binding's controller keeps its own state too.
    auto other = Make<CZQColorOptionsController>(L"ZQPrintInGrayScale");
    CTestDialog page;
    EnableWindow(page.Item(IDC_CBO_GRAYSCALE), FALSE);
    ASSERT_TRUE(other->BAttachById(page.Dlg(), IDC_CBO_GRAYSCALE));
    EXPECT_TRUE(other->BEnabled());
    EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_CBO_GRAYSCALE)));
}

TEST_F(DerivedControllers, MorePassesSelectsOnlyItsOwnOptions) {
    Build();
    auto passes = Make<CZQMorePassesController>(L"ZQMorePasses");
    EXPECT_TRUE(passes->BSetValueText(L"enabled"));
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
    m_host.ClearUpdates();
    EXPECT_TRUE(passes->BSetValueText(L"Sometimes"));
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_STREQ(L"Sometimes", passes->PszValueText());
    EXPECT_FALSE(passes->BSetIndex(0));
}

TEST_F(DerivedControllers, MorePassesDisableClearsAndDisablesItsCheckBox) {
    Build(0, 0, 1);
    auto passes = Make<CZQMorePassesController>(L"ZQMorePasses");
    HWND check = m_dlg.Item(IDC_PQ_CHECK_MORE_PASSES);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(passes->BAttachById(m_dlg.Dlg(), IDC_PQ_CHECK_MORE_PASSES));
    EXPECT_STREQ(L"Enabled", passes->PszValueText());
    EXPECT_TRUE(passes->BEnableAll(FALSE));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(check));
    EXPECT_TRUE(passes->BEnableAll(TRUE));
    EXPECT_TRUE(IsWindowEnabled(check));
    // A dialog opened while the controller is disabled starts disabled.
    passes->BEnableAll(FALSE);
    passes->BDetach();
    CTestDialog again;
    ASSERT_TRUE(passes->BAttachById(again.Dlg(), IDC_PQ_CHECK_MORE_PASSES));
    EXPECT_FALSE(IsWindowEnabled(again.Item(IDC_PQ_CHECK_MORE_PASSES)));
}

}  // namespace
