#include "Mixer.h"

#include <vector>

namespace {

const DWORD kNoControl = static_cast<DWORD>(-1);

// The first control of type on the line; kNoControl when there is none.
DWORD FindLineControl(HMIXER mixer, const MIXERLINEA& line, DWORD type) {
    if (line.cControls == 0)
        return kNoControl;
    std::vector<MIXERCONTROLA> controls(line.cControls);
    MIXERLINECONTROLSA query = {};
    query.cbStruct = sizeof query;
    query.dwLineID = line.dwLineID;
    query.cControls = line.cControls;
    query.cbmxctrl = sizeof(MIXERCONTROLA);
    query.pamxctrl = controls.data();
    if (::mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &query, MIXER_GETLINECONTROLSF_ALL) !=
        MMSYSERR_NOERROR)
        return kNoControl;
    for (const MIXERCONTROLA& control : controls)
        if (control.dwControlType == type)
            return control.dwControlID;
    return kNoControl;
}

// The mute control's one boolean, read or written through details.
MMRESULT MuteDetails(HMIXER mixer, DWORD muteControlId, MIXERCONTROLDETAILS_BOOLEAN* value, bool write) {
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = muteControlId;
    details.cChannels = 1;
    details.cbDetails = sizeof *value;
    details.paDetails = value;
    const HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);
    return write ? ::mixerSetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE)
                 : ::mixerGetControlDetailsA(object, &details, MIXER_GETCONTROLDETAILSF_VALUE);
}

} // namespace

void OpenMicrophoneMixer(HWND window, HMIXER* mixer, DWORD* muteControlId, DWORD* volumeControlId) {
    *muteControlId = kNoControl;
    *volumeControlId = kNoControl;
    *mixer = nullptr;
    UINT id = 0;
    if (::mixerGetID(reinterpret_cast<HMIXEROBJ>(0), &id, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
        return;
    if (::mixerOpen(mixer, 0, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
        *mixer = nullptr;
        return;
    }
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    if (::mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(*mixer), &line, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
            MMSYSERR_NOERROR ||
        line.dwComponentType != MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE)
        return;
    *muteControlId = FindLineControl(*mixer, line, MIXERCONTROL_CONTROLTYPE_MUTE);
    *volumeControlId = FindLineControl(*mixer, line, MIXERCONTROL_CONTROLTYPE_VOLUME);
}

BOOL IsMicrophoneMuted(HMIXER mixer, DWORD muteControlId) {
    if (muteControlId == kNoControl || !mixer)
        return TRUE;
    MIXERCONTROLDETAILS_BOOLEAN value = {};
    if (MuteDetails(mixer, muteControlId, &value, false) != MMSYSERR_NOERROR)
        return FALSE;
    return value.fValue != 0;
}

BOOL SetMicrophoneMute(HMIXER mixer, DWORD muteControlId, BOOL muted) {
    if (muteControlId == kNoControl || !mixer)
        return TRUE;
    MIXERCONTROLDETAILS_BOOLEAN value = {};
    value.fValue = muted ? 1 : 0;
    return MuteDetails(mixer, muteControlId, &value, true) == MMSYSERR_NOERROR;
}
