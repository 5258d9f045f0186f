// Texts between the encodings the validator meets: documents, reports and findings are
// Windows-1250; file names and the console are UTF-8 on most systems.
#pragma once

#include <string>
#include <string_view>

#include "tavon/export.h"

namespace tavon {

// Windows-1250 bytes as UTF-8. The five bytes Windows-1250 leaves undefined become "?".
TAVON_API std::string to_utf8(std::string_view windows1250);

// UTF-8 as Windows-1250 bytes: a character Windows-1250 lacks, and a byte that is no part of a
// valid UTF-8 sequence, becomes "?".
TAVON_API std::string to_windows1250(std::string_view utf8);

// Whether the bytes are valid UTF-8 and hold at least one character beyond ASCII: a name or text
// in that form is taken as UTF-8; anything else (Windows-1250 with Czech letters is never valid
// UTF-8 in practice) as Windows-1250.
TAVON_API bool looks_like_utf8(std::string_view bytes);

// The number of characters of a text: of UTF-8 when it looks like UTF-8, else of bytes.
TAVON_API std::size_t character_count(std::string_view bytes);

// A name or text of unknown origin (a file name, a list word) as Windows-1250 for a report:
// converted when it looks like UTF-8, as it stands otherwise.
TAVON_API std::string name_as_windows1250(std::string_view bytes);

}  // namespace tavon
