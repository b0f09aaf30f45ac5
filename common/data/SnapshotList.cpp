#include "SnapshotList.h"

#include <windows.h>

#include <tinyxml.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <new>
#include <unordered_set>

#include "CommHelper.h"
#include "DataFile.h"
#include "HeldFolder.h"
#include "StringConv.h"
#include "XmlAttributes.h"

namespace {

void ReadFields(const TiXmlElement& element, HistoryRecord* record) {
  record->title = xmlattr::Text(element, "title");
  record->img = xmlattr::Text(element, "img");
  record->time = xmlattr::Text(element, "time");
}
void ReadFields(const TiXmlElement& element, FavoriteRecord* record) {
  record->title = xmlattr::Text(element, "title");
  record->img = xmlattr::Text(element, "img");
}

// Appends ` name="value"` exactly as TinyXML prints an attribute, so the list
// is written straight from its records without building a document first.
void AppendAttribute(std::string* out, const char* name, const std::wstring& text) {
  std::string value = fw::ToAnsi(text);
  // An element keeps text only up to a zero byte.
  TIXML_STRING raw(value.c_str());
  TIXML_STRING encoded;
  TiXmlBase::EncodeString(raw, &encoded);
  char quote = raw.find('"') == TIXML_STRING::npos ? '"' : '\'';
  *out += ' ';
  *out += name;
  *out += '=';
  *out += quote;
  out->append(encoded.c_str(), encoded.length());
  *out += quote;
}

void WriteFields(std::string* out, const HistoryRecord& record) {
  AppendAttribute(out, "title", record.title);
  AppendAttribute(out, "img", record.img);
  AppendAttribute(out, "time", record.time);
}
void WriteFields(std::string* out, const FavoriteRecord& record) {
  AppendAttribute(out, "title", record.title);
  AppendAttribute(out, "img", record.img);
}

// An update of a history entry, also a second entry of one address in the
// file, is a visit now.
void TakeVisitTime(HistoryRecord* listed) { listed->time = CurrentVisitTime(); }
void TakeVisitTime(FavoriteRecord*) {}

std::wstring WithoutSlash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// The copies this program set aside of unreadable lists since it started, by
// the list's lower-case path. A list is built anew for every operation and
// one that saves over a damaged file reads back fine: only this memory keeps
// the exit's purge from deleting the snapshots a copy names.
std::map<std::wstring, std::vector<std::wstring>>& SetAsideCopies() {
  static std::map<std::wstring, std::vector<std::wstring>> copies;
  return copies;
}

// Whether the purge must spare every file: a copy of the list set aside in
// this run is still there.
bool KeepsSetAsideSnapshots(const std::wstring& path) {
  const auto found = SetAsideCopies().find(fw::ToLower(path));
  if (found == SetAsideCopies().end()) return false;
  const std::vector<std::wstring>& copies = found->second;
  return std::any_of(copies.begin(), copies.end(), datafile::Exists);
}

// The data folder and the list's folder in it, each held; the last is held
// only when both are there and neither is a link.
std::vector<CHeldFolder> HoldListFolder(const std::wstring& folder) {
  std::vector<CHeldFolder> held;
  const std::wstring own = WithoutSlash(folder);
  const size_t slash = own.rfind(L'\\');
  if (slash == std::wstring::npos) return held;
  held.emplace_back(own.substr(0, slash));
  held.push_back(held.back().Child(own.substr(slash + 1)));
  return held;
}

// Resolves ".", "..", "/" and repeated separators as the file system would.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return {};
  full.resize(length);
  return full;
}

// A device answers to its name with any extension or trailing blanks.
bool IsDeviceName(const std::wstring& name) {
  std::wstring base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"})
    if (fw::EqualsNoCase(base, device)) return true;
  if (base.size() != 4 || !(fw::EqualsNoCase(base.substr(0, 3), L"COM") || fw::EqualsNoCase(base.substr(0, 3), L"LPT")))
    return false;
  const wchar_t number = base[3];
  return (number >= L'0' && number <= L'9') || number == L'\u00B9' || number == L'\u00B2' || number == L'\u00B3';
}

// `path` made canonical when it names a file directly in `ownFolder`, other
// than `listFile` (both canonical already); else empty. Long-path, device and
// network forms stay what they are and so never name the folder.
std::wstring FileDirectlyIn(const std::wstring& path, const std::wstring& ownFolder, const std::wstring& listFile) {
  const std::wstring full = FullPath(path);
  const size_t slash = full.rfind(L'\\');
  if (ownFolder.empty() || slash == std::wstring::npos) return {};
  const std::wstring name = full.substr(slash + 1);
  // A colon names a stream of a file; "::$DATA" is the whole file.
  if (name.empty() || name.find(L':') != std::wstring::npos || IsDeviceName(name) ||
      !fw::EqualsNoCase(full.substr(0, slash), ownFolder) || fw::EqualsNoCase(full, listFile))
    return {};
  return full;
}

// Holds the folders from `root` (held) down to `folder`, each opened in the
// one before it; the last is held only when `folder` is `root` or a folder
// below it whose every step is a plain name.
bool HoldDownTo(const std::wstring& folder, std::vector<CHeldFolder>* held) {
  const std::wstring target = WithoutSlash(folder);
  const std::wstring& root = held->back().Path();
  if (target.size() < root.size() || !fw::EqualsNoCase(target.substr(0, root.size()), root) ||
      (target.size() > root.size() && target[root.size()] != L'\\'))
    return false;
  for (size_t from = root.size() + 1; from <= target.size() && held->back().IsHeld();) {
    const size_t slash = std::min(target.find(L'\\', from), target.size());
    held->push_back(held->back().Child(target.substr(from, slash - from)));
    from = slash + 1;
  }
  return held->back().IsHeld();
}

// Deletes the files under `folder` whose key (fw::NoCaseKey) is not in `used`,
// but never the list's file at `listPath`, one set aside or a save's temporary.
void PurgeFolder(const CHeldFolder& folder, const std::unordered_set<std::wstring>& used,
                 const std::wstring& listPath) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(folder.PathOf(L"*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  const std::wstring listKey = fw::NoCaseKey(listPath);
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // The listing may be older than the folder now there: it is opened
      // and looked at before it is gone into, and held while it is purged.
      const CHeldFolder subfolder = folder.Child(name);
      if (subfolder.IsHeld()) PurgeFolder(subfolder, used, listPath);
      continue;
    }
    const std::wstring path = folder.PathOf(name);
    const std::wstring key = fw::NoCaseKey(path);
    // Another program may be saving the list right now; the temporaries of
    // dead writers go with the next save.
    if (used.count(key) || key == listKey || datafile::IsSetAside(name, listPath) ||
        datafile::IsSaveTemporary(name, listPath))
      continue;
    ::DeleteFileW(path.c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace

std::wstring CurrentVisitTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  wchar_t text[32] = {};
  std::wcsftime(text, 32, L"%Y-%m-%d %H:%M:%S", &local);
  return text;
}

template <typename Record>
CSnapshotList<Record>::CSnapshotList(std::wstring path, std::wstring folder, const char* rootName,
                                     const char* entryName)
    : path_(std::move(path)), folder_(std::move(folder)), rootName_(rootName), entryName_(entryName) {
  Load();
}

template <typename Record>
CSnapshotList<Record>::~CSnapshotList() {
  if (keepFile_ && !damaged_ && datafile::Exists(path_)) return;
  Save();
}

template <typename Record>
int CSnapshotList<Record>::Load() {
  damaged_ = false;
  unloaded_ = false;
  // What was taken out goes back with the file's entries.
  droppedSnapshots_.clear();
  datafile::FileState state = datafile::FileState::kDamaged;
  try {
    state = Read();
  } catch (const std::bad_alloc&) {
    // A file within the lists' memory budget may still find the heap too
    // full or too broken up for the moment: the file is not at fault.
    state = datafile::FileState::kUnreadable;
  }
  if (state == datafile::FileState::kRead) return 1;
  if (state == datafile::FileState::kUnreadable) {
    // So is a file another program holds: it and its snapshots stay as they
    // are, and what was read of it goes.
    records_.clear();
    droppedSnapshots_.clear();
    unloaded_ = true;
    return 0;
  }
  damaged_ = state == datafile::FileState::kDamaged;
  return 0;
}

template <typename Record>
datafile::FileState CSnapshotList<Record>::Read() {
  TiXmlDocument document;
  const datafile::ListEntrySize entrySize{sizeof(Record), datafile::MapNodeSize<RecordMap>(), 1};
  const datafile::ReadResult read = datafile::LoadListFile(path_, &document, entrySize);
  if (!read) return read.state;
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (!element || std::strcmp(element->Value(), entryName_) != 0 || !xmlattr::Has(*element, "uri")) continue;
    auto record = std::make_unique<Record>();
    record->uri = xmlattr::Text(*element, "uri");
    ReadFields(*element, record.get());
    AddOrUpdate(std::move(record));
  }
  return datafile::FileState::kRead;
}

template <typename Record>
bool CSnapshotList<Record>::IsFolderLinked() const {
  const std::vector<CHeldFolder> held = HoldListFolder(folder_);
  return std::any_of(held.begin(), held.end(), [](const CHeldFolder& folder) { return folder.IsLink(); });
}

template <typename Record>
int CSnapshotList<Record>::Save() const {
  // A list that could not be loaded knows nothing of the file's entries.
  if (unloaded_) return 0;
  // Also from the destructor, where an exception would end the program.
  try {
    return Write();
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

template <typename Record>
int CSnapshotList<Record>::Write() const {
  // Made before it is looked at, so that what is looked at is what is
  // written into.
  CCommHelper::MakeDirTree(folder_, AccountSharing::kModifyInside);
  // Held until the dropped snapshots are gone.
  const std::vector<CHeldFolder> held = HoldListFolder(folder_);
  if (held.empty() || !held.back().IsHeld()) return 0;
  if (damaged_) {
    std::wstring copy;
    if (!datafile::SetAside(path_, &copy)) return 0;
    if (!copy.empty()) SetAsideCopies()[fw::ToLower(path_)].push_back(copy);
    damaged_ = false;
  }
  const char* const lineBreak = datafile::kLineBreak;
  std::string text = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>";
  text += lineBreak;
  text += '<';
  text += rootName_;
  if (records_.empty()) {
    text += " />";
    text += lineBreak;
  } else {
    text += '>';
    text += lineBreak;
    for (const auto& entry : records_) {
      text += "    <";
      text += entryName_;
      AppendAttribute(&text, "uri", entry.second->uri);
      WriteFields(&text, *entry.second);
      text += " />";
      text += lineBreak;
    }
    text += "</";
    text += rootName_;
    text += '>';
    text += lineBreak;
  }
  // The browser of every account records visits and favourites; its exit
  // purges the snapshots whoever took them.
  if (!datafile::WriteBytesReplacing(path_, text, /*createFolder=*/false, AccountSharing::kModify)) return 0;
  DeleteDroppedSnapshots(held.back());
  return 1;
}

template <typename Record>
void CSnapshotList<Record>::DeleteDroppedSnapshots(const CHeldFolder& own) const {
  std::vector<std::wstring> dropped;
  dropped.swap(droppedSnapshots_);
  if (dropped.empty()) return;
  // The list's file is any account's to write: a snapshot is deleted only
  // when it names a file directly in the list's own folder.
  const std::wstring ownFolder = WithoutSlash(FullPath(own.Path()));
  const std::wstring listFile = FullPath(path_);
  // An entry added since may have taken the name again.
  std::unordered_set<std::wstring> used;
  for (const auto& entry : records_) used.insert(fw::NoCaseKey(entry.second->img));
  for (const std::wstring& img : dropped) {
    if (used.count(fw::NoCaseKey(img))) continue;
    const std::wstring file = FileDirectlyIn(img, ownFolder, listFile);
    if (!file.empty()) ::DeleteFileW(file.c_str());
  }
}

template <typename Record>
bool CSnapshotList<Record>::AddOrUpdate(std::unique_ptr<Record> record) {
  // A saved file lists its entries in key order: each goes at the end.
  std::wstring_view uri = record->uri;
  if (records_.empty() || records_.rbegin()->first < uri) {
    records_.emplace_hint(records_.end(), uri, std::move(record));
    return true;
  }
  auto found = records_.find(uri);
  if (found == records_.end()) {
    records_.emplace(uri, std::move(record));
    return true;
  }
  Record& listed = *found->second;
  listed.title = record->title;
  // A revisit may reuse the snapshot name; deleting it then would lose the
  // snapshot just taken. The old one goes once the file no longer names it.
  if (!fw::EqualsNoCase(listed.img, record->img)) DeleteSnapshotOnSave(listed.img);
  TakeVisitTime(&listed);
  listed.img = record->img;
  return false;
}

template <typename Record>
int CSnapshotList<Record>::Remove(const std::wstring& uri) {
  return records_.erase(uri) ? 1 : 0;
}

template <typename Record>
int CSnapshotList<Record>::ForEach(Callback callback, void* user) {
  if (!callback) return 0;
  for (auto& entry : records_) callback(entry.second.get(), user);
  return 0;
}

template <typename Record>
int CSnapshotList<Record>::IsImageUsed(const std::wstring& path) const {
  for (const auto& entry : records_)
    if (fw::EqualsNoCase(entry.second->img, path)) return 1;
  return 0;
}

template <typename Record>
void CSnapshotList<Record>::PurgeUnusedFiles(const std::wstring& folder) {
  // A list whose file could not be loaded, or was set aside in this run and
  // is still there, may name any of the files: all of them stay.
  if (unloaded_ || damaged_ || KeepsSetAsideSnapshots(path_)) return;
  // Each folder is held from before it is listed until it is done with.
  std::vector<CHeldFolder> held = HoldListFolder(folder_);
  if (held.empty() || !held.back().IsHeld() || !HoldDownTo(folder, &held)) return;
  // A long history has a snapshot for nearly every entry: each file is looked
  // up once instead of against every entry.
  std::unordered_set<std::wstring> used;
  used.reserve(records_.size());
  for (const auto& entry : records_) used.insert(fw::NoCaseKey(entry.second->img));
  PurgeFolder(held.back(), used, path_);
}

template class CSnapshotList<HistoryRecord>;
template class CSnapshotList<FavoriteRecord>;

std::wstring GetHistoryDir() { return CCommHelper::GetDataDir() + L"\\his"; }
std::wstring GetHistoryFilePath() { return GetHistoryDir() + L"\\his.xml"; }
std::wstring GetFavoritesDir() { return CCommHelper::GetDataDir() + L"\\favs\\"; }
std::wstring GetFavoritesFilePath() { return GetFavoritesDir() + L"favs.xml"; }

CHistoryList::CHistoryList() : CHistoryList(GetHistoryFilePath(), GetHistoryDir()) {}
CHistoryList::CHistoryList(std::wstring path, std::wstring folder)
    : CSnapshotList(std::move(path), std::move(folder), "his", "site") {}

int CHistoryList::AddVisit(const std::wstring& uri, const std::wstring& title, const std::wstring& img) {
  auto record = std::make_unique<HistoryRecord>();
  record->uri = uri;
  record->title = title;
  record->img = img;
  record->time = CurrentVisitTime();
  AddOrUpdate(std::move(record));
  return 1;
}

int CHistoryList::Remove(const std::wstring& uri) {
  auto found = Records().find(uri);
  if (found == Records().end()) return 0;
  DeleteSnapshotOnSave(found->second->img);
  Records().erase(found);
  return 1;
}

void CHistoryList::RemoveAll() {
  for (auto& entry : Records()) DeleteSnapshotOnSave(entry.second->img);
  Records().clear();
}

CFavorites::CFavorites() : CFavorites(GetFavoritesFilePath(), GetFavoritesDir()) {}
CFavorites::CFavorites(std::wstring path, std::wstring folder)
    : CSnapshotList(std::move(path), std::move(folder), "favs", "fav") {}

int CFavorites::Add(const std::wstring& uri, const std::wstring& title, const std::wstring& img) {
  auto record = std::make_unique<FavoriteRecord>();
  record->uri = uri;
  record->title = title;
  record->img = img;
  return AddOrUpdate(std::move(record)) ? 1 : 0;
}
