#include "ServiceUi.h"

#include <atomic>

namespace {

class SystemDialogs : public IServiceUi {
public:
    void ShowMessage(const std::wstring& text) override
    {
        ::MessageBoxW(nullptr, text.c_str(), L"", MB_OK | MB_ICONWARNING);
    }

    DWORD ShowInternetError(HINTERNET request, DWORD error, DWORD flags) override
    {
        return ::InternetErrorDlg(::GetDesktopWindow(), request, error, flags, nullptr);
    }
};

SystemDialogs g_systemDialogs;
std::atomic<IServiceUi*> g_serviceUi{&g_systemDialogs};

}  // namespace

IServiceUi& GetServiceUi()
{
    return *g_serviceUi.load();
}

void SetServiceUi(IServiceUi* ui)
{
    g_serviceUi.store(ui ? ui : &g_systemDialogs);
}
