// The "Network Game" dialog: host a game on a port, or join one by its
// address or from the games found on the local network. Waiting for the
// other player happens with the dialog open, its status line saying where
// this game can be reached or whom it calls; "Cancel" always ends the
// waiting and closes the dialog. The dialog closes by itself once the game
// begins; a game that could not begin leaves its reason in the status line.
#pragma once

#include "net/Discovery.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace brakkon {

class NetWindow;

class NetGameDialog : public QDialog {
public:
    /// `probe` asks the local network for games; null: none are listed.
    NetGameDialog(NetWindow& net, std::unique_ptr<DiscoveryProbe> probe, QWidget* parent);

    void HostClick();
    void JoinClick();
    void CancelClick();
    /// Reads the answers (and probes again when due) and lists the games.
    void RefreshGames();

    QSpinBox* PortBox;
    QPushButton* HostButton;
    QLineEdit* AddressEdit;
    QListWidget* GamesList;
    QPushButton* JoinButton;
    QLabel* StatusLabel;
    QPushButton* CancelButton;

protected:
    void reject() override;

private:
    void Follow();
    void Waiting(bool waiting, const QString& status);

    NetWindow& net_;
    std::unique_ptr<DiscoveryProbe> probe_;
    std::vector<FoundGame> found_;
    QTimer* lookTimer_;
};

} // namespace brakkon
