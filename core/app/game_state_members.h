// Every member of GameState, in declaration order, with its name.
//
// The one list that code walking the whole record uses (the headless
// runner's JSON dump, a state hash), so that a member added to the record
// is added here once and shows up everywhere. The test of this file reads
// game_state.h and fails when the two lists differ.
#pragma once

#include <concepts>
#include <type_traits>

#include "app/game_state.h"

namespace zelkar {

// Calls visit("name", member) for each member, first to last. State is
// GameState or const GameState, so the same list serves readers and writers.
template <typename State, typename Visitor>
requires std::same_as<std::remove_const_t<State>, GameState>
void forEachMember(State& s, Visitor&& visit) {
  // The name is spelled once, so a name can never pair with another member.
#define ZELKAR_MEMBER(m) visit(#m, s.m)
  ZELKAR_MEMBER(keypadMode);
  ZELKAR_MEMBER(tickInterval);
  ZELKAR_MEMBER(tickPhase);
  ZELKAR_MEMBER(stallTicks);
  ZELKAR_MEMBER(stallLimit);
  ZELKAR_MEMBER(soundOn);
  ZELKAR_MEMBER(rightKeys);
  ZELKAR_MEMBER(frictionCoef);
  ZELKAR_MEMBER(lastWall);
  ZELKAR_MEMBER(lastObstacle);
  ZELKAR_MEMBER(kitiLeft);
  ZELKAR_MEMBER(kitiTop);
  ZELKAR_MEMBER(kitiHalf);
  ZELKAR_MEMBER(shellColorBase);
  ZELKAR_MEMBER(points);

  ZELKAR_MEMBER(scratchA);
  ZELKAR_MEMBER(scratchB);
  ZELKAR_MEMBER(scratchC);
  ZELKAR_MEMBER(probeAngle);
  ZELKAR_MEMBER(contactFlag);
  ZELKAR_MEMBER(probeIndex);
  ZELKAR_MEMBER(countdownValue);
  ZELKAR_MEMBER(pl);
  ZELKAR_MEMBER(fieldWidth);
  ZELKAR_MEMBER(fieldHeight);
  ZELKAR_MEMBER(subjectPlayer);
  ZELKAR_MEMBER(probeColor1);
  ZELKAR_MEMBER(probeColor2);
  ZELKAR_MEMBER(probeMasked1);
  ZELKAR_MEMBER(probeMasked2);
  ZELKAR_MEMBER(workS1);
  ZELKAR_MEMBER(engineAccel);
  ZELKAR_MEMBER(workS2);
  ZELKAR_MEMBER(workS3);
  ZELKAR_MEMBER(kineticInUse);

  ZELKAR_MEMBER(ringDX);
  ZELKAR_MEMBER(ringDY);
  ZELKAR_MEMBER(probeFrom);
  ZELKAR_MEMBER(probeTo);
  ZELKAR_MEMBER(angleUnit);
  ZELKAR_MEMBER(dirStep);
  ZELKAR_MEMBER(obstRingDX);
  ZELKAR_MEMBER(obstRingDY);
  ZELKAR_MEMBER(obstacleStep);
  ZELKAR_MEMBER(dirLineX);
  ZELKAR_MEMBER(dirLineY);
  ZELKAR_MEMBER(dirCos);
  ZELKAR_MEMBER(dirSin);
  ZELKAR_MEMBER(dirTurnX);
  ZELKAR_MEMBER(dirTurnY);

  ZELKAR_MEMBER(posX);
  ZELKAR_MEMBER(posY);
  ZELKAR_MEMBER(velX);
  ZELKAR_MEMBER(velY);
  ZELKAR_MEMBER(thrustX);
  ZELKAR_MEMBER(thrustY);
  ZELKAR_MEMBER(totalMass);
  ZELKAR_MEMBER(prevX);
  ZELKAR_MEMBER(prevY);
  ZELKAR_MEMBER(lastContact);
  ZELKAR_MEMBER(gunDir);
  ZELKAR_MEMBER(turnDir);
  ZELKAR_MEMBER(setting);
  ZELKAR_MEMBER(fuelLeft);
  ZELKAR_MEMBER(shellsLeft);
  ZELKAR_MEMBER(settingRow);
  ZELKAR_MEMBER(prevSettingRow);
  ZELKAR_MEMBER(settingStep);
  ZELKAR_MEMBER(settingMax);
  ZELKAR_MEMBER(fuelRate);
  ZELKAR_MEMBER(armourFull);
  ZELKAR_MEMBER(armourLeft);
  ZELKAR_MEMBER(muzzleSpeed);
  ZELKAR_MEMBER(barrelTime);
  ZELKAR_MEMBER(vehicleSize);
  ZELKAR_MEMBER(vehicleRadius);
  ZELKAR_MEMBER(shellSize);
  ZELKAR_MEMBER(shellHalf);
  ZELKAR_MEMBER(blastWidth);
  ZELKAR_MEMBER(shellBlastWidth);
  ZELKAR_MEMBER(blastStart);

  ZELKAR_MEMBER(shellX);
  ZELKAR_MEMBER(shellY);
  ZELKAR_MEMBER(shellVX);
  ZELKAR_MEMBER(shellVY);
  ZELKAR_MEMBER(shellPrevX);
  ZELKAR_MEMBER(shellPrevY);
  ZELKAR_MEMBER(shellState);
  ZELKAR_MEMBER(freeShellSlot);
  ZELKAR_MEMBER(noShellSlot);

  ZELKAR_MEMBER(obstX);
  ZELKAR_MEMBER(obstY);
  ZELKAR_MEMBER(obstVX);
  ZELKAR_MEMBER(obstVY);
  ZELKAR_MEMBER(obstMass);
  ZELKAR_MEMBER(obstPrevX);
  ZELKAR_MEMBER(obstPrevY);
  ZELKAR_MEMBER(obstHalf);
  ZELKAR_MEMBER(obstSize);
  ZELKAR_MEMBER(obstacleWidth);
  ZELKAR_MEMBER(obstLastContact);

  ZELKAR_MEMBER(kabeLeft);
  ZELKAR_MEMBER(kabeTop);
  ZELKAR_MEMBER(kabeHalf);
  ZELKAR_MEMBER(wallHalf);

  ZELKAR_MEMBER(hitDX);
  ZELKAR_MEMBER(hitDY);
  ZELKAR_MEMBER(colX1);
  ZELKAR_MEMBER(colY1);
  ZELKAR_MEMBER(colX2);
  ZELKAR_MEMBER(colY2);
  ZELKAR_MEMBER(colHalf1);
  ZELKAR_MEMBER(colHalf2);
  ZELKAR_MEMBER(colVx1);
  ZELKAR_MEMBER(colVy1);
  ZELKAR_MEMBER(colVx2);
  ZELKAR_MEMBER(colVy2);
  ZELKAR_MEMBER(colMass1);
  ZELKAR_MEMBER(colMass2);
  ZELKAR_MEMBER(colCoef);
#undef ZELKAR_MEMBER
}

}  // namespace zelkar
