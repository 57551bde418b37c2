// Text from files and the command line made safe for a terminal: a script
// or a file name may hold control characters (an escape sequence, a NUL, a
// line break) that would act on the terminal or cut the message.
#pragma once

#include <string>
#include <string_view>

namespace zelkar::sim {

// Printable characters and valid UTF-8 stay as they are; control characters
// (C0, DEL, C1) become \xNN or \u00NN, bytes that are not UTF-8 \xNN, and a
// backslash is doubled so the escapes cannot be mistaken for the text.
std::string printable(std::string_view text);

}  // namespace zelkar::sim
