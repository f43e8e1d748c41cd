// The UTF-16 code unit of the standard-library units (stored formats and their parsers), which
// also compile natively for fuzzing.
#pragma once

#ifdef _WIN32
using zqwchar = wchar_t;
#else
using zqwchar = char16_t;
#endif
static_assert(sizeof(zqwchar) == 2, "UTF-16 code unit");
