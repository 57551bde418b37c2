#include "pad/sdl_pads.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "virtual_pad.h"

namespace zelkar::pad {
namespace {

using test::VirtualPad;

// What a poll told: each change's kind and slot.
using Told = std::vector<std::pair<PlugEvent::Kind, int>>;
Told told(const std::vector<PlugEvent>& events) {
  Told out;
  for (const PlugEvent& e : events) out.emplace_back(e.kind, e.slot);
  return out;
}

// Every field of a pad's state, to compare.
auto fields(const PadState& p) {
  return std::tuple(p.stickX, p.stickY, p.leftTrigger, p.rightTrigger, p.dpadUp, p.dpadDown,
                    p.dpadLeft, p.dpadRight, p.south, p.north, p.leftShoulder, p.rightShoulder);
}

TEST(SdlPads, TheFirstPadTakesTheFirstSlotAndAPulledPadFreesItsOwn) {
  SdlPads pads;
  ASSERT_TRUE(pads.start()) << pads.error();
  EXPECT_TRUE(pads.poll().empty());
  EXPECT_FALSE(pads.state(0));

  auto first = std::make_unique<VirtualPad>();
  VirtualPad second;
  ASSERT_TRUE(first->plugged() && second.plugged());
  const std::vector<PlugEvent> plugged = pads.poll();
  ASSERT_EQ(told(plugged), (Told{{PlugEvent::connected, 0}, {PlugEvent::connected, 1}}));
  EXPECT_EQ(plugged[0].name, "zelkar test pad");

  first->stick(-20000, 9000);
  first->button(SDL_CONTROLLER_BUTTON_A, true);
  second.button(SDL_CONTROLLER_BUTTON_Y, true);
  second.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
  second.trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, true);
  second.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_TRUE(pads.poll().empty());
  EXPECT_EQ(fields(pads.state(0).value()),
            fields(PadState{.stickX = -20000, .stickY = 9000, .south = true}));
  EXPECT_EQ(fields(pads.state(1).value()),
            fields(PadState{
                .leftTrigger = 32767, .dpadDown = true, .north = true, .rightShoulder = true}));

  // The first pad goes: its slot is empty and the second keeps its own.
  first.reset();
  EXPECT_EQ(told(pads.poll()), (Told{{PlugEvent::disconnected, 0}}));
  EXPECT_FALSE(pads.state(0));
  EXPECT_TRUE(pads.state(1));

  // A new pad fills the free first slot.
  VirtualPad third;
  EXPECT_EQ(told(pads.poll()), (Told{{PlugEvent::connected, 0}}));
  EXPECT_TRUE(pads.state(0));
}

TEST(SdlPads, AThirdPadWaitsForAFreeSlot) {
  SdlPads pads;
  ASSERT_TRUE(pads.start()) << pads.error();
  VirtualPad a, b;
  auto c = std::make_unique<VirtualPad>();
  c->button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(pads.poll().size(), 2u);
  auto held = [&](int slot) { return pads.state(slot).value().south; };
  EXPECT_FALSE(held(0) || held(1));
  b.pull();
  EXPECT_EQ(told(pads.poll()), (Told{{PlugEvent::disconnected, 1}, {PlugEvent::connected, 1}}));
  EXPECT_TRUE(held(1));
}

}  // namespace
}  // namespace zelkar::pad
