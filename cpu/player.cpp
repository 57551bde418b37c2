#include "cpu/player.h"

#include <algorithm>
#include <cmath>

#include "cpu/route.h"
#include "cpu/setup_keys.h"
#include "cpu/sight.h"
#include "input/player_actions.h"
#include "sim/colour_codes.h"

namespace zelkar::cpu {

namespace {

constexpr float kHazardSeconds = 1.5f;  // s: about the time to stop from cruising speed
constexpr float kMaxFlightSeconds = 9;  // s: a longer flight gives the target all the time to leave
constexpr int kAimSpread = 2;           // directions either side of the lead's looked at
constexpr int kSpotTicks = 15;          // ticks between choices of where to stand
constexpr float kStandPx = 15;          // px: this near the chosen spot it stands still
constexpr float kHomeArmourShare = 0.4f;   // drives home to renew armour below this share
constexpr float kTraceStepPx = 2.5f;       // px between the pixels read along a shot's path
constexpr float kBaseClearSeconds = 1.0f;  // s: long enough to drive off the base after confirming
constexpr int kMaxBaseWaitTicks = 100;     // 3 s: longer than an obstacle takes to pass
constexpr float kHomeSlack = 0.3f;         // px/s: precise near the base, the pad is small
constexpr float kStrandedPxs = 1.0f;       // px/s: slower without fuel, it is going nowhere
// px: the distance kept from a rammer, some seconds of shots before it
// arrives instead of one, and time to step aside.
constexpr float kStandOffPx = 200;
// s: a vehicle this far from striking it leaves it time to confirm and
// drive off its base.
constexpr float kBearDownSeconds = 3;
// px between the centres of two shells at which one meets the other: its
// probe reads 2.5 px ahead of its centre, the other is 4 px wide, and both
// move on between the points the trace looks at.
constexpr float kShellsMeetPx = 6;

float length(Vec v) { return std::sqrt(dot(v, v)); }

}  // namespace

Player::Player(int side, int level, uint32_t seed)
    : p_(side == 0 ? 0 : 1),
      level_(std::clamp(level, kMinLevel, kMaxLevel)),
      traits_(&traitsOf(level_)),
      rng_(seed, p_) {}

KeyEvents Player::decide(const Game& g) {
  KeyEvents out;
  if (!g.matchStarted || g.awaitingAnswer || g.ended || g.screen.timer1Interval <= 0) return out;
  const GameState& s = g.s;
  const int q = 1 - p_;
  // The other's panel shows while it sets up; its engine among the instruments.
  if (s.settingRow[q] != kRowInBattle) seen_.armourMm = s.setting[q][0];
  seen_.engineKn = s.setting[q][1];
  const bool watching = traits_->playSense && s.settingRow[q] == kRowInBattle;
  if (watching) watch_.see(s, p_);
  if (s.settingRow[p_] != kRowInBattle) {
    home_ = false;
    nextLook_ = ticks_;  // look at once when the battle begins
    // Wait for a passing obstacle, but not for one that lingers: the
    // vehicle on its base can be struck in set-up too.
    const bool wait = baseIsThreatened(s, p_, kBaseClearSeconds) && waited_ < kMaxBaseWaitTicks;
    waited_ = wait ? waited_ + 1 : 0;
    if (!wait && watching && watch_.rams() && bearsDown(s)) {
      // Struck in set-up, both vehicles burst and both score: better to
      // fight with the panel as it stands than to wait for the blow.
      if (s.settingStep[p_] != 0) out.push({false, controlKey(s, p_, kLeft)});
      out.push({true, controlKey(s, p_, kFire)});
      return out;
    }
    setupKeys(out, s, p_, settingsAgainst(*traits_, seen_), !wait);
    return out;
  }
  battle(out, s, PixelReader(g.probe, g.screen.pictures));
  ++ticks_;
  return out;
}

bool Player::wantsHome(const GameState& s) const {
  if (s.shellsLeft[p_] <= 0) return true;
  if (level_ > 1 && s.armourLeft[p_] < kHomeArmourShare * s.armourFull[p_]) return true;
  // Enough fuel to drive home and stop there twice over, and some to spare.
  const Vec base{float(s.kitiLeft[p_] + s.kitiHalf), float(s.kitiTop[p_] + s.kitiHalf)};
  const float dist = length(base - centreOf(s, p_));
  const float accel = std::max(engineAccelOf(s, p_), 1.0f);
  const float thrustSeconds = 2.0f * std::sqrt(dist / accel) * 2.0f + 4.0f;
  return s.fuelLeft[p_] < s.fuelRate[p_] * thrustSeconds;
}

void Player::look(const GameState& s, const PixelReader& probe) {
  const int q = 1 - p_;
  const Vec me = centreOf(s, p_), enemy = centreOf(s, q);

  // Aim: where the target will be when the shell gets there, or where it is.
  Vec aimAt = enemy - me;
  if (traits_->lead) {
    const Vec relVel = velocityOf(s, q) - velocityOf(s, p_);
    const float t = interceptSeconds(aimAt, relVel, s.muzzleSpeed[p_][1]);
    if (t > 0) aimAt = aimAt + relVel * t;
  }
  aimDir_ = directionTowards(aimAt, s.tables().dirStep);
  // The 64 directions are coarse: of the nearest few, take the one whose
  // shell, as it would really leave the muzzle, passes closest.
  if (traits_->lead) aimDir_ = closestOf(s, aimDir_);
  // A weaker hand misses by a direction or two without knowing it: it
  // fires as if the gun pointed where it meant to aim.
  aimError_ = traits_->aimNoise > 0 ? rng_.between(-traits_->aimNoise, traits_->aimNoise) : 0;
  aimDir_ = (aimDir_ + aimError_) & (kDirections - 1);
  drive(s, probe);
}

void Player::drive(const GameState& s, const PixelReader& probe) {
  // Home to re-arm, or to a spot at the liked range from the target.
  const Vec me = centreOf(s, p_);
  Vec goal;
  float slack = 1.0f;
  if (home_) {
    goal = {float(s.kitiLeft[p_] + s.kitiHalf), float(s.kitiTop[p_] + s.kitiHalf)};
    slack = kHomeSlack;
  } else {
    // A spot round the target with a clear line to it, chosen afresh now
    // and then; between choices it moves along with the target.
    if (ticks_ >= nextSpot_) {
      Vec unused;
      spot_ = chooseSpot(s, probe, p_, range(), spot_, unused);
      nextSpot_ = ticks_ + kSpotTicks;
    }
    goal = spot_ >= 0 ? spotAt(s, p_, range(), spot_) : me;
    // Close enough: stand and save the fuel.
    if (length(goal - me) < kStandPx) goal = me;
  }
  goal = routeTowards(s, p_, goal);
  // Look ahead at least as long as stopping takes, and a second more.
  const float stopSeconds = length(velocityOf(s, p_)) / std::max(engineAccelOf(s, p_), 1.0f);
  const float horizon = std::max(kHazardSeconds, stopSeconds + 1.0f);
  const Vec missing = missingVelocity(s, p_, goal, traits_->cruisePx);
  const Vec keepOff =
      hazardWish(s, p_, horizon) * 1.5f + dodgeWish(s, p_, traits_->dodgeSeconds) * 2.0f;
  thrust_ = thrustFor(seekWish(missing, slack) + keepOff, 0.3f);
  // Held until the next look, a key gives more speed than was missing and
  // the next look thrusts back: to and fro, the tank empties. A tap as long
  // as the missing speed needs, unless keeping off something.
  const float perTick = std::max(engineAccelOf(s, p_), 1.0f) * kTickSeconds;  // px/s
  thrustTicks_ = dot(keepOff, keepOff) > 0
                     ? traits_->reactTicks
                     : std::max(1, static_cast<int>(std::lround(length(missing) / perTick)));
  thrustFrom_ = ticks_;
}

float Player::range() const {
  return traits_->playSense && watch_.rams() ? kStandOffPx : traits_->rangePx;
}

int Player::closestOf(const GameState& s, int around) const {
  const int q = 1 - p_;
  const Vec target = centreOf(s, q), targetVel = velocityOf(s, q);
  int best = around;
  float bestMiss = 0;
  for (int k = -kAimSpread; k <= kAimSpread; ++k) {
    const int d = (around + k) & (kDirections - 1);
    const Launch shot = launchOf(s, p_, d, 0);
    const float miss = closestApproach(target - shot.centre, targetVel - shot.velocity).distance;
    if (k == -kAimSpread || miss < bestMiss) {
      best = d;
      bestMiss = miss;
    }
  }
  return best;
}

bool Player::shotIsGood(const GameState& s, const PixelReader& probe, int turn) const {
  const int q = 1 - p_;
  const Launch shot = launchOf(s, p_, (s.gunDir[p_] - aimError_) & (kDirections - 1), turn);
  const Vec target = centreOf(s, q), targetVel = velocityOf(s, q);
  const Pass pass = closestApproach(target - shot.centre, targetVel - shot.velocity);
  if (pass.distance >= traits_->fireMiss || pass.seconds > kMaxFlightSeconds) return false;
  // Follow the shell's path on the screen: anything it would meet before
  // reaching the target detonates it.
  const float speed = length(shot.velocity);
  if (speed <= 0) return false;
  const float dt = kTraceStepPx / speed;
  const float hi = s.fieldWidth - s.shellSize, low = s.fieldHeight - s.shellSize;
  for (float t = 0; t <= pass.seconds; t += dt) {
    const Vec at = shot.centre + shot.velocity * t;
    const float left = at.x - s.shellHalf, top = at.y - s.shellHalf;
    if (left < 0 || top < 0 || left > hi || top > low) return false;  // leaves the arena
    const Vec there = target + targetVel * t;
    if (length(at - there) < kStrikePx) return true;
    // Fired into the other's shells coming the other way, it bursts on them.
    if (traits_->playSense)
      for (int k = 0; k < kShellSlots; ++k) {
        if (s.shellState[q][k] != 1) continue;
        const Vec theirs{s.shellX[q][k] + s.shellHalf + s.shellVX[q][k] * t,
                         s.shellY[q][k] + s.shellHalf + s.shellVY[q][k] * t};
        if (length(at - theirs) < kShellsMeetPx) return false;
      }
    const int32_t c =
        probe.getPixel(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))) &
        kRgbMask;
    if (isFreeForShell(c)) continue;
    // Flying shells move on; only what stays in the way counts.
    if (shellColourBase(c) == s.shellColorBase[p_] || shellColourBase(c) == s.shellColorBase[q])
      continue;
    return false;
  }
  return true;
}

bool Player::bearsDown(const GameState& s) const {
  const int q = 1 - p_;
  const Vec towards = centreOf(s, p_) - centreOf(s, q);
  const float dist = length(towards);
  if (dist <= 0) return true;
  const float closing = dot(velocityOf(s, q) - velocityOf(s, p_), towards) / dist;
  return closing > 0 && (dist - s.vehicleSize) / closing < kBearDownSeconds;
}

void Player::battle(KeyEvents& out, const GameState& s, const PixelReader& probe) {
  home_ = home_ || wantsHome(s);
  if (home_ && zelkar::onOwnBase(s, p_)) {
    out.push({true, controlKey(s, p_, kBack)});
    return;
  }
  const bool looking = ticks_ >= nextLook_;
  if (looking) {
    look(s, probe);
    nextLook_ = ticks_ + traits_->reactTicks;
  } else if (home_) {
    // The way home is routine: even a beginner steers it tick by tick, or
    // it would overshoot the small pad and burn its last fuel.
    drive(s, probe);
  }
  // The hands keep working between looks: the gun turns on to the chosen
  // direction and the thrust stays on as long as decided.
  const int turn = turnTowards(s.gunDir[p_], aimDir_);
  const Thrust thrust = ticks_ - thrustFrom_ < thrustTicks_ ? thrust_ : Thrust{};
  steerCommand(out, s, p_, static_cast<int>(s.thrustX[p_]), thrust.x, kLeft, kRight);
  steerCommand(out, s, p_, static_cast<int>(s.thrustY[p_]), thrust.y, kUp, kDown);
  steerCommand(out, s, p_, s.turnDir[p_], turn, kTurnMinus, kTurnPlus);
  // The shot leaves after the turning key above: it carries that throw.
  const bool ready = s.shellsLeft[p_] > 0 && s.freeShellSlot[p_] < s.noShellSlot &&
                     ticks_ - lastShot_ >= traits_->fireGapTicks;
  // Standing without fuel there is nothing better to do with the shells:
  // fired at the other, they may yet strike it or a blast near it, and once
  // both sides are empty the stalled round ends.
  const bool stranded =
      s.fuelLeft[p_] <= 0 && length(velocityOf(s, p_)) < kStrandedPxs && turn == 0;
  if (ready && (looking || traits_->reactTicks <= 1) && (stranded || shotIsGood(s, probe, turn))) {
    out.push({true, controlKey(s, p_, kFire)});
    lastShot_ = ticks_;
  }
}

}  // namespace zelkar::cpu
