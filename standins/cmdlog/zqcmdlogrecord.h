// Where zqcmdlog.exe records the command line it was started with (REG_SZ "Last"). Shared by the
// program and the tests.
#pragma once

inline constexpr const wchar_t* kZQCmdLogKey = L"Software\\ZQStandIns\\cmdlog";
