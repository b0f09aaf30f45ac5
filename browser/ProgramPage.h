#pragma once
#include <string>

// Whether an address is a page of the program itself: a file: URL, in any
// form the browser reports (file:///C:/dir/a.html, file://C:\dir\a.html,
// escaped or not), whose full path, once unescaped and canonical, lies inside
// `folder` (ordinal, no case, on a folder boundary) and names an .htm or
// .html file, never a folder. UNC paths and every other scheme are not.
bool IsPageInFolder(const std::wstring& url, const std::wstring& folder);
// The same for the folder of the running program, and only for its own files:
// in a process that Windows virtualises, a file the account may have put in
// its VirtualStore copy of the folder is none.
bool IsProgramPage(const std::wstring& url);
