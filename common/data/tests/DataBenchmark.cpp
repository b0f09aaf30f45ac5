// Times the history list and the allowed-site test on large inputs and
// compares the list's load and save with TinyXML alone on the same file.
// Built with the tests, run by hand: scripts/wine-run build/x86_64/bin/data_benchmark.exe
#include <windows.h>

#include <tinyxml.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "CommHelper.h"
#include "DataFile.h"
#include "SiteList.h"
#include "SnapshotList.h"

namespace {

double Milliseconds(const std::function<void()>& work, int rounds = 5) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    if (spent.count() < best) best = spent.count();
  }
  return best;
}

}  // namespace

int main() {
  std::wstring folder = CCommHelper::GetDataDir(true) + L"bench";
  std::wstring path = folder + L"\\his.xml";
  {
    CHistoryList history(path, folder);
    for (int i = 0; i < 5000; ++i) {
      std::wstring n = std::to_wstring(i);
      history.AddVisit(L"http://www.site" + n + L".example/page/" + n, L"儿童网站 " + n,
                       folder + L"\\{" + n + L"}.jpg");
    }
  }
  CHistoryList loaded(path, folder);
  // Loading again into a filled list takes the same path through every entry.
  double listLoad = Milliseconds([&] { loaded.Load(); });
  double listSave = Milliseconds([&] { loaded.Save(); });
  double tinyLoad = Milliseconds([&] {
    std::string bytes;
    datafile::ReadBytes(path, &bytes);
    TiXmlDocument document;
    document.Parse(bytes.c_str());
  });
  double tinySave = Milliseconds([&] {
    std::string bytes;
    static TiXmlDocument document;
    if (!document.RootElement()) {
      datafile::ReadBytes(path, &bytes);
      document.Parse(bytes.c_str());
    }
    datafile::WriteBytesReplacing(path + L".copy", datafile::PrintXml(document));
  });
  std::printf("history of 5000: load %.1f ms (TinyXML alone %.1f ms, ratio %.2f)\n", listLoad, tinyLoad,
              listLoad / tinyLoad);
  std::printf("history of 5000: save %.1f ms (TinyXML alone %.1f ms, ratio %.2f)\n", listSave, tinySave,
              listSave / tinySave);

  CNavCtrlList sites(folder + L"\\navctrl.dat");
  for (int i = 0; i < 10000; ++i) sites.Add(L"http://www.site" + std::to_wstring(i) + L".com.cn/", L"t");
  sites.IsHostListed(L"http://warm.example/");
  const int lookups = 10000;
  double hostTest = Milliseconds([&] {
    for (int i = 0; i < lookups; ++i) sites.IsHostListed(L"http://news.site" + std::to_wstring(i * 7) + L".com.cn/a");
  });
  std::printf("IsHostListed against 10000 sites: %.2f us per test\n", hostTest * 1000.0 / lookups);
  return 0;
}
