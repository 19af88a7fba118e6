#pragma once
// The picture formats the plot exports and copies: PNG through libpng
// (zlib), JPEG through libjpeg-turbo. Both take a picture and answer the
// file's bytes; writing them is the caller's.

#include <string>

class QImage;

// PNG of 8-bit RGB pixels at the zlib compression level (0 … 9).
std::string iEncodePng(const QImage& Image, int Level);
// JPEG of 24-bit pixels at the quality (1 … 100), progressive or baseline.
std::string iEncodeJpeg(const QImage& Image, int Quality, bool Progressive);
