#pragma once
#include <gtest/gtest.h>

#include "TwainFakes.h"
#include "TwainTexts.h"

namespace inkra::twain::testing {

// A platform, its scripted manager and a session over them: the fixture's own, or one per table row.
struct TwainRig {
  FakePlatform platform;
  FakeManager manager{platform};
  Session session{platform};
};

class TwainTest : public ::testing::Test, protected TwainRig {
 protected:
  MemoryHandle Acquire(std::uint32_t mask = 0) { return session.AcquireImages(nullptr, mask); }
  // The session ended where it began: state 1, the manager freed as often as it was loaded, and
  // nothing sent out of sequence on the way.
  static void ExpectTornDown(const TwainRig& r) {
    EXPECT_EQ(r.session.State(), kNoManager);
    EXPECT_EQ(r.manager.state, kNoManager);
    EXPECT_EQ(r.platform.freedLibraries, int(r.platform.loaded.size()));
    EXPECT_EQ(r.platform.proxiesMade, r.platform.proxiesDestroyed);
    EXPECT_EQ(r.manager.sequenceErrors, 0);
  }
  void ExpectTornDown() { ExpectTornDown(*this); }
  static std::string Warning(const char* text) { return std::string(kErrorCaption) + ": " + text; }
  static std::vector<MemoryHandle> Images(const Session& s) {
    std::vector<MemoryHandle> images;
    for (int i = 0; i < s.ImageCount(); ++i) images.push_back(s.ImageAt(i));
    return images;
  }
  std::vector<MemoryHandle> Images() const { return Images(session); }
};

}  // namespace inkra::twain::testing
