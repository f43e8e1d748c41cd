#include "zqmodel.h"

#include <cstdlib>

namespace zqmodel {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Splits at every `sep`, each part trimmed.
std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t pos = s.find(sep, start);
        parts.push_back(Trim(s.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start)));
        if (pos == std::string_view::npos) break;
        start = pos + 1;
    }
    return parts;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    for (std::string_view part : Split(s, ' '))
        if (!part.empty()) words.push_back(part);
    return words;
}

bool ParseInt(std::string_view s, int32_t& out) {
    s = Trim(s);
    if (s.empty() || s.size() > 11) return false;
    std::string buf(s);
    char* end = nullptr;
    long v = std::strtol(buf.c_str(), &end, 10);
    if (!end || *end != 0 || v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool ParsePair(std::string_view s, int32_t& a, int32_t& b) {
    size_t x = s.find('x');
    return x != std::string_view::npos && ParseInt(s.substr(0, x), a) && ParseInt(s.substr(x + 1), b);
}

// A keyword is printable ASCII without blanks, '=' or '|'. Feature keywords have no '.' either:
// constraints split "Feature.Option" at the first one.
bool IsKeyword(std::string_view s, bool isFeature = true) {
    if (s.empty() || s.size() > 127) return false;
    for (char c : s)
        if (c <= ' ' || c > '~' || c == '=' || c == '|' || (isFeature && c == '.')) return false;
    return true;
}

struct PubIdName {
    const char* name;
    uint8_t id;
};
const PubIdName kPubIds[] = {{"Orientation", 1}, {"Scale", 2},     {"Copies", 3},     {"Source", 4},
                             {"Quality", 5},     {"Color", 6},     {"Duplex", 7},     {"TTOption", 8},
                             {"Form", 9},        {"ICMMethod", 10}, {"ICMIntent", 11}, {"Media", 12},
                             {"Dither", 13},     {"OutputBin", 14}, {"NUp", 16},       {"PageOrder", 17}};

struct FieldName {
    const char* name;
    Field field;
};
const FieldName kFields[] = {{"Orientation", Field::Orientation}, {"Paper", Field::Paper},
                             {"Copies", Field::Copies},           {"Source", Field::Source},
                             {"Quality", Field::Quality},         {"Color", Field::Color},
                             {"Duplex", Field::Duplex},           {"Collate", Field::Collate},
                             {"Media", Field::Media},             {"None", Field::None}};

Field FieldOfPubId(uint8_t id) {
    switch (id) {
        case 1: return Field::Orientation;
        case 3: return Field::Copies;
        case 4: return Field::Source;
        case 5: return Field::Quality;
        case 6: return Field::Color;
        case 7: return Field::Duplex;
        case 9: return Field::Paper;
        case 12: return Field::Media;
        default: return Field::None;
    }
}

class Parser {
public:
    Parser(const std::map<uint32_t, std::string>& strings, Model& model, std::string& error)
        : m_strings(strings), m_model(model), m_error(error) {}

    bool Run(std::string_view text) {
        m_model = Model();
        m_model.strings = m_strings;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            ++m_line;
            if (!Line(Trim(line))) return false;
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        return Finish();
    }

private:
    enum class Section { None, Model, Feature, Constraints };

    bool Fail(const std::string& what) {
        m_error = "line " + std::to_string(m_line) + ": " + what;
        return false;
    }

    bool Line(std::string_view line) {
        if (line.empty() || line.front() == '#' || line.front() == ';') return true;
        if (line.front() == '[') {
            if (line.back() != ']') return Fail("unterminated section header");
            return Header(Trim(line.substr(1, line.size() - 2)));
        }
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) return Fail("expected key=value");
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        switch (m_section) {
            case Section::Model: return ModelKey(key, value);
            case Section::Feature: return FeatureKey(key, value);
            case Section::Constraints: return ConstraintKey(key, value);
            default: return Fail("key outside a section");
        }
    }

    bool CloseSection() {
        if (m_section != Section::Feature) return true;
        m_section = Section::None;
        return CloseFeature(m_model.features.back());
    }

    bool Header(std::string_view name) {
        if (!CloseSection()) return false;
        if (EqualNoCase(name, "Model")) {
            m_section = Section::Model;
            return true;
        }
        if (EqualNoCase(name, "Constraints")) {
            m_section = Section::Constraints;
            return true;
        }
        if (name.size() > 8 && EqualNoCase(name.substr(0, 8), "Feature ")) {
            std::string_view keyword = Trim(name.substr(8));
            if (!IsKeyword(keyword)) return Fail("bad feature keyword");
            if (m_model.FindFeature(keyword) >= 0) return Fail("feature defined twice");
            m_model.features.emplace_back();
            m_model.features.back().keyword = std::string(keyword);
            m_section = Section::Feature;
            m_defaultSeen = false;
            m_fieldSet = false;
            m_pendingDefault.clear();
            return true;
        }
        return Fail("unknown section");
    }

    bool ModelKey(std::string_view key, std::string_view value) {
        if (EqualNoCase(key, "Name")) {
            if (value.empty()) return Fail("empty model name");
            m_model.name = std::string(value);
        } else if (EqualNoCase(key, "PlugIn")) {
            if (!IsFileName(value)) return Fail("bad plug-in file name");
            m_model.plugIn = std::string(value);
        } else if (EqualNoCase(key, "Files") || EqualNoCase(key, "Modules")) {
            auto& list = EqualNoCase(key, "Files") ? m_model.files : m_model.modules;
            for (std::string_view word : Words(value)) {
                if (!IsFileName(word)) return Fail("bad file name");
                list.emplace_back(word);
            }
        } else if (EqualNoCase(key, "SoftFonts")) {
            if (!EqualNoCase(value, "yes") && !EqualNoCase(value, "no")) return Fail("SoftFonts takes yes or no");
            m_model.softFonts = EqualNoCase(value, "yes");
        } else if (EqualNoCase(key, "Strings")) {
            if (!IsFileName(value)) return Fail("bad strings file name");
            m_model.stringsFile = std::string(value);
        } else if (EqualNoCase(key, "Toolbox")) {
            if (!IsFileName(value)) return Fail("bad toolbox file name");
            m_model.toolbox = std::string(value);
        } else if (EqualNoCase(key, "StatusText")) {
            if (value.empty() || value.size() > 511) return Fail("StatusText takes 1 to 511 characters");
            m_model.statusText = std::string(value);
        } else {
            return Fail("unknown model key");
        }
        return true;
    }

    // Plain file names only: the driver directory is flat.
    static bool IsFileName(std::string_view s) {
        if (s.empty() || s.size() > 200 || s == "." || s == "..") return false;
        for (char c : s)
            if (c < ' ' || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
                c == '>' || c == '|' || c == ' ')
                return false;
        return true;
    }

    bool ParseName(std::string_view value, Name& out) {
        out = Name();
        if (value.empty()) return Fail("empty display name");
        if (value.front() == '@' || value.front() == '#') {
            int32_t id = 0;
            if (!ParseInt(value.substr(1), id) || id <= 0 || id > 0xFFFF) return Fail("bad string id");
            auto it = m_strings.find(static_cast<uint32_t>(id));
            if (value.front() == '@') {
                if (it == m_strings.end()) return Fail("string " + std::to_string(id) + " not in the strings file");
                out.text = it->second;
            } else {
                out.resId = static_cast<uint16_t>(id);
            }
            return true;
        }
        out.text = std::string(value);
        return true;
    }

    bool FeatureKey(std::string_view key, std::string_view value) {
        Feature& f = m_model.features.back();
        if (EqualNoCase(key, "Name")) return ParseName(value, f.name);
        if (EqualNoCase(key, "Scope")) {
            if (EqualNoCase(value, "Document")) f.scope = Scope::Document;
            else if (EqualNoCase(value, "Device")) f.scope = Scope::Device;
            else return Fail("scope is Document or Device");
            return true;
        }
        if (EqualNoCase(key, "PubId")) {
            int32_t id = 0;
            bool found = false;
            for (const auto& p : kPubIds)
                if (EqualNoCase(value, p.name)) {
                    id = p.id;
                    found = true;
                }
            if (!found && (!ParseInt(value, id) || id < 1 || id > 255)) return Fail("unknown public id");
            f.pubId = static_cast<uint8_t>(id);
            if (!m_fieldSet) f.field = FieldOfPubId(f.pubId);
            return true;
        }
        if (EqualNoCase(key, "Devmode")) {
            for (const auto& p : kFields)
                if (EqualNoCase(value, p.name)) {
                    f.field = p.field;
                    m_fieldSet = true;
                    return true;
                }
            return Fail("unknown devmode field");
        }
        if (EqualNoCase(key, "Kind")) {
            if (EqualNoCase(value, "List")) f.kind = Kind::List;
            else if (EqualNoCase(value, "Combo")) f.kind = Kind::Combo;
            else if (EqualNoCase(value, "Range")) f.kind = Kind::Range;
            else if (EqualNoCase(value, "Edit")) f.kind = Kind::Edit;
            else if (EqualNoCase(value, "None")) f.kind = Kind::None;
            else return Fail("unknown kind");
            return true;
        }
        if (EqualNoCase(key, "Default")) {
            if (m_defaultSeen) return Fail("default given twice");
            m_defaultSeen = true;
            m_pendingDefault = std::string(value);
            return true;
        }
        if (EqualNoCase(key, "Option")) return OptionLine(f, value);
        if (EqualNoCase(key, "Range")) {
            auto w = Words(value);
            if (w.size() != 2 || !ParseInt(w[0], f.rangeMin) || !ParseInt(w[1], f.rangeMax) ||
                f.rangeMin > f.rangeMax)
                return Fail("range is <min> <max>");
            return true;
        }
        if (EqualNoCase(key, "MaxLength")) {
            int32_t n = 0;
            if (!ParseInt(value, n) || n < 1 || n > 255) return Fail("max length is 1-255");
            f.editMax = n;
            return true;
        }
        if (EqualNoCase(key, "CheckBox")) {
            if (!IsKeyword(value)) return Fail("bad check-box feature");
            f.checkBoxKeyword = std::string(value);
            return true;
        }
        if (EqualNoCase(key, "Flags")) {
            for (std::string_view w : Words(value)) {
                if (EqualNoCase(w, "hidden")) f.hidden = true;
                else if (EqualNoCase(w, "disabled")) f.disabled = true;
                else return Fail("unknown feature flag");
            }
            return true;
        }
        if (EqualNoCase(key, "Help")) {
            int32_t n = 0;
            if (!ParseInt(value, n) || n < 0) return Fail("bad help index");
            f.helpIndex = static_cast<uint32_t>(n);
            return true;
        }
        return Fail("unknown feature key");
    }

    bool OptionLine(Feature& f, std::string_view value) {
        auto parts = Split(value, '|');
        if (parts.size() < 2 || parts.size() > 3) return Fail("option is <keyword> | <name> [| attributes]");
        if (!IsKeyword(parts[0], false)) return Fail("bad option keyword");
        for (const Option& o : f.options)
            if (EqualNoCase(o.keyword, parts[0])) return Fail("option defined twice");
        Option o;
        o.keyword = std::string(parts[0]);
        if (!ParseName(parts[1], o.name)) return false;
        if (parts.size() == 3) {
            for (std::string_view w : Words(parts[2])) {
                if (EqualNoCase(w, "hidden")) o.hidden = true;
                else if (EqualNoCase(w, "disabled")) o.disabled = true;
                else if (w.size() > 3 && EqualNoCase(w.substr(0, 3), "id=")) {
                    if (!ParseInt(w.substr(3), o.id)) return Fail("bad option id");
                    o.hasId = true;
                } else if (w.size() > 5 && EqualNoCase(w.substr(0, 5), "size=")) {
                    if (!ParsePair(w.substr(5), o.width, o.length) || o.width <= 0 || o.length <= 0)
                        return Fail("size is <width>x<length>");
                } else if (w.size() > 4 && EqualNoCase(w.substr(0, 4), "res=")) {
                    if (!ParsePair(w.substr(4), o.xres, o.yres) || o.xres <= 0 || o.yres <= 0)
                        return Fail("res is <x>x<y>");
                } else {
                    return Fail("unknown option attribute");
                }
            }
        }
        f.options.push_back(std::move(o));
        return true;
    }

    bool ConstraintKey(std::string_view key, std::string_view value) {
        if (!EqualNoCase(key, "Constraint")) return Fail("unknown constraints key");
        m_constraintLines.push_back({m_line, std::string(value)});
        return true;
    }

    // Checks of one feature once its section is complete.
    bool CloseFeature(Feature& f) {
        if (f.name.text.empty() && !f.name.resId) f.name.text = f.keyword;
        if (f.kind == Kind::Range) {
            if (!f.options.empty()) return Fail("feature " + f.keyword + ": a range has no options");
            f.rangeDefault = f.rangeMin;
            if (m_defaultSeen && (!ParseInt(m_pendingDefault, f.rangeDefault) || f.rangeDefault < f.rangeMin ||
                                  f.rangeDefault > f.rangeMax))
                return Fail("feature " + f.keyword + ": default outside the range");
            return true;
        }
        if (f.kind == Kind::Edit) {
            if (!f.options.empty()) return Fail("feature " + f.keyword + ": an edit item has no options");
            if (m_pendingDefault.size() > static_cast<size_t>(f.editMax))
                return Fail("feature " + f.keyword + ": default longer than the maximum");
            f.editDefault = m_pendingDefault;
            return true;
        }
        if (f.options.empty()) return Fail("feature " + f.keyword + " has no options");
        if (f.options.size() > 1000) return Fail("feature " + f.keyword + " has too many options");
        f.defaultOption = 0;
        if (m_defaultSeen) {
            int i = m_model.FindOption(static_cast<int>(&f - m_model.features.data()), m_pendingDefault);
            if (i < 0) return Fail("feature " + f.keyword + ": default is not one of its options");
            f.defaultOption = i;
        }
        return true;
    }

    // A feature section is checked when the next section begins or the text ends.
    bool Finish() { return CloseSection() && Resolve(); }

    bool Resolve() {
        if (m_model.name.empty()) return Fail("the model has no Name");
        for (const auto& f : m_model.features)
            if (!f.checkBoxKeyword.empty()) {
                int cb = m_model.FindFeature(f.checkBoxKeyword);
                if (cb < 0) return Fail("feature " + f.keyword + ": unknown check-box feature");
                const Feature& t = m_model.features[cb];
                if (t.options.size() != 2 || t.kind != Kind::None || t.scope != f.scope)
                    return Fail("feature " + f.keyword + ": the check-box feature needs two options, no item and the same scope");
            }
        for (auto& f : m_model.features)
            if (!f.checkBoxKeyword.empty()) f.checkBox = m_model.FindFeature(f.checkBoxKeyword);
        for (const auto& [line, text] : m_constraintLines) {
            m_line = line;
            auto w = Words(text);
            if (w.size() != 2) return Fail("constraint is <Feature>.<Option> <Feature>.<Option>");
            Constraint c;
            if (!Ref(w[0], c.feature, c.option) || !Ref(w[1], c.otherFeature, c.otherOption)) return false;
            if (c.feature == c.otherFeature) return Fail("a constraint joins two features");
            m_model.constraints.push_back(c);
        }
        return true;
    }

    bool Ref(std::string_view s, int& feature, int& option) {
        size_t dot = s.find('.');
        if (dot == std::string_view::npos) return Fail("expected <Feature>.<Option>");
        feature = m_model.FindFeature(s.substr(0, dot));
        if (feature < 0) return Fail("unknown feature in constraint");
        option = m_model.FindOption(feature, s.substr(dot + 1));
        if (option < 0) return Fail("unknown option in constraint");
        return true;
    }

    const std::map<uint32_t, std::string>& m_strings;
    Model& m_model;
    std::string& m_error;
    Section m_section = Section::None;
    int m_line = 0;
    bool m_defaultSeen = false;
    bool m_fieldSet = false;
    std::string m_pendingDefault;
    std::vector<std::pair<int, std::string>> m_constraintLines;
};

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

int Model::FindFeature(std::string_view keyword) const {
    for (size_t i = 0; i < features.size(); ++i)
        if (EqualNoCase(features[i].keyword, keyword)) return static_cast<int>(i);
    return -1;
}

int Model::FindOption(int feature, std::string_view keyword) const {
    if (feature < 0 || static_cast<size_t>(feature) >= features.size()) return -1;
    const auto& options = features[feature].options;
    for (size_t i = 0; i < options.size(); ++i)
        if (EqualNoCase(options[i].keyword, keyword)) return static_cast<int>(i);
    return -1;
}

std::string Model::NameText(const Name& name) const {
    if (!name.resId) return name.text;
    auto it = strings.find(name.resId);
    return it != strings.end() ? it->second : "#" + std::to_string(name.resId);
}

bool ParseStrings(std::string_view text, std::map<uint32_t, std::string>& out, std::string& error) {
    out.clear();
    int line = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string_view s = Trim(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        ++line;
        if (!s.empty() && s.front() != '#' && s.front() != ';') {
            size_t eq = s.find('=');
            int32_t id = 0;
            if (eq == std::string_view::npos || !ParseInt(s.substr(0, eq), id) || id <= 0 || id > 0xFFFF) {
                error = "line " + std::to_string(line) + ": expected <id>=<text>";
                return false;
            }
            out[static_cast<uint32_t>(id)] = std::string(Trim(s.substr(eq + 1)));
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return true;
}

std::string FindStringsFile(std::string_view text) {
    bool inModel = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string_view s = Trim(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!s.empty() && s.front() == '[') inModel = EqualNoCase(s, "[Model]");
        else if (inModel) {
            size_t eq = s.find('=');
            if (eq != std::string_view::npos && EqualNoCase(Trim(s.substr(0, eq)), "Strings"))
                return std::string(Trim(s.substr(eq + 1)));
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return std::string();
}

bool ParseModel(std::string_view text, const std::map<uint32_t, std::string>& strings, Model& out,
                std::string& error) {
    Parser parser(strings, out, error);
    return parser.Run(text);
}

}  // namespace zqmodel
