#pragma once
#include "CHtmlCtrl.h"

// The object that receives CHtmlCtrlEx's events through its slots.
class CHtmlEventSink {
 public:
  virtual ~CHtmlEventSink() = default;
};

// The control with event slots, so a page receives the browser's events
// without deriving from the view. Addresses of the private "quommapp:"
// scheme are cancelled here and handed to the application command.
class CHtmlCtrlEx : public CHtmlCtrl {
 public:
  using BeforeNavigate2Slot = void (CHtmlEventSink::*)(IDispatch*, const std::wstring&, DWORD, const std::wstring&,
                                                       VARIANT*, const std::wstring&, bool&);
  using DocumentCompleteSlot = void (CHtmlEventSink::*)(IDispatch*, const std::wstring&);
  using NavigateErrorSlot = void (CHtmlEventSink::*)(IDispatch*, const std::wstring&, const std::wstring&, LONG,
                                                     bool&);
  using AppCommandSlot = void (CHtmlEventSink::*)(const std::wstring&);
  using TitleChangeSlot = void (CHtmlEventSink::*)(const std::wstring&);
  using NewWindow2Slot = LRESULT (CHtmlEventSink::*)(IDispatch**, VARIANT_BOOL*);
  using ProgressChangeSlot = LRESULT (CHtmlEventSink::*)(LONG, LONG);
  using FileDownloadSlot = void (CHtmlEventSink::*)(bool, bool&);
  using NavigateComplete2Slot = void (CHtmlEventSink::*)(IDispatch*, const std::wstring&);

  CHtmlCtrlEx() : CHtmlCtrl(1) {}
  ~CHtmlCtrlEx() override { Destroy(); }

  void SetEventSink(CHtmlEventSink* sink) { sink_ = sink; }
  CHtmlEventSink* GetEventSink() const { return sink_; }

  BeforeNavigate2Slot beforeNavigate2 = nullptr;
  DocumentCompleteSlot documentComplete = nullptr;
  NavigateErrorSlot navigateError = nullptr;
  AppCommandSlot appCommand = nullptr;
  TitleChangeSlot titleChange = nullptr;
  NewWindow2Slot newWindow2 = nullptr;
  ProgressChangeSlot progressChange = nullptr;
  FileDownloadSlot fileDownload = nullptr;
  NavigateComplete2Slot navigateComplete2 = nullptr;

  void OnAppCommand(const std::wstring& command) override;

 protected:
  void OnBeforeNavigate2(IDispatch* browser, const std::wstring& url, DWORD flags, const std::wstring& targetFrame,
                         VARIANT* postData, const std::wstring& headers, bool& cancel) override;
  void OnDocumentComplete(IDispatch* browser, const std::wstring& url) override;
  void OnNavigateError(IDispatch* browser, const std::wstring& url, const std::wstring& targetFrame, LONG status,
                       bool& cancel) override;
  void OnTitleChange(const std::wstring& title) override;
  void OnNewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel) override;
  void OnProgressChange(LONG progress, LONG progressMax) override;
  void OnFileDownload(bool activeDocument, bool& cancel) override;
  void OnNavigateComplete2(IDispatch* browser, const std::wstring& url) override;

 private:
  CHtmlEventSink* sink_ = nullptr;
};
