// Calls into the maker's device servers, which may serve from processes of their own (the agent and
// the link as programs): each call (the creation, the method, the release) is made on a thread of
// its own in the multithreaded apartment and waited for at most a time limit, the caller's thread
// answering only sent messages and paints meanwhile (its windows take no input). A server that does
// not answer in time (stopped, hung, or never listening) leaves the call to its thread, which ends
// once the server answers or goes, and keeps this module loaded until then; the caller hears
// RPC_E_TIMEOUT, and so does every later call of that class, at once, until that call has ended. A
// creation that fails because the server went away just then (it was ending as the call came) is
// tried again, which starts the server anew.
#pragma once

#include <windows.h>

namespace zqserver {

// How long one call into a device server may take.
inline constexpr DWORD kCallLimitMs = 10000;

// Whether the class (the servers' context) can be created now; the object goes again at once.
HRESULT HrTryCreate(REFCLSID clsid, REFIID iid, DWORD dwLimitMs);
// The agent's device check of the printer on its port (either may be null): the check's result
// with *pdwAnswers, or what failed; *pbCreated tells whether the agent could be created.
HRESULT HrCheckDevice(PCWSTR pszPrinter, PCWSTR pszPort, DWORD* pdwAnswers, bool* pbCreated, DWORD dwLimitMs);

}  // namespace zqserver
