#include "FileScrambleGuard.h"

#include "DataFile.h"

CFileScrambleGuard::CFileScrambleGuard(std::wstring path) : path_(std::move(path)) {
  datafile::InvertFileHead(path_);
}

CFileScrambleGuard::~CFileScrambleGuard() { datafile::InvertFileHead(path_); }
