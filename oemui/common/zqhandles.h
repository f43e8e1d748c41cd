// Owners for Win32 resources, and the printer handle closed through the plug-in's spooler table.
#pragma once

#include "platform/zqspooler.h"
#include "zqowner.h"

struct ZQPrinterTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr; }
    static void Free(HANDLE h) { zqspool::Spooler().ClosePrinter(h); }
};
using CZQPrinterHandle = CZQOwner<HANDLE, ZQPrinterTraits>;
