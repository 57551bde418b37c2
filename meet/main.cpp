// zelkar-meet: the meeting point. Hosts register and get a code, joiners
// ask by code, and each learns the other's public address; the game's
// traffic never passes through here. One UDP socket, one thread, and the
// rules in Server.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "meet/options.h"
#include "meet/server.h"

namespace {

volatile sig_atomic_t stopSignal = 0;
void onSignal(int sig) { stopSignal = sig; }

uint64_t randomBits() {
  uint64_t v = 0;
  // getrandom on 8 bytes never returns short once the pool is ready; a
  // failure here would leave codes guessable, so it ends the program.
  if (getrandom(&v, sizeof v, 0) != sizeof v) {
    std::cerr << "zelkar-meet: no random numbers from the system\n";
    std::_Exit(1);
  }
  return v;
}

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zelkar::meet;
  Options opts;
  const std::string error = parseOptions(std::vector<std::string>(argv + 1, argv + argc), opts);
  if (!error.empty()) {
    std::cerr << "zelkar-meet: " << error << "\n" << kUsage;
    return 2;
  }
  if (opts.help) {
    std::cout << kUsage;
    return 0;
  }
  std::cerr.setf(std::ios::unitbuf);  // each line reaches the journal as it is written
  // The secret is read before the socket opens, so a wrong file is found
  // at once rather than by the first player who needs the relay.
  std::optional<std::string> secret;
  if (opts.relay.ip != 0) {
    std::string why;
    secret = readSecretFile(opts.relaySecretFile, why);
    if (!secret) {
      std::cerr << "zelkar-meet: " << why << "\n";
      return 1;
    }
  }

  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(opts.listen.ip);
  at.sin_port = htons(opts.listen.port);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    std::cerr << "zelkar-meet: cannot listen on UDP " << addressText(opts.listen) << ": "
              << std::strerror(errno) << "\n";
    return 1;
  }
  // The signals that end the program are taken only while waiting in
  // ppoll, so a request is always handled whole.
  sigset_t blocked, waiting;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGINT);
  sigprocmask(SIG_BLOCK, &blocked, &waiting);
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);

  Server server(opts.limits, randomBits,
                [](const std::string& line) { std::cerr << "zelkar-meet: " << line << "\n"; });
  std::cerr << "zelkar-meet: listening on UDP " << addressText(opts.listen) << "\n";
  if (opts.relay.ip != 0) {
    RelayOffer offer;
    offer.relay = opts.relay;
    offer.secret = *secret;
    offer.lifetimeS = opts.relayLifetimeS;
    offer.unixSeconds = [] {
      using namespace std::chrono;
      return int64_t(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
    };
    server.offerRelay(std::move(offer));
    std::cerr << "zelkar-meet: relay logins for " << addressText(opts.relay) << ", valid "
              << opts.relayLifetimeS << " s\n";
  }

  constexpr int kSweepEveryMs = 1000;
  int64_t lastSweep = nowMs();
  uint8_t buffer[2048];
  while (stopSignal == 0) {
    pollfd p{fd, POLLIN, 0};
    const timespec wait{0, kSweepEveryMs * 1'000'000L / 4};
    const int ready = ::ppoll(&p, 1, &wait, &waiting);
    if (ready < 0 && errno != EINTR) {
      std::cerr << "zelkar-meet: poll failed: " << std::strerror(errno) << "\n";
      return 1;
    }
    // A bounded batch per wake-up, so the sweep and the signals still get
    // their turn under a flood.
    for (int i = 0; i < 256 && ready > 0; ++i) {
      sockaddr_in from{};
      socklen_t fromLen = sizeof from;
      const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, MSG_TRUNC,
                                   reinterpret_cast<sockaddr*>(&from), &fromLen);
      if (n < 0) break;
      const Address sender{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
      // A datagram cut short by the buffer is still far longer than any
      // message, so the reader refuses it.
      const std::size_t got = std::min<std::size_t>(std::size_t(n), sizeof buffer);
      const auto out = server.handle(sender, std::span<const uint8_t>(buffer, got), nowMs());
      if (out)
        ::sendto(fd, out->data(), out->size(), 0, reinterpret_cast<const sockaddr*>(&from),
                 fromLen);
    }
    if (nowMs() - lastSweep >= kSweepEveryMs) {
      lastSweep = nowMs();
      server.sweep(lastSweep);
    }
  }
  const Stats& s = server.stats();
  std::cerr << "zelkar-meet: stopping on signal " << stopSignal << " (" << s.received
            << " requests, " << s.replied << " replies, " << s.registered << " codes given, "
            << s.matched << " matches)\n";
  ::close(fd);
  return 0;
}
