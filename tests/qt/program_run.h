// One run of the built program (or a copy of it), forked so that the test
// can signal it and learn the signal that ended it.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <csignal>
#include <string>
#include <vector>

namespace zelkar::qt::test {

// What the program needs of the environment, and no display.
inline QStringList baseEnvironment() {
  QStringList env;
  for (const char* name : {"PATH", "HOME", "LANG", "XDG_RUNTIME_DIR", "FONTCONFIG_FILE"})
    if (qEnvironmentVariableIsSet(name))
      env << QString::fromLatin1(name) + u'=' + qEnvironmentVariable(name);
  return env;
}
inline QStringList offscreen() {
  return baseEnvironment() << QStringLiteral("QT_QPA_PLATFORM=offscreen");
}

class Program {
 public:
  // `env` replaces the environment entirely; standard error goes to
  // `errPath`, and standard output there too when `withOutput`, else nowhere.
  Program(const QStringList& args, const QStringList& env, const QString& errPath,
          const QString& binary = QStringLiteral(ZELKAR_PROGRAM_PATH), bool withOutput = false) {
    std::vector<std::string> argStore{binary.toStdString()}, envStore;
    for (const QString& a : args) argStore.push_back(a.toStdString());
    for (const QString& e : env) envStore.push_back(e.toStdString());
    std::vector<char*> argv, envp;
    for (auto& s : argStore) argv.push_back(s.data());
    for (auto& s : envStore) envp.push_back(s.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const std::string err = errPath.toStdString();
    pid_ = ::fork();
    if (pid_ == 0) {
      if (std::freopen(err.c_str(), "w", stderr) == nullptr) ::_exit(127);
      if (withOutput)
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
      else
        std::freopen("/dev/null", "w", stdout);
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
  }
  ~Program() {
    if (!done_ && pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status_, 0);
    }
  }
  pid_t pid() const { return pid_; }
  bool running() {
    if (!done_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) done_ = true;
    return !done_;
  }
  // Waits up to `ms`; false when it still runs.
  bool wait(int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (running() && t.elapsed() < ms) QTest::qWait(20);
    return !running();
  }
  // Signals it and waits: the signal that ended it, or 0.
  int endBy(int signal) {
    ::kill(pid_, signal);
    return wait() ? this->signal() : -1;
  }
  int exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  int signal() const { return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
  bool done_ = false;
};

}  // namespace zelkar::qt::test
