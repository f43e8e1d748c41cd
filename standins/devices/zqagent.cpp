// Stand-in of zqagent.dll: the agent that tells whether a printer answers. A printer answers when
// it has a readable device script.
#include <windows.h>

#include "zqdeviceservers.h"
#include "zqdevscript.h"
#include "zqdevshared.h"

namespace {

class CAgent final : public zqdev::CObject<IZQDeviceAgent> {
public:
    CAgent() : CObject(L"agent", IID_IZQDeviceAgent) {}

    STDMETHODIMP CheckDevice(LPCWSTR pszPrinterName, LPCWSTR pszPortName, DWORD* pdwAnswers,
                             DWORD* pdwSecond) override {
        DWORD answers = 0;
        HRESULT hr = static_cast<HRESULT>(zqdev::DWSwitch(L"FailCheckDevice", S_OK));
        if (SUCCEEDED(hr) && (!pdwAnswers || !pdwSecond)) hr = E_POINTER;
        if (SUCCEEDED(hr) && !zqdev::DWSwitch(L"SilentDevice", 0)) {
            const std::wstring path = zqdev::ScriptPathFor(pszPrinterName);
            zqdev::DeviceScript script;
            std::wstring why;
            answers = !path.empty() && zqdev::BReadDeviceScript(path, script, why) ? 1 : 0;
        }
        if (pdwAnswers) *pdwAnswers = answers;
        if (pdwSecond) *pdwSecond = 0;
        return HrLogged(L"CheckDevice(" + zqdev::Quoted(pszPrinterName) + L", " + zqdev::Quoted(pszPortName) + L")", hr,
                        L" answers " + std::to_wstring(answers));
    }
};

const zqdev::ServerClass kClasses[] = {
    {&CLSID_ZQDeviceAgent, kZQDevAgentBit, L"ZQ device agent", &CAgent::HrCreate<CAgent>},
};

}  // namespace

const zqdev::ServerInfo zqdev::kServer = {L"zqagent", kClasses, 1};
