#include "TabCtrl.h"

#include <algorithm>
#include <new>

#include "TabCtrlStyleDrawer.h"
#include "ToolInfo.h"

namespace {

const wchar_t* const kButtonToolTips[5] = {L"关闭所有页面", L"菜单", L"向左移动", L"向右移动", L"新建空白页"};

// A handle as hex digits of the full pointer width, so that no two handles
// of a 64-bit process give one name.
std::wstring Hex(const void* handle) {
  const wchar_t digits[] = L"0123456789ABCDEF";
  auto value = reinterpret_cast<uintptr_t>(handle);
  std::wstring text(sizeof(uintptr_t) * 2, L'0');
  for (size_t i = text.size(); i-- > 0; value >>= 4) text[i] = digits[value & 0xF];
  return text;
}

}  // namespace

TabCtrl::TabCtrl(TabCtrlNotify* notify, UINT buttonBitmapId, const wchar_t* fontFace, int fontSize)
    : recalc_(&service_), behavior_(&service_), toolTipManager_(&service_), ability_(this) {
  SetFonts(fontFace, fontSize);
  if (buttonBitmapId) SetButtonImageList(buttonBitmapId);
  notify_ = notify;
  drawer_ = std::make_unique<TabCtrlStyleDrawer>();
  SetStyle(drawer_.get());
}

TabCtrl::~TabCtrl() {
  // The window goes while the whole object still stands: its destruction
  // deletes the tabs and calls the owner back.
  Destroy();
  draw_ = nullptr;
  drawer_.reset();
}

std::wstring TabCtrl::WindowClassName() const {
  return L"TabCtrl:" + Hex(fw::ThisModule()) + L":" + std::to_wstring(CS_DBLCLKS) + L":" +
         Hex(::LoadCursorW(nullptr, IDC_ARROW)) + L":" + Hex(nullptr) + L":" + Hex(nullptr);
}

bool TabCtrl::RegisterWindowClass(const std::wstring& name) const {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(fw::ThisModule(), name.c_str(), &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &::DefWindowProcW;
  windowClass.hInstance = fw::ThisModule();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  return ::RegisterClassExW(&windowClass) != 0;
}

bool TabCtrl::Create(HWND parent, DWORD style, const RECT& rect, UINT id) {
  HFONT stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!normalFont_) SetNormalFont(stock);
  if (!selectedFont_) SetSelectedFont(stock);

  const std::wstring className = WindowClassName();
  fw::CreateArgs args;
  args.parent = parent;
  args.style = style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  args.x = rect.left;
  args.y = rect.top;
  args.width = rect.right - rect.left;
  args.height = rect.bottom - rect.top;
  args.idOrMenu = id;
  // Without a class of our own the framework's class does the same job.
  args.className = RegisterWindowClass(className) ? className.c_str() : nullptr;
  if (!Wnd::Create(args)) return false;

  toolTip_ = toolTipManager_->CreateToolTip(this, &service_);
  if (toolTip_) {
    TOOLINFOW tool = fw::ToolInfo(Hwnd(), kToolId);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    // A tooltip that refuses its tool costs the tips, not the strip.
    if (!::SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) toolTip_ = nullptr;
  }
  for (int i = 0; i < 5; ++i) {
    if (buttonToolTips_[i].empty()) buttonToolTips_[i] = kButtonToolTips[i];
  }
  if (watchActivity_) ActivityHook::Instance().Add(this, Hwnd());
  // Messages of the creation itself passed the class procedure: lay out now.
  Recalc(false);
  return true;
}

// ---- tabs ------------------------------------------------------------------

Tab* TabCtrl::AddTab(Tab* tab, const wchar_t* text, int /*image*/) {
  // Every appended tab shows image 0 of the list, whatever the caller asks.
  Tab* added = InsertTab(GetCount(), tab, text, 0);
  if (added) Update(true);
  return added;
}

Tab* TabCtrl::InsertTab(Tab* before, Tab* tab, const wchar_t* text, int image) {
  int index = GetTabIndex(before);
  return InsertTab(index < 0 ? GetCount() : index, tab, text, image);
}

Tab* TabCtrl::InsertTab(int position, Tab* tab, const wchar_t* text, int image) {
  if (!tab || IsTabValid(tab)) return nullptr;
  position = std::clamp(position, 0, GetCount());
  if (notify_) notify_->OnTabBeforeInsert(this, tab, text, image);
  try {
    tab->window = tab->PageWindow();
    tab->image = image;
    tab->text = text ? text : L"";
    tab->disabled = false;
    tab->data = 0;
    tabs_.insert(tabs_.begin() + position, tab);
    if (dragging_) {
      // A cancelled drag must give the new tab back its place, not lose it.
      Tab* next = position + 1 < GetCount() ? tabs_[position + 1] : nullptr;
      auto at = std::find(savedOrder_.begin(), savedOrder_.end(), next);
      savedOrder_.insert(at, tab);
    }
  } catch (const std::bad_alloc&) {
    tabs_.erase(std::remove(tabs_.begin(), tabs_.end(), tab), tabs_.end());
    delete tab;
    throw;
  }
  if (!selected_) selected_ = GetFirstEnabledTab();
  HideWindow(tab);
  if (notify_) notify_->OnTabAfterInsert(this, tab);
  return tab;
}

void TabCtrl::ForgetTab(Tab* tab) {
  tabs_.erase(std::remove(tabs_.begin(), tabs_.end(), tab), tabs_.end());
  savedOrder_.erase(std::remove(savedOrder_.begin(), savedOrder_.end(), tab), savedOrder_.end());
  if (selected_ == tab) selected_ = nullptr;
  if (hovered_ == tab) hovered_ = nullptr;
  if (pressed_ == tab) pressed_ = nullptr;
  if (closeMarkPressed_ == tab) closeMarkPressed_ = nullptr;
}

bool TabCtrl::DeleteTab(Tab* tab) {
  if (!IsTabValid(tab)) return false;
  if (pressed_ == tab) EndDrag(true);
  if (hovered_ == tab) hovered_ = nullptr;
  if (selected_ == tab) {
    Tab* next = GetNextEnabledTab(tab);
    selected_ = next ? next : GetPrevEnabledTab(tab);
  }
  HideWindow(tab);
  if (notify_) notify_->OnTabBeforeDelete(this, tab);
  // Out of every list before the object goes, so no callback or paint meets it.
  ForgetTab(tab);
  delete tab;
  if (tabs_.empty()) {
    scrollPos_ = 0;
    scrollPossible_ = scrollLeftEnabled_ = scrollRightEnabled_ = false;
  }
  return true;
}

void TabCtrl::DeleteAllTabs() {
  // The list is taken out first: the drag's end below then has no order to
  // bring back, and the callbacks see an empty strip.
  std::vector<Tab*> tabs;
  tabs.swap(tabs_);
  savedOrder_.clear();
  EndButtonPress();
  EndDrag(true);
  selected_ = nullptr;
  hovered_ = nullptr;
  pressed_ = nullptr;
  closeMarkPressed_ = nullptr;
  scrollPos_ = 0;
  scrollPossible_ = scrollLeftEnabled_ = scrollRightEnabled_ = false;
  for (Tab* tab : tabs) {
    if (notify_) notify_->OnTabBeforeDelete(this, tab);
    HideWindow(tab);
    delete tab;
  }
}

bool TabCtrl::MoveTabBefore(Tab* target, Tab* moved) {
  int targetIndex = GetTabIndex(target);
  int movedIndex = GetTabIndex(moved);
  if (targetIndex < 0 || movedIndex < 0) return false;
  if (target == moved || movedIndex + 1 == targetIndex) return true;
  tabs_.erase(tabs_.begin() + movedIndex);
  tabs_.insert(tabs_.begin() + GetTabIndex(target), moved);
  return true;
}

bool TabCtrl::MoveTabAfter(Tab* target, Tab* moved) {
  int targetIndex = GetTabIndex(target);
  int movedIndex = GetTabIndex(moved);
  if (targetIndex < 0 || movedIndex < 0) return false;
  if (target == moved || targetIndex + 1 == movedIndex) return true;
  tabs_.erase(tabs_.begin() + movedIndex);
  tabs_.insert(tabs_.begin() + GetTabIndex(target) + 1, moved);
  return true;
}

bool TabCtrl::SelectTab(Tab* tab) {
  if (!IsTabValid(tab) || tab->disabled) return false;
  if (tab == selected_) return true;
  if (selected_) HideWindow(selected_);
  selected_ = tab;
  PlaceWindow(tab, false);
  EnsureVisible(tab);
  return true;
}

bool TabCtrl::EnsureVisible(Tab* tab) {
  if (!IsTabValid(tab)) return false;
  if (scrollMode_ != 1) return true;
  if (tab->rect.left < tabsArea_.left)
    scrollPos_ -= tabsArea_.left - tab->rect.left;
  else if (tab->rect.right > tabsArea_.right)
    scrollPos_ += tab->rect.right - tabsArea_.right;
  return true;
}

void TabCtrl::ScrollToBegin() {
  if (scrollMode_ == 1) scrollPos_ = 0;
}

void TabCtrl::ScrollToEnd() {
  if (scrollMode_ == 1) scrollPos_ = scrollMax_;
}

void TabCtrl::ScrollLeft() { scrollPos_ -= scrollStep_; }
void TabCtrl::ScrollRight() { scrollPos_ += scrollStep_; }

void TabCtrl::HideWindow(Tab* tab) {
  if (tab && tab->window && ::GetParent(tab->window) == Hwnd() && ::IsWindowVisible(tab->window))
    ::ShowWindow(tab->window, SW_HIDE);
}

void TabCtrl::PlaceWindow(Tab* tab, bool redraw) {
  if (!tab->window) return;
  RECT area = windowsArea_;
  RECT inset = recalc_->GetWindowsAreaInset(this, &service_);
  area.left += inset.left;
  area.top += inset.top;
  area.right -= inset.right;
  area.bottom -= inset.bottom;
  RECT now{};
  ::GetWindowRect(tab->window, &now);
  ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&now), 2);
  if (!::EqualRect(&now, &area))
    ::MoveWindow(tab->window, area.left, area.top, area.right - area.left, area.bottom - area.top, redraw);
  if (!::IsWindowVisible(tab->window)) ::ShowWindow(tab->window, SW_SHOWNA);
}

// ---- queries ---------------------------------------------------------------

Tab* TabCtrl::GetTab(int index) const {
  return index >= 0 && index < GetCount() ? tabs_[index] : nullptr;
}

int TabCtrl::GetTabIndex(const Tab* tab) const {
  if (!tab) return -1;
  auto at = std::find(tabs_.begin(), tabs_.end(), tab);
  return at == tabs_.end() ? -1 : static_cast<int>(at - tabs_.begin());
}

Tab* TabCtrl::GetFirstEnabledTab() const {
  for (Tab* tab : tabs_) {
    if (!tab->disabled) return tab;
  }
  return nullptr;
}

Tab* TabCtrl::GetPrevEnabledTab(const Tab* tab) const {
  for (int i = GetTabIndex(tab) - 1; i >= 0; --i) {
    if (!tabs_[i]->disabled) return tabs_[i];
  }
  return nullptr;
}

Tab* TabCtrl::GetNextEnabledTab(const Tab* tab) const {
  int index = GetTabIndex(tab);
  if (index < 0) return nullptr;
  for (int i = index + 1; i < GetCount(); ++i) {
    if (!tabs_[i]->disabled) return tabs_[i];
  }
  return nullptr;
}

bool TabCtrl::FindTabByCtrlId(int id, Tab** tab, int* index) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (tabs_[i]->window && ::GetDlgCtrlID(tabs_[i]->window) == id) {
      if (tab) *tab = tabs_[i];
      if (index) *index = i;
      return true;
    }
  }
  return false;
}

Tab* TabCtrl::FindOtherTabByCtrlId(int id, const Tab* excluded) const {
  for (Tab* tab : tabs_) {
    if (tab != excluded && tab->window && ::GetDlgCtrlID(tab->window) == id) return tab;
  }
  return nullptr;
}

int TabCtrl::CompareTabOrder(const Tab* a, const Tab* b) const {
  if (a == b) return 0;
  return GetTabIndex(b) < GetTabIndex(a) ? 1 : -1;
}

Tab* TabCtrl::HitTest(int x, int y) const { return behavior_->HitTest(this, x, y, const_cast<Service*>(&service_)); }

int TabCtrl::ButtonOf(Item item) const {
  for (int i = 0; i < 5; ++i) {
    if (item == &buttonIds_[i]) return buttonIds_[i];
  }
  return 0;
}

// ---- tab fields ------------------------------------------------------------

bool TabCtrl::SetTabText(Tab* tab, const wchar_t* text) {
  if (!IsTabValid(tab)) return false;
  tab->text = text ? text : L"";
  return true;
}

std::wstring TabCtrl::GetTabText(const Tab* tab) const { return IsTabValid(tab) ? tab->text : std::wstring(); }

bool TabCtrl::SetTabTooltipText(Tab* tab, const wchar_t* text) {
  if (!IsTabValid(tab)) return false;
  tab->tooltip = text ? text : L"";
  return true;
}

std::wstring TabCtrl::GetTabTooltipText(const Tab* tab) const {
  return IsTabValid(tab) ? tab->tooltip : std::wstring();
}

bool TabCtrl::SetTabImage(Tab* tab, int image) {
  if (!IsTabValid(tab)) return false;
  tab->image = image;
  return true;
}

int TabCtrl::GetTabImage(const Tab* tab) const { return IsTabValid(tab) ? tab->image : -1; }

bool TabCtrl::SetTabData(Tab* tab, ULONGLONG data) {
  if (!IsTabValid(tab)) return false;
  tab->data = data;
  return true;
}

ULONGLONG TabCtrl::GetTabData(const Tab* tab) const { return IsTabValid(tab) ? tab->data : 0; }

bool TabCtrl::SetTabDisable(Tab* tab, bool disabled) {
  if (!IsTabValid(tab)) return false;
  tab->disabled = disabled;
  return true;
}

bool TabCtrl::IsTabDisabled(const Tab* tab) const { return IsTabValid(tab) && tab->disabled; }

bool TabCtrl::SetTabWindow(Tab* tab, HWND window) {
  if (!IsTabValid(tab)) return false;
  tab->window = window;
  return true;
}

HWND TabCtrl::GetTabWindow(const Tab* tab) const { return IsTabValid(tab) ? tab->window : nullptr; }

RECT TabCtrl::GetTabRect(const Tab* tab) const { return IsTabValid(tab) ? tab->rect : RECT{}; }

bool TabCtrl::IsTabVisible(const Tab* tab, bool* partially) const {
  if (partially) *partially = false;
  if (!IsTabValid(tab)) return false;
  bool visible = tab->rect.right > tabsArea_.left && tab->rect.left < tabsArea_.right;
  if (partially) *partially = visible && (tab->rect.left < tabsArea_.left || tab->rect.right > tabsArea_.right);
  return visible;
}

bool TabCtrl::CopyTabData(Tab* target, const TabCtrl* sourceStrip, const Tab* sourceTab) {
  if (!IsTabValid(target) || !sourceStrip || !sourceStrip->IsTabValid(sourceTab)) return false;
  target->text = sourceTab->text;
  target->tooltip = sourceTab->tooltip;
  target->image = sourceTab->image;
  target->data = sourceTab->data;
  target->disabled = sourceTab->disabled;
  return true;
}

// ---- ability ---------------------------------------------------------------

bool TabCtrl::CanShowCloseAllButton(const TabCtrl*) { return true; }
bool TabCtrl::CanShowMenuButton(const TabCtrl*) { return true; }
bool TabCtrl::CanShowScrollButtons(const TabCtrl*) { return true; }

void TabCtrl::StretchChild(UINT childId, int right, int bottom) {
  HWND child = ::GetDlgItem(Hwnd(), static_cast<int>(childId));
  if (!child) return;
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  RECT client = ClientRect();
  rect.right = std::max(rect.left, client.right - right);
  rect.bottom = std::max(rect.top, client.bottom - bottom);
  ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}
