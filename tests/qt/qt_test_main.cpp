// The window and pad tests run on Qt's offscreen platform and SDL's dummy
// drivers unless told otherwise, so they need no display, sound card or
// controller (SDL's virtual joysticks stand in for the pads); one
// application object serves every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_VIDEODRIVER")) qputenv("SDL_VIDEODRIVER", "dummy");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
