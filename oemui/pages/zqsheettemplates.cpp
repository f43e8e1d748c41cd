#include "pages/zqsheettemplates.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "zqdlgtemplate.h"

namespace {

// What of a control grows with the page: its width, its height.
struct Growth {
    bool cx;
    bool cy;
};

Growth GrowthOf(const zqdlg::Control& c) {
    using zqdlg::IsClass;
    if (IsClass(c, zqdlg::kButtonAtom, L"Button")) {
        switch (c.style & BS_TYPEMASK) {
            case BS_GROUPBOX: return {true, true};
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return {true, false};
            default: return {false, false};  // push buttons and pictures
        }
    }
    if (IsClass(c, zqdlg::kStaticAtom, L"Static")) {
        switch (c.style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
            case SS_LEFTNOWORDWRAP:
            case SS_SIMPLE:
            case SS_ETCHEDHORZ: return {true, false};
            default: return {false, false};  // icons, pictures, owner drawing
        }
    }
    if (IsClass(c, zqdlg::kComboBoxAtom, L"ComboBox") || IsClass(c, 0, TRACKBAR_CLASSW)) return {true, false};
    if (IsClass(c, zqdlg::kListBoxAtom, L"ListBox") || IsClass(c, 0, WC_LISTVIEWW) || IsClass(c, 0, WC_TREEVIEWW))
        return {true, true};
    if (IsClass(c, zqdlg::kEditAtom, L"Edit") && (c.style & ES_MULTILINE)) return {true, true};
    return {false, false};  // number boxes, up-down buttons and other classes
}

// A drop-down list's height in its template counts its list; closed, it is a line high.
constexpr short kClosedListHeight = 12;

// One side of a control scaled by f: a growing one from its scaled edges, another keeping its
// length about its scaled centre (of `shown` units from its start, its whole length when 0).
void Scale(short* pPos, short* pLen, double f, bool grow, short shown = 0) {
    const double pos = *pPos, len = *pLen, seen = shown > 0 ? std::min(*pLen, shown) : *pLen;
    if (grow) {
        const long start = std::lround(pos * f);
        *pPos = static_cast<short>(start);
        *pLen = static_cast<short>(std::lround((pos + len) * f) - start);
    } else {
        *pPos = static_cast<short>(std::lround((pos + seen / 2) * f - seen / 2));
    }
}

void PutShort(BYTE* p, short v) { std::memcpy(p, &v, sizeof v); }

}  // namespace

std::unique_ptr<BYTE[]> ZQStretchTemplate(const void* pTemplate, size_t cbTemplate, short cx, short cy) {
    zqdlg::Template t;
    if (!t.Read(pTemplate, cbTemplate) || t.Cx() <= 0 || t.Cy() <= 0 || cx < t.Cx() || cy < t.Cy()) return nullptr;
    std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[cbTemplate]);
    if (!copy) return nullptr;
    std::memcpy(copy.get(), pTemplate, cbTemplate);
    const double fx = static_cast<double>(cx) / t.Cx(), fy = static_cast<double>(cy) / t.Cy();
    PutShort(copy.get() + t.RectOffset() + 4, cx);
    PutShort(copy.get() + t.RectOffset() + 6, cy);
    t.ForEach([&](const zqdlg::Control& c) {
        const Growth growth = GrowthOf(c);
        short x = c.x, y = c.y, w = c.cx, h = c.cy;
        Scale(&x, &w, fx, growth.cx);
        const bool list = zqdlg::IsClass(c, zqdlg::kComboBoxAtom, L"ComboBox");
        Scale(&y, &h, fy, growth.cy, list ? kClosedListHeight : 0);
        BYTE* rect = copy.get() + c.rectOffset;
        PutShort(rect, x);
        PutShort(rect + 2, y);
        PutShort(rect + 4, w);
        PutShort(rect + 6, h);
    });
    return copy;
}

BOOL CZQSheetTemplates::BMeasure(HMODULE hModule, WORD wTemplate) {
    zqdlg::Template t;
    if (!zqdlg::ReadResource(hModule, wTemplate, &t)) return FALSE;
    m_size.cx = std::max<LONG>(m_size.cx, t.Cx());
    m_size.cy = std::max<LONG>(m_size.cy, t.Cy());
    return TRUE;
}

const DLGTEMPLATE* CZQSheetTemplates::PLaidOut(HMODULE hModule, WORD wTemplate, int iSlot) {
    zqdlg::Template t;
    const void* data = nullptr;
    size_t size = 0;
    if (iSlot < 0 || iSlot >= kSlots || !zqdlg::ReadResource(hModule, wTemplate, &t, &data, &size)) return nullptr;
    if (t.Cx() == m_size.cx && t.Cy() == m_size.cy) return nullptr;
    m_apCopies[iSlot] = ZQStretchTemplate(data, size, static_cast<short>(m_size.cx), static_cast<short>(m_size.cy));
    return reinterpret_cast<const DLGTEMPLATE*>(m_apCopies[iSlot].get());
}

void CZQSheetTemplates::VReset() {
    m_size = {};
    for (auto& copy : m_apCopies) copy.reset();
}
