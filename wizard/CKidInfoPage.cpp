#include "CKidInfoPage.h"

#include <cwchar>

#include "StringConv.h"
#include "SysConf.h"
#include "WizardResources.h"

namespace {

const wchar_t kBoy[] = L"男孩";
const wchar_t kGirl[] = L"女孩";
const int kYoungestAge = 4;
const int kOldestAge = 16;

}  // namespace

CKidInfoPage::CKidInfoPage() : CWizardPage(IDD_KIDINFO_PAGE, PSWIZB_BACK | PSWIZB_NEXT) {}

void CKidInfoPage::InitControls() {
  const CSysConf& settings = Settings();
  HWND sex = Item(IDC_KID_SEX);
  ::SendMessageW(sex, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kBoy));
  ::SendMessageW(sex, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kGirl));
  HWND age = Item(IDC_KID_AGE);
  for (int year = kYoungestAge; year <= kOldestAge; ++year)
    ::SendMessageW(age, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fw::Format(L"%02d", year).c_str()));

  SetItemText(IDC_KID_NICK, settings.nick_name);
  bool limited = settings.limited != 0;
  SetChecked(IDC_KID_LIMITED, limited);
  SetChecked(IDC_KID_UNLIMITED, !limited);
  EnableMinutes(limited);
  SetItemText(IDC_KID_MINUTES, fw::Format(L"%d", settings.time));
  SelectText(IDC_KID_SEX, settings.is_boy ? kBoy : kGirl);
  SelectText(IDC_KID_AGE, settings.age);
}

bool CKidInfoPage::OnCommand(UINT id, UINT code, HWND control) {
  const CSysConf& settings = Settings();
  switch (id) {
    case IDC_KID_LIMITED:
    case IDC_KID_UNLIMITED:
      if (code != BN_CLICKED) break;
      EnableMinutes(id == IDC_KID_LIMITED);
      ReportModified();
      return true;
    case IDC_KID_NICK:
      if (code != EN_CHANGE) break;
      if (::lstrcmpiW(ItemText(IDC_KID_NICK).c_str(), settings.nick_name.c_str()) != 0) ReportModified();
      return true;
    case IDC_KID_MINUTES:
      if (code != EN_CHANGE) break;
      if (ItemText(IDC_KID_MINUTES) != fw::Format(L"%d", settings.time)) ReportModified();
      return true;
    case IDC_KID_SEX:
    case IDC_KID_AGE:
      if (code != CBN_SELCHANGE) break;
      ReportModified();
      return true;
    default:
      break;
  }
  return CWizardPage::OnCommand(id, code, control);
}

int CKidInfoPage::SaveToConf() {
  CSysConf& settings = Settings();
  settings.limited = 0;
  if (IsChecked(IDC_KID_LIMITED)) {
    settings.limited = 1;
    settings.time = static_cast<int>(std::wcstol(ItemText(IDC_KID_MINUTES).c_str(), nullptr, 10));
  }
  std::wstring nick = ItemText(IDC_KID_NICK);
  if (nick.empty()) {
    ::MessageBoxW(hwnd_, L"请输入小孩的昵称...", L"提示", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(Item(IDC_KID_NICK));
    return 0;
  }
  settings.nick_name = nick;
  settings.is_boy = ::lstrcmpiW(SelectedText(IDC_KID_SEX).c_str(), kBoy) == 0 ? 1 : 0;
  std::wstring age = SelectedText(IDC_KID_AGE);
  if (!age.empty()) settings.age = age;
  return 1;
}

void CKidInfoPage::SelectText(int comboId, const std::wstring& text) {
  HWND combo = Item(comboId);
  int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
    std::wstring entry(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
    entry.resize(static_cast<size_t>(length > 0 ? length : 0));
    if (::lstrcmpiW(entry.c_str(), text.c_str()) == 0) {
      ::SendMessageW(combo, CB_SETCURSEL, i, 0);
      return;
    }
  }
}

std::wstring CKidInfoPage::SelectedText(int comboId) const {
  HWND combo = Item(comboId);
  int selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  if (selected == CB_ERR) return std::wstring();
  int length = static_cast<int>(::SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0));
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

void CKidInfoPage::EnableMinutes(bool enable) { ::EnableWindow(Item(IDC_KID_MINUTES), enable); }
