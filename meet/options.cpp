#include "meet/options.h"

#include <arpa/inet.h>

#include <charconv>

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
    if (a != "--listen" && a != "--max-codes" && a != "--per-address-rate")
      return "unknown option \"" + a + "\"";
    if (i + 1 == args.size()) return a + " needs a value";
    const std::string& v = args[++i];
    unsigned long n = 0;
    if (a == "--listen") {
      if (!parseAddress(v, opts.listen))
        return "--listen wants ADDRESS:PORT (IPv4, port 1 to 65535), not \"" + v + "\"";
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
  return {};
}

}  // namespace zelkar::meet
