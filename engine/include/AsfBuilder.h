#pragma once
// CAsfBuilder: the Windows Media profile work of an ASF recording. It makes the profile manager when
// first needed, selects the system-profile version, loads a system profile by number, and sets the
// frame size of a profile's video streams to the size the camera delivers.
#include <windows.h>
#include <wmsdkidl.h>

#include "VostrelApi.h"

class VOSTREL_API CAsfBuilder {
public:
    CAsfBuilder();
    // Shares the other's profile manager with a reference of its own.
    CAsfBuilder(const CAsfBuilder& other);
    CAsfBuilder& operator=(const CAsfBuilder& other);
    virtual ~CAsfBuilder();

    long CheckWMFVersion();
    // version: the Windows Media version times 0x100 (0x400 .. 0x900).
    HRESULT SetUseWMFVersion(unsigned version);
    HRESULT GetProfileCount(unsigned long* count);
    // Loads version-8 system profile `index`; the caller owns the profile.
    HRESULT SetProfileNum(unsigned long index, IWMProfile** profile);
    // The frame size of every video stream of the profile; the quality is not used.
    HRESULT SetASFFormat(IWMProfile* profile, long width, long height, unsigned quality);
    // 1 and 2 the older consumer Windows, 3 NT before XP, 4 XP and later.
    void GetOSVersion(int* kind);

private:
    HRESULT xCreateProfileManager();

    IWMProfileManager* m_pProfileManager;
};
