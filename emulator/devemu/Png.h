// PNG files without a library: 8-bit RGB, stored (uncompressed) deflate blocks. Screenshots are
// test artifacts, so a simple, obviously correct encoder beats a small file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace devemu {

// CRC-32 as PNG chunks use it (reflected polynomial 0xEDB88320). Pass the previous result to
// continue over more data.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// Adler-32 as zlib streams end with it. Pass the previous result to continue.
uint32_t Adler32(const uint8_t* data, size_t size, uint32_t adler = 1);

// The whole file. rgb holds height rows of width pixels, 3 bytes each, top row first.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb);

// Writes EncodePng's bytes to path. On failure returns false with GetLastError set and leaves
// no partial file behind.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace devemu
