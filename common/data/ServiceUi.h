#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

// The few dialogs the system services show without a window of their own
// (exception message boxes, the internet password dialog). Tests replace the
// implementation so that no run ever waits on a dialog.
class IServiceUi {
public:
    virtual ~IServiceUi() = default;
    virtual void ShowMessage(const std::wstring& text) = 0;
    // The answer of InternetErrorDlg (ERROR_INTERNET_FORCE_RETRY to send again).
    virtual DWORD ShowInternetError(HINTERNET request, DWORD error, DWORD flags) = 0;
};

// The implementation in force; a null argument restores the real dialogs.
IServiceUi& GetServiceUi();
void SetServiceUi(IServiceUi* ui);
