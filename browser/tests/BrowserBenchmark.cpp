// Times Brivan.exe started from a staged release folder under the warm Wine
// of the test harness:
//  - start-up, from the process start to the main window shown and painted,
//    against the smallest dialog program started the same way;
//  - the rest of the delayed start (the 30 pre-created pages), and opening
//    30 tabs from that pool;
//  - idle: browsers with their pages left alone for 60 s, in process time.
// The idle figure needs Linux's /proc, which Wine shows as Z:\proc.
// Each figure is the median of the runs with its minimum and maximum.
// Run: scripts/wine-run build/x86_64/bin/browser_benchmark.exe [runs] [idle seconds]
// It empties the prefix's data folder, as the tests do.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
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
#include "StringConv.h"
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
      [](HWND child, LPARAM lParam) CALLBACK {
        if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
          *reinterpret_cast<bool*>(lParam) = false;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

// The first visible top-level window of the process.
HWND ShownWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM lParam) CALLBACK {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds from the process start to its window shown and painted; -1
// when it did not come within 20 s. `shownMs` gets the time it showed.
double TimeToPaintedWindow(BrowserProcess& process, const std::wstring& program, double* shownMs) {
  const double start = Now();
  if (!process.Start(program)) return -1;
  *shownMs = -1;
  while (Now() - start < 20000) {
    HWND window = ShownWindowOf(process.Id());
    if (window && *shownMs < 0) *shownMs = Now() - start;
    if (window && Painted(window)) return Now() - start;
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
  Figure browserShown, browser, baseline, ratio, pool, tabs;
};

void MeasureStart(const StagedBrowserFolder& staged, const std::wstring& baselineProgram, StartFigures& f) {
  double shownMs = 0;
  BrowserProcess baseline;
  const double baselineMs = TimeToPaintedWindow(baseline, baselineProgram, &shownMs);
  baseline.Kill();

  BrowserProcess browserProcess;
  const double browserMs = TimeToPaintedWindow(browserProcess, staged.Browser(), &shownMs);
  if (browserMs < 0 || baselineMs < 0) {
    std::printf("a window did not show (browser %.0f ms, baseline %.0f ms)\n", browserMs, baselineMs);
    return;
  }
  BrowserDriver browser(browserProcess.Id());
  browser.WaitForMainWindow(1000, false);
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
  f.browserShown.values.push_back(shownMs);
  f.browser.values.push_back(browserMs);
  f.baseline.values.push_back(baselineMs);
  f.ratio.values.push_back(browserMs / baselineMs);
  f.pool.values.push_back(poolMs);
  f.tabs.values.push_back(tabsMs);
}

// Wine answers GetProcessTimes for another process with the caller's own
// times, so the browsers' times are read from Linux's /proc through Wine's
// drive Z: (utime and stime in clock ticks of 1/100 s).
std::string ReadSmallFile(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[4096];
  DWORD read = 0;
  std::string text;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read) text.append(buffer, read);
  ::CloseHandle(file);
  return text;
}

const double kTicksPerSecond = 100.0;

// CPU seconds of every Linux process running `program`, by process id.
std::map<std::wstring, double> CpuSecondsOf(const std::wstring& program) {
  std::map<std::wstring, double> times;
  const std::string wanted = fw::ToAnsi(fw::ToLower(program), CP_UTF8);
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return times;
  do {
    const std::wstring pid = found.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::string line = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    std::transform(line.begin(), line.end(), line.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    if (line.find(wanted) == std::string::npos) continue;
    const std::string stat = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\stat");
    const size_t fieldsAt = stat.rfind(')');
    if (fieldsAt == std::string::npos) continue;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    std::istringstream fields(stat.substr(fieldsAt + 2));
    std::string field;
    double user = 0, system = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
      if (number == 14) user = std::atof(field.c_str());
      if (number == 15) system = std::atof(field.c_str());
    }
    times[pid] = (user + system) / kTicksPerSecond;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return times;
}

// Browsers started one after another and left alone together; each one's
// share of one core over the same interval.
Figure MeasureIdle(const StagedBrowserFolder& staged, int browsers, int seconds) {
  std::vector<std::unique_ptr<BrowserProcess>> processes;
  for (int i = 0; i < browsers; ++i) {
    processes.push_back(std::make_unique<BrowserProcess>());
    processes.back()->Start(staged.Browser());
    BrowserDriver browser(processes.back()->Id());
    browser.WaitForMainWindow(20000);  // and its pages are made
  }
  const std::map<std::wstring, double> before = CpuSecondsOf(staged.Browser());
  const double start = Now();
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  const std::map<std::wstring, double> after = CpuSecondsOf(staged.Browser());
  const double elapsedSeconds = (Now() - start) / 1000.0;
  Figure idle;
  for (const auto& [pid, cpu] : after) {
    auto earlier = before.find(pid);
    if (earlier != before.end()) idle.values.push_back(100.0 * (cpu - earlier->second) / elapsedSeconds);
  }
  if (idle.values.size() != static_cast<size_t>(browsers))
    std::printf("found %zu of the %d browsers in /proc\n", idle.values.size(), browsers);
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
  start.browserShown.Print("Brivan.exe shown", "ms");
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
