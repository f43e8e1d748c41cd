// The CommonUIProp worker: the count pass plans the plug-in's own items, the fill pass prepares the
// binding for the sheet (working copy, header values, printer records, the helper file and its
// device settings, locks, constraints, alerts, the tray record) and builds the items.
#pragma once

#include "platform/oemuiplatform.h"

class CZQAlertGate;
class CZQBinding;
class CZQConstraintGate;

// The whole call: E_FAIL (last error 13) for a block or mode that is not the core driver's, else S_OK.
HRESULT ZQCommonUIProp(CZQBinding& binding, CZQConstraintGate& gate, CZQAlertGate& alerts, DWORD dwMode,
                       POEMCUIPPARAM pOemCUIPParam);
