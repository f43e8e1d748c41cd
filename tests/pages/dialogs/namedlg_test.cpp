// The name dialog with a Task Preset's question: its words, the edit's limit, OK offered only for a
// name that is not blank, the name typed handed back on OK and nothing on Cancel.
#include <gtest/gtest.h>

#include <string>

#include "common/zquibase.h"
#include "featurelogic/zqquicksets.h"
#include "pagetest.h"
#include "pages/dialogs/zqnamedlg.h"
#include "res/zqquicksetids.h"

namespace {

class NameDialog : public PaperQualityPage {};

TEST_F(NameDialog, OffersOkOnlyForAName) {
    CZQQuickSets quickSets;
    const ZQNameQuestion question = quickSets.NameQuestion();
    CZQNameDlg dialog(Resources());
    for (bool ok : {true, false}) {
        WCHAR name[CZQQuickSets::kNameChars] = L"before";
        const INT_PTR result = Modal(
            [&] { return INT_PTR{dialog.BAskName(m_parent, FALSE, question, name, CZQQuickSets::kNameChars)}; },
            [&](HWND dlg) {
                WCHAR caption[64] = {};
                GetWindowTextW(dlg, caption, 64);
                EXPECT_STREQ(L"Task Presets", caption);
                EXPECT_EQ(L"Please type a name for the new Task Preset:", DlgText(dlg, IDC_STA_PRESET_NAME));
                HWND edit = GetDlgItem(dlg, IDC_TXT_PRESET_NAME);
                EXPECT_EQ(81, static_cast<int>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
                for (const auto& [text, offered] :
                     {std::pair<PCWSTR, bool>{L"   ", false}, {L"", false}, {L" x ", true}}) {
                    SetWindowTextW(edit, text);
                    Notice(dlg, IDC_TXT_PRESET_NAME, EN_CHANGE);
                    EXPECT_EQ(offered, IsWindowEnabled(GetDlgItem(dlg, IDOK)) != FALSE) << text;
                }
                Click(dlg, ok ? IDOK : IDCANCEL);
            });
        EXPECT_EQ(ok, result != FALSE);
        EXPECT_STREQ(ok ? L" x " : L"before", name);
    }
}

}  // namespace
