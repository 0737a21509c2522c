// upper() on any bytes: no overrun (ASan), stray bytes kept, ASCII-only text the same length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/sqlfunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string upper;
    store::upperInto(text, upper);
    bool ascii = true;
    for (const char c : text) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (ascii && upper.size() != text.size()) {
        std::abort();
    }
    // Upper-casing what is already upper case changes nothing the search relies on.
    std::string again;
    store::upperInto(upper, again);
    if (ascii && again != upper) {
        std::abort();
    }
    return 0;
}
