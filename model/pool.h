// Blocks of one size for the records a large template holds by the million (entries,
// descriptors, targets): carved from large slabs and given back to a free list, without the
// general allocator's header and rounding on each. The slabs stay for the life of the process
// and serve the next template read.
//
// Under the address sanitizer every record comes from the general allocator, so that the
// sanitizer watches each one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
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

// Each thread keeps a few blocks of each pool at hand, so that the threads of an import take
// and give blocks without waiting for each other; the pool's lock is taken once for a batch of
// blocks. A thread that ends gives its blocks back with ReleaseThreadBlocks.
class BlockPool {
public:
    explicit BlockPool(std::size_t blockSize)
        : blockSize_((blockSize + kAlignment - 1) / kAlignment * kAlignment), index_(NextIndex()) {
        Registry()[index_] = this;
    }
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    void* Take() {
        Cache& cache = CacheOf(index_);
        if (cache.free == nullptr) {
            Refill(cache);
        }
        FreeBlock* block = cache.free;
        cache.free = block->next;
        --cache.count;
        return block;
    }

    void Give(void* block) noexcept {
        Cache& cache = CacheOf(index_);
        cache.free = ::new (block) FreeBlock{cache.free};
        if (++cache.count > 2 * kBatch) {
            GiveBack(cache, kBatch);
        }
    }

    std::size_t BlockSize() const { return blockSize_; }

    // Gives the blocks the calling thread keeps at hand back to their pools; for a thread that
    // is about to end.
    static void ReleaseThreadBlocks() noexcept {
        const std::size_t pools = Count().load(std::memory_order_acquire);
        for (std::size_t i = 0; i < pools; ++i) {
            Cache& cache = CacheOf(i);
            if (cache.count > 0) {
                Registry()[i]->GiveBack(cache, cache.count);
            }
        }
    }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // Plain data, so that it needs no destructor and stays usable while the program ends.
    struct Cache {
        FreeBlock* free;
        std::size_t count;
    };
    static constexpr std::size_t kAlignment = 8;
    static constexpr std::size_t kSlabBytes = std::size_t{1} << 20;
    static constexpr std::size_t kBatch = 64;
    static constexpr std::size_t kMaxPools = 32;

    static std::atomic<std::size_t>& Count() {
        static std::atomic<std::size_t> count{0};
        return count;
    }
    static std::size_t NextIndex() {
        const std::size_t index = Count().fetch_add(1, std::memory_order_acq_rel);
        if (index >= kMaxPools) {
            std::abort();
        }
        return index;
    }
    static BlockPool** Registry() {
        static BlockPool* pools[kMaxPools] = {};
        return pools;
    }
    static Cache& CacheOf(std::size_t index) {
        thread_local Cache caches[kMaxPools] = {};
        return caches[index];
    }

    // Moves a batch of blocks to the cache: freed ones first, then fresh ones from the slab.
    // Pages of a new slab are touched only as its blocks are handed out.
    void Refill(Cache& cache) {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t n = 0; n < kBatch; ++n) {
            FreeBlock* block = free_;
            if (block != nullptr) {
                free_ = block->next;
            } else {
                if (fresh_ == freshEnd_) {
                    slabs_.push_back(static_cast<char*>(::operator new(kSlabBytes)));
                    fresh_ = slabs_.back();
                    freshEnd_ = fresh_ + kSlabBytes / blockSize_ * blockSize_;
                }
                block = reinterpret_cast<FreeBlock*>(fresh_);
                fresh_ += blockSize_;
            }
            block->next = cache.free;
            cache.free = block;
            ++cache.count;
        }
    }

    void GiveBack(Cache& cache, std::size_t count) noexcept {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t n = 0; n < count && cache.free != nullptr; ++n) {
            FreeBlock* block = cache.free;
            cache.free = block->next;
            --cache.count;
            block->next = free_;
            free_ = block;
        }
    }

    std::mutex mutex_;
    const std::size_t blockSize_;
    const std::size_t index_;
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
