#pragma once
#include <string>

#include "Handles.h"
#include "SkinDlg.h"

// "增加新网站": asks for a site's name and address for the site pages. It
// ends through its one button once both are given and the address is a full
// web address, or through the close box, which adds nothing.
class CPassList : public CSkinDlg {
 public:
  explicit CPassList(HWND parent);

  const std::wstring& Name() const { return m_name; }
  const std::wstring& Address() const { return m_address; }
  // A full internet address with the scheme http, https or ftp and a host.
  static bool IsValidSiteAddress(const std::wstring& address);

  bool PreTranslateMessage(MSG& message) override;

 protected:
  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnAdd();
  int Warn(const wchar_t* text, const wchar_t* title);

  fw::ScopedBrush m_brush;
  std::wstring m_name;
  std::wstring m_address;
};
