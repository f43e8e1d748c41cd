#include "common/zqcommon.h"

CZQCommon::CZQCommon() = default;

CZQCommon::~CZQCommon() {
    if (m_bOwnsResModule && m_hResModule) FreeLibrary(m_hResModule);
}
