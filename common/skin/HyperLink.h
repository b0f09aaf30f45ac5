#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

const UINT WM_LINK_CLICKED = 2233;

// A static text that behaves like a web link: underlined link colour, hand
// cursor, tooltip, hover colour. A click first offers the URL to the parent
// (WM_LINK_CLICKED, wParam the text); only when the parent does not answer 1
// does the link open it itself and turn visited.
class CHyperLink : public fw::Wnd {
 public:
  static const UINT kToolId = 10000;

  CHyperLink() = default;
  ~CHyperLink() override;

  // Takes over a static control (a dialog's, or one just created); Subclass
  // and a dialog's data exchange do the same.
  bool SubclassLink(HWND control) { return Subclass(control); }

  void SetURL(const std::wstring& url);
  const std::wstring& GetURL() const { return url_; }
  void SetTipText(const std::wstring& text);
  // A hover colour of CLR_INVALID (-1) is the system highlight colour.
  void SetColours(COLORREF link, COLORREF visited, COLORREF hover = CLR_INVALID);
  COLORREF GetLinkColour() const { return linkColour_; }
  COLORREF GetVisitedColour() const { return visitedColour_; }
  COLORREF GetHoverColour() const { return hoverColour_; }
  void SetVisited(bool visited = true);
  bool GetVisited() const { return visited_; }
  // A null cursor loads the default hand cursor.
  void SetLinkCursor(HCURSOR cursor);
  HCURSOR GetLinkCursor() const { return cursor_; }
  void SetUnderline(bool underline = true);
  bool GetUnderline() const { return underline_; }
  void SetAutoSize(bool fit = true);
  bool GetAutoSize() const { return fitToText_; }
  bool IsOver() const { return over_; }
  HWND ToolTip() const { return toolTip_; }

  // The text colour the control paints with now.
  COLORREF CurrentColour() const;

  // Opens a web address through the shell; when the shell cannot, runs the
  // program registered for web pages with the address as one quoted
  // argument (http, https and ftp addresses only). Above 32 is success.
  static INT_PTR GotoURL(const std::wstring& url, int showCommand);
  // The message a failed open shows for a shell result code.
  static std::wstring ErrorText(INT_PTR code);

 protected:
  // Notify style, text, link font, size, cursor and tooltip.
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Seams: a test replaces the opening and the error report.
  virtual INT_PTR OpenURL(const std::wstring& url) { return GotoURL(url, SW_SHOW); }
  virtual void ReportError(INT_PTR code);

 private:
  void Click();
  void FitToText();
  void LoadDefaultCursor();
  void MakeFont();
  void Redraw();
  void UpdateTip();

  COLORREF linkColour_ = RGB(0, 255, 0);
  COLORREF visitedColour_ = RGB(22, 112, 235);
  COLORREF hoverColour_ = RGB(22, 112, 235);
  bool over_ = false;
  bool visited_ = false;
  bool underline_ = true;
  bool fitToText_ = true;
  std::wstring url_;
  std::wstring tipText_;
  fw::ScopedFont font_;
  HCURSOR cursor_ = nullptr;
  bool ownsCursor_ = false;
  HWND toolTip_ = nullptr;
};
