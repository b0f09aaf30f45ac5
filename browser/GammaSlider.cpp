#include "GammaSlider.h"

#include <cmath>
#include <cstring>

#include "Profile.h"

const wchar_t CGammaSlider::kProfileSection[] = L"Brivan";
const wchar_t CGammaSlider::kProfileEntry[] = L"GammaSettings";

namespace {

// Level 255 would be gamma 0, a white screen: the top is drawn as 252.
double GammaForLevel(int level) {
  if (level >= CGammaSlider::kMaxLevel) level = 252;
  return (CGammaSlider::kMaxLevel - level) / 10.0;
}

}  // namespace

bool GammaRamp::operator==(const GammaRamp& other) const {
  return std::memcmp(values, other.values, sizeof(values)) == 0;
}

bool CScreenGamma::ReadRamp(GammaRamp* ramp) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  bool read = ::GetDeviceGammaRamp(screen, ramp->values) != FALSE;
  ::ReleaseDC(nullptr, screen);
  return read;
}

bool CScreenGamma::WriteRamp(const GammaRamp& ramp) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  GammaRamp copy = ramp;
  bool written = ::SetDeviceGammaRamp(screen, copy.values) != FALSE;
  ::ReleaseDC(nullptr, screen);
  return written;
}

CGammaSlider::CGammaSlider(std::unique_ptr<IGammaDisplay> display)
    : display_(display ? std::move(display) : std::make_unique<CScreenGamma>()) {
  GammaRamp current{};
  originalKnown_ = display_->ReadRamp(&current);
  int estimate = kNeutralLevel;
  if (originalKnown_) {
    estimate = EstimateGamma(current);
    // A ramp of ours was left by another browser still running: closing
    // this one must not bring back that browser's dimming.
    original_ = IsLevelRamp(current) ? RampForLevel(kNeutralLevel) : current;
  }
  level_ = ClampLevel(fw::GetProfileInt(kProfileSection, kProfileEntry, estimate));
  ApplyGamma(GammaForLevel(level_));
}

CGammaSlider::~CGammaSlider() {
  fw::WriteProfileInt(kProfileSection, kProfileEntry, level_);
  if (!originalKnown_ || !lastSetKnown_) return;
  // Another browser set the ramp since: it is that browser's to put back.
  GammaRamp shown{};
  if (!display_->ReadRamp(&shown) || !(shown == lastSet_)) return;
  display_->WriteRamp(original_);
}

int CGammaSlider::ClampLevel(int level) {
  if (level < kMinLevel) return kMinLevel;
  if (level > kMaxLevel) return kMaxLevel;
  return level;
}

void CGammaSlider::SetLevel(int level) {
  level_ = ClampLevel(level);
  ApplyGamma(GammaForLevel(level_));
}

GammaRamp CGammaSlider::RampForLevel(int level) { return RampForGamma(GammaForLevel(ClampLevel(level))); }

GammaRamp CGammaSlider::RampForGamma(double gamma) {
  GammaRamp ramp{};
  for (int i = 0; i < 256; ++i) {
    double value = std::pow((i + 1) / 256.0, gamma) * 65535.0 + 0.5;
    if (value > 65535.0) value = 65535.0;
    WORD entry = static_cast<WORD>(value);
    ramp.values[0][i] = ramp.values[1][i] = ramp.values[2][i] = entry;
  }
  return ramp;
}

bool CGammaSlider::IsLevelRamp(const GammaRamp& ramp) {
  for (int level = kMinLevel; level <= kMaxLevel; ++level) {
    if (RampForLevel(level) == ramp) return true;
  }
  return false;
}

int CGammaSlider::EstimateGamma(const GammaRamp& ramp) {
  double sum = 0.0;
  int count = 0;
  // Entry 0 has no logarithm; zero values tell nothing.
  for (int j = 1; j < 256; ++j) {
    const WORD value = ramp.values[0][j];
    if (value == 0) continue;
    sum += std::log(value / 65536.0) / std::log(j / 256.0);
    ++count;
  }
  if (count == 0) return kNeutralLevel;
  return ClampLevel(static_cast<int>(255.0 - 10.0 * (sum / count)));
}

void CGammaSlider::ApplyGamma(double gamma) {
  GammaRamp ramp = RampForGamma(gamma);
  // A display that refuses the ramp (no gamma support) keeps its own.
  if (display_->WriteRamp(ramp)) {
    lastSet_ = ramp;
    lastSetKnown_ = true;
  }
}
