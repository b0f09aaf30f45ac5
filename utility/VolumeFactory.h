#pragma once

#include "IVolumeCtrl.h"

class COBBEL_API CVolumeFactory {
public:
    CVolumeFactory() = default;
    CVolumeFactory(const CVolumeFactory&) = default;
    CVolumeFactory& operator=(const CVolumeFactory&) = default;
    virtual ~CVolumeFactory();

    // A new control for this Windows, owned by the caller: Core Audio from
    // Vista on, the mixer on Windows 2000/XP, null on Windows 9x or when it
    // cannot be allocated.
    static IVolumeCtrl* GetVolumeCtrl();
};
