// Finding the first of a few ASCII bytes in a text, sixteen bytes a step.
//
// The readers and writers of the large XML files spend most of their time
// looking for the few bytes that need attention (the five escaped characters,
// a quote, an ampersand, the characters a name may not hold) in runs of bytes
// that need none. Every byte searched for here is ASCII, so in a double-byte
// code page a hit below 0x40 is always a character of its own; callers that
// search for bytes from 0x40 up treat a hit as a candidate only.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytesearch {

// A table of the bytes, for texts too short for a sixteen-byte step.
template <char... Bytes>
struct ByteTable {
    static constexpr struct Marks {
        bool marked[256] = {};
        constexpr Marks() { ((marked[static_cast<unsigned char>(Bytes)] = true), ...); }
    } kMarks{};
};

// The first byte at or after `p` that is one of `Bytes`; `end` when none is.
template <char... Bytes>
inline const char* FindFirstOf(const char* p, const char* end) {
#if defined(__SSE2__)
    if (end - p >= 16) {
        auto hits = [](const char* at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            __m128i any = _mm_setzero_si128();
            ((any = _mm_or_si128(any, _mm_cmpeq_epi8(v, _mm_set1_epi8(Bytes)))), ...);
            return static_cast<unsigned>(_mm_movemask_epi8(any));
        };
        for (; end - p >= 16; p += 16) {
            if (const unsigned mask = hits(p)) return p + __builtin_ctz(mask);
        }
        if (p == end) return end;
        // The last bytes: one more step ending at `end`, over bytes partly
        // searched already (none of which was a hit).
        const char* const last = end - 16;
        const unsigned mask = hits(last) >> (p - last);
        return mask ? p + __builtin_ctz(mask) : end;
    }
#endif
    const bool* marked = ByteTable<Bytes...>::kMarks.marked;
    for (; p < end; ++p) {
        if (marked[static_cast<unsigned char>(*p)]) return p;
    }
    return end;
}

}  // namespace bytesearch
