// An extended dialog template (DIALOGEX) read in place: its size and its controls, each with the
// offset of its rectangle in the template's bytes, so that a copy can be laid out anew.
#pragma once

#include <windows.h>

#include <cstring>

namespace zqdlg {

// Predefined classes of a control given by number.
enum : WORD {
    kButtonAtom = 0x0080,
    kEditAtom = 0x0081,
    kStaticAtom = 0x0082,
    kListBoxAtom = 0x0083,
    kScrollBarAtom = 0x0084,
    kComboBoxAtom = 0x0085,
};

struct Control {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classAtom = 0;            // 0 when the class is given by name
    const WCHAR* className = nullptr;  // inside the template (not terminated past its end)
    size_t classChars = 0;
    size_t rectOffset = 0;  // x, y, cx, cy as four shorts from here
};

class Template {
public:
    // False for a template that is not an extended one or runs past its size.
    bool Read(const void* pData, size_t cbData) {
        m_p = static_cast<const BYTE*>(pData);
        m_cb = cbData;
        m_count = 0;
        if (!m_p || cbData < 26) return false;
        if (Word(0) != 1 || Word(2) != 0xFFFF) return false;
        m_exStyle = Dword(8);
        m_style = Dword(12);
        m_count = Word(16);
        m_rectOffset = 18;
        size_t at = 26;
        if (!SkipSzOrOrd(&at, nullptr, nullptr) || !SkipSzOrOrd(&at, nullptr, nullptr)) return Fail();  // menu, class
        if (!SkipText(&at)) return Fail();                                                            // title
        if (m_style & (DS_SETFONT | DS_SHELLFONT)) {
            at += 6;  // point size, weight, italic, character set
            if (at > m_cb || !SkipText(&at)) return Fail();
        }
        m_firstItem = at;
        // Every control must be readable.
        return ForEach([](const Control&) {}) || Fail();
    }
    DWORD Style() const { return m_style; }
    DWORD ExStyle() const { return m_exStyle; }
    short Cx() const { return Short(m_rectOffset + 4); }
    short Cy() const { return Short(m_rectOffset + 6); }
    size_t RectOffset() const { return m_rectOffset; }
    WORD Count() const { return m_count; }

    // Every control in the template's order, handed to f; false when one cannot be read (f has
    // seen those before it).
    template <typename F>
    bool ForEach(F f) const {
        size_t at = m_firstItem;
        for (WORD i = 0; i < m_count; ++i) {
            Control c;
            if (!Next(&at, &c)) return false;
            f(c);
        }
        return true;
    }

private:
    bool Next(size_t* pAt, Control* pControl) const {
        size_t at = (*pAt + 3) & ~static_cast<size_t>(3);
        if (at + 24 > m_cb) return false;
        Control c;
        c.exStyle = Dword(at + 4);
        c.style = Dword(at + 8);
        c.rectOffset = at + 12;
        c.x = Short(at + 12);
        c.y = Short(at + 14);
        c.cx = Short(at + 16);
        c.cy = Short(at + 18);
        c.id = Dword(at + 20);
        at += 24;
        size_t nameStart = 0;
        if (!SkipSzOrOrd(&at, &c.classAtom, &nameStart)) return false;
        if (!c.classAtom) {
            c.className = reinterpret_cast<const WCHAR*>(m_p + nameStart);
            c.classChars = (at - nameStart) / sizeof(WCHAR) - 1;
        }
        if (!SkipSzOrOrd(&at, nullptr, nullptr)) return false;  // title
        if (at + 2 > m_cb) return false;
        at += 2 + Word(at);  // creation data
        if (at > m_cb) return false;
        *pAt = at;
        *pControl = c;
        return true;
    }
    bool Fail() {
        m_count = 0;
        return false;
    }
    WORD Word(size_t at) const {
        WORD w;
        std::memcpy(&w, m_p + at, sizeof w);
        return w;
    }
    short Short(size_t at) const { return static_cast<short>(Word(at)); }
    DWORD Dword(size_t at) const {
        DWORD d;
        std::memcpy(&d, m_p + at, sizeof d);
        return d;
    }
    bool SkipText(size_t* pAt) const {
        for (;;) {
            if (*pAt + 2 > m_cb) return false;
            const WORD ch = Word(*pAt);
            *pAt += 2;
            if (!ch) return true;
        }
    }
    // A name, or 0xFFFF and a number (given back as the atom).
    bool SkipSzOrOrd(size_t* pAt, WORD* pAtom, size_t* pNameStart) const {
        if (*pAt + 2 > m_cb) return false;
        if (Word(*pAt) == 0xFFFF) {
            if (*pAt + 4 > m_cb) return false;
            if (pAtom) *pAtom = Word(*pAt + 2);
            *pAt += 4;
            return true;
        }
        if (pAtom) *pAtom = 0;
        if (pNameStart) *pNameStart = *pAt;
        return SkipText(pAt);
    }

    const BYTE* m_p = nullptr;
    size_t m_cb = 0;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    WORD m_count = 0;
    size_t m_rectOffset = 0;
    size_t m_firstItem = 0;
};

// The class of a control compared without case: its atom's name or its own.
inline bool IsClass(const Control& c, WORD atom, const wchar_t* name) {
    if (c.classAtom) return c.classAtom == atom;
    const size_t n = wcslen(name);
    return c.classChars == n && _wcsnicmp(c.className, name, n) == 0;
}

// A dialog template resource of the module, read; false when it is missing or unreadable.
inline bool ReadResource(HMODULE hModule, WORD wId, Template* pTemplate, const void** ppData = nullptr,
                         size_t* pcbData = nullptr) {
    HRSRC res = FindResourceW(hModule, MAKEINTRESOURCEW(wId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!res) return false;
    HGLOBAL loaded = LoadResource(hModule, res);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const size_t size = SizeofResource(hModule, res);
    if (!data || !pTemplate->Read(data, size)) return false;
    if (ppData) *ppData = data;
    if (pcbData) *pcbData = size;
    return true;
}

}  // namespace zqdlg
