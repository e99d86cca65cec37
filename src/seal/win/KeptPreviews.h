#pragma once
// The seal pictures the dialogs showed, kept while the module is loaded: a dialog opened again on
// a seal drawn before (the default one, a template, the last seal used) shows it at once instead
// of drawing it again. A picture is found by a key that names everything it was drawn from; what
// the key cannot name, the fonts installed, empties the keep when it changes.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "GdiCanvas.h"
#include "InkLayer.h"

namespace inkra::win {

struct KeptPreview {
  std::shared_ptr<const ink::InkLayer> ink;       // the seal's ink
  std::shared_ptr<const GdiCanvas> picture;       // that ink over white, as the dialogs show it
};

// The picture kept under `key`; empty pointers when there is none.
KeptPreview FindKeptPreview(const std::string& key);
// Keeps `preview` under `key`; the oldest goes when the keep is full.
void KeepPreview(const std::string& key, KeptPreview preview);
// Compares `faces` (the installed faces, sorted) with those seen last: when they differ, a font
// came or went, and the pictures and glyph outlines drawn with the old fonts are forgotten.
void NoteInstalledFaces(const std::vector<std::wstring>& faces);
// Forgets every kept picture and glyph outline (a font was added or removed).
void ForgetKeptDrawings();

}  // namespace inkra::win
