// The templates of one sheet laid out to one size. A property sheet takes the size of its largest
// page; a page of a smaller template would leave an empty band beside and below it. Such a page is
// made from a copy of its template stretched to the sheet's size: every control keeps its place in
// proportion, frames, lists and texts grow with the page, buttons, pictures and number boxes keep
// their size about their scaled centre, so nothing that stood apart comes to overlap.
#pragma once

#include <windows.h>

#include <memory>

class CZQSheetTemplates {
public:
    // The sheet's size grows to the template's (dialog units); FALSE when the module lacks it.
    BOOL BMeasure(HMODULE hModule, WORD wTemplate);
    // The template laid out to the sheet's size, held until Reset; null when it already has that
    // size or cannot be read (the page then takes its resource).
    const DLGTEMPLATE* PLaidOut(HMODULE hModule, WORD wTemplate, int iSlot);
    // Forgets the sheet's size and the copies (the next sheet measures its own pages).
    void VReset();
    SIZE Size() const { return m_size; }

    static constexpr int kSlots = 16;

private:
    SIZE m_size = {};
    std::unique_ptr<BYTE[]> m_apCopies[kSlots];
};

// A copy of an extended dialog template stretched from its own size to cx x cy dialog units as
// above; null for a template that is not an extended one or is larger already.
std::unique_ptr<BYTE[]> ZQStretchTemplate(const void* pTemplate, size_t cbTemplate, short cx, short cy);
