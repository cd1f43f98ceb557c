// The dialogs of "Save Game" and "Load Game" as the player meets them: the
// name typed without a suffix, and the save found again in the open dialog's
// list, beside older saves of other names under "All Files".
#include "tests/DialogSupport.h"
#include "tests/GuiSupport.h"
#include "game/SavedGame.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

TEST(GameFiles, ANameTypedWithoutASuffixGetsGam)
{
    const std::pair<const char*, const char*> cases[] = {
        {"mysave", "mysave.gam"},
        {"/home/me/games.d/mysave", "/home/me/games.d/mysave.gam"}, // a dot in a folder is no suffix
        {"/home/me/mysave.gam", "/home/me/mysave.gam"},
        {"/home/me/mysave.1", "/home/me/mysave.1"},
        {"/home/me/.hidden", "/home/me/.hidden"},
        {"", ""}, // a cancelled dialog
    };
    for (const auto& [typed, saved] : cases) EXPECT_EQ(WithGameFileSuffix(QString::fromLatin1(typed)), QString::fromLatin1(saved)) << typed;
}

/// The view of the file dialog's list that shows; null when none does.
QAbstractItemView* FileList(QFileDialog& dialog)
{
    for (auto* view : dialog.findChildren<QAbstractItemView*>())
        if (view->isVisible() && (view->objectName() == "listView" || view->objectName() == "treeView")) return view;
    return nullptr;
}

/// The entry of the dialog's list named `name` that the player can choose;
/// invalid when the list does not offer it.
QModelIndex Offered(QFileDialog& dialog, const QString& name)
{
    const QAbstractItemView* view = FileList(dialog);
    if (view == nullptr) return {};
    const QAbstractItemModel& model = *view->model();
    for (int row = 0; row < model.rowCount(view->rootIndex()); ++row) {
        const QModelIndex entry = model.index(row, 0, view->rootIndex());
        if (entry.data().toString() == name && (model.flags(entry) & Qt::ItemIsEnabled)) return entry;
    }
    return {};
}

TEST(GameFiles, SavedAsMysaveTheGameIsOfferedByTheLoadDialogAndLoads)
{
    test::WindowFixture w({"Game.dat", "Game"}, [](MainSeams& seams) { seams.ChooseFile = RunFileDialog; });
    w.Show();
    std::filesystem::copy_file(w.Dir() / "Game", w.Dir() / "older.1"); // a save of an older version
    const QString folder = QString::fromStdString(w.Dir().string());
    w.Click(Qt::Key_2);
    for (int i = 0; i < 30; ++i) w.form->Timer1Timer();
    w.Click(Qt::Key_Escape);
    test::WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.setDirectory(folder);
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(name, "mysave");
        QTest::keyClick(name, Qt::Key_Return);
    });
    w.Click(Qt::Key_4);
    GateType saved;
    ASSERT_TRUE(LoadGame(w.Dir() / "mysave.gam", saved));

    w.Click(Qt::Key_Escape);
    for (int i = 0; i < 30; ++i) w.form->Timer1Timer();
    w.Click(Qt::Key_Escape);
    bool olderHidden = false, olderUnderAllFiles = false;
    test::WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.setDirectory(folder);
        ASSERT_TRUE(test::WaitUntil([&] { return Offered(dialog, "mysave.gam").isValid(); })) << "not in the list";
        olderHidden = !Offered(dialog, "older.1").isValid();
        QTest::keyClick(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), Qt::Key_Down); // "All Files (*)"
        olderUnderAllFiles = test::WaitUntil([&] { return Offered(dialog, "older.1").isValid(); });
        QAbstractItemView* list = FileList(dialog);
        const QModelIndex entry = Offered(dialog, "mysave.gam");
        ASSERT_TRUE(list != nullptr && entry.isValid());
        list->scrollTo(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    w.Click(Qt::Key_3);
    EXPECT_TRUE(olderHidden);
    EXPECT_TRUE(olderUnderAllFiles);
    test::ExpectSameGate(w.Gate(), saved);
    EXPECT_TRUE(w.State().Playing);
}

} // namespace
} // namespace brakkon
