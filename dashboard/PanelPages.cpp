#include "PanelPages.h"

#include "DashboardResources.h"
#include "GeneralCtrlDlg.h"
#include "KidInfoDlg.h"
#include "ParentCtrlDlg.h"
#include "ParentRecommandDlg.h"
#include "KidsLogDlg.h"
#include "PasswordCtrlDlg.h"
#include "WordsConfDlg.h"

namespace {

template <class Page>
std::unique_ptr<CPanelPage> Make(HWND panel) {
  return std::make_unique<Page>(panel);
}

const std::array<PageSlot, kPageCount> kPages = {{
    {PageId::kGeneral, IDC_TAB_GENERAL, L"gendlg", IDD_GENERALCTRL, &Make<CGeneralCtrlDlg>},
    {PageId::kSecurity, IDC_TAB_SECURITY, L"pwddlg", IDD_PASSWORDCTRL, &Make<CPasswordCtrlDlg>},
    {PageId::kRecommend, IDC_TAB_RECOMMEND, L"rcmdlg", IDD_PARENTRECOMMAND, &Make<CParentRecommandDlg>},
    {PageId::kLog, IDC_TAB_LOG, L"logdlg", IDD_KIDSLOG, &Make<CKidsLogDlg>},
    {PageId::kKidInfo, IDC_TAB_KIDINFO, L"ifodlg", IDD_KIDINFO, &Make<CKidInfoDlg>},
    {PageId::kControl, IDC_TAB_CONTROL, L"ctldlg", IDD_PARENTCTRL, &Make<CParentCtrlDlg>},
    {PageId::kWords, IDC_TAB_WORDS, L"wozdlg", IDD_WORDSCONF, &Make<CWordsConfDlg>},
}};

const std::array<PageId, kPageCount> kSaveOrder = {PageId::kGeneral, PageId::kKidInfo, PageId::kSecurity,
                                                   PageId::kLog,     PageId::kControl, PageId::kRecommend,
                                                   PageId::kWords};

}  // namespace

const std::array<PageSlot, kPageCount>& PageTable() { return kPages; }
const std::array<PageId, kPageCount>& PageSaveOrder() { return kSaveOrder; }

const PageSlot* FindPageByTab(UINT tabId) {
  for (const PageSlot& slot : kPages) {
    if (slot.tabId == tabId) return &slot;
  }
  return nullptr;
}
