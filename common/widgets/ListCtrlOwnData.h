#pragma once
#include <windows.h>

#include <commctrl.h>
#include <oleauto.h>

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CellLinkGroup.h"
#include "GdiPlusSession.h"
#include "Handles.h"
#include "HeaderCtrlEx.h"
#include "Wnd.h"

class CXmlDom;

// The list's WM_COMMAND notification code (high word of wParam) for a click
// on an enabled cell link; lParam points at a CellLinkClick on the list's
// stack for the length of the call.
const UINT LCN_LINKCLICKED = 0x87F;

struct CellLinkClick {
  HWND list;
  int row;
  int column;
  int linkId;
};
#ifndef _WIN64
// Parents built against the four 32-bit fields keep reading them where they were.
static_assert(offsetof(CellLinkClick, row) == 4 && offsetof(CellLinkClick, column) == 8 &&
                  offsetof(CellLinkClick, linkId) == 12 && sizeof(CellLinkClick) == 16,
              "the i686 layout of the link click record is fixed");
#endif

// A report-view list that paints its rows itself from a skin element:
// alternating row colours, colours of its own for the selected row and the
// row under the mouse, a skinned header with sort arrows, columns of
// clickable text links with tooltips, and skinned scroll bars. The columns
// are inserted before the skin is loaded; the skin only decorates them.
//
// Its owner-draw, measure and list notifications reach it reflected by its
// parent, so the parent is a framework window.
class CListCtrlOwnData : public fw::Wnd {
 public:
  struct RowColorData {
    COLORREF background;
    COLORREF text;
  };
  struct LinkTemplate {
    int id = 0;
    std::wstring text;
    std::wstring tooltip;
    COLORREF colour = 0;
    COLORREF disabledColour = 0;
    bool underline = false;
    bool disabled = false;
  };
  struct LinkColumnTemplate {
    int column = 0;
    int spacing = 0;
    CCellLinkGroup::SharedFont normalFont;
    CCellLinkGroup::SharedFont underlinedFont;
    std::vector<LinkTemplate> links;
  };
  // The draw-ellipsis flags cover this many columns; later columns never
  // draw an ellipsis.
  static const int kEllipsisColumns = 260;
  static const int kSortTypeCount = 8;

  CListCtrlOwnData();
  ~CListCtrlOwnData() override;

  // Header set-up, forwarded to the skinned header.
  void SetHeaderColors(COLORREF background, COLORREF text);
  int SetHeaderBitmaps(fw::ScopedBitmap background, fw::ScopedBitmap itemLeft, fw::ScopedBitmap itemRight);
  void SetHeaderHeight(int height);
  CHeaderCtrlEx& Header() { return header_; }

  // Column widths, applied at the next paint.
  void SetLastColumnFill(bool fill);
  // A column of 0 or more also clears the last-column flag.
  void SetFillColumn(int column);

  // Row colours; CLR_INVALID (-1) takes the list's own.
  void SetGradientHighlight(bool gradient) { gradientHighlight_ = gradient; }
  // The index of the new entry; -1, and nothing added, when both are -1.
  int AddRowColors(COLORREF background, COLORREF text);
  void ClearRowColors() { rowColours_.clear(); }
  void SetHighlightColors(COLORREF background, COLORREF text);
  void SetShowAlwaysColors(COLORREF background, COLORREF text);
  void SetHoverColors(COLORREF background, COLORREF text);

  // Sorting. EnableSort returns the previous value; a sort type above 7
  // refuses the whole array.
  bool EnableSort(bool enable);
  bool SetSortTypes(const BYTE* types, int count);
  int SortTypeOf(int column) const;
  // Takes both bitmaps; the transparent colour is the header's.
  void SetSortArrowBitmaps(fw::ScopedBitmap ascending, fw::ScopedBitmap descending, COLORREF transparent);
  // Bitmap resources of the program, by identifier.
  void SetBitmaps(UINT progressBar, UINT progressFrame, UINT ascending, UINT descending, COLORREF transparent);
  // The date sort type 6 moves a day later when they are earlier than it.
  void SetReferenceTime(DATE time) { referenceTime_ = time, referenceValid_ = true; }
  // The progress cell DrawProgress paints: a column (-1 none) and 0 to 100.
  void SetProgress(int column, int percentage);
  void DrawProgress(HDC dc, int row);

  void SetItemCountEx(int count);
  bool IsSettingItemCount() const { return settingItemCount_; }

  // Cell links. The list owns every group it holds.
  CCellLinkGroup* GetCellLinks(int row, int column) const;
  // False, keeping nothing, for a row the list does not have.
  bool SetCellLinks(std::unique_ptr<CCellLinkGroup> group, int row, int column, bool insert);
  bool RemoveCellLinks(int row, int column);
  bool SetCellLinkText(int row, int column, int linkId, const std::wstring& text);
  bool GetCellLinkText(int row, int column, int linkId, std::wstring& text) const;
  bool SetCellLinkTooltip(int row, int column, int linkId, const std::wstring& text);
  bool EnableCellLink(int row, int column, int linkId, bool enable);
  bool IsCellLinkEnabled(int row, int column, int linkId) const;
  // The rows the link column's vector holds, which may be fewer than the
  // list's rows (rows added before the column's template).
  int LinkRowsOf(int column) const;
  const LinkColumnTemplate* LinkColumn(int column) const;

  // 1 when the element was found and read; 0 leaves the reset skin.
  int LoadSkinFile(const wchar_t* element, const wchar_t* path);
  virtual int LoadSkin(CXmlDom& dom, const wchar_t* element, const std::wstring& imageFolder);

  // A sort in progress replaces every row's item data with one of these.
  struct SortRecord {
    LPARAM itemData;
    std::wstring text;
    DATE referenceTime;
    bool referenceValid;
    int index;
  };
  // Sort support, public for the sort callback and for tests.
  static int CALLBACK SortCompare(LPARAM a, LPARAM b, LPARAM value);
  // The number before "%", "字节", "KB", "MB" or "GB" (not scaled); else -1.
  static int ParseSizeText(const std::wstring& text);
  void SetSortArrow(int column, bool ascending);

  // Rows and cells.
  int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  int ColumnCount() const;
  int HoverRow() const { return hoverRow_; }
  bool DrawsEllipsis(int column) const;
  void GetRowColors(int row, COLORREF& background, COLORREF& text) const;
  virtual std::wstring GetCellText(int row, int column) const;
  virtual void ResetHover();
  HWND Tooltip() const { return tooltip_.Hwnd(); }

 protected:
  // The row being painted, with its default colours.
  struct RowPaint {
    HDC dc;
    RECT rect;
    int row;
    COLORREF background;
    COLORREF text;
  };
  struct LinkHit {
    int row = -1;
    int column = -1;
    const CCellLinkGroup::Link* link = nullptr;
  };

  void PreCreateWindow(fw::CreateArgs& args) override;
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  virtual void DrawItem(const DRAWITEMSTRUCT& item);
  virtual void OnHoverChanged(int oldRow, int newRow);
  virtual bool DrawCell(HDC dc, int row, int column, const RECT& cell);
  virtual void MeasureItem(MEASUREITEMSTRUCT& measure);

  void DrawRow(const RowPaint& paint);
  static void FillGradient(HDC dc, const RECT& rect, COLORREF colour);
  RECT LayoutCellLinks(int width, int lineHeight, const RECT& cell, int format) const;
  void DrawCellLinks(HDC dc, const CCellLinkGroup& group, const RECT& cell, int format) const;
  std::unique_ptr<CCellLinkGroup> CreateCellLinks(const LinkColumnTemplate& linkColumn, int row) const;
  // The enabled or disabled link under a client point, or none.
  bool LinkAt(POINT point, LinkHit& hit) const;
  RECT CellRect(int row, int column) const;
  int ColumnFormat(int column) const;
  int ColumnWidth(int column) const;
  HFONT ListFont() const;
  COLORREF HighlightBackground() const { return highlightBackground_; }
  bool IsReportView() const;
  int RowAt(POINT point) const;
  // Link groups follow their rows after a sort: the row now at i was at
  // oldIndexOfRow[i]. Rows the vector did not reach have no group.
  void ReorderLinks(const std::vector<int>& oldIndexOfRow);
  bool IsSortEnabled() const { return sortEnabled_; }
  DATE ReferenceTime(bool& valid) const {
    valid = referenceValid_;
    return referenceTime_;
  }

  int lastSortColumn_ = -1;
  bool ascending_ = true;

 private:
  void AttachHeader();
  void ResetSkin();
  void ReplaceSortArrows(fw::ScopedBitmap ascending, fw::ScopedBitmap descending);
  // The window's font from the skin; the font it had before goes back to it
  // when the list object lets go of the window.
  void SetListFont(fw::ScopedFont font);
  void GiveBackWindowFont();
  void ReadListItem(CXmlDom& dom, const std::wstring& folder, int& column, std::vector<BYTE>& sortTypes,
                    int& fontSize, std::wstring& fontFace);
  void ReadHeaderItem(CXmlDom& dom, const std::wstring& folder, int fontSize, const std::wstring& fontFace);
  bool ReadColumnItem(CXmlDom& dom, int column, std::vector<BYTE>& sortTypes);
  void ReadRowsItem(CXmlDom& dom, int fontSize, const std::wstring& fontFace);
  void ReadLinkColumnItem(CXmlDom& dom);

  void Paint();
  void DrawCellText(HDC dc, const std::wstring& text, RECT cell, int column) const;
  void DrawFirstColumn(const RowPaint& paint, const RECT& cell, UINT state, COLORREF text);
  bool OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TrackHover(POINT point);
  void TrackLinkHover(POINT point);
  void ShowLinkTooltip(const LinkHit& hit);
  void HideTooltip();
  bool OnLinkPress(POINT point);
  bool OnListNotify(NMHDR& header);
  void InsertRowLinks(int row);
  void DeleteRowLinks(int row);
  void FreeAllLinks();
  void StoreGroup(std::vector<std::unique_ptr<CCellLinkGroup>>& column, int row,
                  std::unique_ptr<CCellLinkGroup> group);

  CGdiPlusSession gdiplus_;
  int progressPercentage_ = 0;
  int progressColumn_ = -1;
  bool sortEnabled_ = false;
  std::vector<BYTE> sortTypes_;
  DATE referenceTime_ = 0;
  bool referenceValid_ = false;
  int itemCount_ = 0;
  fw::ScopedBitmap ascendingArrow_;
  fw::ScopedBitmap descendingArrow_;
  fw::ScopedBitmap progressBar_;
  fw::ScopedBitmap progressFrame_;
  bool settingItemCount_ = false;
  CHeaderCtrlEx header_;
  fw::ScopedFont listFont_;
  HFONT windowFontBefore_ = nullptr;  // not owned
  std::map<int, std::vector<std::unique_ptr<CCellLinkGroup>>> cellLinks_;
  std::map<int, std::unique_ptr<LinkColumnTemplate>> linkColumns_;
  int linkHoverRow_ = -1;
  int linkHoverColumn_ = -1;
  int linkHoverId_ = 0;
  TOOLINFOW toolInfo_{};
  std::wstring tooltipText_;
  fw::Wnd tooltip_;
  bool lastColumnFill_ = false;
  int fillColumn_ = -1;
  int hoverRow_ = -1;
  RECT lastClient_{};
  std::vector<RowColorData> rowColours_;
  COLORREF highlightBackground_ = CLR_INVALID;
  COLORREF highlightText_ = CLR_INVALID;
  COLORREF showAlwaysBackground_ = CLR_INVALID;
  COLORREF showAlwaysText_ = CLR_INVALID;
  COLORREF hoverBackground_ = CLR_INVALID;
  COLORREF hoverText_ = CLR_INVALID;
  bool gradientHighlight_ = true;
  std::array<BYTE, kEllipsisColumns> drawEllipsis_{};
};
