// The intro window driven by mouse and key events: the answer of each way
// out, "Home Page" keeping the window, Enter in the text and on a button, a
// missing text, and the shipped text as the reader builds it into the text
// box.
#include "tests/DialogSupport.h"
#include "shell/StartUnit.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace brakkon {
namespace {

using test::WhenShown;

const std::string BinDir = BRAKKON_BIN_DIR;

struct AnswerCase {
    const char* name;
    std::function<void(TStartForm&)> act;
    bool answer;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class IntroAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(IntroAnswer, OnlyPlayGameGoesOn)
{
    bool textShown = false;
    WhenShown<TStartForm>([&](TStartForm& f) {
        textShown = !f.RichEdit1->document()->isEmpty();
        GetParam().act(f);
    });
    EXPECT_EQ(ShowIntro(BinDir), GetParam().answer);
    EXPECT_TRUE(textShown);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, IntroAnswer,
    ::testing::Values(
        AnswerCase{"PlayGame", [](TStartForm& f) { QTest::mouseClick(f.Button2, Qt::LeftButton); }, true},
        AnswerCase{"Cancel", [](TStartForm& f) { QTest::mouseClick(f.Button3, Qt::LeftButton); }, false},
        AnswerCase{"Escape", [](TStartForm& f) { QTest::keyClick(f.RichEdit1, Qt::Key_Escape); }, false},
        AnswerCase{"CloseBox", [](TStartForm& f) { f.close(); }, false}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST(Intro, HomePageOpensEachTimeAndKeepsTheWindow)
{
    std::vector<QUrl> opened;
    const UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    bool stayedOpen = true;
    WhenShown<TStartForm>([&](TStartForm& f) {
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(f.Button1, Qt::LeftButton);
            stayedOpen = stayedOpen && f.isVisible();
        }
        QTest::mouseClick(f.Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(ShowIntro(BinDir));
    SetUrlOpener(previous);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(opened, (std::vector<QUrl>(2, QUrl(QString::fromUtf8(HomePageUrl)))));
}

TEST(Intro, EnterInTheTextDoesNothingAndOnAButtonPressesThatButton)
{
    std::vector<QUrl> opened;
    const UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    bool textFocused = false, stayedOpen = false;
    WhenShown<TStartForm>([&](TStartForm& f) {
        textFocused = test::WaitUntil([&] { return QApplication::focusWidget() == f.RichEdit1; });
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(QApplication::focusWidget(), key);
        stayedOpen = f.isVisible();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Home Page"
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Play Game"
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(ShowIntro(BinDir));
    SetUrlOpener(previous);
    EXPECT_TRUE(textFocused);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(opened.size(), 0u) << "the browser was asked for the home page";
}

TEST(Intro, WithoutItsTextTheButtonsStillWork)
{
    bool empty = false;
    WhenShown<TStartForm>([&](TStartForm& f) {
        empty = f.RichEdit1->document()->isEmpty();
        QTest::mouseClick(f.Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(ShowIntro(BinDir + "/no-such-folder"));
    EXPECT_TRUE(empty);
}

/// The format of the first character of the first block whose text is `text`.
QTextCharFormat FormatOfBlock(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b != doc.end(); b = b.next())
        if (b.text() == text) return b.begin().fragment().charFormat();
    ADD_FAILURE() << "no paragraph \"" << text.toStdString() << "\"";
    return {};
}

TEST(Intro, ShippedTextKeepsItsParagraphsAndFormatting)
{
    TStartForm form(BinDir);
    const QTextDocument& doc = *form.RichEdit1->document();
    EXPECT_TRUE(form.RichEdit1->isReadOnly());
    EXPECT_GT(doc.blockCount(), 20) << "paragraph breaks lost";
    const QTextCharFormat title = FormatOfBlock(doc, QStringLiteral("Brakkon"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.fontPointSize(), 20.0);
    EXPECT_EQ(title.foreground().color(), QColor(128, 128, 0));
    const QTextCharFormat keys = FormatOfBlock(doc, QStringLiteral("Keys"));
    EXPECT_EQ(keys.fontWeight(), QFont::Bold);
    EXPECT_EQ(keys.foreground().color(), QColor(0, 0, 128));
    EXPECT_TRUE(FormatOfBlock(doc, QStringLiteral("Tank battle for one or two players")).fontItalic());
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("arrow keys \u2013 drive"))) << "\\'96 is an en dash in cp1252";
    const QTextCursor underlined = doc.find(QStringLiteral("even one of your own"));
    ASSERT_FALSE(underlined.isNull());
    EXPECT_TRUE(underlined.charFormat().fontUnderline());
}

} // namespace
} // namespace brakkon
