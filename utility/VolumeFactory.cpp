#include "VolumeFactory.h"

#include "VistaVolumeCtrl.h"
#include "WindowsVersion.h"
#include "XPVolumeCtrl.h"

#include <new>

CVolumeFactory::~CVolumeFactory() = default;

IVolumeCtrl* CVolumeFactory::GetVolumeCtrl()
{
    switch (GetWindowsVersionClass()) {
    case 4:
    case 5: return new (std::nothrow) CVistaVolumeCtrl();
    case 2:
    case 3: return new (std::nothrow) CXPVolumeCtrl(100);
    default: return nullptr;
    }
}
