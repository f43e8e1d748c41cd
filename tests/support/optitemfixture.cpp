#include "optitemfixture.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/zqcommon.h"

namespace zqtest {
namespace {

constexpr size_t kEditChars = 256;
constexpr size_t kEditGuard = 8;  // non-zero characters behind a full text catch unbounded readers

bool SameKeyword(const std::string& a, const char* b) {
    if (!b || a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string ToAnsi(const std::wstring& w) {
    if (w.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

FixtureFeature ListFeature(const std::string& keyword, const std::vector<std::pair<std::string, std::wstring>>& options,
                           LONG sel, BYTE pubId) {
    FixtureFeature f;
    f.keyword = keyword;
    f.sel = sel;
    f.pubId = pubId;
    for (const auto& [kw, name] : options) {
        FixtureOption o;
        o.keyword = kw;
        o.name = name;
        f.options.push_back(o);
    }
    return f;
}

FixtureFeature ValueFeature(const std::string& keyword, const std::string& value) {
    FixtureFeature f;
    f.keyword = keyword;
    f.kind = FixtureKind::ValueOnly;
    f.value = value;
    return f;
}

COptItemFixture::COptItemFixture() {
    m_procs.DrvGetDriverSetting = &GetDriverSetting;
    m_procs.DrvUpdateUISetting = &UpdateUISetting;
    m_host.obj.cbSize = sizeof(OEMUIOBJ);
    m_host.obj.pOemUIProcs = &m_procs;
    m_host.self = this;
    m_param.cbSize = sizeof m_param;
    m_param.poemuiobj = &m_host.obj;
    m_param.hOEMHeap = GetProcessHeap();
    m_param.dwFlags = OEMCUIP_DOCPROP;
}

COptItemFixture::~COptItemFixture() = default;

void COptItemFixture::Add(const FixtureFeature& feature) {
    if (m_built) return;
    Entry e;
    e.desc = feature;
    m_entries.push_back(std::move(e));
}

void COptItemFixture::Build() {
    if (m_built) return;
    m_built = true;
    // New items, as a sheet's CommonUIProp builds them: nothing learned of earlier ones holds.
    CZQCommon::VForgetOptionKeywords();
    size_t nCore = 0, nOem = 0;
    for (const Entry& e : m_entries)
        if (e.desc.kind != FixtureKind::ValueOnly) ++(e.desc.oem ? nOem : nCore);
    m_coreItems.assign(nCore, OPTITEM{});
    m_oemItems.assign(nOem, OPTITEM{});
    size_t iCore = 0, iOem = 0;
    for (Entry& e : m_entries) {
        const FixtureFeature& f = e.desc;
        e.driverSel = f.sel;
        if (f.kind == FixtureKind::ValueOnly) {
            e.driverText.assign(f.value.begin(), f.value.end());
            continue;
        }
        OPTITEM& item = f.oem ? m_oemItems[iOem++] : m_coreItems[iCore++];
        e.item = &item;
        e.userData.dwSize = sizeof(USERDATA);
        e.userData.pKeyWordName = f.keyword.empty() ? nullptr : const_cast<PSTR>(e.desc.keyword.c_str());
        item.cbSize = sizeof(OPTITEM);
        item.Flags = f.flags;
        item.UserData = reinterpret_cast<ULONG_PTR>(&e.userData);
        item.DMPubID = f.pubId;
        item.pOptType = &e.type;
        e.type.cbSize = sizeof(OPTTYPE);
        switch (f.kind) {
            case FixtureKind::List:
            case FixtureKind::CheckBox:
                e.type.Type = f.kind == FixtureKind::List ? TVOT_COMBOBOX : TVOT_CHKBOX;
                if (f.kind == FixtureKind::CheckBox) {
                    e.params.assign(1, OPTPARAM{});
                    e.params[0].pData = const_cast<PWSTR>(L"");
                } else {
                    e.params.assign(f.options.size(), OPTPARAM{});
                    for (size_t i = 0; i < f.options.size(); ++i) {
                        const FixtureOption& o = e.desc.options[i];
                        OPTPARAM& p = e.params[i];
                        p.cbSize = sizeof(OPTPARAM);
                        p.pData = o.nameResId ? reinterpret_cast<PWSTR>(static_cast<ULONG_PTR>(o.nameResId))
                                              : const_cast<PWSTR>(o.name.c_str());
                        p.Flags = static_cast<BYTE>((o.hidden ? OPTPF_HIDE : 0) |
                                                    (o.conflict ? OPTPF_OVERLAY_WARNING_ICON : 0));
                    }
                }
                item.Sel = f.sel;
                break;
            case FixtureKind::Edit: {
                e.type.Type = TVOT_EDITBOX;
                e.params.assign(1, OPTPARAM{});
                e.params[0].pData = const_cast<PWSTR>(L"");
                e.editBuffer.assign(kEditChars + kEditGuard, L'#');
                const size_t n = std::min(f.text.size(), kEditChars);
                std::copy(f.text.begin(), f.text.begin() + static_cast<ptrdiff_t>(n), e.editBuffer.begin());
                if (n < kEditChars) e.editBuffer[n] = 0;
                item.pSel = e.editBuffer.data();
                e.driverText = f.text.substr(0, n);
                break;
            }
            case FixtureKind::UpDown:
                e.type.Type = TVOT_UDARROW;
                e.params.assign(2, OPTPARAM{});
                e.params[0].pData = const_cast<PWSTR>(L"");
                e.params[1].IconID = static_cast<ULONG_PTR>(static_cast<USHORT>(f.low));
                e.params[1].lParam = static_cast<LPARAM>(static_cast<USHORT>(f.high));
                item.Sel = f.sel;
                break;
            case FixtureKind::Push:
                e.type.Type = TVOT_PUSHBUTTON;
                e.params.assign(1, OPTPARAM{});
                break;
            case FixtureKind::ValueOnly:
                break;
        }
        e.type.Count = static_cast<WORD>(e.params.size());
        e.type.pOptParam = e.params.data();
    }
    m_param.pDrvOptItems = m_coreItems.empty() ? nullptr : m_coreItems.data();
    m_param.cDrvOptItems = static_cast<DWORD>(m_coreItems.size());
    m_param.pOEMOptItems = m_oemItems.empty() ? nullptr : m_oemItems.data();
    m_param.cOEMOptItems = static_cast<DWORD>(m_oemItems.size());
}

COptItemFixture::Entry* COptItemFixture::Find(const std::string& keyword) {
    for (Entry& e : m_entries)
        if (SameKeyword(e.desc.keyword, keyword.c_str())) return &e;
    return nullptr;
}

const COptItemFixture::Entry* COptItemFixture::Find(const std::string& keyword) const {
    return const_cast<COptItemFixture*>(this)->Find(keyword);
}

OPTITEM* COptItemFixture::Item(const std::string& keyword) {
    Entry* e = Find(keyword);
    return e ? e->item : nullptr;
}

OPTITEM* COptItemFixture::ItemByPubId(BYTE pubId, bool oem) {
    for (Entry& e : m_entries)
        if (e.item && e.desc.pubId == pubId && e.desc.oem == oem) return e.item;
    return nullptr;
}

std::string COptItemFixture::AnswerFor(const Entry& e) const {
    switch (e.desc.kind) {
        case FixtureKind::List:
        case FixtureKind::CheckBox:
            if (e.driverSel < 0 || static_cast<size_t>(e.driverSel) >= e.desc.options.size()) return std::string();
            return e.desc.options[static_cast<size_t>(e.driverSel)].keyword;
        case FixtureKind::Edit:
        case FixtureKind::ValueOnly:
            return ToAnsi(e.driverText);
        case FixtureKind::UpDown:
            return std::to_string(e.driverSel);
        case FixtureKind::Push:
            break;
    }
    return std::string();
}

std::string COptItemFixture::Current(const std::string& keyword) const {
    const Entry* e = Find(keyword);
    return e ? AnswerFor(*e) : std::string();
}

void COptItemFixture::SetSelection(const std::string& keyword, LONG sel) {
    Entry* e = Find(keyword);
    if (!e) return;
    e->driverSel = sel;
    if (e->item) e->item->Sel = sel;
}

void COptItemFixture::AddConflictRule(const std::string& feature, const std::string& option, const std::string& target,
                                      const std::string& targetOption) {
    m_rules.push_back({feature, option, target, targetOption});
}

void COptItemFixture::ApplyRules(const Entry& changed) {
    for (const Rule& r : m_rules) {
        if (!SameKeyword(r.feature, changed.desc.keyword.c_str())) continue;
        Entry* target = Find(r.target);
        if (!target || !target->item) continue;
        const bool on = SameKeyword(r.option, AnswerFor(changed).c_str());
        for (size_t i = 0; i < target->desc.options.size() && i < target->params.size(); ++i) {
            if (!SameKeyword(r.targetOption, target->desc.options[i].keyword.c_str())) continue;
            BYTE& flags = target->params[i].Flags;
            flags = static_cast<BYTE>(on ? (flags | OPTPF_OVERLAY_WARNING_ICON) : (flags & ~OPTPF_OVERLAY_WARNING_ICON));
        }
    }
}

BOOL APIENTRY COptItemFixture::GetDriverSetting(PVOID pdriverobj, PCSTR feature, PVOID pOutput, DWORD cbSize,
                                                PDWORD pcbNeeded, PDWORD pdwOptionsReturned) {
    auto* self = static_cast<HostObject*>(pdriverobj)->self;
    ++self->m_settingCalls;
    const Entry* e = feature ? self->Find(feature) : nullptr;
    const bool failing = feature && std::any_of(self->m_failing.begin(), self->m_failing.end(),
                                                [&](const std::string& k) { return SameKeyword(k, feature); });
    if (!e || failing || e->desc.kind == FixtureKind::Push) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string answer = self->AnswerFor(*e);
    const bool terminate = self->m_fault != SettingFault::Unterminated;
    DWORD needed = static_cast<DWORD>(answer.size() + (terminate ? 1 : 0));
    if (self->m_fault == SettingFault::Growing) needed = std::max(needed, cbSize + 16);
    if (pcbNeeded) *pcbNeeded = needed;
    if (!pOutput || cbSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(pOutput, answer.c_str(), needed);
    if (pdwOptionsReturned) *pdwOptionsReturned = 1;
    return TRUE;
}

BOOL APIENTRY COptItemFixture::UpdateUISetting(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection,
                                               DWORD dwMode) {
    auto* self = static_cast<HostObject*>(pdriverobj)->self;
    auto* item = static_cast<OPTITEM*>(pOptItem);
    Entry* e = nullptr;
    for (Entry& x : self->m_entries)
        if (x.item == item) e = &x;
    UpdateRecord r;
    r.previous = dwPreviousSelection;
    r.mode = dwMode;
    if (!e) {
        self->m_updates.push_back(r);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    r.keyword = e->desc.keyword;
    r.pubId = e->desc.pubId;
    r.itemFlags = item->Flags;
    if (e->desc.kind == FixtureKind::Edit) {
        const WCHAR* text = item->pSel;
        size_t n = 0;
        while (n < kEditChars && text[n]) ++n;
        r.text.assign(text, n);
        e->driverText = r.text;
    } else {
        r.sel = item->Sel;
        e->driverSel = item->Sel;
        if (e->desc.kind == FixtureKind::List && item->Sel >= 0 && static_cast<size_t>(item->Sel) < e->params.size())
            r.overlayAtCall = (e->params[static_cast<size_t>(item->Sel)].Flags & OPTPF_OVERLAY_WARNING_ICON) != 0;
    }
    self->m_updates.push_back(r);
    self->ApplyRules(*e);
    return TRUE;
}

}  // namespace zqtest
