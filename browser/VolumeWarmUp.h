#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "Handles.h"

class IVolumeCtrl;

// Makes a volume control on a thread of its own while the main window is
// being built and holds it until the control bar has made its own. The first
// control of a process loads the audio devices, which takes tens of
// milliseconds; one made while another lives finds them loaded. Each control
// is used and freed only on the thread that made it.
class CVolumeWarmUp {
 public:
  CVolumeWarmUp(std::function<IVolumeCtrl*()> make, std::function<void(IVolumeCtrl*)> free);
  // Lets the thread go and waits a while for it to end.
  ~CVolumeWarmUp();
  CVolumeWarmUp(const CVolumeWarmUp&) = delete;
  CVolumeWarmUp& operator=(const CVolumeWarmUp&) = delete;

  // Waits until the thread's control is made (at once when no thread runs).
  void WaitUntilLoaded();
  // Lets the thread free its control and end; it is not waited for.
  void Finish();

 private:
  // Shared with the thread, which may outlive this object when a device
  // never answers.
  struct State {
    std::function<IVolumeCtrl*()> make;
    std::function<void(IVolumeCtrl*)> free;
    fw::ScopedHandle loaded;
    fw::ScopedHandle finish;
  };
  static unsigned __stdcall Run(void* shared);

  std::shared_ptr<State> state_;
  fw::ScopedHandle thread_;
};
