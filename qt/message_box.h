// How the front end shows a message box: a function, so that tests can
// capture the messages instead of blocking on a modal dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zelkar::qt {

using MessageBoxFn = std::function<void(const QString& text, const QString& title)>;

// A modal box with the text, the title and only an OK button.
void showMessageBox(QWidget* parent, const QString& text, const QString& title);
// The same box without waiting for the click: a replay plays on under it.
void showMessageBoxModeless(QWidget* parent, const QString& text, const QString& title);

}  // namespace zelkar::qt
