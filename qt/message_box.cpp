#include "qt/message_box.h"

#include <QMessageBox>

#include "qt/japanese_font.h"

namespace zelkar::qt {

void showMessageBox(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.setFont(gameFont(9));
  box.exec();
}

}  // namespace zelkar::qt
