// Stand-in of zqlink.dll: the link class, which callers only create and release.
#include <windows.h>

#include "zqdeviceservers.h"
#include "zqdevshared.h"

namespace {

class CLink final : public zqdev::CObject<IZQDeviceLink> {
public:
    CLink() : CObject(L"link", IID_IZQDeviceLink) {}
};

const zqdev::ServerClass kClasses[] = {
    {&CLSID_ZQDeviceLink, kZQDevLinkBit, L"ZQ device link", &CLink::HrCreate<CLink>},
};

}  // namespace

const zqdev::ServerInfo zqdev::kServer = {L"zqlink", kClasses, 1};
