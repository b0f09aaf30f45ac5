#include "Wnd.h"

#include <commctrl.h>

#include <vector>

#include "CreationBinding.h"
#include "ModuleScope.h"

namespace fw {
namespace {

// Function statics: a static object of another file may make windows before
// this file's globals exist.
const wchar_t* ObjectProperty() {
  static std::wstring name;
  return ModuleScopedName(L"Hollin.Wnd", &name).c_str();
}
const wchar_t* WindowClass() {
  static std::wstring name;
  return ModuleScopedName(L"HollinWnd", &name).c_str();
}

bool RegisterFrameworkClass(WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(ThisModule(), WindowClass(), &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = WindowClass();
  return ::RegisterClassExW(&windowClass) != 0;
}

// The control a parent's notification is about, or nullptr.
HWND NotifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  if (fw::IsCtlColorMessage(message)) return reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_COMMAND: {
      // Some controls send a record's address here instead of their window.
      HWND control = reinterpret_cast<HWND>(lParam);
      return control && ::IsWindow(control) && ::IsChild(parent, control) ? control : nullptr;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      return item && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(wParam)) : nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

Wnd::~Wnd() {
  if (!hwnd_) return;
  bool destroy = ownsWindow_;
  // Unmap first: the derived part is already gone, so the messages of the
  // destruction must not reach this object.
  HWND hwnd = Detach();
  if (destroy) ::DestroyWindow(hwnd);
}

Wnd* Wnd::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Wnd*>(::GetPropW(hwnd, ObjectProperty())) : nullptr;
}

bool Wnd::Create(const CreateArgs& given) {
  if (hwnd_) return false;
  CreateArgs args = given;
  PreCreateWindow(args);
  const wchar_t* className = args.className;
  if (!className) {
    if (!RegisterFrameworkClass(&StaticWndProc)) return false;
    className = WindowClass();
  }
  HWND hwnd = nullptr;
  {
    CreationBinding binding(*this);
    hwnd = ::CreateWindowExW(args.exStyle, className, args.title, args.style, args.x, args.y, args.width,
                             args.height, args.parent, reinterpret_cast<HMENU>(args.idOrMenu), ThisModule(), this);
  }
  if (!hwnd) return false;
  if (hwnd_ != hwnd) {
    // Never bound (the creation hook could not be set): a window without its
    // object must not stay.
    ::DestroyWindow(hwnd);
    return false;
  }
  ownsWindow_ = true;
  PreSubclassWindow();
  return hwnd_ != nullptr;
}

bool Wnd::BindFromCreation(HWND hwnd) {
  if (!Attach(hwnd)) return false;
  ownsWindow_ = true;
  ReplaceProcedure();
  return true;
}

void Wnd::ReplaceProcedure() {
  auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC));
  // A window of the framework's own class already runs StaticWndProc.
  if (current == &StaticWndProc) return;
  previousProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
}

void Wnd::Rebind(HWND replacement) {
  if (hwnd_ && ::GetPropW(hwnd_, ObjectProperty()) == this) ::RemovePropW(hwnd_, ObjectProperty());
  hwnd_ = replacement;
  if (hwnd_) ::SetPropW(hwnd_, ObjectProperty(), this);
}

bool Wnd::Attach(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  hwnd_ = hwnd;
  ::SetPropW(hwnd, ObjectProperty(), this);
  return true;
}

HWND Wnd::Detach() {
  HWND hwnd = hwnd_;
  if (previousProc_) Unsubclass();
  if (hwnd_) Forget();
  return hwnd;
}

bool Wnd::Subclass(HWND hwnd) {
  if (!Attach(hwnd)) return false;
  PreSubclassWindow();
  if (!hwnd_) return false;
  ReplaceProcedure();
  return true;
}

void Wnd::Unsubclass() {
  if (!hwnd_ || !previousProc_) return;
  // Only put the old procedure back when nobody subclassed on top of us.
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == &StaticWndProc)
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  previousProc_ = nullptr;
  Forget();
}

void Wnd::Forget() {
  if (hwnd_ && ::GetPropW(hwnd_, ObjectProperty()) == this) ::RemovePropW(hwnd_, ObjectProperty());
  hwnd_ = nullptr;
  ownsWindow_ = false;
}

void Wnd::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Wnd::PreTranslateMessage(MSG&) { return false; }

std::wstring Wnd::GetText() const {
  int length = ::GetWindowTextLengthW(hwnd_);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = ::GetWindowTextW(hwnd_, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

RECT Wnd::ClientRect() const {
  RECT rect{};
  ::GetClientRect(hwnd_, &rect);
  return rect;
}

RECT Wnd::WindowRect() const {
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  return rect;
}

LRESULT CALLBACK Wnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Wnd* self = FromHandle(hwnd);
  if (!self && message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<Wnd*>(create->lpCreateParams);
    if (self && !self->hwnd_) self->Attach(hwnd);
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Route(message, wParam, lParam);
}

LRESULT Wnd::Route(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = WndProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    previousProc_ = nullptr;
    Forget();
    OnFinalMessage();
  }
  return result;
}

LRESULT Wnd::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToChild(message, wParam, lParam, result)) return result;
  if (OnMessage(message, wParam, lParam, result)) return result;
  return DefaultProc(message, wParam, lParam);
}

bool Wnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = NotifyingChild(hwnd_, message, wParam, lParam);
  if (!child || child == hwnd_) return false;
  Wnd* control = FromHandle(child);
  return control && control->OnReflect(message, wParam, lParam, result);
}

bool Wnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
      return lParam && OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    default:
      return false;
  }
}

bool Wnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool Wnd::OnCommand(UINT, UINT, HWND) { return false; }
bool Wnd::OnNotify(NMHDR&, LRESULT&) { return false; }

LRESULT Wnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previousProc_) return ::CallWindowProcW(previousProc_, hwnd_, message, wParam, lParam);
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool IsCtlColorMessage(UINT message) {
  switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

}  // namespace fw
