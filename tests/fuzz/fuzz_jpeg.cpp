// libFuzzer entry: the JPEG decoder on arbitrary bytes.
#include "DecoderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder(orvel::LoadJpegStream, data, size);
}
