// A core driver's option items in process, for tests of everything that reads and sets features:
// OPTITEM/OPTTYPE/OPTPARAM arrays with USERDATA keywords (core items and the plug-in's own), and an
// OEMCUIPPARAM whose callback table behaves like the core driver's. DrvGetDriverSetting answers a
// feature's option keyword from the driver's own record, which - as in the core driver - follows an
// item's selection only once DrvUpdateUISetting reports it; it keeps the size-probe protocol (FALSE,
// last error 122 and the size needed). DrvUpdateUISetting logs each call.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/oemuiplatform.h"

namespace zqtest {

struct FixtureOption {
    std::string keyword;
    std::wstring name;      // display name as a text
    WORD nameResId = 0;     // non-zero: the display name is this resource id instead
    bool hidden = false;    // OPTPF_HIDE
    bool conflict = false;  // OPTPF_OVERLAY_WARNING_ICON, the constraint-conflict mark
};

enum class FixtureKind {
    List,       // combo box; Sel is the option's position
    CheckBox,   // one parameter, Sel 0 or 1; options give the keywords of 0 and 1
    Edit,       // pSel points at the item's 256-character text
    UpDown,     // Sel is a number between low and high (the copy count)
    Push,       // a push button: no value
    ValueOnly,  // a feature the driver has a value for but no item
};

struct FixtureFeature {
    std::string keyword;  // empty: an item without keyword
    FixtureKind kind = FixtureKind::List;
    BYTE pubId = 0;
    bool oem = false;  // one of the plug-in's own items
    std::vector<FixtureOption> options;
    LONG sel = 0;
    LONG low = 1;
    LONG high = 999;
    std::wstring text;   // Edit
    std::string value;   // ValueOnly
    DWORD flags = 0;     // initial OPTIF_* flags
};

// Shorthands: a list feature from (keyword, name) pairs, and a value-only feature.
FixtureFeature ListFeature(const std::string& keyword, const std::vector<std::pair<std::string, std::wstring>>& options,
                           LONG sel = 0, BYTE pubId = 0);
FixtureFeature ValueFeature(const std::string& keyword, const std::string& value);

struct UpdateRecord {
    std::string keyword;
    BYTE pubId = 0;
    LONG sel = 0;           // the item's selection (list, check box, number) at call time
    std::wstring text;      // Edit: the item's text at call time
    DWORD previous = 0;     // previous selection passed by the caller
    DWORD mode = 0;
    DWORD itemFlags = 0;    // OPTIF_* at call time
    bool overlayAtCall = false;  // the selected option carried the conflict mark during the call
};

enum class SettingFault {
    None,
    Unterminated,  // answers without the terminating zero
    Growing,       // every answer needs more room than the buffer it was given
};

class COptItemFixture {
public:
    COptItemFixture();
    ~COptItemFixture();
    COptItemFixture(const COptItemFixture&) = delete;
    COptItemFixture& operator=(const COptItemFixture&) = delete;

    // Add features, then Build once.
    void Add(const FixtureFeature& feature);
    void Build();

    OEMCUIPPARAM* Param() { return &m_param; }
    OPTITEM* Item(const std::string& keyword);
    OPTITEM* ItemByPubId(BYTE pubId, bool oem = false);

    // The driver's record of a feature's option keyword ("" when it has none).
    std::string Current(const std::string& keyword) const;
    // Selects in the item and in the driver's record at once (set-up, not a report).
    void SetSelection(const std::string& keyword, LONG sel);

    void SetFault(SettingFault fault) { m_fault = fault; }
    // DrvGetDriverSetting fails for this feature.
    void FailFeature(const std::string& keyword) { m_failing.push_back(keyword); }
    // After a report of `feature`, `targetOption` of `target` carries the conflict mark exactly while
    // `feature` stands at `option`.
    void AddConflictRule(const std::string& feature, const std::string& option, const std::string& target,
                         const std::string& targetOption);

    const std::vector<UpdateRecord>& Updates() const { return m_updates; }
    void ClearUpdates() { m_updates.clear(); }
    int SettingCalls() const { return m_settingCalls; }

private:
    struct Entry {
        FixtureFeature desc;
        OPTITEM* item = nullptr;
        std::vector<OPTPARAM> params;
        OPTTYPE type = {};
        USERDATA userData = {};
        std::vector<WCHAR> editBuffer;
        LONG driverSel = 0;
        std::wstring driverText;
    };
    struct Rule {
        std::string feature, option, target, targetOption;
    };
    struct HostObject {
        OEMUIOBJ obj;
        COptItemFixture* self;
    };

    static BOOL APIENTRY GetDriverSetting(PVOID pdriverobj, PCSTR feature, PVOID pOutput, DWORD cbSize,
                                          PDWORD pcbNeeded, PDWORD pdwOptionsReturned);
    static BOOL APIENTRY UpdateUISetting(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode);

    Entry* Find(const std::string& keyword);
    const Entry* Find(const std::string& keyword) const;
    std::string AnswerFor(const Entry& e) const;
    void ApplyRules(const Entry& changed);

    std::deque<Entry> m_entries;
    std::vector<OPTITEM> m_coreItems;
    std::vector<OPTITEM> m_oemItems;
    OEMUIPROCS m_procs = {};
    HostObject m_host = {};
    OEMCUIPPARAM m_param = {};
    std::vector<Rule> m_rules;
    std::vector<std::string> m_failing;
    std::vector<UpdateRecord> m_updates;
    SettingFault m_fault = SettingFault::None;
    int m_settingCalls = 0;
    bool m_built = false;
};

}  // namespace zqtest
