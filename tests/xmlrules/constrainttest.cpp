#include "constrainttest.h"

#include <utility>

#include "common/zqmsgbox.h"
#include "testsupport.h"

namespace zqcontest {

namespace {

// A dialog template in memory: the header, then each item DWORD-aligned.
class CTemplate {
public:
    CTemplate(DWORD style, short cx, short cy) {
        Dword(style);
        Dword(0);
        m_countAt = m_words.size();
        Word(0);  // item count, patched as items are added
        Word(0);
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // default class
        Word(0);  // no title
    }
    void Add(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id) {
        if (m_words.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Word(0);  // no text
        Word(0);  // no creation data
        ++m_words[m_countAt];
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    std::vector<WORD> m_words;
    size_t m_countAt = 0;
};

INT_PTR CALLBACK TestDlgProc(HWND, UINT uMsg, WPARAM, LPARAM) { return uMsg == WM_INITDIALOG; }

}  // namespace

CStatusTexts::CStatusTexts() {
    m_printer.Identity().driverDirectory = zqtest::ExeDir();
    m_printer.Install();
    m_hPrinter = m_printer.Open();
    m_common.VLoadResourceModule(m_hPrinter);
}

CStatusTexts::~CStatusTexts() { zqspool::Spooler().ClosePrinter(m_hPrinter); }

std::wstring CStatusTexts::Text(INT id) {
    WCHAR text[CZQCommon::kResStringLongChars] = {};
    m_common.BLoadResStringLong(id, text);
    return text;
}

CTestDialog::CTestDialog() {
    CTemplate t(WS_POPUP | WS_CAPTION, 300, 200);
    t.Add(0x0085, CBS_DROPDOWNLIST | WS_TABSTOP, 60, 10, 100, 60, IDC_CBO_GRAYSCALE);
    t.Add(0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, 60, 30, 100, 12, IDC_PQ_CHECK_MORE_PASSES);
    t.Add(0x0080, BS_AUTORADIOBUTTON | WS_TABSTOP, 60, 50, 100, 12, IDC_RB_BORDERLESS);
    t.Add(0x0080, BS_AUTORADIOBUTTON, 60, 65, 100, 12, IDC_RB_MANUALLY_PRINTER);
    t.Add(0x0080, BS_AUTORADIOBUTTON, 60, 80, 100, 12, IDC_RB_AUTO_PRINTER);
    t.Add(0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 100, 100, 14, kIdAnchor);
    t.Add(0x0080, BS_PUSHBUTTON | WS_TABSTOP, 60, 120, 60, 14, kIdOther);
    m_hDlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, TestDlgProc, 0);
}

CTestDialog::~CTestDialog() {
    if (m_hDlg) DestroyWindow(m_hDlg);
}

CBoxAnswers::CBoxAnswers(std::vector<int> answers) : m_answers(std::move(answers)) {
    zqmsgbox::SetAnswerer(&Answer, this);
}

CBoxAnswers::~CBoxAnswers() { zqmsgbox::SetAnswerer(nullptr, nullptr); }

int CBoxAnswers::Answer(void* pContext, HWND hOwner, PCWSTR pszText, PCWSTR pszCaption, UINT uType) {
    auto* self = static_cast<CBoxAnswers*>(pContext);
    self->m_boxes.push_back({hOwner, pszText ? pszText : L"", pszCaption ? pszCaption : L"", uType});
    if (self->m_answers.empty()) return IDOK;
    const int answer = self->m_answers.front();
    self->m_answers.erase(self->m_answers.begin());
    return answer;
}

void AddControllerFeatures(zqtest::COptItemFixture& host, LONG margins, LONG grayscale, LONG passes) {
    host.Add(zqtest::ListFeature("ZQPrintWithMargins", {{"Standard", L"Standard"},
                                                        {"OversizePaper", L"Oversize"},
                                                        {"Clip", L"Clip Contents by Margins"},
                                                        {"NoMargins", L"Borderless"}},
                                 margins));
    host.Add(zqtest::ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"},
                                                        {"GrayandBlackInks", L"Black Ink Only"},
                                                        {"FullSetofInks", L"High Quality Grayscale"}},
                                 grayscale));
    host.Add(zqtest::ListFeature("ZQMorePasses", {{"Disabled", L"Off"}, {"Enabled", L"On"}}, passes));
}

bool HasVisibleStyle(HWND hWnd) { return hWnd && (GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace zqcontest
