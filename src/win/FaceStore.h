#pragma once
// What the font engine says of a face, asked once per process and kept: the glyphs' outlines in
// design units (read at the face's em square) and, per pixel size used, the text metrics and the
// advances. An outline at any pixel size is the design outline scaled as the engine scales it:
// coordinates rounded to 1/64 pixel, a narrow face's x scaled by its width ratio. So a seal drawn
// again at 300 dpi asks the engine for nothing its 96-dpi preview has not asked already.
//
// Where scaling cannot give the engine's own answer (a bold that the engine makes by thickening a
// face of normal weight, or an engine that rounds otherwise), the first outline read at a size
// shows it, and from then on outlines at a screen size are read at that size as before; drawing
// at another scale still scales the design outline, which is then within a fraction of a pixel.
#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "Canvas.h"
#include "Handle.h"

namespace inkra::win {

class FaceStore {
 public:
  FaceStore();
  ~FaceStore();
  FaceStore(const FaceStore&) = delete;
  FaceStore& operator=(const FaceStore&) = delete;

  // A size of a face: `height` pixels (the em), and for a narrow face its average width (0: the
  // face's own width).
  struct Size {
    int height = 0;
    LONG width = 0;
    friend auto operator<=>(const Size&, const Size&) = default;
  };
  struct Metrics {
    LONG ascent = 0, height = 0, aveCharWidth = 0;
  };
  // As GDI reports them for `font` (face, weight) at `size`.
  Metrics MetricsAt(const Font& font, Size size);
  // How far TextOut moves the pen after `character`, as GDI reports it at `size`.
  int AdvanceAt(const Font& font, Size size, UINT character);
  // The GGO_NATIVE outline (unhinted) of `character` at `size`, as GDI answers it. `exact`: the
  // answer must be GDI's to the bit (screen pixels), else the scaled one is good enough.
  std::vector<std::uint8_t> OutlineAt(const Font& font, Size size, UINT character, bool exact);

  // Forgets every face: after a font was installed or removed a face may be another font.
  void Forget();

 private:
  struct Sized {
    UniqueFont font;
    Metrics metrics;
    std::map<UINT, int> advances;
  };
  enum class Scaling { Unknown, Exact, Approximate };
  struct Face {
    UniqueFont em;  // the face at its em square: outlines in design units
    int emSquare = 0;
    LONG emAveCharWidth = 0;
    Scaling scaling = Scaling::Unknown;
    std::map<UINT, std::vector<std::uint8_t>> design;
    std::map<Size, Sized> sizes;
  };
  using FaceKey = std::tuple<std::string, bool>;

  Face& FaceOf(const Font& font);
  Sized& SizedOf(Face& face, const Font& font, Size size);
  UniqueFont MakeFont(const Font& font, Size size);
  const std::vector<std::uint8_t>& DesignOf(Face& face, UINT character);
  std::vector<std::uint8_t> Read(HFONT font, UINT character);
  std::vector<std::uint8_t> Scaled(const Face& face, const std::vector<std::uint8_t>& design, Size size);

  // Bounds: a user trying face after face, or size after size, must not pile up fonts; a face
  // keeps the outlines of a thousand characters (a megabyte or two of a CJK face) at most.
  static constexpr std::size_t kMaxFaces = 16, kMaxSizes = 16, kMaxGlyphs = 1024;

  std::mutex lock_;  // the store is the whole module's: nothing ties a drawing to one thread
  UniqueMemoryDc dc_;
  std::map<FaceKey, Face> faces_;
};

// The store the whole module shares, freed when the module unloads.
FaceStore& KeptFaces();

}  // namespace inkra::win
