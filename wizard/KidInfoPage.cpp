#include "KidInfoPage.h"

#include <cwchar>

#include "DataExchange.h"
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

  nick_ = settings.nick_name;
  limited_ = settings.limited ? BST_CHECKED : BST_UNCHECKED;
  unlimited_ = settings.limited ? BST_UNCHECKED : BST_CHECKED;
  EnableMinutes(settings.limited != 0);
  minutes_ = fw::Format(L"%d", settings.time);
  sex_ = settings.is_boy ? kBoy : kGirl;
  // The list holds 04 to 16: another stored age leaves it without a selection.
  age_ = settings.age;
}

void CKidInfoPage::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Text(IDC_KID_NICK, nick_);
  exchange.ComboText(IDC_KID_SEX, sex_);
  exchange.ComboText(IDC_KID_AGE, age_);
  exchange.Check(IDC_KID_LIMITED, limited_);
  exchange.Check(IDC_KID_UNLIMITED, unlimited_);
  exchange.Text(IDC_KID_MINUTES, minutes_);
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
  UpdateData(true);
  settings.limited = 0;
  if (limited_ == BST_CHECKED) {
    settings.limited = 1;
    settings.time = static_cast<int>(std::wcstol(minutes_.c_str(), nullptr, 10));
  }
  if (nick_.empty()) {
    ::MessageBoxW(hwnd_, L"请输入小孩的昵称...", L"提示", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(Item(IDC_KID_NICK));
    return 0;
  }
  settings.nick_name = nick_;
  settings.is_boy = ::lstrcmpiW(sex_.c_str(), kBoy) == 0 ? 1 : 0;
  if (!age_.empty()) settings.age = age_;
  return 1;
}

void CKidInfoPage::EnableMinutes(bool enable) { ::EnableWindow(Item(IDC_KID_MINUTES), enable); }
