#include "image/SectorEcc.h"

#include <array>
#include <cstring>

namespace cueify {
namespace {

// GF(2^8) from the primitive polynomial x^8 + x^4 + x^3 + x^2 + 1, with alpha = x.
constexpr unsigned kFieldPolynomial = 0x11D;

constexpr size_t kHeaderOffset = 12;
constexpr size_t kHeaderBytes = 4;
constexpr size_t kPOffset = 2076;
constexpr size_t kQOffset = 2248;

// P: 86 byte columns (43 word columns, high and low bytes) of 24 bytes, 86 bytes apart.
constexpr size_t kPVectors = 86;
constexpr size_t kPLength = 24;
// Q: 52 byte diagonals of 43 bytes, each step 88 bytes on, wrapping within the 2236 bytes
// (1118 words) of header, data and P parity.
constexpr size_t kQVectors = 52;
constexpr size_t kQLength = 43;
constexpr size_t kQSpan = kQVectors * kQLength;

constexpr uint8_t timesAlpha(unsigned value)
{
    return static_cast<uint8_t>((value << 1) ^ ((value & 0x80) ? kFieldPolynomial : 0));
}

// Division by (1 + alpha): the inverse of value -> value + alpha * value.
constexpr std::array<uint8_t, 256> makeDivideByOnePlusAlpha()
{
    std::array<uint8_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value)
        table[value ^ timesAlpha(value)] = static_cast<uint8_t>(value);
    return table;
}

constexpr std::array<uint8_t, 256> kDivideByOnePlusAlpha = makeDivideByOnePlusAlpha();

// The two parity symbols of a codeword v[0..n-1], p0, p1 whose checks are
// sum(v) + p0 + p1 = 0 and sum(v[i] alpha^(n+1-i)) + alpha p0 + p1 = 0. With s0 the first sum
// and s1 the second over v alone: p0 = (s0 + s1) / (1 + alpha), p1 = s0 + p0.
struct Parity
{
    uint8_t p0;
    uint8_t p1;
};

struct Vector
{
    const uint8_t* bytes; // the 2236 bytes from the header on
    size_t start;
    size_t step;
    size_t wrap;
};

Parity parityOf(const Vector& vector, size_t length)
{
    uint8_t s0 = 0, horner = 0; // horner: sum(v[i] alpha^(n-i))
    size_t index = vector.start;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t value = vector.bytes[index];
        s0 ^= value;
        horner = timesAlpha(horner ^ value);
        index = (index + vector.step) % vector.wrap;
    }
    const uint8_t p0 = kDivideByOnePlusAlpha[static_cast<uint8_t>(timesAlpha(horner) ^ s0)];
    return {p0, static_cast<uint8_t>(s0 ^ p0)};
}

// Vector k starts at the byte of word column (or diagonal) k / 2, high or low byte by k % 2.
void writeParity(uint8_t* coded, size_t vectors, size_t length, size_t startStep, size_t step, size_t wrap,
                 uint8_t* out)
{
    for (size_t k = 0; k < vectors; ++k) {
        const Parity parity = parityOf({coded, (k / 2) * startStep + k % 2, step, wrap}, length);
        out[k] = parity.p0;
        out[k + vectors] = parity.p1;
    }
}

} // namespace

void writeSectorEcc(uint8_t* raw, EccHeader header) noexcept
{
    uint8_t saved[kHeaderBytes];
    std::memcpy(saved, raw + kHeaderOffset, kHeaderBytes);
    if (header == EccHeader::AsZero)
        std::memset(raw + kHeaderOffset, 0, kHeaderBytes);
    uint8_t* coded = raw + kHeaderOffset;
    writeParity(coded, kPVectors, kPLength, 2, kPVectors, kPVectors * kPLength, raw + kPOffset);
    writeParity(coded, kQVectors, kQLength, 2 * size_t{43}, 88, kQSpan, raw + kQOffset);
    std::memcpy(raw + kHeaderOffset, saved, kHeaderBytes);
}

} // namespace cueify
