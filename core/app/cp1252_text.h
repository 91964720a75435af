#pragma once

#include <string>
#include <string_view>

namespace qd {

// The core's windows-1252 bytes as UTF-8, for output that leaves the program as Unicode text (printed
// reports). The five bytes windows-1252 leaves undefined read as the same code points, as the windows
// show them.
std::string Utf8OfCp1252(std::string_view bytes);

// The code point of one windows-1252 byte (the undefined ones as themselves).
char32_t CodePointOfCp1252(unsigned char byte);
// The byte of a code point; '?' for one windows-1252 cannot hold.
char Cp1252ByteOf(char32_t code);

}  // namespace qd
