#include "zqprinter.h"

#include "zqowner.h"

namespace {

// Level-N printer or driver record in a buffer of its own size.
template <typename Fn>
std::vector<BYTE> ReadRecord(Fn read) {
    DWORD needed = 0;
    read(nullptr, 0, &needed);
    if (!needed) return {};
    std::vector<BYTE> buf(needed);
    if (!read(buf.data(), needed, &needed)) return {};
    return buf;
}

std::wstring DirectoryOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring ZQWide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

static std::string Narrow(UINT cp, const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ZQUtf8(const std::wstring& text) { return Narrow(CP_UTF8, text); }
std::string ZQAnsi(const std::wstring& text) { return Narrow(CP_ACP, text); }

BOOL ZQGetDriverInfo(HANDLE hPrinter, ZQDriverInfo& out) {
    if (!hPrinter) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto buf = ReadRecord([&](BYTE* p, DWORD cb, DWORD* needed) {
        return GetPrinterDriverW(hPrinter, nullptr, 3, p, cb, needed);
    });
    if (buf.empty()) return FALSE;
    const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
    if (!di->pDataFile || !di->pDataFile[0]) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    out.driverName = di->pName ? di->pName : L"";
    out.dataFile = ZQResolveDriverFile(di->pDataFile);
    out.driverDir = DirectoryOf(out.dataFile);
    return TRUE;
}

std::wstring ZQResolveDriverFile(const wchar_t* file) {
    if (!file || !file[0]) return {};
    std::wstring f(file);
    if (f.find_first_of(L"\\/") != std::wstring::npos) return f;
    WCHAR dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed))
        return f;
    dir[MAX_PATH - 1] = 0;
    // The spooler keeps the files of a version-3 driver in the "3" subdirectory.
    return std::wstring(dir) + L"\\3\\" + f;
}

BOOL ZQReadSmallFile(const std::wstring& path, std::string& out) {
    CZQHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return FALSE;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > (1 << 20)) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return FALSE;
    }
    out.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!out.empty() && (!ReadFile(file.Get(), out.data(), static_cast<DWORD>(out.size()), &read, nullptr) ||
                         read != out.size()))
        return FALSE;
    // A UTF-8 byte-order mark is not part of the text.
    if (out.size() >= 3 && out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.erase(0, 3);
    return TRUE;
}

BOOL ZQLoadModel(const std::wstring& modelPath, zqmodel::Model& model, std::wstring& error) {
    std::string text;
    if (!ZQReadSmallFile(modelPath, text)) {
        error = L"cannot read " + modelPath;
        return FALSE;
    }
    std::map<uint32_t, std::string> strings;
    std::string err;
    const std::string stringsName = zqmodel::FindStringsFile(text);
    if (!stringsName.empty()) {
        const std::wstring stringsPath = DirectoryOf(modelPath) + L"\\" + ZQWide(stringsName);
        std::string stringsText;
        if (!ZQReadSmallFile(stringsPath, stringsText)) {
            error = L"cannot read " + stringsPath;
            return FALSE;
        }
        if (!zqmodel::ParseStrings(stringsText, strings, err)) {
            error = stringsPath + L": " + ZQWide(err);
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
    }
    if (!zqmodel::ParseModel(text, strings, model, err)) {
        error = modelPath + L": " + ZQWide(err);
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return TRUE;
}

zqhostdm::Selections ZQReadDeviceSettings(HANDLE hPrinter) {
    zqhostdm::Selections out;
    DWORD type = 0, needed = 0;
    if (!hPrinter) return out;
    DWORD rc = GetPrinterDataW(hPrinter, const_cast<LPWSTR>(kZQDeviceSettingsValue), &type, nullptr, 0, &needed);
    if ((rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS) || needed < sizeof(WCHAR) || needed > 65536) return out;
    std::vector<WCHAR> buf(needed / sizeof(WCHAR) + 2, 0);
    if (GetPrinterDataW(hPrinter, const_cast<LPWSTR>(kZQDeviceSettingsValue), &type,
                        reinterpret_cast<BYTE*>(buf.data()), needed, &needed) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return out;
    // buf carries two extra zero characters, so the walk ends inside it.
    for (const WCHAR* p = buf.data(); *p; p += lstrlenW(p) + 1) {
        std::wstring entry(p);
        size_t eq = entry.find(L'=');
        if (eq != std::wstring::npos && eq > 0) out.emplace_back(ZQUtf8(entry.substr(0, eq)), ZQUtf8(entry.substr(eq + 1)));
    }
    return out;
}

BOOL ZQWriteDeviceSettings(HANDLE hPrinter, const zqhostdm::Selections& settings) {
    std::wstring multi;
    for (const auto& [key, value] : settings) {
        multi += ZQWide(key) + L"=" + ZQWide(value);
        multi.push_back(L'\0');
    }
    multi.push_back(L'\0');
    DWORD rc = SetPrinterDataW(hPrinter, const_cast<LPWSTR>(kZQDeviceSettingsValue), REG_MULTI_SZ,
                               reinterpret_cast<BYTE*>(multi.data()), static_cast<DWORD>(multi.size() * sizeof(WCHAR)));
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return FALSE;
    }
    return TRUE;
}

std::vector<BYTE> ZQReadPrinterDevmode(HANDLE hPrinter) {
    if (!hPrinter) return {};
    auto buf = ReadRecord([&](BYTE* p, DWORD cb, DWORD* needed) { return GetPrinterW(hPrinter, 2, p, cb, needed); });
    if (buf.empty()) return {};
    const auto* pi = reinterpret_cast<const PRINTER_INFO_2W*>(buf.data());
    const DEVMODEW* dm = pi->pDevMode;
    if (!dm) return {};
    // The record's own buffer bounds what may be copied.
    const BYTE* begin = reinterpret_cast<const BYTE*>(dm);
    const BYTE* end = buf.data() + buf.size();
    if (begin < buf.data() || begin + offsetof(DEVMODEW, dmFields) > end) return {};
    size_t size = static_cast<size_t>(dm->dmSize) + dm->dmDriverExtra;
    if (size > static_cast<size_t>(end - begin)) size = static_cast<size_t>(end - begin);
    return std::vector<BYTE>(begin, begin + size);
}
