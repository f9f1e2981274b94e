#include "platform/memory_budget.h"

#include <utility>
#include <vector>

#include "core/vb_error.h"

namespace qv::platform {

MemoryLease::MemoryLease(MemoryLease&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryLease& MemoryLease::operator=(MemoryLease&& other) noexcept {
  if (this != &other) {
    Release();
    budget_ = std::exchange(other.budget_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

MemoryLease::~MemoryLease() {
  Release();
}

void MemoryLease::Release() {
  if (budget_ != nullptr) budget_->Give(bytes_);
  budget_ = nullptr;
  bytes_ = 0;
}

void MemoryLease::Grow(uint64_t bytes) {
  if (budget_ == nullptr) Raise(kErrOutOfMemory);  // a lease that belongs to no budget
  budget_->Take(bytes);
  bytes_ += bytes;
}

void MemoryLease::ShrinkTo(uint64_t bytes) {
  if (budget_ == nullptr || bytes >= bytes_) return;
  budget_->Give(bytes_ - bytes);
  bytes_ = bytes;
}

bool MemoryBudget::TryTake(uint64_t bytes) {
  uint64_t now = used_.load();
  do {
    if (bytes > limit_ || now > limit_ - bytes) return false;
  } while (!used_.compare_exchange_weak(now, now + bytes));
  return true;
}

void MemoryBudget::Take(uint64_t bytes) {
  if (TryTake(bytes)) return;
  if (bytes <= limit_ && !reclaiming_) {
    // The caches let go of what only they hold; a reclaimer that loads nothing itself
    // cannot come back here, but guard anyway.
    reclaiming_ = true;
    std::vector<std::function<void()>> reclaimers;
    for (const auto& [id, reclaim] : reclaimers_)
      reclaimers.push_back(reclaim);
    for (const auto& reclaim : reclaimers)
      reclaim();
    reclaiming_ = false;
    if (TryTake(bytes)) return;
  }
  Raise(kErrOutOfMemory);
}

MemoryLease MemoryBudget::Reserve(uint64_t bytes) {
  Take(bytes);
  return MemoryLease(this, bytes);
}

int MemoryBudget::AddReclaimer(std::function<void()> reclaim) {
  const int id = ++next_id_;
  reclaimers_[id] = std::move(reclaim);
  return id;
}

void MemoryBudget::RemoveReclaimer(int id) {
  reclaimers_.erase(id);
}

}  // namespace qv::platform
