// The two ways of asking a home router to forward a UDP port: UPnP-IGD
// (most routers) and NAT-PMP (some others, and miniupnpd serves both).
// Each call blocks, so they run on the port mapper's own thread; each is
// given the time left before the mapper stops waiting for it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zelkar::net {

struct PortmapRequest {
  uint16_t port = 0;  // the game's UDP port, asked for outside too
  uint32_t leaseS = 0;
  // Tests and the lab name the router instead of looking for it: the
  // UPnP description URL, the NAT-PMP gateway (dotted IPv4).
  std::string igdUrl;
  std::string natpmpGateway;
};

struct PortmapGrant {
  std::string externalIp;
  uint16_t externalPort = 0;
  uint32_t leaseS = 0;
};

class PortmapBackend {
 public:
  virtual ~PortmapBackend() = default;
  virtual const char* name() const = 0;
  // Maps (or renews) the port; nullopt with `error` set when refused or
  // silent.
  virtual std::optional<PortmapGrant> map(const PortmapRequest& r, int budgetMs,
                                          std::string& error) = 0;
  virtual void unmap(const PortmapRequest& r, int budgetMs) = 0;
};

std::unique_ptr<PortmapBackend> makeUpnpBackend();
std::unique_ptr<PortmapBackend> makeNatpmpBackend();

}  // namespace zelkar::net
