#include "zqcaps.h"

#include <cstring>

#include "zqprinter.h"

namespace {

// The document feature feeding a public field, or the one with a public id.
int FeatureWithField(const zqmodel::Model& m, zqmodel::Field field) {
    for (size_t i = 0; i < m.features.size(); ++i)
        if (m.features[i].field == field && m.features[i].scope == zqmodel::Scope::Document) return static_cast<int>(i);
    return -1;
}

int FeatureWithPubId(const zqmodel::Model& m, uint8_t pubId) {
    for (size_t i = 0; i < m.features.size(); ++i)
        if (m.features[i].pubId == pubId && m.features[i].scope == zqmodel::Scope::Document) return static_cast<int>(i);
    return -1;
}

// The options a list capability reports: every option not hidden.
std::vector<const zqmodel::Option*> Listed(const zqmodel::Model& m, int feature) {
    std::vector<const zqmodel::Option*> out;
    if (feature < 0) return out;
    for (const auto& o : m.features[static_cast<size_t>(feature)].options)
        if (!o.hidden) out.push_back(&o);
    return out;
}

template <typename T, typename Fn>
DWORD WriteList(const std::vector<const zqmodel::Option*>& list, PVOID out, Fn value) {
    if (out) {
        T* p = static_cast<T*>(out);
        for (size_t i = 0; i < list.size(); ++i) p[i] = value(*list[i], i);
    }
    return static_cast<DWORD>(list.size());
}

DWORD WriteNames(const CZQHostSession& s, const std::vector<const zqmodel::Option*>& list, PVOID out, size_t width) {
    if (out) {
        auto* p = static_cast<WCHAR*>(out);
        for (size_t i = 0; i < list.size(); ++i) {
            std::memset(p + i * width, 0, width * sizeof(WCHAR));
            lstrcpynW(p + i * width, s.NameText(list[i]->name).c_str(), static_cast<int>(width));
        }
    }
    return static_cast<DWORD>(list.size());
}

bool HasOptionId(const zqmodel::Model& m, int feature, int32_t id) {
    if (feature < 0) return false;
    for (const auto& o : m.features[static_cast<size_t>(feature)].options)
        if (o.hasId && o.id == id && !o.hidden) return true;
    return false;
}

}  // namespace

DWORD ZQDeviceCapability(const CZQHostSession& s, WORD capability, PVOID out) {
    const zqmodel::Model& m = s.Model();
    const int paper = FeatureWithField(m, zqmodel::Field::Paper);
    switch (capability) {
        case DC_FIELDS: return s.PublicDevmode().dmFields;
        case DC_SIZE: return sizeof(DEVMODEW);
        case DC_EXTRA: return s.DWDevmodeSize() - sizeof(DEVMODEW);
        case DC_DRIVER: return s.PublicDevmode().dmDriverVersion;
        case DC_VERSION: return DM_SPECVERSION;
        case DC_PAPERS:
            return WriteList<WORD>(Listed(m, paper), out, [](const zqmodel::Option& o, size_t i) {
                return static_cast<WORD>(o.hasId ? o.id : static_cast<int32_t>(DMPAPER_USER + i));
            });
        case DC_PAPERNAMES: return WriteNames(s, Listed(m, paper), out, 64);
        case DC_PAPERSIZE:
            return WriteList<POINT>(Listed(m, paper), out, [](const zqmodel::Option& o, size_t) {
                return POINT{o.width, o.length};
            });
        case DC_MINEXTENT:
        case DC_MAXEXTENT: {
            auto list = Listed(m, paper);
            if (list.empty()) return GDI_ERROR;
            LONG w = list[0]->width, l = list[0]->length;
            for (const auto* o : list) {
                if (capability == DC_MINEXTENT) {
                    if (o->width < w) w = o->width;
                    if (o->length < l) l = o->length;
                } else {
                    if (o->width > w) w = o->width;
                    if (o->length > l) l = o->length;
                }
            }
            return MAKELONG(w, l);
        }
        case DC_BINS:
            return WriteList<WORD>(Listed(m, FeatureWithField(m, zqmodel::Field::Source)), out,
                                   [](const zqmodel::Option& o, size_t i) {
                                       return static_cast<WORD>(o.hasId ? o.id : static_cast<int32_t>(DMBIN_USER + i));
                                   });
        case DC_BINNAMES: return WriteNames(s, Listed(m, FeatureWithField(m, zqmodel::Field::Source)), out, 24);
        case DC_MEDIATYPES:
            return WriteList<DWORD>(Listed(m, FeatureWithField(m, zqmodel::Field::Media)), out,
                                    [](const zqmodel::Option& o, size_t i) {
                                        return static_cast<DWORD>(o.hasId ? o.id : static_cast<int32_t>(DMMEDIA_USER + i));
                                    });
        case DC_MEDIATYPENAMES: return WriteNames(s, Listed(m, FeatureWithField(m, zqmodel::Field::Media)), out, 64);
        case DC_ENUMRESOLUTIONS: {
            std::vector<const zqmodel::Option*> list;
            for (const auto* o : Listed(m, FeatureWithField(m, zqmodel::Field::Quality)))
                if (o->xres > 0) list.push_back(o);
            if (out) {
                auto* p = static_cast<LONG*>(out);
                for (size_t i = 0; i < list.size(); ++i) {
                    p[2 * i] = list[i]->xres;
                    p[2 * i + 1] = list[i]->yres;
                }
            }
            return static_cast<DWORD>(list.size());
        }
        case DC_NUP:
            return WriteList<DWORD>(Listed(m, FeatureWithPubId(m, DMPUB_NUP)), out, [](const zqmodel::Option& o, size_t) {
                return static_cast<DWORD>(o.hasId ? o.id : 1);
            });
        case DC_DUPLEX: {
            int f = FeatureWithField(m, zqmodel::Field::Duplex);
            return (f >= 0 && Listed(m, f).size() > 1) ? 1 : 0;
        }
        case DC_COLLATE: return FeatureWithField(m, zqmodel::Field::Collate) >= 0 ? 1 : 0;
        case DC_COPIES: {
            int f = FeatureWithField(m, zqmodel::Field::Copies);
            return f >= 0 && m.features[static_cast<size_t>(f)].kind == zqmodel::Kind::Range
                       ? static_cast<DWORD>(m.features[static_cast<size_t>(f)].rangeMax)
                       : 1;
        }
        case DC_ORIENTATION:
            return HasOptionId(m, FeatureWithField(m, zqmodel::Field::Orientation), DMORIENT_LANDSCAPE) ? 90 : 0;
        case DC_COLORDEVICE: return HasOptionId(m, FeatureWithField(m, zqmodel::Field::Color), DMCOLOR_COLOR) ? 1 : 0;
        case DC_FILEDEPENDENCIES: {
            std::vector<std::string> files;
            if (!m.plugIn.empty()) files.push_back(m.plugIn);
            files.insert(files.end(), m.files.begin(), m.files.end());
            files.insert(files.end(), m.modules.begin(), m.modules.end());
            if (out) {
                auto* p = static_cast<WCHAR*>(out);
                for (size_t i = 0; i < files.size(); ++i) {
                    std::memset(p + i * 64, 0, 64 * sizeof(WCHAR));
                    lstrcpynW(p + i * 64, ZQWide(files[i]).c_str(), 64);
                }
            }
            return static_cast<DWORD>(files.size());
        }
        default: return GDI_ERROR;
    }
}

ATTRIBUTE_INFO_3 ZQJobAttributes(const CZQHostSession& s) {
    const zqmodel::Model& m = s.Model();
    ATTRIBUTE_INFO_3 a = {};
    a.dwJobNumberOfPagesPerSide = 1;
    a.dwDrvNumberOfPagesPerSide = 1;
    a.dwNupBorderFlags = BORDER_PRINT;
    a.dwJobPageOrderFlags = NORMAL_PRINT;
    a.dwDrvPageOrderFlags = NORMAL_PRINT;
    a.dwJobNumberOfCopies = static_cast<DWORD>(s.PublicDevmode().dmCopies > 0 ? s.PublicDevmode().dmCopies : 1);
    a.dwDrvNumberOfCopies = 1;
    a.dmPrintQuality = s.PublicDevmode().dmPrintQuality;
    a.dmYResolution = s.PublicDevmode().dmYResolution;
    // The print processor does the pages per side and the page order of this driver.
    if (int f = FeatureWithPubId(m, DMPUB_NUP); f >= 0) {
        const auto& o = m.features[static_cast<size_t>(f)].options[static_cast<size_t>(s.Value(f).option)];
        if (o.hasId && o.id > 0) a.dwJobNumberOfPagesPerSide = static_cast<DWORD>(o.id);
    }
    if (int f = FeatureWithPubId(m, DMPUB_PAGEORDER); f >= 0) {
        const auto& o = m.features[static_cast<size_t>(f)].options[static_cast<size_t>(s.Value(f).option)];
        if (o.hasId) a.dwJobPageOrderFlags = static_cast<DWORD>(o.id);
    }
    return a;
}
