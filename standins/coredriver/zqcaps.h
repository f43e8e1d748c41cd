// Device capabilities and job attributes of the core driver stand-in, from the printer's model
// and the current values.
#pragma once

#include "zqsession.h"

// The answer of DrvDeviceCapabilities for one capability; lists are written to pvOutput when it is
// not null and always counted. GDI_ERROR for capabilities this driver does not have.
DWORD ZQDeviceCapability(const CZQHostSession& session, WORD capability, PVOID pvOutput);

// Pages per side, page order and copies of the current values.
ATTRIBUTE_INFO_3 ZQJobAttributes(const CZQHostSession& session);
