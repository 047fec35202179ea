#include "dialogs/copyprogress.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>

CopyResult ProgressCopy::copy(const QString& from, const QString& to, QString* errorText) const {
    if (QFileInfo(from).size() < shownFrom)
        return copyFileAtomically(from, to, {}, errorText, pieceBytes);
    // Per mille, as a file may hold more bytes than a progress bar counts.
    constexpr int kSteps = 1000;
    QProgressDialog dialog(
        QStringLiteral("「%1」をコピーしています・・・").arg(QFileInfo(from).fileName()),
        QStringLiteral("キャンセル"), 0, kSteps, parent_);
    dialog.setObjectName(QStringLiteral("copyProgress"));
    dialog.setWindowTitle(QStringLiteral("Zavik"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.show();
    const CopyProgress step = [&dialog](qint64 done, qint64 total) {
        dialog.setValue(total > 0 ? int(std::min<qint64>(done * kSteps / total, kSteps)) : kSteps);
        QCoreApplication::processEvents();
        return !dialog.wasCanceled();
    };
    return copyFileAtomically(from, to, step, errorText, pieceBytes);
}
