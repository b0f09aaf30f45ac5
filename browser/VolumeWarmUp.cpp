#include "VolumeWarmUp.h"

#include <process.h>

#include "IVolumeCtrl.h"

namespace {

// A device that never answers must not hold the window back for good.
const DWORD kLongestWaitMs = 10000;

}  // namespace

CVolumeWarmUp::CVolumeWarmUp(std::function<IVolumeCtrl*()> make, std::function<void(IVolumeCtrl*)> free)
    : state_(std::make_shared<State>()) {
  state_->make = std::move(make);
  state_->free = std::move(free);
  state_->loaded.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  state_->finish.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!state_->make || !state_->free || !state_->loaded || !state_->finish) return;
  auto* shared = new std::shared_ptr<State>(state_);
  // Started through the C runtime, which the thread uses.
  thread_.Reset(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &CVolumeWarmUp::Run, shared, 0, nullptr)));
  if (!thread_) delete shared;
}

CVolumeWarmUp::~CVolumeWarmUp() {
  Finish();
  if (thread_) ::WaitForSingleObject(thread_.Get(), kLongestWaitMs);
}

unsigned __stdcall CVolumeWarmUp::Run(void* shared) {
  const std::unique_ptr<std::shared_ptr<State>> owner(static_cast<std::shared_ptr<State>*>(shared));
  State& state = **owner;
  IVolumeCtrl* volume = state.make();
  if (volume) volume->Init();
  ::SetEvent(state.loaded.Get());
  ::WaitForSingleObject(state.finish.Get(), INFINITE);
  if (volume) {
    volume->UnInit();
    state.free(volume);
  }
  return 0;
}

void CVolumeWarmUp::WaitUntilLoaded() {
  if (thread_) ::WaitForSingleObject(state_->loaded.Get(), kLongestWaitMs);
}

void CVolumeWarmUp::Finish() {
  if (state_->finish) ::SetEvent(state_->finish.Get());
}
