#include "djvu/GreySpread.h"

#include <algorithm>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define LEXIFOL_SSSE3 1
#include <tmmintrin.h>
#endif

namespace lexifol::djvu {

namespace {

constexpr int kBlock = 7; // pixels a block draws: 14 source bytes at most

uint32_t Grey(uint32_t v)
{
    return 0xff000000u | v * 0x010101u;
}

#ifdef LEXIFOL_SSSE3
bool HaveSsse3()
{
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}
#endif

} // namespace

int64_t GreySpread::SourceAt(int i, int64_t step)
{
    return std::max<int64_t>(0, (2 * int64_t(i) + 1) * step / 2 - 32768);
}

void GreySpread::prepare(int sourceWidth, int width)
{
    sourceWidth_ = sourceWidth;
    const int64_t step = (int64_t(sourceWidth) << 16) / std::max(1, width);
    column_.resize(size_t(width));
    weight_.resize(size_t(width));
    for (int x = 0; x < width; ++x) {
        const int64_t at = SourceAt(x, step);
        int i = int(at >> 16), w = int((at >> 10) & 63);
        if (i >= sourceWidth - 1) {
            i = std::max(0, sourceWidth - 2);
            w = sourceWidth > 1 ? 64 : 0;
        }
        column_[size_t(x)] = i;
        weight_[size_t(x)] = w;
    }
    blocks_.clear();
    int x = 0;
    // A block stores eight pixels, the eighth overwritten by what follows.
    for (; x + kBlock + 1 <= width; x += kBlock) {
        Block b;
        b.base = column_[size_t(x)];
        if (column_[size_t(x + kBlock - 1)] + 1 - b.base > 15)
            break;
        for (int j = 0; j < kBlock; ++j) {
            const int c = column_[size_t(x + j)] - b.base, w = weight_[size_t(x + j)];
            b.pick[2 * j] = uint8_t(c);
            b.pick[2 * j + 1] = uint8_t(c + 1);
            b.weight[2 * j] = int8_t(64 - w);
            b.weight[2 * j + 1] = int8_t(w);
        }
        b.pick[14] = b.pick[15] = 0x80; // zero
        b.weight[14] = b.weight[15] = 0;
        blocks_.push_back(b);
    }
    blocked_ = x;
}

void GreySpread::spreadOneByOne(const uint8_t* source, int from, uint32_t* out) const
{
    for (int x = from; x < width(); ++x) {
        const uint32_t c = uint32_t(column_[size_t(x)]), w = uint32_t(weight_[size_t(x)]);
        out[x] = Grey((uint32_t(source[c]) * (64 - w) + uint32_t(source[c + 1]) * w + 32) >> 6);
    }
}

#ifdef LEXIFOL_SSSE3
namespace {

__attribute__((target("ssse3"))) void SpreadBlocks(const uint8_t* source, const GreySpread::Block* blocks, size_t count,
                                                   uint32_t* out)
{
    const __m128i round = _mm_set1_epi16(32), alpha = _mm_set1_epi16(short(0xff00));
    for (size_t k = 0; k < count; ++k, out += kBlock) {
        const GreySpread::Block* b = blocks + k;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + b->base));
        const __m128i pairs = _mm_shuffle_epi8(bytes, _mm_load_si128(reinterpret_cast<const __m128i*>(b->pick)));
        __m128i v = _mm_maddubs_epi16(pairs, _mm_load_si128(reinterpret_cast<const __m128i*>(b->weight)));
        v = _mm_srli_epi16(_mm_add_epi16(v, round), 6);
        const __m128i g = _mm_packus_epi16(v, v);
        const __m128i gg = _mm_unpacklo_epi8(g, g); // grey, grey
        const __m128i ga = _mm_or_si128(gg, alpha); // grey, 255
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(gg, ga));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi16(gg, ga));
    }
}

} // namespace
#endif

void GreySpread::spread(const uint8_t* source, uint32_t* out, bool vectors) const
{
    int from = 0;
#ifdef LEXIFOL_SSSE3
    if (vectors && !blocks_.empty() && HaveSsse3()) {
        SpreadBlocks(source, blocks_.data(), blocks_.size(), out);
        from = blocked_;
    }
#else
    (void)vectors;
#endif
    spreadOneByOne(source, from, out);
}

} // namespace lexifol::djvu
