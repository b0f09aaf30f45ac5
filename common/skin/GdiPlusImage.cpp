#include "GdiPlusImage.h"

#include <algorithm>
#include <vector>

#include <gdiplus.h>

#include "Wnd.h"

namespace {

int liveImages = 0;

bool FindEncoder(const std::wstring& mimeType, CLSID* encoder) {
  UINT count = 0;
  UINT bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<BYTE> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && mimeType == codecs[i].MimeType) {
      *encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

CGdiPlusImage::CGdiPlusImage() { ++liveImages; }

CGdiPlusImage::~CGdiPlusImage() {
  Free();
  --liveImages;
}

int CGdiPlusImage::LiveImages() { return liveImages; }
bool CGdiPlusImage::GdiPlusRunning() { return CGdiPlusSession::IsRunning(); }

void CGdiPlusImage::Free() {
  delete image_;
  image_ = nullptr;
  if (buffer_) {
    ::GlobalFree(buffer_);
    buffer_ = nullptr;
  }
}

bool CGdiPlusImage::LoadFromFile(const std::wstring& fileName) {
  Free();
  image_ = Gdiplus::Bitmap::FromFile(fileName.c_str(), useEmbeddedColorManagement_ ? TRUE : FALSE);
  return image_ && image_->GetLastStatus() == Gdiplus::Ok;
}

bool CGdiPlusImage::LoadFromStream(IStream* stream) {
  Free();
  if (!stream) return false;
  image_ = Gdiplus::Bitmap::FromStream(stream, useEmbeddedColorManagement_ ? TRUE : FALSE);
  return image_ && image_->GetLastStatus() == Gdiplus::Ok;
}

bool CGdiPlusImage::LoadFromResource(UINT resourceId) {
  HMODULE module = fw::ThisModule();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"IMAGE");
  if (!resource) return false;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  DWORD size = ::SizeofResource(module, resource);
  if (!bytes || !size) return false;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  void* target = ::GlobalLock(block);
  std::copy_n(static_cast<const BYTE*>(bytes), size, static_cast<BYTE*>(target));
  ::GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(block, FALSE, &stream))) {
    ::GlobalFree(block);
    return false;
  }
  bool loadedOk = LoadFromStream(stream);
  stream->Release();
  buffer_ = block;  // the image reads from it for as long as it lives
  return loadedOk;
}

bool CGdiPlusImage::Draw(HDC dc, const RECT& rect) {
  if (!image_) return false;
  RECT target = rect;
  if (target.left == 0 && target.top == 0 && target.right == 0 && target.bottom == 0)
    target = RECT{0, 0, static_cast<LONG>(image_->GetWidth()), static_cast<LONG>(image_->GetHeight())};
  Gdiplus::Graphics graphics(dc);
  graphics.DrawImage(image_, static_cast<INT>(target.left), static_cast<INT>(target.top),
                     static_cast<INT>(target.right - target.left), static_cast<INT>(target.bottom - target.top));
  return true;
}

SIZE CGdiPlusImage::GetSize() const {
  if (!image_) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(image_->GetWidth()), static_cast<LONG>(image_->GetHeight())};
}

void CGdiPlusImage::RotateFlip(int rotateFlipType) {
  if (image_) image_->RotateFlip(static_cast<Gdiplus::RotateFlipType>(rotateFlipType));
}

bool CGdiPlusImage::Save(const std::wstring& fileName, int width, int height) {
  if (!image_) return false;
  size_t dot = fileName.rfind(L'.');
  std::wstring mimeType = L"image/" + (dot == std::wstring::npos ? std::wstring() : fileName.substr(dot + 1));
  CLSID encoder{};
  if (!FindEncoder(mimeType, &encoder)) return false;
  if (width && height) {
    Gdiplus::Bitmap scaled(width, height, PixelFormat32bppARGB);
    {
      Gdiplus::Graphics graphics(&scaled);
      graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
      graphics.DrawImage(image_, 0, 0, width, height);
    }
    return scaled.Save(fileName.c_str(), &encoder, nullptr) == Gdiplus::Ok;
  }
  return image_->Save(fileName.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}
