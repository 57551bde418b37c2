// Handlers for a std::variant, one lambda per alternative: std::visit over
// them does not compile when an alternative has none, so a packet kind
// added later cannot be forgotten where packets are written or handled.
#pragma once

namespace zelkar::net {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

}  // namespace zelkar::net
