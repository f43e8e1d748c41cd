#include "sampleitems.h"

#include "hosttest.h"
#include "zqsession.h"

CZQSampleItems::CZQSampleItems(const wchar_t* modelPath, DWORD mode) : m_session(new CZQHostSession(mode)) {
    m_model = zqhosttest::LoadModel(modelPath);
    m_session->VUseModel(m_model, L"Sample Printer");
    m_built = m_session->BBuildItems(0) != FALSE;
}

CZQSampleItems::~CZQSampleItems() = default;

void* CZQSampleItems::CommonUIParam() { return &m_session->CommonUIParam(); }

std::string CZQSampleItems::Value(const char* feature) const {
    return m_session->ValueText(m_model.FindFeature(feature));
}

POPTITEM CZQSampleItems::Item(const char* feature) const {
    return zqhosttest::FindItem(m_session->Items(), m_session->ItemCount(), feature);
}

std::vector<DWORD> CZQSampleItems::UpdateModes() const {
    std::vector<DWORD> modes;
    for (const ZQUpdateRecord& r : m_session->UpdateLog()) modes.push_back(r.mode);
    return modes;
}

bool CZQSampleItems::Choose(const char* feature, const std::string& option) {
    const int f = m_model.FindFeature(feature);
    const int o = f >= 0 ? m_model.FindOption(f, option) : -1;
    if (o < 0 || !m_session->BSetValueText(f, option)) return false;
    // The core driver answers from its item's selection when it has one.
    POPTITEM item = Item(feature);
    if (item) item->Sel = o;
    return true;
}
