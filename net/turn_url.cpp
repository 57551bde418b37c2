#include "net/turn_url.h"

#include "net/address.h"

namespace zelkar::net {

std::optional<TurnUrl> parseTurnUrl(std::string_view text) {
  constexpr std::string_view kScheme = "turn://";
  if (!text.starts_with(kScheme)) return std::nullopt;
  text.remove_prefix(kScheme.size());
  const std::size_t at = text.rfind('@');
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view login = text.substr(0, at);
  const std::size_t colon = login.rfind(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == login.size())
    return std::nullopt;
  std::string where(text.substr(at + 1));
  if (where.find(':') == std::string::npos) where += ":" + std::to_string(kDefaultTurnPort);
  const auto endpoint = parseJoinAddress(where);
  if (!endpoint) return std::nullopt;
  return TurnUrl{endpoint->host, endpoint->port, std::string(login.substr(0, colon)),
                 std::string(login.substr(colon + 1))};
}

}  // namespace zelkar::net
