#pragma once

#include "CobbelApi.h"

// Master volume of the speakers on a 0-100 scale. A concrete base: every
// operation has a harmless default an implementation may leave alone.
class COBBEL_API IVolumeCtrl {
public:
    IVolumeCtrl() = default;
    IVolumeCtrl(const IVolumeCtrl&) = default;
    IVolumeCtrl& operator=(const IVolumeCtrl&) = default;
    virtual ~IVolumeCtrl();

    virtual int Init();
    virtual int UnInit();
    virtual int GetMute();
    // Toggles muting; there is no argument.
    virtual int SetMute();
    virtual int GetVol();
    virtual int SetVol(int volume);
    virtual int GetMax();
    virtual int GetMin();
};
