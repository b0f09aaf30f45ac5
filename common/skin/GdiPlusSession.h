#pragma once
#include <windows.h>

// Keeps GDI+ started while at least one session lives: the first session of
// the process starts it, the last one shuts it down. Every GDI+ user holds one
// for as long as it makes GDI+ calls; Windows refuses GDI+ calls made before
// the start-up (Wine does not check).
class CGdiPlusSession {
 public:
  CGdiPlusSession();
  ~CGdiPlusSession();
  CGdiPlusSession(const CGdiPlusSession&) = delete;
  CGdiPlusSession& operator=(const CGdiPlusSession&) = delete;

  static bool IsRunning();
  static int Sessions();
};
