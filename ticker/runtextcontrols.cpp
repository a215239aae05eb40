#include "ticker/runtextcontrols.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "core/match.h"
#include "platform/color.h"
#include "platform/dialogs.h"
#include "ticker/runlistfile.h"
#include "widgets/glyphs.h"
#include "widgets/ovalbutton.h"

namespace {

constexpr TColor stripLabelBack = colors::black;
constexpr TColor demoIdle = colors::grey;
constexpr TColor demoActive = colors::white;

QFont pixelFont(int pixels, bool bold) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

void setLabelColors(QLabel* label, TColor text, TColor back) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, toQColor(text));
  p.setColor(QPalette::Window, toQColor(back));
  label->setPalette(p);
  label->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect bounds) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(bounds);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// A mode button of the console: 28 x 28, bold caption above an empty glyph place.
TOvalButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, QPoint at, int captionPixels = 15) {
  auto* button = new TOvalButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setCaption(caption);
  button->setToolTip(hint);
  button->setFont(pixelFont(captionPixels, true));
  button->setGeometry(QRect(at, QSize(28, 28)));
  button->setButtonLayout(TButtonLayout::blGlyphBottom);
  button->setSpacing(4);
  button->setMargin(0);
  // Two glyphs without a picture: the caption sits above the empty glyph place.
  button->setNumGlyphs(2);
  return button;
}

// The list's rows are 13 pixels high whatever the style would make of them.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), 13};
  }
};

// The error box's text: the file and the system's reason, ending with a full stop.
QString errorText(const QString& format, const QString& file, const QString& reason) {
  QString text = format.arg(QDir::toNativeSeparators(file), reason);
  if (!text.endsWith(u'.')) text += u'.';
  return text;
}

}  // namespace

TRunTextControls::TRunTextControls(QWidget* strip, QWidget* listArea, QWidget* editPanel,
                                   Match& match, Dialogs& dialogs, const QString& programFolder,
                                   QObject* parent)
    : QObject(parent), match_(match), dialogs_(dialogs), programFolder_(programFolder) {
  createStrip(strip);
  createList(listArea);
  createEditPanel(editPanel);
  reloadDefaultList();
}

void TRunTextControls::createStrip(QWidget* strip) {
  connect(makeButton(strip, "OB1", "1", "[F7] One running string", {5, 3}), &TOvalButton::clicked,
          this, &TRunTextControls::mRunStartClick);
  connect(makeButton(strip, "OBA", "A", "[F8] All strings", {34, 3}), &TOvalButton::clicked, this,
          &TRunTextControls::mStartAllClick);
  connect(makeButton(strip, "OBS", "S", "[F6] One static string", {62, 3}), &TOvalButton::clicked,
          this, &TRunTextControls::mStatStartClick);
  connect(makeButton(strip, "OBX", "X", "[F9] Break", {90, 3}), &TOvalButton::clicked, this,
          &TRunTextControls::Clear1Click);

  demoRS_ = makeLabel(strip, "DemoRS", QStringLiteral("LAUFTEXT.TXT"), {122, 4, 262, 26});
  demoRS_->setFont(pixelFont(16, true));
  setLabelColors(demoRS_, demoIdle, stripLabelBack);
  labelRS1_ = makeLabel(strip, "LabelRS1", QStringLiteral("<<<"), {124, 4, 37, 24});
  labelRS2_ = makeLabel(strip, "LabelRS2", QStringLiteral("<<<"), {345, 4, 33, 24});
  for (QLabel* l : {labelRS1_, labelRS2_}) {
    l->setFont(pixelFont(21, false));
    setLabelColors(l, colors::white, stripLabelBack);
    l->hide();
  }

  // Released: all-texts playback starts again after the last entry; pressed: it stops there.
  obc_ = new TOvalButton(strip);
  obc_->setObjectName(QStringLiteral("OBC"));
  obc_->setToolTip(QStringLiteral("Ciclic running string list"));
  obc_->setGeometry(388, 3, 28, 28);
  obc_->setGroupIndex(2);
  obc_->setGlyph(glyphs::cyclicStrip(), true);
  obc_->setTransparentColor(0x00008080);
  connect(obc_, &TOvalButton::clicked, this, &TRunTextControls::OBCClick);
}

void TRunTextControls::createList(QWidget* listArea) {
  listStr_ = new QListWidget(listArea);
  listStr_->setObjectName(QStringLiteral("ListStr"));
  listStr_->setUniformItemSizes(true);
  listStr_->setItemDelegate(new FixedRowDelegate(listStr_));
  listStr_->setFont(pixelFont(11, false));
  listStr_->setSelectionMode(QAbstractItemView::SingleSelection);
  if (!listArea->layout()) {
    auto* layout = new QVBoxLayout(listArea);
    layout->setContentsMargins(0, 0, 0, 0);
  }
  listArea->layout()->addWidget(listStr_);
  listStr_->installEventFilter(this);
  connect(listStr_, &QListWidget::currentRowChanged, this, [this] {
    if (!programSelecting_) ListStrClick();
  });
  connect(listStr_, &QListWidget::clicked, this, &TRunTextControls::ListStrClick);
  connect(listStr_, &QListWidget::doubleClicked, this, &TRunTextControls::ListStrDblClick);

  popupMenu1_ = new QMenu(listStr_);
  popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
  const auto addCommand = [this](const char* name, const QString& caption, QKeySequence key,
                                 void (TRunTextControls::*slot)()) {
    QAction* action = popupMenu1_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    // The pop-up menu's keys act only while the list has the focus.
    action->setShortcutContext(Qt::WidgetShortcut);
    listStr_->addAction(action);
    connect(action, &QAction::triggered, this, slot);
  };
  addCommand("Openfile1", QStringLiteral("Offnen file..."), QKeySequence(Qt::CTRL | Qt::Key_O),
             &TRunTextControls::Openfile1Click);
  addCommand("Saveasdefault1", QStringLiteral("Speichern as default"),
             QKeySequence(Qt::CTRL | Qt::Key_S), &TRunTextControls::Saveasdefault1Click);
  addCommand("Stringdelete1", QStringLiteral("Zeile entfernen"),
             QKeySequence(Qt::CTRL | Qt::Key_Delete), &TRunTextControls::Stringdelete1Click);
  listStr_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(listStr_, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { popupMenu1_->popup(listStr_->viewport()->mapToGlobal(at)); });
}

void TRunTextControls::createEditPanel(QWidget* editPanel) {
  edit1_ = new QLineEdit(QStringLiteral("Neue Zeile"), editPanel);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setToolTip(QStringLiteral("Zeile zu ändern"));
  edit1_->setGeometry(6, 5, 379, edit1_->sizeHint().height());
  connect(edit1_, &QLineEdit::returnPressed, this, &TRunTextControls::Edit1Enter);
  TOvalButton* add = makeButton(editPanel, "obADDstr", "+", "Add string to list", {389, 2}, 19);
  add->setTransparent(true);
  connect(add, &TOvalButton::clicked, this, &TRunTextControls::obADDstrClick);
}

QString TRunTextControls::listFilePath() const {
  return QDir(programFolder_).filePath(QLatin1String(RunListFile::defaultName));
}

bool TRunTextControls::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listStr_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ListStrDblClick();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

int TRunTextControls::itemIndex() const {
  const int row = listStr_->currentRow();
  return row >= 0 && listStr_->item(row)->isSelected() ? row : -1;
}

void TRunTextControls::selectEntry(int index) {
  programSelecting_ = true;
  if (index >= 0 && index < listStr_->count()) {
    listStr_->setCurrentRow(index);
  } else {
    listStr_->setCurrentRow(-1);
    listStr_->clearSelection();
  }
  programSelecting_ = false;
}

void TRunTextControls::replaceEntries(const QStringList& entries, const QString& file,
                                      const RunListFile::Shortfall& shortfall) {
  listComplete_ = shortfall.none();
  if (!listComplete_) {
    QStringList parts;
    if (shortfall.linesNotLoaded > 0 || shortfall.moreNotLoaded)
      parts << QStringLiteral("%1%2 Zeilen nicht geladen")
                   .arg(shortfall.moreNotLoaded ? QStringLiteral("mehr als ") : QString())
                   .arg(shortfall.linesNotLoaded);
    if (shortfall.linesCut > 0)
      parts << QStringLiteral("%1 Zeilen gekürzt").arg(shortfall.linesCut);
    dialogs_.showWarning(
        listStr_->window(), QGuiApplication::applicationDisplayName(),
        QStringLiteral("\"%1\": %2.")
            .arg(QDir::toNativeSeparators(file), parts.join(QStringLiteral(", "))));
  }
  replaceEntries(entries);
}

void TRunTextControls::replaceEntries(const QStringList& entries) {
  programSelecting_ = true;
  listStr_->clear();
  listStr_->addItems(entries);
  programSelecting_ = false;
  selectEntry(0);
  emit entriesEdited();
}

QStringList TRunTextControls::entries() const {
  QStringList entries;
  entries.reserve(listStr_->count());
  for (int i = 0; i < listStr_->count(); ++i) entries.append(listStr_->item(i)->text());
  return entries;
}

void TRunTextControls::restoreEntries(const QStringList& entries, int selected) {
  replaceEntries(entries);
  selectEntry(selected);
}

bool TRunTextControls::reloadDefaultList() {
  QStringList entries;
  RunListFile::Shortfall shortfall;
  if (!RunListFile::read(listFilePath(), entries, nullptr, &shortfall)) return false;
  replaceEntries(entries, listFilePath(), shortfall);
  return true;
}

void TRunTextControls::mStatStartClick() { startPlayback(runTextStatic); }
void TRunTextControls::mRunStartClick() { startPlayback(runTextOne); }
void TRunTextControls::mStartAllClick() { startPlayback(runTextAll); }

void TRunTextControls::startPlayback(int mode) {
  // Nothing selected: start over from the saved list, dropping unsaved edits.
  if (itemIndex() < 0) reloadDefaultList();
  const int index = itemIndex();
  if (index < 0) {
    match_.startRunText(mode, std::nullopt);
    showIndicators(false);
    return;
  }
  match_.startRunText(mode, listStr_->item(index)->text());
  if (mode == runTextOne) {
    labelRS1_->setText(QStringLiteral("<"));
    labelRS2_->setText(QStringLiteral("<"));
  } else if (mode == runTextAll) {
    labelRS1_->setText(QStringLiteral("<<<"));
    labelRS2_->setText(QStringLiteral("<<<"));
  } else if (mode == runTextStatic) {
    labelRS1_->setText(QStringLiteral("<"));
    labelRS2_->setText(QStringLiteral(">"));
  }
  showIndicators(true);
  setDemoColor(demoActive);
}

void TRunTextControls::Clear1Click() {
  if (!match_.state().runText.shown) return;
  stopPlayback();
}

void TRunTextControls::stopPlayback() {
  match_.stopRunText();
  setDemoColor(demoIdle);
  showIndicators(false);
}

void TRunTextControls::RunLabelEnd() {
  const int index = itemIndex();
  if (index == listStr_->count() - 1) {
    selectEntry(0);
    if (obc_->down()) {
      stopPlayback();
      return;
    }
  } else {
    selectEntry(index + 1);
  }
  const int next = itemIndex();
  if (match_.state().runText.mode == runTextAll && next >= 0) {
    match_.continueRunText(listStr_->item(next)->text());
    return;
  }
  stopPlayback();
}

void TRunTextControls::OBCClick() {
  // The button's own release handling flips Down once more from the state before the press,
  // so a mouse click toggles exactly once.
  obc_->setDown(!obc_->down());
}

void TRunTextControls::ListStrDblClick() {
  switch (match_.state().runText.mode) {
    case runTextStatic:
      mStatStartClick();
      break;
    case runTextAll:
      mStartAllClick();
      break;
    case runTextOne:
      mRunStartClick();
      break;
    default:
      break;
  }
}

void TRunTextControls::ListStrClick() {
  const int index = itemIndex();
  if (index >= 0) edit1_->setText(listStr_->item(index)->text());
}

void TRunTextControls::Edit1Enter() {
  const int at = itemIndex() + 1;
  listStr_->insertItem(at, edit1_->text());
  selectEntry(at);
  edit1_->selectAll();
  emit entriesEdited();
}

void TRunTextControls::obADDstrClick() {
  const int index = itemIndex();
  if (index < 0) {
    listStr_->addItem(edit1_->text());
    selectEntry(-1);
  } else {
    listStr_->insertItem(index, edit1_->text());
    selectEntry(index);
  }
  emit entriesEdited();
}

void TRunTextControls::Stringdelete1Click() {
  const int index = itemIndex();
  if (index < 0) return;
  programSelecting_ = true;
  delete listStr_->takeItem(index);
  programSelecting_ = false;
  selectEntry(qMin(index, listStr_->count() - 1));
  emit entriesEdited();
}

void TRunTextControls::Openfile1Click() {
  const QString file = dialogs_.pickOpenFile(
      listStr_->window(),
      {programFolder_, QStringLiteral("Text files (*.txt)"), {}, QStringLiteral("txt")});
  if (file.isEmpty()) return;
  QStringList entries;
  QString reason;
  RunListFile::Shortfall shortfall;
  if (!RunListFile::read(file, entries, &reason, &shortfall)) {
    dialogs_.showError(listStr_->window(), QGuiApplication::applicationDisplayName(),
                       errorText(QStringLiteral("Cannot open file \"%1\". %2"), file, reason));
    return;
  }
  replaceEntries(entries, file, shortfall);
}

void TRunTextControls::Saveasdefault1Click() {
  const QString file = listFilePath();
  // Saving a list that was not loaded whole would cut off what was left out.
  if (!listComplete_) {
    dialogs_.showError(
        listStr_->window(), QGuiApplication::applicationDisplayName(),
        QStringLiteral("\"%1\" wird nicht gespeichert: die Liste wurde nicht vollständig geladen.")
            .arg(QDir::toNativeSeparators(file)));
    return;
  }
  const QStringList entries = this->entries();
  QString reason;
  if (!RunListFile::write(file, entries, &reason))
    dialogs_.showError(listStr_->window(), QGuiApplication::applicationDisplayName(),
                       errorText(QStringLiteral("Cannot create file \"%1\". %2"), file, reason));
}

void TRunTextControls::showIndicators(bool on) {
  labelRS1_->setVisible(on);
  labelRS2_->setVisible(on);
}

void TRunTextControls::setDemoColor(TColor color) {
  setLabelColors(demoRS_, color, stripLabelBack);
}
