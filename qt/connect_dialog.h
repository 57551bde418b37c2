// The connect window of `zelkar --online`: host (through the meeting point
// it shows the code to pass on; without one the port, and the address the
// router reports) or join (one box for the code or HOST:PORT). While the
// ConnectFlow works it says what it is trying and for how long; Cancel
// drops the flow at any moment (the socket closes, the mapping goes) and
// brings the choice back; a failure is said in plain words with what to
// do. --host/--join with --meet start it at once, with the same flow.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "qt/connect_flow.h"
#include "qt/net_options.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace zelkar::qt {

class ConnectDialog : public QDialog {
  Q_OBJECT

 public:
  // `meetSettingPath`: where the meeting point's address is remembered.
  // `preset`: the command line's options (--meet fills the field).
  ConnectDialog(QString meetSettingPath, NetOptions preset, QWidget* parent = nullptr);
  ~ConnectDialog() override;

  // Starts hosting or joining as the preset says, without a click, once
  // the event loop runs.
  void startPreset();
  // Drops the flow without a word (the program is ending).
  void abandon() { flow_.reset(); }

  // Once accepted: the options the session plays with (its role and code)
  // and the flow that holds the connected link and the port mapping.
  const NetOptions& options() const { return options_; }
  std::unique_ptr<ConnectFlow> takeFlow() { return std::move(flow_); }

  // The sentence the window shows for a failure.
  static QString failureText(ConnectFailure failure, const QString& detail);
  // What the flow is doing now, `seconds` into it.
  QString stageText(ConnectStage stage, int seconds) const;

  // For tests: the widgets a player uses.
  QLineEdit* meetEdit() const { return meetEdit_; }
  QLineEdit* joinEdit() const { return joinEdit_; }
  QLineEdit* sessionEdit() const { return sessionEdit_; }
  QLineEdit* codeShown() const { return codeShown_; }
  QPushButton* hostButton() const { return hostButton_; }
  QPushButton* joinButton() const { return joinButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QLabel* errorLabel() const { return error_; }
  QLabel* stageLabel() const { return stage_; }
  bool connecting() const { return flow_ != nullptr && !connected_; }

 private:
  void hostClicked();
  void joinClicked();
  // The meeting point field, read and remembered; false (and said) when
  // it holds no address.
  bool readMeet(std::optional<net::Endpoint>& meet);
  void begin(ConnectRequest request);
  void poll();
  void showFailure(const QString& text);
  void cancel();

  QString meetSettingPath_;
  NetOptions options_;
  std::unique_ptr<ConnectFlow> flow_;
  QElapsedTimer clock_;
  QTimer pollTimer_;
  bool unattended_ = false;  // started from the command line
  bool connected_ = false;
  bool codeTold_ = false;

  QStackedWidget* pages_ = nullptr;
  QLineEdit* meetEdit_ = nullptr;
  QLineEdit* joinEdit_ = nullptr;
  QLineEdit* sessionEdit_ = nullptr;
  QPushButton* hostButton_ = nullptr;
  QPushButton* joinButton_ = nullptr;
  QLabel* error_ = nullptr;
  QLabel* stage_ = nullptr;
  QLabel* codeTitle_ = nullptr;
  QLineEdit* codeShown_ = nullptr;
  QPushButton* copyButton_ = nullptr;
  QLabel* codeHint_ = nullptr;
  QLabel* portLabel_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace zelkar::qt
