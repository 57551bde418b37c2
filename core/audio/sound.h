// Sound requests. The core never plays anything: each request is queued in
// the game value and the front end (or the headless runner) drains the queue.
// The sound switch is read at every request, so a change of settings takes
// effect from the next event on.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zelkar {

// The sounds keep the rules' names: the JSON output and scripts spell them so.
enum class Sound : uint8_t { hassyaon, bakuhatuon1, bakuhatuon2, syoutotuon };

std::string_view soundName(Sound s);

// A bounded queue: a tick makes at most a few dozen requests, and a request
// must never allocate or block. Overflowing requests are counted, not kept.
class SoundQueue {
 public:
  static constexpr std::size_t kCapacity = 256;
  void push(Sound s) {
    if (size_ < kCapacity)
      items_[size_++] = s;
    else
      ++dropped_;
  }
  std::size_t size() const { return size_; }
  Sound operator[](std::size_t i) const { return items_[i]; }
  std::size_t dropped() const { return dropped_; }
  void clear() { size_ = 0, dropped_ = 0; }

 private:
  std::array<Sound, kCapacity> items_{};
  std::size_t size_ = 0;
  std::size_t dropped_ = 0;
};

struct Game;
// The four sound procedures: firing (hassyaon), a shell burst (bakuhatuon1),
// a vehicle explosion (bakuhatuon2), a collision (syoutotuon).
void playFireSound(Game& g);
void playShellBurstSound(Game& g);
void playVehicleExplosionSound(Game& g);
void playCollisionSound(Game& g);

}  // namespace zelkar
