// The soft-font installer's lists, the metrics files and the font file.
#include "device/zqfontinstaller.h"

#include <cwchar>

#include "common/zqmsgbox.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zquidevmode.h"

namespace {

constexpr PCWSTR kFontFileValue = zqsettings::kExternalFontFile;

// A file read through a read-only mapping of all its bytes.
class CZQMappedFile {
public:
    bool Open(PCWSTR pszPath) {
        m_file.Reset(CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (!m_file || !GetFileSizeEx(m_file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF)
            return false;
        m_mapping.Reset(CreateFileMappingW(m_file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!m_mapping) return false;
        m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 0));
        m_size = m_view ? static_cast<size_t>(size.QuadPart) : 0;
        return m_view.Get() != nullptr;
    }
    void Close() {
        m_view.Reset();
        m_mapping.Reset();
        m_file.Reset();
        m_size = 0;
    }
    const uint8_t* Data() const { return static_cast<const uint8_t*>(m_view.Get()); }
    size_t Size() const { return m_size; }

private:
    CZQHandle m_file;
    CZQHandle m_mapping;
    CZQMappedView m_view;
    size_t m_size = 0;
};

// Writes the bytes as the whole file: into a file beside it through a mapping of their size, which
// then takes the file's place, so a failure leaves the old file as it was.
bool WriteWholeFile(PCWSTR pszPath, const std::vector<uint8_t>& bytes) {
    WCHAR temp[MAX_PATH + 8];
    if (bytes.empty() || FAILED(ZQFormatText(temp, MAX_PATH + 8, L"%ls.new", pszPath))) return false;
    bool written = false;
    {
        CZQHandle file(CreateFileW(temp, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        CZQHandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READWRITE, 0,
                                             static_cast<DWORD>(bytes.size()), nullptr));
        CZQMappedView view(mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, bytes.size()) : nullptr);
        if (view) {
            memcpy(view.Get(), bytes.data(), bytes.size());
            written = FlushViewOfFile(view.Get(), bytes.size()) != FALSE;
        }
    }
    if (written && MoveFileExW(temp, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temp);
    return false;
}

// The folder and the file joined, as a new local-heap string.
PWSTR JoinPath(PCWSTR pszFolder, PCWSTR pszFile) {
    if (!pszFolder || !pszFile) return nullptr;
    const size_t folder = wcslen(pszFolder);
    const size_t chars = folder + wcslen(pszFile) + 2;
    CZQLocalPtr<WCHAR> path;
    if (!path.Alloc(chars)) return nullptr;
    ZQCopyText(path.Get(), chars, pszFolder);
    if (folder && pszFolder[folder - 1] != L'\\') ZQAppendText(path.Get(), chars, L"\\");
    ZQAppendText(path.Get(), chars, pszFile);
    return path.Release();
}

bool SameFolder(PCWSTR a, PCWSTR b) { return a && b && ZQEqualNoCase(a, b); }

void FreeNode(ZQFontNode* pNode) {
    LocalFree(pNode->pszFolder);
    LocalFree(pNode->pszFile);
    LocalFree(pNode->pszName);
    LocalFree(pNode->pszCartridge);
    LocalFree(pNode);
}

}  // namespace

DWORD ZQFontCommandLanguage(int iPdlIndex) {
    return iPdlIndex == zqdm::kPdlPcl6 ? zqfont::kLangOther : zqfont::kLangPcl;
}

CZQFontInstaller::CZQFontInstaller(HMODULE hResModule, DWORD dwLanguage) : m_dwLanguage(dwLanguage) {
    VSetResourceModule(hResModule);
}

CZQFontInstaller::~CZQFontInstaller() = default;

const zqfont::AnsiTable& CZQFontInstaller::AnsiChars() {
    if (!m_bAnsiReady) {
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            WCHAR w = 0;
            if (MultiByteToWideChar(CP_ACP, 0, &c, 1, &w, 1) != 1) w = static_cast<WCHAR>(b);
            m_ansi[b] = w;
        }
        m_bAnsiReady = true;
    }
    return m_ansi;
}

// ---------------------------------------------------------------------------------------------
// Nodes
// ---------------------------------------------------------------------------------------------
ZQFontNode* CZQFontInstaller::PAddFontNode(ZQFontDlgParam* p, PCWSTR pszFolder, PCWSTR pszFile, PCWSTR pszName,
                                           PCWSTR pszCartridge, DWORD dwFlags) {
    if (!p || !pszName || !pszName[0]) return nullptr;
    ZQFontNode** ppLast = &p->pHead;
    for (; *ppLast; ppLast = &(*ppLast)->pNext)
        if (ZQEqualNoCase((*ppLast)->pszName, pszName)) return nullptr;
    auto* node = static_cast<ZQFontNode*>(LocalAlloc(LPTR, sizeof(ZQFontNode)));
    if (!node) return nullptr;
    node->pszName = ZQDupText(pszName);
    node->pszFolder = pszFolder ? ZQDupText(pszFolder) : nullptr;
    node->pszFile = pszFile ? ZQDupText(pszFile) : nullptr;
    node->pszCartridge = pszCartridge ? ZQDupText(pszCartridge) : nullptr;
    node->dwFlags = dwFlags;
    if (!node->pszName || (pszFolder && !node->pszFolder) || (pszFile && !node->pszFile) ||
        (pszCartridge && !node->pszCartridge)) {
        FreeNode(node);
        return nullptr;
    }
    *ppLast = node;
    return node;
}

BOOL CZQFontInstaller::BDeleteFontNode(ZQFontDlgParam* p, ZQFontNode* pNode) {
    if (!p || !pNode) return FALSE;
    for (ZQFontNode** pp = &p->pHead; *pp; pp = &(*pp)->pNext) {
        if (*pp != pNode) continue;
        *pp = pNode->pNext;
        FreeNode(pNode);
        return TRUE;
    }
    return FALSE;
}

void CZQFontInstaller::VFreeFontList(ZQFontDlgParam* p) {
    if (!p) return;
    while (p->pHead) BDeleteFontNode(p, p->pHead);
}

// ---------------------------------------------------------------------------------------------
// Metrics files
// ---------------------------------------------------------------------------------------------
PWSTR CZQFontInstaller::PFaceNameFromPfm(const zqfont::Pfm& pfm) const {
    std::string face;
    if (!zqfont::FaceNameFromPfm(pfm, m_dwLanguage, &face) || face.empty()) return nullptr;
    PWSTR wide = nullptr;
    return CZQCommon::BMultiByteToWide(&wide, face.c_str(), CP_ACP) ? wide : nullptr;
}

int CZQFontInstaller::IReadMetricsFile(ZQFontDlgParam* p, PCWSTR pszFile, DWORD dwKind) {
    if (!p || !p->pszFolder || !pszFile) return 0;
    CZQLocalPtr<WCHAR> path(JoinPath(p->pszFolder, pszFile));
    CZQMappedFile file;
    if (!path || !file.Open(path.Get())) return 0;
    int found = 0;
    const auto list = [&](const zqfont::Pfm& pfm, PCWSTR pszCartridge) {
        CZQLocalPtr<WCHAR> name(PFaceNameFromPfm(pfm));
        if (!name) return;
        ++found;
        PAddFontNode(p, p->pszFolder, pszFile, name.Get(), pszCartridge, kFontFound | dwKind);
    };
    if (dwKind == kFontFromPfm) {
        zqfont::Pfm pfm;
        if (zqfont::ReadPfm(file.Data(), file.Size(), &pfm)) list(pfm, nullptr);
    } else if (dwKind == kFontFromPcm) {
        zqfont::Pcm pcm;
        if (!zqfont::ReadPcm(file.Data(), file.Size(), &pcm)) return 0;
        CZQLocalPtr<WCHAR> title;
        if (pcm.hasTitle && !CZQCommon::BMultiByteToWide(title.Put(), pcm.title.c_str(), CP_ACP)) return 0;
        for (const zqfont::Pfm& pfm : pcm.fonts) list(pfm, title.Get());
    }
    return found;
}

int CZQFontInstaller::IScanFolder(ZQFontDlgParam* p) {
    ZQ_TRACE("CZQFontInstaller::IScanFolder");
    if (!p || !p->pszFolder) return 0;
    int found = 0;
    const struct {
        PCWSTR pszExtension;
        DWORD dwKind;
    } kinds[] = {{L"PFM", kFontFromPfm}, {L"PCM", kFontFromPcm}};
    for (const auto& kind : kinds) {
        WCHAR pattern[8];
        ZQFormatText(pattern, 8, L"*.%ls", kind.pszExtension);
        CZQLocalPtr<WCHAR> search(JoinPath(p->pszFolder, pattern));
        WIN32_FIND_DATAW data;
        HANDLE hFind = search ? FindFirstFileW(search.Get(), &data) : INVALID_HANDLE_VALUE;
        if (hFind == INVALID_HANDLE_VALUE) continue;
        do {
            // The pattern also finds longer extensions through short names.
            PCWSTR dot = wcsrchr(data.cFileName, L'.');
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && dot && ZQEqualNoCase(dot + 1, kind.pszExtension))
                found += IReadMetricsFile(p, data.cFileName, kind.dwKind);
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    if (found == 0) VShowMessage(1115, L"No printer fonts were found in this folder.", nullptr, MB_ICONINFORMATION);
    return found;
}

// ---------------------------------------------------------------------------------------------
// The lists
// ---------------------------------------------------------------------------------------------
BOOL CZQFontInstaller::BRefreshLists(ZQFontDlgParam* p) {
    if (!p || !m_hAddList || !m_hInstalledList) return FALSE;
    SendMessageW(m_hAddList, LB_RESETCONTENT, 0, 0);
    SendMessageW(m_hInstalledList, LB_RESETCONTENT, 0, 0);
    for (ZQFontNode* node = p->pHead; node; node = node->pNext) {
        for (HWND list : {m_hAddList, m_hInstalledList}) {
            const DWORD shown = list == m_hAddList ? kFontShownToAdd : kFontShownInstalled;
            if (!(node->dwFlags & shown)) continue;
            const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->pszName));
            if (at >= 0) SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(node));
        }
    }
    VUpdateButtons(p);
    return TRUE;
}

BOOL CZQFontInstaller::BSetFolder(ZQFontDlgParam* p, PCWSTR pszFolder) {
    if (!p || !pszFolder) return FALSE;
    PWSTR folder = ZQDupText(pszFolder);
    if (!folder) return FALSE;
    LocalFree(p->pszFolder);
    p->pszFolder = folder;
    for (ZQFontNode* node = p->pHead; node;) {
        ZQFontNode* next = node->pNext;
        if (!SameFolder(node->pszFolder, folder)) {
            if (node->pszFolder && !(node->dwFlags & (kFontToAdd | kFontShownInstalled))) {
                BDeleteFontNode(p, node);
            } else {
                node->dwFlags &= ~(kFontShownToAdd | kFontInFolder);
            }
        }
        node = next;
    }
    return TRUE;
}

BOOL CZQFontInstaller::BMarkForAdding(ZQFontDlgParam* p) {
    if (!p || p->bReadOnly || !m_hAddList) return FALSE;
    const LRESULT count = SendMessageW(m_hAddList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageW(m_hAddList, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        auto* node = reinterpret_cast<ZQFontNode*>(SendMessageW(m_hAddList, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        if (!node || node == reinterpret_cast<ZQFontNode*>(LB_ERR)) continue;
        if ((node->dwFlags & kFontInstalled) && (node->dwFlags & kFontToRemove)) node->dwFlags &= ~kFontToRemove;
        else node->dwFlags |= kFontToAdd;
        node->dwFlags = (node->dwFlags & ~kFontShownToAdd) | kFontShownInstalled;
    }
    return BRefreshLists(p);
}

BOOL CZQFontInstaller::BMarkForRemoving(ZQFontDlgParam* p) {
    if (!p || p->bReadOnly || !m_hInstalledList) return FALSE;
    const LRESULT count = SendMessageW(m_hInstalledList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageW(m_hInstalledList, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        auto* node =
            reinterpret_cast<ZQFontNode*>(SendMessageW(m_hInstalledList, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        if (!node || node == reinterpret_cast<ZQFontNode*>(LB_ERR)) continue;
        node->dwFlags &= ~kFontShownInstalled;
        if (node->dwFlags & kFontInstalled) {
            node->dwFlags |= kFontToRemove | kFontShownToAdd;
        } else {
            node->dwFlags &= ~kFontToAdd;
            if (node->dwFlags & kFontInFolder) node->dwFlags |= kFontShownToAdd;
            else BDeleteFontNode(p, node);
        }
    }
    return BRefreshLists(p);
}

// ---------------------------------------------------------------------------------------------
// The font file
// ---------------------------------------------------------------------------------------------
BOOL CZQFontInstaller::BLoadInstalledFonts(ZQFontDlgParam* p) {
    ZQ_TRACE("CZQFontInstaller::BLoadInstalledFonts");
    if (!p || !p->pFontParam) return FALSE;
    HANDLE hPrinter = p->pFontParam->hPrinter;
    DWORD type = 0, cb = 0;
    CZQLocalPtr<BYTE> path;  // terminated behind the value
    if (ZQReadStoredValue(hPrinter, nullptr, kFontFileValue, &type, path, &cb) != ERROR_SUCCESS || type != REG_SZ ||
        cb < sizeof(WCHAR) || cb > 64 * 1024 || !reinterpret_cast<PCWSTR>(path.Get())[0])
        return FALSE;
    LocalFree(p->pszFontFile);
    p->pszFontFile = reinterpret_cast<PWSTR>(path.Release());

    CZQMappedFile file;
    std::vector<zqfont::UffFont> fonts;
    if (!file.Open(p->pszFontFile) || !zqfont::ReadUff(file.Data(), file.Size(), &fonts)) return FALSE;
    for (const zqfont::UffFont& font : fonts)
        PAddFontNode(p, nullptr, nullptr, font.name.c_str(), nullptr, kFontInstalledShown);
    return TRUE;
}

BOOL CZQFontInstaller::BMakeFontFileName(ZQFontDlgParam* p) {
    if (!p || !p->pFontParam) return FALSE;
    HANDLE hPrinter = p->pFontParam->hPrinter;
    GUID guid;
    if (FAILED(CoCreateGuid(&guid))) return FALSE;
    const auto word = [&](int at) { return static_cast<unsigned>(guid.Data4[at] | (guid.Data4[at + 1] << 8)); };
    WCHAR name[64];
    ZQFormatText(name, 64, L"%lx-%04x-%04x-%04x-%04x%04x%04x.UFF", static_cast<unsigned long>(guid.Data1),
                 guid.Data2, guid.Data3, word(0), word(2), word(4), word(6));

    // "unifont" beside the printer drivers: the driver directory cut after the "\" behind "drivers".
    CZQLocalPtr<WCHAR> dir;
    if (!CZQCommon::BGetDriverDirFile(hPrinter, dir.Put(), nullptr)) return FALSE;
    CharLowerW(dir.Get());
    PWSTR drivers = wcsstr(dir.Get(), L"drivers");
    if (!drivers) return FALSE;
    PWSTR slash = wcschr(drivers, L'\\');
    if (slash) slash[1] = 0;
    const size_t chars = wcslen(dir.Get()) + 10 + wcslen(name) + 1;
    CZQLocalPtr<WCHAR> path;
    if (!path.Alloc(chars)) return FALSE;
    ZQCopyText(path.Get(), chars, dir.Get());
    if (!slash) ZQAppendText(path.Get(), chars, L"\\");
    ZQAppendText(path.Get(), chars, L"unifont");
    if (!CreateDirectoryW(path.Get(), nullptr) && !BIsDirectory(path.Get())) return FALSE;
    ZQAppendText(path.Get(), chars, L"\\");
    ZQAppendText(path.Get(), chars, name);

    const DWORD cb = static_cast<DWORD>((wcslen(path.Get()) + 1) * sizeof(WCHAR));
    const DWORD rc = ZQWriteStoredValue(hPrinter, nullptr, kFontFileValue, REG_SZ, path.Get(), cb);
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return FALSE;
    }
    LocalFree(p->pszFontFile);
    p->pszFontFile = path.Release();
    return TRUE;
}

std::vector<uint8_t> CZQFontInstaller::ConvertFont(const ZQFontNode* pNode) {
    CZQLocalPtr<WCHAR> path(JoinPath(pNode->pszFolder, pNode->pszFile));
    CZQMappedFile file;
    if (!path || !file.Open(path.Get())) return {};
    const auto convert = [&](const zqfont::Pfm& pfm) -> std::vector<uint8_t> {
        CZQLocalPtr<WCHAR> name(PFaceNameFromPfm(pfm));
        if (!name || lstrcmpW(name.Get(), pNode->pszName) != 0) return {};
        return zqfont::BuildUfm(pfm, m_dwLanguage, pNode->pszName, AnsiChars());
    };
    if (pNode->dwFlags & kFontFromPcm) {
        zqfont::Pcm pcm;
        if (!zqfont::ReadPcm(file.Data(), file.Size(), &pcm)) return {};
        for (const zqfont::Pfm& pfm : pcm.fonts) {
            std::vector<uint8_t> ufm = convert(pfm);
            if (!ufm.empty()) return ufm;
        }
        return {};
    }
    zqfont::Pfm pfm;
    return zqfont::ReadPfm(file.Data(), file.Size(), &pfm) ? convert(pfm) : std::vector<uint8_t>();
}

BOOL CZQFontInstaller::BInstallFonts(ZQFontDlgParam* p) {
    ZQ_TRACE("CZQFontInstaller::BInstallFonts");
    if (!p) return FALSE;
    int toAdd = 0, removed = 0;
    for (ZQFontNode* node = p->pHead; node;) {
        ZQFontNode* next = node->pNext;
        if (node->dwFlags & kFontToAdd) {
            ++toAdd;
        } else if ((node->dwFlags & kFontInstalledShown) != kFontInstalledShown) {
            if (node->dwFlags & kFontToRemove) ++removed;
            BDeleteFontNode(p, node);
        }
        node = next;
    }
    if (toAdd == 0 && removed == 0) return TRUE;

    const PCWSTR kCannotWrite = L"The printer's font file could not be written.";
    if (!p->pszFontFile && !BMakeFontFileName(p)) {
        VShowMessage(3149, kCannotWrite, nullptr, MB_ICONERROR);
        return FALSE;
    }
    // An existing file is read whole first: one that is not a font file stays as it is.
    CZQMappedFile old;
    std::vector<zqfont::UffFont> oldFonts;
    const DWORD attributes = GetFileAttributesW(p->pszFontFile);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !old.Open(p->pszFontFile) ||
         !zqfont::ReadUff(old.Data(), old.Size(), &oldFonts))) {
        VShowMessage(3149, kCannotWrite, nullptr, MB_ICONERROR);
        return FALSE;
    }
    // Installed fonts stay unless their name was removed.
    std::vector<const zqfont::UffFont*> kept;
    for (const zqfont::UffFont& font : oldFonts)
        for (const ZQFontNode* node = p->pHead; node; node = node->pNext)
            if ((node->dwFlags & kFontInstalled) && ZQEqualNoCase(node->pszName, font.name.c_str())) {
                kept.push_back(&font);
                break;
            }
    // A font whose conversion fails is left out; the others are written.
    std::vector<zqfont::UffNewFont> added;
    for (const ZQFontNode* node = p->pHead; node; node = node->pNext) {
        if (!(node->dwFlags & kFontToAdd)) continue;
        zqfont::UffNewFont font = {node->pszName, ConvertFont(node)};
        if (!font.ufm.empty()) added.push_back(std::move(font));
    }

    zqfont::CZQUffBuilder builder;
    if (kept.empty()) builder.DWWriteFontFileHeader(static_cast<uint32_t>(added.size()));
    else builder.DWRewriteFontFile(static_cast<uint32_t>(added.size()), kept);
    for (const zqfont::UffNewFont& font : added) builder.AddFont(font);
    builder.Finish();
    old.Close();
    if (!WriteWholeFile(p->pszFontFile, builder.Bytes())) {
        VShowMessage(3149, kCannotWrite, nullptr, MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}
