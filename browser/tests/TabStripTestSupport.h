#pragma once
// A strip in a real window with plain tabs, and a recorder of every call the
// strip makes to its owner.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "TabCtrl.h"
#include "TabStripResources.h"
#include "ToolInfoSizeCheck.h"

// A tab whose window is a plain child of the strip with its own control id.
class PlainTab : public Tab {
 public:
  PlainTab(HWND strip, int id) {
    page_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, strip,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  ~PlainTab() override {
    if (IsWindow(page_)) DestroyWindow(page_);
  }
  HWND PageWindow() const override { return page_; }

 private:
  HWND page_;
};

struct StripEvent {
  std::string name;
  Tab* tab = nullptr;
  POINT point{};
  bool flag = false;
};

class Recorder : public TabCtrlNotify {
 public:
  std::vector<StripEvent> events;
  std::function<void(TabCtrl*, const StripEvent&)> onEvent;

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& event : events) names.push_back(event.name);
    return names;
  }
  int Count(const std::string& name) const {
    int count = 0;
    for (const auto& event : events) count += event.name == name;
    return count;
  }
  const StripEvent* Last(const std::string& name) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
      if (it->name == name) return &*it;
    return nullptr;
  }

  void OnTabBeforeInsert(TabCtrl* c, Tab* t, const wchar_t*, int) override { Add(c, "BeforeInsert", t); }
  void OnTabAfterInsert(TabCtrl* c, Tab* t) override { Add(c, "AfterInsert", t); }
  void OnTabBeforeDelete(TabCtrl* c, Tab* t) override { Add(c, "BeforeDelete", t); }
  void OnTabClose(TabCtrl* c, const RECT*, POINT p) override { Add(c, "Close", nullptr, p); }
  void OnTabCloseAll(TabCtrl* c, const RECT*, POINT p) override { Add(c, "CloseAll", nullptr, p); }
  void OnTabMenuButton(TabCtrl* c, const RECT*, POINT p) override { Add(c, "Menu", nullptr, p); }
  void OnTabSelChanged(TabCtrl* c, Tab* t) override { Add(c, "SelChanged", t); }
  void OnTabLButtonDown(TabCtrl* c, Tab* t, POINT p) override { Add(c, "LButtonDown", t, p); }
  void OnTabDblClick(TabCtrl* c, Tab* t, POINT p) override { Add(c, "DblClick", t, p); }
  void OnTabRButtonDown(TabCtrl* c, Tab* t, POINT p) override { Add(c, "RButtonDown", t, p); }
  void OnTabRButtonUp(TabCtrl* c, Tab* t, POINT p) override { Add(c, "RButtonUp", t, p); }
  void OnTabDragStart(TabCtrl* c, Tab* t, POINT p) override { Add(c, "DragStart", t, p); }
  void OnTabDrag(TabCtrl* c, Tab* t, POINT p, bool outside) override { Add(c, "Drag", t, p, outside); }
  void OnTabDragEnd(TabCtrl* c, Tab* t, bool cancelled) override { Add(c, "DragEnd", t, POINT{}, cancelled); }
  void OnTabAddButton(TabCtrl* c, const RECT*, POINT p) override { Add(c, "Add", nullptr, p); }

 private:
  void Add(TabCtrl* ctrl, const char* name, Tab* tab, POINT point = {}, bool flag = false) {
    events.push_back(StripEvent{name, tab, point, flag});
    if (onEvent) onEvent(ctrl, events.back());
  }
};

// A visible parent at the screen's top-left with a strip filling it.
class StripTest : public ::testing::Test {
 protected:
  static constexpr int kStripId = 3001;

  void MakeStrip(int width, int height, int layout = 0) {
    ASSERT_TRUE(parent.Create(PopupArgs(0, 0, width, height)));
    SetForegroundWindow(parent.Hwnd());
    strip = std::make_unique<TabCtrl>(&recorder, IDB_TAB_BUTTONS);
    strip->SetLayout(layout);
    ASSERT_TRUE(strip->Create(parent.Hwnd(), WS_CHILD | WS_VISIBLE, parent.ClientRect(), kStripId));
  }
  PlainTab* Add(int id = 0) {
    auto* tab = new PlainTab(strip->Hwnd(), id ? id : 100 + strip->GetCount());
    strip->AddTab(tab, (L"标签 " + std::to_wstring(strip->GetCount())).c_str(), -1);
    return tab;
  }
  void AddTabs(int count) {
    for (int i = 0; i < count; ++i) Add();
  }
  std::vector<Tab*> Order() const {
    std::vector<Tab*> order;
    for (int i = 0; i < strip->GetCount(); ++i) order.push_back(strip->GetTab(i));
    return order;
  }
  // Client point of the strip to screen.
  POINT Screen(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(strip->Hwnd(), &point);
    return point;
  }
  void Hover(int x, int y) { strip->Send(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

  ToolInfoSizeCheck toolInfoCheck;
  fw::Wnd parent;
  Recorder recorder;
  std::unique_ptr<TabCtrl> strip;
};

inline bool Empty(const RECT& r) { return IsRectEmpty(&r) != FALSE; }
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
