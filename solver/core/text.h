// Fixed texts of the solver and the one point where they become Windows-1250.
//
// Every fixed text is written in the source as UTF-8 and passes through
// fixedText() or formatText() before it is queued or written. Arguments of
// formatText() are inserted unchanged: names from the network file are
// Windows-1250 already, and words from the command line or the environment
// (file paths) go through systemText() first.
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

// A word from the system (a path from the command line or the environment) in
// Windows-1250. The file system's names are UTF-8, so a valid UTF-8 word is
// converted, a character the code page lacks becoming '?'; a word that is not
// valid UTF-8 is taken as bytes already in the code page and passes unchanged.
std::string systemText(const char* bytes);

// Writes a fixed text to a stream at once, outside the message queue.
void writeFixed(std::FILE* target, const char* utf8);

}  // namespace kolt
