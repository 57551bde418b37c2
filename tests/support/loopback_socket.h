// A socket bound on a loopback address, for tests that stand in for a
// server, a router or a peer that never answers.
#pragma once

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace zelkar::test {

// A socket of `type` bound to ip:port, or -1 when that is taken; with port
// 0 the system picks one and `chosen` says which.
inline int boundSocket(int type, uint16_t port = 0, uint16_t* chosen = nullptr,
                       uint32_t ip = INADDR_LOOPBACK) {
  const int fd = socket(AF_INET, type, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(ip);
  at.sin_port = htons(port);
  socklen_t len = sizeof at;
  if (bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    close(fd);
    return -1;
  }
  getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len);
  if (chosen) *chosen = ntohs(at.sin_port);
  return fd;
}

}  // namespace zelkar::test
