#include "DataFile.h"

#include <windows.h>

#include <tinyxml.h>

#include "CommHelper.h"
#include "Handles.h"

namespace datafile {

bool ReadBytes(const std::wstring& path, std::string* bytes) {
  fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxFileBytes)
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
  printer.SetLineBreak("\n");
  document.Accept(&printer);
  return std::string(printer.CStr(), printer.Size());
}

bool LoadXmlFile(const std::wstring& path, TiXmlDocument* document, bool scrambled) {
  std::string bytes;
  if (!ReadBytes(path, &bytes)) return false;
  if (scrambled) InvertHead(&bytes);
  return ParseXml(bytes, document);
}

bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled, bool createFolder) {
  std::string bytes = PrintXml(document);
  if (scrambled) InvertHead(&bytes);
  return WriteBytesReplacing(path, bytes, createFolder);
}

}  // namespace datafile
