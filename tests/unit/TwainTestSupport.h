#pragma once
#include <gtest/gtest.h>

#include "TwainFakes.h"
#include "TwainTexts.h"

namespace inkra::twain::testing {

class TwainTest : public ::testing::Test {
 protected:
  FakePlatform platform;
  FakeManager manager{platform};
  Session session{platform};

  MemoryHandle Acquire(std::uint32_t mask = 0) { return session.AcquireImages(nullptr, mask); }
  // The session ended where it began: state 1, the manager freed as often as it was loaded, and
  // nothing sent out of sequence on the way.
  static void ExpectTornDown(const Session& s, const FakePlatform& p, const FakeManager& m) {
    EXPECT_EQ(s.State(), kNoManager);
    EXPECT_EQ(m.state, kNoManager);
    EXPECT_EQ(p.freedLibraries, int(p.loaded.size()));
    EXPECT_EQ(p.proxiesMade, p.proxiesDestroyed);
    EXPECT_EQ(m.sequenceErrors, 0);
  }
  void ExpectTornDown() { ExpectTornDown(session, platform, manager); }
  static std::string Warning(const char* text) { return std::string(kErrorCaption) + ": " + text; }
  static std::vector<MemoryHandle> Images(const Session& s) {
    std::vector<MemoryHandle> images;
    for (int i = 0; i < s.ImageCount(); ++i) images.push_back(s.ImageAt(i));
    return images;
  }
  std::vector<MemoryHandle> Images() const { return Images(session); }
};

}  // namespace inkra::twain::testing
