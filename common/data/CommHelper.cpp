#include "CommHelper.h"

#include <objbase.h>
#include <olectl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "AccountAccess.h"
#include "ComSupport.h"
#include "DataFile.h"
#include "Handles.h"
#include "StringConv.h"
#include "SysCfgs.h"

namespace {

std::wstring WithSlash(std::wstring folder, bool withSlash) {
  if (withSlash && (folder.empty() || folder.back() != L'\\')) folder += L'\\';
  return folder;
}

// Up to 260 characters, as the module queries always were.
std::wstring ModuleFileName(HMODULE module) {
  wchar_t name[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameW(module, name, MAX_PATH);
  return std::wstring(name, std::min<DWORD>(length, MAX_PATH));
}

// Copies `text` into a buffer of *length characters; a text that does not
// fit is cut to *length - 1 characters (S_FALSE). Always terminated.
HRESULT CopyCut(const std::wstring& text, wchar_t* buffer, DWORD* length) {
  bool cut = text.size() >= *length;
  size_t copied = cut ? *length - 1 : text.size();
  std::copy_n(text.data(), copied, buffer);
  buffer[copied] = L'\0';
  *length = static_cast<DWORD>(copied);
  return cut ? S_FALSE : S_OK;
}

bool SetRegText(HKEY root, const std::wstring& subkey, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG result = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

wchar_t lastGuid[128] = L"";

std::wstring WithoutSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// An empty path leaves nothing to create.
bool Exists(const std::wstring& folder) {
  const std::wstring path = WithoutSlash(folder);
  return path.empty() || ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

HMODULE CCommHelper::GetThisModuleHandle() {
  MEMORY_BASIC_INFORMATION memory{};
  if (!::VirtualQuery(reinterpret_cast<const void*>(&CCommHelper::GetThisModuleHandle), &memory, sizeof(memory)))
    return nullptr;
  return static_cast<HMODULE>(memory.AllocationBase);
}

std::wstring CCommHelper::GetModuleFilePath(HMODULE module) { return ModuleFileName(module); }

std::wstring CCommHelper::GetModuleDir(HMODULE module, bool withSlash) {
  std::wstring name = ModuleFileName(module);
  if (name.empty()) return name;
  size_t slash = name.rfind(L'\\');
  if (slash == std::wstring::npos) return name;
  return name.substr(0, withSlash ? slash + 1 : slash);
}

std::wstring CCommHelper::GetThisModuleDir(bool withSlash) {
  HMODULE module = GetThisModuleHandle();
  if (!module) return {};
  return GetModuleDir(module, withSlash);
}

std::wstring CCommHelper::GetConfDir(bool withSlash) { return WithSlash(GetThisModuleDir() + L"\\conf", withSlash); }

std::wstring CCommHelper::GetExeDir(bool withSlash) { return GetModuleDir(nullptr, withSlash); }

std::wstring CCommHelper::GetDataDir(bool withSlash) {
  wchar_t common[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common))) return {};
  std::wstring folder = WithSlash(common, true) + L"Hollin\\Orlat";
  // Every account may add its files to our two folders; the all-users folder
  // above them stays as the system made it. The history's and favourites'
  // folders are made with them, so that the account setting the programs up
  // owns them, not the child's at its first visit.
  if (!Exists(folder)) {
    MakeDirTree(common);
    MakeDirTree(WithSlash(common, true) + L"Hollin", AccountSharing::kAddOnly);
    MakeDirTree(folder, AccountSharing::kAddOnly);
    for (const wchar_t* records : {L"his", L"favs"})
      MakeDirTree(WithSlash(folder, true) + records, AccountSharing::kModifyInside);
  }
  return WithSlash(folder, withSlash);
}

void CCommHelper::MakeDirTree(const std::wstring& folder, AccountSharing sharing) {
  const std::wstring path = WithoutSlash(folder);
  // Most calls find the folder there: the descriptor is built only to create.
  if (Exists(path)) return;
  size_t slash = path.rfind(L'\\');
  // A path with no parent left ("X:" or a bare name) ends the climb. Parents
  // made on the way keep default security: an entry meant for the folder
  // asked for, inheritable ones above all, must not reach their other files.
  if (slash != std::wstring::npos && slash > 0) MakeDirTree(path.substr(0, slash));
  CAccountAccess access(sharing, CAccountAccess::Target::kFolder);
  access.CreateFolder(path);
}

HRESULT CCommHelper::GetPathDirSafe(const wchar_t* path, wchar_t* buffer, DWORD* length) {
  if (!path || !*path || !buffer || !length || *length == 0) return E_INVALIDARG;
  std::wstring text(path);
  size_t slash = text.rfind(L'\\');
  if (slash == std::wstring::npos) return E_FAIL;
  return CopyCut(text.substr(0, slash + 1), buffer, length);
}

HRESULT CCommHelper::GetModuleFileNameSafe(const wchar_t* moduleName, wchar_t* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0) return E_INVALIDARG;
  // A name that finds no module gives the program's own file, as a NULL name.
  HMODULE module = moduleName ? ::GetModuleHandleW(moduleName) : nullptr;
  std::wstring name = ModuleFileName(module);
  return GetPathDirSafe(name.c_str(), buffer, length);
}

HRESULT CCommHelper::GetExeDirSafe(wchar_t* buffer, DWORD* length) {
  return GetModuleFileNameSafe(nullptr, buffer, length);
}

HRESULT CCommHelper::GetUserDirSafe(wchar_t* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0) return E_INVALIDARG;
  // A folder that does not fit is not copied at all: the caller gets an
  // empty text rather than whatever the buffer held.
  buffer[0] = L'\0';
  size_t size = *length;
  ::GetUserDirSafe(buffer, &size);
  *length = static_cast<DWORD>(wcsnlen(buffer, *length));
  return S_OK;
}

namespace {

bool HasBmpExtension(const std::wstring& path) {
  return path.size() > 4 && ::lstrcmpiW(path.c_str() + path.size() - 4, L".bmp") == 0;
}

std::vector<BYTE> ReadWholeFile(const std::wstring& path) {
  std::vector<BYTE> data;
  fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  // Skin pictures are small; a big one goes the picture object's way.
  if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > (64 << 20)) return data;
  data.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) || read != data.size())
    data.clear();
  return data;
}

// The header of an uncompressed bitmap file whose colours and rows all lie
// within the file; anything else is left to the picture object.
const BITMAPINFO* PlainBitmapInfo(const std::vector<BYTE>& file) {
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER header;
  std::memcpy(&fileHeader, file.data(), sizeof(fileHeader));
  std::memcpy(&header, file.data() + sizeof(fileHeader), sizeof(header));
  if (fileHeader.bfType != 0x4D42 || header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 ||
      header.biHeight == 0 || header.biPlanes != 1 || header.biCompression != BI_RGB)
    return nullptr;
  const unsigned long long bitCount = header.biBitCount;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return nullptr;
  const unsigned long long colours = bitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1ull << bitCount) : 0;
  const unsigned long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
  const unsigned long long stride = (static_cast<unsigned long long>(header.biWidth) * bitCount + 31) / 32 * 4;
  const unsigned long long infoEnd = sizeof(BITMAPFILEHEADER) + header.biSize + colours * sizeof(RGBQUAD);
  if (colours > 256 || infoEnd > fileHeader.bfOffBits || fileHeader.bfOffBits > file.size() ||
      stride * height > file.size() - fileHeader.bfOffBits)
    return nullptr;
  return reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
}

// Plain bitmap files shown at their own size are made into screen bitmaps
// directly: the picture object costs about a millisecond each under some
// systems, and a skin has a hundred of them. Returns false when the file is
// left to the picture object.
bool LoadBmpAtOwnSize(HBITMAP* bitmap, const std::wstring& path, int* width, int* height) {
  if (!HasBmpExtension(path)) return false;
  const std::vector<BYTE> file = ReadWholeFile(path);
  const BITMAPINFO* info = PlainBitmapInfo(file);
  if (!info) return false;
  const int ownWidth = info->bmiHeader.biWidth;
  const int ownHeight = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  if ((width && *width && *width != ownWidth) || (height && *height && *height != ownHeight)) return false;
  BITMAPFILEHEADER fileHeader;
  std::memcpy(&fileHeader, file.data(), sizeof(fileHeader));
  fw::WindowDC screen(nullptr);
  HBITMAP made = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.data() + fileHeader.bfOffBits, info,
                                  DIB_RGB_COLORS);
  if (!made) return false;
  if (width) *width = ownWidth;
  if (height) *height = ownHeight;
  *bitmap = made;
  return true;
}

}  // namespace

int CCommHelper::LoadPictureBitmap(HBITMAP* bitmap, const std::wstring& path, int* width, int* height) {
  if (path.empty() || !bitmap) return 0;
  if (*bitmap) {
    ::DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
  if (LoadBmpAtOwnSize(bitmap, path, width, height)) return 1;
  fw::ComThreadScope com;
  IPicture* picture = nullptr;
  if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(path.c_str()), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&picture))) ||
      !picture)
    return 0;
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);

  fw::WindowDC screen(nullptr);
  int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
  int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
  int pixelWidth = width && *width ? *width : static_cast<int>((dpiX * static_cast<long long>(himetricWidth) + 1270) / 2540);
  int pixelHeight =
      height && *height ? *height : static_cast<int>((dpiY * static_cast<long long>(himetricHeight) + 1270) / 2540);
  if (width) *width = pixelWidth;
  if (height) *height = pixelHeight;

  fw::ScopedBitmap made(::CreateCompatibleBitmap(screen, std::max(pixelWidth, 1), std::max(pixelHeight, 1)));
  fw::ScopedCreatedDC memory(::CreateCompatibleDC(screen));
  if (made && memory) {
    fw::ScopedSelectObject select(memory.Get(), made.Get());
    // Source origin at the bottom with a negative extent: pictures count
    // HIMETRIC upwards, so this keeps the image upright.
    picture->Render(memory.Get(), 0, 0, pixelWidth, pixelHeight, 0, himetricHeight, himetricWidth,
                    -himetricHeight, nullptr);
  }
  picture->Release();
  if (!made || !memory) return 0;
  *bitmap = made.Release();
  return 1;
}

std::wstring CCommHelper::CreateGuidString() {
  fw::ComThreadScope com;
  GUID guid{};
  if (SUCCEEDED(::CoCreateGuid(&guid))) {
    _snwprintf(lastGuid, 127, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(guid.Data1),
               guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
               guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    lastGuid[127] = L'\0';
  }
  return lastGuid;
}

int CCommHelper::GetAppVersionString(const std::wstring&, std::wstring* out) {
  if (out) *out = L"0.0.1.1";
  return 1;
}

void CCommHelper::SetNavigationSound(bool on) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\.Current", 0,
                      KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
    return;
  std::wstring sound = on ? L"%SystemRoot%\\media\\Windows XP 开始.wav" : L"";
  ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(sound.c_str()),
                   static_cast<DWORD>((sound.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

int CCommHelper::RegisterSwfAssociation(const std::wstring& extensionKey, const std::wstring& programCommand,
                                        const std::wstring& progId, const std::wstring& icon,
                                        const std::wstring& description) {
  HKEY fileExts = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.swf",
                      0, KEY_SET_VALUE, &fileExts) == ERROR_SUCCESS) {
    ::RegDeleteValueW(fileExts, L"Progid");
    ::RegCloseKey(fileExts);
  }
  const std::wstring flash = L"application/x-shockwave-flash";
  SetRegText(HKEY_CURRENT_USER, L"Software\\Classes\\.swf", L"backup_val", flash);
  SetRegText(HKEY_CURRENT_USER, L"Software\\Classes\\.swf", nullptr, progId);
  SetRegText(HKEY_CURRENT_USER, L"Software\\Classes\\.swf", L"Content Type", flash);
  SetRegText(HKEY_CLASSES_ROOT, extensionKey, nullptr, progId);
  SetRegText(HKEY_CLASSES_ROOT, progId, nullptr, description);
  SetRegText(HKEY_CLASSES_ROOT, progId + L"\\DefaultIcon", nullptr, icon);
  SetRegText(HKEY_CLASSES_ROOT, progId + L"\\Shell", nullptr, L"Open");
  SetRegText(HKEY_CLASSES_ROOT, progId + L"\\Shell\\Open\\Command", nullptr, programCommand + L" \"%1\"");
  ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return 1;
}

int CCommHelper::SaveResourceToFile(const std::wstring& path, UINT resourceId, const wchar_t* resourceType) {
  HMODULE module = GetThisModuleHandle();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType);
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  DWORD size = resource ? ::SizeofResource(module, resource) : 0;
  fw::ScopedHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  DWORD written = 0;
  if (bytes && size) ::WriteFile(file.Get(), bytes, size, &written, nullptr);
  return 1;
}

void CCommHelper::SetLayeredAlpha(HWND window, int alpha) {
  ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = ::GetModuleHandleW(L"User32.DLL");
  auto setLayered = user32 ? reinterpret_cast<SetLayered>(
                                 reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                           : nullptr;
  if (setLayered) setLayered(window, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
}

int CCommHelper::ReadShiftedTextFile(const std::wstring& path, std::wstring* out) {
  std::string bytes;
  if (!datafile::ReadBytes(path, &bytes, datafile::kMaxListBytes)) return 0;
  for (char& byte : bytes) byte = static_cast<char>(static_cast<unsigned char>(byte) - 1);
  if (out) *out = fw::ToWide(bytes);
  return 1;
}

int CCommHelper::WriteShiftedTextFile(const std::wstring& path, const std::wstring& text) {
  std::string bytes = fw::ToAnsi(text);
  for (char& byte : bytes) byte = static_cast<char>(static_cast<unsigned char>(byte) + 1);
  return datafile::WriteBytesReplacing(path, bytes) ? 1 : 0;
}

std::wstring CCommHelper::GetTextBeforeColon(const std::wstring& text) {
  size_t colon = text.find(L':');
  return colon == std::wstring::npos ? std::wstring() : text.substr(0, colon);
}

std::wstring CCommHelper::GetTextAfterColon(const std::wstring& text) {
  size_t colon = text.find(L':');
  return colon == std::wstring::npos ? std::wstring() : text.substr(colon + 1);
}
