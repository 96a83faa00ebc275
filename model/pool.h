// Blocks of one size for the records a large template holds by the million (entries,
// descriptors, targets): carved from large slabs and given back to a free list, without the
// general allocator's header and rounding on each. The slabs stay for the life of the process
// and serve the next template read.
//
// Under the address sanitizer every record comes from the general allocator, so that the
// sanitizer watches each one.
#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define PERMORA_POOLED_RECORDS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PERMORA_POOLED_RECORDS 0
#endif
#endif
#ifndef PERMORA_POOLED_RECORDS
#define PERMORA_POOLED_RECORDS 1
#endif

namespace permora {

class BlockPool {
public:
    explicit BlockPool(std::size_t blockSize)
        : blockSize_((blockSize + kAlignment - 1) / kAlignment * kAlignment) {}
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    void* Take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (free_ != nullptr) {
            FreeBlock* block = free_;
            free_ = block->next;
            return block;
        }
        if (fresh_ == freshEnd_) {
            // Pages of a new slab are touched only as blocks are handed out.
            slabs_.push_back(static_cast<char*>(::operator new(kSlabBytes)));
            fresh_ = slabs_.back();
            freshEnd_ = fresh_ + kSlabBytes / blockSize_ * blockSize_;
        }
        void* block = fresh_;
        fresh_ += blockSize_;
        return block;
    }

    void Give(void* block) noexcept {
        const std::lock_guard<std::mutex> lock(mutex_);
        auto* freed = ::new (block) FreeBlock{free_};
        free_ = freed;
    }

    std::size_t BlockSize() const { return blockSize_; }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static constexpr std::size_t kAlignment = 8;
    static constexpr std::size_t kSlabBytes = std::size_t{1} << 20;

    std::mutex mutex_;
    const std::size_t blockSize_;
    FreeBlock* free_ = nullptr;
    char* fresh_ = nullptr;
    char* freshEnd_ = nullptr;
    std::vector<char*> slabs_;
};

// The pool of one record type. It is never destroyed: records may still be released while
// the program ends.
template <class Record> BlockPool& PoolOf() {
    static_assert(sizeof(Record) >= sizeof(void*) && alignof(Record) <= 8);
    static BlockPool* const pool = new BlockPool(sizeof(Record));
    return *pool;
}

// Blocks for small texts, by size in steps of 8 bytes up to kLargestSmallBlock; larger ones
// come from the general allocator.
inline constexpr std::size_t kLargestSmallBlock = 64;

inline BlockPool& SmallPool(std::size_t size) {
    static BlockPool* const pools[] = {new BlockPool(8),  new BlockPool(16), new BlockPool(24),
                                       new BlockPool(32), new BlockPool(40), new BlockPool(48),
                                       new BlockPool(56), new BlockPool(64)};
    return *pools[(size - 1) / 8];
}

inline void* TakeSmallBlock(std::size_t size) {
    if (PERMORA_POOLED_RECORDS && size > 0 && size <= kLargestSmallBlock) {
        return SmallPool(size).Take();
    }
    return ::operator new(size);
}

inline void GiveSmallBlock(void* block, std::size_t size) noexcept {
    if (PERMORA_POOLED_RECORDS && size > 0 && size <= kLargestSmallBlock) {
        SmallPool(size).Give(block);
    } else {
        ::operator delete(block);
    }
}

// Record allocation through the pool: `operator new` and `operator delete` of a record type
// call these.
template <class Record> void* TakeRecord(std::size_t size) {
    if (PERMORA_POOLED_RECORDS && size == sizeof(Record)) {
        return PoolOf<Record>().Take();
    }
    return ::operator new(size);
}

template <class Record> void GiveRecord(void* block, std::size_t size) noexcept {
    if (PERMORA_POOLED_RECORDS && size == sizeof(Record)) {
        PoolOf<Record>().Give(block);
    } else {
        ::operator delete(block);
    }
}

} // namespace permora
