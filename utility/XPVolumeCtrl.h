#pragma once

#include "IVolumeCtrl.h"
#include "Mixer.h"

// Master volume through the waveform mixer (Windows 2000 and XP).
class COBBEL_API CXPVolumeCtrl : public IVolumeCtrl {
public:
    explicit CXPVolumeCtrl(int scale = 100);
    ~CXPVolumeCtrl() override;

    int Init() override;
    int GetMute() override;
    int SetMute() override;
    int GetVol() override;
    int SetVol(int volume) override;
    int GetMax() override;
    int GetMin() override;

    // Control value <-> volume on the scale, both rounded to the nearest.
    // Mixers quantise what they are given and read back a unit or so off;
    // rounding the read gives back the volume written whenever the control
    // has at least three times as many steps as the scale. An empty control
    // range reads 0 and writes 0.
    static int ValueToVolume(DWORD value, DWORD maximum, int scale);
    static DWORD VolumeToValue(int volume, DWORD maximum, int scale);

private:
    CMixer mixer_;
    int scale_;
};
