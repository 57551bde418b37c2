// The one record of everything the main window keeps between events.
//
// Member names and types follow the game's rules word for word so that a
// reader can go from a rule to the line that implements it:
//   Integer -> int16_t, Long -> int32_t, Single -> float, Double -> double.
// Positions and sizes are client pixels (x right, y down); velocities are
// pixels per simulated second; one tick is 0.03 simulated seconds.
// Colours are 24-bit values with blue in the high byte.
#pragma once

#include <array>
#include <cstdint>

namespace zelkar {

template <typename T, std::size_t N>
using Arr = std::array<T, N>;
template <typename T, std::size_t N, std::size_t M>
using Arr2 = std::array<std::array<T, M>, N>;

inline constexpr int kPlayers = 2;
inline constexpr int kShellSlots = 5;    // slots 0..4 fly; the arrays have 8 columns
inline constexpr int kObstacles = 11;    // obstacles 0..10
inline constexpr int kWalls = 35;        // walls 0..34 (34 is never used)
inline constexpr int kRingPoints = 512;  // vehicle probe ring
inline constexpr int kObstRingPoints = 256;
inline constexpr int kDirections = 64;  // gun directions
inline constexpr int kSettings = 6;
inline constexpr int kRowInBattle = 6;        // settingRow value of a player in battle
inline constexpr int16_t kNoContact = 100;    // lastContact / obstLastContact: none
inline constexpr float kTickSeconds = 0.03f;  // simulated seconds per tick

struct GameState {
  // --- settings from config.txt and the window keys
  int16_t keypadMode = 0;        // 0 letter keys, 1 numeric keypad (right player)
  int16_t tickInterval = 0;      // ms between ticks, at least 10
  int16_t tickPhase = 0;         // tick counter modulo 16
  int16_t stallTicks = 0;        // stranded player steps counted
  int16_t stallLimit = 0;        // 9000 without friction, 6000 with
  int16_t soundOn = 0;           // 1 = sounds play
  Arr<int16_t, 8> rightKeys{};   // virtual-key codes of the right player's controls
  Arr<float, 2> frictionCoef{};  // (0) static limit, (1) kinetic decel, px/s^2
  int16_t lastWall = 0;
  int16_t lastObstacle = 0;
  Arr<int16_t, 2> kitiLeft{};        // base left x, px
  Arr<int16_t, 2> kitiTop{};         // base top y, px
  int16_t kitiHalf = 0;              // base radius, px
  Arr<int32_t, 2> shellColorBase{};  // FFFFF8 / FFFFE8
  Arr<int16_t, 2> points{};

  // --- shared scratch (loop counters and temporaries of many procedures)
  int16_t scratchA = 0;
  int16_t scratchB = 0;
  int16_t scratchC = 0;
  int16_t probeAngle = 0;
  int16_t contactFlag = 0;  // 1 = the contact just handled destroyed the vehicle
  int16_t probeIndex = 0;
  int16_t countdownValue = 0;
  int16_t pl = 0;           // the tick's loop index; -1 / 2 end the player loop early
  int16_t fieldWidth = 0;   // px
  int16_t fieldHeight = 0;  // px
  int16_t subjectPlayer = 0;
  int32_t probeColor1 = 0;
  int32_t probeColor2 = 0;
  int32_t probeMasked1 = 0;
  int32_t probeMasked2 = 0;
  float workS1 = 0;
  float engineAccel = 0;  // px/s^2 of the stepped vehicle
  float workS2 = 0;
  float workS3 = 0;
  float kineticInUse = 0;  // px/s^2

  // --- probe ring and direction tables
  Arr<int16_t, kRingPoints> ringDX{};  // px from the vehicle's left
  Arr<int16_t, kRingPoints> ringDY{};  // px from the vehicle's top
  int16_t probeFrom = 0;
  int16_t probeTo = 0;
  float angleUnit = 0;  // rad per vehicle ring index
  float dirStep = 0;    // rad per gun direction
  Arr2<int16_t, kObstacles, kObstRingPoints> obstRingDX{};
  Arr2<int16_t, kObstacles, kObstRingPoints> obstRingDY{};
  float obstacleStep = 0;              // rad per obstacle ring index
  Arr<float, kDirections> dirLineX{};  // gun line end in the vehicle box, px
  Arr<float, kDirections> dirLineY{};
  Arr<float, kDirections> dirCos{};
  Arr<float, kDirections> dirSin{};
  Arr<float, kDirections> dirTurnX{};  // muzzle sideways speed per turn step, px/s
  Arr<float, kDirections> dirTurnY{};

  // --- vehicles
  Arr<float, 2> posX{};     // left, px
  Arr<float, 2> posY{};     // top, px
  Arr<float, 2> velX{};     // px/s
  Arr<float, 2> velY{};     // px/s
  Arr<float, 2> thrustX{};  // -1, 0, +1
  Arr<float, 2> thrustY{};
  Arr<float, 2> totalMass{};  // kg
  Arr<float, 2> prevX{};
  Arr<float, 2> prevY{};
  Arr<int16_t, 2> lastContact{};        // colour code last handled, kNoContact = none
  Arr<int16_t, 2> gunDir{};             // 0..63
  Arr<int16_t, 2> turnDir{};            // -1, 0, +1
  Arr2<float, 2, kSettings> setting{};  // armour, engine, fuel, shells, shell mass, force
  Arr<float, 2> fuelLeft{};
  Arr<int16_t, 2> shellsLeft{};
  Arr<int16_t, 2> settingRow{};  // 0..5 set-up, 6 battle
  Arr<int16_t, 2> prevSettingRow{};
  Arr<int16_t, 2> settingStep{};
  Arr<int16_t, kSettings> settingMax{};
  Arr<float, 2> fuelRate{};         // fuel per simulated second of thrust
  Arr<float, 2> armourFull{};       // energy units
  Arr<float, 2> armourLeft{};       // energy units; destroyed below 0
  Arr2<float, 2, 2> muzzleSpeed{};  // (p,0) turning, (p,1) still; px/s
  Arr<float, 2> barrelTime{};       // s
  int16_t vehicleSize = 0;          // px
  int16_t vehicleRadius = 0;        // px
  int16_t shellSize = 0;            // px
  int16_t shellHalf = 0;            // px
  int16_t blastWidth = 0;           // px
  int16_t shellBlastWidth = 0;      // px
  Arr<int16_t, 2> blastStart{};     // px

  // --- shells
  Arr2<float, 2, kShellSlots> shellX{};
  Arr2<float, 2, kShellSlots> shellY{};
  Arr2<float, 2, kShellSlots> shellVX{};
  Arr2<float, 2, kShellSlots> shellVY{};
  Arr2<float, 2, kShellSlots> shellPrevX{};
  Arr2<float, 2, kShellSlots> shellPrevY{};
  Arr2<int16_t, 2, 8> shellState{};  // 0 free, 1 flying, >=2 blast size px
  Arr<int16_t, 2> freeShellSlot{};
  int16_t noShellSlot = 0;

  // --- moving obstacles
  Arr<float, kObstacles> obstX{};
  Arr<float, kObstacles> obstY{};
  Arr<float, kObstacles> obstVX{};
  Arr<float, kObstacles> obstVY{};
  Arr<float, kObstacles> obstMass{};
  Arr<float, kObstacles> obstPrevX{};
  Arr<float, kObstacles> obstPrevY{};
  Arr<int16_t, kObstacles> obstHalf{};
  Arr<int16_t, kObstacles> obstSize{};
  int16_t obstacleWidth = 0;
  Arr<int16_t, kObstacles> obstLastContact{};

  // --- walls
  Arr<int16_t, kWalls> kabeLeft{};
  Arr<int16_t, kWalls> kabeTop{};
  Arr<int16_t, kWalls> kabeHalf{};
  int16_t wallHalf = 0;

  // --- distance tests and the collision parameter block
  double hitDX = 0;
  float hitDY = 0;
  float colX1 = 0;
  float colY1 = 0;
  float colX2 = 0;
  float colY2 = 0;
  float colHalf1 = 0;
  float colHalf2 = 0;
  float colVx1 = 0;
  float colVy1 = 0;
  float colVx2 = 0;
  float colVy2 = 0;
  float colMass1 = 0;
  float colMass2 = 0;
  float colCoef = 0;
};

}  // namespace zelkar
