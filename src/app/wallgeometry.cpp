#include "app/wallgeometry.h"

#include "storage/refspace.h"

#include <QStringList>

WallSize wallSizeFor(int W, int H) {
    // W / H <= 1921 / 1080, compared without division.
    if (W > H && qint64(W) * 1080 <= qint64(H) * 1921)
        return {W, scaleHalfEven(W, ZETTAIY, ZETTAIX)};
    return {scaleHalfEven(H, ZETTAIX, ZETTAIY), H};
}

WallSize clampWallSize(WallSize size, int ZETTAIX0, int ZETTAIY0) {
    return {qMin(size.NOWX, ZETTAIX0), qMin(size.NOWY, ZETTAIY0)};
}

int scaleToWallY(int units, int NOWY) {
    return scaleHalfEven(units, NOWY, ZETTAIY);
}
int scaleToWallX(int units, int NOWX) {
    return scaleHalfEven(units, NOWX, ZETTAIX);
}

int hintFontSize(int NOWY) {
    return scaleToWallY(20, NOWY);
}

int toolButtonSide(int NOWY) {
    // A 60-unit step down the column leaves a small gap between buttons.
    return qMax(16, scaleToWallY(50, NOWY));
}

FolderButtonGeometry folderButtonGeometry(int captionLength, int NOWY, int ZETTAIX0,
                                          int button1Width) {
    FolderButtonGeometry g;
    const int width = scaleToWallY(25 * captionLength + 40, NOWY);
    const int height = scaleToWallY(42, NOWY);
    g.rect = QRect(ZETTAIX0 - width - button1Width - 2, 0, width, height);
    g.fontSize = scaleToWallY(20, NOWY);
    return g;
}

const QStringList& toolColumnOrder() {
    static const QStringList order{QStringLiteral("SpeedButton6"),  QStringLiteral("SpeedButton4"),
                                   QStringLiteral("SpeedButton19"), QStringLiteral("SpeedButton12"),
                                   QStringLiteral("SpeedButton2"),  QStringLiteral("SpeedButton10"),
                                   QStringLiteral("SpeedButton3"),  QStringLiteral("SpeedButton23"),
                                   QStringLiteral("SpeedButton25"), QStringLiteral("SpeedButton16"),
                                   QStringLiteral("SpeedButton14")};
    return order;
}

QHash<QString, QPoint> toolColumnPositions(const ToolColumnInput& in) {
    const int w1 = in.widths.value(QStringLiteral("SpeedButton1"));
    const int columnLeft = in.ZETTAIX0 - w1 - 2;
    auto ownLeft = [&in](const QString& name) { return in.ZETTAIX0 - in.widths.value(name) - 2; };
    const int s = scaleToWallY(60, in.NOWY);
    const int L = scaleToWallY(80, in.NOWY);

    QHash<QString, QPoint> at;
    int top = scaleToWallY(8, in.NOWY);
    at[QStringLiteral("SpeedButton1")] = {ownLeft(QStringLiteral("SpeedButton1")), top};
    top += s;
    at[QStringLiteral("SpeedButton7")] = {ownLeft(QStringLiteral("SpeedButton7")), top};
    top += L;
    at[QStringLiteral("SpeedButton8")] = {columnLeft, top};
    for (const QString& name : toolColumnOrder()) {
        top += s;
        const bool ownWidth = name == QLatin1String("SpeedButton16");
        at[name] = {ownWidth ? ownLeft(name) : columnLeft, top};
    }
    at[QStringLiteral("Panel6")] = {columnLeft, in.clientHeight - in.panel6Height};
    return at;
}

QRect webWindowRect(const WindowSettings& s, int NOWX, int NOWY) {
    return QRect(scaleToWallX(s.webX, NOWX), scaleToWallY(s.webY, NOWY),
                 scaleToWallX(s.webWidth, NOWX), scaleToWallY(s.webHeight, NOWY));
}

QRect fileWindowRect(const WindowSettings& s, int NOWX, int NOWY) {
    return QRect(scaleToWallX(s.fileX, NOWX), scaleToWallY(s.fileY, NOWY),
                 scaleToWallX(s.fileWidth, NOWX), scaleToWallY(s.fileHeight, NOWY));
}

int ribbonHeight(int NOWY) {
    return scaleToWallY(41, NOWY);
}
