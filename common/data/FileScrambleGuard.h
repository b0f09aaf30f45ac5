#pragma once
#include <string>

// Inverts the head of a file on disk when made and again when destroyed, for
// a tool that must hand the plain file to something else for a moment. The
// data files themselves are unscrambled in memory and never lie plain.
class CFileScrambleGuard {
 public:
  explicit CFileScrambleGuard(std::wstring path);
  ~CFileScrambleGuard();
  CFileScrambleGuard(const CFileScrambleGuard&) = delete;
  CFileScrambleGuard& operator=(const CFileScrambleGuard&) = delete;

 private:
  std::wstring path_;
};
