// The sample printers of samples/: their models beside the test executables and the names they
// install as.
#pragma once

namespace zqhosttest {

inline constexpr wchar_t kDeskModel[] = L"samples\\zqdesk\\zqdesk.zqm";
inline constexpr wchar_t kRollModel[] = L"samples\\zqroll\\zqroll.zqm";
inline constexpr wchar_t kWideModel[] = L"samples\\zqroll\\zqwide.zqm";
inline constexpr wchar_t kPublishModel[] = L"samples\\zqdesk\\zqdeskpub.zqm";
inline constexpr wchar_t kSimpleModel[] = L"samples\\zqdesk\\zqdesksimple.zqm";
inline constexpr wchar_t kDeskPrinter[] = L"ZQ Desk 2400 Inkjet";
inline constexpr wchar_t kRollPrinter[] = L"ZQ Roll 4400 Large Format";
inline constexpr wchar_t kWidePrinter[] = L"ZQ Wide 4600 Large Format";
inline constexpr wchar_t kPublishPrinter[] = L"ZQ Desk 2400 Publishing";
inline constexpr wchar_t kSimplePrinter[] = L"ZQ Desk 2400 Simple";

}  // namespace zqhosttest
