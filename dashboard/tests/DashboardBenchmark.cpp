// Times how long the control panel takes to open and to close with a long
// history in the data folder (the log page reads it whole when the panel
// opens), against the same panel with an empty history, and the history's
// load alone. Each figure is the median of the runs with its minimum and
// maximum; the process's peak working set follows.
// Built with the tests, run by hand:
//   scripts/wine-run build/x86_64/bin/dashboard_benchmark.exe [entries] [runs]
// It replaces the history of the prefix's data folder.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "DataFile.h"
#include "PanelDriver.h"
#include "SnapshotList.h"
#include "StringConv.h"

extern "C" __declspec(dllimport) int ShowDashBoard(int mode);

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Entries as the browser writes them: an address, a page title, a snapshot
// under a GUID name in the history folder and the visit's time.
std::string HistoryOf(int entries) {
  std::string folder = fw::ToAnsi(GetHistoryDir());
  std::string text = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n";
  const std::string title = fw::ToAnsi(L"儿童网站：动物故事里的一个页面，第 ");
  char line[1024];
  for (int i = 0; i < entries; ++i) {
    std::snprintf(line, sizeof(line),
                  "    <site uri=\"http://www.site%07d.example/stories/animals/page.html?from=home&amp;lang=zh-cn\" "
                  "title=\"%s%d\" img=\"%s\\{6B29FC40-CA47-1067-B31D-%012d}.jpg\" time=\"2026-11-30 18:05:09\" />\r\n",
                  i, title.c_str(), i, folder.c_str(), i);
    text += line;
  }
  text += "</his>\r\n";
  return text;
}

struct Times {
  double open, close;
};

// ShowDashBoard(0) until the panel shows, then Cancel until it returns.
Times OpenAndClose() {
  Times times{};
  paneltest::Driver driver(::GetCurrentThreadId());
  driver.IgnoreExisting();
  Clock::time_point start = Clock::now();
  Clock::time_point cancelled;
  std::thread actor([&] {
    HWND panel = driver.WaitFor([&] {
      HWND found = driver.FindPanel();
      return found && ::IsWindowVisible(found) ? found : nullptr;
    }, "the panel", 600000);
    times.open = Since(start);
    cancelled = Clock::now();
    paneltest::Driver::Click(panel, 1023);
  });
  ShowDashBoard(0);
  times.close = Since(cancelled);
  actor.join();
  return times;
}

void Print(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-44s median %9.1f ms  min %9.1f  max %9.1f\n", what, values[values.size() / 2], values.front(),
              values.back());
}

double PeakWorkingSetMB() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
  return memory.PeakWorkingSetSize / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  int entries = argc > 1 ? std::atoi(argv[1]) : 300000;
  int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  std::string history = HistoryOf(entries);
  std::printf("history: %d entries, %.1f MB; %d runs\n", entries, history.size() / 1048576.0, runs);
  std::vector<double> emptyOpen, emptyClose, open, close, load;
  for (int run = 0; run < runs; ++run) {
    datafile::WriteBytesReplacing(GetHistoryFilePath(), "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his />\r\n",
                                  true);
    Times empty = OpenAndClose();
    emptyOpen.push_back(empty.open);
    emptyClose.push_back(empty.close);
    datafile::WriteBytesReplacing(GetHistoryFilePath(), history, true);
    Clock::time_point start = Clock::now();
    {
      CHistoryList list;
      list.KeepFileOnClose();
      if (list.Count() != entries) std::printf("loaded %d entries\n", list.Count());
    }
    load.push_back(Since(start));
    if (run == 0) std::printf("peak working set after the first load alone: %.0f MB\n", PeakWorkingSetMB());
    Times full = OpenAndClose();
    open.push_back(full.open);
    close.push_back(full.close);
  }
  Print("panel opens, empty history", emptyOpen);
  Print("panel opens, long history", open);
  Print("panel closes, empty history", emptyClose);
  Print("panel closes, long history", close);
  Print("history list loads alone", load);
  std::printf("peak working set, the panel opened on the long history: %.0f MB\n", PeakWorkingSetMB());
  return 0;
}
