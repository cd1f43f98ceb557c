// The fonts the windows ask for: each is a family installed here, and the
// same font that asking for the design's family would have drawn.
#include "platform/Fonts.h"
#include "shell/StartUnit.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

bool Installed(const QString& family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

TEST(Fonts, AFamilyAskedForDrawsAsTheDesignsFamilyWould)
{
    for (const QString& design : {TitleFontFamily, LabelFontFamily, HelpFontFamily, QStringLiteral("DejaVu Serif")}) {
        SCOPED_TRACE(design.toStdString());
        const QString asked = InstalledFamily(design);
        EXPECT_TRUE(Installed(asked));
        EXPECT_EQ(QFontInfo(QFont(asked, 10)).family(), QFontInfo(QFont(design, 10)).family());
    }
    EXPECT_EQ(InstalledFamily(QStringLiteral("No Such Family 7")), QStringLiteral("No Such Family 7")); // nothing better to ask
}

TEST(Fonts, TheIntroAsksOnlyForInstalledFamilies)
{
    const TStartForm form(BRAKKON_BIN_DIR);
    EXPECT_TRUE(Installed(form.font().family())) << form.font().family().toStdString();
    EXPECT_TRUE(Installed(form.Label1->font().family())) << form.Label1->font().family().toStdString();
    int runs = 0;
    for (QTextBlock block = form.RichEdit1->document()->begin(); block.isValid(); block = block.next())
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            const QStringList families = run.fragment().charFormat().fontFamilies().toStringList();
            if (families.isEmpty()) continue;
            ++runs;
            EXPECT_TRUE(Installed(families.front())) << families.front().toStdString();
        }
    EXPECT_GT(runs, 0); // the shipped text names its fonts
}

} // namespace
} // namespace brakkon
