// Plays any script the reader accepts, so that the sanitizers watch the
// whole game under any order of events: odd count texts, keys in set-up and
// battle, window keys, answers at any time. Long scripts are cut short to
// keep the fuzzer fast.
#include <cstdint>
#include <sstream>
#include <variant>

#include "headless/cpu_seat.h"
#include "headless/runner.h"

namespace {

constexpr int64_t kTickBudget = 3000;  // per input: enough for rounds to end
constexpr std::size_t kMaxCommands = 400;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar::sim;
  const ParsedScript script =
      parseScript(std::string_view(reinterpret_cast<const char*>(data), size));
  if (script.error || script.commands.size() > kMaxCommands) return 0;
  int64_t ticks = 0;
  for (const ScriptLine& l : script.commands)
    if (const auto* t = std::get_if<TickCommand>(&l.command)) ticks += t->count;
  if (ticks > kTickBudget) return 0;

  std::ostringstream none;
  Runner runner(none, DumpMode::None, 0, cpuSeats());
  runner.run(script.commands);
  return 0;
}
