#include "blockmemory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

// Blocks of at most this size (thumbnails, small pictures) are carved from shared slabs instead
// of getting a mapping each: an album of 10,000 items would otherwise cost 10,000 mmap and
// munmap calls and as many separate runs of first-touch faults.
constexpr std::size_t kPooledMax = std::size_t(64) << 10;
constexpr std::size_t kSlabSize = std::size_t(4) << 20;

// mmap does not remember sizes, so the committed size of every live block is kept here, with
// the pool's free blocks by size (in pages). Slabs are never returned to the system: a freed
// small block waits for the next block of its size, as the C library's heap does.
struct Registry {
    std::mutex mutex;
    std::unordered_map<BlockHandle, std::size_t> sizes;
    std::vector<std::vector<BlockHandle>> freeBlocks;
    char *slabNext = nullptr;
    std::size_t slabLeft = 0;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

std::size_t pageSize()
{
    static const std::size_t size = std::size_t(::sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t roundToPages(std::size_t size)
{
    const std::size_t page = pageSize();
    if (size == 0)
        return page;
    if (size > SIZE_MAX - page)
        return 0;
    return (size + page - 1) / page * page;
}

void *mapPages(std::size_t size)
{
    void *pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        return nullptr;
    // Large picture blocks and slabs are filled right after allocation; huge pages turn
    // thousands of first-touch faults into a few.
    constexpr std::size_t kHugePageThreshold = std::size_t(4) << 20;
    if (size >= kHugePageThreshold)
        ::madvise(pages, size, MADV_HUGEPAGE);
    return pages;
}

// A pooled block of `committed` bytes, zero-filled; registered by the caller. Needs r.mutex.
void *takePooled(Registry &r, std::size_t committed)
{
    const std::size_t pages = committed / pageSize();
    if (r.freeBlocks.size() > pages && !r.freeBlocks[pages].empty()) {
        void *reused = reinterpret_cast<void *>(r.freeBlocks[pages].back());
        r.freeBlocks[pages].pop_back();
        std::memset(reused, 0, committed);
        return reused;
    }
    if (r.slabLeft < committed) {
        // The rest of the old slab goes to the free lists rather than being lost.
        while (r.slabLeft >= pageSize()) {
            const std::size_t part = std::min(r.slabLeft, kPooledMax);
            const std::size_t partPages = part / pageSize();
            if (r.freeBlocks.size() <= partPages)
                r.freeBlocks.resize(partPages + 1);
            r.freeBlocks[partPages].push_back(reinterpret_cast<BlockHandle>(r.slabNext));
            r.slabNext += part;
            r.slabLeft -= part;
        }
        auto *slab = static_cast<char *>(mapPages(kSlabSize));
        if (!slab)
            return nullptr;
        r.slabNext = slab;
        r.slabLeft = kSlabSize;
    }
    void *carved = r.slabNext;
    r.slabNext += committed;
    r.slabLeft -= committed;
    return carved;
}

} // namespace

BlockHandle blockAlloc(unsigned, std::size_t size)
{
    const std::size_t committed = roundToPages(size);
    if (committed == 0)
        return 0;
    if (committed <= kPooledMax) {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        void *block = takePooled(r, committed);
        if (!block)
            return 0;
        const auto handle = reinterpret_cast<BlockHandle>(block);
        r.sizes[handle] = committed;
        return handle;
    }
    void *pages = mapPages(committed);
    if (!pages)
        return 0;
    const auto handle = reinterpret_cast<BlockHandle>(pages);
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    r.sizes[handle] = committed;
    return handle;
}

void *blockLock(BlockHandle handle)
{
    return isBlockHandle(handle) ? reinterpret_cast<void *>(handle) : nullptr;
}

std::size_t blockSize(BlockHandle handle)
{
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    const auto found = r.sizes.find(handle);
    return found == r.sizes.end() ? 0 : found->second;
}

BlockHandle blockFree(BlockHandle handle)
{
    std::size_t committed = 0;
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        const auto found = r.sizes.find(handle);
        if (found == r.sizes.end())
            return handle;
        committed = found->second;
        r.sizes.erase(found);
        if (committed <= kPooledMax) {
            const std::size_t pages = committed / pageSize();
            if (r.freeBlocks.size() <= pages)
                r.freeBlocks.resize(pages + 1);
            r.freeBlocks[pages].push_back(handle);
            return 0;
        }
    }
    ::munmap(reinterpret_cast<void *>(handle), committed);
    return 0;
}

BlockHandle allocPictureBlock(std::size_t size)
{
    constexpr std::size_t kSpareBytes = 10;
    return size > SIZE_MAX - kSpareBytes ? 0 : blockAlloc(0, size + kSpareBytes);
}

} // namespace glimmerix
