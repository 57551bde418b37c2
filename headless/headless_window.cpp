#include "headless/headless_window.h"

#include <utility>

namespace zelkar::sim {

void HeadlessWindow::messageBox(std::string_view text, std::string_view title) {
  messages_.push_back({std::string(text), std::string(title)});
}

std::vector<Message> HeadlessWindow::takeMessages() { return std::exchange(messages_, {}); }

}  // namespace zelkar::sim
