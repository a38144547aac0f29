#include "blockmemory.h"

#include "core/messageids.h"
#include "platform/host.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include <sys/mman.h>
#include <unistd.h>

namespace
{

// mmap does not remember sizes, so the committed size of every live block is kept here.
struct Registry {
    std::mutex mutex;
    std::unordered_map<BlockHandle, std::size_t> sizes;
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

} // namespace

BlockHandle blockAlloc(unsigned, std::size_t size)
{
    const std::size_t committed = roundToPages(size);
    if (committed == 0)
        return 0;
    void *pages
        = ::mmap(nullptr, committed, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        return 0;
    // Large picture blocks are filled row by row right after allocation; huge pages turn
    // thousands of first-touch faults into a few.
    constexpr std::size_t kHugePageThreshold = std::size_t(4) << 20;
    if (committed >= kHugePageThreshold)
        ::madvise(pages, committed, MADV_HUGEPAGE);
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

bool blockUnlock(BlockHandle)
{
    return true;
}

std::size_t blockSize(BlockHandle handle)
{
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    const auto found = r.sizes.find(handle);
    return found == r.sizes.end() ? 0 : found->second;
}

BlockHandle blockReAlloc(BlockHandle handle, std::size_t size)
{
    const BlockHandle fresh = blockAlloc(0, size);
    if (fresh == 0)
        return 0;
    const std::size_t oldSize = blockSize(handle);
    if (oldSize > 0) {
        std::memcpy(blockLock(fresh), blockLock(handle), std::min(oldSize, blockSize(fresh)));
        blockFree(handle);
    }
    return fresh;
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
    }
    ::munmap(reinterpret_cast<void *>(handle), committed);
    return 0;
}

BlockHandle allocPictureBlock(std::size_t size)
{
    constexpr std::size_t kSpareBytes = 10;
    const BlockHandle handle
        = size > SIZE_MAX - kSpareBytes ? 0 : blockAlloc(0, size + kSpareBytes);
    if (handle == 0)
        host().showMessage(Message::kOutOfMemory);
    return handle;
}
