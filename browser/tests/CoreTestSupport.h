#pragma once
// A display gamma ramp the tests can read and make unreadable, and the
// profile key of the tests (created empty, removed afterwards).
#include <windows.h>

#include <string>

#include "GammaSlider.h"
#include "Profile.h"

struct FakeScreen {
  GammaRamp ramp{};
  bool readable = true;
  int writes = 0;
};

class FakeGammaDisplay : public IGammaDisplay {
 public:
  explicit FakeGammaDisplay(FakeScreen* screen) : screen_(screen) {}
  bool ReadRamp(GammaRamp* ramp) override {
    if (!screen_->readable) return false;
    *ramp = screen_->ramp;
    return true;
  }
  bool WriteRamp(const GammaRamp& ramp) override {
    screen_->ramp = ramp;
    ++screen_->writes;
    return true;
  }

 private:
  FakeScreen* screen_;
};

class TestProfile {
 public:
  TestProfile() {
    Remove();
    fw::SetRegistryKey(kKey, L"Brivan");
  }
  ~TestProfile() {
    Remove();
    fw::SetRegistryKey(L"", L"");
  }
  static void Remove() { ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\") + kKey).c_str()); }
  static int StoredLevel() { return fw::GetProfileInt(L"Brivan", L"GammaSettings", -1); }

 private:
  static constexpr const wchar_t* kKey = L"HollinBrowserCoreTest";
};
