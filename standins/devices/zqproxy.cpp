// Stand-in of the proxy modules zqagentps.dll and zqlinkps.dll. The servers run in the caller's
// process, so nothing is marshalled; registering a proxy only marks the proxy itself.
#include <windows.h>

#include "zqdevshared.h"

const zqdev::ServerInfo zqdev::kServer = {ZQ_PROXY_NAME, nullptr, 0};
