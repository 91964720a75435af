#pragma once

// The Win32 API, without the min/max macros that break std::min and std::max and without the parts of
// windows.h the core never uses.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
