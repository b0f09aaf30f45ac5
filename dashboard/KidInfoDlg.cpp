#include "KidInfoDlg.h"

#include <climits>
#include <cstdlib>

#include "DashboardResources.h"
#include "StringConv.h"
#include "SysConf.h"

namespace {

const wchar_t kBoy[] = L"男孩";
const wchar_t kGirl[] = L"女孩";
const int kYoungestAge = 4;
const int kOldestAge = 16;

// The entry whose text equals `text` ignoring case, or CB_ERR.
LRESULT FindEntry(HWND combo, const std::wstring& text) {
  LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&entry[0]));
    entry.resize(static_cast<size_t>(length));
    if (fw::EqualsNoCase(entry, text)) return i;
  }
  return CB_ERR;
}

}  // namespace

CKidInfoDlg::CKidInfoDlg(HWND parent) : CPanelPage(IDD_KIDINFO, parent, L"ifodlg") {}

void CKidInfoDlg::InitPage() {
  const CSysConf& conf = Conf();
  HWND ages = Item(IDC_AGE);
  for (int age = kYoungestAge; age <= kOldestAge; ++age)
    ::SendMessageW(ages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fw::Format(L"%02d", age).c_str()));
  SetItemText(IDC_NICK, conf.nick_name);
  SetLimited(conf.limited != 0);
  SetItemText(IDC_MINUTES, std::to_wstring(conf.time));
  HWND sex = Item(IDC_SEX);
  ::SendMessageW(sex, CB_SETCURSEL, static_cast<WPARAM>(FindEntry(sex, conf.is_boy ? kBoy : kGirl)), 0);
  ::SendMessageW(ages, CB_SETCURSEL, static_cast<WPARAM>(FindEntry(ages, conf.age)), 0);
}

void CKidInfoDlg::SetLimited(bool limited) {
  SetChecked(IDC_LIMITED, limited);
  SetChecked(IDC_UNLIMITED, !limited);
  ::EnableWindow(Item(IDC_MINUTES), limited);
}

std::wstring CKidInfoDlg::SelectedText(int comboId) const {
  HWND combo = Item(comboId);
  LRESULT selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return std::wstring();
  LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
  if (length < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int CKidInfoDlg::SaveToConf() {
  CSysConf& conf = Conf();
  conf.limited = 0;
  if (IsChecked(IDC_LIMITED)) {
    conf.limited = 1;
    // The leading number; strtol stops at the first non-digit and clamps.
    long minutes = std::strtol(fw::ToAnsi(ItemText(IDC_MINUTES)).c_str(), nullptr, 10);
    conf.time = static_cast<int>(minutes > INT_MAX ? INT_MAX : minutes < 0 ? 0 : minutes);
  }
  std::wstring nick = ItemText(IDC_NICK);
  if (nick.empty()) {
    Prompt(L"请输入小孩的昵称...");
    ::SetFocus(Item(IDC_NICK));
    return 0;
  }
  conf.nick_name = nick;
  conf.is_boy = fw::EqualsNoCase(SelectedText(IDC_SEX), kBoy) ? 1 : 0;
  std::wstring age = SelectedText(IDC_AGE);
  if (!age.empty()) conf.age = age;
  return 1;
}

bool CKidInfoDlg::OnCommand(UINT id, UINT code, HWND control) {
  if ((id == IDC_LIMITED || id == IDC_UNLIMITED) && code == BN_CLICKED) {
    ::EnableWindow(Item(IDC_MINUTES), id == IDC_LIMITED);
    OnSettingChanged();
    return true;
  }
  if (((id == IDC_NICK || id == IDC_MINUTES) && code == EN_CHANGE) ||
      ((id == IDC_SEX || id == IDC_AGE) && code == CBN_SELCHANGE)) {
    OnSettingChanged();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}
