#include "text.h"

#include <cstdarg>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/cp1250.h"

namespace kolt {
namespace {

// Length of the well-formed UTF-8 sequence at `at`, or 0: no overlong forms,
// no surrogates, nothing above U+10FFFF.
size_t utf8SequenceAt(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    return length;
}

bool isUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = utf8SequenceAt(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

}  // namespace

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

std::string systemText(const char* bytes) {
    const std::string_view text(bytes);
    return isUtf8(text) ? utf8ToCp1250(text) : std::string(text);
}

void writeFixed(std::FILE* target, const char* utf8) {
    const std::string bytes = utf8ToCp1250(utf8);
    std::fwrite(bytes.data(), 1, bytes.size(), target);
}

}  // namespace kolt
