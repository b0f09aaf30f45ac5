// The main window's page messages, the records of visited and favourite
// pages with their snapshots, the address box's site list and the update
// question.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "BroswerDlg.h"
#include "CommHelper.h"
#include "NavigationPolicy.h"
#include "SnapshotList.h"
#include "SysConf.h"
#include "UpdateCheck.h"
#include "WebUrl.h"

const wchar_t CBroswerDlg::kFavoriteAddedText[] = L"已经收藏成功了哦";
const wchar_t CBroswerDlg::kFavoriteKnownText[] = L"已经收藏过了哦";
const wchar_t CBroswerDlg::kBlankNotFavoriteText[] = L"空白页不用收藏";
const wchar_t CBroswerDlg::kUpdateQuestion[] = L"您好！Tindra儿童浏览器有最新版本，是否马上进行升级？";
const wchar_t CBroswerDlg::kRulesUnreadableText[] =
    L"暂时无法读取爸爸妈妈的设置（设置文件正被其他程序占用），浏览器现在不能打开，请稍后再试哦。";

CBroswerDlg::ShellOpenFunction CBroswerDlg::shellOpen = &::ShellExecuteW;

namespace {

const wchar_t kBlank[] = L"about:blank";
const int kUrlItemHeight = 20;

bool IsBlankOrEmpty(const std::wstring& url) { return url.empty() || ::lstrcmpiW(url.c_str(), kBlank) == 0; }

std::wstring SnapshotName(const std::wstring& folderWithSlash) {
  return folderWithSlash + CreateGuidString() + L".jpg";
}

}  // namespace

// Pages send themselves as lParam; only a page of the strip is taken.
CBrowserPage* CBroswerDlg::PageFromMessage(LPARAM lParam) const {
  for (int i = 0; i < tabs_.GetCount(); ++i) {
    auto* page = static_cast<CBrowserPage*>(tabs_.GetTab(i));
    if (page && page->MessageParam() == lParam) return page;
  }
  return nullptr;
}

void CBroswerDlg::OnTitleChanged(CBrowserPage* page) {
  if (page && page == SelectedPage()) UpdatePageInfo(page, true, true);
}

// A window that gets no browser of a tab is cancelled: the control would
// open one of its own, outside every rule.
void CBroswerDlg::OnNewWindow(IDispatch** browser, VARIANT_BOOL* cancel) {
  CBrowserPage* page = OpenUrlInNewTab(kBlank);
  if (page) tabs_.EnsureVisible(page);
  IDispatch* dispatch = page && browser ? page->GetBrowserDispatch() : nullptr;
  if (dispatch)
    *browser = dispatch;
  else if (cancel)
    *cancel = VARIANT_TRUE;
}

void CBroswerDlg::OnPageLoaded(CBrowserPage* page) {
  if (!page) return;
  if (page == SelectedPage()) UpdatePageInfo(page, true, true);
  const std::wstring url = page->GetURL();
  if (IsBlankOrEmpty(url) || !settings_.enable_log) return;
  const std::wstring folder = GetHistoryDir() + L"\\";
  CCommHelper::MakeDirTree(folder, AccountSharing::kModifyInside);
  CHistoryList history;
  // A folder linked elsewhere takes no snapshot; the list refuses its save.
  if (history.IsFolderLinked()) return;
  const std::wstring snapshot = SnapshotName(folder);
  if (history.AddVisit(url, page->GetTitle(), snapshot)) page->SaveSnapshot(snapshot);
}

// An address already among the favourites gets a fresh snapshot too: its
// record now names the new file and the old picture is gone.
void CBroswerDlg::OnAddFavorite() {
  const std::wstring folder = GetFavoritesDir();
  CCommHelper::MakeDirTree(folder, AccountSharing::kModifyInside);
  const std::wstring snapshot = SnapshotName(folder);
  CBrowserPage* page = SelectedPage();
  if (!page) return;
  const std::wstring url = page->GetURL();
  if (IsBlankOrEmpty(url)) {
    Notify(kBlankNotFavoriteText);
    return;
  }
  int added = 0;
  {
    CFavorites favorites;
    if (favorites.IsFolderLinked()) return;
    added = favorites.Add(url, page->GetTitle(), snapshot);
  }
  page->SaveSnapshot(snapshot);
  Notify(added ? kFavoriteAddedText : kFavoriteKnownText);
}

void CBroswerDlg::Notify(const wchar_t* text) { Send(WM_SHOW_NOTIFY, reinterpret_cast<WPARAM>(text)); }

// The page named by a downloaded file is opened only as what it claims to
// be: one http or https address, handed over as one argument. It opens in a
// browser no rule watches, so a locked window asks the password for leaving.
void CBroswerDlg::OnNewVersion(WPARAM failed) {
  if (failed == 1) return;
  if (!InstallDownloadedUpdateIni() || !IsNewVersionAvailable()) return;
  const std::wstring page = QuotedHttpArgument(GetUpdatePageUrl());
  if (page.empty()) return;
  if (::MessageBoxW(hwnd_, kUpdateQuestion, L"提示", MB_YESNOCANCEL) != IDYES) return;
  if (!AskPassword()) return;
  // The close below leaves with the password just given.
  closeApproved_ = true;
  shellOpen(nullptr, L"open", L"iexplore", page.c_str(), nullptr, SW_SHOW);
  ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

// --- the address box's sites ------------------------------------------------
bool CBroswerDlg::ReadUrlHistory(std::vector<UrlHistoryEntry>& entries) { return CUrlHistory::Read(entries); }

// A history that cannot be read leaves the list empty; the start goes on.
void CBroswerDlg::LoadUrlHistory() {
  urlHistory_.clear();
  try {
    std::vector<UrlHistoryEntry> entries;
    ReadUrlHistory(entries);
    urlHistory_ = CUrlHistory::SiteRoots(entries);
  } catch (...) {
    urlHistory_.clear();
  }
  FillUrlBox();
  const LONG_PTR style = ::GetWindowLongPtrW(urlBox_.Hwnd(), GWL_STYLE);
  ::SetWindowLongPtrW(urlBox_.Hwnd(), GWL_STYLE, style | CBS_NOINTEGRALHEIGHT);
  GrowUrlBox(CUrlHistory::DropDownGrowth(urlHistory_.size()));
}

// The address shown or being typed stays: emptying the list empties it too.
void CBroswerDlg::FillUrlBox() {
  if (!urlBox_.Hwnd()) return;
  const std::wstring address = urlBox_.GetText();
  urlBox_.Send(CB_RESETCONTENT);
  ::SetWindowTextW(urlBox_.Hwnd(), address.c_str());
  const size_t shown = std::min(urlHistory_.size(), CUrlHistory::kShownEntries);
  for (size_t i = 0; i < shown; ++i)
    urlBox_.Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(urlHistory_[i].url.c_str()));
  urlBox_.Send(CB_SETITEMHEIGHT, 0, kUrlItemHeight);
}

// The box's window reaches further down by `pixels`: its list opens that
// high. The skin's later layouts keep the length.
void CBroswerDlg::GrowUrlBox(int pixels) {
  RECT box{};
  ::GetWindowRect(urlBox_.Hwnd(), &box);
  closedUrlBoxHeight_ = box.bottom - box.top;
  urlBoxGrowth_ = pixels;
  ::SetWindowPos(urlBox_.Hwnd(), nullptr, 0, 0, box.right - box.left, closedUrlBoxHeight_ + pixels,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBroswerDlg::OnSkinLayout() {
  CFrameDlg::OnSkinLayout();
  tagSkinItem* box = m_skin.FindItem(L"urledit");
  if (box && urlBoxGrowth_ > 0 && box->rect.bottom > box->rect.top)
    box->rect.bottom = box->rect.top + closedUrlBoxHeight_ + urlBoxGrowth_;
}

// --- exit -----------------------------------------------------------------------
// Snapshots no record names any more are deleted. The purge changes no
// record, so the lists' files stay as they are, with any visit or favourite
// another program saved since they were read.
void CBroswerDlg::PurgeUnusedSnapshots() {
  CFavorites favorites;
  favorites.KeepFileOnClose();
  favorites.PurgeUnusedImages(GetFavoritesDir());
  CHistoryList history;
  history.KeepFileOnClose();
  history.PurgeUnusedFiles(GetHistoryDir());
}
