// A program that calls what Windows XP lacks, so the import check can be
// seen refusing it.
#include <windows.h>

int main()
{
    SRWLOCK lock;
    InitializeSRWLock(&lock);
    DWORD size = 0;
    const LONG read = RegGetValueW(HKEY_CURRENT_USER, L"Software", L"none", RRF_RT_ANY, nullptr, nullptr, &size);
    return static_cast<int>(GetTickCount64() % 2) + (read == ERROR_SUCCESS ? 1 : 0);
}
