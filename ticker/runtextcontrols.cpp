#include "ticker/runtextcontrols.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "commands/commands.h"
#include "commands/noticetext.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/color.h"
#include "platform/dialogs.h"
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

}  // namespace

RunTextControls::RunTextControls(QWidget* strip, QWidget* listArea, QWidget* editPanel,
                                 Commands& commands, Dialogs& dialogs, QObject* parent)
    : QObject(parent), commands_(commands), dialogs_(dialogs) {
  createStrip(strip);
  createList(listArea);
  createEditPanel(editPanel);
  const RunTextList& texts = commands_.texts();
  connect(&texts, &RunTextList::linesReset, this, &RunTextControls::showLines);
  connect(&texts, &RunTextList::lineInserted, this, [this](int at) {
    const QScopedValueRollback selecting(programSelecting_, true);
    listStr_->insertItem(at, commands_.texts().lines()[at]);
  });
  connect(&texts, &RunTextList::lineRemoved, this, [this](int at) {
    const QScopedValueRollback selecting(programSelecting_, true);
    delete listStr_->takeItem(at);
  });
  connect(&texts, &RunTextList::selectionChanged, this, &RunTextControls::showSelection);
  connect(&texts, &RunTextList::stopsAfterLastChanged, this,
          [this] { obc_->setDown(commands_.texts().stopsAfterLast()); });
  connect(&commands_.match(), &Match::changed, this, &RunTextControls::showPlayback);
  showLines();
  showPlayback();
}

void RunTextControls::createStrip(QWidget* strip) {
  connect(makeButton(strip, "OB1", "1", tr("[F7] One running string"), {5, 3}),
          &TOvalButton::clicked, this, &RunTextControls::mRunStartClick);
  connect(makeButton(strip, "OBA", "A", tr("[F8] All strings"), {34, 3}), &TOvalButton::clicked,
          this, &RunTextControls::mStartAllClick);
  connect(makeButton(strip, "OBS", "S", tr("[F6] One static string"), {62, 3}),
          &TOvalButton::clicked, this, &RunTextControls::mStatStartClick);
  connect(makeButton(strip, "OBX", "X", tr("[F9] Break"), {90, 3}), &TOvalButton::clicked, this,
          &RunTextControls::Clear1Click);

  demoRS_ = makeLabel(strip, "DemoRS", tr("LAUFTEXT.TXT"), {122, 4, 262, 26});
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
  obc_->setToolTip(tr("Ciclic running string list"));
  obc_->setGeometry(388, 3, 28, 28);
  obc_->setGroupIndex(2);
  obc_->setGlyph(glyphs::cyclicStrip(), true);
  obc_->setTransparentColor(0x00008080);
  connect(obc_, &TOvalButton::clicked, this, &RunTextControls::OBCClick);
  // A released button toggles itself; the release of a double click's second press is no
  // click, so the button is put back to the list's state, which it only shows.
  connect(obc_, &TOvalButton::mouseUp, this,
          [this] { obc_->setDown(commands_.texts().stopsAfterLast()); });
}

void RunTextControls::createList(QWidget* listArea) {
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
  connect(listStr_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (programSelecting_) return;
    commands_.selectText(row);
    ListStrClick();
  });
  connect(listStr_, &QListWidget::clicked, this, &RunTextControls::ListStrClick);
  connect(listStr_, &QListWidget::doubleClicked, this, &RunTextControls::ListStrDblClick);

  popupMenu1_ = new QMenu(listStr_);
  popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
  const auto addCommand = [this](const char* name, const QString& caption, QKeySequence key,
                                 void (RunTextControls::*slot)()) {
    QAction* action = popupMenu1_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    // The pop-up menu's keys act only while the list has the focus.
    action->setShortcutContext(Qt::WidgetShortcut);
    listStr_->addAction(action);
    connect(action, &QAction::triggered, this, slot);
  };
  addCommand("Openfile1", tr("Offnen file..."), QKeySequence(Qt::CTRL | Qt::Key_O),
             &RunTextControls::Openfile1Click);
  addCommand("Saveasdefault1", tr("Speichern as default"), QKeySequence(Qt::CTRL | Qt::Key_S),
             &RunTextControls::Saveasdefault1Click);
  save_ = popupMenu1_->actions().constLast();
  addCommand("Stringdelete1", tr("Zeile entfernen"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
             &RunTextControls::Stringdelete1Click);
  listStr_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(listStr_, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { popupMenu1_->popup(listStr_->viewport()->mapToGlobal(at)); });
}

void RunTextControls::createEditPanel(QWidget* editPanel) {
  // The hint is no text: an untouched editor adds nothing to the list.
  edit1_ = new QLineEdit(editPanel);
  edit1_->setPlaceholderText(tr("Neue Zeile"));
  edit1_->setObjectName(QStringLiteral("Edit1"));
  // Ctrl+S saves the list also while the line is being written.
  edit1_->addAction(save_);
  edit1_->setToolTip(tr("Zeile zu ändern"));
  edit1_->setGeometry(6, 5, 379, edit1_->sizeHint().height());
  connect(edit1_, &QLineEdit::returnPressed, this, &RunTextControls::Edit1Enter);
  TOvalButton* add = makeButton(editPanel, "obADDstr", "+", tr("Add string to list"), {389, 2}, 19);
  add->setTransparent(true);
  connect(add, &TOvalButton::clicked, this, &RunTextControls::obADDstrClick);
}

bool RunTextControls::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listStr_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ListStrDblClick();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void RunTextControls::showLines() {
  const QScopedValueRollback selecting(programSelecting_, true);
  listStr_->clear();
  listStr_->addItems(commands_.texts().lines());
}

void RunTextControls::showSelection() {
  const QScopedValueRollback selecting(programSelecting_, true);
  const int index = commands_.texts().selected();
  if (index == RunTextList::kNone) {
    listStr_->setCurrentRow(-1);
    listStr_->clearSelection();
  } else {
    listStr_->setCurrentRow(index);
  }
}

void RunTextControls::loadDefaultList() { tell(commands_.loadDefaultTexts()); }

void RunTextControls::mStatStartClick() { startPlayback(runTextStatic); }
void RunTextControls::mRunStartClick() { startPlayback(runTextOne); }
void RunTextControls::mStartAllClick() { startPlayback(runTextAll); }

void RunTextControls::startPlayback(int mode) { tell(commands_.startText(mode)); }

void RunTextControls::Clear1Click() { commands_.stopText(); }

// The indicators show the playback mode while a text is on the ticker.
void RunTextControls::showPlayback() {
  const RunTextState& run = commands_.match().state().runText;
  static const QString arrows[][2] = {{"<", "<"}, {"<<<", "<<<"}, {"<", ">"}};
  const int row = run.mode == runTextAll ? 1 : run.mode == runTextStatic ? 2 : 0;
  labelRS1_->setText(arrows[row][0]);
  labelRS2_->setText(arrows[row][1]);
  labelRS1_->setVisible(run.shown);
  labelRS2_->setVisible(run.shown);
  setLabelColors(demoRS_, run.lit ? demoActive : demoIdle, stripLabelBack);
}

void RunTextControls::OBCClick() {
  commands_.setTextsStopAfterLast(!commands_.texts().stopsAfterLast());
}

void RunTextControls::ListStrDblClick() { commands_.replayText(); }

void RunTextControls::ListStrClick() {
  if (commands_.texts().selected() != RunTextList::kNone)
    edit1_->setText(commands_.texts().selectedLine());
}

void RunTextControls::Edit1Enter() {
  if (edit1_->text().isEmpty()) return;
  commands_.insertTextAfter(edit1_->text());
  edit1_->selectAll();
}

void RunTextControls::obADDstrClick() {
  if (!edit1_->text().isEmpty()) commands_.insertTextBefore(edit1_->text());
}

void RunTextControls::Stringdelete1Click() { commands_.deleteText(); }

void RunTextControls::Openfile1Click() {
  const QString file =
      dialogs_.pickOpenFile(listStr_->window(), {QFileInfo(commands_.listFilePath()).path(),
                                                 tr("Text files (*.txt)"),
                                                 {},
                                                 QStringLiteral("txt")});
  if (!file.isEmpty()) tell(commands_.openTexts(file));
}

void RunTextControls::Saveasdefault1Click() {
  const Notice refused = commands_.saveTexts();
  emit said(refused ? noticeText(refused)
                    : tr("Lauftexte gespeichert: %1")
                          .arg(QDir::toNativeSeparators(commands_.listFilePath())));
}

void RunTextControls::tell(const Notice& notice) {
  const QString caption = QGuiApplication::applicationDisplayName();
  if (notice.kind == Notice::Warning)
    dialogs_.showWarning(listStr_->window(), caption, noticeText(notice));
  else if (notice.kind == Notice::Error)
    dialogs_.showError(listStr_->window(), caption, noticeText(notice));
}
