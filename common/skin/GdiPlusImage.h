#pragma once
#include <windows.h>

#include <objidl.h>

#include <string>

#include "GdiPlusSession.h"

namespace Gdiplus {
class Bitmap;
}

// An image through GDI+, which runs at least as long as the image lives.
class CGdiPlusImage {
 public:
  CGdiPlusImage();
  ~CGdiPlusImage();
  CGdiPlusImage(const CGdiPlusImage&) = delete;
  CGdiPlusImage& operator=(const CGdiPlusImage&) = delete;

  bool LoadFromFile(const std::wstring& fileName);
  bool LoadFromStream(IStream* stream);
  // A resource of type "IMAGE" of the module holding this code.
  bool LoadFromResource(UINT resourceId);
  // An all-zero rectangle draws the image at its own size.
  bool Draw(HDC dc, const RECT& rect);
  SIZE GetSize() const;
  void RotateFlip(int rotateFlipType);
  // Scaled to width x height when both are non-zero. The encoder is the one
  // whose MIME type is exactly "image/<extension>".
  bool Save(const std::wstring& fileName, int width = 0, int height = 0);

  static int LiveImages();
  static bool GdiPlusRunning();

 private:
  void Free();

  CGdiPlusSession gdiplus_;  // first: started before the image, shut down after it
  bool useEmbeddedColorManagement_ = false;
  Gdiplus::Bitmap* image_ = nullptr;
  HGLOBAL buffer_ = nullptr;
};
