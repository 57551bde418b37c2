// Online play through a bad link, for real: two zelkar-sim processes play
// three-thousand-tick matches over UDP on 127.0.0.1 through a relay that
// delays each datagram 75 ms (give or take 10 ms) and loses a share of them
// each way. Reports, per loss rate, the matches that finished with equal
// hashes, the time waited, the deepest rollback and the bytes per second
// each way. Usage: zelkar-net-soak SIM MATCHES PARALLEL LOSS...
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <queue>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDelayMs = 75, kJitterMs = 10;
constexpr int kMatchLimitSeconds = 150;  // a 3000-tick match takes 30 s

struct Datagram {
  Clock::time_point at;
  bool towardHost;
  std::vector<char> bytes;
  bool operator>(const Datagram& o) const { return at > o.at; }
};

int udpSocket(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return ::close(fd), -1;
  return fd;
}

uint16_t portOf(int fd) {
  sockaddr_in a{};
  socklen_t n = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
  return ntohs(a.sin_port);
}

// Joiner <-> [front] relay [back] <-> host, until `stop`.
void relay(int front, int back, uint16_t hostPort, double loss, uint64_t seed,
           const std::atomic<bool>& stop) {
  std::mt19937_64 rng(seed);
  auto chance = [&rng] { return double(rng() >> 11) * 0x1.0p-53; };
  std::priority_queue<Datagram, std::vector<Datagram>, std::greater<>> queue;
  sockaddr_in joiner{}, host{};
  host.sin_family = AF_INET;
  host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  host.sin_port = htons(hostPort);
  bool joinerKnown = false;
  std::vector<char> buf(65536);
  while (!stop) {
    pollfd fds[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
    ::poll(fds, 2, 1);
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & POLLIN)) continue;
      sockaddr_in from{};
      socklen_t n = sizeof from;
      const ssize_t got =
          ::recvfrom(fds[i].fd, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &n);
      if (got < 0) continue;
      if (i == 0) joiner = from, joinerKnown = true;
      if (chance() < loss) continue;
      const int ms = kDelayMs + int((chance() * 2 - 1) * kJitterMs);
      queue.push({Clock::now() + std::chrono::milliseconds(ms), i == 0,
                  std::vector<char>(buf.begin(), buf.begin() + got)});
    }
    while (!queue.empty() && queue.top().at <= Clock::now()) {
      const Datagram& d = queue.top();
      if (d.towardHost)
        ::sendto(back, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&host),
                 sizeof host);
      else if (joinerKnown)
        ::sendto(front, d.bytes.data(), d.bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&joiner), sizeof joiner);
      queue.pop();
    }
  }
}

pid_t spawn(const std::string& sim, const std::vector<std::string>& args, const fs::path& out,
            const fs::path& err) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  std::freopen(out.c_str(), "w", stdout);
  std::freopen(err.c_str(), "w", stderr);
  std::vector<char*> argv{const_cast<char*>(sim.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(sim.c_str(), argv.data());
  std::_Exit(127);
}

int waitFor(pid_t pid, Clock::time_point deadline) {
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string readAll(const fs::path& p) {
  std::ifstream f(p);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// A number in the closing line of zelkar-sim, just before `label`.
double before(const std::string& text, const std::string& label) {
  const std::size_t at = text.rfind(label);
  if (at == std::string::npos) return 0;
  std::size_t start = at;
  while (start > 0 && (std::isdigit(uint8_t(text[start - 1])) || text[start - 1] == '.')) --start;
  return std::atof(text.substr(start, at - start).c_str());
}

struct Result {
  bool finished = false;
  double seconds = 0, waitedMs = 0, deepest = 0, hostSent = 0, joinSent = 0;
  std::string why;
};

Result playMatch(const std::string& sim, const fs::path& dir, double loss, int index) {
  fs::create_directories(dir);
  std::ofstream(dir / "host.zsim") << [&] {
    std::string s = "seed " + std::to_string(1000 + index) + "\nconfig 1 10 0\nstart random\n";
    for (int i = 0; i < 30; ++i) s += "tick 50\ndown 87\ntick 20\nup 87\ndown 32\ntick 30\nup 32\n";
    return s;
  }();
  std::ofstream(dir / "join.zsim") << [] {
    std::string s = "config 1 10 0\n";
    for (int i = 0; i < 30; ++i) s += "tick 40\ndown 104\ntick 35\nup 104\ntick 25\n";
    return s;
  }();
  const int front = udpSocket(0), back = udpSocket(0), probe = udpSocket(0);
  const uint16_t hostPort = portOf(probe);
  ::close(probe);
  std::atomic<bool> stop{false};
  std::thread r(relay, front, back, hostPort, loss, uint64_t(index) * 7919 + 1, std::cref(stop));
  const std::string code = "SOAK" + std::to_string(index);
  const auto t0 = Clock::now();
  const auto deadline = t0 + std::chrono::seconds(kMatchLimitSeconds);
  const pid_t host = spawn(sim,
                           {"--host", "127.0.0.1:" + std::to_string(hostPort), "--code", code,
                            "--script", (dir / "host.zsim").string(), "--dump", "hash"},
                           dir / "host.out", dir / "host.err");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const pid_t join = spawn(sim,
                           {"--join", "127.0.0.1:" + std::to_string(portOf(front)), "--code", code,
                            "--script", (dir / "join.zsim").string(), "--dump", "hash"},
                           dir / "join.out", dir / "join.err");
  const int hostRc = waitFor(host, deadline), joinRc = waitFor(join, deadline);
  Result res;
  res.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  stop = true;
  r.join();
  ::close(front), ::close(back);
  const std::string hostOut = readAll(dir / "host.out"), joinOut = readAll(dir / "join.out");
  const std::string hostErr = readAll(dir / "host.err"), joinErr = readAll(dir / "join.err");
  const long lines = long(std::count(hostOut.begin(), hostOut.end(), '\n'));
  res.finished = hostRc == 0 && joinRc == 0 && hostOut == joinOut && lines >= 3000;
  if (!res.finished) {
    res.why = "host " + std::to_string(hostRc) + ", joiner " + std::to_string(joinRc) + ", " +
              std::to_string(lines) + " hashes" + (hostOut == joinOut ? "" : ", hashes differ") +
              "; " + hostErr.substr(0, 200) + " | " + joinErr.substr(0, 200);
  }
  res.waitedMs = std::max(before(hostErr, " ms, "), before(joinErr, " ms, "));
  res.deepest = std::max(before(hostErr, " frames replayed"), 0.0);
  const std::size_t d1 = hostErr.find("deepest "), d2 = joinErr.find("deepest ");
  res.deepest = std::max(d1 == std::string::npos ? 0 : std::atof(hostErr.c_str() + d1 + 8),
                         d2 == std::string::npos ? 0 : std::atof(joinErr.c_str() + d2 + 8));
  res.hostSent = before(hostErr, " UDP bytes sent");
  res.joinSent = before(joinErr, " UDP bytes sent");
  return res;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s ZELKAR-SIM MATCHES PARALLEL LOSS...\n", argv[0]);
    return 2;
  }
  const std::string sim = fs::absolute(argv[1]).string();
  const int matches = std::atoi(argv[2]), parallel = std::max(1, std::atoi(argv[3]));
  const fs::path root =
      fs::temp_directory_path() / ("zelkar-net-soak-" + std::to_string(::getpid()));
  int status = 0;
  for (int a = 4; a < argc; ++a) {
    const double loss = std::atof(argv[a]) / 100;
    std::vector<Result> results(std::size_t(matches), Result{});
    for (int first = 0; first < matches; first += parallel) {
      std::vector<std::thread> running;
      for (int i = first; i < std::min(matches, first + parallel); ++i)
        running.emplace_back([&, i] {
          results[std::size_t(i)] =
              playMatch(sim, root / (argv[a] + std::string("-") + std::to_string(i)), loss, i);
        });
      for (auto& t : running) t.join();
    }
    int finished = 0;
    double waited = 0, deepest = 0, seconds = 0, hostBps = 0, joinBps = 0;
    for (const Result& r : results) {
      finished += r.finished;
      waited += r.waitedMs / matches;
      deepest = std::max(deepest, r.deepest);
      seconds += r.seconds / matches;
      hostBps += r.hostSent / r.seconds / matches;
      joinBps += r.joinSent / r.seconds / matches;
      if (!r.finished) std::printf("  not finished: %s\n", r.why.c_str());
    }
    std::printf(
        "loss %s%% each way, 75 ms +- 10 ms: %d of %d matches finished with equal hashes; "
        "%.1f s a match, waited %.0f ms a match (most waiting side), deepest rollback %.0f "
        "frames; host sends %.0f B/s, joiner %.0f B/s (UDP payload with ENet's headers)\n",
        argv[a], finished, matches, seconds, waited, deepest, hostBps, joinBps);
    std::fflush(stdout);
    if (finished != matches) status = 1;
  }
  if (std::getenv("ZELKAR_SOAK_KEEP") == nullptr) fs::remove_all(root);
  return status;
}
