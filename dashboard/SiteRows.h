#pragma once
#include <windows.h>

#include <string>

// The report list of a site page: one row per site, the name in column 0 and
// the address in column 1. The rows are what the page saves.
class CSiteRows {
 public:
  // The list class comes from the common controls, which the panel's callers
  // need not have registered.
  static void RegisterListClass();

  void Attach(HWND list) { m_list = list; }
  HWND Hwnd() const { return m_list; }
  void InsertColumns();
  void Append(const std::wstring& name, const std::wstring& address);
  int Count() const;
  std::wstring Name(int row) const { return Text(row, 0); }
  std::wstring Address(int row) const { return Text(row, 1); }
  void DeleteAll();
  // Asks for a site ("增加新网站") and appends it; false when the parent
  // closed the dialog instead.
  bool AppendAsked(HWND owner);

  // Appends every record of a site list through its ForEach: `Record` has a
  // title and an address member.
  template <class List, class Record, std::wstring Record::*Address>
  void AppendAll(List& list);

 private:
  std::wstring Text(int row, int column) const;

  HWND m_list = nullptr;
};

template <class List, class Record, std::wstring Record::*Address>
void CSiteRows::AppendAll(List& list) {
  list.ForEach(
      [](Record* record, void* rows) { static_cast<CSiteRows*>(rows)->Append(record->title, record->*Address); },
      this);
}
