// zelkar-make-replays: writes the replay files of the golden replay test
// from scripted fights, and tells what a replay file shows.
//
//   zelkar-make-replays write DIR     (re)writes DIR/<name>.zrp for every fight
//   zelkar-make-replays check FILE... plays each file and counts what happens
//
// The fights are fixed by their seeds, so writing again gives the same files
// as long as the rules stay the same.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "coverage.h"
#include "fighter.h"

namespace zelkar::sim::maker {
namespace {

struct Fight {
  const char* name;
  const char* about;  // written as a comment into the file
  uint32_t seed;
  ConfigValues config{1, 10, 1};          // keypad, 10 ms, sound on: the sounds tell what happened
  std::vector<std::string> countTexts{};  // typed into the count box before the last
  StartCommand start;
  Plan right, left;  // players 0 and 1
  int64_t ticks = 3000;
  float noise = 0;  // chance per tick of a random key of either player
  // Play on until a match ends after `ticks`, then answer "x" and "n"
  // (matches ending before are answered "Y" and started again).
  bool untilTheEnd = false;
};

// Set-up steps: rows are moved one press at a time, values by holding a key
// (coarse +-10 or fine +-1 every 16 ticks).
using Steps = std::vector<std::pair<int, int>>;
const Steps kLightVehicle = {
    {kDown, 0}, {kDown, 0},      {kLeft, 16 * 20},     {kTurnMinus, 16 * 10},
    {kDown, 0}, {kLeft, 16 * 5}, {kTurnMinus, 16 * 10}};
const Steps kHeavyShells = {{kDown, 0}, {kRight, 16 * 10}, {kDown, 0}, {kDown, 0},
                            {kDown, 0}, {kRight, 16 * 2},  {kDown, 0}, {kRight, 16 * 25}};

const Steps kThickArmour = {{kRight, 16 * 9}};

std::vector<Fight> fights() {
  const Plan roam{.move = Move::Roam};
  const Plan quiet{.move = Move::Roam, .fireChance = 0, .aim = false};
  const Plan rammer{.move = Move::Ram, .fireChance = 0.2f};
  const Plan idle{.move = Move::Stay, .fireChance = 0, .aim = false};
  const StartCommand random{}, randomFriction{false, "", true};
  return {
      {.name = "fight",
       .about = "two fighters roaming and shooting, no friction",
       .seed = 101,
       .start = random,
       .right = roam,
       .left = roam,
       .ticks = 3000},
      {.name = "fight_friction",
       .about = "the same with friction",
       .seed = 102,
       .start = randomFriction,
       .right = roam,
       .left = roam,
       .ticks = 3000},
      {.name = "ramming",
       .about = "both drive at each other, one in thick armour",
       .seed = 103,
       .start = random,
       .right = {.move = Move::Ram, .fireChance = 0, .aim = false, .setup = kThickArmour},
       .left = {.move = Move::Ram, .fireChance = 0, .aim = false},
       .ticks = 3000},
      {.name = "walls_and_bases",
       .about = "driving about without shooting",
       .seed = 104,
       .start = random,
       .right = quiet,
       .left = quiet,
       .ticks = 3000},
      {.name = "eleven_obstacles",
       .about = "all eleven obstacles, with friction",
       .seed = 105,
       .start = {true, "11", true},
       .right = roam,
       .left = rammer,
       .ticks = 3000},
      {.name = "heavy_shells",
       .about = "heavy shells, a strong gun: big blasts that push",
       .seed = 106,
       .start = random,
       .right = {.move = Move::Roam, .fireChance = 0.5f, .setup = kHeavyShells},
       .left = {.move = Move::Ram, .fireChance = 0.5f, .setup = kHeavyShells},
       .ticks = 3000},
      {.name = "stall",
       .about = "both out of fuel and shells until the round stalls",
       .seed = 107,
       .start = randomFriction,
       .right = {.move = Move::Burn, .fireChance = 0.5f, .setup = kLightVehicle},
       .left = {.move = Move::Burn, .fireChance = 0.5f, .setup = kLightVehicle},
       .ticks = 4000},
      {.name = "letter_keys",
       .about = "right player on letter keys, 20 ms, sound off, noise",
       .seed = 108,
       .config = {0, 20, 0},
       .start = random,
       .right = roam,
       .left = roam,
       .ticks = 3000,
       .noise = 0.05f},
      {.name = "count_texts",
       .about = "refused obstacle counts, then one; back to set-up",
       .seed = 109,
       .countTexts = {"0", "12", "abc"},
       .start = {true, "1", false},
       .right = {.move = Move::Stay, .backChance = 0.01f},
       .left = {.move = Move::Roam, .backChance = 0.01f},
       .ticks = 3000},
      {.name = "random_keys",
       .about = "random keys of both players, window keys, restarts",
       .seed = 110,
       .start = random,
       .right = idle,
       .left = idle,
       .ticks = 3000,
       .noise = 0.5f},
      {.name = "match_to_ten",
       .about = "a whole match to 10 points, answered x, then n",
       .seed = 111,
       .start = random,
       .right = {.move = Move::Ram, .fireChance = 0.6f},
       .left = {.move = Move::Ram, .fireChance = 0.6f},
       .ticks = 3000,
       .untilTheEnd = true},
  };
}

// Plays a fight and returns its replay file.
std::string record(const Fight& f, Coverage& cov) {
  Recorder r(f.seed, [&cov](const Game& g, const DumpEvents& e) { cov.observe(g, e); });
  r.add(ConfigCommand{f.config});
  for (const std::string& text : f.countTexts) r.add(StartCommand{true, text, f.start.friction});
  r.add(f.start);
  Fighter right(0, f.right, f.seed * 31 + 1), left(1, f.left, f.seed * 31 + 2);
  Rng noise(f.seed * 31 + 3);
  static constexpr int16_t kF1 = 112, kF2 = 113, kCtrlOnly = 2;
  while (!r.game().ended) {
    if (r.game().awaitingAnswer) {
      r.add(AnswerCommand{"x"});  // not an answer: wiped, the question stays
      r.add(AnswerCommand{f.untilTheEnd && r.ticks() >= f.ticks ? "n" : "Y"});
      continue;
    }
    if (r.ticks() >= f.ticks && !f.untilTheEnd) break;
    if (r.game().screen.Picture2.visible) {
      r.add(f.start);
      right.newMatch(), left.newMatch();
    }
    right.play(r);
    left.play(r);
    if (noise.next() < f.noise) {
      const int16_t k = static_cast<int16_t>(
          noise.next() < 0.5f ? r.game().s.rightKeys[static_cast<int>(noise.next() * 8)]
                              : std::array<int16_t, 8>{65, 68, 87, 83, 88, 90, 67,
                                                       81}[static_cast<int>(noise.next() * 8)]);
      noise.next() < 0.6f ? r.down(k) : r.up(k);
      if (noise.next() < 0.002f) r.down(noise.next() < 0.5f ? kF1 : kF2, kCtrlOnly);
    }
    r.tick();
  }
  std::string text = replayText(r.commands());
  text.insert(text.find('\n') + 1, std::string("# ") + f.name + ": " + f.about + "\n");
  return text;
}

int write(const std::string& dir) {
  for (const Fight& f : fights()) {
    Coverage cov;
    const std::string text = record(f, cov);
    const std::string path = dir + "/" + f.name + ".zrp";
    std::ofstream out(path, std::ios::binary);
    if (!(out << text) || !out.flush()) {
      std::cerr << "zelkar-make-replays: cannot write " << path << "\n";
      return 1;
    }
    std::cout << f.name << ": " << cov.summary() << "\n";
  }
  return 0;
}

int check(const std::vector<std::string>& files) {
  for (const std::string& path : files) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const ParsedScript script = parseScript(text.str());
    if (!in || script.error) {
      std::cerr << path << ": cannot be played\n";
      return 1;
    }
    Coverage cov;
    std::ostringstream none;
    Runner runner(none, DumpMode::None, 0);
    runner.observeTicks([&cov](const Game& g, const DumpEvents& e) { cov.observe(g, e); });
    runner.run(script.commands);
    std::cout << path << ": " << cov.summary() << "\n";
  }
  return 0;
}

}  // namespace
}  // namespace zelkar::sim::maker

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "write") return zelkar::sim::maker::write(args[1]);
  if (args.size() >= 2 && args[0] == "check")
    return zelkar::sim::maker::check({args.begin() + 1, args.end()});
  std::cerr << "usage: zelkar-make-replays write DIR | check FILE...\n";
  return 2;
}
