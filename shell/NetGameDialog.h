// The "Network Game" dialog: host a game on a port, or join one by its
// address or from the games found on the local network. Waiting for the
// other player happens with the dialog open, its status line saying where
// this game can be reached or whom it calls; "Cancel" always ends the
// waiting and closes the dialog. The dialog closes by itself once the game
// begins; a game that could not begin leaves its reason in the status line.
#pragma once

#include "net/Transport.h"

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

/// A game on the local network that answered.
struct FoundGame {
    std::string Name; ///< what the host calls itself
    Endpoint Address;
};

/// Finds the games on the local network: Look asks (a broadcast), Found says
/// what answered so far.
class GameFinder {
public:
    virtual ~GameFinder() = default;
    virtual void Look() = 0;
    [[nodiscard]] virtual std::vector<FoundGame> Found() = 0;
};

class NetGameDialog : public QDialog {
public:
    /// `finder` may be null: no games are listed.
    NetGameDialog(NetWindow& net, std::unique_ptr<GameFinder> finder, QWidget* parent);

    void HostClick();
    void JoinClick();
    void CancelClick();
    /// Asks the network again and lists what answered.
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
    std::unique_ptr<GameFinder> finder_;
    std::vector<FoundGame> found_;
    QTimer* lookTimer_;
};

} // namespace brakkon
