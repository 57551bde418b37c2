// zelkar-meet-flood: the meeting point under a flood of registrations on
// loopback, from one address and from 1000 (127.0.1.1 to 127.0.4.250).
// Starts the real program, floods it for a bounded time and prints what
// it answered per second and the memory it held.
//
// Usage: zelkar-meet-flood PATH/TO/zelkar-meet [SECONDS]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "meet/protocol.h"

namespace {

constexpr uint16_t kPort = 41997;  // loopback only

std::string statusLine(pid_t pid, const std::string& key) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(f, line);)
    if (line.rfind(key, 0) == 0) return line.substr(key.size() + 1);
  return "?";
}

int udpFrom(uint32_t ip) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(ip);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    std::perror("bind");
    std::exit(1);
  }
  return fd;
}

void flood(const char* name, const std::vector<uint32_t>& sources, double seconds, pid_t server) {
  std::vector<int> fds;
  for (uint32_t ip : sources) fds.push_back(udpFrom(ip));
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  to.sin_port = htons(kPort);
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  uint64_t sent = 0, replies = 0, nonce = 1;
  uint8_t buffer[128];
  while (Clock::now() < end) {
    // About a hundred requests a round, whether from one socket or many.
    const std::size_t each = std::max<std::size_t>(1, 100 / fds.size());
    for (int fd : fds) {
      for (std::size_t k = 0; k < each; ++k) {
        zelkar::meet::Message m;
        m.kind = zelkar::meet::Kind::Register;
        m.nonce = nonce++;
        const auto bytes = zelkar::meet::writeMessage(m);
        if (::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                     sizeof to) > 0)
          ++sent;
      }
      while (::recv(fd, buffer, sizeof buffer, 0) > 0) ++replies;
    }
    // Leave the server a core on a machine shared with others.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  for (int fd : fds) {
    while (::recv(fd, buffer, sizeof buffer, 0) > 0) ++replies;
    ::close(fd);
  }
  std::printf(
      "%-16s %6zu sources: %9.0f requests/s sent, %7.0f replies/s; server RSS %s, peak %s\n", name,
      sources.size(), double(sent) / seconds, double(replies) / seconds,
      statusLine(server, "VmRSS:").c_str(), statusLine(server, "VmHWM:").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zelkar-meet-flood PATH/TO/zelkar-meet [SECONDS]\n");
    return 2;
  }
  const double seconds = argc > 2 ? std::stod(argv[2]) : 5.0;
  const pid_t server = ::fork();
  if (server == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 2);
    const std::string listen = "127.0.0.1:" + std::to_string(kPort);
    ::execl(argv[1], argv[1], "--listen", listen.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::printf("zelkar-meet at rest: RSS %s\n", statusLine(server, "VmRSS:").c_str());
  flood("one address", {0x7F000101}, seconds, server);
  std::vector<uint32_t> many;
  for (uint32_t i = 0; i < 1000; ++i)
    many.push_back(0x7F000000u | (1 + i / 250) << 8 | (1 + i % 250));
  flood("1000 addresses", many, seconds, server);
  ::kill(server, SIGTERM);
  int status = 0;
  ::waitpid(server, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
