#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A program folder laid out as a release: Brivan.exe with the libraries and
// programs beside it, the theme, and the conf folder whose address book
// points at a server on 127.0.0.1. Its name holds a blank, as
// "Program Files" does. Every process still running from it is ended when
// the folder goes, before the folder is removed.
class StagedBrowserFolder {
 public:
  // `server`: "http://127.0.0.1:<port>", the base of every address.
  explicit StagedBrowserFolder(const std::wstring& server);
  ~StagedBrowserFolder();
  StagedBrowserFolder(const StagedBrowserFolder&) = delete;
  StagedBrowserFolder& operator=(const StagedBrowserFolder&) = delete;

  bool Ok() const { return ok_; }
  const std::wstring& Folder() const { return folder_; }
  std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }
  std::wstring Browser() const { return Path(L"Brivan.exe"); }

  // The addresses the staged address book holds.
  std::wstring NavHomeUrl() const { return server_ + L"/kids/index.html"; }
  std::wstring HelpUrl() const { return server_ + L"/help/browser.html"; }
  std::wstring UpdateIniUrl() const { return server_ + L"/update.ini"; }
  // The version the staged conf\update.ini ships with.
  static const wchar_t kShippedVersion[];

  // Ends every process whose program file lies in the folder, or is the
  // folder's `name` when one is given.
  void EndProcesses(const wchar_t* name = nullptr) const;
  // Whether a process of the folder's program `name` runs.
  bool Runs(const wchar_t* name) const { return !ProcessIds(name).empty(); }

 private:
  std::vector<DWORD> ProcessIds(const wchar_t* name) const;
  bool WriteAddressBook() const;
  bool WriteShippedUpdateIni() const;

  std::wstring server_;
  std::wstring folder_;
  bool ok_ = false;
};
