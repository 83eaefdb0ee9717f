// Windows-1250 code page: the one table both programs share.
//
// The solver keeps its fixed texts as UTF-8 in the source and turns them into
// Windows-1250 bytes when they leave the program; the workbench decodes the
// network files and the solver's output for display and encodes them back.
#pragma once

#include <string>
#include <string_view>

namespace kolt {

// Unicode code point of a Windows-1250 byte. The five bytes the code page
// leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the C1 control of the
// same value, so that decoding and encoding any byte string is lossless.
char32_t cp1250ToUnicode(unsigned char byte);

// Windows-1250 byte of a code point, or '?' when the code page lacks it.
unsigned char unicodeToCp1250(char32_t codePoint);

// UTF-8 text to Windows-1250 bytes. Invalid UTF-8 sequences become '?'.
std::string utf8ToCp1250(std::string_view utf8);

// Windows-1250 bytes to UTF-8 text.
std::string cp1250ToUtf8(std::string_view bytes);

}  // namespace kolt
