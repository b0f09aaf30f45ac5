// The compare rules of the sort types, the size texts they read and the
// header's sort arrow.
#include <cwchar>
#include <cstdlib>

#include "ListCtrlOwnData.h"

namespace {

enum SortType {
  kTextCase = 0, kTextNoCase = 1, kInteger = 2, kDateTime = 3, kUnsorted = 4, kReal = 5, kDateAfterReference = 6,
  kSize = 7
};

template <typename T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int Sign(int value) { return ThreeWay(value, 0); }

bool ParseDate(const std::wstring& text, DATE& date) {
  return SUCCEEDED(::VarDateFromStr(const_cast<OLECHAR*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &date));
}

// Earlier is -1, anything else 1; a text that is no date leaves the pair
// unordered. With `moveEarlier`, a date before the reference counts a day later.
int CompareDates(const std::wstring& a, const std::wstring& b, bool moveEarlier, DATE reference) {
  DATE first = 0, second = 0;
  if (!ParseDate(a, first) || !ParseDate(b, second)) return 0;
  if (moveEarlier && first < reference) first += 1.0;
  if (moveEarlier && second < reference) second += 1.0;
  return first < second ? -1 : 1;
}

}  // namespace

int CALLBACK CListCtrlOwnData::SortCompare(LPARAM a, LPARAM b, LPARAM value) {
  const auto& first = *reinterpret_cast<const SortRecord*>(a);
  const auto& second = *reinterpret_cast<const SortRecord*>(b);
  const int type = static_cast<int>((value >> 8) & 0xFF);
  const int direction = (value & 0xFF) ? 1 : -1;
  int result = 0;
  switch (type) {
    case kTextCase:
      result = Sign(::lstrcmpW(first.text.c_str(), second.text.c_str()));
      break;
    case kTextNoCase:
      result = Sign(::lstrcmpiW(first.text.c_str(), second.text.c_str()));
      break;
    case kInteger:
      result = ThreeWay(std::wcstol(first.text.c_str(), nullptr, 10), std::wcstol(second.text.c_str(), nullptr, 10));
      break;
    case kDateTime:
      result = CompareDates(first.text, second.text, false, 0);
      break;
    case kReal:
      result = std::wcstod(second.text.c_str(), nullptr) > std::wcstod(first.text.c_str(), nullptr) ? -1 : 1;
      break;
    case kDateAfterReference:
      result = CompareDates(first.text, second.text, first.referenceValid, first.referenceTime);
      break;
    case kSize:
      result = ThreeWay(ParseSizeText(first.text), ParseSizeText(second.text));
      break;
    default:  // kUnsorted and anything unknown keep the order
      break;
  }
  return result * direction;
}

int CListCtrlOwnData::ParseSizeText(const std::wstring& text) {
  if (text.empty()) return -1;
  if (text.back() == L'%') return static_cast<int>(std::wcstol(text.substr(0, text.find(L'%')).c_str(), nullptr, 10));
  if (text.size() < 2) return -1;
  static const wchar_t* const units[] = {L"字节", L"KB", L"MB", L"GB"};
  const std::wstring last = text.substr(text.size() - 2);
  for (const wchar_t* unit : units) {
    if (last != unit) continue;
    return static_cast<int>(std::wcstol(text.substr(0, text.find(unit)).c_str(), nullptr, 10));
  }
  return -1;
}

void CListCtrlOwnData::SetSortArrow(int column, bool ascending) {
  if (!header_.Hwnd()) return;
  for (int item = 0, count = ColumnCount(); item < count; ++item) {
    HDITEMW info{};
    info.mask = HDI_FORMAT | HDI_BITMAP;
    if (!header_.Send(HDM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info))) continue;
    if (item == column) {
      info.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
      info.hbm = ascending ? ascendingArrow_.Get() : descendingArrow_.Get();
    } else {
      info.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
      info.hbm = nullptr;
    }
    header_.Send(HDM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
  }
}
