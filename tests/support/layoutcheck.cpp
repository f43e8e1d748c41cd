#include "layoutcheck.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

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

std::vector<std::string> LayoutFaults(HWND hWnd, HINSTANCE hTemplates, WORD wTemplate) {
    std::vector<std::string> faults;
    RECT client;
    GetClientRect(hWnd, &client);
    const std::vector<Shown> shown = ShownChildren(hWnd);
    std::map<int, int> memberOf;
    if (!FramesOfTemplate(hTemplates, wTemplate, &memberOf))
        faults.push_back("the template " + std::to_string(wTemplate) + " could not be made");
    std::vector<HWND> frames;
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsFrameWindow(child)) frames.push_back(child);
    auto shownOf = [&](HWND h) -> const Shown* {
        for (const Shown& c : shown)
            if (c.hwnd == h) return &c;
        return nullptr;
    };
    for (size_t i = 0; i < shown.size(); ++i) {
        const Shown& a = shown[i];
        if (!Contains(client, a.rc)) faults.push_back(Name(a) + " " + Describe(a.rc) + " outside the window");
        // Its own frame, when that is shown.
        const auto member = memberOf.find(a.id);
        if (member != memberOf.end() && static_cast<size_t>(member->second) < frames.size())
            if (const Shown* f = shownOf(frames[static_cast<size_t>(member->second)]))
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
            faults.push_back(Name(a) + " " + Describe(a.rc) + " overlaps " + Name(b) + " " + Describe(b.rc));
        }
    }
    return faults;
}

std::vector<std::string> TextFaults(HWND hWnd) {
    std::vector<std::string> faults;
    for (const Shown& c : ShownChildren(hWnd)) {
        int width = 0, height = 0;
        bool wrap = false, prefix = true;
        const std::wstring text = TextOf(c.hwnd);
        if (text.empty() || !TextRoom(c, &width, &height, &wrap, &prefix)) continue;
        FontDc dc(c.hwnd);
        const SIZE need = dc.Measure(text, width, wrap, prefix);
        const bool cut = need.cx > width || (wrap && need.cy > height) ||
                         (!wrap && !IsGroupFrame(c) && need.cy > height + 2);
        if (cut) {
            faults.push_back(Name(c) + " \"" + std::string(text.begin(), text.end()) + "\" needs " +
                             std::to_string(need.cx) + "x" + std::to_string(need.cy) + ", has " +
                             std::to_string(width) + "x" + std::to_string(height));
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
