// PNG files through the platform's image codec (Windows Imaging Component), compressed.
#pragma once

#include <cstdint>
#include <string>

namespace devemu {

// Writes `height` rows of `width` 24-bit BGR pixels, `stride` bytes apart, top row first, to
// `path`. On failure returns false with `error` set and leaves no partial file behind.
bool WritePng(const std::wstring& path, int width, int height, const uint8_t* bgr, size_t stride,
              std::string& error);

}  // namespace devemu
