// The host's side of the benchmarks, as an application and the core driver see the plug-in: a
// device-capabilities query of the desk printer against the same printer without the plug-in, and
// the private devmode merge through the plug-in's interface against a plain copy of the block.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zqbench.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqplugin.h"

namespace zqbench {
namespace {

void MeasureSheets(int reps) {
    SamplePrinters printers;
    if (!OpenSamplePrinters(printers)) return;
    const std::wstring &desk = printers.desk, &core = printers.core;
    const HANDLE hDesk = printers.hDesk;
    // One device-capabilities query: a whole core-driver call, with a new plug-in object where the
    // printer has one. A sheet of the desk printer asks for its lists this way.
    auto query = [](const std::wstring& name) {
        return Time(9, 1, [&] {
            DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_BINS, nullptr, nullptr);
            return -1.0;
        });
    };
    const auto coreQuery = query(core), deskQuery = query(desk);
    Report("device-capabilities query, core driver alone", coreQuery);
    Report("device-capabilities query, with the plug-in", deskQuery, &coreQuery, "the core driver alone");

    // The devmode merge: the plug-in bound as the core driver binds it.
    CZQPluginBinding plugin;
    IPrintOemDriverUI* pDriverUI = ZQCreateDriverUI();
    if (!plugin.BLoad(ExeDir() + L"\\zqoemui.dll") || !pDriverUI || !plugin.BBind(pDriverUI)) {
        std::fprintf(stderr, "cannot bind the plug-in\n");
    } else {
        OEMDMPARAM p = {};
        p.cbSize = sizeof p;
        p.hPrinter = hDesk;
        plugin.DevMode(OEMDM_SIZE, &p);
        const DWORD cb = p.cbBufSize;
        std::vector<BYTE> publicDM = ZQQueryDevmode(hDesk, desk), in(cb), out(cb);
        p.pPublicDMIn = publicDM.empty() ? nullptr : reinterpret_cast<PDEVMODEW>(publicDM.data());
        p.pOEMDMOut = in.data();
        p.cbBufSize = cb;
        plugin.DevMode(OEMDM_DEFAULT, &p);
        p.pOEMDMIn = in.data();
        p.pOEMDMOut = out.data();
        const int inner = 200;
        auto copies = Time(reps, 1, [&] {
            const double t0 = NowUs();
            for (int i = 0; i < inner; ++i) {
                std::memcpy(out.data(), in.data(), cb);
                // Keeps the copy from being folded away.
                in[i % cb] ^= out[(i + 1) % cb] & 0;
            }
            return (NowUs() - t0) / inner;
        });
        auto merges = Time(reps, 1, [&] {
            const double t0 = NowUs();
            for (int i = 0; i < inner; ++i) plugin.DevMode(OEMDM_MERGE, &p);
            return (NowUs() - t0) / inner;
        });
        Report("plain copy of the private block", copies);
        Report("devmode merge through the interface", merges, &copies, "the plain copy");
        // What the core driver does per call: a new plug-in object, bound, then (or not) the merge.
        auto newObject = [&](bool merge) {
            return Time(reps, 1, [&] {
                CZQPluginBinding once;
                IPrintOemDriverUI* pUI = ZQCreateDriverUI();
                once.BLoad(ExeDir() + L"\\zqoemui.dll");
                once.BBind(pUI);
                if (merge) once.DevMode(OEMDM_MERGE, &p);
                pUI->lpVtbl->Release(pUI);
                return -1.0;
            });
        };
        const auto bound = newObject(false), fresh = newObject(true);
        Report("new plug-in object, bound", bound, &copies, "the plain copy");
        Report("new plug-in object, bound, one merge", fresh, &copies, "the plain copy");
    }
    if (pDriverUI) pDriverUI->lpVtbl->Release(pDriverUI);
}

bool InstallSample(const wchar_t* model, std::wstring& printer) {
    ZQInstallResult result;
    if (!ZQInstallPrinter(ExeDir() + model, ExeDir(), L"", result)) {
        std::fwprintf(stderr, L"cannot install %ls: %ls\n", model, result.error.c_str());
        return false;
    }
    printer = result.printerName;
    return true;
}

// The desk printer's model under another name, with its plug-in or without, with `extra` appended.
bool WriteDeskVariant(const wchar_t* model, const std::string& name, bool plugIn, const std::string& extra) {
    const std::string desk = ReadFile(ExeDir() + kDeskModel);
    if (desk.empty()) return false;
    std::string out;
    size_t at = 0;
    while (at < desk.size()) {
        size_t end = desk.find('\n', at);
        if (end == std::string::npos) end = desk.size() - 1;
        std::string line = desk.substr(at, end - at + 1);
        at = end + 1;
        if (!plugIn && line.rfind("PlugIn=", 0) == 0) continue;
        if (line.rfind("Name=ZQ Desk 2400 Inkjet", 0) == 0) line = "Name=" + name + "\n";
        out += line;
    }
    return WriteFile(ExeDir() + model, out + "\n" + extra);
}
}  // namespace

bool InstallDeskVariant(const wchar_t* model, const std::string& name, bool plugIn, const std::string& extra,
                        std::wstring& printer) {
    return WriteDeskVariant(model, name, plugIn, extra) && InstallSample(model, printer);
}

SamplePrinters::~SamplePrinters() {
    if (hDesk) ClosePrinter(hDesk);
    if (hCore) ClosePrinter(hCore);
    if (hRoll) ClosePrinter(hRoll);
}

bool OpenSamplePrinters(SamplePrinters& p) {
    if (!InstallSample(kDeskModel, p.desk) || !InstallDeskVariant(kCoreModel, "ZQ Desk 2400 Core Only", false, "", p.core) ||
        !InstallSample(kRollModel, p.roll))
        return false;
    if (!OpenPrinterW(const_cast<LPWSTR>(p.desk.c_str()), &p.hDesk, nullptr) ||
        !OpenPrinterW(const_cast<LPWSTR>(p.core.c_str()), &p.hCore, nullptr) ||
        !OpenPrinterW(const_cast<LPWSTR>(p.roll.c_str()), &p.hRoll, nullptr)) {
        std::fprintf(stderr, "cannot open the printers\n");
        return false;
    }
    return true;
}

int RunHost(int reps) {
    std::printf("-- host: a device-capabilities query, the devmode merge\n");
    MeasureSheets(reps);
    return 0;
}

}  // namespace zqbench
