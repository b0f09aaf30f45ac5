#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "ITabCtrlStyle.h"
#include "TabCtrlDraw.h"

class CXmlDom;

// Paints the strip from the bitmaps and colours of the theme's `tabctrl`
// element. Metrics, hit-testing and the tooltip stay the strip's defaults.
class TabCtrlStyleDrawer : public ITabCtrlStyle, public TabCtrlDraw {
 public:
  // The three images of a tab background.
  struct TabImages {
    fw::ScopedBitmap normal;
    fw::ScopedBitmap hover;
    fw::ScopedBitmap down;
    int width = 0;
    int height = 0;
  };
  // One button's images and caption.
  struct ButtonImages {
    fw::ScopedBitmap normal;
    fw::ScopedBitmap hover;
    fw::ScopedBitmap down;
    fw::ScopedBitmap disable;
    std::wstring caption;
    int width = 0;
    int height = 0;
  };
  // What the skin file gave; zero and empty until loaded.
  struct Skin {
    COLORREF ctrlAreaBackColor = 0;
    COLORREF wndsAreaBackColor = 0;
    COLORREF textColor = 0;
    COLORREF borderColor = 0;
    int stripHeight = 0;
    int stripWidth = 0;
    int tabHeight = 0;
    int tabWidth = 0;
    int fontSize = 0;
    int offset = 0;
    TabImages normalTab;
    TabImages currentTab;
    std::wstring fontFace;
    std::wstring path;
    std::wstring imageFolder;
    ButtonImages close;
    ButtonImages closeAll;
    ButtonImages add;
    ButtonImages left;
    ButtonImages right;
  };

  TabCtrlStyleDrawer() = default;
  TabCtrlStyleDrawer(const TabCtrlStyleDrawer&) = delete;
  TabCtrlStyleDrawer& operator=(const TabCtrlStyleDrawer&) = delete;

  // ITabCtrlStyle: this object draws; the strip's defaults do the rest.
  TabCtrlDraw* GetDrawManager() override { return this; }
  ITabCtrlRecalc* GetRecalcManager() override { return nullptr; }
  ITabCtrlBehavior* GetBehaviorManager() override { return nullptr; }
  ITabCtrlToolTip* GetToolTipManager() override { return nullptr; }

  virtual COLORREF GetBorderColor(const TabCtrl* ctrl);
  virtual COLORREF GetSeparatorColor(const TabCtrl* ctrl);
  virtual COLORREF GetCtrlAreaBackColor(const TabCtrl* ctrl);
  virtual COLORREF GetWndsAreaBackColor(const TabCtrl* ctrl);
  virtual COLORREF GetWndsAreaActiveColor(const TabCtrl* ctrl);
  virtual COLORREF GetTabTextColor(const TabCtrl* ctrl, const Tab* tab);
  virtual COLORREF GetButtonGlyphColor(const TabCtrl* ctrl, bool hover, bool pushed);
  virtual COLORREF GetCtrlAreaSpareColor(const TabCtrl* ctrl);
  virtual COLORREF GetWndsAreaEmptyColor(const TabCtrl* ctrl);
  virtual void DrawTabBack(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN clip);
  virtual void DrawTabContent(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN clip);
  virtual void DrawTabImage(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN clip);
  virtual void DrawTabText(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN clip);
  virtual void DrawButtonHighlight(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed);

  // TabCtrlDraw.
  void DrawBorder(const TabCtrl* ctrl, HDC dc, const RECT& client) override;
  void DrawCtrlAreaBack(const TabCtrl* ctrl, HDC dc, const RECT& area) override;
  void DrawTab(const TabCtrl* ctrl, HDC dc, Tab* tab, HRGN clip) override;
  void DrawCloseMarkTabHover(const TabCtrl* ctrl, HDC dc, const RECT& rect, int state) override;
  void DrawCloseMark(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed) override;
  void DrawButtonCloseAll(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed) override;
  void DrawButtonMenu(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                      bool scrollingPossible) override;
  void DrawButtonScrollLeft(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                            bool enabled) override;
  void DrawButtonScrollRight(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                             bool enabled) override;
  void DrawWndsArea(const TabCtrl* ctrl, HDC dc, const RECT& area) override;
  void DrawButtonAdd(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed) override;

  // Reads "<program folder>\theme\<theme>\skin.xml".
  void SetSkin(const TabCtrl* ctrl, const wchar_t* theme);
  // Always true: what cannot be read stays as it was.
  bool LoadTabCtrlSkin(const wchar_t* path, const wchar_t* element);

  const Skin& GetSkin() const { return skin_; }
  // The left edge of the tabs area and part of every tab's width.
  int GetOffset() const { return skin_.offset; }

 private:
  void ReadElement(CXmlDom& dom);
  void ReadItem(CXmlDom& dom);
  void ReadTabImages(CXmlDom& dom, TabImages* images);
  void ReadButtonImages(CXmlDom& dom, ButtonImages* images);
  // A present image attribute replaces the bitmap, with none when the file
  // does not load; an absent one keeps it. True when a bitmap loaded.
  bool ReadImage(CXmlDom& dom, const wchar_t* name, fw::ScopedBitmap* bitmap, int* width, int* height);
  void DrawButton(HDC dc, const ButtonImages& images, int x, int y, bool hover, bool pushed);

  Skin skin_;
};
