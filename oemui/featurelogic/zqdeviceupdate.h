// The feature logic's roads into Update Now: the printer sheet's "Update Now" of
// "AutoConfiguration", and the refresh of the device options while "AutoConfiguration" is "On".
// Each makes an auto-configuration worker for the call, with the helper file's rules and the
// block's printer.
#pragma once

#include "platform/oemuiplatform.h"

class CZQUILogic;
class CZQXmlUiRules;

// The item's selected option is "Update Now": its display name is string 3888 of the status
// module, else that text.
BOOL ZQIsUpdateNowSelected(CZQUILogic& logic, const OPTITEM* pItem);
// The user picked "Update Now": the printer is asked and its fresh answers applied. When it does
// not answer and the driver has "ZQEnableDeviceIDEAC", its duplex unit and trays are asked over
// the spooler's bidirectional channel instead ("EACStatus" 3); the communication error shows only
// when that fails too. TRUE when the answers were applied.
BOOL ZQUpdateNowFromSheet(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam);
// CommonUIProp of the printer sheet: with "AutoConfiguration" at "On" the printer is asked
// again. TRUE when it answered.
BOOL ZQRefreshDeviceOptions(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam);
