// A sample printer's option items as the core driver stand-in builds them from its model, without a
// printer or a plug-in. The stand-in declares the plug-in boundary apart from the plug-in, so the
// call block crosses here as the bytes a core driver hands over.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <compstui.h>

#include <memory>
#include <string>
#include <vector>

#include "zqmodel.h"

class CZQHostSession;

class CZQSampleItems {
public:
    CZQSampleItems(const wchar_t* modelPath, DWORD mode);
    ~CZQSampleItems();
    CZQSampleItems(const CZQSampleItems&) = delete;
    CZQSampleItems& operator=(const CZQSampleItems&) = delete;

    bool Built() const { return m_built; }
    // The CommonUIProp block of the items (a core driver's OEMCUIPPARAM).
    void* CommonUIParam();
    const zqmodel::Model& Model() const { return m_model; }
    // Selects an option of a feature the way the user does on the core driver's page.
    bool Choose(const char* feature, const std::string& option);
    // The option keyword, number or text of a feature's current value.
    std::string Value(const char* feature) const;
    // The core driver's item of a feature (null without one).
    POPTITEM Item(const char* feature) const;
    // The mode of every DrvUpdateUISetting report the core driver received, in order.
    std::vector<DWORD> UpdateModes() const;

private:
    zqmodel::Model m_model;
    std::unique_ptr<CZQHostSession> m_session;
    bool m_built = false;
};
