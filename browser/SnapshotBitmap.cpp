#include "SnapshotBitmap.h"

#include <cstring>
#include <string>

#include "DataFile.h"
#include "Handles.h"

namespace {

WORD SourceDepth(HDC source) {
  BITMAP bitmap{};
  HGDIOBJ selected = ::GetCurrentObject(source, OBJ_BITMAP);
  if (selected && ::GetObjectW(selected, sizeof(bitmap), &bitmap) && bitmap.bmBitsPixel)
    return bitmap.bmBitsPixel;
  return static_cast<WORD>(::GetDeviceCaps(source, BITSPIXEL) * ::GetDeviceCaps(source, PLANES));
}

template <typename T>
void Append(std::string& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

}  // namespace

bool WriteSnapshotBitmap(HDC source, int width, int height, const std::wstring& path) {
  if (!source || width <= 0 || height <= 0) return false;
  WORD depth = SourceDepth(source);
  if (depth <= 8) depth = 24;

  // A copy, so the pixels are read from a bitmap no other DC has selected.
  fw::ScopedBitmap copy(::CreateCompatibleBitmap(source, width, height));
  fw::ScopedCreatedDC copyDc(::CreateCompatibleDC(source));
  if (!copy || !copyDc) return false;
  {
    fw::ScopedSelectObject select(copyDc.Get(), copy.Get());
    if (!::StretchBlt(copyDc.Get(), 0, 0, width, height, source, 0, 0, width, height, SRCCOPY)) return false;
  }

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = depth;
  info.biCompression = BI_RGB;
  const DWORD rowBytes = ((static_cast<DWORD>(width) * depth + 31) / 32) * 4;
  info.biSizeImage = rowBytes * static_cast<DWORD>(height);

  std::string pixels(info.biSizeImage, '\0');
  BITMAPINFOHEADER query = info;  // GetDIBits may write into the header
  if (::GetDIBits(copyDc.Get(), copy.Get(), 0, static_cast<UINT>(height), &pixels[0],
                  reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS) != height)
    return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes;
  bytes.reserve(file.bfSize);
  Append(bytes, file);
  Append(bytes, info);
  bytes += pixels;
  // Snapshots belong to the history and favourites every account keeps.
  return datafile::WriteBytesReplacing(path, bytes, /*createFolder=*/false, AccountSharing::kModify);
}
