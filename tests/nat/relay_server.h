// A real relay server (coturn's turnserver) on 127.0.0.1 for one test: a
// free port, a login by shared secret, peers on loopback allowed. It dies
// with the test's process (the parent-death signal) and in the destructor.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_socket.h"

namespace zelkar::test {

class RelayServer {
 public:
  static constexpr const char* kSecret = "lab-secret";

  RelayServer() {
    port_ = freeUdpPort();
    dir_ = std::filesystem::temp_directory_path() /
           ("zelkar-relay-" + std::to_string(getpid()) + "-" + std::to_string(port_));
    std::filesystem::create_directories(dir_);
    std::vector<std::string> args = {"turnserver",
                                     "--static-auth-secret=" + std::string(kSecret),
                                     "--listening-port=" + std::to_string(port_),
                                     "--db=" + (dir_ / "turndb").string(),
                                     "--pidfile=" + (dir_ / "pid").string(),
                                     "--log-file=" + (dir_ / "log").string()};
    std::istringstream fixed(
        "--listening-ip=127.0.0.1 --relay-ip=127.0.0.1 --use-auth-secret --realm=zelkar.lab "
        "--allow-loopback-peers --no-cli --no-tls --no-dtls --no-tcp --no-tcp-relay --no-rfc5780 "
        "--no-stun-backward-compatibility --simple-log --no-stdout-log");
    for (std::string a; fixed >> a;) args.push_back(a);
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    // Ready once its port is taken: at most 5 s.
    for (int i = 0; i < 100 && !portTaken(port_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ~RelayServer() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  RelayServer(const RelayServer&) = delete;
  RelayServer& operator=(const RelayServer&) = delete;

  uint16_t port() const { return port_; }
  bool running() const { return pid_ > 0 && portTaken(port_); }

 private:
  static uint16_t freeUdpPort() {
    uint16_t port = 0;
    const int fd = boundSocket(SOCK_DGRAM, 0, &port);
    if (fd >= 0) close(fd);
    return port;
  }
  static bool portTaken(uint16_t port) {
    const int fd = boundSocket(SOCK_DGRAM, port);
    if (fd < 0) return true;
    close(fd);
    return false;
  }

  uint16_t port_ = 0;
  pid_t pid_ = -1;
  std::filesystem::path dir_;
};

// Services both links every millisecond until `done`, for at most 5 s.
template <class A, class B, class Done>
bool serviceUntil(A& a, B& b, Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < end) {
    a.service(0);
    b.service(0);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

}  // namespace zelkar::test
