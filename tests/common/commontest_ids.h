// Resources of the common_tests executable.
#pragma once

#define IDD_ACTCTX_PROBE 100
