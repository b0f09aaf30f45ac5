#pragma once
#include <windows.h>

#include <string>

// Writes the top-left width x height of `source` (a memory DC with a bitmap
// selected) as an uncompressed bitmap file: 14-byte file header, 40-byte info
// header, bottom-up rows, no colour table. The depth is the source bitmap's;
// 8 bits or less is written as 24, since palette pixels need a table this
// layout has not. The file is replaced whole or not at all. False for an
// empty size or any failure.
bool WriteSnapshotBitmap(HDC source, int width, int height, const std::wstring& path);
