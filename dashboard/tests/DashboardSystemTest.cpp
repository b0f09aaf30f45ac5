// What the security page writes to the registry, and how the panel lays out
// and paints its pages.
#include <windows.h>

#include <gtest/gtest.h>

#include "AutoStart.h"
#include "CommHelper.h"
#include "DashboardTestFixture.h"
#include "SkinEngine.h"
#include "StringConv.h"

namespace {

using paneltest::DashboardTest;
using paneltest::Driver;
using paneltest::PanelRun;
using namespace paneltest::ids;

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Tindra儿童浏览器";
const wchar_t kAssociations[] = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations";

TEST_F(DashboardTest, StartWithWindowsFollowsTheBoxOnSave) {
  paneltest::RestoredRegistryValue run(HKEY_CURRENT_USER, kRunKey, kRunValue);
  DisableAutoStart();
  Store([](CSysConf&) {});
  for (bool on : {true, false}) {
    bool shownBefore = !on;
    PanelRun result = Run(1, [&](Driver& d) {
      HWND security = d.Page(kPassword);
      shownBefore = Driver::IsChecked(security, kAutoStart);
      Driver::SetCheck(security, kAutoStart, on);
      Driver::Click(d.Panel(), kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", result.failure);
    EXPECT_EQ(!on, shownBefore) << "the box shows the value as it stands";
    auto value = paneltest::RegistryText(HKEY_CURRENT_USER, kRunKey, kRunValue);
    if (on) {
      ASSERT_TRUE(value.has_value());
      EXPECT_EQ(L"\"" + CCommHelper::GetExeDir(true) + L"Brivan.exe\" -startup", *value);
    } else {
      EXPECT_FALSE(value.has_value());
    }
  }
}

// The user's choices for the three schemes, created or removed for a case and
// put back afterwards, with the browser's own class key.
class UserChoices {
 public:
  explicit UserChoices(bool present) {
    for (const wchar_t* scheme : {L"ftp", L"http", L"https"}) {
      std::wstring path = std::wstring(kAssociations) + L"\\" + scheme + L"\\UserChoice";
      restored_.push_back(std::make_unique<paneltest::RestoredRegistryValue>(HKEY_CURRENT_USER, path, L"Progid",
                                                                              std::wstring(kAssociations) + L"\\" + scheme));
      ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
      ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
      if (!present) continue;
      HKEY key = nullptr;
      ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      const wchar_t other[] = L"OtherBrowserURL";
      ::RegSetValueExW(key, L"Progid", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof(other));
      ::RegCloseKey(key);
    }
    restored_.push_back(std::make_unique<paneltest::RestoredRegistryValue>(
        HKEY_CURRENT_USER, L"Software\\Classes\\OrlatURL", L"", L"Software\\Classes\\OrlatURL"));
  }

 private:
  std::vector<std::unique_ptr<paneltest::RestoredRegistryValue>> restored_;
};

TEST_F(DashboardTest, DefaultBrowserBoxShowsTheRegistrationAtOnce) {
  Store([](CSysConf&) {});
  const struct {
    bool keysPresent;
    bool checkedAfter, enabledAfter;
  } cases[] = {{false, false, true}, {true, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keysPresent ? "UserChoice keys present" : "UserChoice keys missing");
    UserChoices choices(c.keysPresent);
    bool checkedBefore = true, checkedAfter = !c.checkedAfter, enabledAfter = !c.enabledAfter;
    bool checkedInNextRun = false;
    PanelRun run = Run(1, [&](Driver& d) {
      HWND security = d.Page(kPassword);
      checkedBefore = Driver::IsChecked(security, kDefaultBrowser);
      Driver::SetCheck(security, kDefaultBrowser, true);
      checkedAfter = Driver::IsChecked(security, kDefaultBrowser);
      enabledAfter = Driver::IsEnabled(security, kDefaultBrowser);
      Driver::Click(d.Panel(), kCancel);
      d.Answer(IDNO);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_FALSE(checkedBefore);
    EXPECT_EQ(c.checkedAfter, checkedAfter);
    EXPECT_EQ(c.enabledAfter, enabledAfter);
    if (!c.keysPresent) continue;
    auto progId = paneltest::RegistryText(HKEY_CURRENT_USER, std::wstring(kAssociations) + L"\\http\\UserChoice", L"Progid");
    EXPECT_EQ(L"OrlatURL", progId.value_or(L""));
    run = Run(1, [&](Driver& d) {
      HWND security = d.Page(kPassword);
      checkedInNextRun = Driver::IsChecked(security, kDefaultBrowser) && !Driver::IsEnabled(security, kDefaultBrowser);
      Driver::Click(d.Panel(), kCancel);
    });
    EXPECT_TRUE(checkedInNextRun);
  }
}

class LayoutHost : public ISkinHost {
 public:
  HWND SkinHwnd() const override { return nullptr; }
  void OnSkinLayout() override {}
};

COLORREF PrintedPixel(HWND window, int x, int y) {
  RECT client{};
  ::GetClientRect(window, &client);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  COLORREF pixel = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

// The brush a page gives a control to paint its background with, as Windows
// asks for it.
COLORREF BrushColour(HWND page, HWND control) {
  HDC dc = ::GetDC(control);
  auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  ::ReleaseDC(control, dc);
  LOGBRUSH look{};
  if (!brush || !::GetObjectW(brush, sizeof(look), &look)) return CLR_INVALID;
  return look.lbColor;
}

TEST_F(DashboardTest, PagesAreWhiteAndSitAtTheirSkinItems) {
  Store([](CSysConf&) {});
  CSkinEngine skin;
  LayoutHost host;
  skin.LoadSkin(copy_->Path(L"theme\\default\\skin.xml"), L"confdlg", &host);
  ASSERT_GT(skin.Width(), 0);
  std::wstring caption;
  RECT panelClient{};
  struct Placed {
    const wchar_t* item;
    int tab, control;
    RECT rect;
    COLORREF corner;
    COLORREF behindText;
  };
  Placed pages[] = {{L"gendlg", kTabGeneral, kHomeUrl, {}, 0, 0},
                    {L"pwddlg", kTabSecurity, kPassword, {}, 0, 0},
                    {L"ifodlg", kTabKidInfo, kNick, {}, 0, 0},
                    {L"ctldlg", kTabControl, kEnableFilter, {}, 0, 0},
                    {L"rcmdlg", kTabRecommend, kRecommendAdd, {}, 0, 0},
                    {L"logdlg", 1015, 1025, {}, 0, 0},   // the log tab and "清空"
                    {L"wozdlg", 1044, 1045, {}, 0, 0}};  // the messages tab and "删除"
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    caption = Driver::Text(panel);
    ::GetClientRect(panel, &panelClient);
    HWND previous = nullptr;
    for (Placed& page : pages) {
      Driver::Click(panel, page.tab);
      // Pages share control ids: the page is the one that alone shows once the click is done.
      HWND window = d.WaitFor(
          [&]() -> HWND {
            std::vector<HWND> shown = d.VisiblePages();
            bool switched = shown.size() == 1 && shown[0] != previous && ::GetDlgItem(shown[0], page.control);
            return switched ? shown[0] : nullptr;
          },
          "the page");
      previous = window;
      ::GetWindowRect(window, &page.rect);
      ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&page.rect), 2);
      page.corner = PrintedPixel(window, page.rect.right - page.rect.left - 4, page.rect.bottom - page.rect.top - 4);
      page.behindText = BrushColour(window, ::GetDlgItem(window, page.control));
    }
    Driver::Click(panel, kCancel);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(skin.GetItemCaption(L"appshowname"), caption);
  EXPECT_EQ(skin.Width(), panelClient.right);
  EXPECT_EQ(skin.Height(), panelClient.bottom);
  skin.Resize(panelClient.right, panelClient.bottom);
  for (const Placed& page : pages) {
    SCOPED_TRACE(fw::ToAnsi(page.item, CP_UTF8));
    const RECT* item = skin.GetItemRect(page.item);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(item->left, page.rect.left);
    EXPECT_EQ(item->top, page.rect.top);
    EXPECT_EQ(item->right, page.rect.right);
    EXPECT_EQ(item->bottom, page.rect.bottom);
    EXPECT_EQ(RGB(255, 255, 255), page.corner);
    EXPECT_EQ(RGB(255, 255, 255), page.behindText);
  }
}

}  // namespace
