#include "net/portmap.h"

#include <chrono>

namespace zelkar::net {

using Clock = std::chrono::steady_clock;

// What the caller and the thread share. The thread holds it too, so a
// thread still stuck in a router's slow answer when the mapper goes away
// (it is then left to finish alone) never touches freed memory.
struct Portmapper::Shared {
  PortmapConfig config;
  Clock::time_point started = Clock::now();
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  PortmapStatus status;
  bool stop = false;
  bool done = false;
};

namespace {

// NAT-PMP is one datagram and is tried first with part of the budget;
// UPnP, with its search and HTTP calls, gets the rest.
constexpr int kNatpmpShare = 3;  // a third

void work(const std::shared_ptr<Portmapper::Shared>& s) {
  const PortmapRequest& req = s->config.request;
  std::unique_ptr<PortmapBackend> backends[] = {makeNatpmpBackend(), makeUpnpBackend()};
  PortmapBackend* granted = nullptr;
  PortmapGrant grant;
  std::string failures;
  const int budgets[] = {s->config.budgetMs / kNatpmpShare,
                         s->config.budgetMs - s->config.budgetMs / kNatpmpShare};
  for (int i = 0; i < 2 && !granted; ++i) {
    std::string error;
    if (auto g = backends[i]->map(req, budgets[i], error)) {
      grant = *g;
      granted = backends[i].get();
    } else {
      failures += (failures.empty() ? "" : "; ") + std::string(backends[i]->name()) + ": " + error;
    }
  }
  std::unique_lock lock(s->mutex);
  if (!granted) {
    s->status.state = PortmapState::Failed;
    s->status.failure = failures;
    s->done = true;
    s->changed.notify_all();
    return;
  }
  s->status = {PortmapState::Mapped, granted->name(), grant.externalIp, grant.externalPort, {}};
  s->changed.notify_all();
  // Renew at half the lease (a lease of 0 is for good: nothing to renew).
  while (!s->stop) {
    if (grant.leaseS == 0) {
      s->changed.wait(lock, [&] { return s->stop; });
      break;
    }
    const auto renewAt = Clock::now() + std::chrono::seconds(grant.leaseS / 2);
    if (s->changed.wait_until(lock, renewAt, [&] { return s->stop; })) break;
    lock.unlock();
    std::string error;
    const auto renewed = granted->map(req, s->config.budgetMs, error);
    lock.lock();
    if (renewed) grant.leaseS = renewed->leaseS;
  }
  lock.unlock();
  granted->unmap(req, s->config.removeBudgetMs);
  lock.lock();
  s->done = true;
  s->changed.notify_all();
}

}  // namespace

Portmapper::Portmapper(PortmapConfig config) : shared_(std::make_shared<Shared>()) {
  shared_->config = std::move(config);
  thread_ = std::thread(work, shared_);
}

Portmapper::~Portmapper() {
  std::unique_lock lock(shared_->mutex);
  shared_->stop = true;
  shared_->changed.notify_all();
  const auto deadline = Clock::now() + std::chrono::milliseconds(shared_->config.removeBudgetMs);
  const bool finished = shared_->changed.wait_until(lock, deadline, [&] { return shared_->done; });
  lock.unlock();
  // A router that keeps the thread waiting does not keep the program from
  // ending; the lease removes the mapping in the end.
  if (finished)
    thread_.join();
  else
    thread_.detach();
}

PortmapStatus Portmapper::status() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

PortmapStatus Portmapper::wait() const {
  std::unique_lock lock(shared_->mutex);
  const auto deadline = shared_->started + std::chrono::milliseconds(shared_->config.budgetMs);
  shared_->changed.wait_until(lock, deadline,
                              [&] { return shared_->status.state != PortmapState::Trying; });
  PortmapStatus st = shared_->status;
  if (st.state == PortmapState::Trying) {
    st.state = PortmapState::Failed;
    st.failure = "the router did not answer within " +
                 std::to_string(shared_->config.budgetMs / 1000) + " s";
  }
  return st;
}

}  // namespace zelkar::net
