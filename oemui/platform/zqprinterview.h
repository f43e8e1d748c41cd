// A sheet's view of its printer's data: while one is open for a printer handle, the values,
// value lists and key lists read through that handle on the thread that opened it are asked of the
// spooler once and then answered from the view, as the spooler would answer them; so are the
// handle's driver record (levels 1 and 3, from one level-3 read) and printer record (level 2). Every
// write and removal through the plug-in (any handle, any thread) drops what the views hold of it,
// and a SetPrinter their records, so the next read asks the spooler again; "Update Now" and the
// like drop a view's whole content, and so does closing the view's handle. An answer the spooler
// could not give (anything but the value or its absence, or the record) is never kept.
//
// A store that writes reads what is stored now: while a CZQStoredNow lives on a thread, its reads
// pass every view by.
#pragma once

#include <windows.h>

namespace zqspool {

struct SpoolerApi;

class CZQPrinterDataView {
public:
    CZQPrinterDataView() = default;
    ~CZQPrinterDataView() { Close(); }
    CZQPrinterDataView(const CZQPrinterDataView&) = delete;
    CZQPrinterDataView& operator=(const CZQPrinterDataView&) = delete;

    // Opens the view for a handle on this thread (null: none); a view already open for another
    // handle or thread is closed first, one for the same handle and thread kept with what it holds.
    void Open(HANDLE hPrinter);
    void Close();
    HANDLE Printer() const { return m_hPrinter; }
    // What the view holds is dropped: the next reads ask the spooler.
    void Refresh();
    // A document sheet's view also keeps the core driver's device-capabilities lists (and the
    // largest and smallest paper) asked on its thread, by printer and devmode, until a form written
    // through the plug-in or a refresh (a device sheet's installed trays change them: it keeps them
    // only within a pass).
    void KeepDeviceLists(bool bKeep);
    // A pass over the sheet (its fill pass, the building of its pages): the lists are kept while one
    // lives, and a device sheet's view drops them at the end of the outermost.
    void BeginPass();
    void EndPass();
    // The device-list answers the view holds: a few per list, however many devmodes were asked.
    size_t HeldDeviceLists() const;
    // A fill pass of the sheet starts: a later one than the first reads the printer's data afresh.
    void BeginFillPass() {
        if (m_bFilled) Refresh();
        m_bFilled = m_pData != nullptr;
    }

private:
    HANDLE m_hPrinter = nullptr;
    bool m_bFilled = false;
    void* m_pData = nullptr;
};

// A pass of a view while it lives.
class CZQViewPass {
public:
    explicit CZQViewPass(CZQPrinterDataView& view) : m_view(view) { view.BeginPass(); }
    ~CZQViewPass() { m_view.EndPass(); }
    CZQViewPass(const CZQViewPass&) = delete;
    CZQViewPass& operator=(const CZQViewPass&) = delete;

private:
    CZQPrinterDataView& m_view;
};

// Reads on this thread ask the spooler, whatever a view holds, while one lives.
class CZQStoredNow {
public:
    CZQStoredNow();
    ~CZQStoredNow();
    CZQStoredNow(const CZQStoredNow&) = delete;
    CZQStoredNow& operator=(const CZQStoredNow&) = delete;
};

// Whether a handle may write the printer's data, as a view of it on this thread keeps the answer:
// FALSE when none is kept. Refresh drops the answer with the rest.
bool KeptWriteAnswer(HANDLE hPrinter, bool* pbWrites);
void KeepWriteAnswer(HANDLE hPrinter, bool bWrites);

// Every view open for the handle drops what it holds.
void RefreshViews(HANDLE hPrinter);

// The table that answers through the views while any is open (the spooler layer hands it out in
// place of `beneath`); null while none is open.
const SpoolerApi* ViewTable(const SpoolerApi& beneath);

}  // namespace zqspool
