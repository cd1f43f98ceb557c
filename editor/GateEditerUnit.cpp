#include "editor/GateEditerUnit.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace brakkon {
namespace {

/// The fields from the top: label and the gate's number it shows.
struct GateField {
    const char* Label;
    std::int32_t GateType::*Bound;
};

constexpr std::array<GateField, 6> GateFields{{
    {"Tank", &GateType::Tank},
    {"LargeTank", &GateType::LargeTank},
    {"ZJC", &GateType::ZJC},
    {"KC", &GateType::KC},
    {"Total", &GateType::Total},
    {"NextGate", &GateType::NextGate},
}};

} // namespace

TGateEditerForm::TGateEditerForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("GateEditer"));
    auto* fields = new QFormLayout;
    std::array<QSpinBox**, 6> spins{&SpinEdit1, &SpinEdit2, &SpinEdit3, &SpinEdit4, &SpinEdit5, &SpinEdit6};
    for (std::size_t i = 0; i < GateFields.size(); ++i) {
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QStringLiteral("SpinEdit%1").arg(i + 1));
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        // A field left without a number reads as 0, also in its text.
        spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        fields->addRow(QString::fromLatin1(GateFields[i].Label), spin);
        *spins[i] = spin;
    }

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TGateEditerForm::Button1Click);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject); // so do Esc and the close button

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    QuotaWarning = new QLabel(this);
    QuotaWarning->setObjectName(QStringLiteral("QuotaWarning"));
    QuotaWarning->setWordWrap(true);
    QPalette red = QuotaWarning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    QuotaWarning->setPalette(red);
    QuotaWarning->hide();

    auto* row = new QHBoxLayout;
    row->addLayout(fields);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(QuotaWarning);
    // Fixed at the size of what it shows, the warning or not.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QuotaWarning->setFixedWidth(row->sizeHint().width());
    layout->activate();
    const auto spinFields = Fields();
    for (std::size_t i = 0; i < spinFields.size(); ++i) {
        shownText_[i] = spinFields[i]->text();
        connect(spinFields[i], &QSpinBox::textChanged, this, [this, i](const QString& text) {
            if (text == shownText_[i]) return; // Enter reads the same text again: no change
            shownText_[i] = text;
            changed = true;
            CheckQuotas();
        });
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

std::array<QSpinBox*, 6> TGateEditerForm::Fields() const
{
    return {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5, SpinEdit6};
}

void TGateEditerForm::CheckQuotas()
{
    std::int64_t quotas = 0; // four numbers of the whole int range
    for (QSpinBox* spin : {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4}) quotas += FieldValue(*spin);
    const std::int32_t total = FieldValue(*SpinEdit5);
    if (quotas <= total) return QuotaWarning->hide();
    QuotaWarning->setText(QStringLiteral("Tank + LargeTank + ZJC + KC = %1, more than Total %2: "
                                         "the enemies still to come would count below zero.")
                              .arg(quotas)
                              .arg(total));
    QuotaWarning->show();
}

void TGateEditerForm::ShowGate(const GateType& gate)
{
    const auto spins = Fields();
    for (std::size_t i = 0; i < spins.size(); ++i) spins[i]->setValue(gate.*GateFields[i].Bound);
}

std::int32_t TGateEditerForm::FieldValue(const QSpinBox& field) const
{
    // The text, not value(): a field being edited may not have taken its text yet.
    bool ok = false;
    const int value = field.locale().toInt(field.cleanText(), &ok);
    return ok ? value : 0;
}

void TGateEditerForm::StoreGate(GateType& gate) const
{
    const auto spins = Fields();
    for (std::size_t i = 0; i < spins.size(); ++i) gate.*GateFields[i].Bound = FieldValue(*spins[i]);
}

void TGateEditerForm::Button1Click()
{
    confirmed = true;
    accept();
}

bool EditGate(GateType* gate, QWidget* parent)
{
    if (gate == nullptr) return false;
    TGateEditerForm form(parent);
    form.ShowGate(*gate);
    form.confirmed = false;
    form.changed = false;
    form.exec();
    if (!form.confirmed || !form.changed) return false;
    form.StoreGate(*gate);
    return true;
}

} // namespace brakkon
