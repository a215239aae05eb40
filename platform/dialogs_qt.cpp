#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/dialogs.h"

bool QtDialogs::askOkCancel(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                  parent);
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

void QtDialogs::showError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::critical(parent, caption, text);
}

void QtDialogs::showWarning(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::warning(parent, caption, text);
}

void QtDialogs::beep() { QApplication::beep(); }

QString QtDialogs::pickOpenFile(QWidget* parent, const OpenFileRequest& request) {
  QFileDialog dialog(parent, QString(), request.folder, request.filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.file.isEmpty()) dialog.selectFile(request.file);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

std::optional<TColor> QtDialogs::pickColor(QWidget* parent, TColor initial) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

namespace {

// The colour button shows the chosen colour as its face.
void showColor(QPushButton* button, TColor color) {
  button->setStyleSheet(QStringLiteral("background-color: %1").arg(toQColor(color).name()));
}

}  // namespace

// Qt's font dialog has no colour, so it is embedded with a colour button below it.
std::optional<ColoredFont> QtDialogs::pickFont(QWidget* parent, const ColoredFont& initial) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QFontDialog::tr("Select Font"));
  // The picker lists installed families only. A face the system stands in for (Arial shown
  // as Liberation Sans) is preset as its stand-in, with its style, and given back under its
  // own name while the operator keeps it.
  const QString shownFamily = QFontInfo(initial.font).family();
  QFont preset = initial.font;
  preset.setFamily(shownFamily);
  auto* fonts = new QFontDialog(preset, &dialog);
  fonts->setWindowFlags(Qt::Widget);
  fonts->setOptions(QFontDialog::NoButtons | QFontDialog::ScalableFonts |
                    QFontDialog::DontUseNativeDialog);
  TColor color = initial.color;
  auto* colorButton = new QPushButton(&dialog);
  colorButton->setFixedWidth(60);
  showColor(colorButton, color);
  QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
    if (const QColor c = QColorDialog::getColor(toQColor(color), &dialog); c.isValid()) {
      color = fromQColor(c);
      showColor(colorButton, color);
    }
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(new QLabel(QColorDialog::tr("Color"), &dialog));
  colorRow->addWidget(colorButton);
  colorRow->addStretch();
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(fonts);
  layout->addLayout(colorRow);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QFont chosen = fonts->currentFont();
  if (chosen.family() == shownFamily) chosen.setFamily(initial.font.family());
  return ColoredFont{chosen, color};
}

QString QtDialogs::pickSaveFile(QWidget* parent, const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, QString(), suggested, filter);
}

void QtDialogs::openUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
