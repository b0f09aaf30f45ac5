#pragma once

#include "IVolumeCtrl.h"

struct IMMDeviceEnumerator;
struct IMMDevice;
struct IAudioEndpointVolume;

// Master volume through Core Audio (Vista and later). Holds its interfaces on
// the thread that made it, from construction to destruction.
class COBBEL_API CVistaVolumeCtrl : public IVolumeCtrl {
public:
    CVistaVolumeCtrl();
    ~CVistaVolumeCtrl() override;
    CVistaVolumeCtrl(const CVistaVolumeCtrl&) = delete;
    CVistaVolumeCtrl& operator=(const CVistaVolumeCtrl&) = delete;

    int GetMute() override;
    int SetMute() override;
    int GetVol() override;
    int SetVol(int volume) override;
    int GetMax() override;
    int GetMin() override;

    bool Ready() const { return ready_; }

    // A master level (0.0-1.0) as a volume of 0-100. Levels are stored as
    // floats, so 0.29 comes back as 0.2899999; a small tolerance keeps a
    // volume that was set reading as itself while 0.999 still reads 99.
    static int LevelToVolume(float level);
    // A volume of 0-100 (clamped) as the master level to set.
    static float VolumeToLevel(int volume);

private:
    void Setup();
    void Release();

    IMMDeviceEnumerator* enumerator_ = nullptr;
    IMMDevice* device_ = nullptr;
    IAudioEndpointVolume* endpoint_ = nullptr;
    bool ready_ = false;
    // Only a successful CoInitialize (S_OK or S_FALSE) is balanced later.
    bool uninitialize_ = false;
};
