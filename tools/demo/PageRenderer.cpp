#include "PageRenderer.h"

#include <wincodec.h>

#include <algorithm>

#include "ComPtr.h"

namespace inkra::demo {

using win::ComPtr;

Pixels DecodePicture(const std::vector<std::uint8_t>& file) {
  Pixels out;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
  if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
  if (SUCCEEDED(hr))
    hr = stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), DWORD(file.size()));
  if (SUCCEEDED(hr)) hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder);
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(hr))
    hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                               WICBitmapPaletteTypeCustom);
  UINT w = 0, h = 0;
  if (SUCCEEDED(hr)) hr = converter->GetSize(&w, &h);
  if (FAILED(hr) || w == 0 || h == 0) return out;
  std::vector<std::uint32_t> data(size_t(w) * h);
  if (FAILED(converter->CopyPixels(nullptr, w * 4, UINT(data.size() * 4), reinterpret_cast<BYTE*>(data.data()))))
    return out;
  out.width = int(w);
  out.height = int(h);
  out.data = std::move(data);
  return out;
}

const Pixels& PageRenderer::Decoded(const test::office::ShapeState& shape) {
  auto found = cache_.find(&shape);
  if (found == cache_.end()) found = cache_.emplace(&shape, DecodePicture(shape.picture)).first;
  return found->second;
}

void PageRenderer::Render(const test::office::ShapesState& shapes, std::uint32_t* page, int width, int height,
                          int pageNumber) {
  for (const auto& shape : shapes.items) {
    if (pageNumber > 0 && std::max(shape->anchorPage, 1) != pageNumber) continue;
    const Pixels& picture = Decoded(*shape);
    if (picture.data.empty()) continue;
    const int left = PointsToPixels(shape->left), top = PointsToPixels(shape->top);
    const int w = PointsToPixels(shape->width), h = PointsToPixels(shape->height);
    // The colour value is 0x00BBGGRR; the pixels are 0x00RRGGBB.
    const std::uint32_t c = std::uint32_t(shape->transparencyColor);
    const std::uint32_t key = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    const bool transparent = shape->transparentBackground != test::office::msoFalse;
    for (int y = 0; y < h; ++y) {
      const int py = top + y;
      if (py < 0 || py >= height) continue;
      const int sy = int(std::int64_t(y) * picture.height / h);  // nearest source row
      for (int x = 0; x < w; ++x) {
        const int px = left + x;
        if (px < 0 || px >= width) continue;
        const std::uint32_t p = picture.data[size_t(sy) * size_t(picture.width) +
                                             size_t(std::int64_t(x) * picture.width / w)];
        if (transparent && (p & 0x00FFFFFF) == key) continue;
        // A PNG's alpha: the picture laid over the page by it (straight alpha), as Office draws it.
        std::uint32_t& to = page[size_t(py) * size_t(width) + size_t(px)];
        const std::uint32_t a = p >> 24;
        std::uint32_t mixed = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          const std::uint32_t over = (p >> shift) & 0xFF, under = (to >> shift) & 0xFF;
          mixed |= ((over * a + under * (255 - a) + 127) / 255) << shift;
        }
        to = mixed;
      }
    }
  }
}

}  // namespace inkra::demo
