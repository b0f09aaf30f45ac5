#include "VolumeCtrl.h"

#include <new>

CVolumeCtrl::CVolumeCtrl() : control_(nullptr) {}

CVolumeCtrl::CVolumeCtrl(IVolumeCtrl* control) : control_(control) {}

CVolumeCtrl::~CVolumeCtrl()
{
    delete control_;
}

IVolumeCtrl* CVolumeCtrl::GetInstance(IVolumeCtrl* control)
{
    return new (std::nothrow) CVolumeCtrl(control);
}

void CVolumeCtrl::DestoryInstance(IVolumeCtrl* control)
{
    delete control;
}

int CVolumeCtrl::Init()
{
    return control_ ? control_->Init() : IVolumeCtrl::Init();
}

int CVolumeCtrl::UnInit()
{
    return control_ ? control_->UnInit() : IVolumeCtrl::UnInit();
}

int CVolumeCtrl::GetMute()
{
    return control_ ? control_->GetMute() : IVolumeCtrl::GetMute();
}

int CVolumeCtrl::SetMute()
{
    return control_ ? control_->SetMute() : IVolumeCtrl::SetMute();
}

int CVolumeCtrl::GetVol()
{
    return control_ ? control_->GetVol() : IVolumeCtrl::GetVol();
}

int CVolumeCtrl::SetVol(int volume)
{
    return control_ ? control_->SetVol(volume) : IVolumeCtrl::SetVol(volume);
}

int CVolumeCtrl::GetMax()
{
    return control_ ? control_->GetMax() : IVolumeCtrl::GetMax();
}

int CVolumeCtrl::GetMin()
{
    return control_ ? control_->GetMin() : IVolumeCtrl::GetMin();
}
