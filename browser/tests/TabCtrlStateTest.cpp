// The saved tab order and selection: a round trip, a profile value, and
// data that must be refused whole.
#include <shlwapi.h>

#include <cstring>

#include "TabStripTestSupport.h"

namespace {

std::vector<BYTE> Archive(std::initializer_list<int> numbers) {
  std::vector<BYTE> bytes(numbers.size() * 4);
  std::memcpy(bytes.data(), numbers.begin(), bytes.size());
  return bytes;
}

class TabCtrlStateTest : public StripTest {
 protected:
  void SetUp() override {
    MakeStrip(800, 300);
    for (int id : {11, 12, 13}) tabs.push_back(Add(id));
  }
  std::vector<Tab*> tabs;
};

TEST_F(TabCtrlStateTest, SavedOrderAndSelectionComeBack) {
  strip->SelectTab(tabs[1]);
  std::vector<BYTE> saved;
  ASSERT_TRUE(strip->SaveState(&saved));
  EXPECT_EQ(Archive({3, 1, 11, 12, 13}), saved);

  strip->MoveTabBefore(tabs[0], tabs[2]);
  strip->SelectTab(tabs[0]);
  ASSERT_TRUE(strip->LoadState(saved));
  EXPECT_EQ(tabs, Order());
  EXPECT_EQ(tabs[1], strip->GetSelectedTab());

  ASSERT_TRUE(strip->LoadState(Archive({3, 2, 13, 11, 12})));
  EXPECT_EQ((std::vector<Tab*>{tabs[2], tabs[0], tabs[1]}), Order());
  EXPECT_EQ(tabs[1], strip->GetSelectedTab());
}

TEST_F(TabCtrlStateTest, OneTabSavesNoSelectionAndLoadsWithoutOne) {
  strip->DeleteTab(tabs[2]);
  strip->DeleteTab(tabs[1]);
  std::vector<BYTE> saved;
  ASSERT_TRUE(strip->SaveState(&saved));
  EXPECT_EQ(Archive({1, 11}), saved);
  Add(12);
  strip->SelectTab(strip->GetTab(1));
  ASSERT_TRUE(strip->LoadState(saved));
  EXPECT_EQ(strip->GetTab(1), strip->GetSelectedTab()) << "no index was saved, so none is selected";
  ASSERT_TRUE(strip->LoadState(Archive({0})));
  EXPECT_EQ(strip->GetTab(1), strip->GetSelectedTab());
}

TEST_F(TabCtrlStateTest, DamagedOrForeignDataChangesNothing) {
  strip->SelectTab(tabs[2]);
  const std::vector<BYTE> refused[] = {
      {},                            // nothing at all
      {3, 0},                        // a cut number
      Archive({3, 1, 13, 12}),       // an id missing
      Archive({4, 1, 13, 12, 11, 11}),  // more tabs than there are
      Archive({-1}),
      Archive({3, 3, 13, 12, 11}),   // selection past the tabs
      Archive({3, -2, 13, 12, 11}),
      Archive({3, 0, 13, 99, 11}),   // an unknown id
      Archive({3, 0, 13, 13, 11}),   // one tab twice
  };
  for (const auto& data : refused) {
    SCOPED_TRACE(testing::PrintToString(data));
    EXPECT_FALSE(strip->LoadState(data));
    EXPECT_EQ(tabs, Order());
    EXPECT_EQ(tabs[2], strip->GetSelectedTab());
  }
}

TEST_F(TabCtrlStateTest, ProfileValueKeepsTheState) {
  const wchar_t application[] = L"HollinTabStripTest";
  strip->SelectTab(tabs[2]);
  ASSERT_TRUE(strip->SaveStateToProfile(application, L"Tabs", L"State"));
  strip->MoveTabAfter(tabs[2], tabs[0]);
  strip->SelectTab(tabs[0]);
  EXPECT_TRUE(strip->LoadStateFromProfile(application, L"Tabs", L"State"));
  EXPECT_FALSE(strip->LoadStateFromProfile(application, L"Tabs", L"Missing"));
  SHDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(L"Software\\") + application).c_str());
  EXPECT_EQ(tabs, Order());
  EXPECT_EQ(tabs[2], strip->GetSelectedTab());
}

}  // namespace
