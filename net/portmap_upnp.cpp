// UPnP-IGD: find the router by SSDP (or take its description URL), then
// AddPortMapping on its WAN connection service. The router's answers to
// the HTTP calls cannot be hurried (miniupnpc waits a few seconds), which
// is why the mapper runs this on a thread of its own.
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>

#include <algorithm>
#include <string>

#include "net/portmap_backend.h"

namespace zelkar::net {

namespace {

// How long the search for routers listens for answers, at most.
constexpr int kLongestDiscoveryMs = 1000;
// The TTL of the search: the router is one hop away.
constexpr unsigned char kSearchTtl = 2;
// Routers that only keep mappings "until reboot" refuse a lease with this.
constexpr int kOnlyPermanentLeases = 725;

class Upnp final : public PortmapBackend {
 public:
  ~Upnp() override {
    if (found_) FreeUPNPUrls(&urls_);
  }
  const char* name() const override { return "UPnP"; }

  std::optional<PortmapGrant> map(const PortmapRequest& req, int budgetMs,
                                  std::string& error) override {
    if (!found_ && !find(req, budgetMs, error)) return std::nullopt;
    const std::string port = std::to_string(req.port);
    uint32_t leaseS = req.leaseS;
    const auto add = [&] {
      return UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, port.c_str(),
                                 port.c_str(), lanAddress_, "Zelkar", "UDP", nullptr,
                                 std::to_string(leaseS).c_str());
    };
    int r = add();
    if (r == kOnlyPermanentLeases) {
      leaseS = 0;  // permanent: removed when the game ends
      r = add();
    }
    if (r != UPNPCOMMAND_SUCCESS) {
      error = std::string("the router refused: ") + strupnperror(r);
      return std::nullopt;
    }
    PortmapGrant grant;
    grant.externalPort = req.port;
    grant.leaseS = leaseS;
    char external[40] = {};
    if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, external) ==
        UPNPCOMMAND_SUCCESS)
      grant.externalIp = external;
    return grant;
  }

  void unmap(const PortmapRequest& req, int /*budgetMs*/) override {
    if (!found_) return;
    const std::string port = std::to_string(req.port);
    UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, port.c_str(), "UDP", nullptr);
  }

 private:
  bool find(const PortmapRequest& req, int budgetMs, std::string& error) {
    int r = 0;
    if (!req.igdUrl.empty()) {
      r = UPNP_GetIGDFromUrl(req.igdUrl.c_str(), &urls_, &data_, lanAddress_, sizeof lanAddress_);
    } else {
      int searchError = 0;
      UPNPDev* devices = upnpDiscover(std::clamp(budgetMs, 1, kLongestDiscoveryMs), nullptr,
                                      nullptr, UPNP_LOCAL_PORT_ANY, 0, kSearchTtl, &searchError);
      if (devices == nullptr) {
        error = "no router answered the search";
        return false;
      }
      r = UPNP_GetValidIGD(devices, &urls_, &data_, lanAddress_, sizeof lanAddress_);
      freeUPNPDevlist(devices);
      // 1: a connected gateway. 2: a gateway that says it is not
      // connected or whose outside address is a private or reserved one
      // (a router behind another): still asked, as it may well forward,
      // and the address it reports tells the player. 3: not a gateway.
      if (r != 1 && r != 2) {
        if (r > 0) FreeUPNPUrls(&urls_);
        error = "no Internet gateway among the devices that answered";
        return false;
      }
    }
    if (r <= 0) {
      error = "the router's description could not be read";
      return false;
    }
    found_ = true;
    return true;
  }

  bool found_ = false;
  UPNPUrls urls_{};
  IGDdatas data_{};
  char lanAddress_[64] = {};
};

}  // namespace

std::unique_ptr<PortmapBackend> makeUpnpBackend() { return std::make_unique<Upnp>(); }

}  // namespace zelkar::net
