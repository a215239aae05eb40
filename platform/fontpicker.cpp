#include "platform/fontpicker.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The sample's size: the configuration's fonts are sized by the display, the picker shows them
// at a readable size.
constexpr int kSamplePoints = 18;

}  // namespace

QStringList FontPicker::offeredFamilies() {
  QStringList offered;
  for (const QString& family : QFontDatabase::families()) {
    // A face without styles (Windows' "MS Shell Dlg" alias) cannot be drawn as chosen.
    if (QFontDatabase::isPrivateFamily(family) || QFontDatabase::styles(family).isEmpty()) continue;
    if (QFontDatabase::isSmoothlyScalable(family)) offered.append(family);
  }
  offered.sort(Qt::CaseInsensitive);
  return offered;
}

FontPicker::FontPicker(const ColoredFont& initial, QWidget* parent)
    : QDialog(parent),
      initial_(initial),
      shownFamily_(QFontInfo(initial.font).family()),
      color_(initial.color) {
  setWindowTitle(tr("Schrift"));
  families_ = new QListWidget(this);
  families_->setObjectName("families");
  families_->addItems(offeredFamilies());
  for (const QString& family : {initial.font.family(), shownFamily_}) {
    const QList<QListWidgetItem*> found = families_->findItems(family, Qt::MatchFixedString);
    if (found.isEmpty()) continue;
    families_->setCurrentItem(found.first());
    families_->scrollToItem(found.first(), QAbstractItemView::PositionAtCenter);
    break;
  }
  bold_ = new QCheckBox(tr("Fett"), this);
  italic_ = new QCheckBox(tr("Kursiv"), this);
  underline_ = new QCheckBox(tr("Unterstrichen"), this);
  strikeOut_ = new QCheckBox(tr("Durchgestrichen"), this);
  bold_->setChecked(initial.font.bold());
  italic_->setChecked(initial.font.italic());
  underline_->setChecked(initial.font.underline());
  strikeOut_->setChecked(initial.font.strikeOut());
  colorButton_ = new QPushButton(this);
  colorButton_->setObjectName("color");
  colorButton_->setFixedWidth(60);
  sample_ = new QLabel(QStringLiteral("AaBbYyZz 12:34"), this);
  sample_->setMinimumHeight(60);
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setAutoFillBackground(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* styles = new QVBoxLayout;
  for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_}) {
    styles->addWidget(box);
    connect(box, &QCheckBox::toggled, this, &FontPicker::showSample);
  }
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(new QLabel(tr("Farbe:"), this));
  colorRow->addWidget(colorButton_);
  styles->addLayout(colorRow);
  styles->addStretch();
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("Schriftart:"), this), 0, 0);
  grid->addWidget(families_, 1, 0);
  grid->addLayout(styles, 1, 1);
  grid->addWidget(sample_, 2, 0, 1, 2);
  grid->addWidget(buttons, 3, 0, 1, 2);

  connect(families_, &QListWidget::currentTextChanged, this, &FontPicker::showSample);
  connect(colorButton_, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(toQColor(color_), this);
    if (!chosen.isValid()) return;
    color_ = fromQColor(chosen);
    showColor();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  showColor();
  families_->setFocus();
}

ColoredFont FontPicker::chosen() const {
  QFont font = initial_.font;
  if (const QListWidgetItem* item = families_->currentItem(); item && item->text() != shownFamily_)
    font.setFamily(item->text());
  font.setBold(bold_->isChecked());
  font.setItalic(italic_->isChecked());
  font.setUnderline(underline_->isChecked());
  font.setStrikeOut(strikeOut_->isChecked());
  return {font, color_};
}

void FontPicker::showColor() {
  colorButton_->setStyleSheet(QStringLiteral("background-color: %1").arg(toQColor(color_).name()));
  showSample();
}

void FontPicker::showSample() {
  const ColoredFont shown = chosen();
  QFont font = shown.font;
  font.setPointSize(kSamplePoints);
  sample_->setFont(font);
  // The sample on a grey ground, so that white and black fonts both show.
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::WindowText, toQColor(shown.color));
  sample_->setPalette(palette);
}
