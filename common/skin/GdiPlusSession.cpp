#include "GdiPlusSession.h"

#include <gdiplus.h>

namespace {

// The user-interface thread is the only GDI+ user of each program.
ULONG_PTR token = 0;
int sessions = 0;

}  // namespace

CGdiPlusSession::CGdiPlusSession() {
  if (sessions++ > 0 || token) return;
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) token = 0;
}

CGdiPlusSession::~CGdiPlusSession() {
  if (--sessions > 0 || !token) return;
  Gdiplus::GdiplusShutdown(token);
  token = 0;
}

bool CGdiPlusSession::IsRunning() { return token != 0; }
int CGdiPlusSession::Sessions() { return sessions; }
