// NAT-PMP: one UDP request to the default gateway's port 5351, resent with
// the library's doubling timeout until the budget runs out.
#include <arpa/inet.h>
// The library describes its error numbers only when asked to.
#define ENABLE_STRNATPMPERR
#include <natpmp.h>
#include <poll.h>

#include <chrono>

#include "net/portmap_backend.h"

namespace zelkar::net {

namespace {

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Reads the answer to the pending request, resending as the library says,
// until it comes or `deadline` passes.
int awaitAnswer(natpmp_t& n, natpmpresp_t& response, int64_t deadlineMs) {
  int r = NATPMP_TRYAGAIN;
  while (r == NATPMP_TRYAGAIN) {
    const int64_t left = deadlineMs - nowMs();
    if (left <= 0) return NATPMP_TRYAGAIN;
    timeval tv{};
    getnatpmprequesttimeout(&n, &tv);
    const int64_t waitMs = std::min<int64_t>(left, tv.tv_sec * 1000 + tv.tv_usec / 1000 + 1);
    pollfd pfd{n.s, POLLIN, 0};
    poll(&pfd, 1, int(waitMs));
    r = readnatpmpresponseorretry(&n, &response);
  }
  return r;
}

class Natpmp final : public PortmapBackend {
 public:
  const char* name() const override { return "NAT-PMP"; }

  std::optional<PortmapGrant> map(const PortmapRequest& req, int budgetMs,
                                  std::string& error) override {
    const int64_t deadline = nowMs() + budgetMs;
    natpmp_t n;
    if (!open(n, req, error)) return std::nullopt;
    natpmpresp_t resp{};
    PortmapGrant grant;
    int r = sendpublicaddressrequest(&n);
    if (r >= 0) r = awaitAnswer(n, resp, deadline);
    if (r >= 0) {
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &resp.pnu.publicaddress.addr, text, sizeof text);
      grant.externalIp = text;
      r = sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, req.port, req.port, req.leaseS);
    }
    if (r >= 0) r = awaitAnswer(n, resp, deadline);
    closenatpmp(&n);
    if (r < 0) {
      error = r == NATPMP_TRYAGAIN ? "no answer" : strnatpmperr(r);
      return std::nullopt;
    }
    grant.externalPort = resp.pnu.newportmapping.mappedpublicport;
    grant.leaseS = resp.pnu.newportmapping.lifetime;
    return grant;
  }

  void unmap(const PortmapRequest& req, int budgetMs) override {
    natpmp_t n;
    std::string ignored;
    if (!open(n, req, ignored)) return;
    // A lifetime of zero removes the mapping.
    natpmpresp_t resp{};
    if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, req.port, 0, 0) >= 0)
      awaitAnswer(n, resp, nowMs() + budgetMs);
    closenatpmp(&n);
  }

 private:
  static bool open(natpmp_t& n, const PortmapRequest& req, std::string& error) {
    in_addr gateway{};
    const bool forced = !req.natpmpGateway.empty();
    if (forced && inet_pton(AF_INET, req.natpmpGateway.c_str(), &gateway) != 1) {
      error = "bad gateway address";
      return false;
    }
    const int r = initnatpmp(&n, forced ? 1 : 0, gateway.s_addr);
    if (r < 0) {
      error = strnatpmperr(r);
      return false;
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<PortmapBackend> makeNatpmpBackend() { return std::make_unique<Natpmp>(); }

}  // namespace zelkar::net
