#include "TwainFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "TwainStateTable.h"

namespace inkra::twain::testing {
namespace {

FakeManager* g_manager = nullptr;

std::uint16_t INKRA_TWAIN_CALL ForwardEntry(TwIdentity* origin, TwIdentity* dest, std::uint32_t dg, std::uint16_t dat,
                                            std::uint16_t msg, TwMemRef data) {
  return g_manager->Entry(origin, dest, dg, dat, msg, data);
}

template <typename T>
void Put(std::vector<std::uint8_t>& b, std::size_t at, T v) {
  std::memcpy(b.data() + at, &v, sizeof v);
}

}  // namespace

MemoryHandle FakePlatform::Allocate(std::vector<std::uint8_t> bytes) {
  auto* h = reinterpret_cast<MemoryHandle>(std::uintptr_t(0x10000) + std::uintptr_t(nextBlock_++) * 16);
  blocks[h] = std::move(bytes);
  return h;
}

std::vector<std::string> FakePlatform::Texts() const {
  std::vector<std::string> texts;
  for (const auto& [text, caption] : boxes) texts.push_back(caption + ": " + text);
  return texts;
}

bool FakePlatform::FileExists(const std::string& path) {
  return std::find(files.begin(), files.end(), path) != files.end();
}

LibraryHandle FakePlatform::LoadDll(const std::string& path) {
  loaded.push_back(path);
  if (manager) manager->LibraryLoaded();
  return reinterpret_cast<LibraryHandle>(0x7000);
}

void FakePlatform::FreeDll(LibraryHandle) {
  ++freedLibraries;
  if (manager) manager->LibraryFreed();
}

DsmEntryProc FakePlatform::FindDsmEntry(LibraryHandle) { return exportsEntry ? &ForwardEntry : nullptr; }

WindowHandle FakePlatform::CreateProxyWindow() {
  ++proxiesMade;
  if (proxyFails) return nullptr;
  ++proxiesLive_;
  return kProxy;
}

bool FakePlatform::IsWindow(WindowHandle w) { return w == kBoard || (w == kProxy && proxiesLive_ > 0); }

void FakePlatform::DestroyWindow(WindowHandle w) {
  if (w == kProxy && proxiesLive_ > 0) --proxiesLive_, ++proxiesDestroyed;
}

int FakePlatform::NextMessage() {
  if (queue.empty()) return -1;  // a real thread would wait here: the test ran out of script
  current = queue.front();
  queue.pop_front();
  return current == kQuit ? 0 : 1;
}

int FakePlatform::NextMessageWithin(int milliseconds) {
  if (!queue.empty()) return NextMessage();
  // A source that never lets the wait end would spin here for ever: give up as a failed fetch.
  if (++idleWaits_ > 100000) return -1;
  now += std::uint64_t(milliseconds);
  return kNoMessageYet;
}

namespace {
class LockedBytes final : public ImageBytes {
 public:
  LockedBytes(FakePlatform& platform, MemoryHandle block, const std::uint8_t* bytes)
      : platform_(platform), block_(block), bytes_(bytes, platform.BlockSize(block)) {}
  ~LockedBytes() override { platform_.Unlock(block_); }
  std::span<const std::uint8_t> Bytes() const override { return bytes_; }

 private:
  FakePlatform& platform_;
  MemoryHandle block_;
  std::span<const std::uint8_t> bytes_;
};
}  // namespace

std::unique_ptr<ImageBytes> FakePlatform::ReadImage(MemoryHandle image) {
  const auto* bytes = static_cast<const std::uint8_t*>(Lock(image));
  if (!bytes) return nullptr;
  return std::make_unique<LockedBytes>(*this, image, bytes);
}

void* FakePlatform::Lock(MemoryHandle block) {
  auto found = blocks.find(block);
  if (found == blocks.end() || std::count(unlockable.begin(), unlockable.end(), block)) return nullptr;
  ++locks;
  return found->second.data();
}

std::size_t FakePlatform::BlockSize(MemoryHandle block) {
  auto found = blocks.find(block);
  return found == blocks.end() ? 0 : found->second.size();
}

std::vector<std::uint8_t> MakeDib(int width, int height, int bits, std::uint32_t clrUsed) {
  const std::size_t entries = clrUsed ? clrUsed : bits <= 8 ? std::size_t(1) << bits : 0;
  const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
  std::vector<std::uint8_t> b(40 + entries * 4 + stride * std::size_t(std::abs(height)));
  Put<std::uint32_t>(b, 0, 40);
  Put<std::int32_t>(b, 4, width);
  Put<std::int32_t>(b, 8, height);
  Put<std::uint16_t>(b, 12, 1);
  Put<std::uint16_t>(b, 14, std::uint16_t(bits));
  Put<std::uint32_t>(b, 32, clrUsed);
  return b;
}

FakeManager::FakeManager(FakePlatform& platform) : platform_(platform) {
  g_manager = this;
  platform.manager = this;
}

FakeManager::~FakeManager() {
  g_manager = nullptr;
  platform_.manager = nullptr;
}

void FakeManager::LibraryLoaded() {
  if (librariesLive_++ == 0) state = kManagerLoaded;
}

void FakeManager::LibraryFreed() {
  if (librariesLive_ == 0 || --librariesLive_ > 0) return;
  unloadedIn.push_back(state);
  state = kNoManager;
}

bool FakeManager::Sent(std::uint16_t dat, std::uint16_t msg) const { return Count(dat, msg) > 0; }

int FakeManager::Count(std::uint16_t dat, std::uint16_t msg) const {
  return int(std::count_if(log.begin(), log.end(), [&](const Triplet& t) { return t.dat == dat && t.msg == msg; }));
}

std::uint16_t FakeManager::Answer(std::uint16_t dat, std::uint16_t msg, std::uint16_t otherwise) const {
  auto found = answers.find({dat, msg});
  return found == answers.end() ? otherwise : found->second;
}

std::uint16_t FakeManager::Entry(TwIdentity*, TwIdentity* dest, std::uint32_t dg, std::uint16_t dat,
                                 std::uint16_t msg, void* data) {
  log.push_back({dest != nullptr, dg, dat, msg});
  if (state == kNoManager) ADD_FAILURE() << "DSM_Entry called with the manager unloaded";
  const bool outOfSequence = !ValidStates(dg, dat, msg, dest != nullptr).Holds(state);
  if (outOfSequence) {
    ++sequenceErrors;
    lastWasOutOfSequence_ = true;
    return TWRC_FAILURE;
  }
  const std::uint16_t result = Respond(dat, msg, data);
  std::uint16_t notice = 0;
  if (dat == DAT_EVENT) notice = static_cast<TwEvent*>(data)->TWMessage;
  if (dat == DAT_PENDINGXFERS) notice = static_cast<TwPendingXfers*>(data)->Count;
  state = StateAfter(state, dg, dat, msg, result, notice);
  return result;
}

std::uint16_t FakeManager::Respond(std::uint16_t dat, std::uint16_t msg, void* data) {
  if (dat == DAT_PARENT && msg == MSG_OPENDSM) openedWith.push_back(*static_cast<WindowHandle*>(data));
  if (dat == DAT_STATUS) {
    // The status of a triplet refused out of sequence says so.
    static_cast<TwStatus*>(data)->ConditionCode =
        std::exchange(lastWasOutOfSequence_, false) ? TWCC_SEQERROR : condition;
    return Answer(dat, msg);
  }
  lastWasOutOfSequence_ = false;
  if (dat == DAT_IDENTITY && msg == MSG_GETDEFAULT && Answer(dat, msg) == TWRC_SUCCESS) {
    auto* id = static_cast<TwIdentity*>(data);
    id->Id = 7;
    std::strcpy(id->ProductName, "Fake Source");
  }
  if (dat == DAT_IDENTITY && msg == MSG_OPENDS) {
    auto* id = static_cast<TwIdentity*>(data);
    openRequests.emplace_back(id->ProductName);
    if (passesIdentityOn) {
      if (std::strcmp(id->ProductName, "Fake Source") != 0) return TWRC_FAILURE;
    } else {
      id->Id = 7;
      std::strcpy(id->ProductName, "Fake Source");
    }
  }
  if (dat == DAT_EVENT) {
    auto* event = static_cast<TwEvent*>(data);
    const int message = *static_cast<int*>(event->pEvent);
    event->TWMessage = message == kSourceXferReady ? MSG_XFERREADY
                       : message == kSourceCloseRequest ? MSG_CLOSEDSREQ
                                                         : MSG_NULL;
    return Answer(dat, msg, event->TWMessage ? TWRC_DSEVENT : TWRC_NOTDSEVENT);
  }
  if (dat == DAT_CAPABILITY && msg == MSG_GET && Answer(dat, msg) == TWRC_SUCCESS) {
    auto* cap = static_cast<TwCapability*>(data);
    cap->ConType = conType;
    cap->hContainer = nullContainer ? nullptr : PixelTypeContainer();
  }
  if (dat == DAT_CAPABILITY && msg == MSG_SET) {
    auto* cap = static_cast<TwCapability*>(data);
    const TwHandle container = cap->hContainer;  // a packed field: copied, not referred to
    sentBack = platform_.blocks[container];
  }
  if (dat == DAT_IMAGENATIVEXFER) return Transfer(data);
  if (dat == DAT_PENDINGXFERS) {
    const std::uint16_t answer = Answer(dat, msg);
    if (answer != TWRC_SUCCESS) return answer;
    if (msg == MSG_RESET) pages.clear();
    auto* pending = static_cast<TwPendingXfers*>(data);
    pending->Count = countsDelivered                ? std::uint16_t(handedOut.size())
                     : pages.empty() || batchEnded_ ? 0
                     : undeterminedCount            ? kUndeterminedCount
                                                    : std::uint16_t(pages.size());
    return answer;
  }
  return Answer(dat, msg);
}

std::uint16_t FakeManager::Transfer(void* data) {
  if (pages.empty()) return TWRC_FAILURE;
  const Page page = pages.front();
  pages.pop_front();
  batchEnded_ = page.endsBatch;
  if (page.result == TWRC_XFERDONE) {
    MemoryHandle h = platform_.Allocate(MakeDib(page.width, page.height, page.bits));
    handedOut.push_back(h);
    *static_cast<TwHandle*>(data) = h;
  }
  return page.result;
}

MemoryHandle FakeManager::PixelTypeContainer() {
  const std::size_t itemsAt = conType == TWON_ENUMERATION ? 14 : conType == TWON_ARRAY ? 6 : 2;
  std::vector<std::uint8_t> b(itemsAt + std::max<std::size_t>(4, pixelTypes.size() * 2));
  Put<std::uint16_t>(b, 0, itemType);
  if (conType == TWON_ONEVALUE) {
    Put<std::uint32_t>(b, 2, pixelTypes.empty() ? 0 : pixelTypes[0]);
  } else {
    Put<std::uint32_t>(b, 2, std::uint32_t(pixelTypes.size()));
    for (std::size_t i = 0; i < pixelTypes.size(); ++i) Put<std::uint16_t>(b, itemsAt + 2 * i, pixelTypes[i]);
  }
  MemoryHandle h = platform_.Allocate(std::move(b));
  if (containerUnlockable) platform_.unlockable.push_back(h);
  return h;
}

}  // namespace inkra::twain::testing
