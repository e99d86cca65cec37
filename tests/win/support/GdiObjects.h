#pragma once
// How many GDI objects this process holds, for tests that a repeated action does not leak them.
namespace inkra::test {

// GetGuiResources(GR_GDIOBJECTS) where the system answers it (Windows). Wine's is a stub that
// answers 0; there the handle table is counted instead: Wine takes a handle's bare index (upper
// word zero) as naming whatever object sits in that slot, so every slot GetObjectType recognises
// is one live object of this process, stock objects included.
long GdiObjectCount();

}  // namespace inkra::test
