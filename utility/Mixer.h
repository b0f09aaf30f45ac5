#pragma once

#include "CobbelApi.h"

#include <windows.h>

// One control of the speakers line of mixer device 0. Every call opens the
// mixer and closes it again, so nothing is held between calls.
class COBBEL_API CMixer {
public:
    static const DWORD kVolumeControl = 0x50030001; // MIXERCONTROL_CONTROLTYPE_VOLUME
    static const DWORD kMuteControl = 0x20010002;   // MIXERCONTROL_CONTROLTYPE_MUTE

    // The control's value and bounds; false when the mixer, the speakers line
    // or the control cannot be had.
    bool GetControl(DWORD controlType, DWORD* value, DWORD* minimum, DWORD* maximum) const;
    bool SetControl(DWORD controlType, DWORD value) const;
};
