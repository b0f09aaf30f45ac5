#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CoreTestSupport.h"
#include "GammaSlider.h"

namespace {

GammaRamp SystemRamp(int step) {
  GammaRamp ramp{};
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) ramp.values[c][i] = static_cast<WORD>(i * step);
  return ramp;
}

class GammaSliderTest : public ::testing::Test {
 protected:
  void SetUp() override { screen_.ramp = SystemRamp(257); }
  std::unique_ptr<CGammaSlider> Slider() {
    return std::make_unique<CGammaSlider>(std::make_unique<FakeGammaDisplay>(&screen_));
  }
  static int StoredLevel() { return TestProfile::StoredLevel(); }

  TestProfile profile_;
  FakeScreen screen_;
};

TEST_F(GammaSliderTest, LevelsGiveTheirCurvesWithinTheRange) {
  GammaRamp neutral = CGammaSlider::RampForLevel(245);
  for (int i = 0; i < 256; ++i) EXPECT_NEAR((i + 1) * 65535.0 / 256, neutral.values[1][i], 1.0) << i;
  GammaRamp darkest = CGammaSlider::RampForLevel(128);
  EXPECT_EQ(static_cast<WORD>(std::pow(129 / 256.0, 12.7) * 65535 + 0.5), darkest.values[0][128]);
  EXPECT_EQ(65535, darkest.values[2][255]);
  EXPECT_TRUE(CGammaSlider::RampForLevel(255) == CGammaSlider::RampForGamma(0.3)) << "255 is drawn as 252";
  EXPECT_TRUE(CGammaSlider::RampForLevel(300) == CGammaSlider::RampForLevel(255));
  EXPECT_TRUE(CGammaSlider::RampForLevel(0) == CGammaSlider::RampForLevel(128));

  auto slider = Slider();
  slider->SetLevel(20);
  EXPECT_EQ(128, slider->GetLevel());
  EXPECT_TRUE(screen_.ramp == darkest);
  slider->SetLevel(1000);
  EXPECT_EQ(255, slider->GetLevel());
}

TEST_F(GammaSliderTest, TheStartLevelComesFromTheProfileElseFromTheDisplay) {
  Slider().reset();
  EXPECT_EQ(245, StoredLevel()) << "the system's own ramp is gamma 1.0";

  fw::WriteProfileInt(L"Brivan", L"GammaSettings", 255);
  auto brightest = Slider();
  EXPECT_EQ(255, brightest->GetLevel());
  EXPECT_TRUE(screen_.ramp == CGammaSlider::RampForGamma(0.3));
  brightest.reset();
  EXPECT_EQ(255, StoredLevel()) << "255 is kept, though drawn as 252";

  fw::WriteProfileInt(L"Brivan", L"GammaSettings", 7);
  EXPECT_EQ(128, Slider()->GetLevel()) << "a stored level below the range";
}

TEST_F(GammaSliderTest, AnUnreadableOrEmptyRampIsNeitherEstimatedNorRestored) {
  screen_.readable = false;
  auto blind = Slider();
  EXPECT_EQ(245, blind->GetLevel());
  blind->SetLevel(150);
  const int writes = screen_.writes;
  screen_.readable = true;  // the display shows the ramp set last
  blind.reset();
  EXPECT_EQ(writes, screen_.writes) << "a ramp never read was restored";
  EXPECT_EQ(150, StoredLevel());

  TestProfile::Remove();
  screen_.readable = true;
  screen_.ramp = GammaRamp{};
  auto dark = Slider();
  EXPECT_EQ(245, dark->GetLevel()) << "an all-zero ramp tells no level";
  dark.reset();
  EXPECT_EQ(245, StoredLevel());
}

TEST_F(GammaSliderTest, OnlyTheBrowserWhoseRampIsShownRestoresAndNoneRestoresADimming) {
  const GammaRamp calibrated = SystemRamp(250);
  screen_.ramp = calibrated;
  auto alone = Slider();
  alone->SetLevel(140);
  alone.reset();
  EXPECT_TRUE(screen_.ramp == calibrated) << "the display's own ramp comes back";

  auto first = Slider();
  first->SetLevel(150);
  auto second = Slider();
  second->SetLevel(200);
  first.reset();
  EXPECT_TRUE(screen_.ramp == CGammaSlider::RampForLevel(200)) << "the first browser undid the second's ramp";
  second.reset();
  EXPECT_FALSE(screen_.ramp == CGammaSlider::RampForLevel(150)) << "the first browser's dimming came back";
  EXPECT_TRUE(screen_.ramp == CGammaSlider::RampForLevel(245));
}

TEST_F(GammaSliderTest, TheRealScreenWithoutGammaSupportIsIgnored) {
  {
    CGammaSlider slider;
    slider.SetLevel(200);
    EXPECT_EQ(200, slider.GetLevel());
  }
  EXPECT_EQ(200, StoredLevel());
}

}  // namespace
