// Times the skinned frame of the default theme: a full repaint at 800 x 600
// against one BitBlt of the same size into the same window, and showing a
// skinned dialog from nothing to painted against a plain dialog of the same
// template. Built with the tests, run by hand:
// scripts/wine-run build/x86_64/bin/skin_paint_benchmark.exe [repaints] [shows]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "Dialog.h"
#include "FrameDlg.h"
#include "MessageLoop.h"
#include "SkinDialogsTestResources.h"
#include "SkinTestSupport.h"

namespace {

const int kWidth = 800;
const int kHeight = 600;

struct Figures {
  double median, min, max;
};

Figures Measure(int rounds, const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> spent;
  for (int i = 0; i < rounds; ++i) {
    prepare();
    auto start = std::chrono::steady_clock::now();
    work();
    GdiFlush();
    spent.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(spent.begin(), spent.end());
  return Figures{spent[spent.size() / 2], spent.front(), spent.back()};
}

void Print(const char* what, const Figures& figures, const Figures& baseline, const char* baselineName) {
  std::printf("%s: median %.3f ms (min %.3f, max %.3f)\n", what, figures.median, figures.min, figures.max);
  std::printf("  %s: median %.3f ms (min %.3f, max %.3f)\n", baselineName, baseline.median, baseline.min,
              baseline.max);
  std::printf("  ratio of the medians: %.2f\n", figures.median / baseline.median);
}

// Nothing to do before a round.
void Nothing() {}

// The skinned frame, whose paint can be switched to one BitBlt of a picture
// of itself: the same window and the same paint cycle, with the least a
// paint can do.
class BenchFrame : public CFrameDlg {
 public:
  BenchFrame() : CFrameDlg(IDD_FRAMEDLG_TEST, nullptr) { SetChildWnd(nullptr, kWidth, kHeight); }
  HDC picture = nullptr;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_PAINT && picture) {
      fw::PaintDC paint(Hwnd());
      BitBlt(paint, 0, 0, kWidth, kHeight, picture, 0, 0, SRCCOPY);
      return true;
    }
    return CFrameDlg::OnMessage(message, wParam, lParam, result);
  }
};

void CompareRepaint(int rounds) {
  BenchFrame frame;
  if (!frame.CreateModeless()) return;
  HWND window = frame.Hwnd();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  PumpFor(300);
  RECT client{};
  GetClientRect(window, &client);
  std::printf("frame client area %ld x %ld\n", client.right, client.bottom);

  const UINT kFull = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
  auto repaint = [&] { RedrawWindow(window, nullptr, nullptr, kFull | RDW_ALLCHILDREN); };
  auto repaintFrame = [&] { RedrawWindow(window, nullptr, nullptr, kFull); };
  for (int i = 0; i < 5; ++i) repaint();
  Figures skinned = Measure(rounds, Nothing, repaint);
  Figures own = Measure(rounds, Nothing, repaintFrame);

  HDC windowDC = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDC);
  HBITMAP picture = CreateCompatibleBitmap(windowDC, kWidth, kHeight);
  HGDIOBJ old = SelectObject(memory, picture);
  PrintWindow(window, memory, 0);  // the same picture, so the copy shows the same
  auto copy = [&] { BitBlt(windowDC, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY); };
  for (int i = 0; i < 5; ++i) copy();
  Figures blit = Measure(rounds, Nothing, copy);
  frame.picture = memory;
  for (int i = 0; i < 5; ++i) repaintFrame();
  Figures blitPaint = Measure(rounds, Nothing, repaintFrame);
  frame.picture = nullptr;
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(window, windowDC);
  DestroyWindow(window);
  PumpFor(100);

  std::printf("full repaint of the skinned frame, %d rounds\n", rounds);
  Print("  RedrawWindow (erase, update now, children)", skinned, blit, "one BitBlt 800 x 600 into the window");
  Print("  the same, the frame without its caption buttons", own, blitPaint,
        "the same paint cycle, whose paint is one BitBlt");
}

void CompareShow(int rounds) {
  std::unique_ptr<fw::Dialog> shown;
  auto drop = [&] {
    if (shown && shown->Hwnd()) DestroyWindow(shown->Hwnd());
    shown.reset();
    PumpFor(20);
  };
  auto showSkinned = [&] {
    shown = std::make_unique<CFrameDlg>(IDD_FRAMEDLG_TEST, nullptr);
    shown->CreateModeless();
    ShowWindow(shown->Hwnd(), SW_SHOW);
    UpdateWindow(shown->Hwnd());
  };
  auto showPlain = [&] {
    shown = std::make_unique<fw::Dialog>(IDD_FRAMEDLG_TEST);
    shown->CreateModeless();
    ShowWindow(shown->Hwnd(), SW_SHOW);
    UpdateWindow(shown->Hwnd());
  };
  // The first of each loads what the later ones find ready (MSXML, fonts).
  showSkinned();
  drop();
  showPlain();
  drop();
  Figures skinned = Measure(rounds, drop, showSkinned);
  Figures plain = Measure(rounds, drop, showPlain);
  drop();
  std::printf("showing a dialog from nothing to painted, %d rounds\n", rounds);
  Print("  skinned frame (default theme)", skinned, plain, "plain dialog, same template");
}

}  // namespace

int main(int argc, char** argv) {
  int repaints = argc > 1 ? std::max(50, std::atoi(argv[1])) : 100;
  int shows = argc > 2 ? std::max(15, std::atoi(argv[2])) : 21;
  CompareRepaint(repaints);
  CompareShow(shows);
  return 0;
}
