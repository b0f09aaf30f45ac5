#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "ScopedImportPatch.h"
#include "VistaVolumeCtrl.h"
#include "VolumeCtrl.h"
#include "VolumeFactory.h"
#include "XPVolumeCtrl.h"

namespace {

TEST(MixerScale, EveryVolumeSetReadsBackAsItself) {
  for (DWORD maximum : {100ul, 255ul, 1000ul, 65535ul, 0xFFFFFFFFul}) {
    for (int volume = 0; volume <= 100; ++volume) {
      DWORD value = CXPVolumeCtrl::VolumeToValue(volume, maximum, 100);
      EXPECT_LE(value, maximum);
      EXPECT_EQ(volume, CXPVolumeCtrl::ValueToVolume(value, maximum, 100)) << "maximum " << maximum;
    }
  }
  EXPECT_EQ(100, CXPVolumeCtrl::ValueToVolume(65535, 65535, 100));
  EXPECT_EQ(0, CXPVolumeCtrl::VolumeToValue(-5, 65535, 100));
  EXPECT_EQ(65535u, CXPVolumeCtrl::VolumeToValue(500, 65535, 100));
}

TEST(MixerScale, EmptyRangeNeverDividesByZero) {
  EXPECT_EQ(0, CXPVolumeCtrl::ValueToVolume(10, 0, 100));
  EXPECT_EQ(0u, CXPVolumeCtrl::VolumeToValue(10, 0, 100));
  EXPECT_EQ(0, CXPVolumeCtrl::ValueToVolume(10, 100, 0));
}

TEST(CoreAudioScale, LevelsReadTruncatedButSetVolumesReadBack) {
  EXPECT_EQ(99, CVistaVolumeCtrl::LevelToVolume(0.999f));
  EXPECT_EQ(100, CVistaVolumeCtrl::LevelToVolume(1.0f));
  EXPECT_EQ(0, CVistaVolumeCtrl::LevelToVolume(0.0f));
  EXPECT_EQ(0, CVistaVolumeCtrl::LevelToVolume(-0.5f));
  // Wine's endpoint does not set the level, so the volume a set would store
  // is checked on the conversion itself.
  for (int volume : {0, 1, 29, 50, 99, 100}) {
    const float level = CVistaVolumeCtrl::VolumeToLevel(volume);
    EXPECT_NEAR(volume / 100.0, level, 1e-6) << volume;
    EXPECT_EQ(volume, CVistaVolumeCtrl::LevelToVolume(level)) << volume;
  }
  EXPECT_EQ(0.0f, CVistaVolumeCtrl::VolumeToLevel(-5));
  EXPECT_EQ(1.0f, CVistaVolumeCtrl::VolumeToLevel(150));
}

// Wine's mixer may or may not offer a speakers line on the null device: the
// control either works for real or reports failure through every call.
TEST(MixerVolume, WorksOrReportsFailure) {
  CXPVolumeCtrl control;
  EXPECT_EQ(1, control.Init());
  EXPECT_EQ(100, control.GetMax());
  EXPECT_EQ(0, control.GetMin());
  if (control.SetVol(37) == 0) {
    EXPECT_EQ(0, control.GetVol()) << "a failing mixer reads 0";
    EXPECT_EQ(0, control.SetMute());
    EXPECT_EQ(0, control.GetMute());
    GTEST_SKIP() << "this Wine's mixer has no speakers volume control on the null device";
  }
  for (int volume : {0, 1, 37, 50, 99, 100}) {
    ASSERT_EQ(1, control.SetVol(volume));
    EXPECT_EQ(volume, control.GetVol());
  }
  int muted = control.GetMute();
  if (control.SetMute() == 1) {
    EXPECT_NE(muted, control.GetMute());
    EXPECT_EQ(1, control.SetMute());
    EXPECT_EQ(muted, control.GetMute());
  }
}

// Cobbel's mixer controls as a driver that keeps only its own steps (every
// `step` units) and reads back one unit below what it keeps, as 32-bit
// Wine's does. The mixer's own line and bounds are still asked for; the
// values set never reach it.
class QuantisingMixer {
 public:
  explicit QuantisingMixer(DWORD step)
      : get_(Cobbel(), ScopedImportPatch::Function(L"winmm.dll", "mixerGetControlDetailsW"),
             reinterpret_cast<void*>(&Get)),
        set_(Cobbel(), ScopedImportPatch::Function(L"winmm.dll", "mixerSetControlDetails"),
             reinterpret_cast<void*>(&Set)) {
    step_ = step;
    kept_.clear();
  }
  bool Patched() const { return get_.Patched() && set_.Patched(); }

 private:
  static HMODULE Cobbel() { return GetModuleHandleW(L"Cobbel.dll"); }
  static MMRESULT WINAPI Get(HMIXEROBJ, LPMIXERCONTROLDETAILS details, DWORD) {
    DWORD kept = kept_[details->dwControlID];
    static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue = kept > 0 ? kept - 1 : 0;
    return MMSYSERR_NOERROR;
  }
  static MMRESULT WINAPI Set(HMIXEROBJ, LPMIXERCONTROLDETAILS details, DWORD) {
    DWORD value = static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue;
    kept_[details->dwControlID] = value - value % step_;
    return MMSYSERR_NOERROR;
  }

  static inline DWORD step_ = 1;
  static inline std::map<DWORD, DWORD> kept_;
  ScopedImportPatch get_;
  ScopedImportPatch set_;
};

TEST(MixerVolume, EveryVolumeReadsBackAsSetFromAMixerThatQuantises) {
  CXPVolumeCtrl control;
  DWORD maximum = 0;
  if (!CMixer().GetControl(CMixer::kVolumeControl, nullptr, nullptr, &maximum) || maximum < 300)
    GTEST_SKIP() << "this Wine's mixer has no speakers volume control of many steps on the null device";
  for (DWORD step : {1ul, maximum / 1024 + 1}) {
    QuantisingMixer mixer(step);
    ASSERT_TRUE(mixer.Patched()) << "Cobbel.dll does not call the mixer through its imports";
    // Wine's mixer fails after 256 openings that ask for a line, so a few.
    for (int volume : {0, 1, 2, 29, 37, 50, 57, 98, 99, 100}) {
      ASSERT_EQ(1, control.SetVol(volume));
      EXPECT_EQ(volume, control.GetVol()) << "step " << step;
    }
  }
}

TEST(CoreAudioVolume, WorksOrReportsFailure) {
  CVistaVolumeCtrl control;
  EXPECT_EQ(100, control.GetMax());
  EXPECT_EQ(0, control.GetMin());
  if (!control.Ready()) {
    EXPECT_EQ(E_FAIL, control.SetVol(10));
    EXPECT_EQ(E_FAIL, control.SetMute());
    EXPECT_EQ(0, control.GetVol());
    GTEST_SKIP() << "no Core Audio render endpoint in this Wine";
  }
  int muted = control.GetMute();
  HRESULT toggled = control.SetMute();
  if (SUCCEEDED(toggled)) {
    EXPECT_NE(muted, control.GetMute());
    EXPECT_TRUE(SUCCEEDED(control.SetMute()));
    EXPECT_EQ(muted, control.GetMute());
  }
  for (int volume : {0, 29, 50, 57, 100}) {
    HRESULT result = control.SetVol(volume);
    // A setter the platform lacks shows as the failure the caller gets
    // back, never as a silent success.
    if (FAILED(result))
      GTEST_SKIP() << "this Wine's endpoint volume does not set the master level (" << std::hex << result << ")";
    EXPECT_EQ(volume, control.GetVol());
  }
}

TEST(CoreAudioVolume, ComInitialisationIsBalanced) {
  // A thread without COM: the control's initialisation is undone with it.
  std::thread([] {
    { CVistaVolumeCtrl control; }
    HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(S_OK, again) << "COM was left initialised";
    if (SUCCEEDED(again)) CoUninitialize();
  }).join();

  // A thread already in the multithreaded apartment: the control's own call
  // fails with RPC_E_CHANGED_MODE, and it must not undo the thread's COM.
  std::thread([] {
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    { CVistaVolumeCtrl control; }
    HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(S_FALSE, again) << "the thread's own initialisation was undone";
    if (SUCCEEDED(again)) CoUninitialize();
    CoUninitialize();
  }).join();
}

TEST(VolumeFactory, ProxyOwnsWhatTheFactoryMadeAndForwards) {
  IVolumeCtrl* made = CVolumeFactory::GetVolumeCtrl();
  ASSERT_NE(nullptr, made) << "Wine reports an NT 6 Windows";
  EXPECT_NE(nullptr, dynamic_cast<CVistaVolumeCtrl*>(made)) << "Vista and later use Core Audio";
  IVolumeCtrl* proxy = CVolumeCtrl::GetInstance(made);
  ASSERT_NE(nullptr, proxy);
  EXPECT_EQ(1, proxy->Init());
  EXPECT_EQ(100, proxy->GetMax());
  EXPECT_EQ(0, proxy->GetMin());
  EXPECT_EQ(made->GetVol(), proxy->GetVol());
  EXPECT_EQ(1, proxy->UnInit());
  CVolumeCtrl::DestoryInstance(proxy);  // frees the implementation too
  CVolumeCtrl::DestoryInstance(nullptr);
}

TEST(VolumeFactory, ProxyOverNothingAnswersTheDefaults) {
  IVolumeCtrl* proxy = CVolumeCtrl::GetInstance(nullptr);
  ASSERT_NE(nullptr, proxy);
  EXPECT_EQ(1, proxy->Init());
  EXPECT_EQ(0, proxy->GetVol());
  EXPECT_EQ(1, proxy->SetVol(20));
  EXPECT_EQ(0, proxy->GetMax());
  CVolumeCtrl::DestoryInstance(proxy);
}

}  // namespace
