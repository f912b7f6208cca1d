#include "qelimaging/noise.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace qel::imaging {

namespace {

// x mod m without a division (exact for every 32-bit x and m >= 1): the random draws below take one a
// column, and a hardware division would cost more than all the rest of the work.
class Modulo {
public:
    explicit Modulo(std::uint32_t m) { Set(m); }
    void Set(std::uint32_t m) {
        divisor_ = m;
        factor_ = ~std::uint64_t{0} / m + 1;
    }
    std::uint32_t Of(std::uint32_t x) const {
        const std::uint64_t low = factor_ * x;
        return static_cast<std::uint32_t>((static_cast<unsigned __int128>(low) * divisor_) >> 64);
    }

private:
    std::uint64_t factor_ = 0;
    std::uint32_t divisor_ = 1;
};

// Marks `wanted` of `width` columns at random, spread over the row: passes over the row give a column a
// mark with probability 1 / (e + 1) while it holds fewer than e marks, e = ceil(columns left / marks left).
void ChooseColumns(int width, int wanted, NoiseRandom& random, std::uint8_t* chosen, int* marks) {
    std::fill(marks, marks + width, 0);
    int given = 0;
    int limit = (width + wanted - 1) / wanted;
    Modulo draw(static_cast<std::uint32_t>(limit + 1));
    while (given < wanted) {
        for (int j = 0; j < width && given < wanted; ++j) {
            if (marks[j] < limit && draw.Of(static_cast<std::uint32_t>(random.Next())) == 1) {
                ++marks[j];
                ++given;
                if (given < wanted) {
                    const int next = (width + wanted - given - 1) / (wanted - given);
                    if (next != limit) {
                        limit = next;
                        draw.Set(static_cast<std::uint32_t>(limit + 1));
                    }
                }
            }
        }
    }
    for (int j = 0; j < width; ++j) {
        chosen[j] = marks[j] > 0 ? 1 : 0;
    }
}

} // namespace

bool AddNoise(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, int amount,
              int coverage, NoiseRandom& random) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout)) {
        return false;
    }
    const int strength = std::clamp(amount, -100, 100);
    const int share = std::clamp(coverage, 0, 100);
    const int width = layout.width;
    const int wanted = (width * share + 50) / 100;
    const int range = std::abs(strength * 255 / 100);
    std::unique_ptr<std::uint8_t[]> chosen;
    std::unique_ptr<int[]> marks;
    if (wanted > 0 && range > 0) {
        chosen.reset(new (std::nothrow) std::uint8_t[width]);
        marks.reset(new (std::nothrow) int[width]);
        if (!chosen || !marks) {
            return false;
        }
    }
    CopyFramePixels(source, destination, layout);
    if (wanted <= 0 || range <= 0) {
        return true;
    }
    const int channels = layout.channels;
    const int rows = RowCount(layout);
    const Modulo amountDraw(static_cast<std::uint32_t>(range));
    for (int y = 0; y < rows; ++y) {
        ChooseColumns(width, wanted, random, chosen.get(), marks.get());
        std::uint8_t* row = destination + static_cast<std::size_t>(y) * layout.stride;
        for (int x = 0; x < width; ++x) {
            if (!chosen[x]) {
                continue;
            }
            const int m = static_cast<int>(amountDraw.Of(static_cast<std::uint32_t>(random.Next())));
            std::uint8_t* pixel = row + static_cast<std::size_t>(x) * channels;
            for (int c = 0; c < channels; ++c) {
                const int v = pixel[c];
                const int value = strength > 0 ? (v * (255 - m) + 255 * m) / 255 : v * (255 - m) / 255;
                pixel[c] = static_cast<std::uint8_t>(value);
            }
        }
    }
    return true;
}

} // namespace qel::imaging
