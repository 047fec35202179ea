#include "cards/cardwidget.h"
#include "dialogs/cardeditordialog.h"
#include "dialogs/folderchooserdialog.h"
#include "dialogs/newcardcommand.h"
#include "dialogs/quickcardeditor.h"
#include "document/changedetection.h"
#include "document/undohistory.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "storage/refspace.h"
#include "support/cp932.h"
#include "support/modalanswers.h"
#include "support/scriptedprompts.h"
#include "support/wallfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

namespace {

// Runs the steps in turn, each the next time `dialog` shows: a modal dialog
// returns to its caller only when it closes.
class WhenShown : public QObject {
public:
    WhenShown(QWidget* dialog, QList<std::function<void()>> steps)
        : QObject(dialog), steps_(std::move(steps)) {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !steps_.isEmpty()) {
            std::function<void()> step = steps_.takeFirst();
            QTimer::singleShot(0, this, step);
            if (steps_.isEmpty())
                deleteLater();
        }
        return false;
    }

private:
    QList<std::function<void()>> steps_;
};

void whenShown(QWidget* dialog, QList<std::function<void()>> steps) {
    new WhenShown(dialog, std::move(steps));
}

// Every file below `folder`, hidden ones too, with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readFileBytes(path));
    }
    return files;
}

// The editor's control of that name.
template <typename T> T* control(QWidget* editor, const char* name) {
    T* c = editor->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

// A wall of cards with the editors the wall window gives it: the card
// editor, the quick editor and the new-card command. The wall is as large as
// an 800 × 800 screen shows it.
struct EditorWall {
    WallFixture f{800, 450};
    QString data;
    QTemporaryDir& dir = f.dir;
    QWidget window;
    FolderChooserDialog chooser{&window};
    CardEditorDialog editor{f.st(),           f.busy,   *f.board, *f.saver,
                            f.st().changes(), &chooser, &window};
    QuickCardEditor quick{&window};
    NewCardCommand commands{f.st(), f.busy, f.st().changes(), &quick, &editor, &f.area};
    CardEditorDialog* TForm3 = &editor;
    QuickCardEditor* TForm18 = &quick;
    NewCardCommand* newCards = &commands;

    explicit EditorWall(const QList<QPair<QString, PosterRecord>>& cards) {
        data = f.st().KIJUNDIR;
        for (const auto& c : cards)
            writeCardFile(data + c.first, c.second);
    }
    EditorWall& open() {
        f.area.show();
        f.loader->PANELLOAD();
        f.st().changes().start();
        return *this;
    }
    WallDocument& document() { return f.st(); }
    ChangeDetection& changes() { return f.st().changes(); }
    CardBoard& board() { return *f.board; }
    CardWidget* card(int n) { return f.board->card(n); }
    // "カードに書く" on the current card.
    void openEditor() { editor.openOn(f.st().PBAN); }
};

PosterRecord card(const QString& text, int x = 100, int y = 100) {
    PosterRecord r = textCard(text, x, y);
    r.P = 4000;
    r.PT = 1000;
    return r;
}

} // namespace

class TestCardEditors : public QObject {
    Q_OBJECT
private slots:
    void liveEditsAndCancel();
    void saveUnderANewName();
    void namesThatCannotBeSaved();
    void checkOffCards();
    void picturesAndFiles();
    void closingWithoutSavingPutsFilesBack();
    void savingReplacesNoFileUnasked();
    void quickEditorMakesCards();
    void quickEditorRefusesNames();
    void nameTags();
    void wallFull();
    void eachEditorRunIsOneStep();
};

void TestCardEditors::liveEditsAndCancel() {
    EditorWall wall({{"a.txt", card("a")}});
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    const QByteArray file = readFileBytes(wall.data + "a.txt");
    const QRect place = wall.card(0)->geometry();
    QStringList shownWhileOpen;
    whenShown(e, {[&] {
                  // The editor's own filling changed nothing; the first keystroke does.
                  QCOMPARE(wall.card(0)->captions()[0], QStringLiteral("a"));
                  control<QPlainTextEdit>(e, "Memo2")->moveCursor(QTextCursor::End);
                  QTest::keyClicks(control<QPlainTextEdit>(e, "Memo2"), "x");
                  shownWhileOpen << wall.card(0)->captions()[0];
                  e->setCardColour(18);
                  e->setTextColour(2);
                  e->setShape(true);
                  control<QCheckBox>(e, "CheckBox1")->click();
                  control<QLineEdit>(e, "Edit4")->setText("7");
                  emit control<QLineEdit>(e, "Edit4")->textEdited("7");
                  e->cancelClicked();
              }});
    w.document().PBAN = 0;
    w.openEditor();
    QCOMPARE(shownWhileOpen, QStringList{"ax"});
    CardWidget* c = wall.card(0);
    // Back as it was, but for its place, which cancel keeps.
    QCOMPARE(c->captions()[0], QStringLiteral("a"));
    QCOMPARE(w.document().card(0).colour, 4);
    QCOMPARE(w.document().card(0).textColour, 1);
    QVERIFY(!c->isElliptic());
    QCOMPARE(w.document().card(0).STP, 0);
    QCOMPARE(w.document().card(0).TT, QStringLiteral("a"));
    QCOMPARE(c->x(), 7);
    QCOMPARE(c->size(), place.size());
    QCOMPARE(readFileBytes(wall.data + "a.txt"), file);
    QVERIFY(w.changes().isActive());
}

void TestCardEditors::saveUnderANewName() {
    EditorWall wall({{"a.txt", card("a")}, {"c.txt", card("c", 500)}});
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    const QByteArray a = readFileBytes(wall.data + "a.txt");
    const QByteArray c = readFileBytes(wall.data + "c.txt");
    const QPoint at = wall.card(0)->pos();
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("b");
                  control<QPlainTextEdit>(e, "Memo2")->setPlainText("edited");
                  e->setCardColour(2);
                  e->saveClicked();
              }});
    e->openOn(0);
    // The new card carries the edits, 2 pixels right and down; the old card
    // and its file are as they were.
    QCOMPARE(w.document().count(), 3);
    const PosterRecord b = readCardFile(wall.data + "b.txt").first();
    QCOMPARE(b.TT, QStringLiteral("edited"));
    QCOMPARE(b.colourCode(), 2);
    QCOMPARE(b.XS, toReferenceX(at.x() + 2, w.document().NOWX));
    QCOMPARE(readFileBytes(wall.data + "a.txt"), a);
    QCOMPARE(w.document().card(0).TT, QStringLiteral("a"));
    QCOMPARE(w.document().card(0).colour, 4);

    // The card name a.TXT is a name, not an extension.
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("a.TXT");
                  e->saveClicked();
              }});
    e->openOn(0);
    QVERIFY(QFileInfo::exists(wall.data + "a.TXT.txt"));

    // Another card's name asks first; いいえ goes back to the editor.
    QString asked;
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("c");
                  control<QPlainTextEdit>(e, "Memo2")->setPlainText("mine");
                  answerNext("No", &asked);
                  e->saveClicked();
                  QVERIFY(e->isVisible());
                  e->cancelClicked();
              }});
    e->openOn(0);
    QVERIFY(asked.contains(QStringLiteral("「c」")));
    QCOMPARE(readFileBytes(wall.data + "c.txt"), c);
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("c");
                  control<QPlainTextEdit>(e, "Memo2")->setPlainText("mine");
                  answerNext(QString());
                  e->saveClicked();
              }});
    e->openOn(0);
    QCOMPARE(readCardFile(wall.data + "c.txt").first().TT, QStringLiteral("mine"));
    QCOMPARE(readCardFile(wall.data + "a.txt").first().TT, QStringLiteral("a"));
}

void TestCardEditors::namesThatCannotBeSaved() {
    EditorWall wall({{"a.txt", card("a")}});
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    const int beeps = beepCount();
    bool stayed = false;
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("");
                  e->saveClicked();
                  stayed = e->isVisible();
                  e->cancelClicked();
              }});
    e->openOn(0);
    QVERIFY(stayed);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(w.document().count(), 1);
    QCOMPARE(w.document().card(0).FNAME, QStringLiteral("a.txt"));

    // From the keyboard: Return is a line of the text, Ctrl+Return saves,
    // Escape cancels.
    whenShown(e, {[&] {
                  control<QPlainTextEdit>(e, "Memo2")->moveCursor(QTextCursor::End);
                  QTest::keyClick(control<QPlainTextEdit>(e, "Memo2"), Qt::Key_Return);
                  QTest::keyClicks(control<QPlainTextEdit>(e, "Memo2"), "b");
                  QVERIFY(e->isVisible());
                  QTest::keyClick(control<QPlainTextEdit>(e, "Memo2"), Qt::Key_Return,
                                  Qt::ControlModifier);
              }});
    e->openOn(0);
    QCOMPARE(readCardFile(wall.data + "a.txt").first().TT, QStringLiteral("a\r\nb"));
    whenShown(e, {[&] {
                  QTest::keyClicks(control<QPlainTextEdit>(e, "Memo2"), "zzz");
                  QTest::keyClick(control<QPlainTextEdit>(e, "Memo2"), Qt::Key_Escape);
              }});
    e->openOn(0);
    QCOMPARE(w.document().card(0).TT, QStringLiteral("a\r\nb"));
}

void TestCardEditors::checkOffCards() {
    PosterRecord collapsed = card("c", 500);
    collapsed.KAKUSU = "1"; // comes up collapsed
    EditorWall wall({{"a.txt", card("a")}, {"c.txt", collapsed}});
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    const int nowx = w.document().NOWX;
    // Ticked and saved: written whole as "1", then a small square "2".
    whenShown(e, {[&] {
                  control<QCheckBox>(e, "CheckBox2")->click();
                  e->saveClicked();
              }});
    e->openOn(0);
    PosterRecord a = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(a.KAKUSU, QStringLiteral("1"));
    QCOMPARE(a.XXS, toReferenceX(toPixelsX(300, nowx), nowx));
    QVERIFY(wall.card(0)->isCollapsed());
    QVERIFY(w.document().card(0).checkOff == CheckOff::Collapsed);

    // A collapsed card opens at its stored size and is saved as "1".
    QVERIFY(wall.card(1)->isCollapsed());
    QString width;
    whenShown(e, {[&] {
                  width = control<QLineEdit>(e, "Edit6")->text();
                  e->saveClicked();
              }});
    e->openOn(1);
    QCOMPARE(width, QString::number(toPixelsX(300, nowx)));
    const PosterRecord c = readCardFile(wall.data + "c.txt").first();
    QCOMPARE(c.KAKUSU, QStringLiteral("1"));
    QCOMPARE(c.XXS, toReferenceX(toPixelsX(300, nowx), nowx));
    QVERIFY(wall.card(1)->isCollapsed());
    // Cancel on a card opened collapsed collapses it again.
    whenShown(e, {[&] { e->cancelClicked(); }});
    e->openOn(1);
    QVERIFY(wall.card(1)->isCollapsed());
    QVERIFY(w.document().card(1).checkOff == CheckOff::Collapsed);
}

void TestCardEditors::picturesAndFiles() {
    PosterRecord pictured = card("p");
    pictured.POST = "sub\\p.png";
    EditorWall wall({{"a.txt", card("a")}, {"p.txt", pictured}});
    QDir().mkpath(wall.data + "sub");
    QImage png(40, 30, QImage::Format_RGB32);
    png.fill(Qt::green);
    png.save(wall.data + "sub/p.png");
    QTemporaryDir elsewhere;
    png.save(elsewhere.filePath("photo.jpg"));
    for (const char* name : {"x.html", "y.pdf", "z.trx"})
        writeFileBytes(elsewhere.filePath(name), name);
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;

    // Open and save: a picture nobody changed keeps its stored name.
    whenShown(e, {[&] { e->saveClicked(); }});
    e->openOn(1);
    QCOMPARE(readCardFile(wall.data + "p.txt").first().POST, QStringLiteral("sub\\p.png"));

    // A picture from a file is copied in with its "_" copy and a thumbnail.
    ScriptedPrompts prompts;
    prompts.files = {
        {elsewhere.filePath("photo.jpg")},
        {elsewhere.filePath("x.html"), elsewhere.filePath("y.pdf"), elsewhere.filePath("z.trx")}};
    e->setPrompts(&prompts);
    whenShown(e, {[&] {
                  control<QToolButton>(e, "SpeedButton1")->click();
                  QVERIFY(wall.card(0)->hasPicture());
                  for (QToolButton* b : e->findChildren<QToolButton*>())
                      if (b->text() == QStringLiteral("ファイルを表示"))
                          b->click();
                  e->saveClicked();
              }});
    e->openOn(0);
    QCOMPARE(prompts.requests.size(), 2);
    QCOMPARE(prompts.requests[0].mode, FileRequest::OpenOrTyped);
    QCOMPARE(prompts.requests[0].typed, QStringLiteral("画像無し"));
    QCOMPARE(prompts.requests[0].folder, wall.data + "sub");
    QCOMPARE(prompts.requests[1].mode, FileRequest::OpenMany);
    const PosterRecord a = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(a.POST, QStringLiteral("photo.jpg"));
    QCOMPARE(a.NOTE, QStringLiteral("x.html&y.pdf&z.trx"));
    for (const char* name :
         {"photo.jpg", "_photo.jpg", "NAIL/~photo.jpg", "x.html", "y.pdf", "z.trx"})
        QVERIFY2(QFileInfo::exists(wall.data + name), name);

    // A picture from the clipboard: saved under the card's name in the wall
    // and in the card's own folder.
    QApplication::clipboard()->setImage(png);
    if (QApplication::clipboard()->image().isNull())
        QSKIP("no clipboard on this platform");
    whenShown(e, {[&] {
                  control<QToolButton>(e, "SpeedButton34")->click();
                  e->saveClicked();
              }});
    e->openOn(0);
    QCOMPARE(readCardFile(wall.data + "a.txt").first().POST, QStringLiteral("a.jpg"));
    // A typed path does not lead the pasted picture out of the wall.
    bool inWall = false;
    bool outside = true;
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("../out");
                  control<QToolButton>(e, "SpeedButton34")->click();
                  inWall = QFileInfo::exists(wall.data + QStringLiteral("..／out.jpg"));
                  outside = QFileInfo::exists(wall.dir.filePath("out.jpg"));
                  e->cancelClicked();
              }});
    e->openOn(0);
    QVERIFY(inWall);
    QVERIFY(!outside);
    for (const char* name : {"a.jpg", "a/a.jpg", "a/_a.jpg", "NAIL/~a.jpg"})
        QVERIFY2(QFileInfo::exists(wall.data + name), name);
}

void TestCardEditors::closingWithoutSavingPutsFilesBack() {
    PosterRecord pictured = card("p", 500);
    pictured.POST = "photo.jpg";
    EditorWall wall({{"a.txt", card("a")}, {"p.txt", pictured}});
    QImage green(40, 30, QImage::Format_RGB32);
    green.fill(Qt::green);
    green.save(wall.data + "photo.jpg");
    green.save(wall.data + "_photo.jpg");
    writeFileBytes(wall.data + "y.pdf", "the wall's own");
    QTemporaryDir elsewhere;
    QImage red = green;
    red.fill(Qt::red);
    red.save(elsewhere.filePath("photo.jpg"));
    writeFileBytes(elsewhere.filePath("y.pdf"), "another");
    writeFileBytes(elsewhere.filePath("x.html"), "<embed src=\"y.pdf\">");
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    // Each time: the picture, the files to show, the background.
    ScriptedPrompts prompts;
    for (int i = 0; i < 2; ++i)
        prompts.files << QStringList{elsewhere.filePath("photo.jpg")}
                      << QStringList{elsewhere.filePath("x.html"), elsewhere.filePath("y.pdf")}
                      << QStringList{elsewhere.filePath("photo.jpg")};
    e->setPrompts(&prompts);
    QApplication::clipboard()->setImage(red);
    const bool pasting = !QApplication::clipboard()->image().isNull();
    const auto before = filesBelow(w.document().KIJUNDIRBAK);
    QStringList asked;
    QList<bool> shown;
    // Every button that writes into the wall, each replacing a file of it
    // when the user says so; then the editor is left without saving.
    auto pressAll = [&](const std::function<void()>& leave) {
        return [&, leave] {
            QString said;
            answerNext(QString(), &said);
            control<QToolButton>(e, "SpeedButton1")->click();
            asked << said;
            if (pasting)
                control<QToolButton>(e, "SpeedButton34")->click();
            said.clear();
            answerNext(QString(), &said);
            for (QToolButton* b : e->findChildren<QToolButton*>())
                if (b->text() == QStringLiteral("ファイルを表示") ||
                    b->text() == QStringLiteral("背景に表示"))
                    b->click();
            asked << said;
            shown << wall.card(0)->hasPicture();
            leave();
        };
    };
    whenShown(e, {pressAll([&] { e->cancelClicked(); })});
    e->openOn(0);
    QCOMPARE(shown, QList<bool>{true});
    QCOMPARE(asked.first(),
             QStringLiteral("このかべの「photo.jpg」「_photo.jpg」を置きかえますか？"));
    QCOMPARE(asked.last(), QStringLiteral("このかべの「y.pdf」を置きかえますか？"));
    QCOMPARE(filesBelow(w.document().KIJUNDIRBAK), before);
    QVERIFY(!wall.card(0)->hasPicture());
    QCOMPARE(w.document().card(0).POST, QString());
    // The close box neither saves nor restores the card, but its files go back.
    whenShown(e, {pressAll([&] { e->close(); })});
    e->openOn(0);
    QCOMPARE(filesBelow(w.document().KIJUNDIRBAK), before);
    QVERIFY(!wall.card(0)->hasPicture());
}

void TestCardEditors::savingReplacesNoFileUnasked() {
    EditorWall wall({{"a.txt", card("a")}, {"a?b.txt", card("q", 500)}});
    writeFileBytes(wall.data + QStringLiteral("メモ.txt"), "notes");
    writeFileBytes(wall.data + "broken.txt", "<POSTER=\"\",x,y>");
    EditorWall& w = wall.open();
    CardEditorDialog* e = w.TForm3;
    // A file of the new name that is no card of the wall (notes, a card file
    // that could not be read) is replaced only when the user says so.
    for (const QString& name : {QStringLiteral("メモ"), QStringLiteral("broken")}) {
        const QByteArray kept = readFileBytes(wall.data + name + ".txt");
        QString asked;
        whenShown(e, {[&] {
                      control<QLineEdit>(e, "Edit3")->setText(name);
                      answerNext("No", &asked);
                      e->saveClicked();
                      e->cancelClicked();
                  }});
        e->openOn(0);
        QCOMPARE(asked, QStringLiteral("このかべのフォルダに「%1.txt」があります。このカードの内容"
                                       "で書きかえますか？")
                            .arg(name));
        QCOMPARE(readFileBytes(wall.data + name + ".txt"), kept);
    }
    // A name read from a file goes back to that file, whatever it holds.
    const int q = w.document().lastIndexOfFile("a?b.txt");
    whenShown(e, {[&] { e->saveClicked(); }});
    e->openOn(q);
    QCOMPARE(w.document().count(), 2);
    QVERIFY(!QFileInfo::exists(wall.data + QStringLiteral("a？b.txt")));
}

void TestCardEditors::quickEditorMakesCards() {
    EditorWall wall({});
    writeCardFile(wall.data + "zavik-data.txt", card("taken"));
    EditorWall& w = wall.open();
    QuickCardEditor* q = w.TForm18;
    QWidget* area = wall.card(0)->parentWidget();
    QList<QRect> under;
    QString proposed;
    auto saveAs = [&](const QString& text, bool right) {
        return [&, text, right] {
            if (proposed.isEmpty())
                proposed = q->Memo1->toPlainText();
            if (right)
                q->step(Arrow::Right);
            q->Memo1->setPlainText(text);
            const QRect onScreen = q->textAreaOnScreen();
            under << QRect(area->mapFromGlobal(onScreen.topLeft()), onScreen.size());
            q->SpeedButton12->click();
        };
    };
    whenShown(q, {saveAs("one", false), saveAs("two", true), [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    QCOMPARE(proposed, QStringLiteral("zavik-data2"));
    QCOMPARE(w.document().count(), 3);
    QCOMPARE(wall.card(1)->geometry(), under[0]);
    QCOMPARE(wall.card(2)->geometry(), under[1]);
    QVERIFY(under[1].x() > under[0].x());
    const PosterRecord one = readCardFile(wall.data + "one.txt").first();
    QCOMPARE(one.TT, QStringLiteral("one"));
    QCOMPARE(one.colourCode(), 10); // blue and yellow until others are chosen
    QCOMPARE(one.textColourCode(), 4);
    QVERIFY(w.changes().isActive());
    QVERIFY(!w.document().KKFLG);
}

void TestCardEditors::quickEditorRefusesNames() {
    EditorWall wall({{"old.txt", card("old")}});
    EditorWall& w = wall.open();
    QuickCardEditor* q = w.TForm18;
    QStringList said;
    int beeps = 0;
    auto refused = [&](const QString& name) {
        QString message;
        answerNext(QString(), &message);
        q->Memo1->setPlainText(name);
        q->SpeedButton12->click();
        QTRY_VERIFY(!message.isEmpty());
        said << message;
    };
    whenShown(q, {[&] {
                      beeps = beepCount();
                      q->Memo1->setPlainText("");
                      q->SpeedButton12->click(); // beeps only
                      refused("old");
                      beeps = beepCount() - beeps;
                      // A character a file name cannot hold is given in full width.
                      q->Memo1->setPlainText("a?b");
                      q->SpeedButton12->click();
                  },
                  [&] {
                      refused(QStringLiteral("a？b"));
                      // A name on two lines is one name; the text keeps both lines.
                      q->Memo1->setPlainText("a\nb");
                      q->SpeedButton12->click();
                  },
                  [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    QCOMPARE(beeps, 2);
    QCOMPARE(said, QStringList(2, "同名があります。\n別の名前にしてください。"));
    QCOMPARE(readCardFile(wall.data + QStringLiteral("a？b.txt")).first().TT,
             QStringLiteral("a?b"));
    QCOMPARE(readCardFile(wall.data + "ab.txt").first().TT, QStringLiteral("a\r\nb"));
}

void TestCardEditors::nameTags() {
    EditorWall wall({{"A.txt", card("old A", 900, 900)}, {"太郎.txt", card("太郎", 900, 500)}});
    writeFileBytes(wall.data + QStringLiteral("メモ.txt"), "notes");
    QTemporaryDir lists;
    writeFileBytes(lists.filePath("class.csv"), "A\r\nB\r\n1/2組\r\n1組:田中\r\n2組:田中\r\n"
                                                "C:\\Users\\太郎\r\nx:メモ\r\n\r\nC\r\n");
    writeFileBytes(lists.filePath("same.txt"), "b?\r\nb？");
    writeFileBytes(lists.filePath("again.txt"), "A\nB\nD");
    writeFileBytes(lists.filePath("sjis.txt"), toCp932(QStringLiteral("山田\r\n佐藤")));
    EditorWall& w = wall.open();
    QuickCardEditor* q = w.TForm18;
    ScriptedPrompts prompts;
    w.newCards->setPrompts(&prompts);
    std::array<QString, 3> said;
    auto tags = [&](const char* file, int box = -1, const QString& answer = QString()) {
        return [&, file, box, answer] {
            // The list chosen, or a cancelled dialog.
            prompts.files = {file ? QStringList{lists.filePath(file)} : QStringList()};
            if (box >= 0)
                answerNext(answer, &said[box]);
            q->SpeedButton9->click();
        };
    };
    auto relinked = [&](std::function<void()> step) {
        return [&, step] {
            q->Edit2->setText(">SW20");
            step();
        };
    };
    whenShown(q, {tags("class.csv", 0), tags("same.txt", 1), relinked(tags("again.txt", 2, "No")),
                  tags("sjis.txt"), tags(nullptr), [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    // A was on the wall already: asked, then updated in place; the empty line
    // ends the list; no line writes over a file it does not name.
    QCOMPARE(said[0], QStringLiteral("このかべにはもう次のファイルがあります。名札の内容で書きかえ"
                                     "ますか？\n「A.txt」"));
    QCOMPARE(readCardFile(wall.data + "A.txt").first().TT, QStringLiteral("A"));
    QCOMPARE(readCardFile(wall.data + "B.txt").first().TT, QStringLiteral("B"));
    for (const char* made : {"1／2組", "1組：田中", "2組：田中", "C：￥Users￥太郎", "x：メモ"})
        QVERIFY2(QFileInfo::exists(wall.data + QString::fromUtf8(made) + ".txt"), made);
    QCOMPARE(readCardFile(wall.data + QStringLiteral("太郎.txt")).first().TT,
             QStringLiteral("太郎"));
    QCOMPARE(readFileBytes(wall.data + QStringLiteral("メモ.txt")), QByteArray("notes"));
    QVERIFY(!QFileInfo::exists(wall.data + "C.txt"));
    const QSize tag(scaleToWallX(160, w.document().NOWX), scaleToWallY(28, w.document().NOWY));
    QCOMPARE(wall.card(2)->size(), tag);
    // Two lines giving one name are both kept, and named after the run.
    QCOMPARE(said[1], QStringLiteral("同じファイル名になる行があったので、番号をつけて別のカードに"
                                     "しました。\n2行目「b？」→「b？2.txt」"));
    QCOMPARE(readCardFile(wall.data + QStringLiteral("b？2.txt")).first().TT,
             QStringLiteral("b？"));
    // いいえ: the lines naming files of the wall make nothing; the others do.
    QCOMPARE(said[2], QStringLiteral("このかべにはもう次のファイルがあります。名札の内容で書きかえ"
                                     "ますか？\n「A.txt」\n「B.txt」"));
    QCOMPARE(readCardFile(wall.data + "A.txt").first().NOTE, QStringLiteral(">SW10"));
    QCOMPARE(readCardFile(wall.data + "D.txt").first().NOTE, QStringLiteral(">SW20"));
    // Shift_JIS lists are read; a cancelled dialog makes nothing.
    QVERIFY(QFileInfo::exists(wall.data + QStringLiteral("山田.txt")));
    QVERIFY(QFileInfo::exists(wall.data + QStringLiteral("佐藤.txt")));
    QCOMPARE(w.board().count(), 2 + 6 + 2 + 1 + 2);
    QVERIFY(!w.f.busy);
    QVERIFY(w.changes().isActive());
}

void TestCardEditors::wallFull() {
    EditorWall wall({{"c0.txt", card("c")}});
    const QByteArray bytes = readFileBytes(wall.data + "c0.txt");
    for (int i = 1; i < WallDocument::kMaxCards - 2; ++i)
        writeFileBytes(wall.data + QStringLiteral("c%1.txt").arg(i), bytes);
    QTemporaryDir lists;
    writeFileBytes(lists.filePath("class.txt"), "A\nB\nC\nD\n");
    EditorWall& w = wall.open();
    QuickCardEditor* q = w.TForm18;
    ScriptedPrompts prompts;
    prompts.files = {{lists.filePath("class.txt")}};
    w.newCards->setPrompts(&prompts);
    QString said;
    whenShown(q, {[&] {
                      answerNext(QString(), &said);
                      q->SpeedButton9->click();
                  },
                  [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    QCOMPARE(said,
             QStringLiteral("このかべには1000枚までのカードしか置けません。3行目で止めます。"));
    QCOMPARE(w.board().count(), WallDocument::kMaxCards);
    QVERIFY(QFileInfo::exists(wall.data + "B.txt"));
    QVERIFY(!QFileInfo::exists(wall.data + "C.txt"));

    // The quick editor says so and ends; it opens no card editor on another card.
    said.clear();
    whenShown(q, {[&] {
                  answerNext(QString(), &said);
                  q->Memo1->setPlainText("more");
                  q->SpeedButton2->click(); // "追加設定"
              }});
    w.newCards->CARDMAKE();
    QCOMPARE(said, QStringLiteral("このかべには1000枚までのカードしか置けません。"));
    QVERIFY(!w.TForm3->isVisible());
    QVERIFY(!QFileInfo::exists(wall.data + "more.txt"));
    QVERIFY(w.changes().isActive());
}

void TestCardEditors::eachEditorRunIsOneStep() {
    EditorWall wall({{"a.txt", card("a")}, {"b.txt", card("b", 500)}});
    EditorWall& w = wall.open();
    WallDocument& doc = w.document();
    UndoHistory& history = doc.history();
    CardEditorDialog* e = w.TForm3;
    const QByteArray a = readFileBytes(wall.data + "a.txt");
    // A cancel leaves nothing to take back.
    whenShown(e, {[&] {
                  e->setCardColour(2);
                  e->cancelClicked();
              }});
    doc.PBAN = 0;
    w.openEditor();
    QVERIFY(!history.canUndo());
    // A save is one step: the card as it was and its file's bytes come back.
    whenShown(e, {[&] {
                  control<QPlainTextEdit>(e, "Memo2")->setPlainText("edited");
                  e->setCardColour(2);
                  e->saveClicked();
              }});
    doc.PBAN = 0;
    w.openEditor();
    QCOMPARE(history.undoCount(), 1);
    QCOMPARE(history.undoName(), QStringLiteral("カードに書く"));
    const QByteArray saved = readFileBytes(wall.data + "a.txt");
    history.undo();
    QCOMPARE(readFileBytes(wall.data + "a.txt"), a);
    QCOMPARE(doc.card(0).TT, QStringLiteral("a"));
    QCOMPARE(doc.card(0).colour, 4);
    QCOMPARE(wall.card(0)->captions()[0], QStringLiteral("a"));
    history.redo();
    QCOMPARE(readFileBytes(wall.data + "a.txt"), saved);
    QCOMPARE(wall.card(0)->captions()[0], QStringLiteral("edited"));
    // Saved under a new name: the new card and its file go again.
    whenShown(e, {[&] {
                  control<QLineEdit>(e, "Edit3")->setText("c");
                  e->saveClicked();
              }});
    doc.PBAN = 0;
    w.openEditor();
    QCOMPARE(doc.count(), 3);
    history.undo();
    QCOMPARE(doc.count(), 2);
    QVERIFY(!QFileInfo::exists(wall.data + "c.txt"));
    QCOMPARE(readFileBytes(wall.data + "a.txt"), saved);
    history.redo();
    QCOMPARE(doc.count(), 3);
    QVERIFY(QFileInfo::exists(wall.data + "c.txt"));

    // The quick editor: a step per card.
    QuickCardEditor* q = w.TForm18;
    auto quickCard = [&](const QString& text) {
        return [&, text] {
            q->Memo1->setPlainText(text);
            q->SpeedButton12->click();
        };
    };
    whenShown(q, {quickCard("one"), quickCard("two"), [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    QCOMPARE(history.undoCount(), 4);
    QCOMPARE(history.undoName(), QStringLiteral("新しいカード"));
    history.undo();
    QCOMPARE(wall.f.cardNames().last(), QStringLiteral("one.txt"));
    QVERIFY(!QFileInfo::exists(wall.data + "two.txt"));

    // Name tags: one step for the whole list, a card it rewrote included.
    QTemporaryDir lists;
    writeFileBytes(lists.filePath("class.csv"), "x\r\ny\r\nb\r\n");
    ScriptedPrompts prompts;
    prompts.files = {QStringList{lists.filePath("class.csv")}};
    w.newCards->setPrompts(&prompts);
    const QByteArray b = readFileBytes(wall.data + "b.txt");
    whenShown(q, {[&] {
                      answerNext("Yes");
                      q->SpeedButton9->click();
                  },
                  [&] { q->SpeedButton1->click(); }});
    w.newCards->CARDMAKE();
    QCOMPARE(history.undoName(), QStringLiteral("名札"));
    QVERIFY(readFileBytes(wall.data + "b.txt") != b);
    const int tags = doc.count();
    history.undo();
    QCOMPARE(doc.count(), tags - 2);
    QCOMPARE(readFileBytes(wall.data + "b.txt"), b);
    QVERIFY(!QFileInfo::exists(wall.data + "x.txt") && !QFileInfo::exists(wall.data + "y.txt"));
    history.redo();
    QCOMPARE(doc.count(), tags);
}

QTEST_MAIN(TestCardEditors)
#include "tst_cardeditors.moc"
