// The Windows Chinese faces on Qt: the program reads back the name it set, Qt is asked for a face
// it has, and the text is drawn in the face Qt drew when it was left to substitute the name.
#include "../fixture.h"

#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/qt/qt_controls.h"
#include "toolkit/qt/qt_convert.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

namespace {

using QtFontsTest = WindowTest;
using toolkit::qt::S;

// The face drawn when Qt is given the name with a list of Chinese faces to substitute for it.
QString substitutedFace(QFont font, const QString& face) {
    const QStringList sans = {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei",
                              "WenQuanYi Zen Hei", "Droid Sans Fallback"};
    const QStringList serif = {"Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN",
                               "WenQuanYi Micro Hei"};
    const QStringList kai = {"AR PL UKai CN", "Noto Serif CJK SC", "WenQuanYi Micro Hei"};
    const QStringList& list = face == "宋体" ? serif : face == "楷体" ? kai : sans;
    QFont::insertSubstitutions(face, list);
    font.setFamily(face);
    const QString drawn = QFontInfo(font).family();
    QFont::removeSubstitutions(face);
    return drawn;
}

TEST_F(QtFontsTest, ListedFacesKeepTheirNameAndAreDrawnAsBefore) {
    Form1& f = toolkit::Instance<Form1>();
    f.Show();
    设置& s = toolkit::Instance<设置>();
    const QString installed = QFontInfo(QApplication::font()).family();
    for (const QString& face :
         {QStringLiteral("宋体"), QStringLiteral("楷体"), QStringLiteral("黑体"),
          QStringLiteral("微软雅黑"), QStringLiteral("华文彩云"), installed}) {
        SCOPED_TRACE(S(face));
        f.Text1.setFontName(S(face));
        EXPECT_EQ(f.Text1.Font().Name, S(face));
        const QFont asked = toolkit::qt::QtControlPeer::find(&f.Text1)->widget()->font();
        if (face == installed)
            EXPECT_EQ(S(asked.family()), S(installed));
        else
            EXPECT_TRUE(QFontDatabase::hasFamily(asked.family()))
                << "asked for " << S(asked.family());
        const std::string drawn = S(QFontInfo(asked).family());
        EXPECT_EQ(drawn, S(substitutedFace(asked, face)));

        // The font dialog opens on the face that is drawn.
        std::string opened;
        driver::Reply look = driver::Cancel();
        look.whileOpen = [&opened] {
            if (auto* d = qobject_cast<QFontDialog*>(QApplication::activeModalWidget()))
                opened = S(d->currentFont().family());
        };
        driver::Answer(look);
        s.Command2_Click();
        EXPECT_EQ(opened, drawn);
    }
}

} // namespace
