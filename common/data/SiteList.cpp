#include "SiteList.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

#include "CommHelper.h"
#include "DataFile.h"
#include "StringConv.h"
#include "Url.h"
#include "XmlAttributes.h"

namespace {

std::vector<std::wstring> Labels(const std::wstring& host) {
  std::vector<std::wstring> labels;
  size_t start = 0;
  while (true) {
    size_t dot = host.find(L'.', start);
    labels.push_back(host.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  return labels;
}

bool IsIpv4(const std::vector<std::wstring>& labels) {
  if (labels.size() != 4) return false;
  return std::all_of(labels.begin(), labels.end(), [](const std::wstring& label) {
    return !label.empty() && label.size() <= 3 &&
           std::all_of(label.begin(), label.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
  });
}

bool IsCountryCode(const std::wstring& label) {
  return label.size() == 2 && std::iswalpha(label[0]) && std::iswalpha(label[1]);
}

bool IsSecondLevelCategory(const std::wstring& label) {
  static const wchar_t* const kCategories[] = {L"com", L"net", L"org", L"gov", L"edu", L"ac", L"co"};
  return std::any_of(std::begin(kCategories), std::end(kCategories),
                     [&](const wchar_t* category) { return label == category; });
}

std::wstring Join(const std::vector<std::wstring>& labels, size_t count) {
  std::wstring key;
  for (size_t i = labels.size() - count; i < labels.size(); ++i) {
    if (!key.empty()) key += L'.';
    key += labels[i];
  }
  return key;
}

bool HasNetworkScheme(const std::wstring& url, size_t schemeEnd) {
  for (const wchar_t* scheme : {L"http", L"https", L"ftp"})
    if (schemeEnd == std::wcslen(scheme) && _wcsnicmp(url.c_str(), scheme, schemeEnd) == 0) return true;
  return false;
}

// The authority of an http, https or ftp address: from after "://" to the
// first "/", "\\", "?" or "#". Browsers end the host at a backslash as at a
// slash, while the URL cracker reads on to a later "@": "http://evil.com\@s.t/"
// opens evil.com.
bool FindAuthority(const std::wstring& url, size_t* start, size_t* end) {
  size_t schemeEnd = url.find(L"://");
  if (schemeEnd == std::wstring::npos || !HasNetworkScheme(url, schemeEnd)) return false;
  *start = schemeEnd + 3;
  *end = std::min(url.find_first_of(L"/\\?#", *start), url.size());
  return true;
}

// "[::1]:80" or "user@[::1]": the literal between the brackets, which the
// cracker does not take apart; empty for any other host.
std::wstring Ipv6Literal(const std::wstring& url, size_t start, size_t end) {
  size_t at = url.rfind(L'@', end - 1);
  size_t host = at == std::wstring::npos || at < start ? start : at + 1;
  if (host >= end || url[host] != L'[') return {};
  size_t close = url.find(L']', host);
  if (close == std::wstring::npos || close >= end) return {};
  return fw::ToLower(url.substr(host + 1, close - host - 1));
}

}  // namespace

std::wstring SiteHostKey(const std::wstring& address) {
  size_t start = 0;
  size_t end = 0;
  std::wstring cut;
  if (FindAuthority(address, &start, &end)) {
    std::wstring literal = Ipv6Literal(address, start, end);
    if (!literal.empty()) return literal;
    // The address is cut where the engine ends the host.
    if (end < address.size() && address[end] == L'\\') cut = address.substr(0, end) + L"/";
  }
  const std::wstring& url = cut.empty() ? address : cut;
  auto parsed = fw::Url::Parse(url);
  if (!parsed) return {};
  std::wstring host = fw::ToLower(parsed->server());
  if (!host.empty() && host.back() == L'.') host.pop_back();
  if (host.empty()) return {};
  // An IPv6 literal, or any host with characters no name has, is its own key.
  if (host.find(L':') != std::wstring::npos || host.front() == L'[') return host;
  std::vector<std::wstring> labels = Labels(host);
  if (labels.size() == 1 || IsIpv4(labels)) return host;
  size_t count = 2;
  if (labels.size() >= 3 && IsCountryCode(labels.back()) && IsSecondLevelCategory(labels[labels.size() - 2]))
    count = 3;
  return Join(labels, count);
}

template <typename Record, std::wstring Record::*Address>
CSiteList<Record, Address>::CSiteList(std::wstring path, const char* rootName, const char* addressAttribute)
    : path_(std::move(path)), rootName_(rootName), addressAttribute_(addressAttribute) {
  Load();
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::Load() {
  damaged_ = false;
  unreadable_ = false;
  try {
    const datafile::ReadResult read = Read();
    unreadable_ = read.Unreadable();
    damaged_ = read.state == datafile::FileState::kDamaged;
    return read ? 1 : 0;
  } catch (const std::bad_alloc&) {
    // Within the lists' memory budget, yet more than this process's heap
    // had left: as unreadable as a damaged file, and what was read of it goes.
    RemoveAll();
  }
  damaged_ = datafile::Exists(path_);
  return 0;
}

template <typename Record, std::wstring Record::*Address>
datafile::ReadResult CSiteList<Record, Address>::Read() {
  TiXmlDocument document;
  // The address is kept twice: as the key and in the record.
  const datafile::ListEntrySize entrySize{sizeof(Record), datafile::MapNodeSize<decltype(records_)>(), 2};
  if (const datafile::ReadResult read = datafile::LoadListFile(path_, &document, entrySize); !read) return read;
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (!element || std::strcmp(element->Value(), "site") != 0) continue;
    // A site without an address is no site.
    if (!xmlattr::Has(*element, addressAttribute_)) continue;
    Add(xmlattr::Text(*element, addressAttribute_), xmlattr::Text(*element, "title"));
  }
  return {datafile::FileState::kRead};
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::Save() {
  try {
    return Write();
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::Write() {
  if (unreadable_) return 0;
  if (damaged_) {
    if (!datafile::SetAside(path_)) return 0;
    damaged_ = false;
  }
  TiXmlDocument document;
  document.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", ""));
  TiXmlElement* root = document.LinkEndChild(new TiXmlElement(rootName_))->ToElement();
  for (const auto& [address, record] : records_) {
    TiXmlElement* site = root->LinkEndChild(new TiXmlElement("site"))->ToElement();
    xmlattr::SetText(site, addressAttribute_, address);
    xmlattr::SetText(site, "title", record->title);
  }
  return datafile::SaveXmlFile(path_, document) ? 1 : 0;
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::Add(const std::wstring& address, const std::wstring& title) {
  auto& slot = records_[address];
  if (!slot) {
    slot = std::make_unique<Record>();
    (*slot).*Address = address;
    hostKeysStale_ = true;
  }
  slot->title = title;
  return 1;
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::Remove(const std::wstring& address) {
  if (!records_.erase(address)) return 0;
  hostKeysStale_ = true;
  return 1;
}

template <typename Record, std::wstring Record::*Address>
int CSiteList<Record, Address>::ForEach(Callback callback, void* user) {
  if (!callback) return 0;
  for (auto& entry : records_) callback(entry.second.get(), user);
  return 0;
}

template <typename Record, std::wstring Record::*Address>
void CSiteList<Record, Address>::RemoveAll() {
  records_.clear();
  hostKeysStale_ = true;
}

template <typename Record, std::wstring Record::*Address>
const std::set<std::wstring>& CSiteList<Record, Address>::HostKeys() const {
  if (hostKeysStale_) {
    hostKeys_.clear();
    for (const auto& entry : records_) {
      std::wstring key = SiteHostKey(entry.first);
      if (!key.empty()) hostKeys_.insert(std::move(key));
    }
    hostKeysStale_ = false;
  }
  return hostKeys_;
}

template class CSiteList<SiteRecord, &SiteRecord::url>;
template class CSiteList<RecommendRecord, &RecommendRecord::uri>;

std::wstring GetNavCtrlPath() { return CCommHelper::GetDataDir(true) + L"navctrl.dat"; }
std::wstring GetRecommendListPath() { return CCommHelper::GetDataDir(true) + L"pr.dat"; }

CNavCtrlList::CNavCtrlList() : CNavCtrlList(GetNavCtrlPath()) {}
CNavCtrlList::CNavCtrlList(const std::wstring& path) : CSiteList(path, "navctrl", "url") {}

int CNavCtrlList::IsHostListed(const std::wstring& url) const {
  std::wstring key = SiteHostKey(url);
  return !key.empty() && HostKeys().count(key) ? 1 : 0;
}

CRecommendList::CRecommendList() : CRecommendList(GetRecommendListPath()) {}
CRecommendList::CRecommendList(const std::wstring& path) : CSiteList(path, "recs", "uri") {}
