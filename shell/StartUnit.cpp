#include "shell/StartUnit.h"

#include "platform/Fonts.h"
#include "platform/UrlOpener.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <fstream>
#include <iterator>

namespace brakkon {
namespace {

constexpr int ClientWidth = 611;
constexpr int ClientHeight = 435;
constexpr int TitlePixels = 32;
const QColor Olive(128, 128, 0);

/// The text of the intro file; empty when it cannot be read or is no RTF.
RtfDocument ReadIntroText(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return {};
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    RtfResult result = ReadRtf(bytes);
    return std::move(result.Document);
}

QPushButton* MakeButton(QWidget* parent, const char* caption, QRect place)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setGeometry(place);
    // Enter presses the button that has the focus, not "Home Page".
    button->setAutoDefault(true);
    return button;
}

/// Keeps Enter in the text box: it does nothing there, as in any read-only
/// text, where the dialog would press its default button for it.
class EnterStopper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TStartForm::TStartForm(const std::string& appPath, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Veltrox Brakkon"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(QFont(InstalledFamily(LabelFontFamily), 8));

    Label1 = new QLabel(QStringLiteral("Brakkon 1.2  "), this);
    Label1->setGeometry(184, 0, 215, 39);
    QFont title(InstalledFamily(TitleFontFamily));
    title.setPixelSize(TitlePixels);
    title.setBold(true);
    title.setItalic(true);
    title.setUnderline(true);
    Label1->setFont(title);
    QPalette olive = Label1->palette();
    olive.setColor(QPalette::WindowText, Olive);
    Label1->setPalette(olive);

    RichEdit1 = new QTextBrowser(this);
    RichEdit1->setGeometry(8, 48, 593, 337);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setOpenLinks(false);
    RichEdit1->setFocusPolicy(Qt::StrongFocus);
    RichEdit1->installEventFilter(new EnterStopper(RichEdit1));
    FillTextDocument(*RichEdit1->document(), ReadIntroText(appPath + "/Start.rtf"));
    RichEdit1->moveCursor(QTextCursor::Start); // open at the top of the text

    Button1 = MakeButton(this, "Home Page", {320, 400, 99, 25});
    Button2 = MakeButton(this, "Play Game", {432, 400, 75, 25});
    Button3 = MakeButton(this, "Cancel", {520, 400, 75, 25});
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TStartForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TStartForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TStartForm::Button3Click);
    RichEdit1->setFocus(); // first in the tab order
}

void TStartForm::Button1Click()
{
    OpenUrl(QUrl(QString::fromUtf8(HomePageUrl)));
}

void TStartForm::Button2Click()
{
    PlayChosen = true;
    accept();
}

void TStartForm::Button3Click()
{
    reject();
}

void TStartForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    // After this paint has gone to the screen; clicks that came meanwhile wait for it.
    QTimer::singleShot(0, this, [this] {
        if (WhileShown) WhileShown();
    });
}

void TStartForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_F5) return QDialog::keyPressEvent(event);
    NetworkChosen = true;
    Button2Click();
}

bool ShowIntro(const std::string& appPath, const std::function<void()>& whileShown, bool* network)
{
    TStartForm form(appPath);
    form.WhileShown = whileShown;
    form.exec();
    if (network != nullptr) *network = form.NetworkChosen;
    return form.PlayChosen;
}

void FillTextDocument(QTextDocument& target, const RtfDocument& doc)
{
    target.clear();
    QTextCursor cursor(&target);
    bool first = true;
    for (const RtfParagraph& paragraph : doc.Paragraphs) {
        if (!first) cursor.insertBlock();
        first = false;
        for (const RtfRun& run : paragraph.Runs) {
            QTextCharFormat format;
            format.setFontWeight(run.Format.Bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.Format.Italic);
            format.setFontUnderline(run.Format.Underline);
            format.setFontPointSize(run.Format.HalfPoints / 2.0);
            if (run.Format.Color) format.setForeground(QColor(run.Format.Color->Red, run.Format.Color->Green, run.Format.Color->Blue));
            if (!run.Format.Font.empty()) format.setFontFamilies({InstalledFamily(QString::fromStdString(run.Format.Font))});
            cursor.insertText(QString::fromUtf8(run.Text.data(), static_cast<qsizetype>(run.Text.size())), format);
        }
    }
}

} // namespace brakkon
