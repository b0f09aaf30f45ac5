// The control's window, its host answers and window.external.
#include "CHtmlCtrl.h"

#include "CDocHostSite.h"
#include "Handles.h"
#include "ProgramPage.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "SysConf.h"
#include "UrlsConf.h"
#include "WordsList.h"

namespace {

const UINT kScriptCaptionId = 2213;
const DISPID kWobbleWnd = 1;
const DISPID kIRead = 2;
const DISPID kIWrite = 3;

bool Down(int key) { return ::GetKeyState(key) < 0; }

bool IsModifier(WPARAM key) {
  switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LSHIFT: case VK_RSHIFT: case VK_LCONTROL:
    case VK_RCONTROL: case VK_LMENU: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_CAPITAL:
      return true;
    default:
      return false;
  }
}

// Keys that open the context menu, help, printing, bars or other programs.
bool IsLaunchKey(WPARAM key) {
  return key == VK_APPS || key == VK_HELP || key == VK_PRINT || key == VK_BROWSER_SEARCH ||
         key == VK_BROWSER_FAVORITES || (key >= VK_LAUNCH_MAIL && key <= VK_LAUNCH_APP2);
}

// With Ctrl: editing and caret keys in page fields, and the window's own
// new-tab keys, which it answers after the page.
bool KeepsWithCtrl(WPARAM key, bool shift) {
  switch (key) {
    case 'A': case 'C': case 'V': case 'X': case 'Y': case 'Z': case 'T':
    case VK_INSERT: case VK_BACK: case VK_TAB: case VK_RETURN: case VK_SPACE:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
      return true;
    case VK_DELETE:
      return !shift;  // Ctrl+Shift+Del opens the browsing-history dialog
    default:
      return false;
  }
}

// With Alt: back and forward, a list's drop-down, the window's system menu,
// and characters typed by their code on the number pad.
bool KeepsWithAlt(WPARAM key) {
  switch (key) {
    case VK_SPACE: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      return true;
    default:
      return key >= VK_NUMPAD0 && key <= VK_NUMPAD9;
  }
}

// Every browser version has its own accelerators for windows, bars and file
// and print dialogs, so a locked page keeps only the keys it needs: with Ctrl
// or Alt the lists above, of the function keys F5 (refresh) and Alt+F4
// (closing, which asks the password).
bool OpensWindowWhenLocked(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const WPARAM key = message.wParam;
  if (IsModifier(key)) return false;
  const bool ctrl = Down(VK_CONTROL), alt = Down(VK_MENU);
  if (key >= VK_F1 && key <= VK_F24) return !(key == VK_F5 || (key == VK_F4 && alt && !ctrl));
  if (IsLaunchKey(key)) return true;
  if (ctrl && alt) return false;  // AltGr: a character typed
  if (ctrl) return !KeepsWithCtrl(key, Down(VK_SHIFT));
  if (alt) return !KeepsWithAlt(key);
  return false;
}

}  // namespace

std::wstring ExternalReadPath(const std::wstring& name) {
  struct Entry {
    const wchar_t* name;
    std::wstring (*path)();
  };
  static const Entry kFiles[] = {{L"setting", GetSysConfPath},        {L"log", GetHistoryFilePath},
                                 {L"rec", GetRecommendListPath},      {L"ctrl", GetNavCtrlPath},
                                 {L"words", GetWordsPath},            {L"favs", GetFavoritesFilePath},
                                 {L"urls", GetUrlsConfPath}};
  for (const Entry& entry : kFiles)
    if (::_wcsicmp(name.c_str(), entry.name) == 0) return entry.path();
  return std::wstring();
}

CHtmlCtrl::CHtmlCtrl(int viewMode) : viewMode_(viewMode) {}

CHtmlCtrl::~CHtmlCtrl() {
  Destroy();
  CutLoose();
}

BOOL CHtmlCtrl::CreateFromStatic(UINT id, HWND parent) {
  HWND placeholder = ::GetDlgItem(parent, static_cast<int>(id));
  if (!placeholder) return FALSE;
  RECT rect{};
  ::GetWindowRect(placeholder, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  ::DestroyWindow(placeholder);
  return Create(rect, parent, id);
}

BOOL CHtmlCtrl::Create(const RECT& rect, HWND parent, UINT id) {
  if (!CreateView(parent, rect, id)) return FALSE;
  viewMode_ = 0;
  return TRUE;
}

IHTMLDocument2* CHtmlCtrl::GetHtmlDocument2() const {
  if (!Browser()) return nullptr;
  IDispatch* document = nullptr;
  if (FAILED(Browser()->get_Document(&document)) || !document) return nullptr;
  IHTMLDocument2* html = nullptr;
  if (FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)))) html = nullptr;
  document->Release();
  return html;
}

bool CHtmlCtrl::ShowsProgramPage() const { return IsProgramPage(LocationURL()); }

fw::OleControlSite* CHtmlCtrl::CreateControlSite() { return new CDocHostSite(Hwnd(), this); }

void CHtmlCtrl::OnControlClosing() {
  dropTarget_.Revoke();
  CutLoose();
}

void CHtmlCtrl::CutLoose() {
  dropTarget_.CutLoose();
  if (!external_) return;
  external_->Detach();
  external_->Release();
  external_ = nullptr;
}

// The browser's border is pushed outside the client area.
void CHtmlCtrl::PlaceControl(const RECT& client) {
  RECT rect = client;
  rect.right += 1;
  rect.bottom += 1;
  ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE, WS_EX_CLIENTEDGE);
  SetControlRect(rect);
}

void CHtmlCtrl::PreCreateWindow(fw::CreateArgs& args) {
  HtmlView::PreCreateWindow(args);
  args.style |= WS_CLIPSIBLINGS;
  if (viewMode_ == 1) args.exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

bool CHtmlCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      HtmlView::OnMessage(message, wParam, lParam, result);
      if (result != -1) dropTarget_.Register(Hwnd());
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(Hwnd(), &paint);
      fw::ScopedBrush white(::CreateSolidBrush(RGB(255, 255, 255)));
      ::FillRect(dc, &paint.rcPaint, white.Get());
      ::EndPaint(Hwnd(), &paint);
      result = 0;
      return true;
    }
    default:
      return HtmlView::OnMessage(message, wParam, lParam, result);
  }
}

HRESULT CHtmlCtrl::ShowMessage(HWND, LPOLESTR text, LPOLESTR caption, DWORD type, LPOLESTR, DWORD,
                               LRESULT* result) {
  fw::ScopedModule library(::LoadLibraryExW(L"SHDOCLC.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!library) return S_FALSE;
  wchar_t scriptCaption[256] = {};
  ::LoadStringW(library.Get(), kScriptCaptionId, scriptCaption, 256);
  const wchar_t* shown = caption ? caption : L"";
  if (scriptCaption[0] && ::wcscmp(shown, scriptCaption) == 0) shown = caption_.c_str();
  const int pressed = ::MessageBoxW(Hwnd(), text ? text : L"", shown, type);
  if (result) *result = pressed;
  return S_OK;
}

HRESULT CHtmlCtrl::OnCustomContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

// S_OK: handled here, no menu of the browser's; S_FALSE: the browser's menu.
HRESULT CHtmlCtrl::OnShowContextMenu(DWORD menuId, POINT* point, IUnknown* target, IDispatch* reserved) {
  switch (contextMenuMode_) {
    case 0:
      return S_OK;
    case 2:
      return menuId == CONTEXT_MENU_CONTROL || menuId == CONTEXT_MENU_TEXTSELECT ? S_FALSE : S_OK;
    case 3:
      return menuId == CONTEXT_MENU_TEXTSELECT ? S_FALSE : OnCustomContextMenu(menuId, point, target, reserved);
    default:
      return S_FALSE;
  }
}

HRESULT CHtmlCtrl::OnGetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->cbSize = sizeof(DOCHOSTUIINFO);
  info->dwFlags = (info->dwFlags & 0xFFD3FFF9) | 0x00240006;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}

HRESULT CHtmlCtrl::OnGetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return E_NOTIMPL;
}

HRESULT CHtmlCtrl::OnGetDropTarget(IDropTarget* browserTarget, IDropTarget** target) {
  if (!target) return E_POINTER;
  dropTarget_.KeepBrowserTarget(browserTarget);
  *target = dropTarget_.MyInterface();
  (*target)->AddRef();
  return S_OK;
}

// Only the program's own pages get the bridge to its files.
HRESULT CHtmlCtrl::OnGetExternal(IDispatch** external) {
  if (!external) return E_POINTER;
  *external = nullptr;
  if (!ShowsProgramPage()) return S_FALSE;
  if (!external_) external_ = new XExternal(*this);
  *external = external_;
  external_->AddRef();
  return S_OK;
}

HRESULT CHtmlCtrl::OnTranslateUrl(DWORD, OLECHAR*, OLECHAR** translated) {
  if (translated) *translated = nullptr;
  return S_FALSE;
}

HRESULT CHtmlCtrl::OnFilterDataObject(IDataObject*, IDataObject** filtered) {
  if (filtered) *filtered = nullptr;
  return S_FALSE;
}

// S_OK: swallowed here; E_NOTIMPL: the browser's own key.
HRESULT CHtmlCtrl::OnTranslateAccelerator(MSG* message, const GUID*, DWORD) {
  if (!locked_ || !message) return E_NOTIMPL;
  return OpensWindowWhenLocked(*message) ? S_OK : E_NOTIMPL;
}

std::wstring CHtmlCtrl::OnExternalRead(const std::wstring& name) {
  return readCallback_ ? readCallback_(name.c_str(), readUser_) : std::wstring();
}

void CHtmlCtrl::OnExternalWrite(const std::wstring& name, const std::wstring& value) {
  if (writeCallback_) writeCallback_(name.c_str(), value.c_str(), writeUser_);
}

STDMETHODIMP CHtmlCtrl::XExternal::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CHtmlCtrl::XExternal::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP CHtmlCtrl::XExternal::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP CHtmlCtrl::XExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  static const wchar_t* const kMethods[] = {L"WobbleWnd", L"IRead", L"IWrite"};
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (DISPID id = 0; id < 3; ++id)
    if (names[0] && ::_wcsicmp(names[0], kMethods[id]) == 0) ids[0] = id + 1;
  if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
  return hr;
}

namespace {

// A string argument, converted as script would; false when it is none.
bool StringArgument(const VARIANT& argument, std::wstring* text) {
  VARIANT converted;
  ::VariantInit(&converted);
  if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&argument), 0, VT_BSTR))) return false;
  text->assign(converted.bstrVal ? converted.bstrVal : L"", converted.bstrVal ? ::SysStringLen(converted.bstrVal) : 0);
  ::VariantClear(&converted);
  return true;
}

}  // namespace

// The page may have changed since GetExternal: the location is checked again.
STDMETHODIMP CHtmlCtrl::XExternal::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                          EXCEPINFO*, UINT* badArgument) {
  if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
  if (result) ::VariantInit(result);
  if (!owner_) return E_UNEXPECTED;
  const UINT expected = id == kWobbleWnd ? 0 : id == kIRead ? 1 : id == kIWrite ? 2 : ~0u;
  if (expected == ~0u) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs != expected) return DISP_E_BADPARAMCOUNT;
  if (id == kWobbleWnd) {
    ::MessageBoxW(owner_->Hwnd(), L"javascrip 通知程序弹出的窗口", L"", MB_OK);
    return S_OK;
  }
  if (!owner_->ShowsProgramPage()) return E_ACCESSDENIED;
  std::wstring first;
  std::wstring second;
  // Arguments arrive last first.
  for (UINT i = 0; i < expected; ++i) {
    if (!StringArgument(params->rgvarg[i], i + 1 == expected ? &first : &second)) {
      if (badArgument) *badArgument = i;
      return DISP_E_TYPEMISMATCH;
    }
  }
  if (id == kIWrite) {
    owner_->OnExternalWrite(first, second);
    return S_OK;
  }
  const std::wstring path = ExternalReadPath(first);
  if (result) {
    result->vt = VT_BSTR;
    result->bstrVal = ::SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
  }
  return S_OK;
}
