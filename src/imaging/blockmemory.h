#pragma once

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// Block memory: every image block and thumbnail block lives in its own run of whole pages (small
// ones carved from shared slabs, large ones mapped one by one).
// A handle is the block's address as an integer; 0, -1 and -2 never denote a block, so callers
// can keep those as result codes in the same variable.

using BlockHandle = std::intptr_t;

// Reserves fresh zero-filled pages for `size` bytes (at least one page); `flags` are ignored.
// Returns 0 when the system refuses.
BlockHandle blockAlloc(unsigned flags, std::size_t size);
// The block's data: the handle itself as a pointer (nullptr for 0, -1, -2 and unknown handles).
void *blockLock(BlockHandle handle);
// The committed size: the requested size rounded up to whole pages; 0 for an unknown handle.
std::size_t blockSize(BlockHandle handle);
// Releases the pages. Returns 0, or the handle itself when it does not denote a block.
BlockHandle blockFree(BlockHandle handle);

inline bool isBlockHandle(BlockHandle handle)
{
    return handle != 0 && handle != -1 && handle != -2;
}

// Allocates a picture buffer of `size` bytes plus 10 spare bytes; returns 0 on failure. The
// out-of-memory message (54001) is shown by the reader entry points, not here, so batch callers
// can choose what to tell.
BlockHandle allocPictureBlock(std::size_t size);

// Owns one block for C++ callers: freed on destruction unless released.
class OwnedBlock
{
public:
    OwnedBlock() = default;
    explicit OwnedBlock(BlockHandle handle)
        : m_handle(handle)
    {
    }
    ~OwnedBlock() { reset(); }
    OwnedBlock(OwnedBlock &&other) noexcept
        : m_handle(other.release())
    {
    }
    OwnedBlock &operator=(OwnedBlock &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    OwnedBlock(const OwnedBlock &) = delete;
    OwnedBlock &operator=(const OwnedBlock &) = delete;

    BlockHandle handle() const { return m_handle; }
    explicit operator bool() const { return isBlockHandle(m_handle); }
    unsigned char *data() const { return static_cast<unsigned char *>(blockLock(m_handle)); }
    std::size_t size() const { return blockSize(m_handle); }
    BlockHandle release()
    {
        const BlockHandle handle = m_handle;
        m_handle = 0;
        return handle;
    }
    void reset(BlockHandle handle = 0)
    {
        if (isBlockHandle(m_handle))
            blockFree(m_handle);
        m_handle = handle;
    }

private:
    BlockHandle m_handle = 0;
};

} // namespace glimmerix
