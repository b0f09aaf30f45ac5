#pragma once
// Helpers shared by the system-service tests: a scratch folder per test and
// the replacement for the services' dialogs.
#include "ServiceUi.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace servicetest {

// A fresh folder under %TEMP%, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"hollin-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(counter_++);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found{};
        HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    ::DeleteFileW(full.c_str());
            } while (::FindNextFileW(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(folder.c_str());
    }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};

inline bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Records what the services would have shown; answers the password dialog
// with the configured result.
class RecordingUi : public IServiceUi {
public:
    RecordingUi() { SetServiceUi(this); }
    ~RecordingUi() override { SetServiceUi(nullptr); }

    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    DWORD ShowInternetError(HINTERNET request, DWORD error, DWORD) override
    {
        internetErrors.push_back(error);
        return onInternetError ? onInternetError(request) : internetErrorAnswer;
    }

    std::vector<std::wstring> messages;
    std::vector<DWORD> internetErrors;
    DWORD internetErrorAnswer = ERROR_CANCELLED;
    // Plays the user typing into the password dialog.
    std::function<DWORD(HINTERNET)> onInternetError;
};

}  // namespace servicetest
