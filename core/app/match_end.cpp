#include "app/match_end.h"

#include <charconv>

#include "app/handlers.h"

namespace zelkar {

namespace {

// Left of a result label over player p's side: 605 right, 130 left.
int16_t sideLeft(int p) { return static_cast<int16_t>(130 + 475 * (1 - p)); }

void askForReplay(Game& g) {
  ScreenModel& w = g.screen;
  w.timer1Interval = 0;
  w.mes1.visible = w.han.visible = true;
  w.mes1.top = w.han.top = 276;
  w.focus = Focus::Han;
  // No nested event loop: the game waits in this state, and only the
  // answer box is served until it has been answered.
  g.awaitingAnswer = true;
}

}  // namespace

void showScore(Game& g, int dotti) {
  g.s.points[dotti] = static_cast<int16_t>(g.s.points[dotti] + 1);
  const int v = g.s.points[dotti];
  char text[8] = {'0'};
  // One digit gets a leading zero: "01" .. "09", then "10".
  char* begin = v >= 0 && v < 10 ? text + 1 : text;
  char* end = std::to_chars(begin, text + sizeof text, v).ptr;
  g.screen.tokuten[dotti].caption = std::string_view(text, std::size_t(end - text));
}

void again(Game& g) {
  ScreenModel& w = g.screen;
  const int winner = g.s.subjectPlayer;
  w.syousya.left = sideLeft(winner);
  w.haisya.left = sideLeft(1 - winner);
  w.syousya.visible = w.haisya.visible = true;
  askForReplay(g);
}

void again2(Game& g) {
  ScreenModel& w = g.screen;
  // One label over each side whatever subjectPlayer holds.
  w.hikiwake[0].left = sideLeft(g.s.subjectPlayer);
  w.hikiwake[1].left = sideLeft(1 - g.s.subjectPlayer);
  w.hikiwake[0].visible = w.hikiwake[1].visible = true;
  askForReplay(g);
}

void quitProgram(Game& g, WindowSystem& ws) {
  g.ended = true;
  g.screen.scoreVisible = false;
  g.screen.timer1Interval = 0;
  ws.endProgram();
}

void hanChange(Game& g, WindowSystem& ws) {
  if (!g.awaitingAnswer || g.ended) return;
  ScreenModel& w = g.screen;
  const std::string_view answer = w.han.caption.view();
  if (answer == "y" || answer == "Y") {
    w.mes1.visible = w.han.visible = false;
    w.Picture2.top = 250;
    w.Picture2.visible = true;
    w.syousya.visible = w.haisya.visible = false;
    w.hikiwake[0].visible = w.hikiwake[1].visible = false;
    w.focus = Focus::Main;
    g.awaitingAnswer = false;
  } else if (answer == "n" || answer == "N") {
    g.awaitingAnswer = false;
    quitProgram(g, ws);
  }
  // Anything else is wiped at once and the question stays.
  w.han.caption = "";
}

}  // namespace zelkar
