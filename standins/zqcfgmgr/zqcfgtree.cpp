#include "zqcfgtree.h"

#include <windows.h>

#include <cwchar>

namespace {

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) return {};
    const size_t last = text.find_last_not_of(L" \t\r");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

}  // namespace

ZQCfgPath ZQSplitCfgPath(const std::wstring& text) {
    ZQCfgPath path;
    size_t start = 0;
    while (start <= text.size()) {
        size_t slash = text.find(L'/', start);
        if (slash == std::wstring::npos) slash = text.size();
        std::wstring name = Trim(text.substr(start, slash - start));
        if (!name.empty()) path.push_back(name);
        start = slash + 1;
    }
    return path;
}

std::wstring ZQJoinCfgPath(const ZQCfgPath& path) {
    std::wstring text;
    for (const std::wstring& name : path) text += (text.empty() ? L"" : L"/") + name;
    return text;
}

ZQCfgNode* ZQCfgNode::Child(const std::wstring& childName) const {
    for (const auto& child : children)
        if (SameName(child->name, childName)) return child.get();
    return nullptr;
}

ZQCfgNode* ZQCfgNode::MakeChild(const std::wstring& childName) {
    if (ZQCfgNode* found = Child(childName)) return found;
    children.push_back(std::make_unique<ZQCfgNode>());
    children.back()->name = childName;
    return children.back().get();
}

const std::wstring* ZQCfgNode::Attribute(const std::wstring& attributeName) const {
    for (const auto& a : attributes)
        if (SameName(a.first, attributeName)) return &a.second;
    return nullptr;
}

CZQCfgFile::CZQCfgFile() { VReset(); }

void CZQCfgFile::VReset() {
    m_path.clear();
    m_lines.clear();
    m_top = std::make_unique<ZQCfgNode>();
    m_top->MakeChild(L"Printing");
    m_top->MakeChild(L"Physical");
}

bool CZQCfgFile::BLoad(const std::wstring& path, std::wstring& why) {
    VReset();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = L"cannot be opened";
        return false;
    }
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
    CloseHandle(file);
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    const std::wstring text = FromUtf8(bytes);
    if (!bytes.empty() && text.empty()) {
        why = L"is not UTF-8";
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        m_lines.push_back(line);
        start = end + 1;
    }
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (!BParseLine(m_lines[i], static_cast<int>(i))) {
            why = L"line " + std::to_wstring(i + 1) + L" is malformed";
            VReset();
            return false;
        }
    }
    m_path = path;
    return true;
}

bool CZQCfgFile::BParseLine(const std::wstring& text, int lineIndex) {
    const std::wstring line = Trim(text);
    if (line.empty() || line[0] == L'#' || line[0] == L';') return true;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) return false;
    std::wstring left = Trim(line.substr(0, eq));
    const std::wstring value = Trim(line.substr(eq + 1));
    std::wstring attribute;
    const size_t at = left.find(L'@');
    if (at != std::wstring::npos) {
        attribute = Trim(left.substr(at + 1));
        left = Trim(left.substr(0, at));
        if (attribute.empty()) return false;
    }
    const ZQCfgPath path = ZQSplitCfgPath(left);
    if (path.empty()) return false;
    ZQCfgNode* node = Make(path);
    if (!attribute.empty()) {
        for (auto& a : node->attributes)
            if (SameName(a.first, attribute)) {
                a.second = value;
                return true;
            }
        node->attributes.emplace_back(attribute, value);
        return true;
    }
    node->value = value;
    node->hasValue = true;
    node->line = lineIndex;
    return true;
}

bool CZQCfgFile::BSave(const std::wstring& path, std::wstring& why) const {
    std::string bytes;
    for (const std::wstring& line : m_lines) bytes += ToUtf8(line) + "\r\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = L"cannot be written";
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    if (!ok) why = L"was not written whole";
    return ok;
}

ZQCfgNode* CZQCfgFile::Find(const ZQCfgPath& path) const {
    ZQCfgNode* node = m_top.get();
    for (const std::wstring& name : path) {
        node = node->Child(name);
        if (!node) return nullptr;
    }
    return node;
}

ZQCfgNode* CZQCfgFile::Make(const ZQCfgPath& path) {
    ZQCfgNode* node = m_top.get();
    for (const std::wstring& name : path) node = node->MakeChild(name);
    return node;
}

void CZQCfgFile::VSetValue(const ZQCfgPath& path, const std::wstring& value) {
    if (path.empty()) return;
    ZQCfgNode* node = Make(path);
    node->value = value;
    node->hasValue = true;
    const std::wstring line = ZQJoinCfgPath(path) + L"=" + value;
    if (node->line >= 0 && static_cast<size_t>(node->line) < m_lines.size()) {
        m_lines[static_cast<size_t>(node->line)] = line;
    } else {
        node->line = static_cast<int>(m_lines.size());
        m_lines.push_back(line);
    }
}
