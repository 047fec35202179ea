#pragma once

#include <QDateTime>
#include <QString>

// The modification stamp every record carries: local time as
// "yyyyMMdd-hhmmss", fifteen characters, compared as text for equality only.
QString makeTimestamp(const QDateTime& when = QDateTime::currentDateTime());
