#pragma once

// The configuration dialog, created once at start-up and shown modally by the console's
// configuration command. fill() hands it the settings record; showing fills the remaining
// fields from it, and confirmed() hands back the checked configuration: the new record, or
// what of it the refusal of a bad period length keeps. The dialog never
// touches a window: font and font-colour choices and the Default button's fonts, which act on
// the display while the dialog is open, leave through the two signals. Pickers, monitors and
// message boxes come from the platform layer, the team list from TeamsFile, the period-length
// text from periodlength.h.

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QSpinBox>
#include <array>
#include <optional>

#include "platform/color.h"
#include "settings/settings.h"
#include "settings/settingsgroups.h"
#include "settings/tsettings.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
struct Platform;

// A lowered box that shows a colour and reports a click.
class ColorPanel : public QFrame {
  Q_OBJECT

 public:
  ColorPanel(int tag, QWidget* parent);
  TColor color() const { return color_; }
  void setColor(TColor c);
  // 0 … 4 for a background colour C0 … C4, −1 for a font colour.
  int Tag;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TColor color_ = colors::black;
};

// A number field with up and down arrows. While typing, any number of up to maxDigits digits
// is allowed; on leaving, a number outside the range goes to the nearest bound and a field
// without a number to the lower bound.
class SpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  SpinEdit(int minimum, int maximum, int maxDigits, QWidget* parent);
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;

 private:
  int maxDigits_;
};

// An editable box whose drop-down arrow asks for a file instead of opening a list.
class FileComboBox : public QComboBox {
  Q_OBJECT

 public:
  using QComboBox::QComboBox;
  void showPopup() override { emit dropDown(); }

 signals:
  void dropDown();
};

class TCfgDialog : public QDialog {
  Q_OBJECT

 public:
  TCfgDialog(Platform& platform, const QString& programFolder, QWidget* parent = nullptr);

  // Puts the record's colours, running-text step, sound, view and full screen into their
  // fields and keeps the record for the filling on showing.
  void fill(const TSettings& settings);

  // The dialog's content, confirmed with OK, as a configuration of `current`.
  ConfirmedConfiguration confirmed(const TSettings& current) const;

  // The confirmed fields that do not depend on the period length, in this order: FullScr,
  // VidTablo, SoundTime, SoundFile, SLoop, TitelType, TitelType1, TitelType2, Comanda1, Comanda2,
  // Sport, BreakTime.
  void takeSettings(TSettings& settings) const;
  // The break field's seconds; nothing unless it is a time from 00:00 to 59:59.
  std::optional<int> breakSeconds() const;
  // "00:" and the period-length field, to be read as hours:minutes:seconds.
  QString periodText() const;
  QString namesText() const;
  QString titleText() const;
  std::array<TColor, 5> backgroundColors() const;
  int runSpeed() const;
  // The chosen monitor's index, nothing if no entry is selected.
  std::optional<int> selectedMonitor() const;
  // The element fonts as the dialog last set them on the display.
  const std::array<ElementFont, kElementFonts>& fonts() const { return fonts_; }

  // Handlers.
  void FormShow();
  void cbColor1Click(ColorPanel* panel);
  void bFontClick(int tag);
  void bComandaClick(int tag);
  void ListBox1Click();
  void RadioButton1Click(int tag);
  void bSoundClick();
  void bDefaultClick();

  QLineEdit* meTime;
  QToolButton* bComanda1;
  QLineEdit* eNames;
  QToolButton* bComanda2;
  QListWidget* ListBox1;
  ColorPanel* cbColor0;
  QComboBox* seVid;
  QComboBox* cbSport;
  QLineEdit* meBreak;  // the break between periods, "MM:SS"
  QFrame *gb1, *gb2, *gb3, *gb4;
  ColorPanel *cbColor1, *cbColor2, *cbColor3, *cbColor4;
  QPushButton *bFont1, *bFont2, *bFont3, *bFont4;
  ColorPanel *cbColorF1, *cbColorF2, *cbColorF3, *cbColorF4;
  QGroupBox* gbZeilen;
  SpinEdit* seRunSpeed;
  QPushButton* Button1;
  ColorPanel* cbColorFRS;
  QGroupBox* gbTitle;
  QRadioButton* RadioButton1;
  QLineEdit* eTitle;
  QRadioButton* RadioButton2;
  FileComboBox* eTitleFile;
  QGroupBox* gbSound;
  QLineEdit* eSound;
  QToolButton* bSound;
  QCheckBox* cbSound;
  QCheckBox* cbNoWarning;  // "kein Warnton"
  SpinEdit* seSoundTime;
  QGroupBox* gbMonitor;
  QComboBox* cbMonitor;
  QCheckBox* cbFullScreen;
  QPushButton* bDefault2;
  QPushButton* bCancel;
  QPushButton* OKBtn;

 public slots:
  // OK is refused while the period length is not filled in.
  void accept() override;

 signals:
  // Element font n (0 title, 1 clock, 2 names, 3 score, 4 running text) got another face, style
  // or colour; its size stays the display's.
  void elementFontChosen(int n, const ElementFont& font);
  // The Default button put the design fonts on all five elements; the period number takes the
  // title's font, and the display lays itself out again.
  void elementFontsReset(const std::array<ElementFont, kElementFonts>& fonts);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  QFrame* createLineRow(const QString& caption, int tag, ColorPanel*& background,
                        QPushButton*& fontButton, ColorPanel*& fontColor);
  void fillMonitors();
  // The period length must be filled in before the field is left or the dialog confirmed.
  void refuseUnfilledTime();
  void complainUnfilledTime();
  void setTeam(int tag, const QString& name);

  Platform& platform_;
  QString programFolder_;
  QString pictureFolder_;  // where the picture picker opens
  TSettings record_;
  std::array<ElementFont, kElementFonts> fonts_;  // as last set on the display
  bool filled_ = false;           // false while showing fills the fields; the picture picker waits
  int titleType_ = 1;             // the title radio button last acted on
  int teamSlot_ = 1;              // the side whose button opened the team list
  std::array<QString, 2> teams_;  // home and guest team names
  TColor pickerColor_ = colors::black;  // the colour picker shows what it showed last
  std::array<ColorPanel*, kElementFonts> fontColorPanels_;
};
