#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ActivityHook.h"
#include "Handles.h"
#include "ITabCtrlBehavior.h"
#include "ITabCtrlRecalc.h"
#include "ITabCtrlStyle.h"
#include "ITabCtrlToolTip.h"
#include "ImageListHandle.h"
#include "Tab.h"
#include "TabCtrlDraw.h"
#include "TabCtrlNotify.h"
#include "TabCtrlUserAbility.h"
#include "TabKeyboardHook.h"
#include "Wnd.h"

class TabCtrlStyleDrawer;
class IETab;

// The browser's tab strip: the list of tabs, a row of tab headers with five
// buttons (the control area) and the page area, where the current tab's
// window is the only one shown. Look, metrics, hit-testing and the tooltip
// come from pluggable managers; what a style leaves out, Service supplies.
class TabCtrl : public fw::Wnd,
                public TabCtrlUserAbility,
                public ActivityHook::INotify,
                public KeyboardHook::Notify {
 public:
  // The default managers, held by the strip.
  class Service : public ITabCtrlRecalc, public ITabCtrlBehavior, public ITabCtrlToolTip {
   public:
    Service() = default;
    ~Service() override;
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    int GetBorderWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetControlAreaInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetWindowsAreaInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetTabInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabImageTextSpace(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabExtraWidth(const TabCtrl* ctrl, const Tab* tab, ITabCtrlRecalc* base) override;
    int GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetScrollButtonsLeftMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetScrollButtonsRightMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetMenuButtonMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    RECT GetCloseButtonMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;

    Tab* HitTest(const TabCtrl* ctrl, int x, int y, ITabCtrlBehavior* base) override;
    bool UpdateCursor(const TabCtrl* ctrl, ITabCtrlBehavior* base) override;

    HWND CreateToolTip(TabCtrl* ctrl, ITabCtrlToolTip* base) override;
    // Before the strip's window goes, so no stale handle is kept.
    void DestroyToolTip();

   private:
    HWND toolTip_ = nullptr;
  };

  // The hovered and pressed items: a Tab*, one of the five buttons, or none.
  using Item = const void*;
  enum Button { kCloseAll = 1, kMenu = 2, kScrollLeft = 3, kScrollRight = 4, kAdd = 5 };
  static const int kControlAreaHeight = 29;

  explicit TabCtrl(TabCtrlNotify* notify = nullptr, UINT buttonBitmapId = 0, const wchar_t* fontFace = L"Tahoma",
                   int fontSize = 85);
  ~TabCtrl() override;

  bool Create(HWND parent, DWORD style, const RECT& rect, UINT id);

  // Tabs. The strip owns every tab it holds and deletes it when removed.
  // A browser page for this strip (template 136, the strip as its owner);
  // its window is made when the caller inserts it.
  IETab* NewIETab();
  Tab* AddTab(Tab* tab, const wchar_t* text, int image);
  Tab* InsertTab(int position, Tab* tab, const wchar_t* text, int image);
  Tab* InsertTab(Tab* before, Tab* tab, const wchar_t* text, int image);
  bool DeleteTab(Tab* tab);
  void DeleteAllTabs();
  bool MoveTabBefore(Tab* target, Tab* moved);
  bool MoveTabAfter(Tab* target, Tab* moved);
  bool SelectTab(Tab* tab);
  bool EnsureVisible(Tab* tab);
  void ScrollToBegin();
  void ScrollToEnd();
  void ScrollLeft();
  void ScrollRight();

  int GetCount() const { return static_cast<int>(tabs_.size()); }
  Tab* GetTab(int index) const;
  int GetTabIndex(const Tab* tab) const;
  bool IsTabValid(const Tab* tab) const { return GetTabIndex(tab) >= 0; }
  Tab* GetFirstEnabledTab() const;
  Tab* GetPrevEnabledTab(const Tab* tab) const;
  Tab* GetNextEnabledTab(const Tab* tab) const;
  Tab* GetSelectedTab() const { return tabs_.empty() ? nullptr : selected_; }
  Tab* GetHoveredTab() const { return IsButton(hovered_) ? nullptr : ItemTab(hovered_); }
  Tab* GetPressedTab() const { return IsButton(pressed_) ? nullptr : ItemTab(pressed_); }
  Item GetHoveredItem() const { return hovered_; }
  Item GetPressedItem() const { return pressed_; }
  bool FindTabByCtrlId(int id, Tab** tab, int* index) const;
  Tab* FindOtherTabByCtrlId(int id, const Tab* excluded) const;
  int CompareTabOrder(const Tab* a, const Tab* b) const;
  Tab* HitTest(int x, int y) const;
  // The button an item stands for (1 to 5), else 0.
  int ButtonOf(Item item) const;
  bool IsButton(Item item) const { return ButtonOf(item) != 0; }
  Item ButtonItem(int button) const { return button >= 1 && button <= 5 ? &buttonIds_[button - 1] : nullptr; }

  // Tab fields; false (nothing changed) for a tab not in the strip.
  bool SetTabText(Tab* tab, const wchar_t* text);
  std::wstring GetTabText(const Tab* tab) const;
  bool SetTabTooltipText(Tab* tab, const wchar_t* text);
  std::wstring GetTabTooltipText(const Tab* tab) const;
  bool SetTabImage(Tab* tab, int image);
  int GetTabImage(const Tab* tab) const;
  bool SetTabData(Tab* tab, ULONGLONG data);
  ULONGLONG GetTabData(const Tab* tab) const;
  bool SetTabDisable(Tab* tab, bool disabled);
  bool IsTabDisabled(const Tab* tab) const;
  bool SetTabWindow(Tab* tab, HWND window);
  HWND GetTabWindow(const Tab* tab) const;
  RECT GetTabRect(const Tab* tab) const;
  bool IsTabVisible(const Tab* tab, bool* partially) const;
  bool CopyTabData(Tab* target, const TabCtrl* sourceStrip, const Tab* sourceTab);

  // Rectangles of the last layout, client coordinates.
  RECT GetCtrlAreaRect() const { return ctrlArea_; }
  RECT GetTabsAreaRect() const { return tabsArea_; }
  RECT GetWindowsAreaRect() const { return windowsArea_; }
  RECT GetButtonCloseAllRect() const { return buttonRects_[0]; }
  RECT GetButtonMenuRect() const { return buttonRects_[1]; }
  RECT GetButtonScrollLeftRect() const { return buttonRects_[2]; }
  RECT GetButtonScrollRightRect() const { return buttonRects_[3]; }
  RECT GetButtonAddRect() const { return buttonRects_[4]; }
  HWND GetToolTip() const { return toolTip_; }

  // Appearance.
  void SetLayout(int layout) { layout_ = layout; }
  int GetLayout() const { return layout_; }
  void SetScrollMode(int mode) { scrollMode_ = mode; }
  int GetScrollMode() const { return scrollMode_; }
  void SetBorder(bool on) { border_ = on; }
  bool GetBorder() const { return border_; }
  void SetEqualWidths(bool on) { equalWidths_ = on; }
  bool GetEqualWidths() const { return equalWidths_; }
  void SetDragReorder(bool on) { dragReorder_ = on; }
  bool GetDragReorder() const { return dragReorder_; }
  void SetHideSingleTab(bool on) { hideSingleTab_ = on; }
  bool GetHideSingleTab() const { return hideSingleTab_; }
  void SetButtonCloseAll(bool on) { showCloseAll_ = on; }
  bool GetButtonCloseAll() const { return showCloseAll_; }
  void SetButtonMenu(bool on) { showMenu_ = on; }
  bool GetButtonMenu() const { return showMenu_; }
  void SetButtonsScrollAdd(bool on) { showScrollAdd_ = on; }
  bool GetButtonsScrollAdd() const { return showScrollAdd_; }
  void SetToolTips(bool on) { toolTips_ = on; }
  bool GetToolTips() const { return toolTips_; }
  void SetScrollStep(int step) { scrollStep_ = step; }
  int GetScrollStep() const { return scrollStep_; }
  // Buttons 1 to 5.
  void SetButtonToolTipText(int button, const wchar_t* text);
  std::wstring GetButtonToolTipText(int button) const;

  bool SetImageLists(HIMAGELIST normal, HIMAGELIST disabled);
  bool SetImageListsRef(HIMAGELIST normal, HIMAGELIST disabled);
  HIMAGELIST GetImageList() const { return imageList_; }
  HIMAGELIST GetDisabledImageList() const { return disabledImageList_; }
  SIZE GetImageSize() const { return imageSize_; }
  SIZE GetDisabledImageSize() const { return disabledImageSize_; }
  bool SetButtonImageList(HIMAGELIST list);
  bool SetButtonImageListRef(HIMAGELIST list);
  bool SetButtonImageList(UINT bitmapId);
  HIMAGELIST GetButtonImageList() const { return buttonImageList_; }
  SIZE GetButtonImageSize() const { return buttonImageSize_; }
  bool SetNormalFont(HFONT font);
  bool SetNormalFontRef(HFONT font);
  bool SetSelectedFont(HFONT font);
  bool SetSelectedFontRef(HFONT font);
  bool SetFonts(const wchar_t* face, int pointSizeTenths);
  HFONT GetNormalFont() const { return normalFont_; }
  HFONT GetSelectedFont() const { return selectedFont_; }
  bool SetCursor(UINT resourceId, HINSTANCE module = fw::ThisModule());
  bool SetCursor(HCURSOR cursor);
  void SetCursorRef(const HCURSOR* cursor);
  HCURSOR GetCursor() const { return cursor_ ? *cursor_ : nullptr; }

  void SetStyle(ITabCtrlStyle* style);
  void SetSkin(const wchar_t* theme);
  TabCtrlStyleDrawer* GetStyleDrawer() const { return drawer_.get(); }
  void SetNotifyManager(TabCtrlNotify* notify) { notify_ = notify; }
  TabCtrlNotify* GetNotifyManager() const { return notify_; }
  void SetAbilityManager(TabCtrlUserAbility* ability) { ability_ = ability ? ability : this; }
  TabCtrlUserAbility* GetAbilityManager() const { return ability_; }
  TabCtrlDraw* GetDrawManager() const { return draw_; }
  ITabCtrlRecalc* GetRecalcManager() const { return recalc_; }
  ITabCtrlBehavior* GetBehaviorManager() const { return behavior_; }
  ITabCtrlToolTip* GetToolTipManager() const { return toolTipManager_; }
  Service* GetDefaultService() const { return const_cast<Service*>(&service_); }

  void Update(bool redraw = true);
  void Recalc(bool redraw);
  void StretchChild(UINT childId, int right, int bottom);

  // The tab order and selection by the control ids of the tabs' windows.
  bool SaveState(std::vector<BYTE>* archive) const;
  bool LoadState(const std::vector<BYTE>& archive);
  bool SaveStateToProfile(const wchar_t* application, const wchar_t* section, const wchar_t* entry) const;
  bool LoadStateFromProfile(const wchar_t* application, const wchar_t* section, const wchar_t* entry);

  int GetScrollPos() const { return scrollPos_; }
  int GetScrollMax() const { return scrollMax_; }
  bool IsScrollingPossible() const { return scrollPossible_; }
  bool IsScrollLeftEnabled() const { return scrollLeftEnabled_; }
  bool IsScrollRightEnabled() const { return scrollRightEnabled_; }
  int GetMaxTabWidth() const { return maxTabWidth_; }

  bool IsDragging() const { return dragging_; }
  void CancelDrag() { EndDrag(true); }
  void SetWatchActivity(bool watch);
  bool GetWatchActivity() const { return watchActivity_; }
  bool IsActive() const { return active_; }
  // True while a button's owner callback runs.
  bool IsNotifyingOwner() const { return aliveFlag_ != nullptr; }

  // TabCtrlUserAbility: the strip allows everything.
  bool CanShowCloseAllButton(const TabCtrl* ctrl) override;
  bool CanShowMenuButton(const TabCtrl* ctrl) override;
  bool CanShowScrollButtons(const TabCtrl* ctrl) override;

  bool PreTranslateMessage(MSG& message) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

  // ActivityHook::INotify and KeyboardHook::Notify.
  void OnActivityChanged(bool active, HWND window) override;
  void OnKeyDown(UINT virtualKey, LPARAM keyData) override;

 private:
  struct Metrics;

  static Tab* ItemTab(Item item) { return const_cast<Tab*>(static_cast<const Tab*>(item)); }
  bool IsSelected(const Tab* tab) const { return tab && tab == selected_; }
  void PlaceWindow(Tab* tab, bool redraw);
  void HideWindow(Tab* tab);
  std::wstring WindowClassName() const;
  bool RegisterWindowClass(const std::wstring& name) const;

  // Layout steps.
  bool LayoutHiddenStrip(bool redraw);
  void LayoutAreas();
  void UpdateSelection(bool redraw);
  void ComputeTabWidths();
  int ContentWidth(HDC dc, const Tab* tab);
  int TotalTabWidth() const;
  void LayoutButtons(int total);
  void UpdateScrollRange(int total);
  void LayoutTabsScrolled();
  void LayoutTabsFitted(int total);
  void PlaceTabsFrom(int x);

  // Painting.
  void OnPaint();
  void PaintTabs(HDC dc);
  void PaintButtons(HDC dc);
  bool ButtonHover(int button) const;

  // Input.
  void OnMouseMove(int x, int y);
  void UpdateHover(int x, int y);
  void OnLButtonDown(int x, int y);
  void OnLButtonDblClk(int x, int y);
  void OnLButtonUp(int x, int y);
  void OnRButton(bool down, int x, int y);
  void OnCaptureChanged(HWND taker);
  void OnTimer(UINT_PTR id);
  void Press(int x, int y);
  void PressTab(Tab* tab, int x, int y);
  void ClickButton(int button, POINT client);
  void ReleaseCloseMark(POINT client);
  bool CloseMarkHit(POINT client) const;
  void EndButtonPress();
  void StartDrag(POINT client);
  void DragMove(int x, int y);
  void EndDrag(bool cancelled);
  void FocusCurrentPage();
  void OnDestroy();
  void OnToolTipText(NMTTDISPINFOW& info);
  POINT ToScreen(POINT client) const;

  // Keeps the tab list, the saved order, selection, hover and press free of
  // a tab about to be deleted.
  void ForgetTab(Tab* tab);

  int layout_ = 0;
  int scrollMode_ = 1;

  fw::ScopedImageList ownImageList_;
  HIMAGELIST imageList_ = nullptr;
  fw::ScopedImageList ownDisabledImageList_;
  HIMAGELIST disabledImageList_ = nullptr;
  SIZE imageSize_{};
  SIZE disabledImageSize_{};
  fw::ScopedImageList ownButtonImageList_;
  HIMAGELIST buttonImageList_ = nullptr;
  SIZE buttonImageSize_{};

  fw::ScopedFont ownNormalFont_;
  HFONT normalFont_ = nullptr;
  fw::ScopedFont ownSelectedFont_;
  HFONT selectedFont_ = nullptr;

  fw::ScopedIcon ownCursor_;
  HCURSOR ownCursorHandle_ = nullptr;
  const HCURSOR* cursor_ = nullptr;

  std::wstring toolTipText_;
  std::wstring buttonToolTips_[5];

  bool border_ = true;
  bool equalWidths_ = true;
  bool dragReorder_ = false;
  bool hideSingleTab_ = false;
  bool showCloseAll_ = true;
  bool showMenu_ = false;
  bool showScrollAdd_ = true;
  bool toolTips_ = true;

  int scrollStep_ = 115;

  TabCtrlDraw* draw_ = nullptr;
  ITabCtrlRecalc* recalc_;
  ITabCtrlBehavior* behavior_;
  ITabCtrlToolTip* toolTipManager_;
  TabCtrlUserAbility* ability_;
  TabCtrlNotify* notify_ = nullptr;

  const int buttonIds_[5] = {1, 2, 3, 4, 5};

  Tab* selected_ = nullptr;
  Item hovered_ = nullptr;
  Item pressed_ = nullptr;
  int scrollPos_ = 0;
  int scrollMax_ = 0;

  bool scrollPossible_ = false;
  bool scrollLeftEnabled_ = false;
  bool scrollRightEnabled_ = false;
  bool dragging_ = false;

  POINT pressPoint_{};
  // The current tab whose close mark the left button went down on; a close
  // needs press and release on the same visible mark.
  Tab* closeMarkPressed_ = nullptr;
  // The pointer was in the close mark at the last move: leaving it repaints.
  bool pointerInCloseMark_ = false;

  bool watchActivity_ = false;
  bool active_ = false;

  int maxTabWidth_ = 230;

  RECT ctrlArea_{};
  RECT tabsArea_{};
  RECT windowsArea_{};
  RECT buttonRects_[5]{};

  // The tooltip with its one tool, the control area; none when it refused it.
  static constexpr UINT_PTR kToolId = 1;
  HWND toolTip_ = nullptr;

  std::vector<Tab*> tabs_;
  std::vector<Tab*> savedOrder_;
  bool* aliveFlag_ = nullptr;

  std::unique_ptr<TabCtrlStyleDrawer> drawer_;
  Service service_;
};
