#include "layoutcheck.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "device/zqalertwnd.h"
#include "zqdlgtemplate.h"

namespace zqtest {

namespace {

struct Shown {
    HWND hwnd;
    int id;
    std::wstring cls;
    LONG style;
    RECT rc;  // in the window's client coordinates, left < right even in a mirrored window
};

bool IsClass(const Shown& c, const wchar_t* name) { return _wcsicmp(c.cls.c_str(), name) == 0; }

LONG ButtonType(const Shown& c) { return IsClass(c, L"Button") ? (c.style & BS_TYPEMASK) : -1; }

bool IsGroupFrame(const Shown& c) { return ButtonType(c) == BS_GROUPBOX; }

std::string Name(const Shown& c) {
    std::string cls(c.cls.begin(), c.cls.end());
    return "#" + std::to_string(c.id) + " (" + cls + ")";
}

std::string Describe(const RECT& rc) {
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

std::vector<Shown> ShownChildren(HWND hWnd) {
    std::vector<Shown> shown;
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = static_cast<LONG>(GetWindowLongPtrW(child, GWL_STYLE));
        if (!(style & WS_VISIBLE)) continue;
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        if (rc.left > rc.right) std::swap(rc.left, rc.right);
        if (IsRectEmpty(&rc)) continue;
        WCHAR cls[64] = {};
        GetClassNameW(child, cls, 64);
        shown.push_back({child, GetDlgCtrlID(child), cls, style, rc});
    }
    return shown;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The control's font in a device context of its own, released with it.
class FontDc {
public:
    explicit FontDc(HWND hWnd) : m_hwnd(hWnd), m_dc(GetDC(hWnd)) {
        auto font = reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0));
        m_old = SelectObject(m_dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~FontDc() {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_hwnd, m_dc);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    // The text's extent when it wraps within `width` (or stays on its lines when not).
    SIZE Measure(const std::wstring& text, int width, bool wrap, bool prefix) const {
        RECT rc = {0, 0, width, 0};
        DrawTextW(m_dc, text.c_str(), -1, &rc,
                  DT_CALCRECT | (wrap ? DT_WORDBREAK : 0) | (prefix ? 0 : DT_NOPREFIX) | DT_EXPANDTABS);
        return {rc.right - rc.left, rc.bottom - rc.top};
    }

private:
    HWND m_hwnd;
    HDC m_dc;
    HGDIOBJ m_old;
};

std::wstring TextOf(HWND hWnd) {
    const int length = GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hWnd, text.data(), length + 1)));
    return text;
}

// Room for a text in a control: width and height, whether it wraps and shows '&' as a key mark;
// false for a control whose text is not drawn as a label (lists, edits, owner drawing).
bool TextRoom(const Shown& c, int* width, int* height, bool* wrap, bool* prefix) {
    RECT client;
    GetClientRect(c.hwnd, &client);
    *width = client.right;
    *height = client.bottom;
    *prefix = true;
    if (IsClass(c, L"Static")) {
        const LONG type = c.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
            return false;
        *wrap = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        *prefix = !(c.style & SS_NOPREFIX);
        return true;
    }
    switch (ButtonType(c)) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // The border and the focus mark inside it.
            *width -= 8;
            *height -= 4;
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            // The mark and the gap after it.
            *width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
            break;
        case BS_GROUPBOX:
            // The caption runs along the top, between the frame's corners.
            *width -= 16;
            *wrap = false;
            return true;
        default: return false;
    }
    *wrap = (c.style & BS_MULTILINE) != 0;
    return true;
}


// A frame's inside: below its caption's line, within its border.
RECT Inside(const Shown& frame) {
    RECT rc = frame.rc;
    FontDc dc(frame.hwnd);
    rc.top += dc.Measure(L"Ag", 100, false, false).cy;
    InflateRect(&rc, -1, 0);
    rc.bottom -= 1;
    return rc;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT uMsg, WPARAM, LPARAM) { return uMsg == WM_INITDIALOG; }

bool IsFrameWindow(HWND hWnd) {
    WCHAR cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    return _wcsicmp(cls, L"Button") == 0 && (GetWindowLongPtrW(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The template made as it stands, with no code behind it: for each control id the place, among the
// template's frames in order, of the innermost frame that holds it (controls without an id of
// their own left out); false when the template cannot be made. Frames are never made later, so
// their order is the window's too.
bool FramesOfTemplate(HINSTANCE hTemplates, WORD wTemplate, std::map<int, int>* pMemberOf) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND copy = CreateDialogParamW(hTemplates, MAKEINTRESOURCEW(wTemplate), owner, &QuietDialog, 0);
    if (copy) {
        std::vector<RECT> rects;
        std::vector<int> ids;
        std::vector<int> frameOrder;  // child index -> frame index, -1 for other controls
        for (HWND child = GetWindow(copy, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rc;
            GetWindowRect(child, &rc);
            MapWindowPoints(nullptr, copy, reinterpret_cast<POINT*>(&rc), 2);
            if (rc.left > rc.right) std::swap(rc.left, rc.right);
            rects.push_back(rc);
            ids.push_back(GetDlgCtrlID(child));
            int frames = 0;
            for (int f : frameOrder) frames += f >= 0;
            frameOrder.push_back(IsFrameWindow(child) ? frames : -1);
        }
        for (size_t i = 0; i < rects.size(); ++i) {
            int best = -1;
            LONG bestArea = 0;
            for (size_t f = 0; f < rects.size(); ++f) {
                if (f == i || frameOrder[f] < 0 || !Contains(rects[f], rects[i]) || IsRectEmpty(&rects[i])) continue;
                const LONG area = (rects[f].right - rects[f].left) * (rects[f].bottom - rects[f].top);
                if (best < 0 || area < bestArea) {
                    best = frameOrder[f];
                    bestArea = area;
                }
            }
            if (best >= 0 && ids[i] != -1 && ids[i] != 0xFFFF) pMemberOf->emplace(ids[i], best);
        }
        DestroyWindow(copy);
    }
    DestroyWindow(owner);
    return copy != nullptr;
}

}  // namespace

static bool IsBuddyPair(HWND hUpDown, HWND hBuddy) {
    WCHAR name[32] = {};
    GetClassNameW(hUpDown, name, 32);
    return lstrcmpiW(name, L"msctls_updown32") == 0 &&
           reinterpret_cast<HWND>(SendMessageW(hUpDown, UDM_GETBUDDY, 0, 0)) == hBuddy;
}

namespace {

// The group frames of a window and the one its template puts each control in.
class TemplateFrames {
public:
    TemplateFrames(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate)
        : m_made(FramesOfTemplate(hTemplates, wTemplate, &m_memberOf)) {
        for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsFrameWindow(child)) m_frames.push_back(child);
    }
    bool Made() const { return m_made; }
    const std::vector<HWND>& Frames() const { return m_frames; }
    // The control's own frame among the shown ones; null when it has none or that one is hidden.
    const Shown* FrameOf(const Shown& c, const std::vector<Shown>& shown) const {
        const auto member = m_memberOf.find(c.id);
        if (member == m_memberOf.end() || static_cast<size_t>(member->second) >= m_frames.size()) return nullptr;
        for (const Shown& f : shown)
            if (f.hwnd == m_frames[static_cast<size_t>(member->second)]) return &f;
        return nullptr;
    }

private:
    std::map<int, int> m_memberOf;
    bool m_made;
    std::vector<HWND> m_frames;
};

}  // namespace

std::vector<std::string> LayoutFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate) {
    std::vector<std::string> faults;
    RECT client;
    GetClientRect(hWnd, &client);
    const std::vector<Shown> shown = ShownChildren(hWnd);
    const TemplateFrames templateFrames(hWnd, hTemplates, wTemplate);
    if (!templateFrames.Made()) faults.push_back("the template " + std::to_string(wTemplate) + " could not be made");
    const std::vector<HWND>& frames = templateFrames.Frames();
    for (size_t i = 0; i < shown.size(); ++i) {
        const Shown& a = shown[i];
        if (!Contains(client, a.rc)) faults.push_back(Name(a) + " " + Describe(a.rc) + " outside the window");
        // Its own frame, when that is shown.
        if (const Shown* f = templateFrames.FrameOf(a, shown))
            if (!Contains(Inside(*f), a.rc))
                faults.push_back(Name(a) + " " + Describe(a.rc) + " out of its frame " + Name(*f) + " " +
                                 Describe(f->rc));
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const Shown& b = shown[j];
            RECT common;
            if (!IntersectRect(&common, &a.rc, &b.rc)) continue;
            if (IsGroupFrame(a) && Contains(Inside(a), b.rc)) continue;
            if (IsGroupFrame(b) && Contains(Inside(b), a.rc)) continue;
            // An up-down control stands over its buddy's edge.
            if (IsBuddyPair(a.hwnd, b.hwnd) || IsBuddyPair(b.hwnd, a.hwnd)) continue;
            // Two controls over each other, or one reaching into a frame it does not stand in.
            const char* over = IsGroupFrame(a) || IsGroupFrame(b) ? " lies over " : " overlaps ";
            faults.push_back(Name(a) + " " + Describe(a.rc) + over + Name(b) + " " + Describe(b.rc));
        }
    }
    // A shown frame holding nothing shown.
    for (const Shown& f : shown) {
        if (!IsGroupFrame(f)) continue;
        const RECT inside = Inside(f);
        bool holds = false;
        for (const Shown& c : shown) holds = holds || (c.hwnd != f.hwnd && Contains(inside, c.rc));
        if (!holds) faults.push_back(Name(f) + " " + Describe(f.rc) + " frames nothing");
    }
    // A hidden frame whose place nothing takes, above shown controls that could close it up, or at
    // the head of a column nothing else fills; the row at the foot of the window (its last fifth:
    // the logo, the buttons, the alert strip) stays where it is.
    const LONG foot = client.bottom - client.bottom / 5;
    for (HWND frame : frames) {
        if (GetWindowLongPtrW(frame, GWL_STYLE) & WS_VISIBLE) continue;
        RECT rc;
        GetWindowRect(frame, &rc);
        MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        if (rc.left > rc.right) std::swap(rc.left, rc.right);
        if (IsRectEmpty(&rc)) continue;
        bool taken = false, above = false;
        const Shown* below = nullptr;
        for (const Shown& c : shown) {
            RECT common;
            const bool column = c.rc.left < rc.right && c.rc.right > rc.left;
            if (IntersectRect(&common, &rc, &c.rc)) {
                if (!(IsGroupFrame(c) && Contains(c.rc, rc))) taken = true;
            } else if (column && c.rc.bottom <= rc.top) {
                above = true;
            } else if (column && c.rc.top >= rc.bottom && c.rc.top < foot && (!below || c.rc.top < below->rc.top)) {
                below = &c;
            }
        }
        if (taken || (above && !below)) continue;
        faults.push_back(
            "empty space " + Describe(rc) + " where the hidden group #" + std::to_string(GetDlgCtrlID(frame)) + " was" +
            (below ? ", above " + Name(*below) + " " + Describe(below->rc) : std::string(", its column empty")));
    }
    return faults;
}

namespace {

// The client rectangle of the template as made, and the rectangle its shown controls cover.
bool TemplateExtent(HINSTANCE hTemplates, WORD wTemplate, RECT* pClient, RECT* pExtent) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND copy = CreateDialogParamW(hTemplates, MAKEINTRESOURCEW(wTemplate), owner, &QuietDialog, 0);
    if (copy) {
        GetClientRect(copy, pClient);
        SetRectEmpty(pExtent);
        for (const Shown& c : ShownChildren(copy)) UnionRect(pExtent, pExtent, &c.rc);
        DestroyWindow(copy);
    }
    DestroyWindow(owner);
    return copy != nullptr;
}

}  // namespace

std::vector<std::string> SheetFaults(HWND hPage, HINSTANCE hTemplates, WORD wTemplate) {
    RECT client, templateClient, templateExtent, extent = {};
    GetClientRect(hPage, &client);
    if (!TemplateExtent(hTemplates, wTemplate, &templateClient, &templateExtent))
        return {"the template " + std::to_string(wTemplate) + " could not be made"};
    for (const Shown& c : ShownChildren(hPage)) UnionRect(&extent, &extent, &c.rc);
    std::vector<std::string> faults;
    // The template's own margin, grown as the window is larger, and the few pixels a sheet adds
    // to its largest page.
    auto band = [&](LONG size, LONG used, LONG templateSize, LONG templateUsed, const char* side) {
        const double grown = templateSize > 0 ? static_cast<double>(size) / templateSize : 1.0;
        const double allowed = (templateSize - templateUsed) * grown + 12 + size / 25;
        if (size - used > allowed)
            faults.push_back("the page leaves " + std::to_string(size - used) + " px empty " + side +
                             " its controls (" + std::to_string(size) + " px, its template " +
                             std::to_string(templateSize) + " px)");
    };
    band(client.right, extent.right, templateClient.right, templateExtent.right, "beside");
    band(client.bottom, extent.bottom, templateClient.bottom, templateExtent.bottom, "below");
    return faults;
}

WORD TemplateOf(HWND hWnd, HINSTANCE hTemplates) {
    std::set<DWORD> ids;
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id != 0 && id != -1 && id != 0xFFFF) ids.insert(static_cast<DWORD>(id));
    }
    const bool rtl = (GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    struct Search {
        HINSTANCE module;
        const std::set<DWORD>* ids;
        bool rtl;
        WORD best = 0;
        long score = 0;
    } search{hTemplates, &ids, rtl};
    EnumResourceNamesW(
        hTemplates, MAKEINTRESOURCEW(5),
        [](HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!IS_INTRESOURCE(name)) return TRUE;
            const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
            zqdlg::Template t;
            if (!zqdlg::ReadResource(module, id, &t)) return TRUE;
            if (((t.ExStyle() & WS_EX_LAYOUTRTL) != 0) != s->rtl) return TRUE;
            long common = 0, own = 0;
            t.ForEach([&](const zqdlg::Control& c) {
                if (c.id == 0 || c.id == 0xFFFF || c.id == 0xFFFFFFFF) return;
                (s->ids->count(c.id) ? common : own) += 1;
            });
            // Most controls of each side shared: another module's page may share a few ids.
            const long score = 2 * common - own - (static_cast<long>(s->ids->size()) - common);
            if (common * 2 > static_cast<long>(s->ids->size()) && common * 2 > common + own &&
                (!s->best || score > s->score)) {
                s->best = id;
                s->score = score;
            }
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&search));
    return search.best;
}

namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

std::string CutText(const Shown& c, const std::wstring& text, SIZE need, int width, int height) {
    return Name(c) + " \"" + Narrow(text) + "\" needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) +
           ", has " + std::to_string(width) + "x" + std::to_string(height);
}

// Entries of a drop-down list (in its face, where the chosen one shows), of a list box and of a
// list view (within the label the view gives it and within the view).
void EntryFaults(const Shown& c, std::vector<std::string>& faults) {
    std::vector<std::wstring> entries;
    int room = 0, height = 0;
    auto collect = [&](UINT countMsg, UINT lengthMsg, UINT textMsg) {
        const LRESULT count = SendMessageW(c.hwnd, countMsg, 0, 0);
        for (LRESULT i = 0; i < count && i < 500; ++i) {
            const LRESULT length = SendMessageW(c.hwnd, lengthMsg, static_cast<WPARAM>(i), 0);
            if (length <= 0) continue;
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(c.hwnd, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.resize(wcslen(text.c_str()));
            entries.push_back(text);
        }
    };
    if (IsClass(c, L"ComboBox")) {
        // Owner-drawn lists place their own pictures beside the text.
        if (c.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) return;
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(c.hwnd, &info)) return;
        room = info.rcItem.right - info.rcItem.left - 4;
        height = info.rcItem.bottom - info.rcItem.top;
        collect(CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    } else if (IsClass(c, L"ListBox")) {
        if (c.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) return;
        RECT client;
        GetClientRect(c.hwnd, &client);
        room = client.right - 4;
        height = static_cast<int>(SendMessageW(c.hwnd, LB_GETITEMHEIGHT, 0, 0));
        collect(LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    } else if (IsClass(c, WC_LISTVIEWW)) {
        const LONG view = c.style & LVS_TYPEMASK;
        if (view == LVS_ICON || (c.style & LVS_OWNERDRAWFIXED)) return;
        RECT client;
        GetClientRect(c.hwnd, &client);
        FontDc dc(c.hwnd);
        const int count = static_cast<int>(SendMessageW(c.hwnd, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count && i < 500; ++i) {
            WCHAR text[260] = {};
            LVITEMW item = {};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = 260;
            SendMessageW(c.hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            if (!text[0]) continue;
            RECT label = {};
            label.left = LVIR_LABEL;
            if (!SendMessageW(c.hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&label)))
                continue;
            // The view's own room: a label reaching past the view is cut by it.
            const int width = std::min(label.right, client.right) - label.left - 4;
            const SIZE need = dc.Measure(text, 10000, false, false);
            if (need.cx > width) faults.push_back(CutText(c, text, need, width, label.bottom - label.top));
        }
        return;
    } else {
        return;
    }
    FontDc dc(c.hwnd);
    for (const std::wstring& text : entries) {
        const SIZE need = dc.Measure(text, 10000, false, false);
        if (need.cx > room) faults.push_back(CutText(c, text, need, room, height));
    }
}

}  // namespace

std::vector<std::string> TextFaults(HWND hWnd) {
    std::vector<std::string> faults;
    const std::vector<Shown> shown = ShownChildren(hWnd);
    for (const Shown& c : shown) {
        EntryFaults(c, faults);
        int width = 0, height = 0;
        bool wrap = false, prefix = true;
        const std::wstring text = TextOf(c.hwnd);
        if (text.empty() || !TextRoom(c, &width, &height, &wrap, &prefix)) continue;
        FontDc dc(c.hwnd);
        // A greyed text is drawn etched, a pixel to the right of its place.
        if (c.style & WS_DISABLED) --width;
        const SIZE need = dc.Measure(text, width, wrap, prefix);
        const bool cut = need.cx > width || (wrap && need.cy > height) ||
                         (!wrap && !IsGroupFrame(c) && need.cy > height + 2);
        if (cut) faults.push_back(CutText(c, text, need, width, height));
        // A text's last line closer to a frame's caption below it than half a line reads on into it.
        if (!IsClass(c, L"Static")) continue;
        const LONG textBottom = c.rc.top + std::min<LONG>(need.cy, height);
        const LONG line = dc.Measure(L"Ag", 100, false, false).cy;
        for (const Shown& f : shown)
            if (IsGroupFrame(f) && !TextOf(f.hwnd).empty() && f.rc.left < c.rc.right && c.rc.left < f.rc.right &&
                f.rc.top >= textBottom && f.rc.top - textBottom < line / 2)
                faults.push_back(Name(c) + " \"" + Narrow(text) + "\" ends " + std::to_string(f.rc.top - textBottom) +
                                 " px above the caption of " + Name(f));
    }
    return faults;
}

namespace {

// The window's client pixels as it draws them anew, its children's included, by the coordinates its
// controls have (mirrored when the window is); or, not anew, as they stand, never mirrored.
class Pixels {
public:
    explicit Pixels(HWND hWnd, bool anew = true)
        : m_mirrored(anew && (GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0) {
        if (anew) RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT client;
        GetClientRect(hWnd, &client);
        if (client.right <= 0 || client.bottom <= 0) return;
        // A cache DC leaves the children in, whatever the window's style.
        HDC window = GetDCEx(hWnd, nullptr, DCX_CACHE);
        HDC mem = CreateCompatibleDC(window);
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof bmi.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(window, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (mem && dib && bits) {
            HGDIOBJ old = SelectObject(mem, dib);
            const DWORD layout = SetLayout(window, 0);
            BitBlt(mem, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
            if (layout != GDI_ERROR) SetLayout(window, layout);
            GdiFlush();
            m_width = client.right;
            m_height = client.bottom;
            const auto* first = static_cast<const DWORD*>(bits);
            m_pixels.assign(first, first + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
            SelectObject(mem, old);
        }
        if (dib) DeleteObject(dib);
        if (mem) DeleteDC(mem);
        ReleaseDC(hWnd, window);
    }
    LONG Width() const { return m_width; }
    LONG Height() const { return m_height; }
    DWORD At(LONG x, LONG y) const {
        return m_pixels[static_cast<size_t>(y * m_width + (m_mirrored ? m_width - 1 - x : x))] & 0xFFFFFF;
    }
    // The colour most pixels of the rectangle have.
    DWORD Background(const RECT& rc) const {
        std::map<DWORD, int> counts;
        for (LONG y = std::max(0L, rc.top); y < std::min(m_height, rc.bottom); ++y)
            for (LONG x = std::max(0L, rc.left); x < std::min(m_width, rc.right); ++x) ++counts[At(x, y)];
        auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
        return most == counts.end() ? 0 : most->first;
    }
    // Whether a pixel of the rectangle is not the background.
    bool Inked(const RECT& rc, DWORD background) const {
        for (LONG y = std::max(0L, rc.top); y < std::min(m_height, rc.bottom); ++y)
            for (LONG x = std::max(0L, rc.left); x < std::min(m_width, rc.right); ++x)
                if (At(x, y) != background) return true;
        return false;
    }

private:
    bool m_mirrored;
    LONG m_width = 0;
    LONG m_height = 0;
    std::vector<DWORD> m_pixels;
};

bool IsPicture(const Shown& c) {
    const LONG type = c.style & SS_TYPEMASK;
    return IsClass(c, L"Static") && (type == SS_OWNERDRAW || type == SS_BITMAP || type == SS_ICON || type == SS_ENHMETAFILE);
}

// A scrolled window of the plug-in's own: one with a scroll bar whose class is none of the system's.
bool IsOwnStrip(const Shown& c) {
    if (!(c.style & WS_VSCROLL)) return false;
    for (const wchar_t* system : {L"ListBox", L"ComboBox", L"ComboLBox", L"Edit", L"ScrollBar", L"Static", L"Button",
                                  WC_TREEVIEWW, WC_LISTVIEWW, L"RichEdit20W", L"RICHEDIT50W"})
        if (IsClass(c, system)) return false;
    return c.cls.rfind(L"msctls_", 0) != 0;
}

void StripFaults(const Shown& c, const char* when, std::vector<std::string>& faults) {
    // The alert strip is a list scrolled by pixels whose text runs the client's width beside the
    // icons: a line or an icon it shows in part at its edge is scrolled, not cut, and a line may
    // end at the scroll bar.
    if (IsClass(c, CZQAlertWnd::kClassName)) return;
    const Pixels pixels(c.hwnd);
    if (pixels.Width() == 0) return;
    const RECT all = {0, 0, pixels.Width(), pixels.Height()};
    const DWORD background = pixels.Background(all);
    // Only the bottom edge tells: the strip paints whole lines and whole icons only, wherever it
    // is scrolled to.
    const LONG y = pixels.Height() - 1;
    if (pixels.Inked({0, y, pixels.Width(), y + 1}, background))
        faults.push_back(Name(c) + " shows a row cut at its bottom edge " + when);
    // Its text keeps off the scroll bar, on whichever side the window's direction puts it.
    if (pixels.Inked({pixels.Width() - 2, 0, pixels.Width(), pixels.Height()}, background))
        faults.push_back(Name(c) + " shows a row against its scroll bar " + when);
}

// A list box of texts: a row cut at its foot, and entries whose columns (the texts after a tab) do
// not start at one place.
void TextListFaults(const Shown& c, std::vector<std::string>& faults) {
    RECT client;
    GetClientRect(c.hwnd, &client);
    const LRESULT count = SendMessageW(c.hwnd, LB_GETCOUNT, 0, 0);
    const LRESULT top = SendMessageW(c.hwnd, LB_GETTOPINDEX, 0, 0);
    const LONG rowHeight = static_cast<LONG>(SendMessageW(c.hwnd, LB_GETITEMHEIGHT, 0, 0));
    if (count <= 0 || top < 0 || rowHeight <= 0) return;
    if ((count - top) * rowHeight > client.bottom && client.bottom % rowHeight != 0)
        faults.push_back(Name(c) + " shows a row cut at its bottom edge (rows of " + std::to_string(rowHeight) +
                         " px in " + std::to_string(client.bottom) + " px)");
    if (!(c.style & LBS_USETABSTOPS)) return;
    // Where each shown row's text after its first tab starts: the first inked column past its
    // first field.
    const Pixels pixels(c.hwnd);
    FontDc dc(c.hwnd);
    std::set<LONG> starts;
    for (LRESULT i = top; i < count && (i - top + 1) * rowHeight <= client.bottom; ++i) {
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(c.hwnd, LB_GETTEXTLEN, i, 0))) + 1, L'\0');
        SendMessageW(c.hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        const size_t tab = text.find(L'\t');
        if (tab == std::wstring::npos || text.find_first_not_of(L'\t', tab) == std::wstring::npos) continue;
        const RECT row = {0, static_cast<LONG>((i - top) * rowHeight), pixels.Width(),
                          static_cast<LONG>((i - top + 1) * rowHeight)};
        const DWORD background = pixels.Background(row);
        LONG x = dc.Measure(text.substr(0, tab), 10000, false, false).cx + 2;
        while (x < pixels.Width() && !pixels.Inked({x, row.top, x + 1, row.bottom}, background)) ++x;
        starts.insert(x);
    }
    // A glyph's own side bearing moves its ink by a pixel or two.
    if (!starts.empty() && *starts.rbegin() - *starts.begin() > 2)
        faults.push_back(Name(c) + " has its entries' second column at " + std::to_string(starts.size()) +
                         " places, from x " + std::to_string(*starts.begin()) + " to " + std::to_string(*starts.rbegin()));
}

}  // namespace

std::vector<std::string> SamplePageFaults(HWND hControl, const RECT& rcSheet, SIZE saved, SIZE paper, LONG beyond) {
    std::vector<std::string> faults;
    const LONG w = rcSheet.right - rcSheet.left, h = rcSheet.bottom - rcSheet.top;
    if (w <= 0 || h <= 0 || paper.cx <= 0 || paper.cy <= 0) return faults;
    beyond = std::clamp<LONG>(beyond, 0, h - 1);
    const LONG shownTop = rcSheet.top + beyond;
    // The sample page as its painter left it: a control drawn by its page has nothing of its own.
    const Pixels pixels(hControl, false);
    const std::string page = "the sample page " + Describe(rcSheet);
    // Pixels outside the control count as not drawn.
    auto black = [&](LONG x, LONG y) {
        return x >= 0 && y >= 0 && x < pixels.Width() && y < pixels.Height() && pixels.At(x, y) == 0;
    };
    const struct {
        const char* name;
        LONG x0, y0, dx, dy, n;
    } edges[] = {{"top", rcSheet.left, rcSheet.top, 1, 0, beyond ? 0 : w},
                 {"bottom", rcSheet.left, rcSheet.bottom - 1, 1, 0, w},
                 {"left", rcSheet.left, shownTop, 0, 1, h - beyond},
                 {"right", rcSheet.right - 1, shownTop, 0, 1, h - beyond}};
    for (const auto& edge : edges) {
        if (edge.n == 0) continue;
        LONG inked = 0;
        for (LONG i = 0; i < edge.n; ++i) inked += black(edge.x0 + i * edge.dx, edge.y0 + i * edge.dy) ? 1 : 0;
        if (inked * 2 < edge.n)
            faults.push_back(page + " has its " + edge.name + " edge drawn at " + std::to_string(inked) + " of " +
                             std::to_string(edge.n) + " pixels");
    }
    const double across = w + saved.cx, down = h + saved.cy;
    const double expected = down * paper.cx / paper.cy;
    if (std::abs(across - expected) > 1.5) {
        char text[96];
        snprintf(text, sizeof text, " measures %.2f width to height, its paper %.2f", across / down,
                 static_cast<double>(paper.cx) / paper.cy);
        faults.push_back(page + text);
    }
    return faults;
}

std::vector<std::string> PictureFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate) {
    std::vector<std::string> faults;
    const std::vector<Shown> shown = ShownChildren(hWnd);
    const TemplateFrames frames(hWnd, hTemplates, wTemplate);
    RECT client;
    GetClientRect(hWnd, &client);
    for (const Shown& picture : shown) {
        if (!IsPicture(picture)) continue;
        const Pixels with(hWnd);
        ShowWindow(picture.hwnd, SW_HIDE);
        const Pixels without(hWnd);
        ShowWindow(picture.hwnd, SW_SHOWNA);
        if (with.Width() != without.Width() || with.Height() != without.Height()) continue;
        const Shown* frame = frames.FrameOf(picture, shown);
        const RECT room = frame ? Inside(*frame) : client;
        RECT outside = {}, drawn = {};
        for (LONG y = 0; y < with.Height(); ++y)
            for (LONG x = 0; x < with.Width(); ++x) {
                const POINT pt = {x, y};
                // What another drawn control (the sample page) paints anew as the picture's drawing
                // asks it to is its own.
                if (with.At(x, y) == without.At(x, y) || std::any_of(shown.begin(), shown.end(), [&](const Shown& other) {
                        return &other != &picture && (IsPicture(other) || ButtonType(other) == BS_OWNERDRAW) &&
                               PtInRect(&other.rc, pt);
                    }))
                    continue;
                const RECT dot = {x, y, x + 1, y + 1};
                UnionRect(&drawn, &drawn, &dot);
                if (!PtInRect(&room, pt)) UnionRect(&outside, &outside, &dot);
            }
        if (!IsRectEmpty(&outside))
            faults.push_back(Name(picture) + " draws its picture at " + Describe(outside) + " out of " +
                             (frame ? "its frame " + Name(*frame) + " " + Describe(frame->rc) : std::string("the window")));
        // Over another control, even where that one paints itself over the picture again.
        for (const Shown& other : shown) {
            RECT common;
            if (&other == &picture || IsPicture(other) || ButtonType(other) == BS_OWNERDRAW ||
                (IsGroupFrame(other) && Contains(Inside(other), picture.rc)) || !IntersectRect(&common, &drawn, &other.rc))
                continue;
            faults.push_back(Name(picture) + " draws its picture at " + Describe(drawn) + " over " + Name(other) + " " +
                             Describe(other.rc));
        }
    }
    return faults;
}

std::vector<std::string> RowFaults(HWND hWnd) {
    std::vector<std::string> faults;
    for (const Shown& c : ShownChildren(hWnd)) {
        if (IsClass(c, L"ListBox") && !(c.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) {
            TextListFaults(c, faults);
            continue;
        }
        if (IsOwnStrip(c)) {
            StripFaults(c, "as it stands", faults);
            SendMessageW(c.hwnd, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
            SendMessageW(c.hwnd, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            StripFaults(c, "after a click on its down arrow", faults);
            SendMessageW(c.hwnd, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
            continue;
        }
        if (!IsClass(c, L"ListBox") || !(c.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) continue;
        const Pixels pixels(c.hwnd);
        const LRESULT count = SendMessageW(c.hwnd, LB_GETCOUNT, 0, 0);
        for (LRESULT i = SendMessageW(c.hwnd, LB_GETTOPINDEX, 0, 0); i >= 0 && i < count; ++i) {
            RECT row = {};
            if (SendMessageW(c.hwnd, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&row)) == LB_ERR ||
                row.top >= pixels.Height())
                break;
            // Inside the focus mark a row may carry along its edges.
            const DWORD background = pixels.Background(row);
            const LONG top = row.top + 1, bottom = std::min(row.bottom, pixels.Height()) - 1;
            const LONG right = std::min(row.right, pixels.Width());
            for (const RECT& side : {RECT{row.left + 1, top, row.left + 2, bottom}, RECT{right - 3, top, right - 1, bottom}}) {
                if (!pixels.Inked(side, background)) continue;
                std::wstring text(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(c.hwnd, LB_GETTEXTLEN, i, 0))) + 1, L'\0');
                if (c.style & LBS_HASSTRINGS) SendMessageW(c.hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
                text.resize(wcslen(text.c_str()));
                faults.push_back(Name(c) + " row " + std::to_string(i) + " \"" + Narrow(text) + "\" " + Describe(row) +
                                 " drawn to the list's side");
                break;
            }
        }
    }
    return faults;
}

void LengthenTexts(HWND hWnd, double fraction) {
    for (const Shown& c : ShownChildren(hWnd)) {
        int width = 0, height = 0;
        bool wrap = false, prefix = true;
        std::wstring text = TextOf(c.hwnd);
        if (text.empty() || !TextRoom(c, &width, &height, &wrap, &prefix)) continue;
        const size_t extra = static_cast<size_t>(static_cast<double>(text.size()) * fraction + 0.5);
        std::wstring longer = text;
        // Its own words again, so that a wrapping text still breaks where a translation would.
        std::wstring words;
        for (wchar_t ch : text) words += (ch == L'&' || ch == L'\n') ? L' ' : ch;
        while (longer.size() < text.size() + extra) longer += L' ' + words;
        longer.resize(text.size() + extra);
        SetWindowTextW(c.hwnd, longer.c_str());
    }
}

}  // namespace zqtest
