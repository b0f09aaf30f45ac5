// Times Brivan.exe started from a staged release folder under the warm Wine
// of the test harness:
//  - start-up, from the process start to the main window shown and painted,
//    against the smallest dialog program started the same way;
//  - the rest of the delayed start (the 30 pre-created pages), and opening
//    30 tabs from that pool;
//  - idle: browsers with their pages left alone for 60 s, in process time.
// Each figure is the median of the runs with its minimum and maximum.
// Run: scripts/wine-run build/x86_64/bin/browser_benchmark.exe [runs] [idle seconds]
// It empties the prefix's data folder, as the tests do.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BrowserDriver.h"
#include "BrowserProcess.h"
#include "CommHelper.h"
#include "DataFolderTest.h"
#include "StagedBrowserFolder.h"
#include "SysConf.h"
#include "TestHttpServer.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figure {
  std::vector<double> values;
  double Median() const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n == 0 ? 0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  double Min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
  double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
  void Print(const char* name, const char* unit) const {
    std::printf("%-44s median %8.2f %s  min %8.2f  max %8.2f  (%zu runs)\n", name, Median(), unit, Min(), Max(),
                values.size());
  }
};

// Nothing of the window or its children waits to be painted.
bool Painted(HWND window) {
  if (::GetUpdateRect(window, nullptr, FALSE)) return false;
  bool painted = true;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM lParam) {
        if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
          *reinterpret_cast<bool*>(lParam) = false;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

// The first visible top-level window of the process, shown and painted.
HWND PaintedWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM lParam) {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found && Painted(search.found) ? search.found : nullptr;
}

// Milliseconds from the process start to its window shown and painted; -1
// when it did not come within 20 s.
double TimeToPaintedWindow(BrowserProcess& process, const std::wstring& program, HWND* window) {
  const double start = Now();
  if (!process.Start(program)) return -1;
  *window = nullptr;
  while (Now() - start < 20000) {
    if ((*window = PaintedWindowOf(process.Id()))) return Now() - start;
    ::Sleep(1);
  }
  return -1;
}

void QuietSettings() {
  RemoveFileTree(CCommHelper::GetDataDir());
  CSysConf settings;
  settings.first_run = 0;
  settings.start_check = 0;
  settings.auto_update = 0;
  settings.open_btn_sound = 0;
  settings.limited = 0;
  settings.fullscreen_always = 0;
  settings.enable_filter = 0;
  settings.Save();
}

struct StartFigures {
  Figure browser, baseline, ratio, pool, tabs;
};

void MeasureStart(const StagedBrowserFolder& staged, const std::wstring& baselineProgram, StartFigures& f) {
  HWND window = nullptr;
  BrowserProcess baseline;
  const double baselineMs = TimeToPaintedWindow(baseline, baselineProgram, &window);
  baseline.Kill();

  BrowserProcess browserProcess;
  const double browserMs = TimeToPaintedWindow(browserProcess, staged.Browser(), &window);
  if (browserMs < 0 || baselineMs < 0) {
    std::printf("a window did not show (browser %.0f ms, baseline %.0f ms)\n", browserMs, baselineMs);
    return;
  }
  BrowserDriver browser(browserProcess.Id());
  browser.WaitForMainWindow(1000);
  // The delayed start runs on in the timer message that showed the window:
  // the window answers once its 30 pages are made.
  double mark = Now();
  browser.Sync();
  const double poolMs = Now() - mark;
  mark = Now();
  for (int i = 0; i < 30; ++i) browser.HandOverUrl(L"about:blank");
  const bool allOpened = browser.PageCount() == 31;
  const double tabsMs = Now() - mark;
  browserProcess.Kill();
  if (!allOpened) {
    std::printf("the 30 pages did not all open as tabs\n");
    return;
  }
  f.browser.values.push_back(browserMs);
  f.baseline.values.push_back(baselineMs);
  f.ratio.values.push_back(browserMs / baselineMs);
  f.pool.values.push_back(poolMs);
  f.tabs.values.push_back(tabsMs);
}

ULONGLONG CpuTime100ns(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
  ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}}, u{{user.dwLowDateTime, user.dwHighDateTime}};
  return k.QuadPart + u.QuadPart;
}

// Browsers started one after another and left alone together; each one's
// share of one core over the same interval.
Figure MeasureIdle(const StagedBrowserFolder& staged, int browsers, int seconds) {
  std::vector<std::unique_ptr<BrowserProcess>> processes;
  for (int i = 0; i < browsers; ++i) {
    processes.push_back(std::make_unique<BrowserProcess>());
    processes.back()->Start(staged.Browser());
    BrowserDriver browser(processes.back()->Id());
    if (browser.WaitForMainWindow(20000)) browser.Sync();  // its pages are made
  }
  std::vector<ULONGLONG> before;
  for (auto& p : processes) before.push_back(CpuTime100ns(p->Handle()));
  const double start = Now();
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  const double elapsedMs = Now() - start;
  Figure idle;
  for (size_t i = 0; i < processes.size(); ++i) {
    if (!processes[i]->Running()) continue;
    const double cpuMs = static_cast<double>(CpuTime100ns(processes[i]->Handle()) - before[i]) / 10000.0;
    idle.values.push_back(100.0 * cpuMs / elapsedMs);
  }
  return idle;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
  servicetest::TestHttpServer server;
  StagedBrowserFolder staged(server.Url(""));
  const std::wstring baselineProgram = staged.Path(L"minimal_dialog.exe");
  if (!staged.Ok() ||
      !::CopyFileW((CCommHelper::GetExeDir(true) + L"minimal_dialog.exe").c_str(), baselineProgram.c_str(), FALSE)) {
    std::printf("the release folder could not be staged\n");
    return 1;
  }
  QuietSettings();

  StartFigures start;
  // One untimed round warms the program files into Wine's caches.
  MeasureStart(staged, baselineProgram, start);
  start = StartFigures();
  for (int i = 0; i < runs; ++i) MeasureStart(staged, baselineProgram, start);
  start.browser.Print("Brivan.exe shown and painted", "ms");
  start.baseline.Print("minimal dialog shown and painted", "ms");
  start.ratio.Print("ratio browser / minimal dialog", "x ");
  start.pool.Print("delayed start with 30 pre-created pages", "ms");
  start.tabs.Print("30 tabs opened from the pool", "ms");

  std::printf("idle: %d browsers with their pages, %d s alone...\n", runs, idleSeconds);
  Figure idle = MeasureIdle(staged, runs, idleSeconds);
  idle.Print("idle share of one core per browser", "% ");
  return 0;
}
