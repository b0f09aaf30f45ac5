#include "MarrotDlg.h"

#include <windowsx.h>

#include "CommHelper.h"
#include "DataExchange.h"
#include "DashboardApp.h"
#include "DashboardMessages.h"
#include "DashboardResources.h"
#include "GeneralCtrlDlg.h"
#include "KidsLogDlg.h"
#include "ParentAboutDlg.h"
#include "ParentAuthDlg.h"
#include "ProgramStarter.h"
#include "SysConf.h"

namespace {

const UINT kAboutCommand = 0x10;
const DWORD kSlideIn = 0x40000;  // AW_SLIDE, no direction
const int kLinkLeft = 10;
const int kLinkBottom = 20;
const int kLinkGap = 10;
// The theme's blue, readable on the panel's cream.
const COLORREF kLinkColour = RGB(28, 120, 206);
const COLORREF kLinkHover = RGB(46, 156, 240);

int Notice(HWND owner, const wchar_t* text, UINT type = MB_OK | MB_ICONINFORMATION) {
  return ::MessageBoxW(owner, text, L"提示", type);
}

}  // namespace

CMarrotDlg::CMarrotDlg(HWND parent) : CFrameDlg(IDD_MARROT_DIALOG, parent) {
  m_strSkinElement = L"confdlg";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
  m_icon.Reset(static_cast<HICON>(
      ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

// The page windows go with the panel's window; the objects go here.
CMarrotDlg::~CMarrotDlg() = default;

void CMarrotDlg::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDC_PANEL_OK, m_btnOK);
  exchange.Control(IDC_PANEL_CANCEL, m_btnCancel);
  exchange.Control(IDC_APPLY, m_btnApply);
  exchange.Control(IDC_TAB_SECURITY, m_securityTab);
  exchange.Control(IDC_LINK_BROWSER, m_linkBrowser);
  exchange.Control(IDC_LINK_WIZARD, m_linkWizard);
}

void CMarrotDlg::OnSkinPreInit() {
  m_linkBrowser.SetColours(kLinkColour, kLinkColour, kLinkHover);
  m_linkWizard.SetColours(kLinkColour, kLinkColour, kLinkHover);
}

BOOL CMarrotDlg::OnInitDialog() {
  SetCaptionButtons(false, false, false, true);
  CreatePages();
  // Loads the skin and binds the pages to their items: they exist by now.
  CFrameDlg::OnInitDialog();
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
  SetText(m_skin.GetItemCaption(L"appshowname"));
  ::EnableWindow(m_btnApply.Hwnd(), FALSE);
  m_dirty = 0;
  m_brush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  PlaceLinks();
  ::AnimateWindow(hwnd_, 100, kSlideIn);
  if (m_mode != 0) {
    CPanelPage* security = Page(PageId::kSecurity);
    if (CheckParentAuth() && security && !::IsWindowVisible(security->Hwnd())) ShowPage(PageId::kSecurity);
    ::SetFocus(m_securityTab.Hwnd());
    return FALSE;
  }
  OnTabGeneral();
  m_linkBrowser.SetURL(L"app|OpenBroswer");
  m_linkBrowser.SetTipText(L"打开Tindra儿童浏览器");
  m_linkWizard.SetURL(L"app|OpenWizard");
  m_linkWizard.SetTipText(L"打开设置向导");
  return TRUE;
}

void CMarrotDlg::CreatePages() {
  for (const PageSlot& slot : PageTable()) {
    std::unique_ptr<CPanelPage>& page = m_pages[static_cast<size_t>(slot.id)];
    if (page || !slot.create) continue;
    page = slot.create(hwnd_);
    if (!page->CreatePage()) page.reset();
  }
}

void CMarrotDlg::BindSkinItems() {
  CFrameDlg::BindSkinItems();
  for (const PageSlot& slot : PageTable()) {
    CPanelPage* page = Page(slot.id);
    if (page) SetSkinItemWnd(slot.skinItem, page->Hwnd());
  }
  const struct {
    const wchar_t* item;
    CButtonST* button;
  } buttons[] = {{L"ok", &m_btnOK}, {L"apply", &m_btnApply}, {L"cancel", &m_btnCancel}};
  for (const auto& entry : buttons) {
    SetButtonSkin(entry.item, entry.button);
    SetSkinItemWnd(entry.item, entry.button->Hwnd());
  }
}

void CMarrotDlg::HideAllPages() {
  for (const auto& page : m_pages) {
    if (page) ::ShowWindow(page->Hwnd(), SW_HIDE);
  }
}

void CMarrotDlg::ShowPage(PageId id) {
  CPanelPage* page = Page(id);
  if (page && ::IsWindowVisible(page->Hwnd())) return;
  HideAllPages();
  if (page) ::ShowWindow(page->Hwnd(), SW_SHOW);
}

bool CMarrotDlg::CheckParentAuth() {
  if (m_authenticated) return true;
  const CSysConf& conf = *g_pCurConf;
  if (!conf.login_need_pwd || conf.password.empty()) return true;
  return AskPassword();
}

// In lock mode the panel is a way out of the browser: a program it starts
// (the wizard, Explorer through the Internet options) runs outside the lock,
// so a password that exists is asked whatever login_need_pwd says.
bool CMarrotDlg::MayStartProgram() {
  if (m_authenticated) return true;
  const CSysConf& conf = *g_pCurConf;
  if (!conf.fullscreen_always || conf.password.empty()) return true;
  return AskPassword();
}

bool CMarrotDlg::AskPassword() {
  CParentAuthDlg prompt(hwnd_);
  prompt.AskAlways();
  prompt.DoModal(hwnd_);
  if (!prompt.Passed()) return false;
  m_authenticated = 1;
  return true;
}

void CMarrotDlg::OnTabGeneral() {
  auto* general = static_cast<CGeneralCtrlDlg*>(Page(PageId::kGeneral));
  if (m_authenticated && general) general->UnlockHomePage();
  ShowPage(PageId::kGeneral);
}

void CMarrotDlg::OnGuardedTab(UINT tabId) {
  const PageSlot* slot = FindPageByTab(tabId);
  if (slot && CheckParentAuth()) ShowPage(slot->id);
}

int CMarrotDlg::SaveAll() {
  for (PageId id : PageSaveOrder()) {
    CPanelPage* page = Page(id);
    if (page && !page->SaveToConf()) return 0;
  }
  if (!g_pCurConf->Save()) {
    // The pages said nothing, so this must: the settings are not in the files.
    Notice(hwnd_, L"设置没有保存成功，请检查数据文件夹是否可以写入后再试。", MB_OK | MB_ICONWARNING);
    return 0;
  }
  // The history last: the child's account can make it unwritable, which must
  // never keep the parent's rules from being saved. Its page tells the
  // parent when it fails; the rules stand saved all the same.
  if (auto* log = static_cast<CKidsLogDlg*>(Page(PageId::kLog))) log->SaveHistory();
  return 1;
}

bool CMarrotDlg::Apply() {
  if (!SaveAll()) return false;
  Notice(hwnd_, L"保存成功,要使您的设置生效，请重启浏览器。");
  ::EnableWindow(m_btnApply.Hwnd(), FALSE);
  m_dirty = 0;
  g_pCurConf->Load();
  return true;
}

void CMarrotDlg::OnOK() {
  if (m_dirty && !Apply()) return;
  EndDialog(IDOK);
}

void CMarrotDlg::OnCancel() {
  if (!m_dirty) {
    EndDialog(IDCANCEL);
    return;
  }
  switch (Notice(hwnd_, L"您已经对设置作了修改，是否保存？", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      OnOK();
      break;
    case IDNO:
      EndDialog(IDCANCEL);
      break;
    default:
      break;
  }
}

void CMarrotDlg::OnSettingChanged() {
  m_dirty = 1;
  ::EnableWindow(m_btnApply.Hwnd(), TRUE);
}

LRESULT CMarrotDlg::RunLinkCommand(const wchar_t* url) {
  std::wstring text = url ? url : L"";
  std::wstring program;
  if (text.find(L"OpenBroswer") != std::wstring::npos)
    program = L"Brivan.exe";
  else if (text.find(L"OpenWizard") != std::wstring::npos && MayStartProgram())
    program = L"Wizard.exe";
  if (!program.empty()) CProgramStarter::Start(CCommHelper::GetThisModuleDir() + L"\\" + program);
  // Always handled: the link must never open its text as an address.
  return 1;
}

void CMarrotDlg::PlaceLinks() {
  if (!m_linkBrowser.Hwnd()) return;
  RECT panel = WindowRect();
  RECT browser = m_linkBrowser.WindowRect();
  int width = browser.right - browser.left;
  int height = browser.bottom - browser.top;
  int top = (panel.bottom - panel.top) - kLinkBottom - height;
  ::SetWindowPos(m_linkBrowser.Hwnd(), nullptr, kLinkLeft, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!m_linkWizard.Hwnd()) return;
  ::SetWindowPos(m_linkWizard.Hwnd(), nullptr, kLinkLeft + width + kLinkGap, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMarrotDlg::ShowAbout() {
  CParentAboutDlg about(hwnd_);
  about.DoModal(hwnd_);
}

bool CMarrotDlg::OnCtlColor(HDC dc, HWND control, LRESULT& result) {
  if (control == m_linkBrowser.Hwnd() || control == m_linkWizard.Hwnd()) {
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
  }
  if (!m_brush) return false;
  result = reinterpret_cast<LRESULT>(m_brush.Get());
  return true;
}

bool CMarrotDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (fw::IsCtlColorMessage(message))
    return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
  switch (message) {
    case WM_PAGE_MODIFIED:
      OnSettingChanged();
      result = 0;
      return true;
    case WM_LINK_CLICKED:
      result = RunLinkCommand(reinterpret_cast<const wchar_t*>(wParam));
      return true;
    case WM_PAGE_MAY_START:
      result = MayStartProgram() ? 1 : 0;
      return true;
    case WM_CLOSE:
      // Cancel alone: letting the dialog manager close too would send a
      // second Cancel and ask the save question twice.
      OnCancel();
      return true;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != kAboutCommand) break;
      ShowAbout();
      return true;
    case WM_SIZE:
      CFrameDlg::OnMessage(message, wParam, lParam, result);
      PlaceLinks();
      return true;
    case WM_PAINT:
      if (!::IsIconic(hwnd_)) break;
      {
        fw::PaintDC paint(hwnd_);
        RECT client = ClientRect();
        int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint.Get(), x, y, m_icon.Get());
      }
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(m_icon.Get());
      return true;
    default:
      break;
  }
  return CFrameDlg::OnMessage(message, wParam, lParam, result);
}

bool CMarrotDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED) return CFrameDlg::OnCommand(id, code, control);
  switch (id) {
    case IDC_TAB_GENERAL:
      OnTabGeneral();
      return true;
    case IDC_APPLY:
      Apply();
      return true;
    case IDC_PANEL_OK:
      OnOK();
      return true;
    case IDC_PANEL_CANCEL:
      OnCancel();
      return true;
    default:
      if (!FindPageByTab(id)) return CFrameDlg::OnCommand(id, code, control);
      OnGuardedTab(id);
      return true;
  }
}
