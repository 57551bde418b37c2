#include "pad/sdl_api.h"

#include <dlfcn.h>

namespace zelkar::pad {

namespace {

template <typename Fn>
bool find(void* handle, const char* symbol, Fn& out, std::string& error) {
  out = reinterpret_cast<Fn>(dlsym(handle, symbol));
  if (out == nullptr) error = std::string(symbol) + " missing";
  return out != nullptr;
}

}  // namespace

bool SdlApi::load(const char* library, std::string& error) {
  if (handle_ != nullptr) return true;
  void* h = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    const char* why = dlerror();
    error = why != nullptr ? why : library;
    return false;
  }
  const bool all = find(h, "SDL_SetHint", setHint, error) &&
                   find(h, "SDL_InitSubSystem", initSubSystem, error) &&
                   find(h, "SDL_QuitSubSystem", quitSubSystem, error) &&
                   find(h, "SDL_GetError", getError, error) &&
                   find(h, "SDL_PollEvent", pollEvent, error) &&
                   find(h, "SDL_NumJoysticks", numJoysticks, error) &&
                   find(h, "SDL_IsGameController", isGameController, error) &&
                   find(h, "SDL_JoystickGetDeviceInstanceID", deviceInstanceId, error) &&
                   find(h, "SDL_GameControllerOpen", open, error) &&
                   find(h, "SDL_GameControllerClose", close, error) &&
                   find(h, "SDL_GameControllerName", name, error) &&
                   find(h, "SDL_GameControllerGetButton", button, error) &&
                   find(h, "SDL_GameControllerGetAxis", axis, error);
  if (!all) {
    // An older SDL without one of them: as good as none.
    dlclose(h);
    *this = SdlApi{};
    return false;
  }
  handle_ = h;
  return true;
}

void SdlApi::unload() {
  if (handle_ != nullptr) dlclose(handle_);
  *this = SdlApi{};
}

}  // namespace zelkar::pad
