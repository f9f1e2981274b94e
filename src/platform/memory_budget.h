#pragma once
// One budget for everything decoded from the game's files: the pixels of pictures (held
// by controls and caches) and the samples of sounds. Game folders come from strangers,
// so the player never holds more than the budget of decoded media, whatever the files
// claim: a picture or sound that would go beyond it is refused with "Out of memory" (7)
// and the game goes on.
//
// Memory is reserved before it is spent (from the sizes a file's headers announce) and
// grown while decoding; a lease gives its bytes back when the decoded media it belongs to
// is destroyed. When a reservation does not fit, the caches are asked to let go of what
// only they hold, and the reservation is tried once more.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>

namespace qv::platform {

class MemoryBudget;

// Bytes held against a budget; released when the lease is destroyed. Move-only.
class MemoryLease {
 public:
  MemoryLease() = default;
  MemoryLease(MemoryLease&& other) noexcept;
  MemoryLease& operator=(MemoryLease&& other) noexcept;
  MemoryLease(const MemoryLease&) = delete;
  MemoryLease& operator=(const MemoryLease&) = delete;
  ~MemoryLease();

  // Holds `bytes` more; throws VbError 7 when the budget cannot give them.
  void Grow(uint64_t bytes);
  // Gives back what is held beyond `bytes`.
  void ShrinkTo(uint64_t bytes);
  uint64_t bytes() const { return bytes_; }

 private:
  friend class MemoryBudget;
  MemoryLease(MemoryBudget* budget, uint64_t bytes) : budget_(budget), bytes_(bytes) {}
  void Release();

  MemoryBudget* budget_ = nullptr;
  uint64_t bytes_ = 0;
};

class MemoryBudget {
 public:
  static constexpr uint64_t kDefaultBytes = uint64_t{512} << 20;
  static constexpr uint64_t kMinBytes = uint64_t{16} << 20;

  explicit MemoryBudget(uint64_t limit_bytes = kDefaultBytes) : limit_(limit_bytes) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  uint64_t limit() const { return limit_; }
  uint64_t used() const { return used_.load(); }

  // A lease of `bytes`; throws VbError 7 ("Out of memory") when they do not fit even
  // after the caches let go of what they alone hold.
  MemoryLease Reserve(uint64_t bytes);

  // A cache registers how to drop what it alone holds; the id removes it again.
  int AddReclaimer(std::function<void()> reclaim);
  void RemoveReclaimer(int id);

 private:
  friend class MemoryLease;
  bool TryTake(uint64_t bytes);
  void Take(uint64_t bytes);  // TryTake, reclaiming once; throws 7
  void Give(uint64_t bytes) { used_.fetch_sub(bytes); }

  const uint64_t limit_;
  std::atomic<uint64_t> used_{0};
  std::map<int, std::function<void()>> reclaimers_;
  int next_id_ = 0;
  bool reclaiming_ = false;
};

}  // namespace qv::platform
