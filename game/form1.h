#pragma once

#include "formstate.h"
#include "geometry.h"
#include "iconchanger.h"
#include "services.h"

#include <QWidget>

class CommandButton;
class ListBox;
class PictureBox;
class QLabel;

// The game's window: a picture wanders about while the player clicks it against the
// clock. A whole round runs inside the "GO!" handler; clicks and "QUIT" get through
// only while it waits between steps.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const Services &services, QWidget *parent = nullptr);

    // Lets `waitSeconds` pass on the clock while the window's events are handled.
    void TimeOut(double waitSeconds);

    void Form_Load();
    void cmdGo_Click();
    void picIco_Click();
    void cmdQuit_Click();
    void cmdIco_Click();

    FormState &state() { return state_; }
    const IconChanger &iconChanger() const { return iconChanger_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    QWidget *parkFocusForRound();
    void rateRound();

    Services services_;
    FormState state_;

    ListBox *lstSpeed_ = nullptr;
    QLabel *lblTimer_ = nullptr;
    QLabel *lblClicks_ = nullptr;
    QLabel *lblFeedback_ = nullptr;
    CommandButton *cmdGo_ = nullptr;
    CommandButton *cmdIco_ = nullptr;
    CommandButton *cmdQuit_ = nullptr;
    PictureBox *picIco_ = nullptr;

    std::unique_ptr<WidgetGeometry> picGeometry_;
    WindowFrameGeometry formGeometry_{*this};
    IconChanger iconChanger_;
};
