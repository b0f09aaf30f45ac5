#include "BroswerDlg.h"

#include <objbase.h>
#include <windowsx.h>

#include <cwctype>

#include "AboutDlg.h"
#include "AuthDlg.h"
#include "BroswerDlgResources.h"
#include "CommHelper.h"
#include "CoreResources.h"
#include "CheckDefaultBroswer.h"
#include "BroswerRegister.h"
#include "CtrlBarServices.h"
#include "DataExchange.h"
#include "ProgramStarter.h"
#include "RegKey.h"
#include "UpdateCheck.h"
#include "SettingFlag.h"
#include "SkinFileCache.h"
#include "SkinItem.h"
#include "StringConv.h"
#include "SysConf.h"
#include "HandOver.h"
#include "IETab.h"
#include "App.h"
#include "TabStripResources.h"
#include "Url.h"
#include "UrlsConf.h"
#include "WebUrl.h"

namespace {

const wchar_t kBlank[] = L"about:blank";

bool IsBlank(const std::wstring& url) { return ::lstrcmpiW(url.c_str(), kBlank) == 0; }

// Timers 1001, 1005, 1006 and 1007: the delayed start, the update check,
// the wizard and the registration check.
const UINT kStartDelayMs = 100;
const UINT kSecondMs = 1000;

// The notifier's close button; set before it has a picture, so empty.
const RECT kNotifierCloseButton{70, 140, -10, -20};

// The audio devices load while the window is being built.
CVolumeWarmUp StartVolumeWarmUp() {
  const CtrlBarServices services = CtrlBarServices::Defaults();
  return CVolumeWarmUp(services.makeVolume, services.freeVolume);
}

}  // namespace

CBroswerDlg::CBroswerDlg(CSysConf& settings, std::wstring& newTabUrl, HWND parent, UINT minuteMs)
    : CFrameDlg(IDD_BROSWER_DIALOG, parent),
      settings_(settings),
      newTabUrl_(newTabUrl),
      icon_(static_cast<HICON>(::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                                            LR_DEFAULTSIZE))),
      tabs_(this, IDB_TAB_BUTTONS, L"微软雅黑", 120),
      policy_(settings, *this, CSharedState(), minuteMs),
      volumeWarmUp_(StartVolumeWarmUp()) {
  comInitialized_ = SUCCEEDED(::CoInitialize(nullptr));
  m_strSkinElement = L"maindlg";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
}

CBroswerDlg::~CBroswerDlg() {
  // The hook's thread asks this object until the hook is gone.
  Uninstall();
  for (CBrowserPage* page : pagePool_) delete page;
  if (comInitialized_) ::CoUninitialize();
}

CBrowserPage* CBroswerDlg::NewPage() { return tabs_.NewIETab(); }

void CBroswerDlg::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDC_URLBOX, urlBox_);
  exchange.Control(IDC_GO, go_);
  exchange.Control(IDC_GOBACK, back_);
  exchange.Control(IDC_GOFORWARD, forward_);
  exchange.Control(IDC_HOME, home_);
  exchange.Control(IDC_FAVORITES, favorites_);
  exchange.Control(IDC_REFRESH, refresh_);
  exchange.Control(IDC_ADDFAVORITE, addFavorite_);
}

int CBroswerDlg::OnCreate() {
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE, ::GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_CLIPCHILDREN);
  // Lock mode's window is topmost before it owns any popup: Wine leaves a
  // window that owns a topmost tooltip out of the topmost band.
  if (settings_.fullscreen_always)
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!tabs_.Create(hwnd_, WS_CHILD | WS_VISIBLE, RECT{}, IDC_TABCTRL)) return -1;
  if (settings_.hide_single_tab) tabs_.SetHideSingleTab(true);
  // Layout 0 puts the tabs above the pages, 1 below.
  tabs_.SetLayout(settings_.show_tab_top ? 0 : 1);
  newTabUrl_ = GetNavHomeUrl();
  settings_.Load();
  if (!settings_.UnreadablePath().empty() || policy_.Sites().Unreadable()) {
    ::MessageBoxW(nullptr, kRulesUnreadableText, L"提示", MB_OK | MB_ICONWARNING);
    return -1;
  }
  tabImages_.Reset(::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
  tabImagesDisabled_.Reset(::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
  for (auto [list, id] : {std::pair<HIMAGELIST, UINT>{tabImages_.Get(), IDB_TAB_IMAGES},
                          {tabImagesDisabled_.Get(), IDB_TAB_IMAGES_DISABLED}}) {
    fw::ScopedBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (list && bitmap) ::ImageList_AddMasked(list, bitmap.Get(), RGB(255, 0, 255));
  }
  tabs_.SetImageLists(tabImages_.Get(), tabImagesDisabled_.Get());
  return 0;
}

BOOL CBroswerDlg::OnInitDialog() {
  if (fw::App* app = fw::App::Current()) app->SetMainWindow(hwnd_);
  // The bar's, the window's and the tab strip's skins come from one file.
  CSkinFileCache::Scope skinFiles;
  if (settings_.open_btn_sound) {
    for (CButtonST* button : {&go_, &addFavorite_, &back_, &forward_, &home_, &favorites_, &refresh_})
      button->EnableSound(TRUE);
  }
  ::ShowWindow(hwnd_, SW_HIDE);
  // Sized to the skin, centred, then maximised or locked: laid out once.
  LayOutOnceAtStart();
  volumeWarmUp_.WaitUntilLoaded();
  ctrlBar_ = std::make_unique<CCtrlBar>(settings_, hwnd_);
  volumeWarmUp_.Finish();
  ctrlBar_->CreateModeless(hwnd_);
  ::ShowWindow(ctrlBar_->Hwnd(), SW_SHOW);
  CFrameDlg::OnInitDialog();
  // Sized once the skin is loaded: before, the engine holds no size yet.
  ::SetWindowPos(hwnd_, nullptr, 0, 0, m_skin.Width(), m_skin.Height(), SWP_NOZORDER);
  CenterOnScreen();
  Install(fw::ThisModule());

  std::wstring start = startUrl_;
  if (start.empty()) start = settings_.home_url;
  if (start.empty()) start = GetNavHomeUrl();
  OpenUrlInNewTab(kBlank);

  screenWidth_ = ::GetSystemMetrics(SM_CXSCREEN);
  screenHeight_ = ::GetSystemMetrics(SM_CYSCREEN);
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  if (HWND edit = ::GetWindow(urlBox_.Hwnd(), GW_CHILD)) {
    RECT r{};
    ::GetWindowRect(edit, &r);
    ::MoveWindow(edit, 2, 4, 10, r.bottom - r.top, TRUE);
  }
  ::SetTimer(hwnd_, kStartTimer, kStartDelayMs, nullptr);
  ::SetFocus(urlBox_.Hwnd());
  CreateNotifier();

  if (settings_.fullscreen_always) {
    if (settings_.block_key) RegisterBlockedKeys();
    SetLockMode();
  } else {
    OnMaxButton();
  }
  if (!policy_.CheckAtStart()) {
    ::SetWindowTextW(urlBox_.Hwnd(), start.c_str());
    OnGo();
  }
  policy_.KeepRegistered();
  return TRUE;
}

void CBroswerDlg::CreateNotifier() {
  const tagSkinItem* popup = m_skin.FindItem(L"popup");
  notifier_.SetCloseButtonRect(kNotifierCloseButton);
  if (!popup || !popup->normal) return;
  if (!notifier_.Create(hwnd_)) return;
  // The notifier keeps its own copy of the picture.
  notifier_.SetSkin(popup->normal.Get(), 255, 0, 255);
  BITMAP info{};
  ::GetObjectW(popup->normal.Get(), sizeof(info), &info);
  // Plain text, bold under the pointer.
  notifier_.SetTextFont(popup->fonttype.c_str(), popup->fontsize, 0, 1);
  notifier_.SetTextColor(popup->normalclr, popup->onclr);
  notifier_.SetTextRect(RECT{popup->left, popup->top, info.bmWidth - 10, info.bmHeight - 20});
}

void CBroswerDlg::BindSkinItems() {
  CFrameDlg::BindSkinItems();
  SetSkinItemWnd(L"urledit", urlBox_.Hwnd());
  SetSkinItemWnd(L"tab", tabs_.Hwnd());
  if (ctrlBar_) SetSkinItemWnd(L"ctrlbar", ctrlBar_->Hwnd());
  const std::pair<const wchar_t*, CButtonST*> buttons[] = {
      {L"gobtn", &go_},       {L"addbtn", &addFavorite_}, {L"goback", &back_},      {L"goforward", &forward_},
      {L"home", &home_},      {L"fav", &favorites_},      {L"refresh", &refresh_}};
  for (const auto& [item, button] : buttons) {
    SetButtonSkin(item, button);
    SetSkinItemWnd(item, button->Hwnd());
  }
  for (const wchar_t* piece :
       {L"top_left", L"top_mid", L"top_right", L"bottom_left", L"bottom_right", L"mid_left", L"mid_right"})
    m_skin.ShowItem(piece, true);
  tabs_.SetSkin(L"default");
  if (const tagSkinItem* back = m_skin.FindItem(L"urledit_bg")) {
    urlBox_.SetBitmaps(back->normal.Get(), back->hover.Get(), back->down.Get());
    urlBox_.SetColors(back->normalclr, back->colorbg, back->linewidth);
    urlBox_.SetTextFont(back->fontsize, back->fonttype.c_str());
  }
}

void CBroswerDlg::CenterOnScreen() {
  RECT work{}, window = WindowRect();
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = window.right - window.left, height = window.bottom - window.top;
  ::SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// --- timers ---------------------------------------------------------------
void CBroswerDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kStartTimer:
      ::KillTimer(hwnd_, kStartTimer);
      OnDelayedStart();
      break;
    case kUpdateTimer:
      // Tried again every second until a check is under way.
      if (StartUpdateCheck(hwnd_, WM_UPDATE_DOWNLOADED)) ::KillTimer(hwnd_, kUpdateTimer);
      break;
    case CNavigationPolicy::kMinuteTimer:
      policy_.OnMinuteTick();
      break;
    case kWizardTimer:
      ::KillTimer(hwnd_, kWizardTimer);
      StartWizardOnce();
      break;
    case kRegisterTimer:
      policy_.KeepRegistered();
      break;
    default:
      break;
  }
}

void CBroswerDlg::OnDelayedStart() {
  ::ShowWindow(hwnd_, SW_SHOW);
  // Some window managers take a hidden window's z-order only once it shows.
  if (locked_) ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowTextW(hwnd_, m_skin.GetItemCaption(L"appshowname").c_str());
  // Painted before the pages are made: the rest of the start runs in this
  // message, and the window would wait for it with its paint.
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (int i = 0; i < kPagePoolSize; ++i) pagePool_.push_back(NewPage());
  LoadUrlHistory();
  // Counting and the registration run before the question: the child may
  // browse while it stays open.
  policy_.StartCounting();
  ::SetTimer(hwnd_, kRegisterTimer, kSecondMs, nullptr);
  CheckDefaultBrowser();
  if (settings_.auto_update) ::SetTimer(hwnd_, kUpdateTimer, kSecondMs, nullptr);
  ::SetTimer(hwnd_, kWizardTimer, kSecondMs, nullptr);
}

void CBroswerDlg::StartWizardOnce() {
  if (!settings_.first_run) return;
  CProgramStarter::Start(GetThisModuleDir() + L"\\Wizard.exe", L"");
  SaveSettingFlag(settings_, &CSysConf::first_run, 0);
}

void CBroswerDlg::CheckDefaultBrowser() {
  if (!settings_.start_check) return;
  CBroswerRegister* registration = NewBroswerRegister(NewBroswerRegisterImpl());
  if (registration && !registration->IsDefault()) {
    CCheckDefaultBroswer question(settings_, hwnd_);
    if (question.DoModal(hwnd_) == IDOK) registration->Register();
  }
  DestroyBroswerRegister(registration);
}

// --- tabs -----------------------------------------------------------------
CBrowserPage* CBroswerDlg::OpenUrlInNewTab(const std::wstring& url) {
  CBrowserPage* page = nullptr;
  if (!pagePool_.empty()) {
    page = pagePool_.front();
    pagePool_.pop_front();
  } else {
    page = NewPage();
  }
  if (!page) return nullptr;
  if (!tabs_.AddTab(page, L"", -1)) {
    delete page;
    return nullptr;
  }
  tabs_.SelectTab(page);
  tabs_.Update(true);
  page->Navigate(url);
  UpdatePageInfo(page, true, true);
  ::SetFocus(urlBox_.Hwnd());
  return page;
}

CBrowserPage* CBroswerDlg::SelectedPage() const { return static_cast<CBrowserPage*>(tabs_.GetSelectedTab()); }

void CBroswerDlg::UpdatePageInfo(Tab* tab, bool updateTitle, bool updateUrl) {
  auto* page = static_cast<CBrowserPage*>(tab ? tab : tabs_.GetSelectedTab());
  if (!page) return;
  if (updateTitle) {
    const std::wstring title = page->GetTitle();
    ::SetWindowTextW(hwnd_, title.c_str());
    tabs_.SetTabTooltipText(page, (title + L"\r\n" + page->GetURL()).c_str());
  }
  if (updateUrl) ::SetWindowTextW(urlBox_.Hwnd(), page->GetURL().c_str());
}

// The first tab opens before SetLockMode runs: the setting decides, and a
// window once locked stays so.
void CBroswerDlg::OnTabBeforeInsert(TabCtrl* ctrl, Tab* tab, const wchar_t*, int) {
  auto* page = static_cast<CBrowserPage*>(tab);
  page->CreatePage(ctrl->Hwnd());
  page->SetLocked(locked_ || settings_.fullscreen_always);
}

void CBroswerDlg::OnTabBeforeDelete(TabCtrl*, Tab* tab) { static_cast<CBrowserPage*>(tab)->DestroyPage(); }

// The last tab stays: it goes back to the blank page instead.
void CBroswerDlg::CloseTab(Tab* tab) {
  if (!tab) return;
  if (tabs_.GetCount() < 2) {
    static_cast<CBrowserPage*>(tab)->Navigate(kBlank);
  } else {
    tabs_.DeleteTab(tab);
    tabs_.Update(true);
  }
  UpdatePageInfo(nullptr, true, true);
}

void CBroswerDlg::OnTabClose(TabCtrl*, const RECT*, POINT) { CloseTab(tabs_.GetSelectedTab()); }

void CBroswerDlg::OnTabCloseAll(TabCtrl*, const RECT*, POINT) { CloseAllTabs(); }

void CBroswerDlg::OnTabSelChanged(TabCtrl*, Tab* tab) { UpdatePageInfo(tab, true, true); }

void CBroswerDlg::OnTabDblClick(TabCtrl*, Tab* tab, POINT) {
  if (!tab) {
    if (settings_.dbnewtab) OpenNewTabPage();
  } else if (settings_.dbclose) {
    CloseTab(tab);
  }
}

void CBroswerDlg::OnTabDrag(TabCtrl*, Tab* tab, POINT, bool outside) {
  if (outside) CloseTab(tab);
}

void CBroswerDlg::OnTabAddButton(TabCtrl*, const RECT*, POINT) { OpenNewTabPage(); }

void CBroswerDlg::CloseAllTabs() {
  tabs_.DeleteAllTabs();
  OpenUrlInNewTab(kBlank);
  tabs_.Update(true);
}

void CBroswerDlg::ShowNotify(const std::wstring& text) {
  if (notifier_.Hwnd()) notifier_.ShowText(text, 1000, 5000, 500);
}

void CBroswerDlg::OnTimeUp() { policy_.OnTimeUp(); }

// --- navigation -------------------------------------------------------------
void CBroswerDlg::OnGo() {
  CBrowserPage* page = SelectedPage();
  std::wstring text = urlBox_.GetText();
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  if (text.empty()) return;
  if (!IsBlank(text)) {
    if (text.find(L"://") == std::wstring::npos) {
      text = L"http://" + text;
      ::SetWindowTextW(urlBox_.Hwnd(), text.c_str());
    }
    if (!fw::Url::Parse(text)) return;
  }
  if (page) page->Navigate(text);
}

void CBroswerDlg::OnHome() {
  CBrowserPage* page = SelectedPage();
  if (!page) return;
  page->Navigate(settings_.home_url.empty() ? GetNavHomeUrl() : settings_.home_url);
  UpdatePageInfo(page, true, true);
}

void CBroswerDlg::OnUrlSelChange() {
  const int index = static_cast<int>(urlBox_.Send(CB_GETCURSEL));
  CBrowserPage* page = SelectedPage();
  if (index < 0 || !page) return;
  const int length = static_cast<int>(urlBox_.Send(CB_GETLBTEXTLEN, index));
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  urlBox_.Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  page->Navigate(text);
}

void CBroswerDlg::WinHelp() { StartHelp(GetThisModuleDir()); }

// --- hand-over ----------------------------------------------------------------
LRESULT CBroswerDlg::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data || data->dwData != COPYDATA_OPEN_URL) return 1;
  // Any process may send this: nothing is read from a missing buffer, and an
  // oversized text opens nothing.
  if (!data->lpData || data->cbData > kMaxHandOverBytes) return 1;
  const char* bytes = static_cast<const char*>(data->lpData);
  size_t length = 0;
  while (length < data->cbData && bytes[length]) ++length;
  const std::wstring url = fw::ToWide(std::string_view(bytes, length), CP_ACP);
  return OpenUrlInNewTab(url) ? 0 : 1;
}

// --- lock mode ------------------------------------------------------------------
void CBroswerDlg::RegisterBlockedKeys() {
  const int keys[][3] = {{0x5B, -1, -1}, {0x5B, 0x64, -1}, {0x5B, 0x44, -1}, {0x5C, -1, -1},
                         {0x5C, 0x64, -1}, {0x5C, 0x44, -1}, {0x12, 0x09, -1}, {0x11, 0x1B, -1},
                         {0x12, 0x1B, -1}, {0x11, 0x12, 0x2E}};
  for (const auto& k : keys) AddKeyCombination(k[0], k[1], k[2]);
}

void CBroswerDlg::SetLockMode() {
  RECT window = WindowRect(), client = ClientRect();
  ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = RECT{window.left - client.left, window.top - client.top,
                                    screenWidth_ + window.right - client.right,
                                    screenHeight_ + window.bottom - client.bottom};
  ::SetParent(hwnd_, nullptr);
  ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOREDRAW);
  // The notifier must show above a topmost window.
  if (notifier_.Hwnd())
    ::SetWindowPos(notifier_.Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPlacement(hwnd_, &placement);
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE,
                      ::GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_THICKFRAME | WS_MAXIMIZEBOX));
  locked_ = true;
}

bool CBroswerDlg::NeedsPassword() const { return settings_.fullscreen_always && settings_.exit_need_pwd; }

bool CBroswerDlg::AskPassword() {
  if (!NeedsPassword()) return true;
  CAuthDlg dialog(settings_);
  dialog.DoModal(nullptr);
  return dialog.IsPassed() != 0;
}

bool CBroswerDlg::CanMinimize() {
  if (!AskPassword()) return false;
  // The min button's own SC_MINIMIZE follows: it is not asked again.
  minimizeApproved_ = true;
  return true;
}

bool CBroswerDlg::CanMaximize() { return !locked_; }

// Asked on the hook's thread while the desktop's keyboard waits: IsIconic
// only reads the window's state, nothing is sent to its busy thread.
int CBroswerDlg::OnKeyCombination(int, WPARAM, const KBDLLHOOKSTRUCT*) { return ::IsIconic(hwnd_) ? 1 : 0; }

void CBroswerDlg::OnClose() {
  if (!closeApproved_ && !AskPassword()) return;
  EndDialog(IDCANCEL);
}

// OK and Cancel (Enter, Esc, or posted by anyone) end the window only as a
// close does.
void CBroswerDlg::OnOK() { OnClose(); }
void CBroswerDlg::OnCancel() { OnClose(); }

// True when the command is consumed here.
bool CBroswerDlg::OnSysCommand(WPARAM command) {
  const UINT id = static_cast<UINT>(command & 0xFFF0);
  if (id == 0x10) {
    CAboutDlg about(hwnd_);
    about.DoModal(hwnd_);
    return true;
  }
  if (!locked_) return false;
  if (id == SC_MOVE || id == SC_SIZE || id == SC_MAXIMIZE) return true;
  if (id == SC_MINIMIZE) {
    const bool approved = minimizeApproved_;
    minimizeApproved_ = false;
    if (!approved && !AskPassword()) return true;
  }
  return false;
}

// --- messages -------------------------------------------------------------------
bool CBroswerDlg::PreTranslateMessage(MSG& message) {
  HWND edit = ::GetWindow(urlBox_.Hwnd(), GW_CHILD);
  if (message.message == WM_NCLBUTTONDOWN && message.wParam == HTCAPTION &&
      (settings_.fullscreen_always || ::IsZoomed(hwnd_)))
    return true;
  if (message.message == WM_MOUSEWHEEL && edit && message.hwnd == edit) return true;
  if (message.message != WM_KEYDOWN) return CFrameDlg::PreTranslateMessage(message);
  if (message.wParam == VK_ESCAPE) return true;
  if (message.wParam == VK_RETURN) {
    if (edit && message.hwnd == edit) OnGo();
    // Dispatched here, past the dialog manager, which would turn it into the
    // default button's click and end the window.
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
  }
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  if (ctrl && (message.wParam == 'T' || message.wParam == VK_F5)) {
    OpenNewTabPage();
    return true;
  }
  if (message.wParam == VK_F1) {
    WinHelp();
    return true;
  }
  return CFrameDlg::PreTranslateMessage(message);
}

bool CBroswerDlg::OnCommand(UINT id, UINT code, HWND control) {
  switch (id) {
    case IDC_GO:
      OnGo();
      return true;
    case IDC_GOBACK:
    case IDC_GOFORWARD:
    case IDC_REFRESH:
      if (CBrowserPage* page = SelectedPage()) {
        if (id == IDC_GOBACK) page->GoBack();
        else if (id == IDC_GOFORWARD) page->GoForward();
        else page->Refresh();
      }
      return true;
    case IDC_HOME:
      OnHome();
      return true;
    case IDC_FAVORITES:
      return true;
    case IDC_ADDFAVORITE:
      OnAddFavorite();
      return true;
    case IDC_URLBOX:
      if (code == CBN_SELCHANGE) OnUrlSelChange();
      if (code == CBN_DROPDOWN) FillUrlBox();
      return true;
    default:
      return CFrameDlg::OnCommand(id, code, control);
  }
}

// Nothing thrown by a handler may unwind through the system's dispatch.
bool CBroswerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  try {
    return HandleMessage(message, wParam, lParam, result);
  } catch (...) {
    result = 0;
    return true;
  }
}

bool CBroswerDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: {
      CFrameDlg::OnMessage(message, wParam, lParam, result);
      if (result == -1) return true;
      result = OnCreate();
      return true;
    }
    case WM_DESTROY:
      OnDestroy();
      return CFrameDlg::OnMessage(message, wParam, lParam, result);
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      result = 0;
      return true;
    case WM_CLOSE:
      OnClose();
      result = 0;
      return true;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) {
        result = 0;
        return true;
      }
      return CFrameDlg::OnMessage(message, wParam, lParam, result);
    case WM_COPYDATA:
      result = OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
      return true;
    case WM_LBUTTONDBLCLK:
      result = 0;
      return true;
    case WM_PAINT:
      if (PaintIcon()) {
        result = 0;
        return true;
      }
      return CFrameDlg::OnMessage(message, wParam, lParam, result);
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_.Get());
      return true;
    case WM_IE_TITLECHANGE:
      OnTitleChanged(PageFromMessage(lParam));
      result = 0;
      return true;
    case WM_IE_NEWWINDOW:
      OnNewWindow(reinterpret_cast<IDispatch**>(wParam), reinterpret_cast<VARIANT_BOOL*>(lParam));
      result = 0;
      return true;
    case WM_IE_DOCCOMPLETE:
      OnPageLoaded(PageFromMessage(lParam));
      result = 0;
      return true;
    case WM_UPDATE_DOWNLOADED:
      OnNewVersion(wParam);
      result = 0;
      return true;
    case WM_IE_BEFORENAVIGATE:
      result = policy_.OnBeforeNavigate(reinterpret_cast<const wchar_t*>(wParam));
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
      return true;
    case WM_SHOW_NOTIFY:
      if (wParam) ShowNotify(reinterpret_cast<const wchar_t*>(wParam));
      result = 0;
      return true;
    default:
      return CFrameDlg::OnMessage(message, wParam, lParam, result);
  }
}

void CBroswerDlg::OnDestroy() {
  Uninstall();
  PurgeUnusedSnapshots();
  for (CBrowserPage* page : pagePool_) delete page;
  pagePool_.clear();
  if (comInitialized_) ::CoUninitialize();
  comInitialized_ = false;
  CSharedState().ClearMainWindowIfOwn(hwnd_);
}

bool CBroswerDlg::PaintIcon() {
  if (!::IsIconic(hwnd_)) return false;
  fw::PaintDC dc(hwnd_);
  Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()));
  const RECT client = ClientRect();
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, icon_.Get());
  return true;
}

int CBroswerDlg::SetTaskManagerDisabled(int flag) {
  RegKey key(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", KEY_ALL_ACCESS);
  if (flag)
    key.WriteValue(L"DisableTaskMgr", static_cast<DWORD>(1));
  else
    key.DeleteValue(L"DisableTaskMgr");
  return 1;
}
