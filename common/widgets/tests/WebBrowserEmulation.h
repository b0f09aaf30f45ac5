#pragma once
#include <windows.h>

#include <exdisp.h>

#include <string>

inline std::wstring ClassText(REFCLSID clsid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(clsid, text, 40);
  return text;
}

inline std::wstring ClassKey(const std::wstring& clsid) { return L"Software\\Classes\\CLSID\\" + clsid; }

// Registers a class as an emulation of the WebBrowser control (TreatAs), so
// COM makes a real control when the class is asked for; removed at the end.
class WebBrowserEmulation {
 public:
  explicit WebBrowserEmulation(const std::wstring& clsid) : key_(ClassKey(clsid)) {
    const std::wstring target = ClassText(CLSID_WebBrowser);
    const std::wstring treatAs = key_ + L"\\TreatAs";
    ok_ = ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, treatAs.c_str(), nullptr, REG_SZ, target.c_str(),
                            static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  ~WebBrowserEmulation() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }
  WebBrowserEmulation(const WebBrowserEmulation&) = delete;
  WebBrowserEmulation& operator=(const WebBrowserEmulation&) = delete;
  bool Registered() const { return ok_; }

 private:
  std::wstring key_;
  bool ok_ = false;
};
