// Escaping of one cell's text for the Rich Text rendering of a list.
#pragma once

#include <string_view>

#include "library/query/text_buffer.h"

// Appends the cell text (UTF-8) escaped for RTF. Tabs, double and single
// quotes become the control words \tab, \rdblquote, \rquote; backslash and
// braces are escaped with a backslash; a valid multi-byte UTF-8 character
// becomes \uN? (N the signed 16-bit UTF-16 code unit, two escapes for a
// surrogate pair); every other byte below 32 or above 122 becomes \'xx.
// Plain output that follows a control word (or starts the cell) is set off
// by one blank, the delimiter the control word before it needs.
bool EscapeRtfText(TextBuffer& buffer, std::string_view cell);
