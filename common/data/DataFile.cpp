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

// The '>' that ends a start tag, outside its quoted values; `end` without one.
// A quote opens a value only after '=', as the parsers read it.
template <typename Char>
const Char* StartTagEnd(const Char* p, const Char* end) {
  bool afterEquals = false;
  for (; p < end; ++p) {
    const Char c = *p;
    if (c == '>') return p;
    if ((c == '"' || c == '\'') && afterEquals) {
      p = std::char_traits<Char>::find(p + 1, static_cast<size_t>(end - p - 1), c);
      if (!p) return end;
      afterEquals = false;
    } else if (c == '=') {
      afterEquals = true;
    } else if (!IsXmlSpace(c)) {
      afterEquals = false;
    }
  }
  return end;
}

template <typename Char>
bool NestsTooDeepIn(const Char* p, const Char* end) {
  size_t depth = 0;
  while (p < end) {
    const Char* open = std::char_traits<Char>::find(p, static_cast<size_t>(end - p), static_cast<Char>('<'));
    if (!open) return false;
    p = open + 1;
    if (p == end) return false;
    if (*p == '/') {
      if (depth > 0) --depth;
      p = SkipPast(p, end, ">");
    } else if (StartsWith(p, end, "!--")) {
      p = SkipPast(p + 3, end, "-->");
    } else if (StartsWith(p, end, "![CDATA[")) {
      p = SkipPast(p + 8, end, "]]>");
    } else if (*p == '!' || *p == '?') {
      // Declarations and instructions end at their first '>' for TinyXML;
      // stopping there never skips a tag it would read.
      p = SkipPast(p, end, ">");
    } else if (IsNameStart(*p)) {
      const Char* close = StartTagEnd(p, end);
      if (close == end) return false;
      if (close[-1] != '/' && ++depth > kMaxXmlDepth) return true;
      p = close + 1;
    }
  }
  return false;
}

}  // namespace

bool NestsTooDeep(std::string_view text) { return NestsTooDeepIn(text.data(), text.data() + text.size()); }

bool NestsTooDeep(std::wstring_view text) { return NestsTooDeepIn(text.data(), text.data() + text.size()); }

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

bool ReadBytes(const std::wstring& path, std::string* bytes, size_t maxBytes) {
  fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes)
    return false;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() && (!::ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                           read != content.size()))
    return false;
  *bytes = std::move(content);
  return true;
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

bool IsLinkedFolder(const std::wstring& folder) {
  std::wstring path = folder;
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  const FolderAttributesQuery query = folderAttributesQuery.load();
  const DWORD attributes = query ? query(path) : ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void SetFolderAttributesQuery(FolderAttributesQuery query) { folderAttributesQuery.store(query); }

bool SetAside(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return ::MoveFileExW(path.c_str(), (path + L".damaged").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
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

bool ParseXml(const std::string& bytes, TiXmlDocument* document) {
  document->Clear();
  document->ClearError();
  // TinyXML needs a terminated text; an embedded zero ends the document early,
  // which then fails to parse as a damaged file should.
  if (NestsTooDeep(std::string_view(bytes.c_str()))) return false;
  document->Parse(bytes.c_str());
  return !document->Error() && document->RootElement() != nullptr;
}

std::string PrintXml(const TiXmlDocument& document) {
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak(kLineBreak);
  document.Accept(&printer);
  return std::string(printer.CStr(), printer.Size());
}

bool LoadXmlFile(const std::wstring& path, TiXmlDocument* document, bool scrambled, size_t maxBytes) {
  std::string bytes;
  if (!ReadBytes(path, &bytes, maxBytes)) return false;
  if (!scrambled) return ParseXml(bytes, document);
  std::string plain = bytes;
  InvertHead(&plain);
  // Files scrambled in place by older versions could be left plain by a crash.
  // A scrambled file starts with 0xC3 (an inverted '<'), which never parses,
  // so reading the bytes as they stand cannot misfire.
  return ParseXml(plain, document) || ParseXml(bytes, document);
}

bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled, bool createFolder,
                 AccountSharing sharing) {
  std::string bytes = PrintXml(document);
  if (scrambled) InvertHead(&bytes);
  return WriteBytesReplacing(path, bytes, createFolder, sharing);
}

}  // namespace datafile
