#pragma once
#include <windows.h>

#include <list>
#include <memory>
#include <string>

#include "Handles.h"

// A row of text links inside one list cell, measured with its owner window's
// DC, drawn left to right with a fixed spacing and hit-tested by point.
// Points are relative to the group's origin.
class CCellLinkGroup {
 public:
  // Fonts are shared: a list that reloads its skin makes new fonts while
  // existing groups still draw with the old ones.
  using SharedFont = std::shared_ptr<fw::ScopedFont>;

  struct Link {
    int id = 0;
    std::wstring text;
    std::wstring tooltip;
    int width = 0;
    COLORREF colour = 0;
    COLORREF disabledColour = 0;
    bool enabled = true;
    bool underline = false;
  };

  CCellLinkGroup() = default;

  // False when the id exists or the owner's DC cannot be had (also when
  // there is no owner window yet).
  bool AddLink(int id, const std::wstring& text);
  bool RemoveLink(int id);
  bool SetLinkText(int id, const std::wstring& text);
  bool GetLinkText(int id, std::wstring& text) const;
  bool SetLinkTooltip(int id, const std::wstring& text);
  bool GetLinkTooltip(int id, std::wstring& text) const;
  bool EnableLink(int id, bool enable);
  bool IsLinkEnabled(int id) const;
  bool SetLinkColor(int id, COLORREF colour);
  bool SetLinkDisabledColor(int id, COLORREF colour);
  bool SetLinkUnderline(int id, bool underline);
  // Measures every link again in the new owner's DC; false (owner unchanged)
  // when that DC cannot be had or the window is none.
  bool SetOwnerWindow(HWND owner);
  HWND OwnerWindow() const { return owner_; }

  void SetSpacing(int pixels) { spacing_ = pixels; }
  int Spacing() const { return spacing_; }
  void SetLineHeight(int pixels) { lineHeight_ = pixels; }
  int LineHeight() const { return lineHeight_; }
  // Null for either draws in the system font.
  void SetFonts(SharedFont normal, SharedFont underlined);

  int GetTotalWidth() const;
  const Link* LinkFromPoint(int x, int y) const;
  bool IsOverLink(int x, int y) const { return LinkFromPoint(x, y) != nullptr; }
  // Only enabled links answer.
  bool LinkIdAt(int x, int y, int& id) const;
  // Over an enabled link: sets the hand cursor and answers true.
  bool SetCursorAt(int x, int y) const;
  // Draws into the clip rectangle (x, y, width, height), the links starting
  // at (x - clipDx, y - clipDy).
  int Draw(HDC dc, int x, int y, int clipDx, int clipDy, int width, int height) const;

 private:
  Link* Find(int id);
  const Link* Find(int id) const;
  HFONT NormalFont() const;
  // The font the link is drawn and measured in; a temporary underlined font,
  // when one is needed, is kept in `temporary` for the caller's scope.
  HFONT FontOf(const Link& link, fw::ScopedFont& temporary) const;
  void Measure(HDC dc, Link& link) const;
  bool MeasureWithOwner(Link& link) const;

  int spacing_ = 0;
  int lineHeight_ = 0;
  std::list<Link> links_;
  SharedFont normalFont_;
  SharedFont underlinedFont_;
  HWND owner_ = nullptr;
};
