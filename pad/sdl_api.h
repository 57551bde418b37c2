// The few SDL functions the pads need, found at run time in the shared
// library rather than linked: a machine without SDL still starts the game,
// keyboard only, instead of failing in the dynamic loader.
#pragma once

#include <SDL.h>

#include <string>

namespace zelkar::pad {

// Debian's runtime package libsdl2-2.0-0 installs this name.
inline constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";

struct SdlApi {
  decltype(&SDL_SetHint) setHint = nullptr;
  decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
  decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
  decltype(&SDL_GetError) getError = nullptr;
  decltype(&SDL_PollEvent) pollEvent = nullptr;
  decltype(&SDL_NumJoysticks) numJoysticks = nullptr;
  decltype(&SDL_IsGameController) isGameController = nullptr;
  decltype(&SDL_JoystickGetDeviceInstanceID) deviceInstanceId = nullptr;
  decltype(&SDL_GameControllerOpen) open = nullptr;
  decltype(&SDL_GameControllerClose) close = nullptr;
  decltype(&SDL_GameControllerName) name = nullptr;
  decltype(&SDL_GameControllerGetButton) button = nullptr;
  decltype(&SDL_GameControllerGetAxis) axis = nullptr;

  // Loads the library and every function; on failure says why in `error`
  // and leaves the table empty.
  bool load(const char* library, std::string& error);
  void unload();
  bool loaded() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

}  // namespace zelkar::pad
