#pragma once
#include <windows.h>
#include <mshtmhst.h>
#include <mshtml.h>

#include <string>
#include <vector>

#include "CMyOleDropTarget.h"
#include "HtmlView.h"
#include "TiedComObject.h"

// The browser control as the child shows it: host flags, context menus, the
// caption of script boxes, drag and drop, window.external and the security
// answers (through CDocHostSite). window.external and the permissive URL
// policy are given only to pages of the program itself.
class CHtmlCtrl : public fw::HtmlView {
 public:
  using ReadCallback = std::wstring (*)(const wchar_t* name, LONG_PTR user);
  using WriteCallback = void (*)(const wchar_t* name, const wchar_t* value, LONG_PTR user);

  explicit CHtmlCtrl(int viewMode = 1);
  ~CHtmlCtrl() override;

  // Replaces the parent's child `id` by the control at its place; false when
  // the child is missing or the control cannot be made.
  BOOL CreateFromStatic(UINT id, HWND parent);
  BOOL Create(const RECT& rect, HWND parent, UINT id);

  void SetContextMenuMode(int mode) { contextMenuMode_ = mode; }
  int GetContextMenuMode() const { return contextMenuMode_; }
  void SetCaption(const std::wstring& caption) { caption_ = caption; }
  const std::wstring& GetCaption() const { return caption_; }
  int GetViewMode() const { return viewMode_; }
  // Lock mode: the control's own keys open no window or dialog, and no file
  // is downloaded.
  void SetLocked(bool locked) { locked_ = locked; }
  bool IsLocked() const { return locked_; }
  void SetReadCallback(LONG_PTR user, ReadCallback callback) {
    readUser_ = user;
    readCallback_ = callback;
  }
  void SetWriteCallback(LONG_PTR user, WriteCallback callback) {
    writeUser_ = user;
    writeCallback_ = callback;
  }
  // The document with a reference, or nullptr.
  IHTMLDocument2* GetHtmlDocument2() const;
  // The location is a page of the program itself.
  bool ShowsProgramPage() const;
  CMyOleDropTarget& DropTarget() { return dropTarget_; }

  virtual HRESULT ShowMessage(HWND window, LPOLESTR text, LPOLESTR caption, DWORD type, LPOLESTR helpFile,
                              DWORD helpContext, LRESULT* result);
  virtual HRESULT OnCustomContextMenu(DWORD menuId, POINT* point, IUnknown* target, IDispatch* reserved);
  virtual void OnAppCommand(const std::wstring&) {}
  virtual std::wstring OnExternalRead(const std::wstring& name);
  virtual void OnExternalWrite(const std::wstring& name, const std::wstring& value);

  // IDocHostUIHandler, answered by the control.
  virtual HRESULT OnShowContextMenu(DWORD menuId, POINT* point, IUnknown* target, IDispatch* reserved);
  virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* info);
  virtual HRESULT OnShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                           IOleInPlaceUIWindow*) { return S_FALSE; }
  virtual HRESULT OnHideUI() { return S_OK; }
  virtual HRESULT OnUpdateUI() { return S_OK; }
  virtual HRESULT OnEnableModeless(BOOL) { return S_OK; }
  virtual HRESULT OnDocWindowActivate(BOOL) { return S_OK; }
  virtual HRESULT OnFrameWindowActivate(BOOL) { return S_OK; }
  virtual HRESULT OnResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
  virtual HRESULT OnGetOptionKeyPath(LPOLESTR* key, DWORD);
  virtual HRESULT OnGetDropTarget(IDropTarget* browserTarget, IDropTarget** target);
  virtual HRESULT OnGetExternal(IDispatch** external);
  virtual HRESULT OnTranslateUrl(DWORD, OLECHAR*, OLECHAR** translated);
  virtual HRESULT OnFilterDataObject(IDataObject*, IDataObject** filtered);
  virtual HRESULT OnTranslateAccelerator(MSG* message, const GUID* group, DWORD command);

  // Unused page and form helpers. Values of named fields: INPUT (TEXT,
  // HIDDEN, CHECKBOX, RADIO), SELECT (its index), TEXTAREA.
  bool GetFieldValue(const std::wstring& name, std::wstring* value) const;
  bool SetFieldValue(const std::wstring& name, const std::wstring& value) const;
  IHTMLElement* GetElement(const std::wstring& name) const;
  IHTMLStyle* GetElementStyle(const std::wstring& name) const;
  bool SetElementHtml(const std::wstring& name, const std::wstring& html) const;
  bool ClickElement(const std::wstring& name) const;
  // A script function of the page by name with zero to three arguments.
  bool CallScript(const std::wstring& function, const std::wstring* arguments, int count, VARIANT* result);
  // The names of the functions the page's scripts define.
  std::vector<std::wstring> ScriptFunctionNames() const;
  static std::wstring ErrorText(DWORD error);
  // What the last helper that failed reported.
  const std::wstring& LastHelperError() const { return helperError_; }

 protected:
  fw::OleControlSite* CreateControlSite() override;
  void OnControlClosing() override;
  void PlaceControl(const RECT& client) override;
  void PreCreateWindow(fw::CreateArgs& args) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnTitleChange(const std::wstring&) override {}

 private:
  // window.external: WobbleWnd (1), IRead (2), IWrite (3). It lives by its
  // count, since the browser may release it after the page is gone; cut
  // loose from the control, every call fails with E_UNEXPECTED.
  class XExternal final : public fw::TiedComObject<IDispatch, CHtmlCtrl> {
   public:
    using TiedComObject::TiedComObject;
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT* badArgument) override;

   private:
    ~XExternal() override = default;
  };

  // The page is closing: what was handed to the browser answers no more.
  void CutLoose();

  int contextMenuMode_ = 1;
  std::wstring caption_ = L"Tavik HTMLVIEW";
  int viewMode_;
  bool locked_ = false;
  CMyOleDropTarget dropTarget_;
  ReadCallback readCallback_ = nullptr;
  WriteCallback writeCallback_ = nullptr;
  LONG_PTR readUser_ = 0;
  LONG_PTR writeUser_ = 0;
  XExternal* external_ = nullptr;  // made when the browser first asks
  mutable std::wstring helperError_;
};

// The path window.external's IRead gives for a data file name ("setting",
// "log", "rec", "ctrl", "words", "favs", "urls", no case); "" for others.
std::wstring ExternalReadPath(const std::wstring& name);
