#pragma once

class QWidget;
class TFormCtrl;

// Keys pressed while `window` is the active window run the console's commands, as if the
// console had the focus. The full-screen display covers the console and hides the pointer over
// itself; with its keys the operator still reaches F5, Ctrl+C and the others.
void forwardCommandKeys(QWidget& window, TFormCtrl& console);
