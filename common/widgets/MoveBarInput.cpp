#include "MoveBarCtrl.h"

#include <windowsx.h>

namespace {

constexpr UINT_PTR kHotTimer = 1;
constexpr UINT_PTR kScrollTimer = 2;
constexpr UINT_PTR kSelectionTimer = 3;

POINT CursorIn(HWND window) {
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(window, &point);
  return point;
}

POINT PointOf(const MSG& msg) { return {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)}; }

// One message of a capture loop; false when the loop must end (button up,
// capture lost, quit). Key-downs other than Esc are dropped.
bool NextLoopMessage(HWND window, MSG& msg) {
  if (::GetCapture() != window) return false;
  if (!::GetMessageW(&msg, nullptr, 0, 0)) {
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam != VK_ESCAPE) return true;
  bool ours = msg.hwnd == window;
  if (ours && (msg.message == WM_LBUTTONUP || msg.message == WM_MOUSEMOVE || msg.message == WM_TIMER)) return true;
  ::DispatchMessageW(&msg);
  return true;
}

}  // namespace

bool CMoveBarCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(Hwnd(), &paint);
      PaintAll(dc, false);
      ::EndPaint(Hwnd(), &paint);
      FindPendingHighlights();
      ApplyPendingHighlights();
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      PaintAll(reinterpret_cast<HDC>(wParam), true);
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      OnLButtonDown(point);
      result = 0;
      return true;
    case WM_TIMER:
      OnTimer(wParam);
      result = 0;
      return true;
    case WM_SETCURSOR: {
      int index = -1;
      if (LOWORD(lParam) == HTCLIENT && HitTest(CursorIn(Hwnd()), index) == kHitFolder) {
        ::SetCursor(handCursor_);
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_SIZE:
      upVisible_ = downVisible_ = false;
      result = DefaultProc(message, wParam, lParam);
      PlaceChildren(false);
      ::InvalidateRect(Hwnd(), nullptr, TRUE);
      ::UpdateWindow(Hwnd());
      return true;
    case WM_MOVEBAR_NOTIFY:
      result = 0;
      return true;
    default:
      return false;
  }
}

void CMoveBarCtrl::OnMouseMove(POINT point) {
  int index = -1;
  int hit = HitTest(point, index);
  int folder = hit == kHitFolder ? index : -1;
  if (folder != hotFolder_) {
    fw::WindowDC dc(Hwnd());
    HighlightFolder(dc, hotFolder_, false);
    hotFolder_ = folder;
    HighlightFolder(dc, hotFolder_, true);
  }
  int item = hit == kHitItem ? index : -1;
  if (item != hotItem_) HighlightItem(item, false);
  if (folder >= 0 || item >= 0) ::SetTimer(Hwnd(), kHotTimer, 100, nullptr);
}

// Painting draws every folder button and item plain. What the pointer rests
// on is found again rather than taken from the hot indexes: the paint may
// follow a change that moved the buttons or items under it (another folder
// opened, a scroll). A press keeps its item and its pressed look.
void CMoveBarCtrl::FindPendingHighlights() {
  pendingFolderHighlight_ = pendingItemHighlight_ = -1;
  if (::GetCapture() == Hwnd()) {
    pendingItemHighlight_ = hotItem_;
    return;
  }
  POINT cursor{};
  if (!::GetCursorPos(&cursor) || ::WindowFromPoint(cursor) != Hwnd()) return;
  ::ScreenToClient(Hwnd(), &cursor);
  int index = -1;
  switch (HitTest(cursor, index)) {
    case kHitFolder:
      pendingFolderHighlight_ = index;
      break;
    case kHitItem:
      pendingItemHighlight_ = index;
      break;
    default:
      break;
  }
}

void CMoveBarCtrl::ApplyPendingHighlights() {
  {
    fw::WindowDC dc(Hwnd());
    if (hotFolder_ != pendingFolderHighlight_) HighlightFolder(dc, hotFolder_, false);
    hotFolder_ = pendingFolderHighlight_;
    HighlightFolder(dc, hotFolder_, true);
  }
  HighlightItem(pendingItemHighlight_, itemPressed_ && pendingItemHighlight_ == hotItem_);
  if (hotFolder_ >= 0 || hotItem_ >= 0) ::SetTimer(Hwnd(), kHotTimer, 100, nullptr);
  pendingFolderHighlight_ = pendingItemHighlight_ = -1;
}

void CMoveBarCtrl::OnLButtonDown(POINT point) {
  int index = -1;
  switch (HitTest(point, index)) {
    case kHitFolder:
      TrackFolderClick(index);
      break;
    case kHitItem:
      TrackItemClick(index);
      break;
    case kHitScrollUp:
      TrackScroll(true);
      break;
    case kHitScrollDown:
      TrackScroll(false);
      break;
    default:
      break;
  }
}

void CMoveBarCtrl::TrackFolderClick(int folder) {
  ::SetCapture(Hwnd());
  bool pressed = true;
  {
    fw::WindowDC dc(Hwnd());
    DrawFolder(dc, folder, true);
  }
  MSG msg{};
  bool releasedOn = false;
  while (NextLoopMessage(Hwnd(), msg)) {
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) continue;
    int index = -1;
    bool over = HitTest(PointOf(msg), index) == kHitFolder && index == folder;
    if (msg.message == WM_LBUTTONUP) {
      releasedOn = over;
      break;
    }
    if (over != pressed) {
      pressed = over;
      fw::WindowDC dc(Hwnd());
      DrawFolder(dc, folder, pressed);
    }
  }
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  {
    fw::WindowDC dc(Hwnd());
    DrawFolder(dc, folder, false);
  }
  if (releasedOn && folder != selFolder_) SetSelFolder(folder);
}

int CMoveBarCtrl::DropTargetAt(POINT point) const {
  int count = GetItemCount();
  RECT inside = GetInsideRect();
  if (count == 0 || !::PtInRect(&inside, point)) return -1;
  for (int i = firstItem_; i < count; ++i) {
    RECT rect = GetItemRect(i);
    if (point.y < rect.bottom) return i;
  }
  return count;
}

void CMoveBarCtrl::TrackItemClick(int item) {
  HighlightItem(item, true);
  ::SetCapture(Hwnd());
  bool dragging = false, pressed = true;
  int target = -1;
  HCURSOR oldCursor = nullptr;
  MSG msg{};
  while (NextLoopMessage(Hwnd(), msg)) {
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) continue;
    POINT point = PointOf(msg);
    int index = -1;
    bool over = HitTest(point, index) == kHitItem && index == item;
    if (msg.message == WM_LBUTTONUP) {
      target = dragging ? DropTargetAt(point) : (over ? item : -1);
      break;
    }
    if (!dragging && !over && (flags_ & MBS_DRAGITEMS)) {
      dragging = true;
      oldCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
    }
    if (dragging) {
      int mark = DropTargetAt(point);
      if (mark != dropMark_) {
        EraseInsertMark(dropMark_);
        dropMark_ = mark;
        fw::WindowDC dc(Hwnd());
        DrawInsertMark(dc, dropMark_);
      }
      ::SetCursor(::LoadCursorW(nullptr, mark >= 0 ? IDC_SIZENS : IDC_NO));
    } else if (over != pressed) {
      pressed = over;
      HighlightItem(item, pressed);
    }
  }
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  if (oldCursor) ::SetCursor(oldCursor);
  dropMark_ = -1;
  itemPressed_ = false;
  if (dragging) {
    if (target >= 0 && target != item) DropItem(item, target);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
    return;
  }
  if (target != item) {
    HighlightItem(item, false);
    return;
  }
  int previous = lastSelected_;
  lastSelected_ = item;
  if (selAnimationPeriod_ > 0 && previous >= 0 && previous != item) InvalidateInside();
  if (flags_ & MBS_KEEPSELECTION) InvalidateInside();
  NotifyOwner(MBN_ITEMCLICKED, item, false);
}

void CMoveBarCtrl::DropItem(int item, int target) {
  MoveBarDrop drop{selFolder_, item, target};
  if (!NotifyOwner(MBN_ITEMDROPPED, reinterpret_cast<LPARAM>(&drop), false)) return;
  std::vector<CBarItem>& items = folders_[selFolder_].items;
  if (!IsItem(item) || target < 0 || target > static_cast<int>(items.size())) return;
  CBarItem moved = std::move(items[item]);
  items.erase(items.begin() + item);
  // The target was counted with the item still in place.
  if (item < target) --target;
  items.insert(items.begin() + target, std::move(moved));
  lastSelected_ = -1;
}

void CMoveBarCtrl::ScrollBy(int delta) {
  int next = firstItem_ + delta;
  if (next < 0 || next >= GetItemCount()) return;
  if (delta > 0 && LastItemFullyVisible()) return;
  firstItem_ = next;
  InvalidateInside();
  ::UpdateWindow(Hwnd());
}

void CMoveBarCtrl::TrackScroll(bool up) {
  bool& pressed = up ? upPressed_ : downPressed_;
  const RECT& button = up ? upRect_ : downRect_;
  pressed = true;
  InvalidateInside();
  ::SetCapture(Hwnd());
  ::SetTimer(Hwnd(), kScrollTimer, 300, nullptr);
  MSG msg{};
  while (NextLoopMessage(Hwnd(), msg)) {
    if (msg.message == WM_TIMER && msg.hwnd == Hwnd() && msg.wParam == kScrollTimer) {
      if (pressed) ScrollBy(up ? -1 : 1);
      continue;
    }
    if (msg.message == WM_TIMER) continue;
    bool over = ::PtInRect(&button, PointOf(msg)) != FALSE;
    if (msg.message == WM_LBUTTONUP) {
      if (over) ScrollBy(up ? -1 : 1);
      break;
    }
    if (msg.message == WM_MOUSEMOVE && over != pressed) {
      pressed = over;
      InvalidateInside();
    }
  }
  ::KillTimer(Hwnd(), kScrollTimer);
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  upPressed_ = downPressed_ = false;
  InvalidateInside();
}

void CMoveBarCtrl::OnTimer(UINT_PTR id) {
  if (id == kSelectionTimer) {
    StepSelectionAnimation();
    return;
  }
  if (id != kHotTimer) return;
  POINT point = CursorIn(Hwnd());
  RECT client = ClientRect();
  if (::PtInRect(&client, point)) return;
  ::KillTimer(Hwnd(), kHotTimer);
  fw::WindowDC dc(Hwnd());
  HighlightFolder(dc, hotFolder_, false);
  hotFolder_ = -1;
  HighlightItem(-1, false);
}

// The last selected icon jiggles once every twelve ticks.
void CMoveBarCtrl::StepSelectionAnimation() {
  if (!IsItem(lastSelected_)) return;
  static const POINT offsets[4] = {{-1, 1}, {0, 0}, {1, 1}, {0, 0}};
  int count = selAnimationCount_;
  selAnimationCount_ = count >= 10 ? -1 : count + 1;
  if (count < 0 || count > 3) return;
  RECT icon = GetIconRect(lastSelected_);
  ::InflateRect(&icon, 2, 2);
  fw::WindowDC dc(Hwnd());
  RECT inside = GetInsideRect();
  ::IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
  ::SetBkColor(dc, backColour_);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &icon, nullptr, 0, nullptr);
  DrawItem(dc, lastSelected_, offsets[count]);
}
