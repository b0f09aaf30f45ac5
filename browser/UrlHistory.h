#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One address of Internet Explorer's URL history.
struct UrlHistoryEntry {
  std::wstring url;
  std::wstring title;
  FILETIME lastVisited{};
};

// The sites the child has visited, as the address box offers them: read from
// Internet Explorer's URL history and cut down to the roots of sites.
class CUrlHistory {
 public:
  static const size_t kShownEntries = 20;

  // Every entry of the history; false when the history object cannot be
  // made or enumerated (what was read so far stays in `entries`).
  static bool Read(std::vector<UrlHistoryEntry>& entries);
  // The ftp, http and https entries whose path is at most "/", newest first.
  static std::vector<UrlHistoryEntry> SiteRoots(const std::vector<UrlHistoryEntry>& entries);
  // How far the address box's list reaches below it for `kept` entries.
  static int DropDownGrowth(size_t kept);
};
