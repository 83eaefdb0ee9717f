#include "text.h"

#include <cstdarg>
#include <unordered_map>
#include <vector>

#include "common/cp1250.h"

namespace kolt {

std::string fixedText(const char* utf8) { return utf8ToCp1250(utf8); }

namespace {

// Formats are the program's own literals: each is converted once. A large
// network dump formats millions of lines with a handful of them.
const std::string& convertedFormat(const char* utf8Format) {
    static std::unordered_map<const char*, std::string> converted;
    auto found = converted.find(utf8Format);
    if (found == converted.end()) found = converted.emplace(utf8Format, utf8ToCp1250(utf8Format)).first;
    return found->second;
}

}  // namespace

std::string formatText(const char* utf8Format, ...) {
    const std::string& format = convertedFormat(utf8Format);
    va_list args;
    va_start(args, utf8Format);
    va_list retry;
    va_copy(retry, args);
    char small[256];
    const int length = std::vsnprintf(small, sizeof small, format.c_str(), args);
    std::string out;
    if (length > 0 && static_cast<size_t>(length) < sizeof small) {
        out.assign(small, static_cast<size_t>(length));
    } else if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), retry);
        out.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(retry);
    va_end(args);
    return out;
}

void writeFixed(std::FILE* target, const char* utf8) {
    const std::string bytes = utf8ToCp1250(utf8);
    std::fwrite(bytes.data(), 1, bytes.size(), target);
}

}  // namespace kolt
