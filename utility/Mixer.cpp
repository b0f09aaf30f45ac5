#include "Mixer.h"

#include <mmsystem.h>

namespace {

// Mixer device 0, closed on every path once it was opened.
class OpenMixer {
public:
    OpenMixer()
    {
        if (mixerOpen(&handle_, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
            handle_ = nullptr;
    }
    ~OpenMixer()
    {
        if (handle_)
            mixerClose(handle_);
    }
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;

    HMIXER Handle() const { return handle_; }
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(handle_); }

private:
    HMIXER handle_ = nullptr;
};

bool FindSpeakersControl(const OpenMixer& mixer, DWORD controlType, MIXERCONTROLW* control)
{
    MIXERLINEW line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoW(mixer.Object(), &line,
                          MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return false;

    MIXERLINECONTROLSW controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(*control);
    controls.pamxctrl = control;
    control->cbStruct = sizeof(*control);
    return mixerGetLineControlsW(mixer.Object(), &controls,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
           MMSYSERR_NOERROR;
}

// One channel, one unsigned value: the control moves all channels together.
MIXERCONTROLDETAILS SingleValueDetails(DWORD controlId, MIXERCONTROLDETAILS_UNSIGNED* value)
{
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(*value);
    details.paDetails = value;
    return details;
}

} // namespace

bool CMixer::GetControl(DWORD controlType, DWORD* value, DWORD* minimum, DWORD* maximum) const
{
    OpenMixer mixer;
    if (!mixer.Handle())
        return false;
    MIXERCONTROLW control = {};
    if (!FindSpeakersControl(mixer, controlType, &control))
        return false;

    MIXERCONTROLDETAILS_UNSIGNED reading = {};
    MIXERCONTROLDETAILS details = SingleValueDetails(control.dwControlID, &reading);
    if (mixerGetControlDetailsW(mixer.Object(), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return false;
    if (value)
        *value = reading.dwValue;
    if (minimum)
        *minimum = control.Bounds.dwMinimum;
    if (maximum)
        *maximum = control.Bounds.dwMaximum;
    return true;
}

bool CMixer::SetControl(DWORD controlType, DWORD value) const
{
    OpenMixer mixer;
    if (!mixer.Handle())
        return false;
    MIXERCONTROLW control = {};
    if (!FindSpeakersControl(mixer, controlType, &control))
        return false;

    MIXERCONTROLDETAILS_UNSIGNED setting = {};
    setting.dwValue = value;
    MIXERCONTROLDETAILS details = SingleValueDetails(control.dwControlID, &setting);
    return mixerSetControlDetails(mixer.Object(), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}
