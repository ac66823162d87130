// How the control API's functions cross the DLL boundary.
#pragma once

#ifdef TAVLET_SIMRT_BUILD
#define SIMRT_API __declspec(dllexport)
#else
#define SIMRT_API __declspec(dllimport)
#endif
