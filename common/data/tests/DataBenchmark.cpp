// Times the history list and the allowed-site test on large inputs against
// a baseline measured in the same run: the list's load and save against
// TinyXML alone on the same file, the exit's purge of a folder with a
// snapshot for every entry against loading the list, the allowed-site test
// against the host key of the address alone. Each figure is the median of
// kRounds rounds, printed with its minimum and maximum; baseline and subject
// alternate in every round so that a busy machine slows both alike.
// Built with the tests, run by hand: scripts/wine-run build/x86_64/bin/data_benchmark.exe
#include <windows.h>

#include <tinyxml.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "CommHelper.h"
#include "DataFile.h"
#include "SiteList.h"
#include "SnapshotList.h"

namespace {

constexpr int kRounds = 15;
constexpr int kHistoryEntries = 18000;  // about 5 MB, months of a child's history
constexpr int kSites = 10000;
constexpr int kLookups = 10000;

double Milliseconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count();
}

struct Spread {
  double median, min, max;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values.front(), values.back()};
}

// Runs baseline and subject alternately and prints both and their ratio;
// `untimed` runs after each subject, outside the clock.
void Compare(const char* what, const char* unit, double scale, const std::function<void()>& baseline,
             const std::function<void()>& subject, const std::function<void()>& untimed = [] {}) {
  std::vector<double> base, timed, ratios;
  for (int i = 0; i < kRounds; ++i) {
    double b = Milliseconds(baseline) * scale;
    double s = Milliseconds(subject) * scale;
    untimed();
    base.push_back(b);
    timed.push_back(s);
    ratios.push_back(s / b);
  }
  Spread s = SpreadOf(timed), b = SpreadOf(base), r = SpreadOf(ratios);
  std::printf("%s: %.2f %s [%.2f..%.2f], baseline %.2f %s [%.2f..%.2f], ratio %.2f [%.2f..%.2f] (median of %d)\n",
              what, s.median, unit, s.min, s.max, b.median, unit, b.min, b.max, r.median, r.min, r.max, kRounds);
}

std::wstring SnapshotPath(const std::wstring& folder, int entry) {
  return folder + L"\\{C0FFEE00-0000-4000-8000-" + std::to_wstring(entry) + L"}.jpg";
}

void WriteHistory(const std::wstring& path, const std::wstring& folder) {
  // A list left by an earlier run is not added to.
  ::DeleteFileW(path.c_str());
  CHistoryList history(path, folder);
  for (int i = 0; i < kHistoryEntries; ++i) {
    std::wstring n = std::to_wstring(i);
    history.AddVisit(L"http://www.site" + n + L".example/page/" + n + L"?from=home&lang=zh-cn",
                     L"儿童网站 " + n + L" 的一个页面标题", SnapshotPath(folder, i));
  }
}

void WriteSnapshots(const std::wstring& folder) {
  for (int i = 0; i < kHistoryEntries; ++i) {
    HANDLE file = ::CreateFileW(SnapshotPath(folder, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
}

// What any purge must do at least: walk the folder's names.
int ListFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int names = 1;
  while (::FindNextFileW(search, &found)) ++names;
  ::FindClose(search);
  return names;
}

void DeleteSnapshots(const std::wstring& folder) {
  for (int i = 0; i < kHistoryEntries; ++i) ::DeleteFileW(SnapshotPath(folder, i).c_str());
}

}  // namespace

int main() {
  std::wstring folder = CCommHelper::GetDataDir(true) + L"bench";
  std::wstring path = folder + L"\\his.xml";
  WriteHistory(path, folder);
  std::string bytes;
  datafile::ReadBytes(path, &bytes, datafile::kMaxListBytes);
  std::printf("history file: %d entries, %zu bytes; the purge's folder has a snapshot for each\n", kHistoryEntries,
              bytes.size());

  std::unique_ptr<CHistoryList> held;
  Compare(
      "history load", "ms", 1.0,
      [&] {
        std::string read;
        datafile::ReadBytes(path, &read, datafile::kMaxListBytes);
        // TinyXML alone: the list's own checks before parsing are timed.
        TiXmlDocument document;
        document.Parse(read.c_str());
      },
      // The list saves when destroyed; that is timed below, not here.
      [&] { held = std::make_unique<CHistoryList>(path, folder); }, [&] { held.reset(); });

  CHistoryList loaded(path, folder);
  TiXmlDocument document;
  datafile::ParseXml(bytes, &document);
  Compare(
      "history save", "ms", 1.0,
      [&] { datafile::WriteBytesReplacing(path + L".copy", datafile::PrintXml(document)); },
      [&] { loaded.Save(); });
  ::DeleteFileW((path + L".copy").c_str());

  // Every entry's snapshot is there: the purge deletes nothing and each round
  // walks the same folder. Against loading the list, then against listing
  // the folder alone.
  WriteSnapshots(folder);
  Compare(
      "history purge, baseline the list's load", "ms", 1.0,
      [&] {
        held = std::make_unique<CHistoryList>(path, folder);
        held->KeepFileOnClose();
      },
      [&] { held->PurgeUnusedFiles(folder); }, [&] { held.reset(); });
  CHistoryList listed(path, folder);
  listed.KeepFileOnClose();
  Compare(
      "history purge, baseline listing the folder", "ms", 1.0, [&] { ListFolder(folder); },
      [&] { listed.PurgeUnusedFiles(folder); });
  DeleteSnapshots(folder);

  CNavCtrlList sites(folder + L"\\navctrl.dat");
  for (int i = 0; i < kSites; ++i) sites.Add(L"http://www.site" + std::to_wstring(i) + L".com.cn/", L"t");
  sites.IsHostListed(L"http://warm.example/");
  std::vector<std::wstring> addresses;
  for (int i = 0; i < kLookups; ++i) addresses.push_back(L"http://news.site" + std::to_wstring(i * 7) + L".com.cn/a");
  const double perLookupMicroseconds = 1000.0 / kLookups;
  Compare(
      "allowed-site test of 10000 sites", "us", perLookupMicroseconds,
      [&] {
        for (const std::wstring& address : addresses) SiteHostKey(address);
      },
      [&] {
        for (const std::wstring& address : addresses) sites.IsHostListed(address);
      });
  std::printf("aims: history load and save ratio within 1.30; purge ratio within 1.00; allowed-site test under 2 us\n");
  return 0;
}
