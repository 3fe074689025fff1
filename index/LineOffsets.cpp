#include "index/LineOffsets.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace lexifol {

LineOffsets::LineOffsets(size_t room)
{
    if (room == 0)
        return;
    data_ = static_cast<uint32_t*>(std::malloc(room * sizeof(uint32_t)));
    if (!data_)
        throw std::bad_alloc();
    capacity_ = room;
}

LineOffsets::~LineOffsets()
{
    std::free(data_);
}

LineOffsets::LineOffsets(LineOffsets&& other) noexcept
{
    swap(other);
}

LineOffsets& LineOffsets::operator=(LineOffsets&& other) noexcept
{
    LineOffsets gone(std::move(*this));
    swap(other);
    return *this;
}

void LineOffsets::swap(LineOffsets& other) noexcept
{
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
}

void LineOffsets::fit()
{
    if (size_ == capacity_)
        return;
    if (size_ == 0) {
        std::free(std::exchange(data_, nullptr));
        capacity_ = 0;
        return;
    }
    // Shrinking keeps the block where it is; should it ever fail, the
    // larger block simply stays.
    if (void* smaller = std::realloc(data_, size_ * sizeof(uint32_t))) {
        data_ = static_cast<uint32_t*>(smaller);
        capacity_ = size_;
    }
}

void LineOffsets::grow()
{
    const size_t more = capacity_ < 8 ? 16 : capacity_ * 2;
    void* larger = std::realloc(data_, more * sizeof(uint32_t));
    if (!larger)
        throw std::bad_alloc();
    data_ = static_cast<uint32_t*>(larger);
    capacity_ = more;
}

} // namespace lexifol
