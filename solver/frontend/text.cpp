#include "text.h"

#include <cstdarg>
#include <vector>

#include "common/cp1250.h"

namespace kolt {

std::string fixedText(const char* utf8) { return utf8ToCp1250(utf8); }

std::string formatText(const char* utf8Format, ...) {
    const std::string format = utf8ToCp1250(utf8Format);
    va_list args;
    va_start(args, utf8Format);
    va_list probe;
    va_copy(probe, args);
    const int length = std::vsnprintf(nullptr, 0, format.c_str(), probe);
    va_end(probe);
    std::string out;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
        out.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return out;
}

void writeFixed(std::FILE* target, const char* utf8) {
    const std::string bytes = utf8ToCp1250(utf8);
    std::fwrite(bytes.data(), 1, bytes.size(), target);
}

}  // namespace kolt
