#include "zqdevscript.h"

#include <cstdint>
#include <cstdlib>

namespace zqdev {

namespace {

constexpr DWORD kMaxScriptBytes = 1024 * 1024;

std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Dotted decimal numbers, none empty.
bool IsObjectId(const std::string& s) {
    if (s.empty() || s.front() == '.' || s.back() == '.') return false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '.') {
            if (s[i + 1] == '.') return false;
        } else if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

// A whole decimal or 0x-hexadecimal number within the limit.
bool ParseNumber(const std::string& s, uint64_t limit, uint64_t& value) {
    if (s.empty()) return false;
    char* end = nullptr;
    const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    if (!hex && (s[0] < '0' || s[0] > '9')) return false;
    value = strtoull(s.c_str(), &end, hex ? 16 : 10);
    return end && *end == '\0' && value <= limit;
}

// Splits a line into tokens at blanks; a quoted text (with \" and \\) is one token, quotes kept.
bool Tokenize(const std::string& line, std::vector<std::string>& tokens, std::string& error) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        // A comment runs to the end of the line.
        if (i >= line.size() || line[i] == '#') break;
        std::string token;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            const char c = line[i++];
            if (c == '"') {
                quoted = !quoted;
            } else if (quoted && c == '\\') {
                if (i >= line.size() || (line[i] != '"' && line[i] != '\\')) {
                    error = "only \\\" and \\\\ may follow a backslash";
                    return false;
                }
                token.push_back('\\');
                token.push_back(line[i++]);
                continue;
            }
            token.push_back(c);
        }
        if (quoted) {
            error = "a quoted text is not closed";
            return false;
        }
        tokens.push_back(token);
    }
    return true;
}

std::string Unescape(const std::string& quoted) {
    std::string out;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\') ++i;
        out.push_back(quoted[i]);
    }
    return out;
}

// One value token appended to the bytes.
bool AppendValue(const std::string& token, std::vector<BYTE>& bytes, std::string& error) {
    if (token.size() == 2 && IsHex(token[0]) && IsHex(token[1])) {
        bytes.push_back(static_cast<BYTE>(strtoul(token.c_str(), nullptr, 16)));
        return true;
    }
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
        const std::string text = Unescape(token);
        bytes.insert(bytes.end(), text.begin(), text.end());
        return true;
    }
    if (token.size() >= 3 && token[0] == 'w' && token[1] == '"' && token.back() == '"') {
        for (wchar_t c : Widen(Unescape(token.substr(1)))) {
            bytes.push_back(static_cast<BYTE>(c & 0xFF));
            bytes.push_back(static_cast<BYTE>(c >> 8));
        }
        return true;
    }
    const size_t colon = token.find(':');
    const std::string form = token.substr(0, colon == std::string::npos ? 0 : colon);
    if (form == "le2" || form == "le4" || form == "be2" || form == "be4") {
        const int width = form[2] - '0';
        uint64_t value = 0;
        if (!ParseNumber(token.substr(colon + 1), width == 2 ? 0xFFFF : 0xFFFFFFFF, value)) {
            error = "\"" + token + "\" is no " + std::to_string(width * 8) + "-bit number";
            return false;
        }
        for (int k = 0; k < width; ++k) {
            const int shift = form[0] == 'l' ? 8 * k : 8 * (width - 1 - k);
            bytes.push_back(static_cast<BYTE>(value >> shift));
        }
        return true;
    }
    error = "\"" + token + "\" is no value";
    return false;
}

bool ParseLine(const std::string& line, DeviceScript& script, std::string& error) {
    std::vector<std::string> tokens;
    if (!Tokenize(line, tokens, error)) return false;
    if (tokens.empty()) return true;  // blank or a comment
    if (tokens.size() < 2) {
        error = "an object identifier and a type or \"none\" are needed";
        return false;
    }
    if (!IsObjectId(tokens[0])) {
        error = "\"" + tokens[0] + "\" is no object identifier";
        return false;
    }
    const std::wstring id = Widen(tokens[0]);
    if (script.answers.count(id)) {
        error = tokens[0] + " is answered twice";
        return false;
    }
    DeviceAnswer answer;
    if (tokens[1] == "none") {
        if (tokens.size() > 2) {
            error = "\"none\" takes no value";
            return false;
        }
    } else {
        uint64_t type = 0;
        if (!ParseNumber(tokens[1], 255, type)) {
            error = "\"" + tokens[1] + "\" is no type from 0 to 255";
            return false;
        }
        answer.answered = true;
        answer.type = static_cast<BYTE>(type);
        for (size_t i = 2; i < tokens.size(); ++i)
            if (!AppendValue(tokens[i], answer.bytes, error)) return false;
    }
    script.answers.emplace(id, std::move(answer));
    return true;
}

}  // namespace

bool BParseDeviceScript(const std::string& text, DeviceScript& script, std::wstring& why) {
    script = DeviceScript();
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int number = 1; start <= text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string error;
        if (!ParseLine(line, script, error)) {
            why = L"line " + std::to_wstring(number) + L": " + Widen(error);
            script = DeviceScript();
            return false;
        }
    }
    return true;
}

bool BReadDeviceScript(const std::wstring& path, DeviceScript& script, std::wstring& why) {
    script = DeviceScript();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = L"cannot be opened (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    std::string text;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxScriptBytes;
    if (!ok) {
        why = L"is larger than 1 MB";
    } else {
        text.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = text.empty() || (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr) &&
                              read == text.size());
        if (!ok) why = L"cannot be read";
    }
    CloseHandle(file);
    return ok && BParseDeviceScript(text, script, why);
}

}  // namespace zqdev
