// The stored quick set and the devmode it is taken from or compared with. The first byte picks the
// road: odd, a stored value read with and without a fill for short settings, and an accepted value
// written again reads back the same; even, a devmode then a settings block (each padded with
// zeros), where capturing stays inside both records and a devmode compared with what was just
// captured from it never differs.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqquickset.h"

namespace {

void StoredValue(const uint8_t* data, size_t size) {
    QuickSetSettings fill;
    zqqs::DefaultSettings(fill);
    const zqwchar factory[] = {' ', 'F', 0};
    zqqs::ReadContext contexts[2];
    contexts[1].refuseShortName = true;
    contexts[1].pFill = &fill;
    contexts[1].factoryName = factory;
    for (const zqqs::ReadContext& context : contexts) {
        QuickSetHead head;
        std::vector<zqqs::PairRead> pairs;
        if (!zqqs::ReadValue(data, size, context, head, pairs)) continue;
        if (head.cPairs != pairs.size() || head.cchName != zqqs::kNameCapacity) __builtin_trap();
        std::vector<zqqs::PairText> texts;
        for (const zqqs::PairRead& p : pairs) texts.push_back({p.feature.c_str(), p.option.c_str()});
        std::vector<uint8_t> again(zqqs::ValueSize(texts.data(), texts.size()));
        zqqs::WriteValue(head, texts.data(), texts.size(), again.data());
        QuickSetHead back;
        std::vector<zqqs::PairRead> backPairs;
        if (!zqqs::ReadValue(again.data(), again.size(), {}, back, backPairs)) __builtin_trap();
        if (std::memcmp(&back.settings, &head.settings, sizeof back.settings) != 0 ||
            std::memcmp(back.szName, head.szName, sizeof back.szName) != 0 || backPairs.size() != pairs.size())
            __builtin_trap();
        for (size_t i = 0; i < pairs.size(); ++i)
            if (backPairs[i].feature != pairs[i].feature || backPairs[i].option != pairs[i].option) __builtin_trap();
    }
}

void DevmodeAndBlock(const uint8_t* data, size_t size) {
    ZQUIDevmode dm;
    QuickSetSettings stored;
    std::memset(&dm, 0, sizeof dm);
    std::memset(&stored, 0, sizeof stored);
    const size_t cbDevmode = size < sizeof dm ? size : sizeof dm;
    std::memcpy(&dm, data, cbDevmode);
    if (size > cbDevmode) {
        const size_t rest = size - cbDevmode;
        std::memcpy(&stored, data + cbDevmode, rest < sizeof stored ? rest : sizeof stored);
    }
    const bool mediaItem = size > 0 && (data[0] & 2);
    zqqs::PaperQualityDiffers(dm, stored, mediaItem);
    zqqs::JobStorageDiffers(dm, stored);

    QuickSetSettings captured;
    zqqs::Capture(dm, captured);
    const int tiles = size > 1 ? data[1] % 7 : 0;
    if (zqqs::PaperQualityDiffers(dm, captured, mediaItem) || zqqs::JobStorageDiffers(dm, captured) ||
        zqqs::JobOptionsDiffers(dm, captured) || zqqs::FinishingDiffers(dm, captured, tiles) ||
        zqqs::EffectsNumbersDiffer(dm, captured) || zqqs::WatermarkNameDiffers(dm, captured) ||
        zqqs::SimplifiedLargeFormatDiffers(dm, captured) || zqqs::AppTextDiffers(dm, captured) ||
        zqqs::OrientationDuplexDiffers(dm, captured))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1)
        StoredValue(data + 1, size - 1);
    else
        DevmodeAndBlock(data, size);
    return 0;
}
