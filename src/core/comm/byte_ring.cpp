#include "core/comm/byte_ring.h"

#include <algorithm>

namespace vk {

std::size_t ByteRing::Write(const char* data, std::size_t length) {
    std::size_t n = 0;
    {
        std::lock_guard lock(mutex_);
        n = std::min(length, kCapacity - count_);
        for (std::size_t i = 0; i < n; ++i) {
            bytes_[head_] = data[i];
            head_ = (head_ + 1) % kCapacity;
        }
        count_ += n;
    }
    if (n > 0) dataReady_.notify_all();
    return n;
}

std::size_t ByteRing::Read(char* buffer, std::size_t maxCount) {
    std::size_t n = 0;
    {
        std::lock_guard lock(mutex_);
        n = std::min(maxCount, count_);
        for (std::size_t i = 0; i < n; ++i) {
            buffer[i] = bytes_[tail_];
            tail_ = (tail_ + 1) % kCapacity;
        }
        count_ -= n;
    }
    if (n > 0) spaceReady_.notify_all();
    return n;
}

std::size_t ByteRing::Available() const {
    std::lock_guard lock(mutex_);
    return count_;
}

std::size_t ByteRing::Free() const {
    std::lock_guard lock(mutex_);
    return kCapacity - count_;
}

void ByteRing::Reset() {
    {
        std::lock_guard lock(mutex_);
        head_ = tail_ = count_ = 0;
    }
    spaceReady_.notify_all();
}

bool ByteRing::WaitForData(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    dataReady_.wait_until(lock, deadline, [this] { return count_ > 0 || shut_; });
    return count_ > 0;
}

bool ByteRing::WaitForSpace() {
    std::unique_lock lock(mutex_);
    spaceReady_.wait(lock, [this] { return count_ < kCapacity || shut_; });
    return count_ < kCapacity && !shut_;
}

void ByteRing::Shutdown() {
    {
        std::lock_guard lock(mutex_);
        shut_ = true;
    }
    dataReady_.notify_all();
    spaceReady_.notify_all();
}

void ByteRing::Reopen() {
    std::lock_guard lock(mutex_);
    shut_ = false;
}

}  // namespace vk
