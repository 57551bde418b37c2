#include "audio/sound.h"

#include "app/game.h"

namespace zelkar {

std::string_view soundName(Sound s) {
  switch (s) {
    case Sound::hassyaon:
      return "hassyaon";
    case Sound::bakuhatuon1:
      return "bakuhatuon1";
    case Sound::bakuhatuon2:
      return "bakuhatuon2";
    case Sound::syoutotuon:
      return "syoutotuon";
  }
  return "?";
}

namespace {
void request(Game& g, Sound s) {
  // Only the value 1 plays; any other switch value means silence.
  if (g.s.soundOn == 1) g.sounds.push(s);
}
}  // namespace

void playFireSound(Game& g) { request(g, Sound::hassyaon); }
void playShellBurstSound(Game& g) { request(g, Sound::bakuhatuon1); }
void playVehicleExplosionSound(Game& g) { request(g, Sound::bakuhatuon2); }
void playCollisionSound(Game& g) { request(g, Sound::syoutotuon); }

}  // namespace zelkar
