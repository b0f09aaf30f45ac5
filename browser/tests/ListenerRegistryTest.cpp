#include <gtest/gtest.h>

#include <vector>

#include "ListenerRegistry.h"

namespace {

struct Listener {};

TEST(ListenerRegistryTest, WhoLeavesOrRegistersAgainDuringTheWalkIsNotToldThenButNextTime) {
  Listener listeners[3];
  ListenerRegistry<Listener, int> registry;
  for (Listener& listener : listeners) ASSERT_TRUE(registry.Add(&listener, 1));

  std::vector<Listener*> told;
  Listener* first = nullptr;
  registry.TellEach([&](Listener* listener, int) {
    told.push_back(listener);
    if (first) return;
    first = listener;
    std::vector<Listener*> others;
    for (Listener& other : listeners)
      if (&other != listener) others.push_back(&other);
    registry.Remove(others[0]);
    registry.Add(others[1], 2);
  });
  EXPECT_EQ(std::vector<Listener*>{first}, told);
  EXPECT_EQ(2u, [&] {
    unsigned count = 0;
    for (Listener& listener : listeners) count += registry.Contains(&listener) ? 1 : 0;
    return count;
  }());

  told.clear();
  std::vector<int> values;
  registry.TellEach([&](Listener* listener, int value) {
    told.push_back(listener);
    values.push_back(value);
  });
  EXPECT_EQ(2u, told.size());
  EXPECT_EQ(3, values[0] + values[1]);
}

}  // namespace
