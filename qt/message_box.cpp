#include "qt/message_box.h"

#include <QMessageBox>

#include "qt/game_font.h"

namespace zelkar::qt {

void showMessageBox(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.setFont(gameFont(9));
  box.exec();
}

void showMessageBoxModeless(QWidget* parent, const QString& text, const QString& title) {
  auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box->setFont(gameFont(9));
  box->setModal(false);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

}  // namespace zelkar::qt
