// A real zelkar-meet on 127.0.0.1 for the online tests, on a UDP port the
// system found free; killed when the test ends.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <string>

#include "net/enet_link.h"

namespace zelkar::qt::test {

// The port a UDP socket bound on 127.0.0.1:port got (the system's choice
// for 0), or 0 when the port is held.
inline uint16_t bindUdp(uint16_t port) {
  std::string error;
  const auto link = net::EnetLink::listen({"127.0.0.1", port}, error);
  return link ? link->localPort() : 0;
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
