#include "qt/connect_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <random>

#include "net/online_options.h"
#include "qt/command_line.h"
#include "qt/game_font.h"
#include "qt/meet_setting.h"
#include "qt/net_play.h"

namespace zelkar::qt {

namespace {

// Polled often while the path opens, so that a probe is answered within a
// millisecond, as the punching expects; a host that only waits for its
// joiner asks the meeting point every 250 ms and needs far fewer turns.
constexpr int kBusyPollMs = 1;
constexpr int kIdlePollMs = 10;

// The code is read out over the phone or pasted: large and selectable.
constexpr double kCodePoints = 24;
constexpr int kFieldWidthPx = 300;

// Platforms on which no one could see the window or click it away.
bool unseen() {
  const QString p = QGuiApplication::platformName();
  return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

}  // namespace

ConnectDialog::ConnectDialog(QString meetSettingPath, NetOptions preset, QWidget* parent)
    : QDialog(parent), meetSettingPath_(std::move(meetSettingPath)), options_(std::move(preset)) {
  setWindowTitle(tr("通信対戦"));
  pages_ = new QStackedWidget(this);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(pages_);

  // The choice: where to meet, then host or join.
  auto* choose = new QWidget(pages_);
  auto* grid = new QGridLayout(choose);
  grid->addWidget(new QLabel(tr("待ち合わせサーバー："), choose), 0, 0);
  meetEdit_ = new QLineEdit(choose);
  // Wide enough for a host name and the examples in the empty fields.
  meetEdit_->setMinimumWidth(kFieldWidthPx);
  meetEdit_->setPlaceholderText(tr("空欄ならアドレスで直接つなぎます"));
  meetEdit_->setText(options_.meet ? QString::fromStdString(options_.meet->host) + u':' +
                                         QString::number(options_.meet->port)
                                   : readMeetSetting(meetSettingPath_));
  grid->addWidget(meetEdit_, 0, 1, 1, 2);
  hostButton_ = new QPushButton(tr("ホストになる"), choose);
  grid->addWidget(hostButton_, 1, 0, 1, 3);
  auto* line = new QFrame(choose);
  line->setFrameShape(QFrame::HLine);
  grid->addWidget(line, 2, 0, 1, 3);
  grid->addWidget(new QLabel(tr("招待コードまたはアドレス："), choose), 3, 0);
  joinEdit_ = new QLineEdit(choose);
  joinEdit_->setPlaceholderText(tr("例：K7Q2XMRB　または　192.0.2.7:41830"));
  grid->addWidget(joinEdit_, 3, 1, 1, 2);
  grid->addWidget(new QLabel(tr("セッションコード："), choose), 4, 0);
  sessionEdit_ = new QLineEdit(choose);
  sessionEdit_->setPlaceholderText(tr("アドレスで参加する時だけ"));
  grid->addWidget(sessionEdit_, 4, 1, 1, 2);
  // A join begun from the command line leaves its target in the boxes, so
  // that trying again after a failure needs no retyping.
  if (options_.role == NetOptions::Role::join) {
    joinEdit_->setText(!options_.joinCode.isEmpty()
                           ? options_.joinCode
                           : QString::fromStdString(options_.endpoint.host) + u':' +
                                 QString::number(options_.endpoint.port));
    sessionEdit_->setText(options_.code);
  }
  joinButton_ = new QPushButton(tr("参加する"), choose);
  grid->addWidget(joinButton_, 5, 0, 1, 3);
  error_ = new QLabel(choose);
  error_->setWordWrap(true);
  error_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  error_->hide();
  grid->addWidget(error_, 6, 0, 1, 3);
  auto* close = new QPushButton(tr("閉じる"), choose);
  grid->addWidget(close, 7, 2);
  pages_->addWidget(choose);

  // Connecting: what is tried and for how long, the code, Cancel.
  auto* wait = new QWidget(pages_);
  auto* column = new QVBoxLayout(wait);
  stage_ = new QLabel(wait);
  stage_->setWordWrap(true);
  column->addWidget(stage_);
  codeTitle_ = new QLabel(wait);
  column->addWidget(codeTitle_);
  auto* codeRow = new QHBoxLayout;
  codeShown_ = new QLineEdit(wait);
  codeShown_->setReadOnly(true);
  codeShown_->setFont(gameFont(kCodePoints, true));
  codeShown_->setAlignment(Qt::AlignCenter);
  codeRow->addWidget(codeShown_);
  copyButton_ = new QPushButton(tr("コピー"), wait);
  codeRow->addWidget(copyButton_);
  column->addLayout(codeRow);
  codeHint_ = new QLabel(wait);
  codeHint_->setWordWrap(true);
  column->addWidget(codeHint_);
  portLabel_ = new QLabel(wait);
  portLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(portLabel_);
  cancelButton_ = new QPushButton(tr("キャンセル"), wait);
  column->addWidget(cancelButton_, 0, Qt::AlignRight);
  pages_->addWidget(wait);

  connect(hostButton_, &QPushButton::clicked, this, &ConnectDialog::hostClicked);
  connect(joinButton_, &QPushButton::clicked, this, &ConnectDialog::joinClicked);
  connect(joinEdit_, &QLineEdit::returnPressed, this, &ConnectDialog::joinClicked);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(cancelButton_, &QPushButton::clicked, this, &ConnectDialog::cancel);
  connect(copyButton_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(codeShown_->text()); });
  // No button is the default: Return in the join box joins (above), and
  // never hosts by surprise.
  for (QPushButton* b : {hostButton_, joinButton_, close, copyButton_, cancelButton_})
    b->setAutoDefault(false);
  pollTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pollTimer_, &QTimer::timeout, this, &ConnectDialog::poll);
}

// A window closed while connecting drops the flow with it: the socket
// closes and the mapping is removed.
ConnectDialog::~ConnectDialog() = default;

void ConnectDialog::startPreset() {
  unattended_ = true;
  ConnectRequest r;
  r.meet = options_.meet;
  r.portmap = options_.portmap;
  if (options_.role == NetOptions::Role::host) {
    r.role = ConnectRequest::Role::host;
    r.endpoint = options_.endpoint;
    // Through a meeting point any free port serves; a router forwards
    // nothing there, so the system's choice avoids a port in use.
    if (r.meet && !options_.portChosen) r.endpoint.port = 0;
  } else {
    r.role = ConnectRequest::Role::join;
    r.endpoint = options_.endpoint;
    r.joinCode = options_.joinCode.toStdString();
  }
  // Begun from the event loop, so that even a failure at once (a port in
  // use) ends the window's exec() rather than coming before it.
  QTimer::singleShot(0, this, [this, r] { begin(r); });
}

bool ConnectDialog::readMeet(std::optional<net::Endpoint>& meet) {
  const QString typed = meetEdit_->text().trimmed();
  meet.reset();
  if (typed.isEmpty()) return true;
  meet = parseMeetPoint(typed);
  if (!meet) {
    showFailure(
        tr("待ち合わせサーバーのアドレスが正しくありません。"
           "「名前」か「名前:ポート」の形で入力して下さい。"));
    return false;
  }
  // Remembered for the next time; a failure to write costs only that.
  const QString why = saveMeetSetting(meetSettingPath_, typed);
  if (!why.isEmpty()) std::fprintf(stderr, "zelkar: %s\n", qPrintable(why));
  return true;
}

void ConnectDialog::hostClicked() {
  ConnectRequest r;
  if (!readMeet(r.meet)) return;
  r.role = ConnectRequest::Role::host;
  r.portmap = options_.portmap;
  r.endpoint = {"", r.meet ? uint16_t(0) : net::kDefaultPort};
  options_.role = NetOptions::Role::host;
  options_.code.clear();
  begin(std::move(r));
}

void ConnectDialog::joinClicked() {
  ConnectRequest r;
  if (!readMeet(r.meet)) return;
  const auto target = readJoinTarget(joinEdit_->text().toStdString());
  if (!target) {
    showFailure(
        tr("招待コード（8文字）か、相手のアドレス（例：192.0.2.7:41830）を入力して下さい。"));
    return;
  }
  r.role = ConnectRequest::Role::join;
  options_.role = NetOptions::Role::join;
  if (!target->code.empty()) {
    if (!r.meet) {
      showFailure(tr("招待コードで参加するには、相手と同じ待ち合わせサーバーを入力して下さい。"));
      return;
    }
    r.joinCode = target->code;
    options_.joinCode = QString::fromStdString(target->code);
    options_.code.clear();
  } else {
    const QString session = sessionEdit_->text().trimmed();
    if (!net::validSessionCode(session.toStdString())) {
      showFailure(tr("アドレスで参加する時は、相手の画面のセッションコードも入力して下さい。"));
      return;
    }
    r.meet.reset();  // an address needs no meeting point
    r.endpoint = *target->host;
    options_.code = session;
  }
  begin(std::move(r));
}

void ConnectDialog::begin(ConnectRequest request) {
  error_->hide();
  connected_ = false;
  codeTold_ = false;
  const bool hosting = request.role == ConnectRequest::Role::host;
  const bool meeting = request.meet.has_value();
  options_.meet = request.meet;
  flow_ = std::make_unique<ConnectFlow>(std::move(request));
  // A direct host's callers need a session code: made here, shown big.
  if (hosting && !meeting && options_.code.isEmpty())
    options_.code = makeSessionCode((uint64_t(clockSeed()) << 32) ^ std::random_device{}());
  codeTitle_->setText(meeting ? tr("招待コード") : tr("セッションコード"));
  codeShown_->setText(hosting && !meeting ? options_.code : QString());
  codeHint_->setText(
      meeting ? tr("このコードを相手に伝えて下さい。相手は「参加する」の欄に入力します。")
              : tr("相手にはこのコードと、この機械のアドレスとポートを伝えて下さい。"));
  for (QWidget* w : {static_cast<QWidget*>(codeTitle_), static_cast<QWidget*>(codeShown_),
                     static_cast<QWidget*>(copyButton_), static_cast<QWidget*>(codeHint_),
                     static_cast<QWidget*>(portLabel_)})
    w->setVisible(hosting);
  codeShown_->setEnabled(!codeShown_->text().isEmpty());
  copyButton_->setEnabled(!codeShown_->text().isEmpty());
  portLabel_->clear();
  pages_->setCurrentIndex(1);
  clock_.start();
  poll();
  if (flow_) pollTimer_.start(kIdlePollMs);
}

void ConnectDialog::poll() {
  if (!flow_ || connected_) return;
  const int64_t now = clock_.nsecsElapsed() / 1000;
  const ConnectStage stage = flow_->poll(now);
  if (stage == ConnectStage::Failed) {
    const QString text = failureText(flow_->failure(), QString::fromStdString(flow_->detail()));
    std::fprintf(stderr, "zelkar: could not connect: %s\n", flow_->detail().c_str());
    flow_.reset();
    pollTimer_.stop();
    // Started from the command line with no one to read the window: the
    // program ends as a failed session does.
    if (unattended_ && unseen()) {
      done(NetPlay::kExitFailed);
      return;
    }
    showFailure(text);
    return;
  }
  const std::string code = flow_->meetCode();
  if (!code.empty() && !codeTold_) {
    codeTold_ = true;
    codeShown_->setText(QString::fromStdString(code));
    codeShown_->setEnabled(true);
    copyButton_->setEnabled(true);
    // Said on the terminal too, for a host started from one.
    std::printf("zelkar: meeting code %s\n", code.c_str());
    std::fflush(stdout);
  }
  if (flow_->request().role == ConnectRequest::Role::host && !flow_->request().meet) {
    const std::string external = flow_->externalAddress();
    portLabel_->setText(external.empty() ? tr("ポート %1").arg(flow_->port())
                                         : tr("ポート %1　外部アドレス %2")
                                               .arg(flow_->port())
                                               .arg(QString::fromStdString(external)));
  }
  const int seconds = int((now - flow_->stageSinceMicros()) / 1'000'000);
  stage_->setText(stageText(stage, seconds));
  if (stage == ConnectStage::Connected) {
    connected_ = true;
    pollTimer_.stop();
    std::fprintf(stderr, "zelkar: connected (%s, %s) in %lld ms\n", flow_->path().c_str(),
                 flow_->peer().c_str(), static_cast<long long>(clock_.elapsed()));
    if (options_.code.isEmpty())
      options_.code = flow_->request().role == ConnectRequest::Role::host
                          ? QString::fromStdString(flow_->meetCode())
                          : options_.joinCode;
    accept();
    return;
  }
  const bool busy = stage == ConnectStage::Punching || stage == ConnectStage::Connecting;
  pollTimer_.setInterval(busy ? kBusyPollMs : kIdlePollMs);
}

void ConnectDialog::showFailure(const QString& text) {
  error_->setText(text);
  error_->show();
  pages_->setCurrentIndex(0);
  // The sentence wraps over two or three lines: the window grows to show
  // them all rather than cutting the advice off.
  adjustSize();
}

void ConnectDialog::cancel() {
  pollTimer_.stop();
  flow_.reset();
  error_->hide();
  pages_->setCurrentIndex(0);
}

QString ConnectDialog::stageText(ConnectStage stage, int seconds) const {
  const bool hosting = flow_ && flow_->request().role == ConnectRequest::Role::host;
  switch (stage) {
    case ConnectStage::Meeting:
      if (!hosting) return tr("待ち合わせサーバーに問い合わせています…（%1秒）").arg(seconds);
      return flow_->meetCode().empty()
                 ? tr("待ち合わせサーバーに登録しています…（%1秒）").arg(seconds)
                 : tr("相手の参加を待っています…（%1秒）").arg(seconds);
    case ConnectStage::Punching:
      return tr("相手への経路を開いています…（%1秒）").arg(seconds);
    case ConnectStage::Connecting:
      return tr("接続しています…（%1秒）").arg(seconds);
    case ConnectStage::Relaying:
      return tr("中継サーバーを通して接続しています…（%1秒）").arg(seconds);
    case ConnectStage::Waiting:
      return tr("相手の接続を待っています…（%1秒）").arg(seconds);
    case ConnectStage::Connected:
      return tr("接続しました。");
    case ConnectStage::Failed:
      break;
  }
  return {};
}

QString ConnectDialog::failureText(ConnectFailure failure, const QString& detail) {
  switch (failure) {
    case ConnectFailure::None:
      return {};
    case ConnectFailure::CannotOpen:
      return tr("通信の準備ができませんでした（%1）。"
                "同じポートを使う他のプログラムを終了してから、やり直して下さい。")
          .arg(detail);
    case ConnectFailure::UnknownMeet:
      return tr("待ち合わせサーバーが見つかりません。アドレスの綴りを確かめて下さい。");
    case ConnectFailure::MeetSilent:
      return tr(
          "待ち合わせサーバーが応答しません。アドレスを確かめるか、"
          "しばらくしてからやり直して下さい。");
    case ConnectFailure::UnknownCode:
      return tr(
          "その招待コードはありません（打ち間違いか、期限切れです）。"
          "相手にコードを確かめて下さい。");
    case ConnectFailure::CodeTaken:
      return tr(
          "この招待コードでは既に他の人が参加しています。"
          "相手に新しいコードを作ってもらって下さい。");
    case ConnectFailure::MeetFull:
      return tr("待ち合わせサーバーが混み合っています。1分ほどしてからやり直して下さい。");
    case ConnectFailure::NobodyJoined:
      return tr("%1分待ちましたが、誰も参加しませんでした。"
                "相手の準備ができてから、もう一度ホストになって下さい。")
          .arg(ConnectFlow::kHostWaitMicros / 60'000'000);
    case ConnectFailure::NoPath:
      return tr(
          "相手への経路を開けませんでした（どちらかのルーターが通しません）。"
          "別のネットワークで遊ぶか、ホストのルーターでポートを転送し、"
          "アドレスで参加して下さい。");
    case ConnectFailure::RelayFailed:
      return tr(
          "相手への経路が開けず、中継サーバーも使えませんでした。"
          "しばらくしてからやり直すか、待ち合わせサーバーの管理者に知らせて下さい。");
    case ConnectFailure::HostUnreachable:
      return tr(
          "そのアドレスに相手が見つかりませんでした。"
          "アドレスとポートを確かめ、相手がホストになっているか確かめて下さい。");
    case ConnectFailure::Other:
      return tr("接続できませんでした（%1）。").arg(detail);
  }
  return {};
}

}  // namespace zelkar::qt
