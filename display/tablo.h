#pragma once
// Temporary stand-in so that the console builds before the display window lands.
#include <QWidget>

#include "display/consolelink.h"
#include "display/label.h"
#include "platform/platform.h"

class TFormTablo : public QWidget {
 public:
  TFormTablo(Platform&, ConsoleLink&, QWidget* parent = nullptr) : QWidget(parent) {
    for (TLabel** l : {&Label1, &Label2, &Label3, &Label4, &Label5, &LabelStraf1a, &LabelStraf1b,
                       &LabelStraf2a, &LabelStraf2b})
      *l = new TLabel(this);
    Label4->setColor(0x800000);
    Label5->setFontColor(0xFFFFFF);
    PanelPause = new QWidget(this);
    PanelLogo = new QWidget(this);
    PanelBlack = new QWidget(this);
  }
  TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  TLabel *LabelStraf1a, *LabelStraf1b, *LabelStraf2a, *LabelStraf2b;
  QWidget *PanelPause, *PanelLogo, *PanelBlack;
  void FormDestroy() {}
  void ApplyScreenMode() {}
};
