// zqhost preview: the sample page of a preview record given as name=value fields, painted by the
// plug-in's preview in a page-sized window, saved as a PNG of the control the preview showed.
// Declared apart from the preview window so that the host tool itself needs none of the plug-in's
// headers.
#pragma once

#include <string>
#include <vector>

// 0 when the picture was written; 1 on failure, 2 for an unknown field (both printed).
int ZQPreviewPicture(const std::wstring& exeDir, const std::wstring& png, const std::vector<std::wstring>& fields);
