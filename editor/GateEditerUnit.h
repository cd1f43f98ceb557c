// GateEditerUnit: the gate dialog "GateEditer", which edits the six numbers
// of a stored gate that are not its map: the four enemy quotas, the enemy
// total and the next gate.
//
// A modal dialog of fixed size, centred on the screen, made afresh by each
// EditGate; it writes to the gate only when "OK" closes it after a change.
// It warns, and refuses nothing, while the four quotas add up to more than
// the total. The Game Editor opens it with a double click in its gate list.
#pragma once

#include "game/Records.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QSpinBox;

namespace brakkon {

class TGateEditerForm : public QDialog {
    Q_OBJECT
public:
    explicit TGateEditerForm(QWidget* parent = nullptr);

    /// Puts the gate's six numbers into the fields.
    void ShowGate(const GateType& gate);
    /// Reads the six fields back into the gate, in the order of the fields.
    void StoreGate(GateType& gate) const;
    /// A field's number: its text as a whole number, 0 when it is none.
    [[nodiscard]] std::int32_t FieldValue(const QSpinBox& field) const;

    void Button1Click(); ///< "OK"

    bool confirmed = false; ///< "OK" closed the dialog
    bool changed = false;   ///< the text of a field changed

    QSpinBox* SpinEdit1 = nullptr; ///< "Tank"
    QSpinBox* SpinEdit2 = nullptr; ///< "LargeTank"
    QSpinBox* SpinEdit3 = nullptr; ///< "ZJC"
    QSpinBox* SpinEdit4 = nullptr; ///< "KC"
    QSpinBox* SpinEdit5 = nullptr; ///< "Total"
    QSpinBox* SpinEdit6 = nullptr; ///< "NextGate"
    QPushButton* Button1 = nullptr; ///< "OK", the default button
    QPushButton* Button2 = nullptr; ///< "Cancel"
    QLabel* QuotaWarning = nullptr; ///< shown while the quotas exceed the total

private:
    [[nodiscard]] std::array<QSpinBox*, 6> Fields() const;
    /// Shows or hides QuotaWarning by the fields as they read now.
    void CheckQuotas();

    std::array<QString, 6> shownText_; ///< each field's text as last changed
};

/// Shows the dialog for `gate` and returns true when "OK" closed it after the
/// text of a field changed; only then are the six numbers written back.
/// False, and nothing shown, when there is no gate.
bool EditGate(GateType* gate, QWidget* parent = nullptr);

} // namespace brakkon
