// libFuzzer entry: the BMP decoder on arbitrary bytes.
#include "DecoderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder(orvel::LoadBmpStream, data, size);
}
