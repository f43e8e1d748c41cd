// Helpers of the constraint tests: a logic object over a fixture's parameter block, a real dialog
// made from a template built here, answers for the message boxes, and the features the three
// controllers and the sample rules work on.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "xmlrules/zqconstraintctl.h"

namespace zqcontest {

class CTestLogic : public IZQConstraintLogic {
public:
    POEMCUIPPARAM PCurrentCallParam() const override { return m_pParam; }
    BOOL BGreyscaleEnabled() const override { return m_bGreyscale; }
    POEMCUIPPARAM m_pParam = nullptr;
    BOOL m_bGreyscale = TRUE;
};

// The status module of the build folder, as a plug-in object's text helper would hold it: a
// memory printer whose driver lives beside the test (installed while the object lives).
class CStatusTexts {
public:
    CStatusTexts();
    ~CStatusTexts();
    CStatusTexts(const CStatusTexts&) = delete;
    CStatusTexts& operator=(const CStatusTexts&) = delete;
    CZQCommon* Loader() { return &m_common; }
    HANDLE Handle() const { return m_hPrinter; }
    zqspool::CZQMemoryPrinter& Printer() { return m_printer; }
    // The text of an id, as the tips load it.
    std::wstring Text(INT id);

private:
    zqspool::CZQMemoryPrinter m_printer;
    HANDLE m_hPrinter = nullptr;
    CZQCommon m_common;
};

// Control ids of the test dialog besides the controllers' own (917, 999, 1020, 1048, 1050).
enum : int {
    kIdAnchor = 1100,  // an edit control the generic controllers attach beside
    kIdOther = 1101,   // a button
};

// A modeless dialog with every control the controllers know, on the test's thread.
class CTestDialog {
public:
    CTestDialog();
    ~CTestDialog();
    CTestDialog(const CTestDialog&) = delete;
    CTestDialog& operator=(const CTestDialog&) = delete;
    HWND Dlg() const { return m_hDlg; }
    HWND Item(int id) const { return GetDlgItem(m_hDlg, id); }

private:
    HWND m_hDlg = nullptr;
};

// One message box as the plug-in showed it.
struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Answers every message box of the plug-in in place of the user, in order (IDOK once the
// answers run out), and records what each box showed.
class CBoxAnswers {
public:
    explicit CBoxAnswers(std::vector<int> answers = {});
    ~CBoxAnswers();
    CBoxAnswers(const CBoxAnswers&) = delete;
    CBoxAnswers& operator=(const CBoxAnswers&) = delete;
    const std::vector<ShownBox>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static int Answer(void* pContext, HWND hOwner, PCWSTR pszText, PCWSTR pszCaption, UINT uType);
    std::vector<int> m_answers;
    std::vector<ShownBox> m_boxes;
};

// The features the controllers read and set, at their first option unless given.
void AddControllerFeatures(zqtest::COptItemFixture& host, LONG margins = 0, LONG grayscale = 0, LONG passes = 0);
// The window's own visible style (the test dialog itself stays hidden).
bool HasVisibleStyle(HWND hWnd);

}  // namespace zqcontest
