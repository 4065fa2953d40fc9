#include "form1.h"

#include "caption.h"
#include "clock.h"
#include "commandbutton.h"
#include "errorreport.h"
#include "eventpump.h"
#include "floatfaults.h"
#include "frmico.h"
#include "iconmotion.h"
#include "layout.h"
#include "listbox.h"
#include "listtext.h"
#include "numbertext.h"
#include "picturebox.h"
#include "programend.h"
#include "randomsource.h"
#include "rating.h"
#include "toolkit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr double kRoundSeconds = 10.1;
constexpr qint16 kStepLength = 150;

QRect pixelRect(const layout::Control &design)
{
    const auto px = [](int twips) { return qRound(twips / kTwipsPerPixel); };
    return {px(design.left), px(design.top), px(design.width), px(design.height)};
}

// The list's and the labels' fonts are part of the design; the buttons keep the
// window's font, whatever the desktop makes it.
std::optional<QFont> designFont(layout::Face face)
{
    switch (face) {
    case layout::Face::List:
        return sansSerifFont(kListFontPixels);
    case layout::Face::Label:
        return sansSerifFont(kLabelFontPixels);
    case layout::Face::Default:
        break;
    }
    return std::nullopt;
}

} // namespace

Form1::Form1(const Services &services, QWidget *parent)
    : QWidget(parent)
    , services_(services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(layout::kCaption));
    resize(qRound(layout::kClientWidth / kTwipsPerPixel),
           qRound(layout::kClientHeight / kTwipsPerPixel));
    createControls();
    Form_Load();
}

void Form1::createControls()
{
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const layout::Control &design : layout::kControls) {
        QWidget *control = nullptr;
        const QString text = QString::fromUtf8(design.text);
        switch (design.kind) {
        case layout::Kind::List: {
            auto *list = new ListBox(this);
            for (const layout::Speed &speed : layout::kSpeeds) {
                auto *item = new QListWidgetItem(QString::fromUtf8(speed.listText), list);
                item->setData(Qt::UserRole, 0);
            }
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            list->setAccessibleName(QStringLiteral("Speed"));
            control = list;
            break;
        }
        case layout::Kind::Label: {
            auto *label = new QLabel(this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAutoFillBackground(true);
            label->setTextFormat(Qt::PlainText);
            setCaption(*label, text);
            control = label;
            break;
        }
        case layout::Kind::Button: {
            control = new CommandButton(text, this);
            break;
        }
        case layout::Kind::Picture: {
            auto *picture = new PictureBox(this);
            picture->setPicture(builtInPicture(0));
            picture->setAccessibleName(QStringLiteral("Wandering picture"));
            picture->setAccessibleDescription(
                QStringLiteral("Click it as often as you can while the round runs"));
            control = picture;
            break;
        }
        }
        control->setObjectName(QString::fromUtf8(design.name));
        control->setGeometry(pixelRect(design));
        if (const std::optional<QFont> font = designFont(design.face))
            control->setFont(*font);
        if (design.colour != 0) {
            QPalette palette = control->palette();
            palette.setColor(QPalette::WindowText, QColor::fromRgb(design.colour));
            control->setPalette(palette);
        }
        if (control->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(design.tabIndex, control);
    }

    lstSpeed_ = findChild<ListBox *>(QStringLiteral("lstSpeed"));
    lblTimer_ = findChild<QLabel *>(QStringLiteral("lblTimer"));
    lblClicks_ = findChild<QLabel *>(QStringLiteral("lblClicks"));
    lblFeedback_ = findChild<QLabel *>(QStringLiteral("lblFeedback"));
    cmdGo_ = findChild<CommandButton *>(QStringLiteral("cmdGo"));
    cmdIco_ = findChild<CommandButton *>(QStringLiteral("cmdIco"));
    cmdQuit_ = findChild<CommandButton *>(QStringLiteral("cmdQuit"));
    picIco_ = findChild<PictureBox *>(QStringLiteral("picIco"));
    picGeometry_ = std::make_unique<WidgetGeometry>(*picIco_);
    // The wandering picture passes over every other control: a hit on it over "QUIT"
    // counts, and no label ever covers it.
    picIco_->raise();

    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    tabOrder.front().second->setFocus();

    connect(cmdGo_, &CommandButton::Click, this, &Form1::cmdGo_Click);
    connect(cmdIco_, &CommandButton::Click, this, &Form1::cmdIco_Click);
    connect(cmdQuit_, &CommandButton::Click, this, &Form1::cmdQuit_Click);
    connect(picIco_, &PictureBox::clicked, this, &Form1::picIco_Click);
}

void Form1::Form_Load()
{
    if (!setListText(*lstSpeed_, QString::fromUtf8(layout::kSpeeds.front().listText)))
        services_.errors.raise(RuntimeError::InvalidPropertyValue);
    state_.piValue = 3.14f;
}

void Form1::cmdGo_Click()
{
    Clock &clock = services_.clock;

    state_.clickCount = 0;
    setCaption(*lblClicks_, integerText(0));
    picIco_->setEnabled(true);
    setCaption(*lblFeedback_, QStringLiteral(" "));
    // A list text that names no speed leaves the last round's level as it was.
    const QString speedText = listText(*lstSpeed_);
    for (const layout::Speed &speed : layout::kSpeeds) {
        if (speedText == QLatin1String(speed.listText))
            state_.speedLevel = speed.level;
    }
    state_.roundStart = clock.now();
    float heading = 0.0f;
    state_.stepLength = kStepLength;
    const QPointer<QWidget> focusBeforeRound = parkFocusForRound();
    cmdIco_->setVisible(false);
    cmdGo_->setVisible(false);
    lstSpeed_->setVisible(false);

    const float start = *state_.roundStart;
    while (static_cast<double>(elapsedSince(start, clock.now())) < kRoundSeconds) {
        setCaption(*lblTimer_, singleText(elapsedSince(start, clock.now())));

        clearFloatFaults();
        state_.turnStep = static_cast<float>(static_cast<double>(state_.piValue) * 2.0 / 60.0);
        checkFloatFaults(services_.errors, state_.turnStep);

        state_.turnRoll = services_.random.next();

        for (const layout::Speed &speed : layout::kSpeeds) {
            if (state_.speedLevel == speed.level)
                TimeOut(speed.waitSeconds);
        }

        moveIcon(heading, state_, *picGeometry_, formGeometry_, services_.errors);
    }

    cmdIco_->setVisible(true);
    cmdGo_->setVisible(true);
    lstSpeed_->setVisible(true);
    picIco_->setEnabled(false);
    rateRound();
    if (focusBeforeRound && focusBeforeRound->isVisible() && focusBeforeRound->isEnabled())
        focusBeforeRound->setFocus();
}

QWidget *Form1::parkFocusForRound()
{
    // A start control that hides with the focus would pass it along the tab order to
    // "QUIT", and the next Space would end the game. The picture takes it instead, and
    // the control gets it back when the round is over.
    QWidget *focused = focusWidget();
    if (focused == cmdIco_ || focused == cmdGo_ || focused == lstSpeed_)
        picIco_->setFocus();
    return focused;
}

void Form1::rateRound()
{
    if (const char *message = ratingMessage(state_.clickCount, state_.speedLevel))
        setCaption(*lblFeedback_, QString::fromUtf8(message));
}

void Form1::TimeOut(double waitSeconds)
{
    Clock &clock = services_.clock;
    const float start = clock.now();
    double elapsed = 0;
    while ((elapsed = static_cast<double>(elapsedSince(start, clock.now()))) < waitSeconds)
        services_.pump.pumpOnce(waitSeconds - elapsed);
}

void Form1::picIco_Click()
{
    if (state_.clickCount == std::numeric_limits<qint16>::max())
        services_.errors.raise(RuntimeError::Overflow);
    state_.clickCount = static_cast<qint16>(state_.clickCount + 1);
    setCaption(*lblClicks_, integerText(state_.clickCount));
}

void Form1::cmdQuit_Click()
{
    services_.end.end();
}

void Form1::cmdIco_Click()
{
    iconChanger_.cmdIco_Click(services_.clock, services_.random, services_.errors, *picIco_);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the game just as "QUIT" does, even in the middle of a round.
    event->accept();
    services_.end.end();
}
