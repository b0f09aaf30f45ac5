#include "DataFile.h"

#include <windows.h>

#include <tinyxml.h>

#include "CommHelper.h"
#include "Handles.h"
#include "StringConv.h"

namespace datafile {

namespace {

bool IsProcessRunning(DWORD id) {
  fw::ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
  // A process we may not open still runs.
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
  return ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// The process id of a temporary file "<file>.tmp<pid>" of `fileName`; 0 for
// any other name.
DWORD TemporaryOwner(const std::wstring& name, const std::wstring& fileName) {
  std::wstring prefix = fileName + L".tmp";
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 10 ||
      !fw::EqualsNoCase(name.substr(0, prefix.size()), prefix))
    return 0;
  unsigned long long id = 0;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9') return 0;
    id = id * 10 + (name[i] - L'0');
  }
  return id <= 0xFFFFFFFFull ? static_cast<DWORD>(id) : 0;
}

void RemoveStaleTemporaries(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  std::wstring fileName = path.substr(folder.size());
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((path + L".tmp*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DWORD owner = TemporaryOwner(found.cFileName, fileName);
    if (owner == 0 || owner == ::GetCurrentProcessId() || IsProcessRunning(owner)) continue;
    ::DeleteFileW((folder + found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace

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

bool WriteBytesReplacing(const std::wstring& path, const std::string& bytes, bool createFolder) {
  size_t slash = path.rfind(L'\\');
  if (createFolder && slash != std::wstring::npos) CCommHelper::MakeDirTree(path.substr(0, slash));
  // Replacing would succeed over a read-only file; it must not be changed.
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  RemoveStaleTemporaries(path);
  std::wstring temporary = path + L".tmp" + std::to_wstring(::GetCurrentProcessId());
  {
    fw::ScopedHandle file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    bool complete = (bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                   &written, nullptr) &&
                                       written == bytes.size())) &&
                    ::FlushFileBuffers(file.Get());
    if (!complete) {
      file.Reset();
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SetAside(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  // A folder is no damaged file of ours: it stays, and the save fails.
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

bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled, bool createFolder) {
  std::string bytes = PrintXml(document);
  if (scrambled) InvertHead(&bytes);
  return WriteBytesReplacing(path, bytes, createFolder);
}

}  // namespace datafile
