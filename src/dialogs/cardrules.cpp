#include "dialogs/cardrules.h"

#include "model/wallgeometry.h"
#include "storage/cardnames.h"

#include <QFile>
#include <algorithm>

QString proposedCardName(const QString& wallFolder, const NameTaken& taken) {
    QString folder = wallFolder;
    while (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
    const qsizetype cut =
        std::max(folder.lastIndexOf(QLatin1Char('/')), folder.lastIndexOf(QLatin1Char('\\')));
    QString name = cut >= 0 ? folder.mid(cut + 1) : QString();
    if (name.isEmpty() || name.contains(QLatin1Char(':')))
        name = QStringLiteral("アイデア");
    QString free = name;
    for (int n = 2; taken(free + QStringLiteral(".txt")); ++n)
        free = name + QString::number(n);
    return free;
}

NameCheck checkQuickName(const QString& text, const NameTaken& taken) {
    NameCheck check;
    // The text is the card's; its file name follows the rule of card names:
    // "a?b" is saved as "a？b.txt", lines joined.
    check.fileName = cleanCardFileName(text + QStringLiteral(".txt"));
    if (check.fileName.isEmpty())
        check.problem = NameProblem::Empty;
    else if (!fitsFileName(check.fileName))
        check.problem = NameProblem::TooLong;
    else if (taken(check.fileName))
        check.problem = NameProblem::Taken;
    return check;
}

QString nameProblemMessage(const NameCheck& check) {
    switch (check.problem) {
    case NameProblem::None:
    case NameProblem::Empty:
        return QString();
    case NameProblem::Taken:
        return QStringLiteral("同名があります。\n別の名前にしてください。");
    case NameProblem::TooLong:
        return QStringLiteral("名前が長すぎます。短くしてください。");
    }
    return QString();
}

bool fitsFileName(const QString& name) {
    return QFile::encodeName(name).size() <= 255;
}

QString cardFileNameFor(const QString& typed) {
    QString name = typed;
    if (!name.endsWith(QLatin1String(".txt")))
        name += QStringLiteral(".txt");
    name = cleanCardFileName(name);
    return fitsFileName(name) ? name : QString();
}

QPoint arrowStep(QPoint at, QSize step, QSize wall, Arrow arrow) {
    const int W = step.width();
    const int H = step.height();
    switch (arrow) {
    case Arrow::Right:
        at.setX(at.x() + 2 * W < wall.width() ? at.x() + W : wall.width() - W);
        break;
    case Arrow::Left:
        at.setX(at.x() - 2 * W >= 0 ? at.x() - W : 0);
        break;
    case Arrow::Down:
        at.setY(at.y() + H < wall.height() ? at.y() + H : wall.height() - H);
        break;
    case Arrow::Up:
        at.setY(at.y() - H > 0 ? at.y() - H : 0);
        break;
    }
    return at;
}

QStringList nameTagItems(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    QStringList items;
    if (lines.isEmpty())
        return items;
    for (const QString& item : lines.split(QLatin1Char('\n'))) {
        if (item.isEmpty() || item.size() > 255)
            break;
        items << item;
    }
    return items;
}

NameTagNames nameTagNames(const QStringList& items, const NameTaken& taken) {
    NameTagNames names;
    for (int i = 0; i < items.size(); ++i) {
        QString name = cleanCardFileName(items[i] + QStringLiteral(".txt"));
        const bool again = !name.isEmpty() && names.fileNames.contains(name);
        if (again) {
            const QString stem = name.chopped(4);
            for (int n = 2; names.fileNames.contains(name) || taken(name); ++n)
                name = stem + QString::number(n) + QStringLiteral(".txt");
        }
        if (name.isEmpty() || !fitsFileName(name)) {
            names.unusable = i;
            break;
        }
        if (again)
            names.numbered << QStringLiteral("%1行目「%2」→「%3」").arg(i + 1).arg(items[i], name);
        names.fileNames << name;
    }
    return names;
}

QSize nameTagSize(int NOWX, int NOWY) {
    return QSize(scaleToWallX(160, NOWX), scaleToWallY(28, NOWY));
}

QVector<QPoint> nameTagPlaces(int count, int NOWX, int NOWY) {
    const QSize size = nameTagSize(NOWX, NOWY);
    const int top = scaleToWallY(15, NOWY);
    int x = scaleToWallX(40, NOWX);
    int y = top;
    QVector<QPoint> places;
    for (int i = 0; i < count; ++i) {
        if (y + size.height() + scaleToWallY(5, NOWY) > NOWY) {
            x += 2 * size.width();
            y = top;
            if (x > NOWX - scaleToWallX(150, NOWX))
                x = scaleToWallX(25, NOWX);
        }
        places << QPoint(x, y);
        y += scaleToWallY(1, NOWY) + size.height();
    }
    return places;
}

QPoint cardEditorPlace(const QRect& wall, const QSize& frame, const QRect& card) {
    const QPoint centred(wall.x() + (wall.width() - frame.width()) / 2,
                         wall.y() + (wall.height() - frame.height()) / 2);
    // Level with the card where the wall lets it (a frame larger than the
    // wall fits nowhere and ends centred).
    const int midY = std::max(wall.top(), std::min(card.center().y() - frame.height() / 2,
                                                   wall.bottom() + 1 - frame.height()));
    const int midX = std::max(wall.left(), std::min(card.center().x() - frame.width() / 2,
                                                    wall.right() + 1 - frame.width()));
    const QPoint tries[] = {centred,
                            {card.right() + 1, midY},
                            {card.left() - frame.width(), midY},
                            {midX, card.bottom() + 1},
                            {midX, card.top() - frame.height()}};
    for (const QPoint& at : tries) {
        const QRect place(at, frame);
        if (wall.contains(place) && !place.intersects(card))
            return at;
    }
    return centred;
}
