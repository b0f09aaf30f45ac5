#pragma once
#include <windows.h>

#include <memory>

// A display gamma ramp: red, green and blue, 256 entries each.
struct GammaRamp {
  WORD values[3][256];
  bool operator==(const GammaRamp& other) const;
};

// Where the ramp is read and set; the screen's device context in the
// program, a fake in tests.
class IGammaDisplay {
 public:
  virtual ~IGammaDisplay() = default;
  virtual bool ReadRamp(GammaRamp* ramp) = 0;
  virtual bool WriteRamp(const GammaRamp& ramp) = 0;
};

class CScreenGamma : public IGammaDisplay {
 public:
  bool ReadRamp(GammaRamp* ramp) override;
  bool WriteRamp(const GammaRamp& ramp) override;
};

// The screen brightness as a level from 128 (darkest) to 255 (brightest);
// 245 is gamma 1.0. It sets the display's ramp from construction on, keeps
// the level in the profile ("Brivan", "GammaSettings") and puts the display
// back when it goes.
class CGammaSlider {
 public:
  static const int kMinLevel = 128;
  static const int kMaxLevel = 255;
  static const int kNeutralLevel = 245;
  static const wchar_t kProfileSection[];
  static const wchar_t kProfileEntry[];

  // Null: the screen.
  explicit CGammaSlider(std::unique_ptr<IGammaDisplay> display = nullptr);
  ~CGammaSlider();
  CGammaSlider(const CGammaSlider&) = delete;
  CGammaSlider& operator=(const CGammaSlider&) = delete;

  void SetLevel(int level);
  int GetLevel() const { return level_; }
  int GetRangeMax() const { return kMaxLevel; }
  int GetRangeMin() const { return kMinLevel; }

  // The ramp a level gives: the same curve on all three channels.
  static GammaRamp RampForLevel(int level);
  // (i + 1) / 256 raised to `gamma`, on the 16-bit scale.
  static GammaRamp RampForGamma(double gamma);
  static int ClampLevel(int level);

 private:
  // The level a ramp stands for, from its red channel; 245 when no entry
  // tells.
  static int EstimateGamma(const GammaRamp& ramp);
  static bool IsLevelRamp(const GammaRamp& ramp);
  void ApplyGamma(double gamma);

  std::unique_ptr<IGammaDisplay> display_;
  GammaRamp original_{};
  bool originalKnown_ = false;
  GammaRamp lastSet_{};
  bool lastSetKnown_ = false;
  int level_ = kNeutralLevel;
};
