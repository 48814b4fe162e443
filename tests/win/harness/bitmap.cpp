#include "bitmap.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace harness {

namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | (bytes.at(at + 1) << 8) | (bytes.at(at + 2) << 16) |
           (static_cast<std::uint32_t>(bytes.at(at + 3)) << 24);
}

}  // namespace

Bitmap::Bitmap(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream),
                                          std::istreambuf_iterator<char>()};
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes.at(28) != 24) {
        throw std::runtime_error("not a 24-bit BMP: " + file.string());
    }
    const std::uint32_t offset = Little(bytes, 10);
    width_ = static_cast<int>(Little(bytes, 18));
    height_ = static_cast<int>(Little(bytes, 22));
    pixels_.assign(bytes.begin() + offset, bytes.end());
}

Rgb Bitmap::At(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3};
    const std::size_t at =
        stride * static_cast<std::size_t>(height_ - 1 - y) + 3 * static_cast<std::size_t>(x);
    return Rgb{pixels_.at(at + 2), pixels_.at(at + 1), pixels_.at(at)};
}

}  // namespace harness
