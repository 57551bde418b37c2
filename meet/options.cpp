#include "meet/options.h"

#include <arpa/inet.h>

#include <charconv>
#include <fstream>

namespace zelkar::meet {

namespace {

bool parseNumber(const std::string& text, unsigned long min, unsigned long max,
                 unsigned long& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && !text.empty() && out >= min && out <= max;
}

}  // namespace

bool parseAddress(const std::string& text, Address& out) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  in_addr ip{};
  unsigned long port = 0;
  if (inet_pton(AF_INET, text.substr(0, colon).c_str(), &ip) != 1 ||
      !parseNumber(text.substr(colon + 1), 1, 65535, port))
    return false;
  out = {ntohl(ip.s_addr), uint16_t(port)};
  return true;
}

std::string parseOptions(const std::vector<std::string>& args, Options& opts) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      opts.help = true;
      continue;
    }
    if (a != "--listen" && a != "--max-codes" && a != "--per-address-rate" && a != "--relay" &&
        a != "--relay-secret-file" && a != "--relay-lifetime")
      return "unknown option \"" + a + "\"";
    if (i + 1 == args.size()) return a + " needs a value";
    const std::string& v = args[++i];
    unsigned long n = 0;
    if (a == "--listen") {
      if (!parseAddress(v, opts.listen))
        return "--listen wants ADDRESS:PORT (IPv4, port 1 to 65535), not \"" + v + "\"";
    } else if (a == "--relay") {
      if (!parseAddress(v, opts.relay) || opts.relay.ip == 0)
        return "--relay wants the relay's ADDRESS:PORT (IPv4, port 1 to 65535), not \"" + v + "\"";
    } else if (a == "--relay-secret-file") {
      opts.relaySecretFile = v;
    } else if (a == "--relay-lifetime") {
      // At least ten minutes, the relay's own allocation lifetime; at most
      // a day, so that a leaked login is not worth keeping.
      if (!parseNumber(v, 600, 86'400, n))
        return "--relay-lifetime wants seconds from 600 to 86400, not \"" + v + "\"";
      opts.relayLifetimeS = uint32_t(n);
    } else if (a == "--max-codes") {
      if (!parseNumber(v, 1, 1'000'000, n))
        return "--max-codes wants a whole number from 1 to 1000000, not \"" + v + "\"";
      opts.limits.maxCodes = n;
    } else {
      if (!parseNumber(v, 1, 1000, n))
        return "--per-address-rate wants a whole number from 1 to 1000, not \"" + v + "\"";
      opts.limits.perAddressPerSecond = double(n);
      opts.limits.perAddressBurst = 2.0 * double(n);
    }
  }
  if ((opts.relay.ip != 0) != !opts.relaySecretFile.empty())
    return "--relay and --relay-secret-file go together";
  return {};
}

std::optional<std::string> readSecretFile(const std::string& path, std::string& error) {
  constexpr std::size_t kMaxSecretBytes = 4096;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read the relay secret file \"" + path + "\"";
    return std::nullopt;
  }
  // A bounded read: whatever the path names, at most one secret's worth.
  std::string text(kMaxSecretBytes + 1, '\0');
  file.read(text.data(), std::streamsize(text.size()));
  text.resize(std::size_t(file.gcount()));
  if (const auto eol = text.find('\n'); eol != std::string::npos) text.resize(eol);
  if (text.size() > kMaxSecretBytes) {
    error = "the relay secret file \"" + path + "\" holds more than a secret";
    return std::nullopt;
  }
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
    text.pop_back();
  if (text.empty()) {
    error = "the relay secret file \"" + path + "\" is empty";
    return std::nullopt;
  }
  return text;
}

}  // namespace zelkar::meet
