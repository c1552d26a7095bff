// Export macro of the UI framework's classes and functions.
#pragma once

#ifdef WENDORA_BUILD
#define WENDORA_API __declspec(dllexport)
#else
#define WENDORA_API __declspec(dllimport)
#endif
