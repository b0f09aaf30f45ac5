#pragma once
#include <windows.h>

#include <string>

#include "AccountSharing.h"

// One request handed to a worker thread; the starter gives the worker its own
// copy, so the worker never shares it.
struct HttpTaskInfo {
    std::wstring url;
    std::wstring localFile;  // download target
    AccountSharing sharing = AccountSharing::kCreatorOnly;  // of the download target
    std::wstring postData;   // body of a POST
    std::wstring answer;     // body of a POST answer, filled by the worker
    std::wstring cookies;    // a header line sent with a POST; received cookies are appended
    int encrypted = 0;       // 1 adds "Param: Encrypted=true;Method=1"
    HWND window = nullptr;   // where the outcome goes
    UINT message = 0;
};
