// The screen model stays the master of the start panel's widgets.
#include "qt/real_widgets.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace zelkar::qt {
namespace {

// Whatever a player did to a widget that no handler took (a replay plays,
// say) is undone at the next showing, even when the model itself did not
// change meanwhile; a model change still shows after an unchanged showing.
TEST(RealWidgets, APlayersChangeNoHandlerTookIsUndoneByTheNextShowing) {
  QWidget window;
  RealWidgets w(&window, 1);
  ScreenModel m;
  m.Picture2.visible = true;
  m.Option1.value = true;
  m.Option2.value = false;
  m.tirikosu.enabled = true;
  m.tirikosu.caption = "3";
  w.showModel(m);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(w.option1()->isChecked());

  w.option2()->click();
  ASSERT_TRUE(w.option2()->isChecked());
  w.showModel(m);
  EXPECT_TRUE(w.option1()->isChecked());
  EXPECT_FALSE(w.option2()->isChecked());

  QTest::keyClicks(w.tirikosu(), QStringLiteral("7"));
  ASSERT_NE(w.tirikosu()->text(), QStringLiteral("3"));
  w.showModel(m);
  EXPECT_EQ(w.tirikosu()->text(), QStringLiteral("3"));

  w.showModel(m);
  m.tirikosu.caption = "5";
  w.showModel(m);
  EXPECT_EQ(w.tirikosu()->text(), QStringLiteral("5"));
}

}  // namespace
}  // namespace zelkar::qt
