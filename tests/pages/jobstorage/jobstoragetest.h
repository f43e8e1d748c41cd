// The Job Storage page in process (pagefixture.h): the settings of a printer that keeps jobs (all
// five modes, the choice for a job name it holds offered), the encoding of its names, and the page's
// window from the plug-in's own template at sheet position 1.
#pragma once

#include <memory>
#include <string>

#include "pagefixture.h"
#include "pages/jobstorage/zqjobstoragepage.h"
#include "res/zqjobstorageids.h"

class JobStoragePage : public PageFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The page object over the settings m_core holds (a test changes them first), with the encoding
    // given ("": the printer names none).
    void Build(const std::string& encoding = "8bitEncoding");
    HWND Open(WORD wTemplate = IDD_DLG_JOBSTORAGEPAGE) { return OpenPage(wTemplate, &JobStoragePageDlgProc); }
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    static std::wstring Name(const zqwchar (&name)[257]) { return reinterpret_cast<const wchar_t*>(name); }
    // Text typed into an edit (its change notices follow), then the edit left.
    void Type(int id, const wchar_t* text) { SetDlgItemTextW(m_page, id, text); }
    void Leave(int id) { Notice(m_page, id, EN_KILLFOCUS); }
    // The Windows user name the page reads (Wine's own while null).
    static void SetUser(const wchar_t* name);

    CZQJobStorageTab* m_tab = nullptr;
};
