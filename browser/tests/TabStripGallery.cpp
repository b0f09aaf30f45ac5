// Shows the tab strip in the default theme with Chinese titles, scrolled to
// its end, for a look or a screenshot. Arguments: "top" puts the strip above
// the pages; "fit" squeezes the tabs instead of scrolling; a number of
// seconds to stay (default 30).
#include <windows.h>

#include <cstring>
#include <string>

#include "SkinTestSupport.h"
#include "TabCtrl.h"
#include "TabStripResources.h"

namespace {

class Page : public Tab {
 public:
  explicit Page(HWND window) { this->window = window; }
};

}  // namespace

int main(int argc, char** argv) {
  bool top = false;
  bool fit = false;
  DWORD seconds = 30;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "top") == 0) top = true;
    else if (std::strcmp(argv[i], "fit") == 0) fit = true;
    else seconds = static_cast<DWORD>(std::atoi(argv[i]));
  }
  fw::Wnd frame;
  fw::CreateArgs args = PopupArgs(20, 20, 900, 300);
  args.style |= WS_CAPTION | WS_SYSMENU;
  args.style &= ~WS_POPUP;
  args.title = L"标签栏";
  if (!frame.Create(args)) return 1;
  TabCtrl strip(nullptr, IDB_TAB_BUTTONS, L"微软雅黑", 120);
  RECT client = frame.ClientRect();
  if (!strip.Create(frame.Hwnd(), WS_CHILD | WS_VISIBLE, client, 3001)) return 2;
  strip.SetLayout(top ? 0 : 1);
  strip.SetScrollMode(fit ? 0 : 1);
  strip.SetSkin(L"default");
  const wchar_t* titles[] = {L"百度一下，你就知道", L"儿童故事 & 儿歌大全", L"小猪佩奇 - 动画片在线观看",
                             L"天气预报", L"about:blank"};
  for (const wchar_t* title : titles) {
    HWND page = CreateWindowExW(0, L"STATIC", title, WS_CHILD | SS_CENTER, 0, 0, 10, 10, strip.Hwnd(), nullptr,
                                nullptr, nullptr);
    strip.AddTab(new Page(page), title, -1);
  }
  strip.SelectTab(strip.GetTab(3));
  strip.ScrollToEnd();
  strip.Update(true);
  PumpFor(seconds * 1000);
  return 0;
}
