// Shapes of a Word document or an Excel worksheet, a picture shape and its formats.
#include <wincodec.h>

#include <type_traits>

#include "ByteSink.h"
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

// Excel's fixed dispatch ids, which its add-in calls without names.
constexpr DISPID kExcelAddPicture = 0x6BB;
constexpr DISPID kExcelSelect = 0xEB;
constexpr DISPID kExcelPictureFormat = 0x65F;
constexpr DISPID kExcelFill = 0x67F;

// A member kept on the shape, read back as set: Office's String, Long, MsoTriState or Single.
template <typename T>
void Kept(ObjectDouble& object, const std::shared_ptr<ShapeState>& shape, const wchar_t* name, DISPID id,
          T ShapeState::*field) {
  object.Property(
      name, id, [shape, field](const Args&) { return Variant(shape.get()->*field); },
      [shape, field](const Variant& v) {
        if constexpr (std::is_same_v<T, std::wstring>) shape.get()->*field = v.ToString();
        else if constexpr (std::is_floating_point_v<T>) shape.get()->*field = T(v.ToDouble());
        else shape.get()->*field = T(v.ToInt32());
      });
}

class ShapesDouble : public DispatchDouble {
 public:
  ShapesDouble(Context host, std::shared_ptr<ShapesState> shapes, bool excel, Refusal refusal)
      : DispatchDouble(host->log, L"Shapes"), host_(std::move(host)), shapes_(std::move(shapes)), excel_(excel),
        refusal_(std::move(refusal)) {
    Property(L"Count", excel ? 0x76 : 0x2, [this](const Args&) { return Variant(int(shapes_->items.size())); });
    Method(L"Item", excel ? 0xAA : 0, 1, 1, [this](const Args& a) {
      return Variant(MakeShape(host_, ItemOf(a, shapes_->items), excel_, shapes_).Get());
    });
    if (excel) {
      // AddPicture(Filename, LinkToFile, SaveWithDocument, Left, Top, Width, Height): all required;
      // the two flags are MsoTriState, the positions and sizes Single.
      Method(L"AddPicture", kExcelAddPicture, 7, 7, [this](const Args& a) {
        return AddPicture(a, a.Int(1) != msoFalse, a.Int(2) != msoFalse, false);
      });
    } else {
      // AddPicture(FileName, LinkToFile, SaveWithDocument, Left, Top, Width, Height, Anchor): the
      // file name is required, the rest optional variants.
      Method(L"AddPicture", 0x13, 1, 8, [this](const Args& a) {
        return AddPicture(a, a.BoolOr(1, false), a.BoolOr(2, true), a.Present(7));
      });
    }
  }

 private:
  Variant AddPicture(const Args& a, bool link, bool save, bool anchor) {
    if (const HostError* refused = refusal_ ? refusal_() : nullptr) throw *refused;
    auto shape = std::make_shared<ShapeState>();
    shape->fileName = a.String(0);
    shape->linkToFile = link;
    shape->saveWithDocument = save;
    shape->hasAnchor = anchor;
    if (anchor) {
      // Word anchors to a Range of the same document; anything else is a type mismatch.
      auto* range = dynamic_cast<RangeDouble*>(a.Raw(7).ToDispatch().Get());
      if (!range) throw HostError{DISP_E_TYPEMISMATCH, L"Type mismatch."};
      shape->anchorPage = range->page;
      shape->anchorStart = range->start;
    }
    ReadPicture(shape->fileName, *shape);
    // Office's defaults: the picture's own size in points (96 dpi) at the top left.
    shape->width = a.Present(5) ? a.Float(5) : float(shape->pixelWidth) * 0.75f;
    shape->height = a.Present(6) ? a.Float(6) : float(shape->pixelHeight) * 0.75f;
    shape->left = a.Present(3) ? a.Float(3) : 0.0f;
    shape->top = a.Present(4) ? a.Float(4) : 0.0f;
    shape->name = L"Picture " + std::to_wstring(shapes_->nextNumber++);
    shapes_->items.push_back(shape);
    return Variant(MakeShape(host_, shape, excel_, shapes_).Get());
  }

  Context host_;
  std::shared_ptr<ShapesState> shapes_;
  bool excel_;
  Refusal refusal_;
};

}  // namespace

ComPtr<IDispatch> MakeShapes(const Context& host, std::shared_ptr<ShapesState> shapes, bool excel, Refusal refusal) {
  return Make<ShapesDouble>(host, std::move(shapes), excel, std::move(refusal));
}

ComPtr<IDispatch> MakeShape(const Context& host, std::shared_ptr<ShapeState> shape, bool excel,
                            std::shared_ptr<ShapesState> owner) {
  const auto& log = host->log;
  return MakeObject(log, L"Shape", [&](ObjectDouble& o) {
    Kept(o, shape, L"Name", excel ? 0x6E : 0x1F4, &ShapeState::name);
    Kept(o, shape, L"Left", excel ? 0x7F : 0x8A, &ShapeState::left);
    Kept(o, shape, L"Top", excel ? 0x7E : 0x8B, &ShapeState::top);
    Kept(o, shape, L"Width", excel ? 0x7A : 0x8C, &ShapeState::width);
    Kept(o, shape, L"Height", excel ? 0x7B : 0x89, &ShapeState::height);
    // Select(Replace): optional (Word passes a number, Excel an empty variant).
    o.Method(L"Select", excel ? kExcelSelect : 0xB, 0, 1, [shape](const Args&) {
      ++shape->selectCalls;
      return Variant();
    });
    o.Property(L"PictureFormat", excel ? kExcelPictureFormat : 0x76, [log, shape](const Args&) {
      return ObjectVariant(log, L"PictureFormat", [&](ObjectDouble& format) {
        Kept(format, shape, L"TransparentBackground", 0x60030011, &ShapeState::transparentBackground);
        Kept(format, shape, L"TransparencyColor", 0x60030010, &ShapeState::transparencyColor);
      });
    });
    o.Property(L"Fill", excel ? kExcelFill : 0x6C, [log, shape](const Args&) {
      return ObjectVariant(log, L"FillFormat", [&](ObjectDouble& fill) {
        Kept(fill, shape, L"Visible", 0x60030016, &ShapeState::fillVisible);
      });
    });
    o.Method(L"Delete", excel ? 0x75 : 0xA, 0, 0, [shape, owner](const Args&) {
      if (!owner) InvalidArgument();
      std::erase(owner->items, shape);
      return Variant();
    });
    if (excel) return;
    Kept(o, shape, L"RelativeHorizontalPosition", 0x12C, &ShapeState::relativeHorizontal);
    Kept(o, shape, L"RelativeVerticalPosition", 0x12D, &ShapeState::relativeVertical);
    o.Property(L"WrapFormat", 0x83, [log, shape](const Args&) {
      return ObjectVariant(log, L"WrapFormat",
                           [&](ObjectDouble& wrap) { Kept(wrap, shape, L"Type", 0x64, &ShapeState::wrapType); });
    });
    // ZOrder(ZOrderCmd): MsoZOrderCmd, required.
    o.Method(L"ZOrder", 0x12, 1, 1, [shape](const Args& a) {
      shape->zOrders.push_back(a.Int(0));
      return Variant();
    });
  });
}

void ReadPicture(const std::wstring& file, ShapeState& shape) {
  if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw HostError{HRESULT(0x800A1436), L"The specified file wasn't found."};
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
  if (SUCCEEDED(hr))
    hr = factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                            &decoder);
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
  if (FAILED(hr)) throw HostError{HRESULT(0x800A1066), L"The program can't read this picture file."};
  shape.pixelWidth = width;
  shape.pixelHeight = height;
  shape.picture = ReadFileBytes(file);  // embedded, as Word does: the file may go afterwards
}

}  // namespace inkra::test::office
