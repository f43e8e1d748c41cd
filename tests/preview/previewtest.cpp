#include "previewtest.h"

#include "common/zqhandles.h"
#include "testsupport.h"

namespace zqpreviewtest {

HINSTANCE Resources() {
    static const CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    return module.Get();
}

PreviewSettings Record(const wchar_t* fields) {
    PreviewSettings record = ZQDefaultPreviewRecord();
    std::wstring bad;
    EXPECT_TRUE(ZQParsePreviewFields(fields, &record, &bad)) << "unknown field " << testing::PrintToString(bad);
    return record;
}

bool Has(const ZQPixels& pixels, COLORREF color, const RECT* pArea) {
    const RECT all = {0, 0, pixels.width, pixels.height};
    const RECT& area = pArea ? *pArea : all;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pixels.At(x, y) == color) return true;
    return false;
}

}  // namespace zqpreviewtest
