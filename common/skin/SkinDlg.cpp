#include "SkinDlg.h"

#include <windowsx.h>

#include "BCMenu.h"
#include "CommHelper.h"

namespace {

const wchar_t kTrackbarClass[] = L"msctls_trackbar32";

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Check boxes, radio buttons and group boxes: the button styles whose text
// sits straight on the dialog's background.
bool IsBackgroundButton(HWND child) {
  switch (LOWORD(::GetWindowLongPtrW(child, GWL_STYLE))) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_GROUPBOX:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

struct DescendantSearch {
  UINT id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<DescendantSearch*>(lParam);
  if (static_cast<UINT>(::GetDlgCtrlID(window)) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindDescendant(HWND parent, UINT id) {
  DescendantSearch search{id, nullptr};
  ::EnumChildWindows(parent, &MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

CSkinDlg::CSkinDlg(UINT templateId, HWND parent, HINSTANCE module)
    : fw::Dialog(templateId, parent, module), m_strSkinTheme(L"default") {}

CSkinDlg::~CSkinDlg() {
  // The icons go with this object; the window may live a moment longer.
  if (hwnd_ && (m_largeIcon || m_smallIcon)) {
    Send(WM_SETICON, ICON_BIG, 0);
    Send(WM_SETICON, ICON_SMALL, 0);
  }
  m_skin.Clear();
}

void CSkinDlg::OnSkinLayout() {}
void CSkinDlg::DrawSkinExtra(HDC) {}
void CSkinDlg::BuildSkinPath() {}
HBRUSH CSkinDlg::GetCtlBkBrush(UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }
void CSkinDlg::OnSkinPrePaint() {}
void CSkinDlg::OnSkinPreInit() {}
void CSkinDlg::BindSkinItems() {}

void CSkinDlg::LoadSkin(const std::wstring& theme, BOOL relayout) {
  m_strSkinTheme = theme;
  if (m_strSkinTheme.empty() || m_strSkinFile.empty()) {
    BuildSkinPath();
  } else {
    std::wstring folder = GetModuleDir(CCommHelper::GetThisModuleHandle());
    m_strSkinPath = folder + L"\\theme\\" + m_strSkinTheme + L"\\" + m_strSkinFile;
  }
  if (!m_strSkinPath.empty() && !m_strSkinElement.empty()) m_skin.LoadSkin(m_strSkinPath, m_strSkinElement, this);
  BindSkinItems();
  if (!relayout) return;
  LayoutNow();
  Invalidate(true);
}

void CSkinDlg::ReloadSkin(const std::wstring& path) {
  m_strSkinPath = path;
  m_skin.LoadSkin(m_strSkinPath, m_strSkinElement, this);
}

HWND CSkinDlg::SetSkinItemWnd(const std::wstring& id, HWND window) { return m_skin.SetItemWnd(id, window); }

HWND CSkinDlg::SetSkinItemWndById(const std::wstring& id, UINT controlId) {
  HWND child = hwnd_ ? ::GetDlgItem(hwnd_, static_cast<int>(controlId)) : nullptr;
  return child ? m_skin.SetItemWnd(id, child) : nullptr;
}

void CSkinDlg::SetButtonSkin(const std::wstring& id, CButtonST* button) { m_skin.SetButtonSkin(id, button, true); }

int CSkinDlg::AddSkinImage(const std::wstring& id, HIMAGELIST list) {
  const tagSkinItem* item = m_skin.FindItem(id);
  if (!list || !item) return -1;
  if (item->skintype == tagSkinItem::kBitmap && item->normal) {
    // Adding with a mask blackens the key colour in the bitmap given, so the
    // list gets a copy and the skin's picture stays as loaded.
    fw::ScopedBitmap copy(static_cast<HBITMAP>(::CopyImage(item->normal.Get(), IMAGE_BITMAP, 0, 0, 0)));
    return copy ? ImageList_AddMasked(list, copy.Get(), item->colorbg) : -1;
  }
  if (item->skintype != tagSkinItem::kIcon) return -1;
  size_t slash = m_strSkinPath.rfind(L'\\');
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : m_strSkinPath.substr(0, slash);
  std::wstring path = folder + L"\\" + item->normalicon;
  fw::ScopedIcon icon(static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
  return icon ? ImageList_AddIcon(list, icon.Get()) : -1;
}

void CSkinDlg::SetFade(BOOL on) {
  fade_ = on != FALSE;
  if (!fade_ || !hwnd_) return;
  // Alpha steps need a layered window, and a layered window shows nothing
  // until it is given an alpha: a shown dialog stays fully opaque.
  LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (exStyle & WS_EX_LAYERED) return;
  ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
}

BOOL CSkinDlg::OnInitDialog() {
  OnSkinPreInit();
  fw::Dialog::OnInitDialog();
  if (fade_) SetFade(TRUE);
  LoadSkin(m_strSkinTheme, FALSE);
  return TRUE;
}

void CSkinDlg::OnCancel() {
  if (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) return;
  fw::Dialog::OnCancel();
}

void CSkinDlg::LayoutNow() {
  if (!hwnd_ || ::IsIconic(hwnd_)) return;
  RECT client = ClientRect();
  layoutOwed_ = false;
  m_skin.Resize(Width(client), Height(client));
}

void CSkinDlg::EndInitialLayout() {
  if (!layoutHeld_) {
    LayoutNow();
    return;
  }
  layoutHeld_ = false;
  const RECT client = ClientRect();
  if (layoutOwed_ || m_skin.ClientWidth() != Width(client) || m_skin.ClientHeight() != Height(client)) LayoutNow();
}

bool CSkinDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      // As in every dialog: the exchange binds the controls before the
      // dialog's own start-up, so the skin finds them bound.
      UpdateData(false);
      result = OnInitDialog();
      // The engine lays out only on a size change; without this the dialog
      // first shows every control at its template position.
      EndInitialLayout();
      return true;
    case WM_PAINT: {
      if (::IsIconic(hwnd_)) return false;
      fw::PaintDC paint(hwnd_);
      PaintSkin(paint.Get());
      return true;
    }
    case WM_PRINTCLIENT:
      // Printing (PrintWindow, AnimateWindow) sees what the screen shows.
      PaintSkin(reinterpret_cast<HDC>(wParam));
      return true;
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONDOWN:
      OnLButtonDown(lParam);
      return false;
    case WM_LBUTTONUP:
      OnLButtonUp(lParam);
      return false;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return false;
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
    case WM_CLOSE:
      if (fade_) m_skin.FadeOut();
      return false;
    case WM_SHOWWINDOW:
      OnShowWindow(wParam, lParam);
      return true;
    case WM_INITMENU:
      trackedMenu_ = reinterpret_cast<HMENU>(wParam);
      return false;
    case WM_EXITMENULOOP:
      trackedMenu_ = nullptr;
      return false;
    case WM_MEASUREITEM:
      if (!OnMeasureItem(static_cast<UINT>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return false;
      result = TRUE;
      return true;
    default:
      return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
}

void CSkinDlg::PaintSkin(HDC target) {
  OnSkinPrePaint();
  const RECT client = ClientRect();
  // Through the engine's kept canvas: a paint at the size of the last one,
  // or of the shape's cut, makes no new picture. Without a laid-out skin the
  // engine paints nothing, and the dialog still shows its background colour.
  HDC canvas = m_skin.Canvas(Width(client), Height(client));
  if (!canvas) return;
  if (!m_skin.DrawOffScreen(canvas)) {
    fw::ScopedBrush background(::CreateSolidBrush(m_skin.BkColor()));
    ::FillRect(canvas, &client, background.Get());
  }
  DrawSkinExtra(canvas);
  RECT box{};
  if (::GetClipBox(target, &box) == ERROR || !::IntersectRect(&box, &box, &client)) box = client;
  ::BitBlt(target, box.left, box.top, Width(box), Height(box), canvas, box.left, box.top, SRCCOPY);
}

void CSkinDlg::OnSize(UINT type, int width, int height) {
  // A minimised dialog keeps its layout: a zero client area would put every
  // control at negative sizes.
  if (type != SIZE_MINIMIZED) {
    if (layoutHeld_ && !::IsWindowVisible(hwnd_)) {
      layoutOwed_ = true;
      // The frame takes the shape's style now: later sizes and placements
      // are computed from the frame the window will show with.
      m_skin.DropSizingFrame(hwnd_);
    } else {
      layoutOwed_ = false;
      m_skin.Resize(width, height);
    }
  }
  DefaultDialogProc(WM_SIZE, type, MAKELPARAM(width, height));
  ::UpdateWindow(hwnd_);
}

void CSkinDlg::OnLButtonDown(LPARAM lParam) {
  if (!movable_) return;
  // The move loop expects the point in screen coordinates.
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(hwnd_, &at);
  ::PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
}

void CSkinDlg::OnLButtonUp(LPARAM lParam) {
  if (!movable_) return;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(hwnd_, &at);
  ::PostMessageW(hwnd_, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(at.x, at.y));
}

void CSkinDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (!info) return;
  if (m_skin.MinWidth()) info->ptMinTrackSize.x = m_skin.MinWidth();
  if (m_skin.MinHeight()) info->ptMinTrackSize.y = m_skin.MinHeight();
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return;
  info->ptMaxTrackSize = POINT{Width(work), Height(work)};
  info->ptMaxSize = info->ptMaxTrackSize;
}

bool CSkinDlg::OnCtlColor(HDC dc, HWND child, LRESULT& result) {
  if (!transparentChildren_ || !child) return false;
  wchar_t className[64] = {};
  ::GetClassNameW(child, className, ARRAYSIZE(className));
  std::wstring name = className;
  if (name == L"Button" && IsBackgroundButton(child)) {
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetCtlBkBrush(static_cast<UINT>(::GetDlgCtrlID(child))));
    return true;
  }
  if (name == kTrackbarClass || name == L"Edit") return false;
  ::SetBkMode(dc, TRANSPARENT);
  result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
  return true;
}

void CSkinDlg::OnShowWindow(WPARAM show, LPARAM status) {
  DefaultDialogProc(WM_SHOWWINDOW, show, status);
  if (!fade_) return;
  if (show)
    m_skin.FadeIn();
  else
    m_skin.FadeOut();
}

HMENU CSkinDlg::FindPopupMenu(HMENU menu, UINT_PTR itemId) {
  if (!menu || !::IsMenu(menu)) return nullptr;
  int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    HMENU submenu = ::GetSubMenu(menu, position);
    if (submenu && reinterpret_cast<UINT_PTR>(submenu) == itemId) return menu;
    if (!submenu && static_cast<UINT_PTR>(::GetMenuItemID(menu, position)) == itemId) return menu;
    if (HMENU found = submenu ? FindPopupMenu(submenu, itemId) : nullptr) return found;
  }
  return nullptr;
}

bool CSkinDlg::OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT* measure) {
  if (!measure) return false;
  if (measure->CtlType == ODT_MENU) {
    HMENU menu = trackedMenu_ ? trackedMenu_ : ::GetMenu(hwnd_);
    BCMenu* owner = BCMenu::FromHandle(FindPopupMenu(menu, measure->itemID));
    return owner && owner->MeasureItem(measure);
  }
  // Direct children were offered the message already; look deeper.
  fw::Wnd* control = fw::Wnd::FromHandle(FindDescendant(hwnd_, controlId));
  LRESULT answer = 0;
  return control && control->Reflect(WM_MEASUREITEM, controlId, reinterpret_cast<LPARAM>(measure), answer);
}
