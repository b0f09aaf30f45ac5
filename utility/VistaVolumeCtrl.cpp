#include "VistaVolumeCtrl.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>

namespace {

template <typename T>
void ReleaseInterface(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

} // namespace

CVistaVolumeCtrl::CVistaVolumeCtrl()
{
    Setup();
}

CVistaVolumeCtrl::~CVistaVolumeCtrl()
{
    Release();
}

void CVistaVolumeCtrl::Setup()
{
    if (ready_)
        return;
    const HRESULT init = CoInitialize(nullptr);
    // RPC_E_CHANGED_MODE: the thread is in another apartment, which serves
    // as well, but that initialisation is not ours to undo.
    uninitialize_ = SUCCEEDED(init);

    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&enumerator_))))
        return;
    if (FAILED(enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, &device_)))
        return;
    if (FAILED(device_->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                 reinterpret_cast<void**>(&endpoint_))))
        return;
    ready_ = true;
}

void CVistaVolumeCtrl::Release()
{
    ReleaseInterface(endpoint_);
    ReleaseInterface(device_);
    ReleaseInterface(enumerator_);
    ready_ = false;
    if (uninitialize_) {
        CoUninitialize();
        uninitialize_ = false;
    }
}

int CVistaVolumeCtrl::LevelToVolume(float level)
{
    const double scaled = std::floor(static_cast<double>(level) * 100.0 + 1e-3);
    return std::clamp(static_cast<int>(scaled), 0, 100);
}

float CVistaVolumeCtrl::VolumeToLevel(int volume)
{
    return static_cast<float>(std::clamp(volume, 0, 100) / 100.0);
}

int CVistaVolumeCtrl::GetMute()
{
    if (!endpoint_)
        return 0;
    BOOL muted = FALSE;
    if (FAILED(endpoint_->GetMute(&muted)))
        return 0;
    return muted ? 1 : 0;
}

int CVistaVolumeCtrl::SetMute()
{
    if (!endpoint_)
        return E_FAIL;
    return endpoint_->SetMute(GetMute() ? FALSE : TRUE, nullptr);
}

int CVistaVolumeCtrl::GetVol()
{
    if (!endpoint_)
        return 0;
    float level = 0.0f;
    if (FAILED(endpoint_->GetMasterVolumeLevelScalar(&level)))
        return 0;
    return LevelToVolume(level);
}

int CVistaVolumeCtrl::SetVol(int volume)
{
    if (!endpoint_)
        return E_FAIL;
    return endpoint_->SetMasterVolumeLevelScalar(VolumeToLevel(volume), nullptr);
}

int CVistaVolumeCtrl::GetMax()
{
    return 100;
}

int CVistaVolumeCtrl::GetMin()
{
    return 0;
}
