// Shapes of a Word document or an Excel worksheet, a picture shape and its formats.
#include <wincodec.h>

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

class PictureFormatDouble : public DispatchDouble {
 public:
  PictureFormatDouble(const Context& host, std::shared_ptr<ShapeState> shape)
      : DispatchDouble(host->log, L"PictureFormat"), shape_(std::move(shape)) {
    Property(
        L"TransparentBackground", 0x60030011, [this](const Args&) { return Variant(shape_->transparentBackground); },
        [this](const Variant& v) { shape_->transparentBackground = v.ToInt32(); });
    Property(
        L"TransparencyColor", 0x60030010, [this](const Args&) { return Variant(shape_->transparencyColor); },
        [this](const Variant& v) { shape_->transparencyColor = v.ToInt32(); });
  }

 private:
  std::shared_ptr<ShapeState> shape_;
};

class FillFormatDouble : public DispatchDouble {
 public:
  FillFormatDouble(const Context& host, std::shared_ptr<ShapeState> shape)
      : DispatchDouble(host->log, L"FillFormat"), shape_(std::move(shape)) {
    Property(
        L"Visible", 0x60030016, [this](const Args&) { return Variant(shape_->fillVisible); },
        [this](const Variant& v) { shape_->fillVisible = v.ToInt32(); });
  }

 private:
  std::shared_ptr<ShapeState> shape_;
};

class WrapFormatDouble : public DispatchDouble {
 public:
  WrapFormatDouble(const Context& host, std::shared_ptr<ShapeState> shape)
      : DispatchDouble(host->log, L"WrapFormat"), shape_(std::move(shape)) {
    Property(
        L"Type", 0x64, [this](const Args&) { return Variant(shape_->wrapType); },
        [this](const Variant& v) { shape_->wrapType = v.ToInt32(); });
  }

 private:
  std::shared_ptr<ShapeState> shape_;
};

class ShapeDouble : public DispatchDouble {
 public:
  ShapeDouble(Context host, std::shared_ptr<ShapeState> shape, bool excel, std::shared_ptr<ShapesState> owner)
      : DispatchDouble(host->log, L"Shape"), host_(std::move(host)), shape_(std::move(shape)), owner_(std::move(owner)) {
    Property(
        L"Name", excel ? 0x6E : 0x1F4, [this](const Args&) { return Variant(shape_->name); },
        [this](const Variant& v) { shape_->name = v.ToString(); });
    auto number = [this](const wchar_t* name, DISPID id, float ShapeState::*field) {
      Property(
          name, id, [this, field](const Args&) { return Variant(shape_.get()->*field); },
          [this, field](const Variant& v) { shape_.get()->*field = float(v.ToDouble()); });
    };
    number(L"Left", excel ? 0x7F : 0x8A, &ShapeState::left);
    number(L"Top", excel ? 0x7E : 0x8B, &ShapeState::top);
    number(L"Width", excel ? 0x7A : 0x8C, &ShapeState::width);
    number(L"Height", excel ? 0x7B : 0x89, &ShapeState::height);
    // Select(Replace): optional (Word passes a number, Excel an empty variant).
    Method(L"Select", excel ? kExcelSelect : 0xB, 0, 1, [this](const Args&) {
      ++shape_->selectCalls;
      return Variant();
    });
    Property(L"PictureFormat", excel ? kExcelPictureFormat : 0x76,
             [this](const Args&) { return Variant(Make<PictureFormatDouble>(host_, shape_).Get()); });
    Property(L"Fill", excel ? kExcelFill : 0x6C,
             [this](const Args&) { return Variant(Make<FillFormatDouble>(host_, shape_).Get()); });
    Method(L"Delete", excel ? 0x75 : 0xA, 0, 0, [this](const Args&) {
      if (!owner_) InvalidArgument();
      std::erase(owner_->items, shape_);
      return Variant();
    });
    if (excel) return;
    auto relative = [this](const wchar_t* name, DISPID id, int ShapeState::*field) {
      Property(
          name, id, [this, field](const Args&) { return Variant(shape_.get()->*field); },
          [this, field](const Variant& v) { shape_.get()->*field = v.ToInt32(); });
    };
    relative(L"RelativeHorizontalPosition", 0x12C, &ShapeState::relativeHorizontal);
    relative(L"RelativeVerticalPosition", 0x12D, &ShapeState::relativeVertical);
    Property(L"WrapFormat", 0x83, [this](const Args&) { return Variant(Make<WrapFormatDouble>(host_, shape_).Get()); });
    // ZOrder(ZOrderCmd): MsoZOrderCmd, required.
    Method(L"ZOrder", 0x12, 1, 1, [this](const Args& a) {
      shape_->zOrders.push_back(a.Int(0));
      return Variant();
    });
  }

 private:
  Context host_;
  std::shared_ptr<ShapeState> shape_;
  std::shared_ptr<ShapesState> owner_;
};

class ShapesDouble : public DispatchDouble {
 public:
  ShapesDouble(Context host, std::shared_ptr<ShapesState> shapes, bool excel, Refusal refusal)
      : DispatchDouble(host->log, L"Shapes"), host_(std::move(host)), shapes_(std::move(shapes)), excel_(excel),
        refusal_(std::move(refusal)) {
    Property(L"Count", excel ? 0x76 : 0x2, [this](const Args&) { return Variant(int(shapes_->items.size())); });
    Method(L"Item", excel ? 0xAA : 0, 1, 1, [this](const Args& a) {
      auto& items = shapes_->items;
      if (a.Raw(0).vt() == VT_BSTR) {
        std::wstring name = a.String(0);
        for (auto& s : items)
          if (_wcsicmp(s->name.c_str(), name.c_str()) == 0) return Variant(MakeShape(host_, s, excel_, shapes_).Get());
        InvalidArgument();
      }
      int index = a.Int(0);
      if (index < 1 || index > int(items.size())) InvalidArgument();
      return Variant(MakeShape(host_, items[size_t(index - 1)], excel_, shapes_).Get());
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
  return Make<ShapeDouble>(host, std::move(shape), excel, std::move(owner));
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
