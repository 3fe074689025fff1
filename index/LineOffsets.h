#pragma once
// Where each line of an index begins: one block of 32-bit offsets.
#include <cstddef>
#include <cstdint>

namespace lexifol {

// Room for an estimated count is asked for once. Should the estimate fall
// short, the block grows, and fit() gives the unwritten end back: both
// through realloc, which shrinks a block where it lies and moves a large
// one by remapping it, so the offsets are never copied one by one.
class LineOffsets
{
public:
    LineOffsets() = default;
    explicit LineOffsets(size_t room); // throws std::bad_alloc
    ~LineOffsets();
    LineOffsets(LineOffsets&& other) noexcept;
    LineOffsets& operator=(LineOffsets&& other) noexcept;
    LineOffsets(const LineOffsets&) = delete;
    LineOffsets& operator=(const LineOffsets&) = delete;

    void push_back(uint32_t offset)
    {
        if (size_ == capacity_)
            grow();
        data_[size_++] = offset;
    }
    uint32_t operator[](size_t i) const { return data_[i]; }
    uint32_t back() const { return data_[size_ - 1]; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    size_t capacity() const { return capacity_; }
    const uint32_t* data() const { return data_; }

    void clear() { size_ = 0; }
    void fit();
    void swap(LineOffsets& other) noexcept;

private:
    void grow();

    uint32_t* data_ = nullptr;
    size_t size_ = 0, capacity_ = 0;
};

} // namespace lexifol
