// like(pattern, text, escape) on any bytes: the first byte picks the escape, the rest is split
// at the first NUL into pattern and text. A pattern matches itself when it holds no wildcard.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/sqlfunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const char32_t escape = data[0] % 2 == 0 ? U'\\' : 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\0');
    const std::string_view pattern = rest.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? rest : rest.substr(split + 1);
    store::likeMatches(pattern, text, escape);
    if (pattern.find_first_of("%_\\") == std::string_view::npos &&
        !store::likeMatches(pattern, pattern, escape)) {
        std::abort();
    }
    return 0;
}
