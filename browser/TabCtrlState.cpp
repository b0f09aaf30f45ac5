// The tab order and selection, saved by the control ids of the tabs' windows
// as 32-bit little-endian numbers: the count, the selected index when there
// is more than one tab, then one id per tab.
#include <cstring>
#include <new>

#include "TabCtrl.h"

namespace {

// Profile values are capped like the archive buffer they were made for.
const DWORD kProfileBufferSize = 4096;

void Put(std::vector<BYTE>* archive, int value) {
  BYTE bytes[4];
  std::memcpy(bytes, &value, sizeof(bytes));
  archive->insert(archive->end(), bytes, bytes + 4);
}

// Reads the next number; false at the end of the data.
bool Take(const std::vector<BYTE>& archive, size_t* at, int* value) {
  if (*at > archive.size() || archive.size() - *at < 4) return false;
  std::memcpy(value, archive.data() + *at, 4);
  *at += 4;
  return true;
}

std::wstring ProfileKey(const wchar_t* application, const wchar_t* section) {
  return std::wstring(L"Software\\") + application + L"\\" + section;
}

}  // namespace

bool TabCtrl::SaveState(std::vector<BYTE>* archive) const {
  if (!archive) return false;
  try {
    std::vector<BYTE> out;
    Put(&out, GetCount());
    if (GetCount() > 1) Put(&out, selected_ ? GetTabIndex(selected_) : -1);
    for (const Tab* tab : tabs_) Put(&out, tab->window ? ::GetDlgCtrlID(tab->window) : 0);
    archive->swap(out);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool TabCtrl::LoadState(const std::vector<BYTE>& archive) {
  // Everything is checked before anything moves: the data may come from a
  // damaged or foreign profile.
  size_t at = 0;
  int count = 0;
  if (!Take(archive, &at, &count) || count < 0 || count > GetCount()) return false;
  int selection = -1;
  bool hasSelection = count > 1;
  if (hasSelection && (!Take(archive, &at, &selection) || selection < -1 || selection >= count)) return false;
  std::vector<Tab*> order;
  try {
    for (int i = 0; i < count; ++i) {
      int id = 0;
      Tab* tab = nullptr;
      if (!Take(archive, &at, &id) || !FindTabByCtrlId(id, &tab, nullptr)) return false;
      for (Tab* seen : order) {
        if (seen == tab) return false;
      }
      order.push_back(tab);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int position = 0; position + 1 < count; ++position) {
    Tab* tab = order[position];
    int now = GetTabIndex(tab);
    if (now == position) continue;
    tabs_.erase(tabs_.begin() + now);
    tabs_.insert(tabs_.begin() + position, tab);
  }
  if (hasSelection && selection >= 0) SelectTab(tabs_[selection]);
  return true;
}

bool TabCtrl::SaveStateToProfile(const wchar_t* application, const wchar_t* section, const wchar_t* entry) const {
  if (!application || !section || !entry) return false;
  std::vector<BYTE> archive;
  if (!SaveState(&archive) || archive.size() > kProfileBufferSize) return false;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, ProfileKey(application, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG written = ::RegSetValueExW(key, entry, 0, REG_BINARY, archive.data(), static_cast<DWORD>(archive.size()));
  ::RegCloseKey(key);
  return written == ERROR_SUCCESS;
}

bool TabCtrl::LoadStateFromProfile(const wchar_t* application, const wchar_t* section, const wchar_t* entry) {
  if (!application || !section || !entry) return false;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, ProfileKey(application, section).c_str(), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return false;
  std::vector<BYTE> archive(kProfileBufferSize);
  DWORD size = kProfileBufferSize;
  DWORD type = 0;
  LONG read = ::RegQueryValueExW(key, entry, nullptr, &type, archive.data(), &size);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_BINARY) return false;
  archive.resize(size);
  return LoadState(archive);
}
