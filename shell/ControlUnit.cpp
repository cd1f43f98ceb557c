#include "shell/ControlUnit.h"

#include "platform/ControlSettings.h"
#include "platform/Fonts.h"
#include "game/GameFlow.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace brakkon {
namespace {

constexpr int ClientWidth = 378;
constexpr int ClientHeight = 138;

template <typename Control>
Control* Place(Control* control, int left, int top)
{
    control->adjustSize();
    control->move(left, top);
    return control;
}

QLabel* MakeLabel(QWidget* parent, const char* caption, int left, int top)
{
    return Place(new QLabel(QString::fromLatin1(caption), parent), left, top);
}

} // namespace

TControlForm::TControlForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Game Control"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(QFont(InstalledFamily(LabelFontFamily), 8));

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 265, 121);
    Label1 = MakeLabel(this, "Speed:", 32, 32);
    Label4 = MakeLabel(this, "Slow", 80, 16);
    Label5 = MakeLabel(this, "Fast", 192, 16);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar1->setGeometry(80, 32, 137, 16);
    ScrollBar1->setRange(0, 99);
    ScrollBar1->setPageStep(10);
    Label2 = MakeLabel(this, "1", 232, 32);
    Label3 = MakeLabel(this, "Step:", 32, 64);
    RadioButton1 = Place(new QRadioButton(QStringLiteral("1"), this), 80, 64);
    RadioButton2 = Place(new QRadioButton(QStringLiteral("2"), this), 128, 64);
    RadioButton3 = Place(new QRadioButton(QStringLiteral("4"), this), 176, 64);
    CheckBox1 = Place(new QCheckBox(QStringLiteral("Sound"), this), 80, 96);
    CheckBox2 = Place(new QCheckBox(QStringLiteral("Music"), this), 152, 96);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(288, 8, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setGeometry(288, 40, 75, 25);
    Button2->setAutoDefault(false);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TControlForm::ScrollBar1Change);
    for (QAbstractButton* control : std::initializer_list<QAbstractButton*>{RadioButton1, RadioButton2, RadioButton3, CheckBox1, CheckBox2})
        connect(control, &QAbstractButton::clicked, this, &TControlForm::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TControlForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TControlForm::Button2Click);
}

bool TControlForm::Execute()
{
    Accepted = false;
    Changed = false; // filling the controls was no change
    exec();
    return Accepted && Changed;
}

void TControlForm::ScrollBar1Change()
{
    Label2->setText(QString::number(ScrollBar1->value() + 1));
    Label2->adjustSize();
    Changed = true;
}

void TControlForm::CheckBox1Click()
{
    Changed = true;
}

void TControlForm::Button1Click()
{
    Accepted = true;
    accept();
}

void TControlForm::Button2Click()
{
    reject();
}

bool RunGameControl(QWidget* parent, MainState& state, std::int32_t& gameTimerInterval, GameHost& host,
                    GameSound& sound)
{
    // A larger step snaps the sprites and redraws.
    return RunGameControl(parent, state, gameTimerInterval,
                          [&](std::int32_t step) { ApplyMoveStep(state, host, step); }, sound);
}

bool RunGameControl(QWidget* parent, MainState& state, std::int32_t& gameTimerInterval,
                    const std::function<void(std::int32_t)>& setStep, GameSound& sound)
{
    TControlForm form(parent);
    form.ScrollBar1->setValue(SlowestGameInterval - gameTimerInterval);
    form.ScrollBar1Change(); // the value shows from the start
    form.RadioButton1->setChecked(state.MoveStep == 1);
    form.RadioButton2->setChecked(state.MoveStep == 2);
    form.RadioButton3->setChecked(state.MoveStep == 4);
    form.CheckBox1->setChecked(sound.SoundOn);
    form.CheckBox2->setChecked(state.MusicOn);
    if (!form.Execute()) return false;

    gameTimerInterval = SlowestGameInterval - form.ScrollBar1->value();
    std::int32_t moveStep = state.MoveStep;
    if (form.RadioButton1->isChecked()) moveStep = 1;
    else if (form.RadioButton2->isChecked()) moveStep = 2;
    else if (form.RadioButton3->isChecked()) moveStep = 4;
    sound.SoundOn = form.CheckBox1->isChecked();
    state.MusicOn = form.CheckBox2->isChecked();
    if (!state.MusicOn) sound.StopMusic();
    setStep(moveStep);
    return true;
}

} // namespace brakkon
