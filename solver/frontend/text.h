// Fixed texts of the solver and the one point where they become Windows-1250.
//
// Every fixed text is written in the source as UTF-8 and passes through
// fixedText() or formatText() before it is queued or written. Arguments of
// formatText() (names from the network file, paths from the command line)
// are user bytes and pass through unchanged.
#pragma once

#include <cstdio>
#include <string>

namespace kolt {

// The fixed text in Windows-1250.
std::string fixedText(const char* utf8);

// printf-style formatting of a fixed format; the format is converted to
// Windows-1250 first, the arguments are inserted as they are.
std::string formatText(const char* utf8Format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Writes a fixed text to a stream at once, outside the message queue.
void writeFixed(std::FILE* target, const char* utf8);

}  // namespace kolt
