#include "app/keyforwarding.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/formctrl.h"

namespace {

// Lives as a child of the watched window, so it goes with it.
class CommandKeys : public QObject {
 public:
  CommandKeys(TFormCtrl& console, QObject* parent) : QObject(parent), console_(console) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        console_.runCommandForKey(*static_cast<QKeyEvent*>(event)))
      return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  TFormCtrl& console_;
};

}  // namespace

void forwardCommandKeys(QWidget& window, TFormCtrl& console) {
  window.installEventFilter(new CommandKeys(console, &window));
}
