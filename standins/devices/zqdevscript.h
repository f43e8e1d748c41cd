// A printer's device script: what the device answers for each object identifier. The format is
// described in samples/README.md.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace zqdev {

struct DeviceAnswer {
    bool answered = false;  // false: the device does not answer this object
    BYTE type = 0;
    std::vector<BYTE> bytes;
};

struct DeviceScript {
    std::map<std::wstring, DeviceAnswer> answers;  // by object identifier
};

// Parses a script's text (UTF-8). On failure the script holds nothing and why says where and why.
bool BParseDeviceScript(const std::string& text, DeviceScript& script, std::wstring& why);
// Reads and parses the file.
bool BReadDeviceScript(const std::wstring& path, DeviceScript& script, std::wstring& why);

}  // namespace zqdev
