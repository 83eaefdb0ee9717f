#include "console_stream.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/types.h>

#include <cstring>
#include <string>
#include <string_view>

#include "common/cp1250.h"

namespace kolt {
namespace {

// Windows-1250 is one byte a character, so any piece of the stream converts
// on its own: no state is carried from one write to the next.
ssize_t writeAsUtf8(void* cookie, const char* bytes, size_t size) {
    auto* target = static_cast<std::FILE*>(cookie);
    const std::string text = cp1250ToUtf8(std::string_view(bytes, size));
    if (std::fwrite(text.data(), 1, text.size(), target) != text.size()) return -1;
    return static_cast<ssize_t>(size);
}

std::FILE* openUtf8Stream(std::FILE* target) {
    cookie_io_functions_t functions{};
    functions.write = writeAsUtf8;
    std::FILE* stream = fopencookie(target, "w", functions);
    // Unbuffered like standard error, so that the order of the texts never
    // depends on who wrote them through which stream.
    if (stream) std::setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}

}  // namespace

bool localeIsUtf8() {
    // A locale object of its own instead of setlocale(): the code set is all
    // that is wanted, and the solver's character handling stays in the C locale.
    const locale_t user = newlocale(LC_CTYPE_MASK, "", locale_t{});
    if (user == locale_t{}) return false;
    const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, user), "UTF-8") == 0;
    freelocale(user);
    return utf8;
}

ConsoleStream::ConsoleStream(std::FILE* target, bool inUserEncoding) : target_(target), stream_(target) {
    if (!inUserEncoding || !localeIsUtf8()) return;
    if (std::FILE* utf8 = openUtf8Stream(target)) stream_ = utf8;
}

ConsoleStream::~ConsoleStream() {
    if (stream_ == target_) return;
    std::fclose(stream_);
    std::fflush(target_);
}

}  // namespace kolt
