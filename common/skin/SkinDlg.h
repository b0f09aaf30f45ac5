#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Dialog.h"
#include "Handles.h"
#include "SkinEngine.h"

class CButtonST;

// The dialog base of every skinned window: loads the dialog's skin element
// when it initialises, paints it through an off-screen DC, lays the skin out
// on every size change, lets a borderless dialog be dragged by its
// background, limits its tracking size, makes children transparent on request
// and measures owner-drawn menu items.
class CSkinDlg : public fw::Dialog, public ISkinHost {
 public:
  CSkinDlg(UINT templateId, HWND parent, HINSTANCE module = fw::ThisModule());
  ~CSkinDlg() override;

  void SetSkinTheme(const std::wstring& theme) { m_strSkinTheme = theme; }
  void SetSkinFile(const std::wstring& file) { m_strSkinFile = file; }
  void LoadSkin(const std::wstring& theme, BOOL relayout);
  // Loads the element from another file; no bind hook, no relayout.
  void ReloadSkin(const std::wstring& path);
  HWND SetSkinItemWnd(const std::wstring& id, HWND window);
  HWND SetSkinItemWndById(const std::wstring& id, UINT controlId);
  void SetButtonSkin(const std::wstring& id, CButtonST* button);
  // Adds the item's picture to the list; its index, or -1.
  int AddSkinImage(const std::wstring& id, HIMAGELIST list);

  void SetMovable(BOOL on) { movable_ = on != FALSE; }
  void SetTransparentChildren(BOOL on) { transparentChildren_ = on != FALSE; }
  void SetFade(BOOL on);
  bool IsMovable() const { return movable_; }
  bool HasTransparentChildren() const { return transparentChildren_; }
  bool IsFading() const { return fade_; }

  CSkinEngine& Skin() { return m_skin; }
  const CSkinEngine& Skin() const { return m_skin; }
  const std::wstring& SkinPath() const { return m_strSkinPath; }
  const std::wstring& SkinTheme() const { return m_strSkinTheme; }

  HWND SkinHwnd() const override { return Hwnd(); }

  // Hooks, in this order.
  void OnSkinLayout() override;

 protected:
  virtual void DrawSkinExtra(HDC dc);
  virtual void BuildSkinPath();
  virtual HBRUSH GetCtlBkBrush(UINT controlId);
  virtual void OnSkinPrePaint();
  virtual void OnSkinPreInit();
  virtual void BindSkinItems();

  BOOL OnInitDialog() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // For the initialisation: sizes given while the window is hidden wait to
  // be laid out until it is sized while shown or the initialisation ends,
  // so a window sized several times before it first shows is laid out, cut
  // and painted once, at the size it shows at.
  void LayOutOnceAtStart() { layoutHeld_ = true; }

  // The skinned dialog's own button-down handling (derived frames call it).
  void OnLButtonDown(LPARAM lParam);
  bool IsMaximizedOrMinimized() const { return ::IsZoomed(hwnd_) || ::IsIconic(hwnd_); }
  // The popup of `menu` (itself or a submenu at any depth) holding `itemId`,
  // as a submenu handle or a command id.
  static HMENU FindPopupMenu(HMENU menu, UINT_PTR itemId);

  std::wstring m_strSkinElement;
  std::wstring m_strSkinPath;
  std::wstring m_strSkinTheme;
  std::wstring m_strSkinFile;
  CSkinEngine m_skin;
  fw::ScopedIcon m_largeIcon;
  fw::ScopedIcon m_smallIcon;

 private:
  void PaintSkin(HDC target);
  void OnSize(UINT type, int width, int height);
  void OnLButtonUp(LPARAM lParam);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  bool OnCtlColor(HDC dc, HWND child, LRESULT& result);
  void OnShowWindow(WPARAM show, LPARAM status);
  bool OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT* measure);
  void LayoutNow();
  void EndInitialLayout();

  bool movable_ = false;
  bool transparentChildren_ = false;
  bool fade_ = false;
  bool layoutHeld_ = false;
  // A size was given while hidden and not laid out yet.
  bool layoutOwed_ = false;
  // The menu this dialog is tracking, between WM_INITMENU and the end of the
  // menu loop.
  HMENU trackedMenu_ = nullptr;
};
