#include "pageeditor/pagepictures.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Placement)

namespace {

const QString kCat =
    QStringLiteral("<IMG src=\"cat.jpg\" width=\"40\" height=\"30\" align=\"%1\">");

// One row of a data table, its values in the order of the columns.
template <typename... Values> void row(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}

} // namespace

class TestPagePictures : public QObject {
    Q_OBJECT
private slots:
    void placements_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("markup");
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<QString>("placedTag");
        QTest::addColumn<QString>("placedMarkup");
        const QString bare = QStringLiteral("<IMG src=\"cat.jpg\">");
        const QString centred = QStringLiteral("<IMG src=\"cat.jpg\" align=\"center\">");
        row("left over centre", "<P align=\"center\">", kCat.arg("center"), Placement::PictureLeft,
            "<P>", kCat.arg("left"));
        row("no align", "<P>", bare, Placement::Centred, "<P align=\"center\">", centred);
        row("capitals", "<P ALIGN=\"left\">", "<IMG src=\"cat.jpg\" ALIGN=\"left\">",
            Placement::Centred, "<P align=\"center\">", centred);
        row("unquoted", "<P>", "<IMG src=\"cat.jpg\" align=left width=\"4\">",
            Placement::PictureRight, "<P>", "<IMG src=\"cat.jpg\" width=\"4\" align=\"right\">");
        row("in a link", "", "<A href=\"x\">" + bare + "</A>", Placement::Centred,
            "<P align=\"center\">", "<A href=\"x\">" + centred + "</A>");
        row("text only", "<P align=\"center\">", kCat.arg("center"), Placement::TextOnly, "", "");
    }
    void placements() {
        QFETCH(QString, tag);
        QFETCH(QString, markup);
        QFETCH(Placement, placement);
        PageFields f;
        f.ETAGSRC1 = tag;
        f.Edit7 = markup;
        placeMarkup(f, placement);
        QTEST(f.ETAGSRC1, "placedTag");
        QTEST(f.Edit7, "placedMarkup");
        QCOMPARE(placementOf(f), placement);
        placeMarkup(f, placement); // pressed again: nothing doubles
        QTEST(f.Edit7, "placedMarkup");
    }

    // Steps on a page whose centred picture links to cat.htm; "open" is the
    // editor opening another page, "gone" the picture deleted.
    void savedPicture_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("loaded");
        row("text only", "GTAIHI textonly Gnil", "", "", true);
        row("and back", "GTAIHI textonly Gnil GFUKKI left", kCat.arg("left"), "cat.htm", true);
        row("never kept", "textonly Gnil GFUKKI", "", "", false);
        row("other page", "GTAIHI textonly Gnil open GFUKKI", "", "", false);
        row("deleted", "GTAIHI textonly Gnil gone GFUKKI", "", "", true);
    }
    void savedPicture() {
        QFETCH(QString, steps);
        QTemporaryDir dir;
        QFile cat(dir.filePath("cat.jpg"));
        QVERIFY(cat.open(QIODevice::WriteOnly));
        PageFields f;
        f.ETAGSRC1 = QStringLiteral("<P align=\"center\">");
        f.Edit7 = f.linkText = kCat.arg("center");
        f.pictureName = QStringLiteral("cat.jpg");
        f.pictureLoaded = true;
        f.linkFile = QStringLiteral("cat.htm");
        PictureSaves saves;
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("GTAIHI")) {
                GTAIHI(f, saves);
            } else if (step == QLatin1String("Gnil")) {
                Gnil(f, saves);
            } else if (step == QLatin1String("GFUKKI")) {
                GFUKKI(f, saves, dir.filePath("unit_3.htm"));
            } else if (step == QLatin1String("gone")) {
                QVERIFY(cat.remove());
            } else if (step == QLatin1String("open")) {
                f = PageFields();
                saves = PictureSaves();
            } else {
                placeMarkup(f, step == QLatin1String("left") ? Placement::PictureLeft
                                                             : Placement::TextOnly);
            }
        }
        QTEST(f.Edit7, "markup");
        QTEST(f.linkFile, "link");
        QTEST(f.pictureLoaded, "loaded");
    }

    void linkOnlyParagraphSurvives() {
        QTemporaryDir dir;
        PageMemory memory;
        PageDocument page(memory);
        const QString link =
            QStringLiteral("<P align=\"center\"><A href=\"memo.pdf\">資料</A></P>");
        page.Edit_LOAD("<HTML><HEAD></HEAD><BODY><!--NOTE_IN-->" + link +
                           "<P></P><!--NOTE_OUT--></BODY></HTML>",
                       dir.path() + QLatin1Char('/'));
        QCOMPARE(placementOf(page.fields), Placement::TextOnly);
        QVERIFY(page.Edit_SAVE().contains(link));
    }

    void names_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("drawing"); // Gnumber
        QTest::addColumn<QString>("copy");    // underscoreName
        row("plain", "/w/page.htm", "page-iedit.bmp", "_page.htm");
        row("first _ cut", "a_b_c.htm", "b_c-iedit.bmp", "_a_b_c.htm");
        row("leading _", "/w/__unit_3.htm", "_unit_3-iedit.bmp", "_unit_3.htm");
    }
    void names() {
        QFETCH(QString, given);
        QTEST(Gnumber(given), "drawing");
        QTEST(underscoreName(given), "copy");
    }

    void relativeLinks_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("link");
        row("beside", "/w/a/cat.htm", "cat.htm");
        row("below", "/w/a/sub/cat.htm", "sub/cat.htm");
        row("same start", "/w/ab/cat.htm", "/w/ab/cat.htm");
        row("further in", "/x/w/a/cat.htm", "/x/w/a/cat.htm");
    }
    void relativeLinks() {
        QFETCH(QString, chosen);
        QTEST(relativeLink(chosen, QStringLiteral("/w/a")), "link");
        QTEST(relativeLink(chosen, QStringLiteral("/w/a/")), "link");
    }

    void titleAndBackground_data() {
        QTest::addColumn<QString>("HEDDA");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("body");
        const QString titled =
            QStringLiteral("<!--HEDDA_IN--><P align=\"center\" ><IMG src=\"_t.png\" "
                           "border=\"0\"></P><!--HEDDA_OUT-->");
        const QString empty = QStringLiteral("<!--HEDDA_IN-->\r<!--HEDDA_OUT-->");
        const QString background = QStringLiteral("<BODY background=\"_t.png\"");
        row("template", empty, "_t.png", titled, background);
        row("replaced", titled, "_t.png", titled, background);
        row("removed", titled, "", "<!--HEDDA_IN--><!--HEDDA_OUT-->", "<BODY");
        row("no block", "", "", empty, "<BODY");
    }
    void titleAndBackground() {
        QFETCH(QString, HEDDA);
        QFETCH(QString, name);
        QTEST(titleHeader(HEDDA, name), "header");
        QTEST(backgroundBody(name), "body");
    }

    void refusedInMarkup() {
        QVERIFY(fitsMarkup(QStringLiteral("猫 の絵.png")));
        for (const char* name : {"a\"b.png", "a<b.png", "a>b.png", "a\nb.png"})
            QVERIFY2(!fitsMarkup(QString::fromUtf8(name)), name);
    }

    // The bar at `position` on a picture whose size attributes are given.
    void sizeBar_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<int>("barHeight"); // 99 is the height before
        row("400 x 300 to 200", 200, "400", "300", 200, 150);
        row("halves to even", 17, "2", "1", 17, 8);
        row("below", 3, "5", "5", 16, 16);
        row("above", 5000, "5", "5", 1265, 1265);
        row("huge ratio", 300, "1", "99999999999999", 300, 16777215);
        row("zero", 300, "0", "30", 300, 99);
        row("empty", 300, "40", "", 300, 99);
        row("negative", 300, "-5", "30", 300, 99);
        row("percent", 300, "50%", "30", 300, 99);
        row("too long", 300, "99999999999999999999999", "30", 300, 99);
        row("wide digits", 300, "４０", "30", 300, 99);
    }
    void sizeBar() {
        QFETCH(int, position);
        QFETCH(QString, width);
        QFETCH(QString, height);
        const PictureSize size = sizeForBar(position, ratioOf(width, height), 99);
        QTEST(size.width, "barWidth");
        QTEST(size.height, "barHeight");
    }
};

QTEST_MAIN(TestPagePictures)
#include "tst_pagepictures.moc"
