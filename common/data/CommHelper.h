#pragma once
#include <windows.h>

#include <string>

#include "AccountSharing.h"

// Folders, picture loading, GUID names and small system chores shared by the
// browser, the control panel and the wizard. Stateless but for the last GUID
// text.
class CCommHelper {
 public:
  virtual ~CCommHelper() = default;

  // Folder of the module holding this code: inside the control panel DLL it
  // is the DLL's folder, which is the program folder of the whole system.
  static std::wstring GetThisModuleDir(bool withSlash = false);
  static std::wstring GetConfDir(bool withSlash = false);
  // Hollin\Orlat under the common application data folder, created (with its
  // parents) whenever it is asked for; every account may add files to it.
  static std::wstring GetDataDir(bool withSlash = false);
  static std::wstring GetExeDir(bool withSlash = false);
  static std::wstring GetModuleDir(HMODULE module, bool withSlash = false);
  static std::wstring GetModuleFilePath(HMODULE module);
  static HMODULE GetThisModuleHandle();
  // Creates the folder with `sharing` and every missing parent with default
  // security.
  static void MakeDirTree(const std::wstring& folder, AccountSharing sharing = AccountSharing::kCreatorOnly);

  // Buffer variants: S_OK, S_FALSE (cut to fit), E_INVALIDARG or E_FAIL;
  // `length` is the buffer's size in characters going in and the number of
  // characters copied coming out. Nothing is written past `length`.
  static HRESULT GetModuleFileNameSafe(const wchar_t* moduleName, wchar_t* buffer, DWORD* length);
  static HRESULT GetExeDirSafe(wchar_t* buffer, DWORD* length);
  static HRESULT GetPathDirSafe(const wchar_t* path, wchar_t* buffer, DWORD* length);
  static HRESULT GetUserDirSafe(wchar_t* buffer, DWORD* length);

  // Loads an image file into a screen-compatible bitmap in `bitmap` (any
  // bitmap it held is deleted first). A zero width or height is taken from
  // the image at screen resolution and written back. 1 on success, else 0.
  static int LoadPictureBitmap(HBITMAP* bitmap, const std::wstring& path, int* width, int* height);
  // A new GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; the previous one
  // when no GUID can be made.
  static std::wstring CreateGuidString();
  static int GetAppVersionString(const std::wstring& key, std::wstring* out);

  static void SetNavigationSound(bool on);
  static int RegisterSwfAssociation(const std::wstring& extensionKey, const std::wstring& programCommand,
                                    const std::wstring& progId, const std::wstring& icon,
                                    const std::wstring& description);
  static int SaveResourceToFile(const std::wstring& path, UINT resourceId, const wchar_t* resourceType);
  static void SetLayeredAlpha(HWND window, int alpha);
  // Text stored in the ANSI code page with every byte raised by one.
  static int ReadShiftedTextFile(const std::wstring& path, std::wstring* out);
  static int WriteShiftedTextFile(const std::wstring& path, const std::wstring& text);
  static std::wstring GetTextBeforeColon(const std::wstring& text);
  static std::wstring GetTextAfterColon(const std::wstring& text);
};

inline std::wstring GetThisModuleDir(bool withSlash = false) { return CCommHelper::GetThisModuleDir(withSlash); }
inline std::wstring GetConfDir(bool withSlash = false) { return CCommHelper::GetConfDir(withSlash); }
inline std::wstring GetDataDir(bool withSlash = false) { return CCommHelper::GetDataDir(withSlash); }
inline std::wstring GetExeDir(bool withSlash = false) { return CCommHelper::GetExeDir(withSlash); }
inline std::wstring GetModuleDir(HMODULE module, bool withSlash = false) {
  return CCommHelper::GetModuleDir(module, withSlash);
}
inline int LoadPictureBitmap(HBITMAP* bitmap, const std::wstring& path, int* width, int* height) {
  return CCommHelper::LoadPictureBitmap(bitmap, path, width, height);
}
inline std::wstring CreateGuidString() { return CCommHelper::CreateGuidString(); }
