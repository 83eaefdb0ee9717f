// The console in the user's encoding.
//
// Every text leaves the solver as Windows-1250 bytes, and its files keep them.
// A terminal in a UTF-8 locale would show those bytes garbled, so what is
// written to the console goes through this stream, which re-encodes each byte
// as UTF-8 there. In any other locale (the C locale included) the console gets
// the bytes unchanged, as scripts that compare them expect.
#pragma once

#include <cstdio>

namespace kolt {

// True when the locale the environment names (LC_ALL, LC_CTYPE, LANG) has
// the code set UTF-8. The process's own locale is left as it is.
bool localeIsUtf8();

class ConsoleStream {
  public:
    // `target` in the user's encoding when `inUserEncoding` is set; otherwise,
    // and whenever the locale is not UTF-8, `target` itself.
    ConsoleStream(std::FILE* target, bool inUserEncoding);
    ~ConsoleStream();  // flushes and releases the re-encoding stream, never `target`
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

    std::FILE* get() const { return stream_; }

  private:
    std::FILE* target_;
    std::FILE* stream_;
};

}  // namespace kolt
