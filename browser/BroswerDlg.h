#pragma once
#include <windows.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "BrowserPage.h"
#include "ButtonST.h"
#include "ComboBoxExEx.h"
#include "CtrlBar.h"
#include "FrameDlg.h"
#include "ImageListHandle.h"
#include "KeyboardHook.h"
#include "NavigationPolicy.h"
#include "TabCtrl.h"
#include "TabCtrlNotify.h"
#include "TaskbarNotifier.h"
#include "UrlHistory.h"
#include "VolumeWarmUp.h"

class CSysConf;

// The browser's one main window: the tool row, the tab strip with its pages,
// the control bar and the notifier, run by timers. It owns the parent's
// policy and lock mode, in which nothing but the parent password ends or
// hides the window.
class CBroswerDlg : public CFrameDlg, public TabCtrlNotify, public CKeyboardHook, public INavigationPolicyHost {
 public:
  static const UINT_PTR kStartTimer = 1001;
  static const UINT_PTR kUpdateTimer = 1005;
  static const UINT_PTR kWizardTimer = 1006;
  static const UINT_PTR kRegisterTimer = 1007;
  // The update check's worker reports here: wParam 0 downloaded, 1 failed.
  static const UINT WM_UPDATE_DOWNLOADED = 2730;
  static const int kPagePoolSize = 30;
  // Longest text a hand-over may carry.
  static const DWORD kMaxHandOverBytes = 64 * 1024;
  static const wchar_t kFavoriteAddedText[];
  static const wchar_t kFavoriteKnownText[];
  static const wchar_t kBlankNotFavoriteText[];
  static const wchar_t kUpdateQuestion[];
  // Said when the parent's rules are in a file another program holds: the
  // window then does not come up.
  static const wchar_t kRulesUnreadableText[];

  // How the update page is opened: the shell's ShellExecuteW.
  using ShellOpenFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static ShellOpenFunction shellOpen;

  // New tabs the user opens show `newTabUrl`; creation sets it to the
  // address book's "navhome". A minute of the time limit lasts `minuteMs`.
  CBroswerDlg(CSysConf& settings, std::wstring& newTabUrl, HWND parent = nullptr,
              UINT minuteMs = CNavigationPolicy::kMinuteMs);
  ~CBroswerDlg() override;

  void SetStartUrl(const std::wstring& url) { startUrl_ = url; }
  CBrowserPage* OpenUrlInNewTab(const std::wstring& url);
  void UpdatePageInfo(Tab* tab, bool updateTitle, bool updateUrl);
  void OnTimeUp();

  // INavigationPolicyHost
  HWND PolicyWindow() const override { return Hwnd(); }
  void ShowNotify(const std::wstring& text) override;
  void CloseAllTabs() override;

  TabCtrl& Tabs() { return tabs_; }
  CTaskbarNotifier& Notifier() { return notifier_; }
  CNavigationPolicy& Policy() { return policy_; }
  CComboBoxExEx& UrlBox() { return urlBox_; }
  bool IsLocked() const { return locked_; }
  // The site roots read from the URL history, newest first.
  const std::vector<UrlHistoryEntry>& UrlHistory() const { return urlHistory_; }

  // Writes (non-zero) or deletes the user's policy value that disables the
  // task manager; 1.
  int SetTaskManagerDisabled(int flag);

  // Answers of the lock: whether the password is needed, and asking it.
  bool NeedsPassword() const;
  virtual bool AskPassword();

  bool CanMinimize() override;
  bool CanMaximize() override;
  int OnKeyCombination(int code, WPARAM message, const KBDLLHOOKSTRUCT* event) override;
  bool PreTranslateMessage(MSG& message) override;

 protected:
  // A page for a new tab; the page is created in the strip when inserted.
  virtual CBrowserPage* NewPage();
  // Internet Explorer's URL history; false when it cannot be read.
  virtual bool ReadUrlHistory(std::vector<UrlHistoryEntry>& entries);

  void DoDataExchange(fw::DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  void OnSkinLayout() override;

  // TabCtrlNotify
  void OnTabBeforeInsert(TabCtrl* ctrl, Tab* tab, const wchar_t* text, int image) override;
  void OnTabBeforeDelete(TabCtrl* ctrl, Tab* tab) override;
  void OnTabClose(TabCtrl* ctrl, const RECT* rect, POINT point) override;
  void OnTabCloseAll(TabCtrl* ctrl, const RECT* rect, POINT point) override;
  void OnTabSelChanged(TabCtrl* ctrl, Tab* tab) override;
  void OnTabDblClick(TabCtrl* ctrl, Tab* tab, POINT point) override;
  void OnTabDrag(TabCtrl* ctrl, Tab* tab, POINT point, bool outside) override;
  void OnTabAddButton(TabCtrl* ctrl, const RECT* rect, POINT point) override;

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  int OnCreate();
  void OnDestroy();
  void PurgeUnusedSnapshots();
  bool PaintIcon();
  void OnTimer(UINT_PTR id);
  void OnDelayedStart();
  void OnClose();
  bool OnSysCommand(WPARAM command);
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  void SetLockMode();
  void RegisterBlockedKeys();
  void CreateNotifier();
  void CenterOnScreen();
  void StartWizardOnce();
  void CheckDefaultBrowser();
  void WinHelp();

  // Page messages and the records of visited and favourite pages.
  CBrowserPage* PageFromMessage(LPARAM lParam) const;
  void OnTitleChanged(CBrowserPage* page);
  void OnNewWindow(IDispatch** browser, VARIANT_BOOL* cancel);
  void OnPageLoaded(CBrowserPage* page);
  void OnAddFavorite();
  void OnNewVersion(WPARAM failed);
  void Notify(const wchar_t* text);

  // The address box's list of visited sites.
  void LoadUrlHistory();
  void FillUrlBox();
  void GrowUrlBox(int pixels);

  void OnGo();
  void OnHome();
  void OnUrlSelChange();
  CBrowserPage* SelectedPage() const;
  void CloseTab(Tab* tab);
  void OpenNewTabPage() { OpenUrlInNewTab(newTabUrl_); }

  CSysConf& settings_;
  std::wstring& newTabUrl_;
  fw::ScopedIcon icon_;
  CButtonST go_, back_, forward_, home_, favorites_, refresh_, addFavorite_;
  CComboBoxExEx urlBox_;
  TabCtrl tabs_;
  CTaskbarNotifier notifier_;
  CNavigationPolicy policy_;
  std::wstring startUrl_;
  CVolumeWarmUp volumeWarmUp_;
  std::unique_ptr<CCtrlBar> ctrlBar_;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  std::list<CBrowserPage*> pagePool_;
  fw::ScopedImageList tabImages_, tabImagesDisabled_;
  bool locked_ = false;
  bool minimizeApproved_ = false;
  bool closeApproved_ = false;
  bool comInitialized_ = false;
  std::vector<UrlHistoryEntry> urlHistory_;
  int urlBoxGrowth_ = 0;
  int closedUrlBoxHeight_ = 0;
};
