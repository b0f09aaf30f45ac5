#pragma once
#include <string>

// True when `url` parses as an ftp, http or https address: the only start
// URLs the browser takes from its command line.
bool IsWebUrl(const std::wstring& url);
