#include "UpdateCheck.h"

#include "HttpClient.h"
#include "ServicePaths.h"
#include "StringConv.h"
#include "UrlsConf.h"

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
    request.window = window;
    request.message = message;
    return StartDownloadThread(request);
}

BOOL InstallDownloadedUpdateIni()
{
    const std::wstring temp = GetUpdateTempPath();
    const BOOL copied = ::CopyFileW(temp.c_str(), GetUpdateIniPath().c_str(), FALSE);
    if (copied)
        ::DeleteFileW(temp.c_str());
    return copied;
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
    return fw::EqualsNoCase(downloaded, ReadUpdateValue(shippedIni, L"Version")) ? 0 : 1;
}

int IsNewVersionAvailable()
{
    return IsNewVersionAvailable(GetUpdateIniPath(), GetShippedUpdateIniPath());
}

std::wstring GetUpdatePageUrl()
{
    return ReadUpdateValue(GetUpdateIniPath(), L"UpdateUrl");
}
