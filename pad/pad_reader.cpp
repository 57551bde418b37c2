#include "pad/pad_reader.h"

#include "input/player_keys.h"

namespace zelkar::pad {

namespace {

Source sourceOfSlot(int slot) { return slot == 0 ? Source::pad1 : Source::pad2; }

}  // namespace

PadReader::PadReader(const char* library) : library_(library), pads_(std::make_unique<SdlPads>()) {}

PadReader::~PadReader() = default;

bool PadReader::start() { return pads_->start(library_); }

bool PadReader::active() const { return pads_->running(); }

const std::string& PadReader::error() const { return pads_->error(); }

void PadReader::poll(const GameState& s, const PadSink& sink) {
  if (!active() || sink.ended()) return;
  for (const PlugEvent& e : pads_->poll()) {
    // A pulled pad lets go of everything it held.
    if (e.kind == PlugEvent::disconnected)
      send(sourceOfSlot(e.slot), keys_[std::size_t(e.slot)].releaseAll(), sink);
    sink.plug(e);
  }
  for (int slot = 0; slot < SdlPads::kSlots && !sink.ended(); ++slot) {
    const std::optional<PadState> state = pads_->state(slot);
    if (!state) continue;
    const int p = playerOfSlot(slot);
    const bool inSetup = s.settingRow[p] != kRowInBattle;
    PadKeys& keys = keys_[std::size_t(slot)];
    send(sourceOfSlot(slot),
         keys.update(heldControls(*state, inSetup, keys.held()), playerKeyCodes(s, p)), sink);
  }
}

void PadReader::send(Source source, const std::vector<KeyChange>& changes, const PadSink& sink) {
  for (const KeyChange& c : changes) {
    if (sink.ended()) return;
    if (c.down) {
      holders_.press(source, c.keyCode);
      sink.key(c.keyCode, true);
    } else if (holders_.release(source, c.keyCode)) {
      sink.key(c.keyCode, false);
    }
  }
}

void PadReader::keyboardPressed(int16_t keyCode) { holders_.press(Source::keyboard, keyCode); }

bool PadReader::keyboardReleased(int16_t keyCode) {
  return holders_.release(Source::keyboard, keyCode);
}

}  // namespace zelkar::pad
