#pragma once
#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "CellLinkGroup.h"
#include "ListCtrlEx.h"
#include "RecordButton.h"
#include "RecordListSkin.h"

class CRecordListCtrl;

// WM_NOTIFY codes the record list sends its notify window.
const int RLN_BUTTONCLICK = -197;
const int RLN_ROWCLICK = -198;

struct RecordListNotify {
  NMHDR hdr;
  int row;
  CRecordListCtrl* list;
};
#ifndef _WIN64
static_assert(offsetof(RecordListNotify, row) == 12 && offsetof(RecordListNotify, list) == 16 &&
                  sizeof(RecordListNotify) == 20,
              "the i686 layout of the record list's notification is fixed");
#endif

// The item data of every row of a record list.
struct RecordItem {
  // The row text as link 0, in the skin's colours and fonts.
  CCellLinkGroup text;
  RecordButton button;
  int value = 0;
};

// A list of records: an icon and a text in the first column, an optional
// image button in a narrow second one, grid lines between rows. A press on
// the button, or elsewhere on a row, is reported to the notify window.
class CRecordListCtrl : public CListCtrlEx {
 public:
  CRecordListCtrl();
  ~CRecordListCtrl() override;

  // Only on an existing, empty list.
  bool InitColumns(bool withButton);
  // The new row, or -1.
  int AddRecord(const std::wstring& text, int image);
  bool DeleteRecord(int row);
  // The number of rows there were.
  int DeleteAllRecords();
  std::wstring GetRecordText(int row) const { return GetCellText(row, 0); }
  bool SetRecordText(int row, const std::wstring& text);
  bool SetRecordValue(int row, int value);
  int GetRecordValue(int row) const;
  // The first row from `start` whose text begins with `text`; -1 for none.
  int FindRecordByText(const std::wstring& text, int start) const;
  // Start -1 searches from row 0.
  int FindRecordByValue(int value, int start) const;
  bool SetItemIndent(int row, int indent);
  int GetItemIndent(int row) const;
  bool GetButtonRect(int row, RECT& rect) const;
  RecordItem* GetRecord(int row) const;

  // None from construction: until one is set, nothing is reported.
  void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
  const RecordListSkin& Skin() const { return *skin_; }

  int LoadSkin(CXmlDom& dom, const wchar_t* element, const std::wstring& imageFolder) override;
  void ResetHover() override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  bool DrawCell(HDC dc, int row, int column, const RECT& cell) override;
  void MeasureItem(MEASUREITEMSTRUCT& measure) override;

 private:
  bool OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
  void DrawIconAndText(HDC dc, int row, const RECT& cell, const RecordItem& record);
  void SetButtonState(int row, int state);
  void DrawButtonNow(int row);
  void Notify(int code, int row);
  void FreeRecord(const RecordItem* record);
  void FreeAllRecords();
  std::unique_ptr<RecordItem> MakeRecord(const std::wstring& text, int row) const;

  std::unique_ptr<RecordListSkin> skin_;
  HWND notifyWindow_ = nullptr;
  std::map<const RecordItem*, std::unique_ptr<RecordItem>> records_;
  int hotRow_ = -1;  // the row whose button the mouse was last over or beside
};
