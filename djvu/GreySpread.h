#pragma once
// A row of grey bytes stretched or shrunk across to a width, as RGB32.
#include <cstdint>
#include <vector>

namespace lexifol::djvu {

// Linear interpolation between the two source pixels nearest each target
// pixel's centre, weights in 64ths. For a source at most twice as wide as
// the target, seven target pixels at a time are drawn with SSSE3 where the
// processor has it: the same pixels, six times faster than one by one.
class GreySpread
{
public:
    // Source rows passed to spread() must be readable this far past their end.
    static constexpr int kPadding = 16;

    void prepare(int sourceWidth, int width);
    int width() const { return int(column_.size()); }
    int sourceWidth() const { return sourceWidth_; }
    // `vectors` false draws one pixel at a time, as where there is no SSSE3.
    void spread(const uint8_t* source, uint32_t* out, bool vectors = true) const;

    // 16.16 fixed point: where target pixel `i` samples a source `step`
    // times as large (also 16.16), pixel centres matched.
    static int64_t SourceAt(int i, int64_t step);

    // Seven target pixels from sixteen source bytes.
    struct Block {
        int base = 0; // first source column read
        alignas(16) uint8_t pick[16];
        alignas(16) int8_t weight[16];
    };

private:
    void spreadOneByOne(const uint8_t* source, int from, uint32_t* out) const;

    std::vector<int> column_, weight_; // weight_: of column + 1, in 64ths
    std::vector<Block> blocks_;
    int blocked_ = 0; // target pixels the blocks cover
    int sourceWidth_ = 0;
};

} // namespace lexifol::djvu
