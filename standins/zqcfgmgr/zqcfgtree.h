// A configuration file of ours, as the configuration-manager stand-in keeps it: UTF-8 lines
// "<path>=<value>", an item's attribute as "<path>@<attribute>=<value>", blank lines and comment
// lines starting with "#" or ";". A path is names separated by "/", the first a root ("Printing",
// "Physical"); an item named only as part of a longer path has items below it and no value.
// Names compare without case; items keep the order of their first mention.
#pragma once

#include <memory>
#include <string>
#include <vector>

using ZQCfgPath = std::vector<std::wstring>;

// "Printing/Finishing/" -> {"Printing", "Finishing"}; empty names are skipped.
ZQCfgPath ZQSplitCfgPath(const std::wstring& text);
std::wstring ZQJoinCfgPath(const ZQCfgPath& path);

struct ZQCfgNode {
    std::wstring name;
    std::wstring value;
    bool hasValue = false;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::vector<std::unique_ptr<ZQCfgNode>> children;
    int line = -1;  // the file line that holds the value

    ZQCfgNode* Child(const std::wstring& childName) const;
    ZQCfgNode* MakeChild(const std::wstring& childName);
    const std::wstring* Attribute(const std::wstring& attributeName) const;
};

class CZQCfgFile {
public:
    CZQCfgFile();
    // False with the reason when the file cannot be read or a line is malformed (then nothing of
    // it is kept). Both roots exist afterwards, empty when the file names nothing below them.
    bool BLoad(const std::wstring& path, std::wstring& why);
    // Writes the lines back: comments and order kept, changed values in their lines, new items at
    // the end.
    bool BSave(const std::wstring& path, std::wstring& why) const;

    const std::wstring& Path() const { return m_path; }
    // The item of a path (empty path: the nameless top whose items are the roots), or null.
    ZQCfgNode* Find(const ZQCfgPath& path) const;
    // Sets the value of the item of the path, making it and the items above it when missing.
    void VSetValue(const ZQCfgPath& path, const std::wstring& value);

private:
    void VReset();
    ZQCfgNode* Make(const ZQCfgPath& path);
    bool BParseLine(const std::wstring& text, int lineIndex);

    std::wstring m_path;
    std::vector<std::wstring> m_lines;
    std::unique_ptr<ZQCfgNode> m_top;
};
