// The rolls of the large-format printers: which inputs hold a roll ("InstalledRolls"), and each
// loaded roll's name, media type, width and custom width, kept as texts in the answer store and the
// printer data (where the pages and the roll preview read them) and shown in the plug-in's roll
// items. Measured widths are snapped to the standard roll widths.
#include <cstring>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "formats/zqdeviceanswer.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlreaders.h"
#include "xmlrules/zqxmluirules.h"

namespace {

namespace zs = zqsettings;

constexpr DWORD kPrinterMode = OEMCUIP_PRNPROP;
constexpr PCWSTR kInstalledRolls = zqkw::kInstalledRolls;
constexpr INT kIdsStandardWidth = 4920;  // the custom-width text of a standard width
constexpr INT kIdsUnloaded = 4921;       // nothing loaded, or a media type the helper file lacks
constexpr DWORD kRollLoaded = 0x7FFE;
constexpr DWORD kSheetLoaded = 0x65;
constexpr DWORD kNothingLoaded = 0;
constexpr BYTE kRollInstalled = 2;
constexpr double kWidthUnitsPerInch = 720.0;
constexpr float kSnapTolerance = 0.1f;
constexpr size_t kEditChars = 256;
constexpr size_t kValueNameChars = 256;

// The standard roll widths in inches, in the order they are tried.
const PCWSTR kStandardRollWidths[] = {L"60", L"54", L"50", L"42", L"36", L"30",
                                      L"24", L"33.11", L"23.39", L"16.54", L"40.55", L"28.66"};

// A roll item's edit text takes the text.
void SetEditText(POPTITEM item, PCWSTR pszText) {
    if (!item || !item->pSel) return;
    ZQCopyTextN(static_cast<PWSTR>(item->pSel), kEditChars, pszText, kEditChars - 1);
    item->Flags |= OPTIF_CHANGED;
}

// A roll list item selects its first option shown as the text, when it has one.
void SelectByText(POPTITEM item, PCWSTR pszText) {
    const int count = CZQCommon::IGetOptionCount(item);
    for (int i = 0; i < count; ++i) {
        const POPTPARAM option = CZQCommon::PGetOptionParam(item, i);
        if (!option || !option->pData || IS_INTRESOURCE(option->pData) || !ZQEqualNoCase(option->pData, pszText))
            continue;
        item->Sel = i;
        item->Flags |= OPTIF_CHANGED;
        return;
    }
}

// The installed answer of an input: its first byte is 2.
bool RollInstalled(const BYTE* pData, DWORD cb) { return pData && cb >= 1 && pData[0] == kRollInstalled; }

}  // namespace

BOOL CZQAutoConfig::BSnapRollWidth(float* pfInches) {
    if (!pfInches) return FALSE;
    for (PCWSTR text : kStandardRollWidths) {
        const float standard = wcstof(text, nullptr);
        if (standard - kSnapTolerance <= *pfInches && *pfInches <= standard + kSnapTolerance) {
            *pfInches = standard;
            return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Installed rolls
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VUpdateInstalledRolls() {
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj) return;
    ZQ_TRACE("CZQAutoConfig::VUpdateInstalledRolls");
    DWSetInstalledRolls();
    VUpdateRollMedia();
}

void CZQAutoConfig::VUpdateInstalledRollsWithNone() {
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj) return;
    ZQ_TRACE("CZQAutoConfig::VUpdateInstalledRollsWithNone");
    VSetInstalledRollsByParts();
    VUpdateRollMediaByParts();
}

DWORD CZQAutoConfig::DWSetInstalledRolls() {
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj) return ZQOPT_BAD_ARGUMENT;
    bool installed[3] = {};
    for (int n = 1; n <= 3; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kTrayAnswerFormat, n, zs::kTrayInstalled);
        CZQLocalPtr<BYTE> data;
        DWORD cb = 0;
        installed[n - 1] = BReadAnswer(name, data.Put(), &cb) && RollInstalled(data.Get(), cb);
    }
    const int index = installed[0] && installed[1] && installed[2] ? 1 : 0;
    return DWSelectOptionIndex(m_pCUIParam, kInstalledRolls, index, kPrinterMode);
}

void CZQAutoConfig::VSetInstalledRollsByParts() {
    PWSTR* options = nullptr;
    int count = 0;
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj ||
        DWGetOptionKeywords(m_pCUIParam, kInstalledRolls, &options, &count, kPrinterMode) != ZQOPT_OK)
        return;
    // The option whose rolls are all installed and most numerous; the first of equals.
    int chosen = 0, chosenParts = 0;
    for (int i = 0; i < count; ++i) {
        if (wcscmp(options[i], L"None") == 0) continue;
        PWSTR* parts = nullptr;
        int partCount = 0;
        if (ISplitAtUnderscore(m_pCUIParam, options[i], &parts, &partCount) != ZQOPT_OK) continue;
        VFreeStringList(parts, partCount);
        bool all = partCount > 0;
        for (int n = 1; n <= partCount && all; ++n) {
            WCHAR name[32];
            ZQFormatText(name, 32, zs::kTrayAnswerFormat, n, zs::kTrayInstalled);
            CZQLocalPtr<BYTE> data;
            DWORD cb = 0;
            all = BReadAnswer(name, data.Put(), &cb) && RollInstalled(data.Get(), cb);
        }
        if (all && partCount > chosenParts) {
            chosen = i;
            chosenParts = partCount;
        }
    }
    DWSelectOptionIndex(m_pCUIParam, kInstalledRolls, chosen, kPrinterMode);
    VFreeStringList(options, count);
}

// ---------------------------------------------------------------------------------------------
// Roll media
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VUpdateRollMedia() {
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj) return;
    CZQLocalPtr<WCHAR> option;
    const bool twoRolls = DWGetFeatureOption(m_pCUIParam, kInstalledRolls, option.Put()) == ZQOPT_OK &&
                          ZQEqualNoCase(option.Get(), L"2Rolls");
    for (int n = 1; n <= (twoRolls ? 2 : 3); ++n) {
        WCHAR prefix[16];
        ZQFormatText(prefix, 16, L"Roll%d", n);
        VUpdateRollInput(n, prefix, L"Unknown");
    }
}

void CZQAutoConfig::VUpdateRollMediaByParts() {
    PWSTR* options = nullptr;
    int count = 0;
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj ||
        DWGetOptionKeywords(m_pCUIParam, kInstalledRolls, &options, &count, kPrinterMode) != ZQOPT_OK)
        return;
    for (int i = 0; i < count; ++i) {
        if (wcscmp(options[i], L"None") == 0) continue;
        PWSTR* parts = nullptr;
        int partCount = 0;
        if (ISplitAtUnderscore(m_pCUIParam, options[i], &parts, &partCount) != ZQOPT_OK) break;
        for (int j = 0; j < partCount; ++j) VUpdateRollInput(j + 1, parts[j], L"Unloaded");
        VFreeStringList(parts, partCount);
    }
    VFreeStringList(options, count);
}

void CZQAutoConfig::VWriteRollValue(PCWSTR pszPrefix, PCWSTR pszField, PCWSTR pszText) {
    WCHAR name[kValueNameChars];
    ZQCopyTextN(name, kValueNameChars, pszPrefix, kValueNameChars - 1);
    ZQAppendText(name, kValueNameChars, pszField);
    BWriteAnswer(name, REG_SZ, pszText, static_cast<DWORD>((wcslen(pszText) + 1) * sizeof(WCHAR)));
    CZQDriverData::BSetPrinterData(m_hPrinter, name, pszText);
}

void CZQAutoConfig::VUpdateRollInput(int iInput, PCWSTR pszPrefix, PCWSTR pszUnloaded) {
    WCHAR answer[48];
    ZQFormatText(answer, 48, zs::kTrayAnswerFormat, iInput, zs::kTrayMediaSizeLoaded);
    CZQLocalPtr<BYTE> sizeData;
    DWORD cb = 0;
    DWORD loaded = 0;
    // A placeholder is no answer: the printer was not asked, or did not answer.
    if (!BReadAnswer(answer, sizeData.Put(), &cb) || cb != sizeof loaded ||
        zqanswer::IsPlaceholderValue(sizeData.Get(), cb))
        return;
    memcpy(&loaded, sizeData.Get(), sizeof loaded);
    // Any other answer says nothing about the input.
    if (loaded != kRollLoaded && loaded != kSheetLoaded && loaded != kNothingLoaded) return;

    // The roll items by the value names they show.
    POPTITEM items[4] = {};
    const auto& fields = zs::kRollFields;
    for (int f = 0; f < 4; ++f) {
        WCHAR name[kValueNameChars];
        ZQFormatText(name, kValueNameChars, L"%ls%ls", pszPrefix, fields[f]);
        const int pubId = IRollValuePubId(name);
        if (pubId < 0 || DWFindOemOptItemByPubId(m_pCUIParam, static_cast<BYTE>(pubId), &items[f]) != ZQOPT_OK)
            items[f] = nullptr;
    }
    POPTITEM& nameItem = items[0];
    POPTITEM& typeItem = items[1];
    POPTITEM& widthItem = items[2];
    POPTITEM& customItem = items[3];

    // The status module's texts, for this input only; one the worker was given stays.
    const bool held = HResModule() != nullptr;
    const bool module = held || BLoadResourceModule(m_szPrinterName);
    auto loadText = [&](INT id, PWSTR text) { return module && BLoadResString(id, text); };

    if (loaded == kNothingLoaded) {
        WCHAR text[kResStringChars] = {};
        if (module && !loadText(kIdsUnloaded, text)) ZQCopyText(text, kResStringChars, pszUnloaded);
        for (PCWSTR field : fields) VWriteRollValue(pszPrefix, field, text);
        SetEditText(nameItem, text);
        SetEditText(customItem, text);
        if (typeItem) SelectByText(typeItem, text);
        if (widthItem) SelectByText(widthItem, text);
        if (!held) VSetResourceModule(nullptr);
        return;
    }

    auto readText = [&](PCWSTR suffix, CZQLocalPtr<BYTE>& data) {
        WCHAR name[48];
        ZQFormatText(name, 48, zs::kTrayAnswerFormat, iInput, suffix);
        DWORD cbText = 0;
        return BReadAnswer(name, data.Put(), &cbText) && cbText >= sizeof(WCHAR) &&
               !zqanswer::IsPlaceholderValue(data.Get(), cbText);
    };
    auto readNumber = [&](PCWSTR suffix, DWORD* value) {
        WCHAR name[48];
        ZQFormatText(name, 48, zs::kTrayAnswerFormat, iInput, suffix);
        CZQLocalPtr<BYTE> data;
        DWORD cbNumber = 0;
        // Every number read counts, 32 and 6400 as much as any other.
        if (!BReadAnswer(name, data.Put(), &cbNumber) || cbNumber != sizeof(DWORD)) return false;
        memcpy(value, data.Get(), sizeof(DWORD));
        return true;
    };

    // Name: vendor and name, or nothing when either is missing.
    CZQLocalPtr<BYTE> vendor, media;
    WCHAR name[kEditChars] = {};
    if (readText(zs::kTrayMediaVendor, vendor) && readText(zs::kTrayMediaName, media))
        ZQFormatText(name, kEditChars, L"%ls %ls", reinterpret_cast<PCWSTR>(vendor.Get()),
                     reinterpret_cast<PCWSTR>(media.Get()));
    VWriteRollValue(pszPrefix, zs::kRollFieldName, name);
    SetEditText(nameItem, name);

    const CZQXmlParserCommon* parser = m_pRules && m_pRules->Parser().BIsLoaded() ? &m_pRules->Parser() : nullptr;
    // Walks a list of the helper file: the text of the option for the value in each element, or
    // the fall-back id when the element has none; the last text that loads stands.
    auto eachText = [&](IXMLDOMNodeList* list, float value, INT fallbackId, auto&& take) {
        LONG length = 0;
        if (!list || FAILED(list->get_length(&length))) return;
        for (LONG e = 0; e < length; ++e) {
            CZQComPtr<IXMLDOMNode> element;
            if (list->get_item(e, element.Put()) != S_OK || !element) continue;
            LONG id = 0;
            if (!CZQXmlHelperReaders::BGetOptionResourceId(element.Get(), value, &id)) id = fallbackId;
            WCHAR text[kResStringChars] = {};
            if (id && loadText(static_cast<INT>(id), text)) take(text);
        }
    };

    DWORD type = 0;
    if (parser && readNumber(zs::kTrayMediaType, &type))
        eachText(parser->RollTypeList(), static_cast<float>(type), kIdsUnloaded, [&](PCWSTR text) {
            VWriteRollValue(pszPrefix, zs::kRollFieldType, text);
            if (typeItem) SelectByText(typeItem, text);
        });

    // A width that cannot be read leaves the width and the custom width as they are.
    DWORD units = 0;
    if (readNumber(zs::kTrayCustomMediaWidth, &units)) {
        float inches = static_cast<float>(units / kWidthUnitsPerInch);
        WCHAR custom[kEditChars] = {};
        const bool standard = BSnapRollWidth(&inches);
        if (standard) {
            if (module && !loadText(kIdsStandardWidth, custom)) ZQCopyText(custom, kEditChars, L"Unknown");
        } else {
            ZQFormatText(custom, kEditChars, L"%1.2lf", static_cast<double>(inches));
            inches = -1.0f;
        }
        if (parser && parser->RollWidthList()) {
            eachText(parser->RollWidthList(), inches, 0, [&](PCWSTR text) {
                VWriteRollValue(pszPrefix, zs::kRollFieldWidth, text);
                if (widthItem) SelectByText(widthItem, text);
            });
            // Once per input, after the list was searched.
            if (!standard) m_pRules->VClampRollWidth(custom);
            VWriteRollValue(pszPrefix, zs::kRollFieldCustomWidth, custom);
            SetEditText(customItem, custom);
            if (customItem) {
                if (standard) {
                    customItem->Flags |= OPTIF_DISABLED;
                    if (customItem->pOptType && customItem->pOptType->pOptParam)
                        customItem->pOptType->pOptParam[0].pData = nullptr;
                } else {
                    customItem->Flags &= ~static_cast<DWORD>(OPTIF_DISABLED);
                }
            }
        }
    }
    if (!held) VSetResourceModule(nullptr);
}
