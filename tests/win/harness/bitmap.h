#pragma once

// A 24-bit BMP file that a fixture saved of the screen, read for its pixels.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace harness {

struct Rgb {
    int red = 0, green = 0, blue = 0;
};

class Bitmap {
  public:
    explicit Bitmap(const std::filesystem::path& file);
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb At(int x, int y) const;  // from the top-left corner

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;  // bottom-up rows, blue-green-red, padded to 4 bytes
};

}  // namespace harness
