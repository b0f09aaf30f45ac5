// A program that calls what Windows 2000 lacks (an XP function and GDI+), so
// the import check can be seen refusing it.
#include <windows.h>
#include <gdiplus.h>

int main()
{
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    const bool started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    return static_cast<int>(info.dwNumberOfProcessors) + (started ? 1 : 0);
}
