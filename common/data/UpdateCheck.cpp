#include "UpdateCheck.h"

#include "DataFile.h"
#include "HttpClient.h"
#include "ServicePaths.h"
#include "StringConv.h"
#include "UrlsConf.h"

#include <algorithm>
#include <vector>

std::wstring GetUpdateIniPath()
{
    return services::DataFolder() + L"\\update.ini";
}

std::wstring GetUpdateTempPath()
{
    return services::DataFolder() + L"\\update.tmpdll";
}

std::wstring GetShippedUpdateIniPath()
{
    return services::ExecutableFolder() + L"\\conf\\update.ini";
}

int StartUpdateCheck(HWND window, UINT message)
{
    return StartUpdateDownload(GetUpdateInfoUrl(), window, message);
}

int StartUpdateDownload(const std::wstring& url, HWND window, UINT message)
{
    HttpTaskInfo request;
    request.url = url;
    request.localFile = GetUpdateTempPath();
    // The browser of any account checks: each must be able to replace what
    // another's check left.
    request.sharing = AccountSharing::kModify;
    request.window = window;
    request.message = message;
    return StartDownloadThread(request);
}

BOOL InstallDownloadedUpdateIni()
{
    const std::wstring temp = GetUpdateTempPath();
    // Written anew rather than copied: a copy keeps the permissions of the
    // update.ini it overwrites, or takes the folder's, never the shared ones.
    std::string bytes;
    if (!datafile::ReadBytes(temp, &bytes) ||
        !datafile::WriteBytesReplacing(GetUpdateIniPath(), bytes, /*createFolder=*/false, AccountSharing::kModify))
        return FALSE;
    ::DeleteFileW(temp.c_str());
    return TRUE;
}

std::wstring ReadUpdateValue(const std::wstring& iniPath, const wchar_t* key)
{
    wchar_t value[260] = {};
    // The file may have just been replaced by a download; drop any cached copy
    // so the new content is read, not the old one.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, iniPath.c_str());
    ::GetPrivateProfileStringW(L"UPDATE", key, L"", value, 260, iniPath.c_str());
    return value;
}

int IsNewVersionAvailable(const std::wstring& downloadedIni, const std::wstring& shippedIni)
{
    const std::wstring downloaded = ReadUpdateValue(downloadedIni, L"Version");
    // A truncated download or a saved error page has no version: no update.
    if (downloaded.empty() || ReadUpdateValue(downloadedIni, L"UpdateUrl").empty())
        return 0;
    return CompareVersions(downloaded, ReadUpdateValue(shippedIni, L"Version")) > 0 ? 1 : 0;
}

namespace {

std::vector<std::wstring> VersionParts(const std::wstring& version)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= version.size()) {
        const size_t dot = version.find(L'.', start);
        parts.push_back(version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
        if (dot == std::wstring::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

bool IsNumber(const std::wstring& part)
{
    return !part.empty() && part.size() <= 9 &&
           std::all_of(part.begin(), part.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

int ComparePart(const std::wstring& part, const std::wstring& other)
{
    if (IsNumber(part) && IsNumber(other))
        return std::stoi(part) - std::stoi(other);
    const std::wstring lower = fw::ToLower(part);
    const std::wstring otherLower = fw::ToLower(other);
    return lower.compare(otherLower);
}

}  // namespace

int CompareVersions(const std::wstring& version, const std::wstring& other)
{
    const std::vector<std::wstring> parts = VersionParts(version);
    const std::vector<std::wstring> otherParts = VersionParts(other);
    for (size_t i = 0; i < parts.size() || i < otherParts.size(); ++i) {
        // A missing part counts as 0: 1.0 and 1.0.0 are one version.
        const std::wstring part = i < parts.size() ? parts[i] : L"0";
        const std::wstring otherPart = i < otherParts.size() ? otherParts[i] : L"0";
        const int order = ComparePart(part, otherPart);
        if (order != 0)
            return order;
    }
    return 0;
}

int IsNewVersionAvailable()
{
    return IsNewVersionAvailable(GetUpdateIniPath(), GetShippedUpdateIniPath());
}

std::wstring GetUpdatePageUrl()
{
    return ReadUpdateValue(GetUpdateIniPath(), L"UpdateUrl");
}
