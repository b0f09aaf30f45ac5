#include "ProgramPage.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "CommHelper.h"
#include "Handles.h"
#include "StringConv.h"
#include "WindowsVersion.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// %XX escapes as UTF-8 bytes, the way the browser writes them.
std::wstring Unescape(const std::wstring& text) {
  std::string bytes;
  std::wstring result;
  auto flush = [&] {
    if (bytes.empty()) return;
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], length);
    result += wide;
    bytes.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
      continue;
    }
    flush();
    result.push_back(text[i]);
  }
  flush();
  return result;
}

// The local path of a file: URL with a drive letter; empty for anything else.
std::wstring LocalPath(const std::wstring& url) {
  if (url.size() < 5 || ::_wcsnicmp(url.c_str(), L"file:", 5) != 0) return std::wstring();
  std::wstring rest = url.substr(5);
  const size_t end = rest.find_first_of(L"?#");
  if (end != std::wstring::npos) rest.erase(end);
  rest = Unescape(rest);
  size_t start = 0;
  while (start < rest.size() && IsSeparator(rest[start])) ++start;
  rest.erase(0, start);
  // A drive letter, a colon and a separator; a host name here is UNC.
  if (rest.size() < 3 || !iswalpha(rest[0]) || rest[1] != L':' || !IsSeparator(rest[2])) return std::wstring();
  for (wchar_t& c : rest)
    if (c == L'/') c = L'\\';
  wchar_t canonical[MAX_PATH];
  if (rest.size() >= MAX_PATH || !::PathCanonicalizeW(canonical, rest.c_str())) return std::wstring();
  return canonical;
}

// A page the control shows itself: an .htm or .html file. Never a folder,
// which the control shows as the shell's view, whose menu opens files in
// other programs; nor a stream or a name no file can have.
bool IsPageFile(const std::wstring& path) {
  if (path.find_first_of(L":*?\"<>|", 2) != std::wstring::npos) return false;
  const wchar_t* extension = ::PathFindExtensionW(path.c_str());
  if (::_wcsicmp(extension, L".htm") != 0 && ::_wcsicmp(extension, L".html") != 0) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether Windows shows this process the account's VirtualStore copies in
// place of the files of protected folders (programs without a manifest, from
// Vista on). A state that cannot be read counts as virtualised.
bool IsVirtualised() {
  if (GetWindowsVersionClass() < 4) return false;
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
  const fw::ScopedHandle owner(token);
  DWORD enabled = 0, size = 0;
  if (!::GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof(enabled), &size)) return true;
  return enabled != 0;
}

// Whether the file a virtualised process sees at `path` (C:\dir\file) may be
// the account's own copy, which any program of that account can write: its
// twin under %LOCALAPPDATA%\VirtualStore exists, or cannot be ruled out.
bool MayBeVirtualCopy(const std::wstring& path) {
  if (!IsVirtualised()) return false;
  wchar_t local[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)) || !local[0])
    return true;
  std::wstring twin = local;
  while (!twin.empty() && IsSeparator(twin.back())) twin.pop_back();
  twin += L"\\VirtualStore" + path.substr(2);
  if (twin.size() >= MAX_PATH) return true;
  if (::GetFileAttributesW(twin.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool IsPageInFolder(const std::wstring& url, const std::wstring& folder) {
  const std::wstring path = LocalPath(url);
  std::wstring base = folder;
  while (!base.empty() && IsSeparator(base.back())) base.pop_back();
  if (path.empty() || base.size() < 2 || base.compare(0, 2, L"\\\\") == 0) return false;
  if (path.size() <= base.size() + 1 || path[base.size()] != L'\\') return false;
  // Ordinal: linguistic rules take other folders' names (ignorable
  // characters, "ss" for "ß") for this one.
  return fw::NoCaseKey(std::wstring_view(path).substr(0, base.size())) == fw::NoCaseKey(base) && IsPageFile(path);
}

bool IsProgramPage(const std::wstring& url) {
  return IsPageInFolder(url, CCommHelper::GetExeDir()) && !MayBeVirtualCopy(LocalPath(url));
}
