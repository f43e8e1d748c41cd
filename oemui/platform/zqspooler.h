// The one place the plug-in reaches the print spooler. Every call goes through a table of function
// pointers resolved from winspool.drv at run time, so a call a spooler lacks never becomes a static
// import: it answers ERROR_CALL_NOT_IMPLEMENTED instead. Tests install another table (the in-memory
// printer) in place of the real spooler.
#pragma once

#include "zqspoolapi.h"
