// The large-format printer's loaded paper as its answers under "ZQBIDIInfo" tell it: the lines of
// the rolls or sources, the title above them, the words of an answer that says nothing (unknown
// or unloaded), and the facts that decide which roll boxes the answers allow.
#pragma once

#include "common/zqcommon.h"

class CZQLoadedPaper {
public:
    // The lines' text: 255 characters and its end.
    static constexpr size_t kLinesChars = 256;

    // The words come from `texts` (the status module), the answers from the block's printer.
    CZQLoadedPaper(CZQCommon& texts, POEMCUIPPARAM pParam) : m_texts(texts), m_pParam(pParam) {}

    // Whether an answer is one of the unknown (or unloaded) words, without case.
    BOOL BIsUnknownText(PCWSTR pszText);
    BOOL BIsUnloadedText(PCWSTR pszText);
    // One answer ("<prefix><field>", 256 characters); FALSE when the printer gave none.
    BOOL BReadAnswer(PCWSTR pszPrefix, PCWSTR pszField, PWSTR pszText) const;
    // A roll's or source's line appended to the lines: its label, its paper's name (or type) and
    // width, or the word that says nothing is known or loaded.
    void VAppendLine(PCWSTR pszPrefix, PCWSTR pszLabel, PWSTR pszLines);
    // The lines of the sources "InstalledRolls" names ("Roll1_Sheet"); FALSE without it.
    BOOL BSourceLines(PWSTR pszLines);
    // The lines of the rolls "InstalledRolls" counts ("Roll1", "2Rolls", else three); FALSE
    // without it.
    BOOL BRollLines(PWSTR pszLines);
    // On a large-format printer the title and the lines' control show, the title drawn bold in the
    // face of the system's menus; FALSE on other printers.
    BOOL BShowTitle(BOOL bLargeFormat, HWND hTitle, HWND hLines);
    // The roll ("Roll1", "Roll2") whose width the printer answers as unknown or unloaded.
    bool BRollEmpty(int iRoll) const;
    // The current source: 0 the source item's first entry, 1 its option keyword read into pszOption
    // (256 characters), -1 none.
    int ISourceOption(bool bPostScript, PWSTR pszOption) const;
    // A job sent as a 24-bit picture that the settings do not turn.
    bool BSentAsBitmap() const;
    // The rolls an option of "InstalledRolls" counts: "Roll1" one, "2Rolls" two, others three.
    static int IRollCount(PCWSTR pszInstalledRolls);
    // The answer or option is the word, without case.
    static bool BTokenIs(PCWSTR pszToken, PCWSTR pszWord);

private:
    BOOL BAnyTextIs(PCWSTR pszText, const int* piIds, int cIds, PCWSTR pszEnglish);

    CZQCommon& m_texts;
    POEMCUIPPARAM m_pParam;
};
