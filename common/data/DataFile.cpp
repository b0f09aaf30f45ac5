#include "DataFile.h"

#include <windows.h>

#include <tinyxml.h>

#include <algorithm>
#include <atomic>
#include <type_traits>

#include "CommHelper.h"
#include "Handles.h"
#include "SaveTemporary.h"
#include "StringConv.h"

namespace datafile {

namespace {

template <typename Char>
bool StartsWith(const Char* from, const Char* end, std::string_view prefix) {
  if (static_cast<size_t>(end - from) < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (from[i] != static_cast<Char>(prefix[i])) return false;
  return true;
}

// Just past the first `terminator` at or after `from`; `end` without one.
template <typename Char>
const Char* SkipPast(const Char* from, const Char* end, std::string_view terminator) {
  const Char* found = std::search(from, end, terminator.begin(), terminator.end(),
                                  [](Char unit, char wanted) { return unit == static_cast<Char>(wanted); });
  return found == end ? end : found + terminator.size();
}

template <typename Char>
bool IsNameStart(Char unit) {
  const auto c = static_cast<std::make_unsigned_t<Char>>(unit);
  // TinyXML takes every byte above ASCII as a letter.
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x7F;
}

template <typename Char>
bool IsXmlSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The process heap's block for `size` bytes: Windows' heap puts a header of
// two pointers before each block and rounds blocks to two pointers.
unsigned long long HeapBlock(unsigned long long size) {
  constexpr unsigned long long granule = 2 * sizeof(void*);
  return (size + granule + granule - 1) / granule * granule;
}

// What a parser makes of the markup: its nodes and attributes, and the heap
// blocks of the strings they hold, as TinyXML allocates them in this build.
struct MarkupCensus {
  bool tooDeep = false;
  unsigned long long elements = 0;
  // Comments, CDATA, declarations, unknown tags and text that is not blank.
  unsigned long long otherNodes = 0;
  unsigned long long attributes = 0;
  unsigned long long stringBytes = 0;
  // The attribute values' blocks once widened into records.
  unsigned long long wideValueBytes = 0;

  // A string holds its first characters in place; TinyXML reads texts a
  // character at a time, so past that its buffer doubles.
  void AddString(size_t length) {
    static const size_t inPlace = std::string().capacity();
    if (length <= inPlace) return;
    size_t capacity = inPlace;
    while (capacity < length) capacity *= 2;
    stringBytes += HeapBlock(capacity + 1);
  }
  // Widened, an attribute value takes at most a character per byte.
  void AddValue(size_t length) {
    static const size_t inPlace = std::wstring().capacity();
    AddString(length);
    if (length > inPlace) wideValueBytes += HeapBlock((length + 1) * sizeof(wchar_t));
  }
};

// Reads a start tag from its name on: returns the '>' that ends it, outside
// its quoted values, or `end` without one. A quote opens a value only after
// '=', as the parsers read it; every '=' is an attribute, every run between
// separators a name or an unquoted value.
template <typename Char>
const Char* ReadStartTag(const Char* p, const Char* end, MarkupCensus* census) {
  bool afterEquals = false;
  const Char* run = nullptr;
  bool runIsValue = false;
  auto endRun = [&](const Char* at) {
    if (!run) return;
    const size_t length = static_cast<size_t>(at - run);
    runIsValue ? census->AddValue(length) : census->AddString(length);
    run = nullptr;
  };
  for (; p < end; ++p) {
    const Char c = *p;
    if (c == '>') {
      endRun(p);
      return p;
    }
    if ((c == '"' || c == '\'') && afterEquals) {
      const Char* close = std::char_traits<Char>::find(p + 1, static_cast<size_t>(end - p - 1), c);
      if (!close) return end;
      census->AddValue(static_cast<size_t>(close - p - 1));
      p = close;
      afterEquals = false;
    } else if (c == '=') {
      endRun(p);
      ++census->attributes;
      afterEquals = true;
    } else if (IsXmlSpace(c)) {
      endRun(p);
    } else if (c == '/') {
      endRun(p);
      afterEquals = false;
    } else {
      if (!run) {
        run = p;
        runIsValue = afterEquals;
      }
      afterEquals = false;
    }
  }
  return end;
}

// Whether [from, to) holds more than white space: the parser keeps it as text.
template <typename Char>
bool HoldsText(const Char* from, const Char* to) {
  return std::any_of(from, to, [](Char c) { return !IsXmlSpace(c); });
}

// One pass over the markup as a parser sees its tags (comments, CDATA,
// declarations and quoted attribute values skipped); stops when it nests
// deeper than kMaxXmlDepth.
template <typename Char>
MarkupCensus TakeCensus(const Char* p, const Char* end) {
  MarkupCensus census;
  size_t depth = 0;
  while (p < end) {
    const Char* open = std::char_traits<Char>::find(p, static_cast<size_t>(end - p), static_cast<Char>('<'));
    const Char* textEnd = open ? open : end;
    if (HoldsText(p, textEnd)) {
      ++census.otherNodes;
      census.AddString(static_cast<size_t>(textEnd - p));
    }
    if (!open) break;
    p = open + 1;
    if (p == end) break;
    if (*p == '/') {
      if (depth > 0) --depth;
      p = SkipPast(p, end, ">");
      continue;
    }
    if (IsNameStart(*p)) {
      const Char* close = ReadStartTag(p, end, &census);
      if (close == end) break;
      ++census.elements;
      if (close[-1] != '/' && ++depth > kMaxXmlDepth) {
        census.tooDeep = true;
        break;
      }
      p = close + 1;
      continue;
    }
    if (StartsWith(p, end, "!--")) {
      p = SkipPast(p + 3, end, "-->");
    } else if (StartsWith(p, end, "![CDATA[")) {
      p = SkipPast(p + 8, end, "]]>");
    } else {
      // Declarations, instructions and unknown tags end at their first '>'
      // for TinyXML; stopping there never skips a tag it would read.
      p = SkipPast(p, end, ">");
    }
    ++census.otherNodes;
    census.AddString(static_cast<size_t>(p - open));
  }
  return census;
}

// The most a list's load holds at once, the file's bytes, the parsed
// document and the records built from it, with every element an entry.
unsigned long long ListLoadMemory(const MarkupCensus& census, size_t fileBytes, const ListEntrySize& entry) {
  const unsigned long long otherNode =
      std::max({sizeof(TiXmlText), sizeof(TiXmlComment), sizeof(TiXmlUnknown), sizeof(TiXmlDeclaration)});
  const unsigned long long document = census.elements * HeapBlock(sizeof(TiXmlElement)) +
                                      census.attributes * HeapBlock(sizeof(TiXmlAttribute)) +
                                      census.otherNodes * HeapBlock(otherNode) + census.stringBytes;
  const unsigned long long perEntry = HeapBlock(entry.record) + (entry.node ? HeapBlock(entry.node) : 0);
  const unsigned long long records = census.elements * perEntry + entry.valueCopies * census.wideValueBytes;
  return HeapBlock(fileBytes + 1) + document + records;
}

}  // namespace

bool NestsTooDeep(std::string_view text) { return TakeCensus(text.data(), text.data() + text.size()).tooDeep; }

bool NestsTooDeep(std::wstring_view text) { return TakeCensus(text.data(), text.data() + text.size()).tooDeep; }

unsigned long long ListLoadMemory(std::string_view text, const ListEntrySize& entry) {
  return ListLoadMemory(TakeCensus(text.data(), text.data() + text.size()), text.size(), entry);
}

bool FileNestsTooDeep(const std::string& bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  const bool little = size >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == '<' && b[1] == 0));
  const bool big = size >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0 && b[1] == '<'));
  if (!little && !big) return NestsTooDeep(std::string_view(bytes));
  std::wstring units(size / 2, L'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const unsigned first = b[2 * i], second = b[2 * i + 1];
    units[i] = static_cast<wchar_t>(little ? first | second << 8 : first << 8 | second);
  }
  return NestsTooDeep(units);
}

namespace {

// Not found, or a folder on its way not found: the only failures that mean
// there is no file.
bool MeansMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

FileState ReadOnce(const std::wstring& path, std::string* bytes, size_t maxBytes) {
  fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return MeansMissing(::GetLastError()) ? FileState::kMissing : FileState::kUnreadable;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) return FileState::kUnreadable;
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return FileState::kDamaged;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() && (!::ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                           read != content.size()))
    return FileState::kUnreadable;
  *bytes = std::move(content);
  return FileState::kRead;
}

}  // namespace

ReadResult ReadBytes(const std::wstring& path, std::string* bytes, size_t maxBytes) {
  const DWORD start = ::GetTickCount();
  while (true) {
    const FileState state = ReadOnce(path, bytes, maxBytes);
    if (state != FileState::kUnreadable || ::GetTickCount() - start >= kReadRetryMs) return {state};
    ::Sleep(kReadRetryStepMs);
  }
}

bool IsSaveTemporary(const std::wstring& name, const std::wstring& path) {
  return CSaveTemporary::IsTemporaryOf(name, path);
}

bool WriteBytesReplacing(const std::wstring& path, const std::string& bytes, bool createFolder,
                         AccountSharing sharing) {
  size_t slash = path.rfind(L'\\');
  if (createFolder && slash != std::wstring::npos) CCommHelper::MakeDirTree(path.substr(0, slash), sharing);
  // Replacing would succeed over a read-only file; it must not be changed.
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  CSaveTemporary temporary(path, sharing);
  if (!temporary.IsOpen()) return false;
  DWORD written = 0;
  bool complete = (bytes.empty() || (::WriteFile(temporary.File(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                 &written, nullptr) &&
                                     written == bytes.size())) &&
                  ::FlushFileBuffers(temporary.File());
  return complete && temporary.ReplaceTarget();
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {
std::atomic<FolderAttributesQuery> folderAttributesQuery{nullptr};
}  // namespace

bool IsLinkedFolder(const std::wstring& folder, unsigned long attributes) {
  std::wstring path = folder;
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  const FolderAttributesQuery query = folderAttributesQuery.load();
  if (query) attributes = query(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void SetFolderAttributesQuery(FolderAttributesQuery query) { folderAttributesQuery.store(query); }

namespace {

constexpr wchar_t kSetAsideSuffix[] = L".damaged";
// Past this many copies the list is left as it is, unwritten.
constexpr int kSetAsideCopies = 1000;

std::wstring SetAsideName(const std::wstring& path, int copy) {
  return path + kSetAsideSuffix + (copy > 1 ? std::to_wstring(copy) : std::wstring());
}

}  // namespace

bool SetAside(const std::wstring& path, std::wstring* copy) {
  if (copy) copy->clear();
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  for (int n = 1; n <= kSetAsideCopies; ++n) {
    const std::wstring name = SetAsideName(path, n);
    if (::MoveFileExW(path.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) {
      if (copy) *copy = name;
      return true;
    }
    // Only a name already taken sends it on to the next.
    if (!Exists(name)) return false;
  }
  return false;
}

bool IsSetAside(const std::wstring& name, const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  const std::wstring prefix = path.substr(slash == std::wstring::npos ? 0 : slash + 1) + kSetAsideSuffix;
  if (name.size() < prefix.size() || !fw::EqualsNoCase(name.substr(0, prefix.size()), prefix)) return false;
  return std::all_of(name.begin() + prefix.size(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

void InvertHead(std::string* bytes) {
  size_t count = bytes->size() < 128 ? bytes->size() : 128;
  for (size_t i = 0; i < count; ++i) (*bytes)[i] = static_cast<char>(~static_cast<unsigned char>((*bytes)[i]));
}

bool InvertFileHead(const std::wstring& path) {
  fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string head(128, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.Get(), head.data(), 128, &read, nullptr)) return false;
  if (read == 0) return true;
  head.resize(read);
  InvertHead(&head);
  DWORD written = 0;
  return ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == 0 &&
         ::WriteFile(file.Get(), head.data(), read, &written, nullptr) && written == read;
}

namespace {

// Parses unless the markup nests too deep or, for a list (`entry` given),
// its load would take more than kMaxListMemory. TinyXML links a node into
// the tree only once it is whole, so running out of memory mid-parse loses
// what was built so far: a list too large is refused before the parse.
bool ParseWithin(const std::string& bytes, TiXmlDocument* document, const ListEntrySize* entry) {
  document->Clear();
  document->ClearError();
  // TinyXML needs a terminated text; an embedded zero ends the document early,
  // which then fails to parse as a damaged file should.
  const std::string_view text(bytes.c_str());
  const MarkupCensus census = TakeCensus(text.data(), text.data() + text.size());
  if (census.tooDeep) return false;
  if (entry && ListLoadMemory(census, bytes.size(), *entry) > kMaxListMemory) return false;
  document->Parse(bytes.c_str());
  return !document->Error() && document->RootElement() != nullptr;
}

}  // namespace

bool ParseXml(const std::string& bytes, TiXmlDocument* document) { return ParseWithin(bytes, document, nullptr); }

std::string PrintXml(const TiXmlDocument& document) {
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak(kLineBreak);
  document.Accept(&printer);
  return std::string(printer.CStr(), printer.Size());
}

namespace {

ReadResult Parsed(bool wellFormed) { return {wellFormed ? FileState::kRead : FileState::kDamaged}; }

}  // namespace

ReadResult LoadXmlFile(const std::wstring& path, TiXmlDocument* document, bool scrambled, size_t maxBytes) {
  std::string bytes;
  if (const ReadResult read = ReadBytes(path, &bytes, maxBytes); !read) return read;
  if (!scrambled) return Parsed(ParseXml(bytes, document));
  std::string plain = bytes;
  InvertHead(&plain);
  // Files scrambled in place by older versions could be left plain by a crash.
  // A scrambled file starts with 0xC3 (an inverted '<'), which never parses,
  // so reading the bytes as they stand cannot misfire.
  return Parsed(ParseXml(plain, document) || ParseXml(bytes, document));
}

ReadResult LoadListFile(const std::wstring& path, TiXmlDocument* document, const ListEntrySize& entry) {
  std::string bytes;
  if (const ReadResult read = ReadBytes(path, &bytes, kMaxListBytes); !read) return read;
  return Parsed(ParseWithin(bytes, document, &entry));
}

bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled, bool createFolder,
                 AccountSharing sharing) {
  std::string bytes = PrintXml(document);
  if (scrambled) InvertHead(&bytes);
  return WriteBytesReplacing(path, bytes, createFolder, sharing);
}

}  // namespace datafile
