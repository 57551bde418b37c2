// config.txt reader: any text is either refused with a reason or gives
// values within the limits, and values it accepts are written back by
// formatConfig to a file that reads back to the very same values.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/config_file.h"

namespace {

bool sameValues(const zelkar::ConfigValues& a, const zelkar::ConfigValues& b) {
  return a.keypadMode == b.keypadMode && a.tickInterval == b.tickInterval && a.soundOn == b.soundOn;
}

// abort() is what libFuzzer reports as a finding, with the input saved.
void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  require(std::isfinite(leadingNumber(text)));

  const ConfigRead r = parseConfig(text);
  if (!r.ok()) {
    require(!r.error.empty());
  } else {
    const ConfigValues& v = *r.values;
    require(v.tickInterval >= 10);  // ms: the settings window's lower limit
    const ConfigRead back =
        parseConfig(formatConfig(v.keypadMode, std::to_string(v.tickInterval), v.soundOn));
    require(back.ok() && sameValues(*back.values, v));
  }

  // The whole input as the text typed into the settings window: the file
  // keeps the keyboard kind and sound switch, and the interval reads back
  // as the window reads the text.
  const ConfigRead typed = parseConfig(formatConfig(0, text, 1));
  if (typed.ok()) {
    require(typed.values->keypadMode == 0 && typed.values->soundOn == 1);
    require(typed.values->tickInterval >= 10);
  }
  return 0;
}
