// Script and replay reader: any text is either refused with a message
// naming a line of it, or read into commands that the script writer writes
// back to a replay file reading back to the very same commands.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "events/script.h"

namespace {

// abort() is what libFuzzer reports as a finding, with the input saved.
void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar::sim;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedScript r = parseScript(text);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (r.error) {
    require(r.error->line >= 1 && r.error->line <= lines && !r.error->message.empty());
    return 0;
  }

  std::vector<Command> commands;
  for (const ScriptLine& l : r.commands) commands.push_back(l.command);
  const ParsedScript back = parseScript(replayText(commands));
  require(!back.error && back.commands.size() == commands.size());
  for (std::size_t i = 0; i < commands.size(); ++i) {
    require(back.commands[i].command == commands[i]);
    require(back.commands[i].line == static_cast<int>(i) + 2);  // after the format line
  }
  return 0;
}
