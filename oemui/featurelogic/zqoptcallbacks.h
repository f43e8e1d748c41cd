// The option-item callbacks the core driver calls when the user changes an item of its list.
#pragma once

#include "platform/oemuiplatform.h"

class CZQBinding;

// Hands the core driver the callback of the call's mode (document or printer) and a record in its
// heap that leads the callback back to the binding.
void ZQBindOptItemCallback(CZQBinding* pBinding, POEMCUIPPARAM pParam, DWORD dwMode);

// The callback of the plug-in's push items (their OPTPARAM pData, style PUSHBUTTON_TYPE_CALLBACK):
// opens the item's dialog. The sheet ignores the answer.
LONG APIENTRY ZQPushItemCallback(PCPSUICBPARAM pCBParam);
