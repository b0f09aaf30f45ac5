#pragma once

#include "IVolumeCtrl.h"

// The control a program holds: forwards to an implementation it owns, made
// and freed inside the library so both happen on the library's heap.
class COBBEL_API CVolumeCtrl : public IVolumeCtrl {
public:
    // A new proxy owning control (which may be null; the proxy then answers
    // with the base defaults). Null when it cannot be allocated.
    static IVolumeCtrl* GetInstance(IVolumeCtrl* control);
    // Deletes control, and with a proxy the control it holds; null is ignored.
    static void DestoryInstance(IVolumeCtrl* control);

    ~CVolumeCtrl() override;

    // Two proxies over one control would both delete it.
    CVolumeCtrl(const CVolumeCtrl&) = delete;
    CVolumeCtrl& operator=(const CVolumeCtrl&) = delete;

    int Init() override;
    int UnInit() override;
    int GetMute() override;
    int SetMute() override;
    int GetVol() override;
    int SetVol(int volume) override;
    int GetMax() override;
    int GetMin() override;

private:
    CVolumeCtrl();
    explicit CVolumeCtrl(IVolumeCtrl* control);

    IVolumeCtrl* control_;
};
