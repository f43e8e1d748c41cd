#include "common/zqitemanswers.h"

#include <cstring>
#include <memory>
#include <new>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"

namespace zqitems {
namespace {

// A setting the core driver answered, as read.
struct Setting {
    const void* pUIObject;
    std::string keyword;
    DWORD status;
    std::vector<char> value;
    bool hasValue;
};

// Plain pointers only on the thread: an object with a destructor there would keep the module loaded.
// The memory lives from its first use until VForgetAll (each CommonUIProp, each sheet's end); the
// settings live with the outermost pass.
thread_local CZQItemMemory* t_pMemory = nullptr;
thread_local int t_passes = 0;
thread_local std::vector<Setting>* t_pSettings = nullptr;

}  // namespace

void CZQItemMemory::Keep(Option& o, DWORD dwStatus, PCWSTR pszText) {
    o.bKept = true;
    o.dwStatus = dwStatus == ZQOPT_OK && pszText ? ZQOPT_OK : ZQOPT_NOT_FOUND;
    o.keyword = o.dwStatus == ZQOPT_OK ? pszText : L"";
}

bool CZQItemMemory::Tell(const Option* o, DWORD* pdwStatus, PCWSTR* ppszText) {
    if (!o || !o->bKept) return false;
    *pdwStatus = o->dwStatus;
    *ppszText = o->dwStatus == ZQOPT_OK ? o->keyword.c_str() : nullptr;
    return true;
}

CZQItemMemory* CZQItemMemory::For(POEMCUIPPARAM p) {
    if (!t_pMemory) t_pMemory = new (std::nothrow) CZQItemMemory();
    if (!t_pMemory) return nullptr;
    CZQItemMemory& m = *t_pMemory;
    const void* object = p ? p->poemuiobj : nullptr;
    const OPTITEM* items = p ? p->pDrvOptItems : nullptr;
    const DWORD count = p && items ? p->cDrvOptItems : 0;
    if (m.m_pUIObject != object || m.m_pItems != items || m.m_cItems != count) {
        m.m_pUIObject = object;
        m.m_pItems = items;
        m.m_cItems = count;
        m.m_items.assign(count, Item());
        m.m_listing.clear();
    }
    return &m;
}

const CZQItemMemory::Item* CZQItemMemory::InBlock(const OPTITEM* pItem) const {
    if (!pItem || !m_pItems || pItem < m_pItems || pItem >= m_pItems + m_cItems) return nullptr;
    return &m_items[static_cast<size_t>(pItem - m_pItems)];
}

const CZQItemMemory::Option* CZQItemMemory::Find(const OPTITEM* pItem, LONG lIndex) const {
    const Item* item = InBlock(pItem);
    if (!item || lIndex < 0 || static_cast<size_t>(lIndex) >= item->options.size()) return nullptr;
    const Option& o = item->options[static_cast<size_t>(lIndex)];
    return o.bKept ? &o : nullptr;
}

void CZQItemMemory::VLearn(const OPTITEM* pItem, LONG lIndex, DWORD dwStatus, PCWSTR pszOption) {
    Item* in = InBlock(pItem);
    if (!in || lIndex < 0 || (dwStatus != ZQOPT_OK && dwStatus != ZQOPT_NOT_FOUND)) return;
    // Options beyond the item's list are no options of it.
    const int count = CZQCommon::IGetOptionCount(pItem);
    if (lIndex >= count) return;
    Item& item = *in;
    if (item.options.size() < static_cast<size_t>(count)) item.options.resize(static_cast<size_t>(count));
    Keep(item.options[static_cast<size_t>(lIndex)], dwStatus, pszOption);
}

void CZQItemMemory::VLearnValue(const OPTITEM* pItem, DWORD dwStatus, PCWSTR pszValue) {
    if (Item* item = InBlock(pItem)) Keep(item->value, dwStatus, pszValue);
}

bool CZQItemMemory::BKnownValue(const OPTITEM* pItem, DWORD* pdwStatus, PCWSTR* ppszValue) const {
    const Item* item = InBlock(pItem);
    return item && Tell(&item->value, pdwStatus, ppszValue);
}

bool CZQItemMemory::BKnown(const OPTITEM* pItem, LONG lIndex, DWORD* pdwStatus, PCWSTR* ppszOption) const {
    return Tell(Find(pItem, lIndex), pdwStatus, ppszOption);
}

LONG CZQItemMemory::LKnownIndex(const OPTITEM* pItem, PCWSTR pszOption) const {
    if (!pszOption) return -1;
    const int count = CZQCommon::IGetOptionCount(pItem);
    for (LONG i = 0; i < count; ++i) {
        const Option* o = Find(pItem, i);
        if (o && o->dwStatus == ZQOPT_OK && ZQEqualNoCase(o->keyword.c_str(), pszOption)) return i;
    }
    return -1;
}

PCWSTR CZQItemMemory::PszFeature(const OPTITEM* pItem, const char* pszKeyword) {
    Item* in = InBlock(pItem);
    if (!in || !pszKeyword) return nullptr;
    Item& item = *in;
    if (item.feature.empty()) {
        CZQLocalPtr<WCHAR> wide;
        if (!CZQCommon::BMultiByteToWide(wide.Put(), pszKeyword, CP_ACP)) return nullptr;
        item.feature = wide.Get();
    }
    return item.feature.c_str();
}

bool CZQItemMemory::BFindSetting(const void* pUIObject, const char* pszKeyword, DWORD* pdwStatus, char** ppValue,
                                 size_t* pcb) {
    *ppValue = nullptr;
    *pcb = 0;
    if (!t_pSettings || !pszKeyword) return false;
    for (const Setting& s : *t_pSettings) {
        if (s.pUIObject != pUIObject || s.keyword != pszKeyword) continue;
        if (s.hasValue) {
            CZQLocalPtr<char> copy;
            if (!copy.Alloc(s.value.size())) return false;
            std::memcpy(copy.Get(), s.value.data(), s.value.size());
            *ppValue = copy.Release();
            *pcb = s.value.size();
        }
        *pdwStatus = s.status;
        return true;
    }
    return false;
}

void CZQItemMemory::VKeepSetting(const void* pUIObject, const char* pszKeyword, DWORD dwStatus, const char* pValue,
                                 size_t cb) {
    if (!t_pSettings || !pszKeyword) return;
    std::vector<char> value;
    if (pValue) value.assign(pValue, pValue + cb);
    t_pSettings->push_back({pUIObject, pszKeyword, dwStatus, std::move(value), pValue != nullptr});
}

void CZQItemMemory::VForgetSettings() {
    if (t_pSettings) t_pSettings->clear();
}

void CZQItemMemory::VForgetAll() {
    delete t_pMemory;
    t_pMemory = nullptr;
}

// The outermost pass owns the settings (none kept when they cannot be).
CZQItemPass::CZQItemPass() {
    if (t_passes++ == 0) t_pSettings = new (std::nothrow) std::vector<Setting>();
}

CZQItemPass::~CZQItemPass() {
    if (--t_passes > 0) return;
    delete t_pSettings;
    t_pSettings = nullptr;
}

}  // namespace zqitems
