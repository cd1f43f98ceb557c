#include "shell/NetGameDialog.h"

#include "net/Protocol.h"
#include "shell/NetWindow.h"

#include <QDialogButtonBox>
#include <QSignalBlocker>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace brakkon {
namespace {
/// How often the answers are read and a probe sent when one is due.
constexpr int LookEveryMs = 250;

QString Describe(const FoundGame& game)
{
    QString text = QStringLiteral("%1 (%2:%3)").arg(QString::fromStdString(game.Name), QString::fromStdString(game.Address)).arg(game.Port);
    if (!game.SameVersion)
        text += QStringLiteral(" - another version of the game");
    else if (!game.SameData)
        text += QStringLiteral(" - another data file");
    return text;
}
} // namespace

NetGameDialog::NetGameDialog(NetWindow& net, std::unique_ptr<DiscoveryProbe> probe, QWidget* parent)
    : QDialog(parent), net_(net), probe_(std::move(probe))
{
    setObjectName(QStringLiteral("NetGameDialog"));
    setWindowTitle(QStringLiteral("Network Game"));

    auto* hostBox = new QGroupBox(QStringLiteral("Host a game (you play yellow)"), this);
    PortBox = new QSpinBox(hostBox);
    PortBox->setRange(1, 65535);
    PortBox->setValue(DefaultPort);
    HostButton = new QPushButton(QStringLiteral("&Host"), hostBox);
    auto* hostRow = new QHBoxLayout(hostBox);
    hostRow->addWidget(new QLabel(QStringLiteral("Port:"), hostBox));
    hostRow->addWidget(PortBox);
    hostRow->addStretch();
    hostRow->addWidget(HostButton);

    auto* joinBox = new QGroupBox(QStringLiteral("Join a game (you play green)"), this);
    AddressEdit = new QLineEdit(joinBox);
    AddressEdit->setPlaceholderText(QStringLiteral("host or address[:port]"));
    GamesList = new QListWidget(joinBox);
    GamesList->setMaximumHeight(100);
    JoinButton = new QPushButton(QStringLiteral("&Join"), joinBox);
    auto* joinForm = new QFormLayout(joinBox);
    joinForm->addRow(QStringLiteral("Address:"), AddressEdit);
    joinForm->addRow(QStringLiteral("On this network:"), GamesList);
    joinForm->addRow(JoinButton);

    StatusLabel = new QLabel(this);
    StatusLabel->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    CancelButton = buttons->button(QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hostBox);
    layout->addWidget(joinBox);
    layout->addWidget(StatusLabel);
    layout->addWidget(buttons);

    connect(HostButton, &QPushButton::clicked, this, &NetGameDialog::HostClick);
    connect(JoinButton, &QPushButton::clicked, this, &NetGameDialog::JoinClick);
    connect(AddressEdit, &QLineEdit::returnPressed, this, &NetGameDialog::JoinClick);
    connect(CancelButton, &QPushButton::clicked, this, &NetGameDialog::CancelClick);
    connect(GamesList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || static_cast<std::size_t>(row) >= found_.size()) return;
        const FoundGame& game = found_[static_cast<std::size_t>(row)];
        AddressEdit->setText(QString::fromStdString(game.Address + ":" + std::to_string(game.Port)));
    });
    connect(GamesList, &QListWidget::itemDoubleClicked, this, [this] { JoinClick(); });
    connect(&net_, &NetWindow::Changed, this, [this] { Follow(); });

    lookTimer_ = new QTimer(this);
    lookTimer_->setInterval(LookEveryMs);
    connect(lookTimer_, &QTimer::timeout, this, &NetGameDialog::RefreshGames);
    if (probe_) {
        RefreshGames();
        lookTimer_->start();
    }
    Follow();
}

void NetGameDialog::RefreshGames()
{
    if (!probe_) return;
    probe_->Poll();
    std::vector<FoundGame> found = probe_->Games();
    const bool same = found.size() == found_.size() &&
                      std::equal(found.begin(), found.end(), found_.begin(), [](const FoundGame& a, const FoundGame& b) {
                          return a.Address == b.Address && a.Port == b.Port && a.Name == b.Name;
                      });
    if (same) return; // the list and its choice stay as they are
    const QString chosen = GamesList->currentItem() ? GamesList->currentItem()->text() : QString();
    found_ = std::move(found);
    const QSignalBlocker quiet(GamesList); // a list made anew is no choice of the player's
    GamesList->clear();
    for (const FoundGame& game : found_) {
        GamesList->addItem(Describe(game));
        if (GamesList->item(GamesList->count() - 1)->text() == chosen) GamesList->setCurrentRow(GamesList->count() - 1);
    }
}

void NetGameDialog::HostClick()
{
    std::string error;
    if (!net_.Host({{}, static_cast<std::uint16_t>(PortBox->value())}, error))
        StatusLabel->setText(QString::fromStdString(error));
}

void NetGameDialog::JoinClick()
{
    const auto to = ParseEndpoint(AddressEdit->text().trimmed().toStdString(), DefaultPort);
    if (!to) {
        StatusLabel->setText(QStringLiteral("Give the host's name or address, and its port after a colon if it is "
                                            "not %1.").arg(DefaultPort));
        return;
    }
    std::string error;
    if (!net_.Join(*to, error)) StatusLabel->setText(QString::fromStdString(error));
}

void NetGameDialog::CancelClick() { reject(); }

void NetGameDialog::reject()
{
    if (net_.Now() == NetWindow::Phase::Waiting) net_.Cancel();
    QDialog::reject();
}

void NetGameDialog::Waiting(bool waiting, const QString& status)
{
    PortBox->setEnabled(!waiting);
    HostButton->setEnabled(!waiting);
    AddressEdit->setEnabled(!waiting);
    GamesList->setEnabled(!waiting);
    JoinButton->setEnabled(!waiting);
    StatusLabel->setText(status);
}

void NetGameDialog::Follow()
{
    switch (net_.Now()) {
    case NetWindow::Phase::Playing: accept(); break;
    case NetWindow::Phase::Waiting:
        Waiting(true, net_.Play() && net_.Play()->Hosting()
                          ? QStringLiteral("Waiting for a player at %1.").arg(QString::fromStdString(net_.Reachable()))
                          : QStringLiteral("Calling the host..."));
        break;
    case NetWindow::Phase::Idle: Waiting(false, QString::fromStdString(net_.LastMessage())); break;
    }
}

} // namespace brakkon
