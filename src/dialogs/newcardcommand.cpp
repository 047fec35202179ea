#include "dialogs/newcardcommand.h"

#include "cards/cardboard.h"
#include "dialogs/cardeditordialog.h"
#include "dialogs/cardrules.h"
#include "dialogs/quickcardeditor.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "storage/filereading.h"
#include "storage/timestamp.h"
#include "storage/walltext.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QTextEdit>
#include <QWidget>

NewCardCommand::NewCardCommand(WallDocument& doc, bool& busy, ChangeDetection& changes,
                               QuickCardEditor* quickEditor, CardEditorDialog* cardEditor,
                               QWidget* wallArea)
    : QObject(wallArea), st(doc), busy_(busy), changes_(changes), TForm18(quickEditor),
      TForm3(cardEditor), wallArea_(wallArea), ownPrompts_(wallArea) {}

void NewCardCommand::tell(const QString& message) {
    QMessageBox::information(wallArea_->window(), QStringLiteral("Zavik"), message);
}

bool NewCardCommand::ask(const QString& question) {
    return QMessageBox::question(wallArea_->window(), QStringLiteral("Zavik"), question) ==
           QMessageBox::Yes;
}

bool NewCardCommand::taken(const QString& name) const {
    return st.lastIndexOfFile(name) >= 0 || QFileInfo::exists(st.KIJUNDIR + name);
}

void NewCardCommand::CARDMAKE() {
    const NameTaken taken = [this](const QString& name) { return this->taken(name); };
    for (;;) {
        if (busy_)
            return;
        changes_.stop();
        emit commandStarting();
        // Nothing makes a card behind the quick editor.
        st.KKFLG = true;
        if (TForm3->isVisible())
            TForm3->close();
        const QRect wall(wallArea_->mapToGlobal(QPoint(0, 0)), QSize(st.NOWX, st.NOWY));
        const int result = TForm18->run(st.KIJUNDIR, wall, st.NOWY, taken);
        const QString stamp = makeTimestamp();
        st.KKFLG = false;
        if (result == QuickCardEditor::MakeCard) {
            changes_.stop();
            if (!makeQuickCard(stamp)) {
                tell(QStringLiteral("このかべには%1枚までのカードしか置けません。")
                         .arg(WallDocument::kMaxCards));
                changes_.start();
                return;
            }
            if (TForm18->moreSettings) {
                TForm18->moreSettings = false;
                TForm3->openOn(st.PBAN, true);
            }
        } else if (result == QuickCardEditor::MakeNameTags) {
            changes_.stop();
            MAKEGCARD4();
        } else {
            changes_.start();
            return;
        }
    }
}

bool NewCardCommand::makeQuickCard(const QString& stamp) {
    // The card lies exactly where the text area is on the wall.
    const QRect area = TForm18->textAreaOnScreen();
    CardEntry p;
    const QPoint at = wallArea_->mapFromGlobal(area.topLeft());
    p.rect.moveLeft(at.x());
    p.rect.moveTop(at.y());
    p.rect.setWidth(area.width());
    p.rect.setHeight(area.height());
    p.colour = TForm18->cardCode;
    p.textColour = TForm18->textCode;
    p.STP = 0;
    p.shape = 1;
    p.TT = TForm18->Memo1->toPlainText();
    p.FNAME = TForm18->DDNAME + QStringLiteral(".txt");
    p.FTIME = stamp;
    p.KAKUSU = QStringLiteral("0");
    const WallDocument::UserStep step(st, QStringLiteral("新しいカード"));
    return st.PanelMake(1, p);
}

void NewCardCommand::MAKEGCARD4() {
    changes_.stop();
    busy_ = true;
    emit commandStarting();
    // However the run ends, the wall is free and followed again.
    struct Done {
        WallDocument& st;
        bool& busy;
        ChangeDetection& changes;
        ~Done() {
            busy = false;
            changes.start();
        }
    } done{st, busy_, changes_};

    FileRequest request;
    request.title = QStringLiteral("名札");
    request.folder = textFolder_.isEmpty() ? st.KIJUNDIR : textFolder_;
    request.filter = QStringLiteral("CSV (*.csv);;TXT (*.txt);;すべて (*)");
    const QString file = prompts_->chooseFile(request);
    if (file.isEmpty() || !QFileInfo::exists(file))
        return;
    textFolder_ = QFileInfo(file).absolutePath();
    const FileRead read = readRegularFile(file, kMaxWallFileBytes);
    const auto text =
        read.problem == FileRead::Problem::None ? decodeWallText(read.bytes) : std::nullopt;
    if (!text) {
        tell(QStringLiteral("「%1」を名前の一覧として読めません（UTF-8かShift_JISのテキスト"
                            "にしてください）。")
                 .arg(QDir::toNativeSeparators(file)));
        return;
    }
    const QStringList items = nameTagItems(text->text);
    const NameTagNames names =
        nameTagNames(items, [this](const QString& name) { return taken(name); });
    QStringList notes;
    if (!names.numbered.isEmpty())
        notes << QStringLiteral("同じファイル名になる行があったので、番号をつけて別のカードに"
                                "しました。\n") +
                     names.numbered.join(QLatin1Char('\n'));
    if (names.unusable >= 0)
        notes << QStringLiteral("%1行目「%2」はカードの名前にできません。ここで止めます。")
                     .arg(names.unusable + 1)
                     .arg(items[names.unusable]);
    // A line names a file the wall has: one question for them all, and on
    // いいえ those lines make nothing.
    QSet<QString> existing;
    QStringList named;
    for (const QString& name : names.fileNames)
        if (taken(name)) {
            existing << name;
            named << QStringLiteral("「%1」").arg(name);
        }
    const bool replace =
        existing.isEmpty() ||
        ask(QStringLiteral(
                "このかべにはもう次のファイルがあります。名札の内容で書きかえますか？\n") +
            named.join(QLatin1Char('\n')));
    const QVector<QPoint> places = nameTagPlaces(int(names.fileNames.size()), st.NOWX, st.NOWY);
    const QSize size = nameTagSize(st.NOWX, st.NOWY);
    const QString link = TForm18->Edit2->text();
    const WallDocument::UserStep step(st, QStringLiteral("名札"));
    for (int i = 0; i < names.fileNames.size(); ++i) {
        if (!replace && existing.contains(names.fileNames[i]))
            continue;
        CardEntry p;
        p.rect.moveLeft(places[i].x());
        p.rect.moveTop(places[i].y());
        p.rect.setWidth(size.width());
        p.rect.setHeight(size.height());
        p.colour = 1;
        p.textColour = 1;
        p.STP = 0;
        p.shape = 1;
        p.S2 = link;
        p.NOTE = link;
        p.TT = items[i];
        p.FNAME = names.fileNames[i];
        p.FTIME = makeTimestamp();
        p.KAKUSU = QStringLiteral("0");
        if (!st.PanelMake(1, p)) {
            notes << QStringLiteral(
                         "このかべには%1枚までのカードしか置けません。%2行目で止めます。")
                         .arg(WallDocument::kMaxCards)
                         .arg(i + 1);
            break;
        }
    }
    if (!notes.isEmpty())
        tell(notes.join(QStringLiteral("\n\n")));
}
