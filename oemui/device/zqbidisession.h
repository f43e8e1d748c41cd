// CZQBidiSession: three questions to the printer over the spooler's bidirectional channel (the pen
// status, whether a duplex unit is installed, the input bins), for printers reached without the
// maker's device servers. It lives on the caller's stack and puts the caller's thread in a
// single-threaded apartment from BOpen to VClose.
#pragma once

#include "platform/zqbidi.h"

class CZQBidiSession {
public:
    CZQBidiSession() = default;
    // Closes a session still open.
    ~CZQBidiSession() { VClose(); }
    CZQBidiSession(const CZQBidiSession&) = delete;
    CZQBidiSession& operator=(const CZQBidiSession&) = delete;

    // Initialises COM, creates the spooler's bidirectional object and binds the printer for the
    // user. FALSE with the first failing call's HRESULT as the thread's last error; a thread
    // already in another apartment fails.
    BOOL BOpen(LPCWSTR pszPrinterName);
    // Unbinds and releases the object; undoes this session's own COM initialisation, also after
    // an open that failed.
    void VClose();

    // The answers; the reset value (pen status 0, the others -1) when not bound or not answered.
    int BQueryPenStatus();
    int BQueryDuplexUnit();
    int BQueryInputBins();

    // A request for the schema, with no input data; null when it cannot be made.
    IBidiRequest* PCreateRequest(LPCWSTR pszSchema);
    // Takes every answer of a request that was sent; FALSE when its results cannot be read.
    BOOL VCollectResults(IBidiRequest* pRequest);
    // One answer: integers of the three schemas and the Boolean of the dynamic counters (schemas
    // without regard to case). An answer of another type than its schema's is ignored. TRUE for
    // the integer and Boolean types.
    BOOL BTakeResult(LPCWSTR pszSchema, DWORD dwType, const BYTE* pData, DWORD cbData);

private:
    // Asks one schema; the field keeps its reset value unless answered.
    int IQuery(LPCWSTR pszSchema, int* piField, int iReset);

    IBidiSpl* m_pBidi = nullptr;
    int m_iPenStatus = 0;
    int m_iDuplexUnit = -1;
    BOOL m_bBound = FALSE;
    int m_iInputBins = -1;
    BOOL m_bDynamicCounters = FALSE;
    // COM was initialised by this session (and is uninitialised by VClose).
    BOOL m_bComInitialized = FALSE;
};
