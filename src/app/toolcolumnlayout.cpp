#include "app/toolcolumnlayout.h"

#include "model/wallgeometry.h"

#include <QStringList>

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
    static const QStringList order{
        QStringLiteral("SpeedButton6"),  QStringLiteral("SpeedButton4"),
        QStringLiteral("SpeedButton19"), QStringLiteral("SpeedButton12"),
        QStringLiteral("SpeedButton28"), QStringLiteral("SpeedButton2"),
        QStringLiteral("SpeedButton10"), QStringLiteral("SpeedButton3"),
        QStringLiteral("SpeedButton23"), QStringLiteral("SpeedButton25"),
        QStringLiteral("SpeedButton16"), QStringLiteral("SpeedButton14")};
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
