#include "XPVolumeCtrl.h"

#include <algorithm>

CXPVolumeCtrl::CXPVolumeCtrl(int scale) : scale_(scale > 0 ? scale : 100) {}

CXPVolumeCtrl::~CXPVolumeCtrl() = default;

int CXPVolumeCtrl::Init()
{
    scale_ = 100;
    return 1;
}

int CXPVolumeCtrl::ValueToVolume(DWORD value, DWORD maximum, int scale)
{
    if (maximum == 0 || scale <= 0)
        return 0;
    value = std::min(value, maximum);
    const unsigned long long product = static_cast<unsigned long long>(value) * static_cast<unsigned>(scale);
    return static_cast<int>((product + maximum / 2) / maximum);
}

DWORD CXPVolumeCtrl::VolumeToValue(int volume, DWORD maximum, int scale)
{
    if (maximum == 0 || scale <= 0)
        return 0;
    volume = std::clamp(volume, 0, scale);
    const unsigned long long product = static_cast<unsigned long long>(volume) * maximum;
    return static_cast<DWORD>((product + static_cast<unsigned>(scale) / 2) / static_cast<unsigned>(scale));
}

int CXPVolumeCtrl::GetMute()
{
    DWORD value = 0;
    if (!mixer_.GetControl(CMixer::kMuteControl, &value, nullptr, nullptr))
        return 0;
    return value > 0 ? 1 : 0;
}

int CXPVolumeCtrl::SetMute()
{
    DWORD current = 0;
    if (!mixer_.GetControl(CMixer::kMuteControl, &current, nullptr, nullptr))
        return 0;
    return mixer_.SetControl(CMixer::kMuteControl, current > 0 ? 0 : 1) ? 1 : 0;
}

int CXPVolumeCtrl::GetVol()
{
    DWORD value = 0;
    DWORD maximum = 0;
    if (!mixer_.GetControl(CMixer::kVolumeControl, &value, nullptr, &maximum))
        return 0;
    return ValueToVolume(value, maximum, scale_);
}

int CXPVolumeCtrl::SetVol(int volume)
{
    DWORD maximum = 0;
    if (!mixer_.GetControl(CMixer::kVolumeControl, nullptr, nullptr, &maximum) || maximum == 0)
        return 0;
    return mixer_.SetControl(CMixer::kVolumeControl, VolumeToValue(volume, maximum, scale_)) ? 1 : 0;
}

int CXPVolumeCtrl::GetMax()
{
    return 100;
}

int CXPVolumeCtrl::GetMin()
{
    return 0;
}
