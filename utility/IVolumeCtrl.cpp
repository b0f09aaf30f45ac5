#include "IVolumeCtrl.h"

IVolumeCtrl::~IVolumeCtrl() = default;

int IVolumeCtrl::Init()
{
    return 1;
}

int IVolumeCtrl::UnInit()
{
    return 1;
}

int IVolumeCtrl::GetMute()
{
    return 1;
}

int IVolumeCtrl::SetMute()
{
    return 1;
}

int IVolumeCtrl::GetVol()
{
    return 0;
}

int IVolumeCtrl::SetVol(int)
{
    return 1;
}

int IVolumeCtrl::GetMax()
{
    return 0;
}

int IVolumeCtrl::GetMin()
{
    return 0;
}
