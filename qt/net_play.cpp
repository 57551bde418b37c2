#include "qt/net_play.h"

#include <QFile>
#include <QMessageBox>
#include <cstdio>

#include "events/script.h"
#include "net/packet.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"

namespace zelkar::qt {

namespace {

// Polled well inside a 10 ms tick, so frames and the peer's inputs are
// handled on time; the session itself decides how many frames are due.
constexpr int kPollMs = 1;
// After the end the peer may still need our last hashes; it gets this long.
constexpr int64_t kLingerMicros = 2'000'000;
const QString kTitle = QStringLiteral("ZELKAR GAME");

}  // namespace

NetPlay::NetPlay(NetOptions options, QString recordPath)
    : options_(std::move(options)),
      recordPath_(std::move(recordPath)),
      t0_(std::chrono::steady_clock::now()) {
  pollTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pollTimer_, &QTimer::timeout, this, &NetPlay::poll);
}

NetPlay::~NetPlay() { writeRecord(); }

int64_t NetPlay::micros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               t0_)
      .count();
}

void NetPlay::adopt(std::unique_ptr<net::EnetLink> link, std::string path) {
  link_ = std::move(link);
  path_ = std::move(path);
}

bool NetPlay::open(QString& error) {
  if (link_) return true;  // adopted, already connected
  std::string why;
  link_ = isHost() ? net::EnetLink::listen(options_.endpoint, why)
                   : net::EnetLink::connect(options_.endpoint, why);
  if (!link_) error = QString::fromStdString(why);
  return link_ != nullptr;
}

void NetPlay::begin(GameHost& host, const ConfigValues& settings, uint32_t loadSeed) {
  host_ = &host;
  net::SessionConfig cfg;
  cfg.role = isHost() ? net::Role::Host : net::Role::Joiner;
  cfg.side = options_.side.value_or(net::Side::Left);
  cfg.sideChosen = isHost() || options_.side.has_value();
  cfg.inputDelayFrames = options_.inputDelay;
  cfg.code = options_.code.toStdString();
  cfg.settings = settings;
  soundOn_ = settings.soundOn != 0;
  cfg.loadSeed = loadSeed;
  session_ = std::make_unique<net::Session>(*link_, cfg);
  if (isHost()) {
    // Said on the terminal too, for a host that reads the code out.
    std::printf("zelkar: hosting on UDP port %u, session code %s\n", unsigned(port()),
                qPrintable(options_.code));
    std::fflush(stdout);
  }
  showTitle();
  pollTimer_.start(kPollMs);
}

bool NetPlay::sharing() const {
  return session_ && session_->phase() != net::Phase::WaitingForPeer;
}

void NetPlay::keyDown(int16_t keyCode, int16_t shift) {
  if (session_) session_->localKeyDown(keyCode, shift);
}

void NetPlay::keyUp(int16_t keyCode) {
  if (session_) session_->localKeyUp(keyCode);
}

void NetPlay::start(const sim::StartCommand& choices) {
  if (session_ && isHost()) session_->start(choices);
}

void NetPlay::answer(const std::string& text) {
  if (session_) session_->answer(text);
}

void NetPlay::setLocalKeyboard(int16_t keypadMode) {
  if (session_) session_->setLocalKeyboard(keypadMode);
}

QString NetPlay::windowTitle() const {
  if (!session_) return kTitle;
  switch (session_->phase()) {
    case net::Phase::WaitingForPeer:
      if (isHost()) {
        const int64_t away = session_->stats().callersTurnedAway;
        return tr("%1　相手を待っています（コード：%2）　ポート %3")
                   .arg(kTitle, options_.code)
                   .arg(port()) +
               (away > 0 ? tr("　断った接続 %1").arg(away) : QString());
      }
      return tr("%1　接続しています…").arg(kTitle);
    case net::Phase::Running:
      return tr("%1　通信対戦").arg(kTitle) +
             (isHost() ? tr("（コード：%1）").arg(options_.code) : QString()) + pathText() +
             (session_->waitingForPeerAnswer() ? tr("　相手の返事を待っています") : QString());
    case net::Phase::Ended:
      return tr("%1　通信対戦終了").arg(kTitle);
  }
  return kTitle;
}

QString NetPlay::pathText() const {
  QString how = tr("直接");
  if (path_ == "punched")
    how = tr("ルーター越し");
  else if (path_ == "local")
    how = tr("同じネットワーク内");
  else if (path_ == "relayed")
    how = tr("中継サーバー経由");
  return tr("　%1・往復 %2 ms").arg(how).arg(roundTripShownMs_);
}

QString NetPlay::endText(const net::Session& s) {
  switch (s.outcome()) {
    case net::Outcome::None:
    case net::Outcome::LocalAnsweredNo:
    case net::Outcome::BothScriptsDone:
      return {};
    case net::Outcome::HostUnreachable:
      return tr("相手が見つかりませんでした。");
    case net::Outcome::TooManyTries:
      return tr("コードの誤りが多すぎます。1分後にやり直して下さい。");
    case net::Outcome::PeerAnsweredNo:
      return tr("相手が対戦を終了しました。");
    case net::Outcome::Desync:
      return tr("%1回目の時刻で相手と状態がずれました。対戦を終了します。").arg(s.desyncTick());
    case net::Outcome::ConnectionLost:
      return tr("通信が切れました。");
    case net::Outcome::WrongCode:
      return tr("セッションコードが違います。");
    case net::Outcome::WrongVersion:
      return tr("相手の版が違います（相手 %1、こちら %2）。")
          .arg(s.peerProtocolVersion())
          .arg(net::kProtocolVersion);
    case net::Outcome::SideTaken:
      return tr("相手と同じ側を選んでいます。");
  }
  return {};
}

void NetPlay::poll() {
  if (polling_ || !session_ || host_ == nullptr || host_->ended()) return;
  polling_ = true;
  const int64_t now = micros();
  session_->poll(now);
  // A rollback corrects frames already shown without adding one: the
  // window is shown the corrected game at once.
  const int64_t rollbacks = session_->stats().rollbacks;
  if (session_->phase() != net::Phase::WaitingForPeer &&
      (session_->frame() != shownFrame_ || rollbacks != shownRollbacks_)) {
    shownFrame_ = session_->frame();
    shownRollbacks_ = rollbacks;
    std::vector<Sound> sounds = session_->takeSounds();
    if (!soundOn_) sounds.clear();
    host_->showShared(session_->game(), sounds);
  }
  // Shown without waiting for a click: a modal box would stop the polls,
  // and the peer would take the silence for a lost connection.
  for (const auto& m : session_->takeMessages()) {
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QString::fromStdString(m[1]),
                        QString::fromStdString(m[0]), QMessageBox::Ok, &host_->mainWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
  }
  showTitle();
  if (session_->phase() == net::Phase::Ended) {
    if (endedAt_ < 0) endedAt_ = now;
    if (session_->finished() || now - endedAt_ > kLingerMicros) {
      polling_ = false;
      ended();
      return;
    }
  }
  polling_ = false;
}

void NetPlay::showTitle() {
  QWidget& window = host_->mainWindow();
  const int64_t now = micros();
  if (link_ && now - roundTripShownAt_ >= kRoundTripShownMicros &&
      window.windowTitle() == titleShown_) {
    roundTripShownMs_ = link_->roundTripMs();
    roundTripShownAt_ = now;
  }
  // Written when the status changes, or when another part has put the
  // plain title back (a plug message ends so); never over a message.
  const QString title = windowTitle();
  if (title == titleShown_ && window.windowTitle() != kTitle) return;
  titleShown_ = title;
  if (window.windowTitle() != title) window.setWindowTitle(title);
}

bool NetPlay::failed() const {
  if (!session_) return false;
  // Any other end is a failure, an outcome added later included.
  const net::Outcome o = session_->outcome();
  return !(o == net::Outcome::None || o == net::Outcome::LocalAnsweredNo ||
           o == net::Outcome::PeerAnsweredNo || o == net::Outcome::BothScriptsDone);
}

void NetPlay::ended() {
  if (told_) return;
  told_ = true;
  pollTimer_.stop();
  writeRecord();
  if (link_) link_->close();
  const QString text = endText(*session_);
  std::fprintf(stderr, "zelkar: online session ended: %s\n",
               text.isEmpty() ? "as this player chose" : qPrintable(text));
  if (!text.isEmpty())
    host_->windowSystem().messageBox(text.toStdString(), tr("通信対戦").toStdString());
  host_->end();
}

void NetPlay::writeRecord() {
  if (recorded_ || recordPath_.isEmpty() || !session_) return;
  recorded_ = true;
  QFile f(recordPath_);
  const std::string text = sim::replayText(session_->confirmedCommands());
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(text.data(), qint64(text.size())) != qint64(text.size()) || !f.flush()) {
    std::fprintf(stderr, "zelkar: cannot write %s\n", qPrintable(recordPath_));
  }
}

}  // namespace zelkar::qt
