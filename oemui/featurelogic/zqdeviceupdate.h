// The feature logic's roads into Update Now: the printer sheet's "Update Now" of
// "AutoConfiguration", the refresh of the device options while "AutoConfiguration" is "On", and the
// configuration of a new printer while its installation finishes. Each makes an
// auto-configuration worker for the call, with the helper file's rules and the block's items and
// printer.
#pragma once

#include "platform/oemuiplatform.h"

class CZQUILogic;
class CZQXmlUiRules;

// The item's selected option is "Update Now": its display name is string 3888 of the status
// module, else that text.
BOOL ZQIsUpdateNowSelected(CZQUILogic& logic, const OPTITEM* pItem);
// The user picked "Update Now": the printer is asked and its fresh answers applied; a changed list
// of user-defined media or output bins writes "NotifyDate". When it does not answer and the driver
// has "ZQEnableDeviceIDEAC", its duplex unit and trays are asked over the spooler's bidirectional
// channel instead ("EACStatus" 3); the communication error shows only when that fails too. TRUE
// when the answers were applied.
BOOL ZQUpdateNowFromSheet(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam);
// CommonUIProp of the printer sheet: with "AutoConfiguration" at "On" the printer is asked
// again. TRUE when it answered.
BOOL ZQRefreshDeviceOptions(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam);
// CommonUIProp while "InstallationComplete" reads 1: the printer is asked without a user, through
// the servers its driver carries (started by the maker's mini-installer when they cannot be
// created), "EACStatus" records whether the driver carries them (1) or not (0), and the answers
// are applied.
void ZQConfigureAtInstallation(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam);
