// A real zelkar-meet on 127.0.0.1 for the online tests, on a UDP port the
// system found free; killed when the test ends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <cstdint>

namespace zelkar::qt::test {

// The port a UDP socket bound on 127.0.0.1:port got (the system's choice
// for 0), or 0 when the port is held.
inline uint16_t bindUdp(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = htons(port);
  socklen_t len = sizeof at;
  uint16_t got = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len) == 0)
    got = ntohs(at.sin_port);
  ::close(fd);
  return got;
}
// A UDP port on 127.0.0.1 that nothing holds at this moment.
inline uint16_t freeUdpPort() { return bindUdp(0); }
inline bool udpPortFree(uint16_t port) { return bindUdp(port) == port; }

class MeetPoint {
 public:
  // Started and listening, or port() 0 (another process took the port
  // between the look and the start: tried three times).
  MeetPoint() {
    process_.setReadChannel(QProcess::StandardError);
    for (int attempt = 0; attempt < 3 && port_ == 0; ++attempt) {
      const uint16_t port = freeUdpPort();
      process_.start(QStringLiteral(ZELKAR_MEET_PATH),
                     {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
      QElapsedTimer t;
      t.start();
      QByteArray said;
      while (t.elapsed() < 5000 && process_.state() != QProcess::NotRunning &&
             !said.contains("listening")) {
        process_.waitForReadyRead(100);
        said += process_.readAllStandardError();
      }
      if (said.contains("listening"))
        port_ = port;
      else
        stop();
    }
  }
  ~MeetPoint() { stop(); }
  uint16_t port() const { return port_; }
  QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

 private:
  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  QProcess process_;
  uint16_t port_ = 0;
};

}  // namespace zelkar::qt::test
