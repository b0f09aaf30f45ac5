#pragma once

// Cobbel.dll exports its classes; everything that links its import library
// imports them.
#ifdef COBBEL_BUILDING_DLL
#define COBBEL_API __declspec(dllexport)
#else
#define COBBEL_API __declspec(dllimport)
#endif
