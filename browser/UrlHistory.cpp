#include "UrlHistory.h"

#include <objbase.h>
#include <urlhist.h>

#include <algorithm>
#include <iterator>

#include "Url.h"

namespace {

const int kMinGrowth = 100;
const int kMaxGrowth = 500;

// {3C374A40-BAE4-11CF-BF7D-00AA006946EE}
const CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
// {AFA0DC11-C313-11D0-831A-00C04FD5AE38}
const IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p_) p_->Release();
  }
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

std::wstring TakeString(LPWSTR text) {
  std::wstring copy = text ? text : L"";
  if (text) ::CoTaskMemFree(text);
  return copy;
}

bool IsSiteRoot(const std::wstring& url) {
  const auto parsed = fw::Url::Parse(url);
  if (!parsed) return false;
  switch (parsed->service()) {
    case fw::Url::Service::Ftp:
    case fw::Url::Service::Http:
    case fw::Url::Service::Https:
      return parsed->object().size() <= 1;
    default:
      return false;
  }
}

}  // namespace

bool CUrlHistory::Read(std::vector<UrlHistoryEntry>& entries) {
  ComRef<IUrlHistoryStg2> history;
  if (FAILED(::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                reinterpret_cast<void**>(history.Out()))))
    return false;
  ComRef<IEnumSTATURL> urls;
  if (FAILED(history->EnumUrls(urls.Out())) || !urls) return false;
  urls->Reset();
  STATURL stat{};
  stat.cbSize = sizeof(stat);
  ULONG fetched = 0;
  while (urls->Next(1, &stat, &fetched) == S_OK && fetched == 1) {
    UrlHistoryEntry entry;
    entry.url = TakeString(stat.pwcsUrl);
    entry.title = TakeString(stat.pwcsTitle);
    entry.lastVisited = stat.ftLastVisited;
    entries.push_back(std::move(entry));
    stat = STATURL{};
    stat.cbSize = sizeof(stat);
  }
  return true;
}

std::vector<UrlHistoryEntry> CUrlHistory::SiteRoots(const std::vector<UrlHistoryEntry>& entries) {
  std::vector<UrlHistoryEntry> roots;
  std::copy_if(entries.begin(), entries.end(), std::back_inserter(roots),
               [](const UrlHistoryEntry& entry) { return IsSiteRoot(entry.url); });
  std::stable_sort(roots.begin(), roots.end(), [](const UrlHistoryEntry& a, const UrlHistoryEntry& b) {
    return ::CompareFileTime(&a.lastVisited, &b.lastVisited) > 0;
  });
  return roots;
}

int CUrlHistory::DropDownGrowth(size_t kept) {
  return static_cast<int>(std::clamp<size_t>(kept, kMinGrowth, kMaxGrowth));
}
