#pragma once
// A text a client chose, made safe for one field of one log line: every
// byte that could end the line, move a terminal's cursor, start an escape
// sequence, reorder what is shown, or split the field is written as a
// backslash escape. What comes out is valid UTF-8 with no control byte and
// no space, whatever goes in.

#include <string>
#include <string_view>

namespace board::http {

// Printable ASCII and printable UTF-8 as they are; backslash and quote as
// \\ and \"; \n \r \t; any other C0 byte, space, DEL, C1 controls and each
// byte of an invalid UTF-8 sequence as \xHH; bidi and zero-width controls as
// \u{HHHH}. An empty text is written "-", so a field is never missing.
std::string log_text(std::string_view text);

} // namespace board::http
