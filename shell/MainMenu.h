// MainMenu: the menu of numbered lines over the field and the "[Menu]"
// button at its top right. Seven item labels, each over a white shadow
// label, laid out in the field's pixels as the window was designed.
//
// Which items are shown and which one is marked (the highlight) is data
// here; the labels only show it. The mark moves by a table that says, for
// each item, where the arrows lead from it. The mouse on a label (its item's
// or its shadow's) and a click on the button go to the handlers the window
// gives; what the seven commands do is the window's (MainForm::MenuCommand).
// The labels and the button are children of the field widget, which owns
// them.
#pragma once

#include <QLabel>
#include <QObject>
#include <QToolButton>

#include <array>
#include <functional>

namespace brakkon {

constexpr int MenuItemCount = 7;

class MainMenu : public QObject {
public:
    /// Where the mouse on the labels and the "[Menu]" button go: an item's
    /// number (its tag) for Enter and Click.
    struct Handlers {
        std::function<void(int)> MouseEnter;
        std::function<void()> MouseLeave;
        std::function<void(int)> Click;
        std::function<void()> ButtonClick;
    };

    /// Builds the button and the labels on `field`, hidden and unmarked.
    MainMenu(QWidget* field, Handlers handlers);

    /// Items 1 to 6 shown or hidden; item 7 ("7. Return") by `returnShown`.
    void Show(bool shown, bool returnShown);
    /// Item n (1 to 7) withheld: hidden whenever the menu shows (a network
    /// game's joiner has no new game to start).
    void Withhold(int n, bool withheld);
    /// Marks item n (1 to 7); any other n leaves none marked.
    void Mark(int n);
    /// The mark to the next shown item below, or to the first.
    void Down();
    /// The mark to the next shown item above, or to the first.
    void Up();

    /// Item n (1 to 7) is shown (not hidden), whether or not the window is.
    [[nodiscard]] bool Shown(int n) const;
    /// Item n (1 to 7) carries the mark.
    [[nodiscard]] bool Marked(int n) const { return n >= 1 && n <= MenuItemCount && n == marked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Where the mark goes from each item: the first shown of up to two
    /// items (0: none).
    using Steps = std::array<std::array<int, 2>, MenuItemCount>;

    void Walk(const Steps& steps);
    bool LabelEvent(QLabel* label, QEvent* event);

    Handlers handlers_;
    std::array<bool, MenuItemCount> shown_{};
    std::array<bool, MenuItemCount> withheld_{};
    bool menuShown_ = false;
    bool returnShown_ = false;
    int marked_ = 0; ///< the marked item, 0 for none
    QToolButton* SpeedButton1 = nullptr;
    std::array<QLabel*, MenuItemCount> MenuItems{};   ///< MenuItem1 .. MenuItem7
    std::array<QLabel*, MenuItemCount> MenuShadows{}; ///< MenuItem11 .. MenuItem77
};

} // namespace brakkon
