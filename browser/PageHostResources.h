#pragma once
// The browser page: a borderless child dialog that the browser control fills.
#define IDD_IE_PAGE 136
