#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DataFile.h"

class CHeldFolder;
class TiXmlElement;

// A visited page with the snapshot file (img) taken of it.
struct HistoryRecord {
  std::wstring title;
  std::wstring uri;
  std::wstring img;
  std::wstring time;   // local time of the last visit, "%Y-%m-%d %H:%M:%S"
  std::wstring extra;  // shown by the log page; no file stores it
};

struct FavoriteRecord {
  std::wstring title;
  std::wstring uri;
  std::wstring img;
};

// A list of pages with snapshots beside its XML file, ordered by address.
// Built for one operation: the constructor loads the file, the destructor
// saves it.
template <typename Record>
class CSnapshotList {
 public:
  using Callback = void (*)(Record* record, void* user);

  CSnapshotList(std::wstring path, std::wstring folder, const char* rootName, const char* entryName);
  virtual ~CSnapshotList();
  CSnapshotList(const CSnapshotList&) = delete;
  CSnapshotList& operator=(const CSnapshotList&) = delete;

  // A file too large for this process's memory, by its estimate, reads as
  // damaged: empty. A load that runs out of memory all the same leaves the
  // list empty and unloaded: it then neither saves nor purges anything.
  int Load();
  // A file that could not be read is first set aside under a name of its
  // own ("<file>.damaged", "<file>.damaged2", ...). 0 also when the list does
  // not fit in memory once more as text, or was not loaded.
  int Save() const;
  int Remove(const std::wstring& uri);
  int ForEach(Callback callback, void* user);
  int Count() const { return static_cast<int>(records_.size()); }
  int IsImageUsed(const std::wstring& path) const;
  // Deletes every file under `folder` that no entry's snapshot is. Only the
  // list's own folder (and below) is ever purged, each folder held while it
  // is (a link in place of one is not gone into); never the list's file nor a
  // copy set aside, and nothing while the list's file could not be read or,
  // in the run that set it aside, while its copy is there.
  void PurgeUnusedFiles(const std::wstring& folder);
  // The destructor then writes the file only where there is none or it could
  // not be read: a list opened only to be looked at must not write back over
  // what another program saved after it was loaded.
  void KeepFileOnClose() { keepFile_ = true; }
  const std::wstring& Path() const { return path_; }
  // True when the list's folder, or the data folder holding it, is a link
  // (junction, mount point): nothing is then written or deleted there. The
  // save and the purge hold both folders while they work in them.
  bool IsFolderLinked() const;

 protected:
  // Inserts a new entry, or updates the listed one (title, time, snapshot;
  // its old snapshot file goes with the next save unless it is the new one).
  // True when new.
  bool AddOrUpdate(std::unique_ptr<Record> record);
  // Keyed by a view of the record's own uri, which never changes once listed:
  // one allocation less per entry of a long history.
  using RecordMap = std::map<std::wstring_view, std::unique_ptr<Record>>;
  RecordMap& Records() { return records_; }
  // The snapshot of an entry taken out: deleted by the next save that
  // succeeds, unless an entry names it again, and only when it is a file
  // directly in the list's own folder (not the list's file, no stream, device
  // or network name) and that folder is no link. Until then the file still
  // lists the entry, and a save that fails keeps both.
  void DeleteSnapshotOnSave(const std::wstring& img) { droppedSnapshots_.push_back(img); }

 private:
  datafile::FileState Read();
  int Write() const;
  // Once the file is written: the snapshots DeleteSnapshotOnSave was given,
  // in the list's folder `own`, held.
  void DeleteDroppedSnapshots(const CHeldFolder& own) const;

  std::wstring path_;
  std::wstring folder_;
  const char* rootName_;
  const char* entryName_;
  RecordMap records_;
  mutable std::vector<std::wstring> droppedSnapshots_;
  // The file exists but could not be read: it is set aside before the list
  // is written over it.
  mutable bool damaged_ = false;
  // The load ran out of memory or the file could not be read: its entries
  // are unknown.
  bool unloaded_ = false;
  bool keepFile_ = false;
};

class CHistoryList : public CSnapshotList<HistoryRecord> {
 public:
  CHistoryList();
  CHistoryList(std::wstring path, std::wstring folder);
  int AddVisit(const std::wstring& uri, const std::wstring& title, const std::wstring& img);
  // The entry's snapshot goes with the next save.
  int Remove(const std::wstring& uri);
  // Takes out every entry; the next save rewrites the file and then deletes
  // their snapshots.
  void RemoveAll();
};

class CFavorites : public CSnapshotList<FavoriteRecord> {
 public:
  CFavorites();
  CFavorites(std::wstring path, std::wstring folder);
  // 1 for a new favourite, 0 when a listed one was updated.
  int Add(const std::wstring& uri, const std::wstring& title, const std::wstring& img);
  void PurgeUnusedImages(const std::wstring& folder) { PurgeUnusedFiles(folder); }
};

std::wstring GetHistoryDir();        // no trailing backslash
std::wstring GetHistoryFilePath();
std::wstring GetFavoritesDir();      // with a trailing backslash
std::wstring GetFavoritesFilePath();
std::wstring CurrentVisitTime();
