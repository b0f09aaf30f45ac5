#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>

#include "DataFile.h"

// One site of a list: its title and its address.
struct SiteRecord {
  std::wstring title;
  std::wstring url;
};
// The recommended sites call the address "uri".
struct RecommendRecord {
  std::wstring title;
  std::wstring uri;
};

// The host key sites are matched by: the last two labels of the host ("s.t"
// for w.s.t), three under a two-part country suffix ("s.com.cn"), and the
// whole host for a single label or a numeric address (an IPv6 literal without
// its brackets). Lower-case; empty when the address has no host.
std::wstring SiteHostKey(const std::wstring& address);

// A list of sites in a file of the data folder, ordered by address (exact,
// case-sensitive); one record per address.
template <typename Record, std::wstring Record::*Address>
class CSiteList {
 public:
  using Callback = void (*)(Record* record, void* user);

  CSiteList(std::wstring path, const char* rootName, const char* addressAttribute);
  virtual ~CSiteList() = default;
  CSiteList(const CSiteList&) = delete;
  CSiteList& operator=(const CSiteList&) = delete;

  // A file too large for this process's memory reads as damaged: empty.
  int Load();
  // A damaged file is first set aside as "<file>.damaged"; over one the last
  // Load found but could not read (another program holds it) nothing is
  // written: 0.
  int Save();
  bool Unreadable() const { return unreadable_; }
  // A listed address gets the new title.
  int Add(const std::wstring& address, const std::wstring& title);
  int Remove(const std::wstring& address);
  int Contains(const std::wstring& address) const { return records_.count(address) ? 1 : 0; }
  int ForEach(Callback callback, void* user);
  void RemoveAll();
  size_t Count() const { return records_.size(); }
  const std::wstring& Path() const { return path_; }

 protected:
  // Lower-case host keys of every listed address, kept with the list.
  const std::set<std::wstring>& HostKeys() const;

 private:
  datafile::ReadResult Read();
  int Write();

  std::wstring path_;
  const char* rootName_;
  const char* addressAttribute_;
  std::map<std::wstring, std::unique_ptr<Record>> records_;
  mutable std::set<std::wstring> hostKeys_;
  mutable bool hostKeysStale_ = true;
  // The file exists but is not a list: set aside before saving over it.
  bool damaged_ = false;
  bool unreadable_ = false;
};

class CNavCtrlList : public CSiteList<SiteRecord, &SiteRecord::url> {
 public:
  CNavCtrlList();
  explicit CNavCtrlList(const std::wstring& path);
  // 1 when the host key of `url` is the host key of a listed site.
  int IsHostListed(const std::wstring& url) const;
};

class CRecommendList : public CSiteList<RecommendRecord, &RecommendRecord::uri> {
 public:
  CRecommendList();
  explicit CRecommendList(const std::wstring& path);
};

std::wstring GetNavCtrlPath();
std::wstring GetRecommendListPath();
