#pragma once
#include <windows.h>

#include <string>

// The one window base. The object of a window is found through a window
// property set when the window is created (or on Attach/Subclass) and
// forgotten at WM_NCDESTROY; nothing above this class touches the map.
//
// How a window takes its object, in order:
//   Create(args)        PreCreateWindow(args) may change the arguments (a
//                       style the class reads only at creation); the window
//                       is bound before its first message, so WM_NCCREATE,
//                       WM_CREATE and WM_SETFONT reach WndProc; once made,
//                       PreSubclassWindow runs.
//   Subclass(hwnd),     PreSubclassWindow runs on the bound window, then its
//   SubclassDlgItem     procedure is replaced.
// A control puts its own set-up (owner-draw style, notify style, font,
// tooltip) in PreSubclassWindow, so binding it either way, or through a
// dialog's data exchange, gives the same control:
//
//   class CLink : public fw::Wnd {
//    protected:
//     void PreSubclassWindow() override {
//       ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, ::GetWindowLongPtrW(Hwnd(), GWL_STYLE) | SS_NOTIFY);
//     }
//   };
namespace fw {

// The module that holds the calling code: inside a DLL this is the DLL, so
// its own dialog templates and resources are found.
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct CreateArgs {
  HWND parent = nullptr;
  const wchar_t* title = L"";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  UINT_PTR idOrMenu = 0;  // child id, or an HMENU for top-level windows
  const wchar_t* className = nullptr;  // nullptr: the framework's own class
};

class Wnd {
 public:
  Wnd() = default;
  virtual ~Wnd();
  Wnd(const Wnd&) = delete;
  Wnd& operator=(const Wnd&) = delete;

  HWND Hwnd() const { return hwnd_; }
  operator HWND() const { return hwnd_; }
  static Wnd* FromHandle(HWND hwnd);

  // Creates a window of the framework's class (or args.className) bound to
  // this object from its first message on.
  bool Create(const CreateArgs& args);
  // Takes over an existing control: its messages reach WndProc first, the
  // rest go to its original procedure.
  bool Subclass(HWND hwnd);
  bool SubclassDlgItem(int id, HWND dialog) { return Subclass(::GetDlgItem(dialog, id)); }
  void Unsubclass();
  // Maps a window to this object without changing its procedure; the caller
  // routes its messages (a window lent for the length of a call).
  bool Attach(HWND hwnd);
  HWND Detach();
  void Destroy();

  // A message about to be dispatched; true when this window consumed it. The
  // message loop asks the target window and then each of its parents.
  virtual bool PreTranslateMessage(MSG& message);
  // Hands a notification about this control to it, as its parent would; used
  // for controls deeper than the parent's own children.
  bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return OnReflect(message, wParam, lParam, result);
  }

  std::wstring GetText() const;
  void SetText(const std::wstring& text) { ::SetWindowTextW(hwnd_, text.c_str()); }
  RECT ClientRect() const;
  RECT WindowRect() const;
  void Invalidate(bool erase = true) { ::InvalidateRect(hwnd_, nullptr, erase); }
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(hwnd_, message, w, l); }

 protected:
  // Every message of the window. The default offers WM_COMMAND, WM_NOTIFY,
  // owner-draw, WM_CTLCOLOR* and scroll messages to the child control's own
  // object first (reflection), then calls OnMessage, then DefaultProc.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The creation arguments of Create, before the window is made.
  virtual void PreCreateWindow(CreateArgs&) {}
  // The object has just taken its window (Hwnd() is set): from Subclass
  // before the procedure is replaced, from Create once the window is made.
  virtual void PreSubclassWindow() {}
  // For a pre-subclass step that had to make its window again: the object
  // takes `replacement` instead; the caller destroys the old window.
  void Rebind(HWND replacement);
  // Handlers; true means handled, with the answer in `result`.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A notification this control sent to its parent, handed back to it.
  virtual bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  virtual bool OnCommand(UINT id, UINT code, HWND control);
  virtual bool OnNotify(NMHDR& header, LRESULT& result);
  // The window is gone and no longer mapped to this object.
  virtual void OnFinalMessage() {}
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Offers a parent's message to the child control's object it concerns.
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  friend class Dialog;
  friend class CreationBinding;
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Maps a window that is being created and routes its procedure here,
  // before the window's first message.
  bool BindFromCreation(HWND hwnd);
  void ReplaceProcedure();
  LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);
  void Forget();

  HWND hwnd_ = nullptr;
  WNDPROC previousProc_ = nullptr;
  // The window was made by this object (Create, or a dialog it opened), so it
  // must not outlive the object.
  bool ownsWindow_ = false;
};

// WM_CTLCOLOR* messages, which ask a parent for a control's colours.
bool IsCtlColorMessage(UINT message);

}  // namespace fw
