#include "storage/timestamp.h"

QString makeTimestamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyyMMdd-hhmmss"));
}
