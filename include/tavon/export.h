// TAVON_API marks the classes and functions of the C++ API that the shared library (libtavon.so.1,
// tavon.dll) exports; everything else in it is hidden. A program linking the DLL defines
// TAVON_USING_SHARED (the CMake target tavon::shared does); the static library needs nothing.
#pragma once

#if defined(_WIN32)
#if defined(TAVON_BUILDING_SHARED)
#define TAVON_API __declspec(dllexport)
#elif defined(TAVON_USING_SHARED)
#define TAVON_API __declspec(dllimport)
#else
#define TAVON_API
#endif
#else
#define TAVON_API __attribute__((visibility("default")))
#endif

// The library's own classes nested in exported ones (Report::Writer): hidden in spite of them.
#if defined(_WIN32)
#define TAVON_INTERNAL
#else
#define TAVON_INTERNAL __attribute__((visibility("hidden")))
#endif
