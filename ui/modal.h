#pragma once

class QWidget;

// Shows `window` modally: it becomes visible and the only window of the
// program that takes input (clicks, keys, wheel), while the windows below it
// stay visible. A nested event loop runs until the window is hidden, by its
// own closing button, by the caption close box or by a timer; then the other
// windows take input again and the call returns. The window is only hidden,
// never destroyed, so it keeps its state for the next showing. Modal showings
// nest: a modal window may show another one modally.
void ShowModal(QWidget& window);

// False while a modal showing of another window holds the input: the window
// of `widget` then takes no clicks and no keys.
bool AcceptsInput(const QWidget& widget);

// The window currently shown modally on top, or nullptr.
QWidget* TopModalWindow();
