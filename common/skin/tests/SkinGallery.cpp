// Gallery: a window drawn by the skin engine from the shipped frame skin,
// with its caption buttons skinned from the same items, for screenshots.
// Closes itself after the number of seconds given as its argument (default 60).
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "ButtonST.h"
#include "CommHelper.h"
#include "SkinEngine.h"
#include "Wnd.h"

namespace {

class SkinnedWindow : public fw::Wnd, public ISkinHost {
 public:
  HWND SkinHwnd() const override { return Hwnd(); }
  void OnSkinLayout() override {}

  bool Open() {
    fw::CreateArgs args;
    args.style = WS_POPUP | WS_VISIBLE;
    args.x = 40;
    args.y = 40;
    args.width = 520;
    args.height = 360;
    args.title = L"皮肤引擎";
    if (!Create(args)) return false;
    skin_.LoadSkin(GetModuleDir(nullptr) + L"\\theme\\default\\commonskin.xml", L"framedialog", this);
    for (const wchar_t* id : {L"close", L"max", L"min", L"up"}) AddButton(id);
    skin_.SetItemText(L"title", L"儿童浏览器 - 皮肤引擎", 0, false);
    RECT client = ClientRect();
    skin_.Resize(client.right, client.bottom);
    return true;
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_SIZE:
        skin_.Resize(LOWORD(lParam), HIWORD(lParam));
        return false;
      case WM_ERASEBKGND:
        result = 1;
        return true;
      case WM_PAINT: {
        fw::PaintDC dc(Hwnd());
        skin_.Draw(dc);
        result = 0;
        return true;
      }
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return false;
      default:
        return fw::Wnd::OnMessage(message, wParam, lParam, result);
    }
  }

 private:
  void AddButton(const wchar_t* id) {
    HWND window = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, Hwnd(),
                                    nullptr, nullptr, nullptr);
    auto button = std::make_unique<CButtonST>();
    if (!button->SubclassButton(window)) return;
    skin_.SetButtonSkin(id, button.get(), true);
    skin_.SetItemWnd(id, window);
    buttons_.push_back(std::move(button));
  }

  CSkinEngine skin_;
  std::vector<std::unique_ptr<CButtonST>> buttons_;
};

}  // namespace

int main(int argc, char** argv) {
  const UINT seconds = argc > 1 ? static_cast<UINT>(std::atoi(argv[1])) : 60;
  SkinnedWindow window;
  if (!window.Open()) return 1;
  ::SetTimer(nullptr, 0, seconds * 1000, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && !message.hwnd) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
