#include "headless/state_dump.h"

#include <array>
#include <string_view>

#include "app/game_state_members.h"
#include "headless/json_out.h"

namespace zelkar::sim {

namespace {

class ObjectWriter {
 public:
  explicit ObjectWriter(std::string& out) : out_(out) { out_ += '{'; }
  ~ObjectWriter() { out_ += '}'; }
  ObjectWriter(const ObjectWriter&) = delete;
  ObjectWriter& operator=(const ObjectWriter&) = delete;

  template <typename T>
  void operator()(std::string_view name, const T& value) {
    if (!first_) out_ += ',';
    first_ = false;
    appendJsonString(out_, name);
    out_ += ':';
    appendJson(out_, value);
  }

 private:
  std::string& out_;
  bool first_ = true;
};

template <std::size_t N>
std::array<std::string_view, N> captions(const std::array<Item, N>& items) {
  std::array<std::string_view, N> out;
  for (std::size_t i = 0; i < N; ++i) out[i] = items[i].caption.view();
  return out;
}

}  // namespace

std::string stateLine(const Game& g, const DumpEvents& events) {
  std::string out;
  out.reserve(64 * 1024);  // the probe rings alone take some 30 kB of text
  {
    ObjectWriter w(out);
    w("tick", events.tick);
    w("running", simulationRunning(g));
    w("awaitingAnswer", g.awaitingAnswer);
    w("ended", g.ended);
    w("sounds", events.sounds);
    w("messages", events.messages);
    forEachMember(g.s, w);
    forEachTable(g.s.tables(), w);
    w("hyosuu", captions(g.screen.hyosuu));
    w("setsuuti", captions(g.screen.setsuuti));
    w("hyoumas", captions(g.screen.hyoumas));
    w("tokuten", captions(g.screen.tokuten));
  }
  return out;
}

}  // namespace zelkar::sim
