#include "StagedBrowserFolder.h"

#include <windows.h>
#include <tlhelp32.h>

#include <fstream>

#include "CommHelper.h"
#include "DataFolderTest.h"
#include "ReleaseFolder.h"
#include "StringConv.h"

namespace {

bool WriteUtf8(const std::wstring& path, const std::wstring& text) {
  std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
  file << fw::ToAnsi(text, CP_UTF8);
  return static_cast<bool>(file);
}

std::wstring ImagePath(DWORD processId) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return std::wstring();
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  const BOOL found = ::QueryFullProcessImageNameW(process, 0, path, &length);
  ::CloseHandle(process);
  return found ? std::wstring(path, length) : std::wstring();
}

}  // namespace

const wchar_t StagedBrowserFolder::kShippedVersion[] = L"1.0.0.1";

StagedBrowserFolder::StagedBrowserFolder(const std::wstring& server) : server_(server) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"brivan release " + std::to_wstring(::GetCurrentProcessId());
  RemoveFileTree(folder_);
  ::CreateDirectoryW(folder_.c_str(), nullptr);
  const std::wstring bin = ReleaseFolder();
  ok_ = CopyTree(bin + L"theme", Path(L"theme")) && CopyTree(bin + L"conf", Path(L"conf"));
  for (const wchar_t* name : {L"Brivan.exe", L"Cobbel.dll", L"Dashboard.dll", L"Wizard.exe", L"Pelvin.exe"})
    ok_ = ::CopyFileW((bin + name).c_str(), Path(name).c_str(), FALSE) && ok_;
  ok_ = WriteAddressBook() && WriteShippedUpdateIni() && ok_;
}

StagedBrowserFolder::~StagedBrowserFolder() {
  EndProcesses();
  RemoveFileTree(folder_);
}

bool StagedBrowserFolder::WriteAddressBook() const {
  return WriteUtf8(Path(L"conf\\urls.conf"),
                   L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Confs>\n\t<urls>\n"
                   L"\t\t<url id=\"navhome\" value=\"" + NavHomeUrl() + L"\"/>\n"
                   L"\t\t<url id=\"navtitle\" value=\"Tindra儿童乐园\"/>\n"
                   L"\t\t<url id=\"homepage\" value=\"" + server_ + L"/\"/>\n"
                   L"\t\t<url id=\"help\" value=\"" + HelpUrl() + L"\"/>\n"
                   L"\t\t<url id=\"update\" value=\"" + UpdateIniUrl() + L"\"/>\n"
                   L"\t</urls>\n</Confs>\n");
}

bool StagedBrowserFolder::WriteShippedUpdateIni() const {
  return WriteUtf8(Path(L"conf\\update.ini"), std::wstring(L"[UPDATE]\r\nVersion=") + kShippedVersion +
                                                   L"\r\nUpdateUrl=" + server_ + L"/download/\r\n");
}

std::vector<DWORD> StagedBrowserFolder::ProcessIds(const wchar_t* name) const {
  std::vector<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  const std::wstring wanted = fw::ToLower(name ? Path(name) : folder_ + L"\\");
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    const std::wstring image = fw::ToLower(ImagePath(entry.th32ProcessID));
    if (name ? image == wanted : image.rfind(wanted, 0) == 0) ids.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return ids;
}

void StagedBrowserFolder::EndProcesses(const wchar_t* name) const {
  for (DWORD id : ProcessIds(name)) {
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      ::TerminateProcess(process, 1);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }
}
