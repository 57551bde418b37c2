// The pad tests run on Qt's offscreen platform with SDL's dummy drivers:
// no display, no sound card and no real controller are needed, for SDL's
// virtual joysticks stand in for the pads.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_VIDEODRIVER")) qputenv("SDL_VIDEODRIVER", "dummy");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
