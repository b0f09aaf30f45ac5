#pragma once
#include <string>

// True when `url` parses as an ftp, http or https address: the only start
// URLs the browser takes from its command line.
bool IsWebUrl(const std::wstring& url);

// `url` in quotes as one command-line argument when it is an http or https
// address with no quote, blank or control character in it; else empty.
std::wstring QuotedHttpArgument(const std::wstring& url);
