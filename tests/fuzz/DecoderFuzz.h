#pragma once

// Shared body of the decoder fuzz targets: any input must end in a clean
// success or failure; a decoded picture is walked once so that a wrong size
// or stride shows up under AddressSanitizer. Good seeds: tests/data/images
// and tests/data/bad.
#include <cstddef>
#include <cstdint>
#include <string>

#include "graphics/ImageCodecs.h"

template <typename Decoder>
int FuzzDecoder(Decoder decode, const uint8_t* data, size_t size) {
    orvel::TMyBitmap buf;
    const orvel::Result decoded = decode(buf, data, size);
    if (decoded.Ok()) {
        unsigned sum = 0;
        for (int y = 0; y < buf.Height; ++y) {
            const uint8_t* row = orvel::RowPtr(buf, y);
            for (int i = 0; i < buf.Width * buf.BytesPerPixel; ++i) sum += row[i];
        }
        volatile unsigned sink = sum;
        (void)sink;
    } else if (buf.Width != 0 || decoded.Error().Detail.empty()) {
        __builtin_trap();  // a failure must leave an empty buffer and a reason
    }
    return 0;
}
