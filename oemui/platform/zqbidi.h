// The spooler's bidirectional interfaces IBidiSpl and IBidiRequest with their BIDI_* values, as
// mingw-w64 declares them. Its uuid library lacks the four ids of the two published classes and
// interfaces; zqbidi.cpp defines them from their published values.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <winspool.h>
#include <bidispl.h>
