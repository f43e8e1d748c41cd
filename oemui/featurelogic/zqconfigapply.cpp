#include "featurelogic/zqconfigapply.h"

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqbinding.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqrunswitches.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

namespace {

namespace zs = zqsettings;

// Outcomes of the import and of its first application ("DMCStatus"); unknown when the stored
// trees could not be listed.
enum : DWORD {
    kStatusUnknown = 0,
    kStatusDeviceAnswered = 1,  // nothing stored to apply, but the printer configured itself
    kStatusNothingApplied = 2,
    kStatusApplied = 3,
};
// "EACStatus" after a configuration from the printer's own answers.
constexpr DWORD kEacFromDevice = 3;
constexpr PCWSTR kDeviceAnswers = zs::kAnswerStoreKey;

// A per-user device answer of four bytes or more, as a number.
bool ReadDeviceAnswer(HANDLE hPrinter, PCWSTR pszValue, DWORD* pdwValue) {
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!CZQUIBase::BReadUserSetting(hPrinter, kDeviceAnswers, pszValue, data.Put(), &cb)) return false;
    if (pdwValue) *pdwValue = cb >= sizeof(DWORD) ? *reinterpret_cast<const DWORD*>(data.Get()) : 0;
    return true;
}

// Keeps the first refusal of the spooler.
void Note(DWORD* pdwRefused, BOOL bDone) {
    if (!bDone && *pdwRefused == ERROR_SUCCESS) *pdwRefused = GetLastError() ? GetLastError() : ERROR_INVALID_DATA;
}

int CountValues(HANDLE hPrinter, PCWSTR pszKey, DWORD* pdwRefused) {
    const int count = CZQDriverData::ICountValues(hPrinter, pszKey);
    Note(pdwRefused, count >= 0);
    return count;
}

}  // namespace

BOOL CZQConfigApply::BApplyConfigManagerData(DWORD dwMode) {
    ZQ_TRACE("CZQConfigApply::BApplyConfigManagerData");
    const POEMCUIPPARAM p = m_b.pCUIParam;
    if (!p || !p->hPrinter || (dwMode != OEMCUIP_DOCPROP && dwMode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const HANDLE h = p->hPrinter;
    DWORD installing = 0;
    if (CZQDriverData::BGetPrinterDataDword(h, zs::kInstallationComplete, &installing) && installing == 0) return TRUE;

    DWORD refused = ERROR_SUCCESS;
    const DWORD printing = dwMode == OEMCUIP_DOCPROP ? DWApplyPrinting(&refused) : kStatusNothingApplied;
    const DWORD physical = dwMode == OEMCUIP_PRNPROP ? DWApplyPhysical(&refused) : kStatusNothingApplied;

    // The outcome of the first application only: written while there is none, never from a guess.
    DWORD status = kStatusUnknown;
    if (CZQDriverData::BGetPrinterDataDword(h, zs::kDMCStatus, &status)) {
        status = kStatusUnknown;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        Note(&refused, FALSE);
    } else if (printing == kStatusApplied || physical == kStatusApplied) {
        status = kStatusApplied;
    } else if (printing == kStatusNothingApplied && physical == kStatusNothingApplied && dwMode == OEMCUIP_DOCPROP) {
        const int devices = CountValues(h, zs::kDriverDataPhysical, &refused);
        DWORD eac = 0;
        if (devices >= 0)
            status = devices > 0 && ReadDeviceAnswer(h, zs::kEACStatus, &eac) && eac == kEacFromDevice
                         ? kStatusDeviceAnswered
                         : kStatusNothingApplied;
    }
    if (status != kStatusUnknown) Note(&refused, CZQDriverData::BSetPrinterDataDword(h, zs::kDMCStatus, status));
    if (refused == ERROR_SUCCESS) return TRUE;
    SetLastError(refused);
    return FALSE;
}

DWORD CZQConfigApply::DWApplyPrinting(DWORD* pdwRefused) {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    const int devmodeItems = CountValues(p->hPrinter, zs::kDriverDataDevModeItems, pdwRefused);
    const int optItems = CountValues(p->hPrinter, zs::kDriverDataOptItems, pdwRefused);
    // Nothing stored, nothing to apply: the items keep the user's choices.
    if (devmodeItems == 0 && optItems == 0) return kStatusNothingApplied;
    CZQDriverData& settings = m_b.driverData;
    settings.VSetLanguage(m_b.logic.m_dwPdl);
    Note(pdwRefused, settings.VApplyDevModeItems(p));
    m_b.logic.BImportDMCWatermarks();
    Note(pdwRefused, settings.VApplyOptItems(p));
    WCHAR quality[zs::kItemChars];
    if (CZQDriverData::BGetImportedPrintQuality(p, quality)) VApplyPrintQuality(quality);
    // Counted after the pass: an option item that already held has left its tree.
    const int devmodeLeft = CountValues(p->hPrinter, zs::kDriverDataDevModeItems, pdwRefused);
    const int optLeft = CountValues(p->hPrinter, zs::kDriverDataOptItems, pdwRefused);
    if (devmodeLeft < 0 || optLeft < 0) return kStatusUnknown;
    return devmodeLeft > 0 || optLeft > 0 ? kStatusApplied : kStatusNothingApplied;
}

DWORD CZQConfigApply::DWApplyPhysical(DWORD* pdwRefused) {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    // The printer's own answers about its installed options come first.
    if (ReadDeviceAnswer(p->hPrinter, zs::kDevSetUpdate, nullptr)) return kStatusNothingApplied;
    CZQDriverData& settings = m_b.driverData;
    settings.VSetLanguage(m_b.logic.m_dwPdl);
    Note(pdwRefused, settings.VApplyPhysicalItems(p));
    const int devices = CountValues(p->hPrinter, zs::kDriverDataPhysical, pdwRefused);
    if (devices <= 0) return devices == 0 ? kStatusNothingApplied : kStatusUnknown;
    Note(pdwRefused, CZQDriverData::BSetPrinterDataDword(p->hPrinter, zs::kPrnPropChng, 1));
    return kStatusApplied;
}

BOOL CZQConfigApply::BApplyOndrelData(DWORD dwMode, const VOID* pPrivateDM) {
    ZQ_TRACE("CZQConfigApply::BApplyOndrelData");
    const POEMCUIPPARAM p = m_b.pCUIParam;
    PFN_ZQAnnotate annotate = nullptr;
    CZQModule ticketModule;
    if (CZQRunSwitches::BTicketManager(CZQRunSwitches::kTicketAnnotating, pPrivateDM, nullptr, nullptr))
        CZQRunSwitches::BTicketManager(CZQRunSwitches::kTicketAnnotator, pPrivateDM, &annotate, ticketModule.Put());
    if (!p || !p->hPrinter) return TRUE;
    CZQDriverData& settings = m_b.driverData;
    settings.VSetLanguage(m_b.logic.m_dwPdl);
    if (dwMode == OEMCUIP_DOCPROP) {
        // The ticket's watermark is the run's, never the printer's stored one.
        const CZQSnapshotSettings run(p->pOEMDM);
        CZQDriverData::VApplySnapshotDevModeItems(p, annotate);
        m_b.logic.BImportDMCWatermarks(&run);
        settings.VApplySnapshotOptItems(p, annotate);
        WCHAR quality[zs::kItemChars];
        if (m_b.logic.PLoadedRules(m_b.pRules) && CZQDriverData::BApplySnapshotPrintQuality(p, quality))
            VApplyPrintQuality(quality);
    } else if (dwMode == OEMCUIP_PRNPROP && !ReadDeviceAnswer(p->hPrinter, zs::kDevSetUpdate, nullptr)) {
        settings.VApplySnapshotDeviceItems(p);
        // The run's own installable options count, not the printer's stored ones.
        DWORD devices = 0;
        if (CZQDriverData::BReadSnapshotList(zs::kOndrelPhysical, nullptr, &devices, p->pOEMDM) && devices > 0)
            CZQDriverData::BSetPrinterDataDword(p->hPrinter, zs::kPrnPropChng, 1);
    }
    return TRUE;
}

void CZQConfigApply::VApplyPrintQuality(PCWSTR pszQuality) {
    CZQXmlUiRules* rules = m_b.logic.PLoadedRules(m_b.pRules);
    if (!rules) return;
    CZQXmlParserCommon& parser = rules->Parser();
    ZQCopyText(parser.m_szQualityImportValue, ARRAYSIZE(parser.m_szQualityImportValue), pszQuality);
    // The event's macros decide by the media type too; the quality group is the event's to choose.
    m_b.logic.VReadMediaQualityKeywords(rules);
    parser.m_szQualityGroupValue[0] = 0;
    rules->BRunMacroSwitch(parser.EventList(), L"DMCInstallTime");
    m_b.logic.VApplyQualityRuleStates(rules);
    m_b.logic.VApplyImportedPrintQuality(rules);
}
