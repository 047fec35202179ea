#pragma once

#include "storage/atomicfile.h"

#include <QString>

class QWidget;

// Copies a file piece by piece. A large one shows its progress above
// `parent`, with "キャンセル", while the event loop keeps running: a video of
// some gigabytes is neither held in memory nor freezes the wall.
class ProgressCopy {
public:
    explicit ProgressCopy(QWidget* parent) : parent_(parent) {}

    // From this size on a copy shows its progress.
    qint64 shownFrom = 8 * 1024 * 1024;
    qint64 pieceBytes = 1024 * 1024;

    CopyResult copy(const QString& from, const QString& to, QString* errorText = nullptr) const;

private:
    QWidget* parent_;
};
